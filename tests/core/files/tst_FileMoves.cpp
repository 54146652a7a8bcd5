#include "TestContext.h"
#include "core/files/FileMoves.h"
#include "core/files/ProgramFolder.h"
#include "core/services/RoutineError.h"

#include <QDir>
#include <QTest>
#include <QTimer>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace kx;

class TestFileMoves : public QObject
{
    Q_OBJECT

private slots:
    void SpostaFile_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("landed");

        QTest::newRow("folder made") << QStringList() << u"CAR\\oper.car"_s << u"CAR/oper.car"_s;
        QTest::newRow("folder of another case")
            << QStringList{u"Car"_s} << u"CAR\\oper.car"_s << u"Car/oper.car"_s;
        QTest::newRow("doubled separator after the folder")
            << QStringList{u"BAD"_s} << u"{folder}/\\BAD\\CorsiApprovati.bad"_s
            << u"BAD/CorsiApprovati.bad"_s;
        QTest::newRow("full path") << QStringList() << u"{folder}/BAD/oper.car"_s << u"BAD/oper.car"_s;
    }

    void SpostaFile()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, destination);
        QFETCH(QString, landed);

        TestContext test;
        for (const QString &folder : folders)
            QVERIFY(QDir(test.folder()).mkdir(folder));
        test.writeFile(u"OPER.TX1"_s, "#A#,#1#\r\n");
        destination.replace(u"{folder}"_s, test.folder());

        ::SpostaFile(test.context().programFolder(), test.path(u"oper.tx1"_s), destination);

        QCOMPARE(test.readFile(landed), QByteArray("#A#,#1#\r\n"));
        QVERIFY(!QFileInfo::exists(test.path(u"OPER.TX1"_s)));
        QCOMPARE(QDir(test.folder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    }

    void SpostaFileReplacesAnEarlierFile()
    {
        TestContext test;
        QVERIFY(QDir(test.folder()).mkdir(u"CAR"_s));
        test.writeFile(u"CAR/oper.car"_s, "#vecchio#\r\n");
        test.writeFile(u"oper.tx1"_s, "#nuovo#\r\n");

        ::SpostaFile(test.context().programFolder(), u"oper.tx1"_s, u"CAR\\oper.car"_s);

        QCOMPARE(test.readFile(u"CAR/oper.car"_s), QByteArray("#nuovo#\r\n"));
        QVERIFY(!QFileInfo::exists(test.path(u"oper.tx1"_s)));
    }

    void SpostaFileOfAMissingSourceDoesNothing()
    {
        TestContext test;
        QVERIFY(QDir(test.folder()).mkdir(u"CAR"_s));
        test.writeFile(u"CAR/oper.car"_s, "#vecchio#\r\n");

        ::SpostaFile(test.context().programFolder(), u"oper.tx1"_s, u"CAR\\oper.car"_s);
        ::SpostaFile(test.context().programFolder(), u"compo.tx1"_s, u"BAD\\compo.car"_s);

        QCOMPARE(test.readFile(u"CAR/oper.car"_s), QByteArray("#vecchio#\r\n"));
        QVERIFY(!QFileInfo::exists(test.path(u"BAD"_s)));
    }

    void SpostaFileFailures_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("asRoot");

        QTest::newRow("parent of the folder missing")
            << u"A\\B\\oper.car"_s << ErrorCode::PathNotFound << true;
        QTest::newRow("destination is a folder") << u"CAR"_s << ErrorCode::PathFileAccessError << true;
        QTest::newRow("folder not writable") << u"SOLA\\oper.car"_s << ErrorCode::PermissionDenied << false;
    }

    void SpostaFileFailures()
    {
        QFETCH(QString, destination);
        QFETCH(int, error);
        QFETCH(bool, asRoot);
        if (!asRoot && ::geteuid() == 0)
            QSKIP("permissions do not bind the super-user");

        TestContext test;
        QVERIFY(QDir(test.folder()).mkdir(u"CAR"_s));
        test.writeFile(u"CAR/x"_s, "occupata");
        QVERIFY(QDir(test.folder()).mkdir(u"SOLA"_s));
        QVERIFY(QFile::setPermissions(test.path(u"SOLA"_s), QFile::ReadOwner | QFile::ExeOwner));
        test.writeFile(u"oper.tx1"_s, "#A#\r\n");

        const int thrown = errorOf([&] {
                               ::SpostaFile(test.context().programFolder(), u"oper.tx1"_s, destination);
                           }).number();
        QFile::setPermissions(test.path(u"SOLA"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(thrown, error);
        QCOMPARE(test.readFile(u"oper.tx1"_s), QByteArray("#A#\r\n"));
        QCOMPARE(test.readFile(u"CAR/x"_s), QByteArray("occupata"));
    }

    void VisLogShowsTheFileAndWaits()
    {
        TestContext test;
        test.writeFile(u"Aggiorna DB.LOG"_s, "- Domanda n. 12\r\n");

        VisLog(test.context(), test.context().programFolder(), test.path(u"aggiorna db.log"_s));

        QCOMPARE(test.logViewer.paths, QStringList{test.path(u"Aggiorna DB.LOG"_s)});
        QVERIFY(test.prompt.shown().isEmpty());
    }

    void VisLogReportsAFileItCannotShow()
    {
        TestContext test;
        const QString log = test.path(u"AggiornaDB.LOG"_s);
        const QString text =
            u"VisLog - 53 - Impossibile trovare il file\r\n"_s
            u"Impossibile visualizzare il file di log.\r\n\r\n"_s
            u"Sarà possibile visualizzarlo in un secondo tempo entrando in Gestione Risorse, "_s
            u"cliccando con il tasto destro del mouse sul file "_s +
            log + u", selezionando Apri con... e NotePad dall'elenco che comparirà a video."_s;
        test.prompt.expect(text);

        VisLog(test.context(), test.context().programFolder(), log);

        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().first().title, u"KX58TORVA"_s);
        QCOMPARE(test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QVERIFY(test.logViewer.paths.isEmpty());
    }

    void EseguiEAttendiPassesArgumentsWithoutAShell()
    {
        TestContext test;
        const QString name = test.path(u"un file; con $(blanks)"_s);

        EseguiEAttendi(u"touch"_s, {name});

        QVERIFY(QFileInfo::exists(name));
    }

    void EseguiEAttendiKeepsTheWindowsResponsive()
    {
        int ticks = 0;
        QTimer timer;
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start();

        EseguiEAttendi(u"sleep"_s, {u"0.3"_s});

        QVERIFY(ticks > 0);
    }

    void EseguiEAttendiOfAMissingProgram()
    {
        QCOMPARE(errorOf([] { EseguiEAttendi(u"programma-che-non-esiste"_s, {}); }).number(),
                 ErrorCode::FileNotFound);
    }
};

QTEST_GUILESS_MAIN(TestFileMoves)
#include "tst_FileMoves.moc"
