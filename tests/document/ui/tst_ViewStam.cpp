#include "../BancoDocumento.h"
#include "WindowTesting.h"
#include "core/state/ServiziStampa.h"
#include "document/ui/ServiziDocumento.h"
#include "document/ui/ViewStam.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

/** Waits for the print window to end its run and close; `allInizio` runs first, before the run starts. */
ScriptedDialogRunner::Driver attendiFine(std::function<void(ViewStam &)> allInizio = {})
{
    return [allInizio](QDialog &dialog) {
        auto &finestra = dynamic_cast<ViewStam &>(dialog);
        if (allInizio)
            allInizio(finestra);
        QTRY_VERIFY_WITH_TIMEOUT(!finestra.isVisible(), 60000);
    };
}

} // namespace

class TestViewStam : public QObject
{
    Q_OBJECT

private slots:
    void theWindowShowsThePrintTypeAndThePageBeingBuilt()
    {
        BancoDocumento banco;
        ViewStam finestra(banco.test.context());
        QCOMPARE(finestra.objectName(), u"ViewStam"_s);
        QCOMPARE(finestra.windowTitle(), u"Stampa"_s);
        QCOMPARE(control<QLabel>(&finestra, u"Label4"_s)->text(), u"Stampa BOZZA in corso ..."_s);
        QCOMPARE(control<QLabel>(&finestra, u"Label3"_s)->text(), u"Pagina"_s);
        QCOMPARE(control<QAbstractButton>(&finestra, u"cmAnnStamp"_s)->text(), u"Annulla"_s);
    }

    void theDocumentServiceRunsThePrintWindowAndSaysWhetherThePdfWasMade()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        installaServiziDocumento(context);
        const QString pdf = banco.pdf(u"BOZZA"_s);
        banco.test.prompt.expect(u"E' stato creato il file "_s + pdf + u'.');
        QStringList etichette;
        banco.test.dialogRunner.expect(
            u"ViewStam"_s, attendiFine([&](ViewStam &finestra) {
                finestra.osservaPagine(
                    [&](int) { etichette.append(control<QLabel>(&finestra, u"lblPag"_s)->text()); });
            }));

        QVERIFY(context.serviziStampa().documento());

        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(etichette, (QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s}));
        QCOMPARE(paginePdf(pdf), 8);
    }

    void annullaAtAPageStopsTheRunWithoutPdfOrMessage()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        installaServiziDocumento(context);
        banco.test.dialogRunner.expect(u"ViewStam"_s, attendiFine([](ViewStam &finestra) {
                                           finestra.osservaPagine([&finestra](int numero) {
                                               if (numero == 5)
                                                   press(&finestra, u"cmAnnStamp"_s);
                                           });
                                       }));

        QVERIFY(!context.serviziStampa().documento());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!QFile::exists(banco.pdf(u"BOZZA"_s)));
        QCOMPARE(banco.pagineTemporanee(),
                 (QStringList{u"Pagina1.tmp"_s, u"Pagina2.tmp"_s, u"Pagina3.tmp"_s, u"Pagina4.tmp"_s}));
    }

    void theCourseDraftServicePrintsTheCourseOfTheKey()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        installaServiziDocumento(context);
        const QString pdf = banco.pdf(u"BOZZA CORSO"_s);
        banco.test.prompt.expect(u"E' stato creato il file "_s + pdf + u'.');
        QString titolo;
        banco.test.dialogRunner.expect(u"ViewStam"_s, attendiFine([&](ViewStam &finestra) {
                                           titolo = control<QLabel>(&finestra, u"Label4"_s)->text();
                                       }));

        context.serviziStampa().bozzaCorso(204, u"2"_s, u"0001"_s);

        QCOMPARE(titolo, u"Stampa BOZZA CORSO in corso ..."_s);
        QCOMPARE(context.stampa().TipoStampa, u"BOZZA CORSO"_s);
        QCOMPARE(paginePdf(pdf), 1);
        QVERIFY(testoPaginaPdf(pdf, 1).contains(u"Corso 2/0001"_s));
    }
};

QTEST_MAIN(TestViewStam)
#include "tst_ViewStam.moc"
