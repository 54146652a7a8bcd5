#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ZipArchive.h"
#include "core/state/CurrentApplication.h"
#include "mainwindow/RichiestaAssistenza.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Sistema = u"     LINUX Debian GNU/Linux 12 (bookworm)   \r\n     Versione: 6.1.0-18-amd64"_s;
const QString BrowserTrovato = u"     Browser predefinito firefox-esr.desktop"_s;
const QString Memoria = u"     Total RAM = 2048MB\r\n     Available RAM = 1024MB\r\n"
                        u"     Total Virtual Memory = 3072MB\r\n     Available Virtual Memory = 1536MB"_s;

DatiAssistenza datiDiEsempio()
{
    DatiAssistenza dati;
    dati.eMail = u"segreteria@formazione-valdoria.example"_s;
    dati.gruppo = u"A"_s;
    dati.operatore = u"123"_s;
    dati.denominazione = u"Centro Formazione Sant'Anna & C."_s;
    dati.sistema = Sistema;
    dati.browser = BrowserTrovato;
    dati.memoria = Memoria;
    dati.archivio = u"/opt/kx58torva/KX58TORVA_08-12-2021_A123-0045.zip"_s;
    return dati;
}

} // namespace

class TestRichiestaAssistenza : public QObject
{
    Q_OBJECT

private slots:
    void archiveNames_data()
    {
        QTest::addColumn<QString>("gruppo");
        QTest::addColumn<QString>("operatore");
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("nome");

        QTest::newRow("application 45 of operator A 123")
            << u"A"_s << u"123"_s << 45 << u"KX58TORVA_08-12-2021_A123-0045.zip"_s;
        const CurrentApplication nessuna;
        QTest::newRow("no current application")
            << nessuna.GrupOpeCorrente << nessuna.OperatoreCorrente << int(nessuna.NumDomaCorrente)
            << u"KX58TORVA_08-12-2021_0-0000.zip"_s;
        QTest::newRow("four digits") << u"B"_s << u"7"_s << 2021 << u"KX58TORVA_08-12-2021_B7-2021.zip"_s;
        QTest::newRow("five digits are not cut")
            << u"A"_s << u"0012"_s << 12345 << u"KX58TORVA_08-12-2021_A0012-12345.zip"_s;
    }

    void archiveNames()
    {
        QFETCH(QString, gruppo);
        QFETCH(QString, operatore);
        QFETCH(int, numero);
        QFETCH(QString, nome);

        CurrentApplication domanda;
        domanda.GrupOpeCorrente = gruppo;
        domanda.OperatoreCorrente = operatore;
        domanda.NumDomaCorrente = numero;
        QCOMPARE(NomeArchivioAssistenza(QDate(2021, 12, 8), domanda), nome);
    }

    void megabytes_data()
    {
        QTest::addColumn<quint64>("kilobyte");
        QTest::addColumn<quint64>("megabyte");

        QTest::newRow("nothing") << quint64(0) << quint64(0);
        QTest::newRow("below a half") << quint64(511) << quint64(0);
        QTest::newRow("half of an even number stays") << quint64(512) << quint64(0);
        QTest::newRow("above a half") << quint64(513) << quint64(1);
        QTest::newRow("half of an odd number goes up") << quint64(1536) << quint64(2);
        QTest::newRow("two and a half") << quint64(2560) << quint64(2);
        QTest::newRow("three and a half") << quint64(3584) << quint64(4);
        QTest::newRow("3 GB, no sign") << quint64(3145728) << quint64(3072);
        QTest::newRow("64 GB") << quint64(67108864) << quint64(65536);
    }

    void megabytes()
    {
        QFETCH(quint64, kilobyte);
        QFETCH(quint64, megabyte);
        QCOMPARE(MegabyteArrotondati(kilobyte), megabyte);
    }

