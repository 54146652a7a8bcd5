#pragma once

#include "core/services/RoutineError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

namespace kx {

/**
 * Text files the Windows way: Windows-1252, lines ended by CR LF. On reading, CR LF or a lone CR ends
 * a line and a lone LF stays inside it, as the old line input did, unless the reader asks for every
 * kind of line end. Failures throw RoutineError with the run time's file error numbers (53 missing
 * file, 75 access error).
 */
namespace TextFile {

/** What ends a line on reading. */
enum class LineEnds
{
    /** CR LF or a lone CR; a lone LF is part of the line. */
    CrLfOrCr,
    /** CR LF, a lone CR or a lone LF: for files that may have been saved on any system. */
    Any
};

/** The lines of the bytes; a last line without its end still counts, an empty tail does not. */
QStringList splitLines(QByteArrayView bytes, LineEnds ends = LineEnds::CrLfOrCr);
/** Every line followed by CR LF, in Windows-1252. */
QByteArray joinLines(const QStringList &lines);

QStringList readLines(const QString &path, LineEnds ends = LineEnds::CrLfOrCr);
/** Replaces the file as a whole, as replaceFiles does. */
void writeLines(const QString &path, const QStringList &lines);
/** A failed append leaves the file as it was. */
void appendLines(const QString &path, const QStringList &lines);

/** The new contents of one file. */
struct FileContents
{
    QString path;
    QByteArray bytes;
};

/** Error 75 of replaceFiles, with the file that could not be written or put in place. */
class FileWriteError : public RoutineError
{
public:
    explicit FileWriteError(QString path, int systemError = 0);
    const QString &path() const { return m_path; }
    /** The system's error number (errno) of the failure, 0 when unknown. */
    int systemError() const { return m_systemError; }

private:
    QString m_path;
    int m_systemError = 0;
};

/**
 * Replaces the files together, each as a whole, all or none. Every content is first written in full
 * beside its file and synced, so a full disk or a file size limit fails before anything changes;
 * then the files are put in place one after the other, and when one cannot be (a name the file
 * system cannot hold), those already in place are taken back: old contents restored, new files
 * removed. A file that may be written in a folder that may not (an installed program folder) is
 * rewritten in place, its space reserved first and its old bytes put back on failure. A link under
 * the name is replaced by the new file, never written through.
 */
void replaceFiles(const std::vector<FileContents> &files);

} // namespace TextFile

} // namespace kx
