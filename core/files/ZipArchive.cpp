#include "core/files/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <limits>
#include <memory>
#include <sys/stat.h>
#include <zip.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

QString zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

QString archiveErrorText(zip_t *archive)
{
    return QString::fromUtf8(zip_strerror(archive));
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

/** Closes a read-only archive; a written one is closed or discarded by its maker. */
struct ReadArchiveCloser
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
using ReadArchive = std::unique_ptr<zip_t, ReadArchiveCloser>;

struct EntryCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

/** True when the entry's attributes say it is a folder, a link or any other non-regular file. */
bool isSpecialEntry(zip_t *archive, zip_uint64_t index)
{
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return true;
    if (system == ZIP_OPSYS_UNIX) {
        const mode_t mode = attributes >> 16;
        // Archives of some tools leave the type bits empty for a plain file.
        return (mode & S_IFMT) != 0 && !S_ISREG(mode);
    }
    // MS-DOS attributes: 0x10 marks a folder.
    return system == ZIP_OPSYS_DOS && (attributes & 0x10) != 0;
}

bool extractEntry(zip_t *archive, zip_uint64_t index, const QString &target, QString *error,
                  qint64 limit = std::numeric_limits<qint64>::max())
{
    Entry entry(zip_fopen_index(archive, index, 0));
    QFile file(target);
    if (!entry) {
        setError(error, archiveErrorText(archive));
        return false;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, u"Impossibile scrivere il file '"_s + target + u"': "_s + file.errorString());
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        // The entry's checksum is verified when its end is read.
        const zip_int64_t read = zip_fread(entry.get(), buffer, sizeof buffer);
        if (read < 0) {
            setError(error, QString::fromUtf8(zip_file_strerror(entry.get())));
            file.remove();
            return false;
        }
        if (read == 0)
            break;
        limit -= read;
        if (limit < 0) {
            setError(error, u"L'archivio contiene più dati di quanti ne dichiari"_s);
            file.remove();
            return false;
        }
        if (file.write(buffer, read) != read) {
            setError(error, u"Impossibile scrivere il file '"_s + target + u"': "_s + file.errorString());
            file.remove();
            return false;
        }
    }
    if (!file.flush()) {
        setError(error, u"Impossibile scrivere il file '"_s + target + u"': "_s + file.errorString());
        file.remove();
        return false;
    }
    return true;
}

} // namespace

bool isPlainEntryName(const QString &name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

bool zipOneFile(const QString &source, const QString &entryName, const QString &archive, QString *error)
{
    if (!QFileInfo(source).isFile()) {
        setError(error, u"Il file '"_s + source + u"' non esiste."_s);
        return false;
    }
    int code = ZIP_ER_OK;
    // The library writes the archive to a temporary file in its folder and renames it into place only
    // when closing succeeds; until then an older archive of that name stays untouched.
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        setError(error, u"Impossibile creare l'archivio '"_s + archive + u"': "_s + zipErrorText(code));
        return false;
    }
    const auto fail = [&](const QString &reason) {
        setError(error, u"Impossibile creare l'archivio '"_s + archive + u"': "_s + reason);
        zip_discard(zip);
        return false;
    };
    zip_source_t *file = zip_source_file(zip, QFile::encodeName(source).constData(), 0, -1);
    if (!file)
        return fail(archiveErrorText(zip));
    const zip_int64_t index = zip_file_add(zip, entryName.toUtf8().constData(), file, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(file);
        return fail(archiveErrorText(zip));
    }
    if (zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0)
        return fail(archiveErrorText(zip));
    if (zip_close(zip) != 0)
        return fail(archiveErrorText(zip));
    return true;
}

std::optional<QStringList> extractRegularFiles(const QString &archive, const QString &folder, QString *error)
{
    int code = ZIP_ER_OK;
    ReadArchive zip(zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!zip) {
        setError(error, u"Impossibile leggere l'archivio '"_s + archive + u"': "_s + zipErrorText(code));
        return std::nullopt;
    }
    QStringList written;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        const char *rawName = zip_get_name(zip.get(), index, ZIP_FL_ENC_GUESS);
        if (!rawName) {
            setError(error, archiveErrorText(zip.get()));
            return std::nullopt;
        }
        const QString name = QString::fromUtf8(rawName);
        if (!isPlainEntryName(name) || isSpecialEntry(zip.get(), index) || written.contains(name))
            continue;
        if (!extractEntry(zip.get(), index, QDir(folder).filePath(name), error))
            return std::nullopt;
        written << name;
    }
    return written;
}

NamedEntryExtraction extractNamedEntry(const QString &archive, const QString &name, const QString &folder,
                                       qint64 margin)
{
    NamedEntryExtraction result;
    int code = ZIP_ER_OK;
    ReadArchive zip(zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code));
    if (!zip)
        return result;
    std::optional<zip_uint64_t> found;
    QString foundName;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = zip_uint64_t(i);
        const char *rawName = zip_get_name(zip.get(), index, ZIP_FL_ENC_GUESS);
        const QString entryName = rawName ? QString::fromUtf8(rawName) : QString();
        if (!isPlainEntryName(entryName) || isSpecialEntry(zip.get(), index) ||
            entryName.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!found || entryName == name) {
            found = index;
            foundName = entryName;
        }
        if (entryName == name)
            break;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (!found || zip_stat_index(zip.get(), *found, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return result;
    const auto declared = qint64(std::min<zip_uint64_t>(stat.size, std::numeric_limits<qint64>::max() / 2));
    if (QStorageInfo(folder).bytesAvailable() < declared + margin) {
        result.outcome = NamedEntryExtraction::Outcome::NoSpace;
        return result;
    }
    result.path = QDir(folder).filePath(foundName);
    if (!extractEntry(zip.get(), *found, result.path, &result.error, declared)) {
        result.outcome = NamedEntryExtraction::Outcome::Failed;
        result.path.clear();
        return result;
    }
    result.outcome = NamedEntryExtraction::Outcome::Extracted;
    return result;
}

} // namespace kx
