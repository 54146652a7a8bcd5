#pragma once

#include <QByteArray>
#include <QString>

namespace kx {

/**
 * What the computer says about itself, for the assistance request. Each detail is empty when it
 * cannot be read; the caller shows that as it sees fit.
 */
class SystemInfo
{
public:
    virtual ~SystemInfo() = default;
    /** The distribution's name, as its os-release file gives it ("Debian GNU/Linux 12 (bookworm)"). */
    virtual QString distribution() const = 0;
    /** The kernel's release ("6.1.0-18-amd64"). */
    virtual QString kernelRelease() const = 0;
    /** The desktop entry of the default web browser ("firefox-esr.desktop"). */
    virtual QString defaultBrowser() const = 0;
    /** The text of /proc/meminfo. */
    virtual QByteArray memoryInfo() const = 0;
};

/**
 * The running Linux system: os-release, uname, `xdg-settings get default-web-browser` (given a few
 * seconds) and /proc/meminfo.
 */
class LinuxSystemInfo final : public SystemInfo
{
public:
    QString distribution() const override;
    QString kernelRelease() const override;
    QString defaultBrowser() const override;
    QByteArray memoryInfo() const override;
};

/**
 * The name in the text of an os-release file: PRETTY_NAME, else NAME, without the quotes around it;
 * empty when it has neither.
 */
QString osReleaseName(const QByteArray &osRelease);

} // namespace kx
