#include "core/services/SystemInfo.h"

#include <QElapsedTimer>
#include <QSysInfo>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class TestSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void osReleaseName_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("name");

        QTest::newRow("pretty name first") << QByteArray("NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n"
                                                         "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n")
                                           << u"Debian GNU/Linux 12 (bookworm)"_s;
        QTest::newRow("name without a pretty one")
            << QByteArray("ID=alpine\nNAME=Alpine Linux\n") << u"Alpine Linux"_s;
        QTest::newRow("single quotes")
            << QByteArray("PRETTY_NAME='Fedora Linux 39'\n") << u"Fedora Linux 39"_s;
        QTest::newRow("escaped quote")
            << QByteArray("PRETTY_NAME=\"Distro \\\"Edizione\\\" 1\"\n") << u"Distro \"Edizione\" 1"_s;
        QTest::newRow("empty pretty name")
            << QByteArray("PRETTY_NAME=\"\"\nNAME=Arch Linux\n") << u"Arch Linux"_s;
        QTest::newRow("neither") << QByteArray("ID=debian\n# NAME=commento\n") << QString();
        QTest::newRow("no file") << QByteArray() << QString();
    }

    void osReleaseName()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, name);
        QCOMPARE(kx::osReleaseName(text), name);
    }

    void theRunningSystem()
    {
        const LinuxSystemInfo system;
        QCOMPARE(system.kernelRelease(), QSysInfo::kernelVersion());
        QVERIFY(system.memoryInfo().contains("MemTotal:"));
        QVERIFY(system.memoryInfo().contains("SwapFree:"));
        // Without a desktop, or without xdg-settings, no browser is named and nothing waits long.
        QElapsedTimer timer;
        timer.start();
        const QString browser = system.defaultBrowser();
        QVERIFY(timer.elapsed() < 10000);
        QVERIFY(!browser.contains(u'\n'));
    }
};

QTEST_GUILESS_MAIN(TestSystemInfo)
#include "tst_SystemInfo.moc"
