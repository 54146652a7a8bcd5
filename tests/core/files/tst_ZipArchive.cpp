#include "core/files/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/** Every file under the folder, relative to it, sorted. */
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

/** A database-sized sample that compresses well but not to nothing. */
QByteArray sample()
{
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += QByteArray::number(i * 7919 % 10007) + (i % 13 == 0 ? "\r\n" : ";");
    return bytes;
}

} // namespace

class TestZipArchive : public QObject
{
    Q_OBJECT

private slots:
    void oneFileStoredDeflatedUnderItsEntryName()
    {
        QTemporaryDir dir;
        const QByteArray bytes = sample();
        write(dir.filePath(u"istantanea.tmp"_s), bytes);
        QString error;
        QVERIFY2(zipOneFile(dir.filePath(u"istantanea.tmp"_s), u"KX58TORVA.mdb"_s, dir.filePath(u"a.zip"_s),
                            &error),
                 qPrintable(error));

        // The local header: signature, method 8 (deflate), then the entry's name.
        const QByteArray archive = read(dir.filePath(u"a.zip"_s));
        QVERIFY(archive.startsWith("PK\x03\x04"));
        QCOMPARE(qFromLittleEndian<quint16>(archive.constData() + 8), quint16(8));
        const quint16 nameLength = qFromLittleEndian<quint16>(archive.constData() + 26);
        QCOMPARE(archive.mid(30, nameLength), QByteArray("KX58TORVA.mdb"));
        QVERIFY(archive.size() < bytes.size() / 2);

        const QString out = dir.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        const auto names = extractRegularFiles(dir.filePath(u"a.zip"_s), out, &error);
        QVERIFY2(names, qPrintable(error));
        QCOMPARE(*names, QStringList{u"KX58TORVA.mdb"_s});
        QCOMPARE(read(QDir(out).filePath(u"KX58TORVA.mdb"_s)), bytes);
        QCOMPARE(filesUnder(dir.path()),
                 (QStringList{u"a.zip"_s, u"istantanea.tmp"_s, u"out/KX58TORVA.mdb"_s}));
    }

