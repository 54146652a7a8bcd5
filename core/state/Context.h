#pragma once

#include "core/services/Services.h"

#include <QString>
#include <memory>

class clsFileINI;

namespace kx {

class DataEnvironment;
class ProgramFolder;
class UserSettings;
struct CourseEditorState;
struct CurrentApplication;
struct InstallationState;
struct LuoghiScelti;
struct NuovaDomanda;
struct Preferences;
struct PrintRequest;
struct ResponsabileSpostamento;
struct ServiziStampa;
struct StartupHooks;
struct Trasmissione;

/**
 * The program-wide state and the services through which routines reach the outside world. It is
 * built whole; each group of state is a struct of its own under core/state/, so adding a field
 * recompiles only the files that use that group.
 */
class Context : public Services
{
public:
    /** A context on the given program folder, with the per-user settings in the given file. */
    Context(const QString &programFolder, const QString &userSettingsFile, const Services &services);
    ~Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    const ProgramFolder &programFolder() const { return *m_programFolder; }
    /** The shared INI object; its NomeFile and Sezione carry over between callers. */
    clsFileINI &fileIni() { return *m_fileIni; }
    UserSettings &userSettings() { return *m_userSettings; }
    /** The data environment DE: the connection CorsiDB and the commands and recordsets. */
    DataEnvironment &DE() { return *m_de; }

    InstallationState &installazione() { return *m_installazione; }
    const InstallationState &installazione() const { return *m_installazione; }
    CurrentApplication &domanda() { return *m_domanda; }
    const CurrentApplication &domanda() const { return *m_domanda; }
    Preferences &preferenze() { return *m_preferenze; }
    const Preferences &preferenze() const { return *m_preferenze; }
    PrintRequest &stampa() { return *m_stampa; }
    /** The ways into printing for windows of other subsystems. */
    ServiziStampa &serviziStampa() { return *m_serviziStampa; }
    /** The outcome of the request for a new application's number. */
    NuovaDomanda &nuovaDomanda() { return *m_nuovaDomanda; }
    /** The results of the municipality and foreign-state pickers. */
    LuoghiScelti &luoghiScelti() { return *m_luoghiScelti; }
    /** The seat and course of the course editor, and the reference picker's choice. */
    CourseEditorState &corsi() { return *m_corsi; }
    const CourseEditorState &corsi() const { return *m_corsi; }
    /** The responsible component chosen for a course reassignment. */
    ResponsabileSpostamento &responsabileSpostamento() { return *m_responsabileSpostamento; }
    /** The start-up's calls into the reference-data installers and the main window. */
    StartupHooks &startupHooks() { return *m_startupHooks; }
    /** The transmission file's e-mail address and name, shared by the send windows and the writer. */
    Trasmissione &trasmissione() { return *m_trasmissione; }

    bool modalitaDebug() const { return ModalitaDebug(commandLine); }

    /** The program's version as printed and sent to the server; the build's own unless a test sets one. */
    const QString &versione() const { return m_versione; }
    void impostaVersione(const QString &versione) { m_versione = versione; }

private:
    std::unique_ptr<ProgramFolder> m_programFolder;
    std::unique_ptr<clsFileINI> m_fileIni;
    std::unique_ptr<UserSettings> m_userSettings;
    std::unique_ptr<DataEnvironment> m_de;
    std::unique_ptr<InstallationState> m_installazione;
    std::unique_ptr<CurrentApplication> m_domanda;
    std::unique_ptr<Preferences> m_preferenze;
    std::unique_ptr<PrintRequest> m_stampa;
    std::unique_ptr<NuovaDomanda> m_nuovaDomanda;
    std::unique_ptr<LuoghiScelti> m_luoghiScelti;
    std::unique_ptr<StartupHooks> m_startupHooks;
    std::unique_ptr<Trasmissione> m_trasmissione;
    std::unique_ptr<CourseEditorState> m_corsi;
    std::unique_ptr<ResponsabileSpostamento> m_responsabileSpostamento;
    std::unique_ptr<ServiziStampa> m_serviziStampa;
    QString m_versione;
};

} // namespace kx
