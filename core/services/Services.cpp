#include "core/services/Services.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Reads a small number from a file of /sys, or -1. */
long sysValue(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    bool ok = false;
    const long value = file.readAll().trimmed().toLong(&ok, 0);
    return ok ? value : -1;
}

} // namespace

int SystemNetworkStatus::connectionFlags() const
{
    constexpr long PointToPoint = 512; // ARPHRD_PPP
    constexpr long InterfaceUp = 0x1;  // IFF_UP
    int flags = 0;
    const QDir interfaces(u"/sys/class/net"_s);
    for (const QString &name : interfaces.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString base = interfaces.filePath(name);
        const long interfaceFlags = sysValue(base + u"/flags"_s);
        if (sysValue(base + u"/type"_s) == PointToPoint && interfaceFlags >= 0 &&
            (interfaceFlags & InterfaceUp))
            flags |= Modem;
    }
    for (const char *variable :
         {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            flags |= Proxy;
    }
    return flags;
}

} // namespace kx

bool ModalitaDebug(const kx::CommandLine &commandLine)
{
    return commandLine.arguments().join(u' ') == u"DEBUG"_s;
}
