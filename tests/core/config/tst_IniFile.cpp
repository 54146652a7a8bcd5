#include "TestContext.h"
#include "core/config/Credential.h"
#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/files/ProgramFolder.h"
#include "core/text/Cp1252.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QByteArray SampleIni = "; installazione\r\n"
                             "[Installazione]\r\n"
                             "Tipo=StandAlone\r\n"
                             "Versione = SERVER \r\n"
                             "\r\n"
                             "[BaseDati]\r\n"
                             "Database=C:\\Corsi\\KX58TORVA.mdb\r\n"
                             "NumDoma=\"12\"\r\n"
                             "\r\n"
                             "[Help]\r\n"
                             "FILEHELP=Aiuto.htm\r\n";

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void nomeFile_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("relativeToFolder");
        QTest::addColumn<QString>("absolute");
        QTest::newRow("bare word") << u"KX58TORVA"_s << u"KX58TORVA.ini"_s << QString();
        QTest::newRow("name with extension") << u"KX58TORVA.INI"_s << u"KX58TORVA.INI"_s << QString();
        QTest::newRow("full path") << u"/etc/prog/x.cfg"_s << QString() << u"/etc/prog/x.cfg"_s;
        QTest::newRow("windows path") << u"C:\\prog\\x.INI"_s << QString() << u"C:\\prog\\x.INI"_s;
    }

    void nomeFile()
    {
        QFETCH(QString, value);
        QFETCH(QString, relativeToFolder);
        QFETCH(QString, absolute);
        TestContext test;
        clsFileINI ini(test.context().programFolder());
        ini.setNomeFile(value);
        QCOMPARE(ini.NomeFile(), absolute.isEmpty() ? test.path(relativeToFolder) : absolute);
    }

    void readsWithTheProfileRules_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << u"Installazione"_s << u"Tipo"_s << u"StandAlone"_s;
        QTest::newRow("blanks around") << u"Installazione"_s << u"Versione"_s << u"SERVER"_s;
        QTest::newRow("key in other case") << u"BaseDati"_s << u"numDoma"_s << u"12"_s;
        QTest::newRow("section in other case")
            << u"basedati"_s << u"DATABASE"_s << u"C:\\Corsi\\KX58TORVA.mdb"_s;
        QTest::newRow("absent key gives default") << u"BaseDati"_s << u"NFileDB"_s << u"<default>"_s;
        QTest::newRow("key of another section") << u"Help"_s << u"Tipo"_s << u"<default>"_s;
        QTest::newRow("absent section") << u"CONNESSIONE"_s << u"NREG"_s << u"<default>"_s;
    }

    void readsWithTheProfileRules()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(section);
        QCOMPARE(ini.Leggi(key, u"<default>"_s), value);
    }

    void trimsBlanksAndTabsOnly_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks and tabs around key and value")
            << QByteArray(" \tPWD \t= \tabc\t ") << u"abc"_s;
        QTest::newRow("no-break spaces kept") << QByteArray("PWD=\xa0"
                                                            "abc\xa0")
                                              << u"\u00A0abc\u00A0"_s;
        QTest::newRow("vertical tab and form feed kept") << QByteArray("PWD=\vabc\f") << u"\vabc\f"_s;
        QTest::newRow("blanks inside quotes kept") << QByteArray("PWD=\" abc \"") << u" abc "_s;
        QTest::newRow("no-break space before the key") << QByteArray("\xa0PWD=abc") << u"<default>"_s;
    }

    void trimsBlanksAndTabsOnly()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, "\t[ CONNESSIONE\t]\t\r\n" + line + "\r\n");
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"CONNESSIONE"_s);
        QCOMPARE(ini.Leggi(u"PWD"_s, u"<default>"_s), value);
    }

    void aBracketWithoutItsCloseIsSkippedAndTheSectionGoesOn()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, "[CONNESSIONE]\r\n"
                                           "NREG=http://a/n\r\n"
                                           "[commento senza chiusura\r\n"
                                           "[PWD=nascosta\r\n"
                                           "AGGIORNADB=http://a/d\r\n");
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"CONNESSIONE"_s);
        QCOMPARE(ini.Leggi(u"AGGIORNADB"_s, {}), u"http://a/d"_s);
        QCOMPARE(ini.Leggi(u"PWD"_s, u"-"_s), u"-"_s);
        ini.setSezione(u"commento senza chiusura"_s);
        QCOMPARE(ini.Leggi(u"AGGIORNADB"_s, u"-"_s), u"-"_s);
    }

    void aDefaultComesBackWithoutItsTrailingBlanks_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("key missing") << true;
        QTest::newRow("file missing") << false;
    }

    void aDefaultComesBackWithoutItsTrailingBlanks()
    {
        QFETCH(bool, fileExists);
        TestContext test;
        if (fileExists)
            test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"BaseDati"_s);
        QCOMPARE(ini.Leggi(u"NFileDB"_s, u" due  parole \t  "_s), u" due  parole \t"_s);
        QCOMPARE(ini.Leggi(u"NFileDB"_s, u"   "_s), QString());
    }

    void missingFileGivesDefaults()
    {
        TestContext test;
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"BaseDati"_s);
        QCOMPARE(ini.Leggi(u"numDoma"_s, u"0"_s), u"0"_s);
    }

    void fileNameFoundWhateverItsCase()
    {
        TestContext test;
        test.writeFile(u"kx58torva.ini"_s, SampleIni);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Installazione"_s);
        QCOMPARE(ini.Leggi(u"Tipo"_s, {}), u"StandAlone"_s);
    }

    void longValueComesBackWhole()
    {
        TestContext test;
        const QString longPath = u"/srv/"_s + QString(300, u'x') + u".mdb"_s;
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"BaseDati"_s);
        QVERIFY(ini.Scrivi(u"Database"_s, longPath) != 0);
        QCOMPARE(ini.Leggi(u"Database"_s, {}), longPath);
    }

    void sectionCarriesOverBetweenCallers()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Help"_s);
        // A later caller that does not set the section reads and writes in [Help].
        QCOMPARE(ini.Leggi(u"FILEHELP"_s, {}), u"Aiuto.htm"_s);
        QCOMPARE(ini.Leggi(u"Tipo"_s, u"-"_s), u"-"_s);
        ini.Scrivi(u"Tipo"_s, u"x"_s);
        QVERIFY(test.readFile(u"KX58TORVA.INI"_s).endsWith("FILEHELP=Aiuto.htm\r\nTipo=x\r\n"));
    }

    void writesChangeOnlyTheirValue_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("expected");

        QByteArray replaced = SampleIni;
        replaced.replace("NumDoma=\"12\"", "NumDoma=345");
        QTest::newRow("existing key, other case") << u"BASEDATI"_s << u"numdoma"_s << u"345"_s << replaced;

        QByteArray emptied = SampleIni;
        emptied.replace("Tipo=StandAlone", "Tipo=");
        QTest::newRow("empty value") << u"Installazione"_s << u"Tipo"_s << QString() << emptied;

        QByteArray added = SampleIni;
        added.replace("NumDoma=\"12\"\r\n", "NumDoma=\"12\"\r\nNFileDB=Città.mdb\r\n");
        QTest::newRow("new key goes after the section's last line")
            << u"BaseDati"_s << u"NFileDB"_s << u"Città.mdb"_s << Cp1252::encode(QString::fromUtf8(added));

        QTest::newRow("new section at the end")
            << u"CONNESSIONE"_s << u"NREG"_s << u"https://server/nreg"_s
            << SampleIni + "[CONNESSIONE]\r\nNREG=https://server/nreg\r\n";
    }

    void writesChangeOnlyTheirValue()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, expected);
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(section);
        QCOMPARE(ini.Scrivi(key, value), 1);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), expected);
        QCOMPARE(ini.Leggi(key, u"<default>"_s), value);
    }

    void commentedKeyIsNotAKey()
    {
        TestContext test;
        const QByteArray before = "[Installazione]\r\n;Tipo=Multiutenza\r\nVersione=SERVER\r\n\r\n[Help]\r\n";
        test.writeFile(u"KX58TORVA.INI"_s, before);
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Installazione"_s);
        QCOMPARE(ini.Leggi(u"Tipo"_s, u"<default>"_s), u"<default>"_s);
        QCOMPARE(ini.Scrivi(u"Tipo"_s, u"StandAlone"_s), 1);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s),
                 QByteArray("[Installazione]\r\n;Tipo=Multiutenza\r\nVersione=SERVER\r\nTipo="
                            "StandAlone\r\n\r\n[Help]\r\n"));
    }

    void writeKeepsForeignLineEnds()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\nTipo=a\nVersione=SERVER");
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Installazione"_s);
        ini.Scrivi(u"Tipo"_s, u"Multiutenza"_s);
        ini.Scrivi(u"PROVIDER"_s, u"p"_s);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s),
                 QByteArray("[Installazione]\nTipo=Multiutenza\nVersione=SERVER\r\nPROVIDER=p\r\n"));
    }

    void writeToReadOnlyFileFailsQuietly()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        QFile::setPermissions(test.path(u"KX58TORVA.INI"_s), QFileDevice::ReadOwner);
        if (QFileInfo(test.path(u"KX58TORVA.INI"_s)).isWritable())
            QSKIP("running with rights that ignore file permissions");
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Installazione"_s);
        QCOMPARE(ini.Scrivi(u"Tipo"_s, u"Multiutenza"_s), 0);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), SampleIni);
    }

    void writeInAFolderThatMayNotBeWritten()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, SampleIni);
        QFile::setPermissions(test.folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool folderWritable = QFileInfo(test.folder()).isWritable();
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"Installazione"_s);
        const int written = ini.Scrivi(u"Tipo"_s, u"Multiutenza"_s);
        const QByteArray bytes = test.readFile(u"KX58TORVA.INI"_s);
        QFile::setPermissions(test.folder(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (folderWritable)
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(written, 1);
        QByteArray expected = SampleIni;
        expected.replace("Tipo=StandAlone", "Tipo=Multiutenza");
        QCOMPARE(bytes, expected);
    }

    void scrambledCredentialSurvivesTheIniFile()
    {
        QString printable;
        for (char16_t c = 0x21; c <= 0x7E; ++c)
            printable += QChar(c);
        const QString scrambled = MascheraStringa(printable, ChiaveCredenziale);
        for (QChar ch : scrambled) {
            const QString forbidden = u" \u00A0\"'="_s;
            QVERIFY2(ch.unicode() > 0x9F && !forbidden.contains(ch),
                     qPrintable(u"bad character U+%1"_s.arg(ch.unicode(), 4, 16)));
        }
        TestContext test;
        clsFileINI &ini = test.context().fileIni();
        ini.setNomeFile(u"KX58TORVA.INI"_s);
        ini.setSezione(u"CONNESSIONE"_s);
        ini.Scrivi(u"PWD"_s, scrambled);
        QCOMPARE(MascheraStringa(ini.Leggi(u"PWD"_s, {}), ChiaveCredenziale), printable);
        QCOMPARE(MascheraStringa(QString(), ChiaveCredenziale), QString());
    }

    void userSettingsKeepTheirValues()
    {
        TestContext test;
        UserSettings &settings = test.context().userSettings();
        QCOMPARE(settings.value(u"E-Mail"_s, u"Indirizzo e-mail..."_s), u"Indirizzo e-mail..."_s);
        settings.setValue(u"E-Mail"_s, u"mario.rossi@esempio.it"_s);
        settings.setValue(u"OptCambia"_s, u"0"_s);
        UserSettings reopened(test.path(u".user/FP.ini"_s));
        QCOMPARE(reopened.value(u"E-Mail"_s, {}), u"mario.rossi@esempio.it"_s);
        QCOMPARE(reopened.value(u"OptCambia"_s, u"1"_s), u"0"_s);
        QCOMPARE(reopened.value(u"Proxy"_s, QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
