#include "core/files/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** The entry of `folder` named `part`, exact match first, then without regard to case. */
QString findEntry(const QString &folder, const QString &part)
{
    const QString exact = folder + u'/' + part;
    if (QFileInfo::exists(exact))
        return part;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

ProgramFolder::ProgramFolder(const QString &path) : m_path(QDir::cleanPath(QDir(path).absolutePath())) {}

QString ProgramFolder::resolve(const QString &name) const
{
    return resolvePath(m_path, name);
}

QString resolvePath(const QString &base, const QString &name)
{
    QString unified = name;
    unified.replace(u'\\', u'/');
    QString current = unified.startsWith(u'/') ? u"/"_s : QDir::cleanPath(base);
    const QStringList parts = unified.split(u'/', Qt::SkipEmptyParts);
    bool matching = true;
    for (const QString &part : parts) {
        if (part == u".")
            continue;
        if (part == u"..") {
            current = QFileInfo(current).path();
            continue;
        }
        QString entry;
        if (matching) {
            entry = findEntry(current, part);
            matching = !entry.isEmpty();
        }
        current = (current == u"/" ? current : current + u'/') + (entry.isEmpty() ? part : entry);
    }
    return current;
}

bool isPlainNamePart(QStringView part)
{
    if (part.contains(u"..") || part.contains(u'/') || part.contains(u'\\') || part.contains(u':'))
        return false;
    return std::none_of(part.begin(), part.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace kx
