#include "core/Context.h"

Context::Context(const QString &programFolder, const QString &userSettingsFile)
    : m_programFolder(programFolder), m_fileIni(m_programFolder), m_userSettings(userSettingsFile),
      m_clock(std::make_unique<SystemClock>()),
      m_commandLine(std::make_unique<ProcessCommandLine>(QStringList())),
      m_networkStatus(std::make_unique<SystemNetworkStatus>()),
      m_de(std::make_unique<DataEnvironment>())
{
}

Context::~Context() = default;
