#pragma once

#include "core/files/ProgramFolder.h"

#include <QString>

/**
 * Every file name, section, key and installation value of the INI file, declared once. A key is read
 * and written through clsFileINI::Leggi and Scrivi, which set its section first:
 *
 *   ini.Scrivi(IniKeys::Tipo, TipoMultiutenza);
 *   const QString database = ini.Leggi(IniKeys::Database);
 *
 * Sections and keys are found without regard to case, so "numDoma" and "NumDoma" are one key.
 * The user's own settings (UserSettings) have their keys in UserKeys below.
 */
namespace kx {

/** A key of the INI file and the section it lives in. */
struct IniKey
{
    const char16_t *section;
    const char16_t *key;
};

} // namespace kx

namespace IniKeys {
inline constexpr kx::IniKey Tipo{u"Installazione", u"Tipo"};
inline constexpr kx::IniKey Versione{u"Installazione", u"Versione"};
inline constexpr kx::IniKey Provider{u"Installazione", u"PROVIDER"};
inline constexpr kx::IniKey Database{u"BaseDati", u"Database"};
inline constexpr kx::IniKey NFileDB{u"BaseDati", u"NFileDB"};
inline constexpr kx::IniKey NumDoma{u"BaseDati", u"NumDoma"};
/** The archive of the last zip backup, full path; empty after a failed one. */
inline constexpr kx::IniKey FileBackup{u"BaseDati", u"FileBackup"};
inline constexpr kx::IniKey FileHelp{u"Help", u"FILEHELP"};
inline constexpr kx::IniKey Credenziale{u"CONNESSIONE", u"PWD"};
inline constexpr kx::IniKey IndirizzoServer{u"CONNESSIONE", u"NREG"};
/** The addresses of the server's services; the new application number's is IndirizzoServer. */
inline constexpr kx::IniKey AggiornaDB{u"CONNESSIONE", u"AGGIORNADB"};
inline constexpr kx::IniKey ServerCorsi{u"CONNESSIONE", u"SERVERCORSI"};
/** The identity service's login page, whose text gives the token of the approved-courses download. */
inline constexpr kx::IniKey Albis{u"CONNESSIONE", u"ALBIS"};
inline constexpr kx::IniKey VersioneServizio{u"CONNESSIONE", u"VERSIONE"};
} // namespace IniKeys

/** The installation types of [Installazione] Tipo. */
inline const QString TipoStandAlone = QStringLiteral("StandAlone");
inline const QString TipoMultiutenza = QStringLiteral("Multiutenza");

/** The roles of [Installazione] Versione. */
inline const QString VersioneServer = QStringLiteral("SERVER");
inline const QString VersioneClient = QStringLiteral("CLIENT");

/** The keys of the user's own settings (UserSettings). */
namespace UserKeys {
inline const QString EMail = QStringLiteral("E-Mail");
inline const QString ServerMail = QStringLiteral("ServerMail");
inline const QString Proxy = QStringLiteral("Proxy");
inline const QString Porta = QStringLiteral("Porta");
inline const QString LastUpdate = QStringLiteral("LastUpdate");
inline const QString OptSottolinea = QStringLiteral("OptSottolinea");
inline const QString OptAumenta = QStringLiteral("OptAumenta");
inline const QString OptCambia = QStringLiteral("OptCambia");
} // namespace UserKeys
