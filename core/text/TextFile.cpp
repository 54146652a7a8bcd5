#include "core/text/TextFile.h"

#include "core/text/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace TextFile {

namespace {

/** A new name beside the file, short so that it fits wherever the file's own name does. */
QString besideName(const QString &path)
{
    return QFileInfo(path).path() + u"/.kx"_s +
           QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp"_s;
}

bool renameReplacing(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

/** Every byte written, the file cut to their length and synced: a full disk shows here, not later. */
bool writeWhole(QFile &file, QByteArrayView bytes)
{
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.resize(bytes.size()) &&
           ::fsync(file.handle()) == 0;
}

/** Rewrites a file where it stands; a longer content gets its space before any byte changes. */
bool rewriteInPlace(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const qint64 oldSize = file.size();
    if (bytes.size() > oldSize && ::posix_fallocate(file.handle(), 0, bytes.size()) != 0) {
        file.resize(oldSize);
        return false;
    }
    return writeWhole(file, bytes);
}

/** One file on its way into place. */
struct Replacement
{
    QString target;
    QByteArrayView bytes;
    bool existed = false;
    /** The new contents beside the target, until they are put in place. */
    QString staged;
    /** The old file under another name, until every file of the set is in place. */
    QString aside;
    /** A file rewritten where it stands, and what it held before. */
    bool inPlace = false;
    QByteArray oldBytes;
    bool placed = false;
};

bool stage(Replacement &r)
{
    struct stat old = {};
    r.existed = ::lstat(QFile::encodeName(r.target).constData(), &old) == 0;
    const bool link = r.existed && S_ISLNK(old.st_mode);
    if (r.existed && !link && !S_ISREG(old.st_mode))
        return false; // a folder or a device stands in the way
    r.staged = besideName(r.target);
    QFile file(r.staged);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        // The new file keeps the permissions of the one it replaces.
        if ((r.existed && !link && ::fchmod(file.handle(), old.st_mode & 07777) != 0) ||
            !writeWhole(file, r.bytes)) {
            const int cause = errno;
            file.remove();
            r.staged.clear();
            errno = cause;
            return false;
        }
        return true;
    }
    r.staged.clear();
    QFile current(r.target);
    // Rewriting in place would write through a link into whatever it points to.
    if (!r.existed || link || !QFileInfo(r.target).isWritable() || !current.open(QIODevice::ReadOnly))
        return false;
    r.oldBytes = current.readAll();
    r.inPlace = true;
    return true;
}

/** Puts the new contents in place; the old file is kept aside when a later file could still fail. */
bool place(Replacement &r, bool keepOld)
{
    if (r.inPlace) {
        r.placed = true; // a rewrite that fails half way must be taken back too
        return rewriteInPlace(r.target, r.bytes);
    }
    if (keepOld && r.existed) {
        r.aside = besideName(r.target);
        if (!renameReplacing(r.target, r.aside)) {
            r.aside.clear();
            return false;
        }
    }
    if (!renameReplacing(r.staged, r.target))
        return false;
    r.staged.clear();
    r.placed = true;
    return true;
}

/** Gives the file back what it held; an old file that cannot be put back stays aside, not lost. */
void takeBack(Replacement &r)
{
    if (r.inPlace) {
        if (r.placed)
            rewriteInPlace(r.target, r.oldBytes);
    } else if (!r.aside.isEmpty()) {
        if (renameReplacing(r.aside, r.target))
            r.aside.clear();
    } else if (r.placed && !r.existed) {
        QFile::remove(r.target);
    }
    if (!r.staged.isEmpty())
        QFile::remove(r.staged);
}

} // namespace

FileWriteError::FileWriteError(QString path, int systemError)
    : RoutineError(ErrorCode::PathFileAccessError), m_path(std::move(path)), m_systemError(systemError)
{
}

QStringList splitLines(QByteArrayView bytes, LineEnds ends)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && (bytes[i] != '\n' || ends != LineEnds::Any))
            continue;
        lines.append(Cp1252::decode(bytes.sliced(start, i - start)));
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(Cp1252::decode(bytes.sliced(start)));
    return lines;
}

QByteArray joinLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += Cp1252::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList readLines(const QString &path, LineEnds ends)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw RoutineError(ErrorCode::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::PathFileAccessError);
    return splitLines(file.readAll(), ends);
}

void writeLines(const QString &path, const QStringList &lines)
{
    replaceFiles({{path, joinLines(lines)}});
}

void appendLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    const QByteArray bytes = joinLines(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw RoutineError(ErrorCode::PathFileAccessError);
    const qint64 oldSize = file.size();
    if (file.write(bytes) != bytes.size() || ::fsync(file.handle()) != 0) {
        file.resize(oldSize);
        throw RoutineError(ErrorCode::PathFileAccessError);
    }
}

void replaceFiles(const std::vector<FileContents> &files)
{
    std::vector<Replacement> replacements;
    for (const FileContents &file : files) {
        // A link is replaced by the new file, never written through: it may point anywhere.
        Replacement &r = replacements.emplace_back();
        r.target = file.path;
        r.bytes = file.bytes;
    }
    const auto fail = [&](std::size_t failed) {
        const int cause = errno; // before the taking back sets its own
        for (auto r = replacements.rbegin(); r != replacements.rend(); ++r)
            takeBack(*r);
        throw FileWriteError(files[failed].path, cause);
    };
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        if (!stage(replacements[i]))
            fail(i);
    }
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        if (!place(replacements[i], i + 1 < replacements.size()))
            fail(i);
    }
    for (const Replacement &r : replacements) {
        if (!r.aside.isEmpty())
            QFile::remove(r.aside);
    }
}

} // namespace TextFile

} // namespace kx