    void memory_data()
    {
        QTest::addColumn<QByteArray>("memInfo");
        QTest::addColumn<QString>("descrizione");

        QTest::newRow("memory and swap") << FixedSystemInfo().memInfo << Memoria;
        QTest::newRow("halves")
            << QByteArray(
                   "MemTotal:  2560 kB\nMemAvailable:  1536 kB\nSwapTotal:  512 kB\nSwapFree:  512 kB\n")
            << u"     Total RAM = 2MB\r\n     Available RAM = 2MB\r\n"
               u"     Total Virtual Memory = 3MB\r\n     Available Virtual Memory = 2MB"_s;
        QTest::newRow("no swap line")
            << QByteArray("MemTotal: 4194304 kB\nMemAvailable: 1048576 kB\n")
            << u"     Total RAM = 4096MB\r\n     Available RAM = 1024MB\r\n"
               u"     Total Virtual Memory = ?\r\n     Available Virtual Memory = ?"_s;
        QTest::newRow("unreadable")
            << QByteArray()
            << u"     Total RAM = ?\r\n     Available RAM = ?\r\n"
               u"     Total Virtual Memory = ?\r\n     Available Virtual Memory = ?"_s;
        QTest::newRow("a value that is no number")
            << QByteArray("MemTotal: molti kB\nMemAvailable: 1024 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n")
            << u"     Total RAM = ?\r\n     Available RAM = 1MB\r\n"
               u"     Total Virtual Memory = ?\r\n     Available Virtual Memory = 1MB"_s;
    }

    void memory()
    {
        QFETCH(QByteArray, memInfo);
        QFETCH(QString, descrizione);
        QCOMPARE(DescrizioneMemoria(memInfo), descrizione);
    }

    void systemAndBrowser()
    {
        FixedSystemInfo info;
        QCOMPARE(DescrizioneSistema(info), Sistema);
        QCOMPARE(DescrizioneBrowser(info), BrowserTrovato);

        info.distributionName.clear();
        info.kernel.clear();
        info.browser = u"  "_s;
        QCOMPARE(DescrizioneSistema(info), u"     LINUX ?   \r\n     Versione: ?"_s);
        QCOMPARE(DescrizioneBrowser(info), u"     Browser predefinito non trovato"_s);
    }

    void queryBeforeEncoding()
    {
        QCOMPARE(
            TestoRichiesta(CampiRichiesta(datiDiEsempio())),
            u"fr=segreteria@formazione-valdoria.example&su=KX58TORVA (ver. 1.0.0)&g=A&c=123"
            u"&d=Centro Formazione Sant'Anna & C.&cp=&so="_s +
                Sistema + u"&h=assistenza@tuz-valdoria.example&ie="_s + BrowserTrovato + u"&mem="_s +
                Memoria +
                u"&tel=&rif=&prb=&ap=KX58TORVA&file=/opt/kx58torva/KX58TORVA_08-12-2021_A123-0045.zip"_s);
    }

    void queryAndAddressAfterEncoding()
    {
        const QList<CampoRichiesta> campi = CampiRichiesta(datiDiEsempio());
        const QByteArray query =
            "fr=segreteria%40formazione-valdoria.example&su=KX58TORVA%20%28ver.%201.0.0%29&g=A&c=123"
            "&d=Centro%20Formazione%20Sant%27Anna%20%26%20C.&cp="
            "&so=%20%20%20%20%20LINUX%20Debian%20GNU%2FLinux%2012%20%28bookworm%29%20%20%20%0D%0A"
            "%20%20%20%20%20Versione%3A%206.1.0-18-amd64"
            "&h=assistenza%40tuz-valdoria.example"
            "&ie=%20%20%20%20%20Browser%20predefinito%20firefox-esr.desktop"
            "&mem=%20%20%20%20%20Total%20RAM%20%3D%202048MB%0D%0A%20%20%20%20%20Available%20RAM%20%3D%"
            "201024MB"
            "%0D%0A%20%20%20%20%20Total%20Virtual%20Memory%20%3D%203072MB%0D%0A"
            "%20%20%20%20%20Available%20Virtual%20Memory%20%3D%201536MB"
            "&tel=&rif=&prb=&ap=KX58TORVA&file=%2Fopt%2Fkx58torva%2FKX58TORVA_08-12-2021_A123-0045.zip";
        QCOMPARE(RichiestaCodificata(campi), query);

        const QUrl url = IndirizzoRichiesta(u"https://assistenza.tuz-valdoria.example/"_s, campi);
        QVERIFY(url.isValid());
        QCOMPARE(url.toEncoded(), "https://assistenza.tuz-valdoria.example"
                                  "/cgi-bin/fp/upload/form_allegato_bin_upload.cgi?" +
                                      query);
    }

