#include "core/config/IniFile.h"

#include "core/files/ProgramFolder.h"
#include "core/services/RoutineError.h"
#include "core/services/SystemErrors.h"
#include "core/text/Cp1252.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** One line of the file as it stands, with its own line end, so untouched lines keep every byte. */
struct RawLine
{
    QByteArray text;
    QByteArray end;
};

std::vector<RawLine> splitRaw(const QByteArray &bytes)
{
    std::vector<RawLine> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype i = start;
        while (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n')
            ++i;
        RawLine line{bytes.mid(start, i - start), {}};
        if (i < bytes.size()) {
            const qsizetype endLength =
                (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
            line.end = bytes.mid(i, endLength);
            i += endLength;
        }
        lines.push_back(line);
        start = i;
    }
    return lines;
}

bool opensWithBracket(const QByteArray &line)
{
    return trimBlanksAndTabs(Cp1252::decode(line)).startsWith(u'[');
}

/** The section a line opens, or nothing when it opens none: a "[" without its "]" opens none. */
std::optional<QString> sectionName(const QByteArray &line)
{
    const QString text = trimBlanksAndTabs(Cp1252::decode(line));
    const qsizetype close = text.indexOf(u']');
    if (!text.startsWith(u'[') || close < 0)
        return std::nullopt;
    return trimBlanksAndTabs(text.mid(1, close - 1));
}

/** The default as the profile functions hand it back: without its trailing blanks. */
QString profileDefault(const QString &value)
{
    qsizetype end = value.size();
    while (end > 0 && value[end - 1] == u' ')
        --end;
    return value.left(end);
}

struct KeyLine
{
    QString key;
    QString value;
};

std::optional<KeyLine> keyLine(const QByteArray &line)
{
    const QString text = Cp1252::decode(line);
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0 || trimBlanksAndTabs(text).startsWith(u';'))
        return std::nullopt;
    QString value = trimBlanksAndTabs(text.mid(equals + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return KeyLine{trimBlanksAndTabs(text.left(equals)), value};
}

struct Location
{
    std::optional<size_t> section; // line that opens the section
    std::optional<size_t> key;     // line that holds the key
    size_t lastContent = 0;        // last non-blank line of the section
};

Location locate(const std::vector<RawLine> &lines, const QString &section, const QString &key)
{
    Location where;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (where.section)
                break;
            if (name->compare(section, Qt::CaseInsensitive) == 0)
                where.section = where.lastContent = i;
            continue;
        }
        if (!where.section || opensWithBracket(lines[i].text))
            continue; // a broken section line is no key: the section before it goes on
        if (!trimBlanksAndTabs(Cp1252::decode(lines[i].text)).isEmpty())
            where.lastContent = i;
        if (const auto entry = keyLine(lines[i].text);
            entry && entry->key.compare(key, Qt::CaseInsensitive) == 0) {
            where.key = i;
            break;
        }
    }
    return where;
}

} // namespace

clsFileINI::clsFileINI(const ProgramFolder &programFolder) : m_programFolder(programFolder) {}

void clsFileINI::setNomeFile(const QString &value)
{
    m_nomeFile = value;
    if (!m_nomeFile.contains(u'.'))
        m_nomeFile += u".ini"_s;
    if (!m_nomeFile.contains(u'\\') && !m_nomeFile.contains(u'/'))
        m_nomeFile = m_programFolder.path() + u'/' + m_nomeFile;
}

QString clsFileINI::path() const
{
    return resolvePath(m_programFolder.path(), m_nomeFile);
}

QString clsFileINI::Leggi(const QString &key, const QString &defaultValue) const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return profileDefault(defaultValue);
    const auto lines = splitRaw(file.readAll());
    const Location where = locate(lines, m_sezione, key);
    if (!where.key)
        return profileDefault(defaultValue);
    return keyLine(lines[*where.key].text)->value;
}

int clsFileINI::Scrivi(const QString &key, const QString &value)
{
    m_causaScrittura.clear();
    const QString target = path();
    const QFileInfo info(target);
    if (info.exists() && !info.isWritable()) {
        m_causaScrittura = descrizioneErroreSistema(EACCES);
        return 0;
    }

    QByteArray bytes;
    if (info.exists()) {
        QFile file(target);
        if (!file.open(QIODevice::ReadOnly)) {
            m_causaScrittura = file.errorString();
            return 0;
        }
        bytes = file.readAll();
    }
    auto lines = splitRaw(bytes);
    const Location where = locate(lines, m_sezione, key);
    if (where.key) {
        const QString existingKey = keyLine(lines[*where.key].text)->key;
        lines[*where.key].text = Cp1252::encode(QString(existingKey + u'=' + value));
    } else {
        if (!lines.empty() && lines.back().end.isEmpty())
            lines.back().end = "\r\n";
        const RawLine entry{Cp1252::encode(QString(key + u'=' + value)), "\r\n"};
        if (where.section) {
            lines.insert(lines.begin() + qsizetype(where.lastContent) + 1, entry);
        } else {
            lines.push_back({Cp1252::encode(QString(u'[' + m_sezione + u']')), "\r\n"});
            lines.push_back(entry);
        }
    }

    QByteArray output;
    for (const RawLine &line : lines)
        output += line.text + line.end;
    try {
        TextFile::replaceFiles({{target, output}});
    } catch (const TextFile::FileWriteError &error) {
        m_causaScrittura = descrizioneErroreSistema(error.systemError() ? error.systemError() : EIO);
        return 0;
    }
    return 1;
}

bool clsFileINI::haSezione(const QString &section) const
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const RawLine &line : splitRaw(file.readAll())) {
        const auto name = sectionName(line.text);
        if (name && name->compare(section, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int rigaInUtf8(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return 1;
    const auto lines = splitRaw(bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
        const QByteArray &text = lines[i].text;
        if (std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; }))
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(text);
        if (!utf8.hasError())
            return int(i) + 1;
    }
    return 0;
}

int clsFileINI::Scrivi(const kx::IniKey &key, const QString &value)
{
    m_sezione = QString::fromUtf16(key.section);
    return Scrivi(QString::fromUtf16(key.key), value);
}

QString clsFileINI::Leggi(const kx::IniKey &key, const QString &defaultValue)
{
    m_sezione = QString::fromUtf16(key.section);
    return Leggi(QString::fromUtf16(key.key), defaultValue);
}
