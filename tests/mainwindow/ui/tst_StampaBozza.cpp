#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/state/AttesaControllo.h"
#include "core/state/ServiziStampa.h"
#include "document/VerifDomanda.h"
#include "document/ui/SelBozza.h"
#include "document/ui/ServiziDocumento.h"
#include "document/ui/ViewStam.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/Main.h"
#include "tests/document/BancoDocumento.h"

#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The print window as a user lets it work: it runs when shown and closes by itself. */
void attendiFine(QDialog &dialog)
{
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), 60000);
}

/**
 * The complete application 204 of the document's fixture, current in a SERVER installation, and the
 * main window with the program's completeness check, print dialogs and document run.
 */
struct Banco
{
    BancoDocumento documento;
    std::unique_ptr<Main> main;

    Banco()
    {
        TestContext &test = documento.test;
        Context &context = test.context();
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\r\nTipo=Multiutenza\r\nVersione=SERVER\r\n"
                                           "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.fileIni().Scrivi(IniKeys::Provider, Connection::providerName());
        installaServiziDocumento(context);
        FinestreComandi finestre = finestreNonDisponibili(context.prompt);
        finestre.VerifDomanda = [&context](AttesaControllo &attesa) { return VerifDomanda(context, attesa); };
        finestre.SelBozza = [&context] { SelBozza::apri(context); };
        main = std::make_unique<Main>(context, std::move(finestre));
        main->Form_Load();
        main->Form_Activate();
        main->show();
    }
};

} // namespace

class TestStampaBozza : public QObject
{
    Q_OBJECT

private slots:
    void theDraftCommandMakesThePdfOnEachConfirmation()
    {
        Banco banco;
        TestContext &test = banco.documento.test;
        const QString pdf = banco.documento.pdf(u"BOZZA"_s);
        const QString creato = u"E' stato creato il file "_s + pdf + u'.';
        test.prompt.expect(creato);
        test.prompt.expect(creato);
        QString titolo;
        test.dialogRunner.expect(u"StBozza"_s, [&titolo](QDialog &conferma) {
            titolo = conferma.windowTitle();
            press(&conferma, u"cmdSt"_s);
            press(&conferma, u"cmdSt"_s);
            press(&conferma, u"cmdAnnSt"_s);
        });
        test.dialogRunner.expect(u"ViewStam"_s, attendiFine);
        test.dialogRunner.expect(u"ViewStam"_s, attendiFine);

        press(banco.main.get(), u"cmdStBozza"_s);

        QVERIFY(test.dialogRunner.allRun());
        QVERIFY(test.prompt.allShown());
        QCOMPARE(titolo, u"Stampa Bozza"_s);
        QCOMPARE(test.context().stampa().RichiestaStampa, u"Stampa Bozza"_s);
        QCOMPARE(test.context().stampa().TipoStampa, u"BOZZA"_s);
        QCOMPARE(QDir(test.folder()).entryList({u"*.pdf"_s}, QDir::Files),
                 QStringList{QFileInfo(pdf).fileName()});
        QCOMPARE(paginePdf(pdf), 8);
        QVERIFY(testoPaginaPdf(pdf, 1).contains(u"BOZZA"_s));
        QVERIFY(!control<QWidget>(banco.main.get(), u"panel_Attesa"_s)->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void anIncompleteApplicationIsNotPrinted()
    {
        Banco banco;
        TestContext &test = banco.documento.test;
        banco.documento.db.execute(u"UPDATE CorsiSediInteressate SET Tel = NULL WHERE SedeInteressata = 2"_s);
        test.prompt.expect(
            u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicato "
            u"il NUMERO DI TELEFONO. Correggere la situazione, e ritentare la stampa: \r\n\r\n"
            u"- B 17 - 2 - Unita Locale Milano\r\n"_s);
        // No print dialog is scripted: opening one would fail the test.
        press(banco.main.get(), u"cmdStBozza"_s);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().last().title, u"Stampa non disponibile"_s);
        QVERIFY(QDir(test.folder()).entryList({u"*.pdf"_s}, QDir::Files).isEmpty());
    }
};

QTEST_MAIN(TestStampaBozza)
#include "tst_StampaBozza.moc"