    void valuesAreEncodedAsWindows1252()
    {
        DatiAssistenza dati;
        dati.denominazione = u"Università €uro +1 #2 ~ok_-."_s;
        const QByteArray query = RichiestaCodificata(CampiRichiesta(dati));
        QVERIFY2(query.contains("&d=Universit%E0%20%80uro%20%2B1%20%232%20~ok_-.&"), query.constData());
        QCOMPARE(query.count('='), 15);
        QCOMPARE(query.count('&'), 14);
    }

    void emailOfTheUser()
    {
        TestContext test;
        QCOMPARE(EMailRichiedente(test.context()), u"Indirizzo e-mail..."_s);
        test.context().userSettings().setValue(UserKeys::EMail, u"mario.rossi@example.it"_s);
        QCOMPARE(EMailRichiedente(test.context()), u"mario.rossi@example.it"_s);
    }

    void archiveOfTheOpenDatabase()
    {
        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s}, {{45, u"A"_s, 123}});
        Connection &corsiDB = test.context().DE().CorsiDB();
        corsiDB.open(db.path(), Connection::Mode::Shared);
        test.writeFile(u"KX58TORVA_08-12-2021_A123-0045.zip"_s, "the morning's request");

        const QString archivio = test.path(u"KX58TORVA_08-12-2021_A123-0045.zip"_s);
        bool attesaFinita = false;
        QVERIFY(CreaArchivioAssistenza(test.context(), archivio, [&] { attesaFinita = true; }));
        QVERIFY(attesaFinita);
        QVERIFY(corsiDB.isOpen());
        QCOMPARE(corsiDB.scalar(u"SELECT COUNT(*) FROM Domande"_s).toInt(), 1);

        QTemporaryDir out;
        const auto names = extractRegularFiles(archivio, out.path(), nullptr);
        QVERIFY(names);
        QCOMPARE(*names, QStringList{u"KX58TORVA.mdb"_s});
        Connection copia;
        copia.open(out.filePath(u"KX58TORVA.mdb"_s), Connection::Mode::Shared);
        QCOMPARE(copia.scalar(u"SELECT NumDoma FROM Domande"_s).toInt(), 45);
        corsiDB.close();
    }

    void aFailedArchiveIsReported()
    {
        TestContext test;
        FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
        Connection &corsiDB = test.context().DE().CorsiDB();
        corsiDB.open(db.path(), Connection::Mode::Shared);
        test.writeFile(u"file"_s, "a file where a folder should be");

        test.prompt.expect(u"Creazione dell'archivio non riuscita. Impossibile preparare la richiesta di "
                           u"assistenza."_s);
        QVERIFY(!CreaArchivioAssistenza(test.context(), test.path(u"file/richiesta.zip"_s)));
        QVERIFY(test.prompt.allShown());
        QCOMPARE(int(test.prompt.shown().constFirst().icon), int(Prompt::Icon::Critical));
        QCOMPARE(test.prompt.shown().constFirst().title, u"Errore"_s);

        // A closed connection gives no snapshot either.
        corsiDB.close();
        test.prompt.expect(u"Creazione dell'archivio non riuscita. Impossibile preparare la richiesta di "
                           u"assistenza."_s);
        QVERIFY(!CreaArchivioAssistenza(test.context(), test.path(u"richiesta.zip"_s)));
        QVERIFY(!QFileInfo::exists(test.path(u"richiesta.zip"_s)));
    }
};

QTEST_GUILESS_MAIN(TestRichiestaAssistenza)
#include "tst_RichiestaAssistenza.moc"
