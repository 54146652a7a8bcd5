#include "DemoDatabase.h"
#include "FakeServer.h"
#include "FakeServerServices.h"
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/data/DataEnvironment.h"
#include "core/files/TextRecords.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "courses/ui/Corsi.h"
#include "refdata/CaricaTabella.h"
#include "refdata/CorsiApprovati.h"
#include "refdata/ElencoTabelle.h"
#include "refdata/ScaricoCorsiApprovati.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The demo's decode-table files, as the demo folder gets them. */
const QString DemoDecodifica = QStringLiteral(KX_TEST_DATA "/../../resources/demo/decodifica");

/** The demo server's answer to the approved-courses request of operator A 12. */
QString corsiApprovatiDemo(FakeServer &server)
{
    QNetworkAccessManager rete;
    QNetworkRequest richiesta(QUrl(server.url(u"corsi/scarico.php"_s)));
    richiesta.setHeader(QNetworkRequest::ContentTypeHeader, u"application/x-www-form-urlencoded"_s);
    QNetworkReply *risposta = rete.post(richiesta, QByteArray("gruppo=A&codice=12&albis_id=") + DemoAlbisId);
    QEventLoop attesa;
    QObject::connect(risposta, &QNetworkReply::finished, &attesa, &QEventLoop::quit);
    attesa.exec();
    const QString testo = QString::fromLatin1(risposta->readAll());
    risposta->deleteLater();
    return testo;
}

} // namespace

/** The demo walk's pick of an approved reference course, on the demo's own data. */
class TestDemoRiferimento : public QObject
{
    Q_OBJECT

private slots:
    void aCourseOfAReferenceActionPicksADownloadedCourseAndIsStored()
    {
        withoutEnvironmentProxies();
        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        addDemoApplication(db.path());
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        bool installa = true;
        for (const TabellaDecodifica &tabella : ElencoTabelleDecodifica()) {
            const QString file = QDir(DemoDecodifica).filePath(tabella.file());
            if (QFile::exists(file))
                AggTabDecodifica(
                    context, [](const QString &) {}, file, tabella.nome, tabella.colonneInstalla,
                    tabella.chiavi, installa);
        }

        // The approved courses of A 12 from the demo server, written and loaded as the import does.
        FakeServer server;
        installRegionalServices(server);
        const QString risposta = corsiApprovatiDemo(server);
        QVERIFY2(risposta.contains(u"TECNICO DELLA LOGISTICA"_s), qPrintable(risposta));
        QCOMPARE(scriviCorsiScaricati(context.programFolder(), db.path(), risposta).stato,
                 EsitoPacchetto::Stato::Completo);
        {
            Transaction transazione(context.DE().CorsiDB());
            QVERIFY(AggCorsiApprovati(context, context.DE().CorsiDB(), test.path(NomeFileCorsiApprovati),
                                      u"CorsiApprovati"_s));
            transazione.commit();
        }

        CurrentApplication &domanda = context.domanda();
        domanda.NumDomaCorrente = 2021001;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;
        context.corsi().impostaSede(2021001, u"1"_s, u"SEDE LEGALE"_s);
        test.prompt.expect(u"Nessun corso.\r\nVuoi inserirne uno ? "_s, Prompt::Answer::Yes);
        Corsi editore(context);
        editore.show();
        QApplication::setActiveWindow(&editore);
        QTRY_VERIFY(test.prompt.allShown());

        auto *cicli = control<QComboBox>(&editore, u"CmbCicloFin"_s);
        const int ciclo = cicli->findText(u"2014-2020  Programmazione 2014-2020"_s);
        QVERIFY(ciclo > 0);
        cicli->setCurrentIndex(ciclo);
        emit cicli->activated(ciclo);
        QCOMPARE(control<QComboBox>(&editore, u"cmbAzione"_s)->currentText().section(u' ', 0, 0),
                 u"2.04.07"_s);
        control<QLineEdit>(&editore, u"txtNumAll"_s)->setText(u"1"_s);
        control<QTabWidget>(&editore, u"SSTab1"_s)->setCurrentIndex(1);
        control<QLineEdit>(&editore, u"txtDurataOre"_s)->setText(u"120"_s);
        test.dialogRunner.expect(u"TabCorsiApprovati"_s, [](QDialog &picker) {
            QCOMPARE(control<QTableView>(&picker, u"GrdCorsi"_s)->model()->rowCount(), 2);
            auto *ricerca = control<QLineEdit>(&picker, u"txtRicDenom"_s);
            QTest::keyClicks(ricerca, u"logistica"_s);
            QTest::keyClick(ricerca, Qt::Key_Return);
            press(&picker, u"cmdSele2"_s);
        });
        press(&editore, u"cmdCorsoRifB111"_s);
        QCOMPARE(control<QLineEdit>(&editore, u"txtCorsoRifB111"_s)->text(),
                 u"2019-2 -  - 1 - TECNICO DELLA LOGISTICA"_s);
        QCOMPARE(control<QComboBox>(&editore, u"cmbDurata"_s)->currentText(), u"1"_s);

        test.prompt.expect(u"VERIFICHE OK\r\nCorso inserito"_s);
        press(&editore, u"cmdSalva"_s);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(db.scalar(u"SELECT IdAttivita_CorsoRifB111 FROM CorsiProp WHERE NumDoma = 2021001 AND "
                           u"SedeInteressata = 1 AND Corso = '0001'"_s)
                     .toInt(),
                 190002);
        context.DE().CorsiDB().close();
    }
};

QTEST_MAIN(TestDemoRiferimento)
#include "tst_DemoRiferimento.moc"
