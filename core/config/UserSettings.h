#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace kx {

/**
 * The preferences of the user (application "FP", section "KX58TORVA"): e-mail address, mail server,
 * hover effects of the main window, proxy. One INI file per user, in the user's configuration folder.
 */
class UserSettings
{
public:
    /** The store kept in the given file; an empty path means the user's own file. */
    explicit UserSettings(const QString &filePath);
    ~UserSettings();

    QString value(const QString &key, const QString &defaultValue) const;
    void setValue(const QString &key, const QString &value);

    /** Where the store of the current user lives. */
    static QString defaultFilePath();

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kx
