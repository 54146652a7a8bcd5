#include "core/services/SystemInfo.h"

#include <QFile>
#include <QProcess>
#include <sys/utsname.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

constexpr int BrowserQueryMs = 3000;

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

/** A value of a shell-style assignment, its quotes and their escapes removed. */
QString unquoted(QByteArray value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        const char quote = value.front();
        value = value.mid(1, value.size() - 2);
        if (quote == '"') {
            QByteArray plain;
            for (qsizetype i = 0; i < value.size(); ++i) {
                if (value[i] == '\\' && i + 1 < value.size())
                    ++i;
                plain += value[i];
            }
            value = plain;
        }
    }
    return QString::fromUtf8(value).trimmed();
}

} // namespace

QString osReleaseName(const QByteArray &osRelease)
{
    QString pretty;
    QString name;
    for (const QByteArray &line : osRelease.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        if (key == "PRETTY_NAME")
            pretty = unquoted(line.mid(equals + 1));
        else if (key == "NAME")
            name = unquoted(line.mid(equals + 1));
    }
    return pretty.isEmpty() ? name : pretty;
}

QString LinuxSystemInfo::distribution() const
{
    QByteArray text = readSmallFile(u"/etc/os-release"_s);
    if (text.isEmpty())
        text = readSmallFile(u"/usr/lib/os-release"_s);
    return osReleaseName(text);
}

QString LinuxSystemInfo::kernelRelease() const
{
    struct utsname names = {};
    if (::uname(&names) != 0)
        return {};
    return QString::fromUtf8(names.release);
}

QString LinuxSystemInfo::defaultBrowser() const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(u"xdg-settings"_s, {u"get"_s, u"default-web-browser"_s}, QIODevice::ReadOnly);
    if (!process.waitForFinished(BrowserQueryMs)) {
        process.kill();
        process.waitForFinished(BrowserQueryMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section(u'\n', 0, 0).trimmed();
}

QByteArray LinuxSystemInfo::memoryInfo() const
{
    return readSmallFile(u"/proc/meminfo"_s);
}

} // namespace kx
