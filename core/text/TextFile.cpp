#include "core/text/TextFile.h"

#include "core/services/RoutineError.h"
#include "core/text/Cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kx {

namespace TextFile {

QStringList splitLines(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
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

QStringList readLines(const QString &path)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        throw RoutineError(ErrorCode::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::PathFileAccessError);
    return splitLines(file.readAll());
}

void writeLines(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(joinLines(lines)) < 0 || !file.commit())
        throw RoutineError(ErrorCode::PathFileAccessError);
}

void appendLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    const QByteArray bytes = joinLines(lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(bytes) != bytes.size())
        throw RoutineError(ErrorCode::PathFileAccessError);
}

} // namespace TextFile

} // namespace kx
