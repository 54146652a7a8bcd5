#include "FileSizeLimit.h"
#include "TestContext.h"
#include "core/config/IniFile.h"
#include "core/files/TextRecords.h"
#include "core/state/InstallationState.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using FileMap = QMap<QString, QByteArray>;
/** Runs one whole-file write; true when it told its caller that it failed. */
using Writer = std::function<bool(TestContext &)>;

enum class Limit
{
    FullFileSystem,
    FileSizeLimit,
};

/** More than the file size limit lets through, and more than a page of the small file system. */
const QString LongText(5000, u'x');

/** Every file of the folder, hidden ones included, with its bytes. */
FileMap folderFiles(const TestContext &test)
{
    FileMap files;
    for (const QString &name : QDir(test.folder()).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, test.readFile(name));
    return files;
}

/** The folder becomes a small file system of its own for the lifetime of the object, where the process may
 * mount one. */
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &folder)
        : m_folder(QFile::encodeName(folder)),
          m_mounted(::mount("tmpfs", m_folder.constData(), "tmpfs", 0, "size=64k,mode=0700") == 0)
    {
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    /** Takes every free byte with one file. */
    static void fill(const QString &path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (file.write(block) == block.size()) {
        }
    }

private:
    QByteArray m_folder;
    bool m_mounted;
};

} // namespace

Q_DECLARE_METATYPE(Writer)
Q_DECLARE_METATYPE(Limit)

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void wholeFileWritesLeaveTheOldFileOnAFullDisk_data()
    {
        QTest::addColumn<Limit>("limit");
        QTest::addColumn<Writer>("writer");

        const std::pair<const char *, Writer> writers[] = {
            {"INI file",
             [](TestContext &test) {
                 clsFileINI &ini = test.context().fileIni();
                 ini.setNomeFile(u"KX58TORVA.INI"_s);
                 ini.setSezione(u"BaseDati"_s);
                 return ini.Scrivi(u"Database"_s, LongText) == 0;
             }},
            {"text file",
             [](TestContext &test) {
                 return errorOf([&] {
                            TextFile::writeLines(test.path(u"AggiornaDB.LOG"_s), {LongText});
                        }).number() == ErrorCode::PathFileAccessError;
             }},
            {"appended lines",
             [](TestContext &test) {
                 return errorOf([&] {
                            TextFile::appendLines(test.path(u"AggiornaDB.LOG"_s), {LongText});
                        }).number() == ErrorCode::PathFileAccessError;
             }},
            {"download bundle",
             [](TestContext &test) {
                 return ::SeparaFileScaricato(test.context().programFolder(),
                                              test.context().installazione().PercorsoDB, u"$tmpDenOp.tx1"_s)
                            .stato == EsitoPacchetto::Stato::NonScritto;
             }},
        };
        for (const auto &[name, writer] : writers) {
            QTest::addRow("%s, full file system", name) << Limit::FullFileSystem << writer;
            QTest::addRow("%s, file size limit", name) << Limit::FileSizeLimit << writer;
        }
    }

    void wholeFileWritesLeaveTheOldFileOnAFullDisk()
    {
        QFETCH(Limit, limit);
        QFETCH(Writer, writer);

        TestContext test;
        std::optional<SmallFileSystem> small;
        if (limit == Limit::FullFileSystem) {
            small.emplace(test.folder());
            if (!small->mounted())
                QSKIP("this process may not mount a file system");
        }
        test.writeFile(u"KX58TORVA.INI"_s, "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\nNumDoma=12\r\n");
        test.writeFile(u"AggiornaDB.LOG"_s, "- riga precedente\r\n");
        test.writeFile(u"oper.tx1"_s, "#A#,#vecchio#\r\n");
        test.writeFile(u"$tmpDenOp.tx1"_s, "oper.tx1\r\n#" + LongText.toLatin1() + "#\r\nEOF\r\n");
        if (small)
            SmallFileSystem::fill(test.path(u"riempimento"_s));
        const FileMap before = folderFiles(test);

        bool reported = false;
        {
            std::optional<FileSizeLimit> sizeLimit;
            if (limit == Limit::FileSizeLimit)
                sizeLimit.emplace(1024);
            reported = writer(test);
        }
        QVERIFY(reported);
        QCOMPARE(folderFiles(test), before);
    }

    void writeLinesReplacesTheFileKeepingItsPermissions()
    {
        TestContext test;
        test.writeFile(u"Asse.txt"_s, "vecchio\r\n");
        QFile::setPermissions(test.path(u"Asse.txt"_s),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        TextFile::writeLines(test.path(u"Asse.txt"_s), {u"Forlì"_s, QString()});
        QCOMPARE(test.readFile(u"Asse.txt"_s), QByteArray("Forl\xec\r\n\r\n"));
        QCOMPARE(QFile::permissions(test.path(u"Asse.txt"_s)),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                     QFileDevice::WriteUser | QFileDevice::ReadGroup);
        QCOMPARE(QDir(test.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"Asse.txt"_s});
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
