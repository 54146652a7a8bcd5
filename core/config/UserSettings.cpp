#include "core/config/UserSettings.h"

#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace kx {

namespace {
const QString Section = u"KX58TORVA"_s;
}

UserSettings::UserSettings(const QString &filePath)
    : m_settings(std::make_unique<QSettings>(filePath.isEmpty() ? defaultFilePath() : filePath,
                                             QSettings::IniFormat))
{
}

UserSettings::~UserSettings() = default;

QString UserSettings::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/FP.ini"_s;
}

QString UserSettings::value(const QString &key, const QString &defaultValue) const
{
    return m_settings->value(Section + u'/' + key, defaultValue).toString();
}

void UserSettings::setValue(const QString &key, const QString &value)
{
    m_settings->setValue(Section + u'/' + key, value);
    m_settings->sync();
}

} // namespace kx