    void anOlderArchiveIsReplacedWhole()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"a.zip"_s), "an older archive, not even a zip");
        write(dir.filePath(u"nuovo.bin"_s), "new contents");
        QVERIFY(zipOneFile(dir.filePath(u"nuovo.bin"_s), u"nuovo.bin"_s, dir.filePath(u"a.zip"_s), nullptr));
        const auto names = extractRegularFiles(dir.filePath(u"a.zip"_s), dir.path(), nullptr);
        QVERIFY(names);
        QCOMPARE(*names, QStringList{u"nuovo.bin"_s});
        // No temporary file is left beside the archive.
        QCOMPARE(filesUnder(dir.path()), (QStringList{u"a.zip"_s, u"nuovo.bin"_s}));
    }

    void aFailedArchiveLeavesTheOlderOne()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"a.zip"_s), "the older archive");
        QString error;
        QVERIFY(!zipOneFile(dir.filePath(u"manca.mdb"_s), u"manca.mdb"_s, dir.filePath(u"a.zip"_s), &error));
        QVERIFY(error.contains(u"manca.mdb"_s));
        QCOMPARE(read(dir.filePath(u"a.zip"_s)), QByteArray("the older archive"));

        write(dir.filePath(u"file"_s), "a file, not a folder");
        QVERIFY(!zipOneFile(dir.filePath(u"a.zip"_s), u"a.zip"_s, dir.filePath(u"file/b.zip"_s), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(filesUnder(dir.path()), (QStringList{u"a.zip"_s, u"file"_s}));
    }

    void onlyPlainRegularFilesAreExtracted()
    {
        // Entries "../fuori.txt", "/tmp/assoluto.txt", "sotto/annidato.txt", the folder "sotto/",
        // "..\indietro.txt", a link "collegamento" to /etc/passwd, "..", and "normale.txt".
        QTemporaryDir dir;
        const QString out = dir.filePath(u"estratti"_s);
        QVERIFY(QDir().mkpath(out));
        const bool absoluteWasThere = QFileInfo::exists(u"/tmp/assoluto.txt"_s);
        QString error;
        const auto names =
            extractRegularFiles(QStringLiteral(KX_TEST_DATA "/files/zip-hostile-entries.zip"), out, &error);
        QVERIFY2(names, qPrintable(error));
        QCOMPARE(*names, QStringList{u"normale.txt"_s});
        QCOMPARE(filesUnder(dir.path()), QStringList{u"estratti/normale.txt"_s});
        QCOMPARE(read(QDir(out).filePath(u"normale.txt"_s)), QByteArray("regular\r\n"));
        QCOMPARE(QFileInfo::exists(u"/tmp/assoluto.txt"_s), absoluteWasThere);
    }

    void unreadableArchives_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text") << QByteArray("not an archive at all\r\n");
        QTest::newRow("cut short") << QByteArray("PK\x03\x04\x14\x00\x00\x00\x08\x00");
    }

    void unreadableArchives()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        write(dir.filePath(u"rotto.zip"_s), bytes);
        const QString out = dir.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        QString error;
        QVERIFY(!extractRegularFiles(dir.filePath(u"rotto.zip"_s), out, &error));
        QVERIFY(error.contains(u"rotto.zip"_s));
        QVERIFY(filesUnder(out).isEmpty());
    }

    void aDamagedEntryLeavesNoPartialFile()
    {
        QTemporaryDir dir;
        write(dir.filePath(u"dati.bin"_s), sample());
        QVERIFY(zipOneFile(dir.filePath(u"dati.bin"_s), u"dati.bin"_s, dir.filePath(u"a.zip"_s), nullptr));
        QByteArray archive = read(dir.filePath(u"a.zip"_s));
        const qsizetype data = 30 + qFromLittleEndian<quint16>(archive.constData() + 26) +
                               qFromLittleEndian<quint16>(archive.constData() + 28);
        for (qsizetype i = data + 200; i < data + 260; ++i)
            archive[i] = char(archive[i] ^ 0x5a);
        write(dir.filePath(u"a.zip"_s), archive);

        const QString out = dir.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        QString error;
        QVERIFY(!extractRegularFiles(dir.filePath(u"a.zip"_s), out, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(filesUnder(out).isEmpty());
    }

    void plainEntryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::newRow("file") << u"KX58TORVA.mdb"_s << true;
        QTest::newRow("hidden file") << u".profilo"_s << true;
        QTest::newRow("blanks and accents") << u"copia è buona.mdb"_s << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("dot") << u"."_s << false;
        QTest::newRow("dot dot") << u".."_s << false;
        QTest::newRow("folder") << u"sotto/a.mdb"_s << false;
        QTest::newRow("Windows folder") << u"sotto\\a.mdb"_s << false;
        QTest::newRow("absolute") << u"/etc/passwd"_s << false;
        QTest::newRow("parent") << u"../a.mdb"_s << false;
    }

    void plainEntryNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QCOMPARE(isPlainEntryName(name), plain);
    }

    void onlyTheNamedEntryIsExtracted_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("scritto");
        QTest::addColumn<QByteArray>("contenuto");
        QTest::newRow("its exact name first")
            << u"KX58TORVA.mdb"_s << u"KX58TORVA.mdb"_s << QByteArray("la base dati");
        QTest::newRow("else in another case")
            << u"Leggimi.TXT"_s << u"Leggimi.txt"_s << QByteArray("un altro file\r\n").repeated(100);
    }

    void onlyTheNamedEntryIsExtracted()
    {
        QFETCH(QString, nome);
        QFETCH(QString, scritto);
        QFETCH(QByteArray, contenuto);
        QTemporaryDir dir;
        const NamedEntryExtraction estratta = extractNamedEntry(
            QStringLiteral(KX_TEST_DATA "/files/zip-database-and-other.zip"), nome, dir.path(), 0);
        QCOMPARE(int(estratta.outcome), int(NamedEntryExtraction::Outcome::Extracted));
        QCOMPARE(estratta.path, dir.filePath(scritto));
        QCOMPARE(filesUnder(dir.path()), QStringList{scritto});
        QCOMPARE(read(estratta.path), contenuto);
    }

    void aNamedEntryIsRefusedBeforeAnyByteIsWritten_data()
    {
        QTest::addColumn<QString>("archivio");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("esito");
        QTest::newRow("declaring more than the free space")
            << u"mainwindow/restore-declares-a-petabyte.zip"_s << u"KX58TORVA.mdb"_s
            << int(NamedEntryExtraction::Outcome::NoSpace);
        QTest::newRow("no entry of that name") << u"files/zip-database-and-other.zip"_s << u"Altro.mdb"_s
                                               << int(NamedEntryExtraction::Outcome::NotFound);
        QTest::newRow("not an archive") << u"mainwindow/restore-not-a-zip.zip"_s << u"KX58TORVA.mdb"_s
                                        << int(NamedEntryExtraction::Outcome::NotFound);
        QTest::newRow("only in a subfolder or a link")
            << u"files/zip-hostile-entries.zip"_s << u"collegamento"_s
            << int(NamedEntryExtraction::Outcome::NotFound);
    }

    void aNamedEntryIsRefusedBeforeAnyByteIsWritten()
    {
        QFETCH(QString, archivio);
        QFETCH(QString, nome);
        QFETCH(int, esito);
        QTemporaryDir dir;
        const NamedEntryExtraction estratta =
            extractNamedEntry(QStringLiteral(KX_TEST_DATA "/") + archivio, nome, dir.path(), 0);
        QCOMPARE(int(estratta.outcome), esito);
        QVERIFY(estratta.path.isEmpty());
        QVERIFY(filesUnder(dir.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestZipArchive)
#include "tst_ZipArchive.moc"
