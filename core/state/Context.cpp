#include "core/state/Context.h"

#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/services/VersioneProgramma.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/state/LuoghiScelti.h"
#include "core/state/NuovaDomanda.h"
#include "core/state/Preferences.h"
#include "core/state/PrintRequest.h"
#include "core/state/ResponsabileSpostamento.h"
#include "core/state/ServiziStampa.h"
#include "core/state/StartupHooks.h"
#include "core/state/Trasmissione.h"

namespace kx {

Context::Context(const QString &programFolder, const QString &userSettingsFile, const Services &services)
    : Services(services), m_programFolder(std::make_unique<ProgramFolder>(programFolder)),
      m_fileIni(std::make_unique<clsFileINI>(*m_programFolder)),
      m_userSettings(std::make_unique<UserSettings>(userSettingsFile)),
      m_de(std::make_unique<DataEnvironment>()), m_installazione(std::make_unique<InstallationState>()),
      m_domanda(std::make_unique<CurrentApplication>()), m_preferenze(std::make_unique<Preferences>()),
      m_stampa(std::make_unique<PrintRequest>()), m_nuovaDomanda(std::make_unique<NuovaDomanda>()),
      m_luoghiScelti(std::make_unique<LuoghiScelti>()), m_startupHooks(std::make_unique<StartupHooks>()),
      m_trasmissione(std::make_unique<Trasmissione>()), m_corsi(std::make_unique<CourseEditorState>()),
      m_responsabileSpostamento(std::make_unique<ResponsabileSpostamento>()),
      m_serviziStampa(std::make_unique<ServiziStampa>()), m_versione(versioneProgramma())
{
}

Context::~Context() = default;

} // namespace kx
