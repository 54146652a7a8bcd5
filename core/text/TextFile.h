#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace kx {

/**
 * Text files the Windows way: Windows-1252, lines ended by CR LF. On reading, CR LF or a lone CR ends
 * a line and a lone LF stays inside it, as the old line input did. Failures throw RoutineError with
 * the run time's file error numbers (53 missing file, 75 access error).
 */
namespace TextFile {

/** The lines of the bytes; a last line without its end still counts, an empty tail does not. */
QStringList splitLines(QByteArrayView bytes);
/** Every line followed by CR LF, in Windows-1252. */
QByteArray joinLines(const QStringList &lines);

QStringList readLines(const QString &path);
/** Replaces the file as a whole: readers never see it half written. */
void writeLines(const QString &path, const QStringList &lines);
void appendLines(const QString &path, const QStringList &lines);

} // namespace TextFile

} // namespace kx
