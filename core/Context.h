#pragma once

#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/Services.h"
#include "core/startup/StartupHooks.h"

#include <QString>

#include <memory>

/** The installation settings read at start-up and the flags of a first installation. */
struct InstallationState
{
    QString CartellaProgramma;
    QString TipoInstallazione;
    QString VersioneInstallazione;
    QString PercorsoDB;
    QString NomeFileDB;
    QString FileAiuto;
    QString CredenzialeServer;
    QString IndirizzoServer;
    bool InstallazioneInCorso = false;
    bool PrimaInstallazione = false;
};

/** The application every window works on, and its operator. */
struct CurrentApplication
{
    qint32 NumDomaCorrente = 0;
    QString GrupOpeCorrente;
    QString OperatoreCorrente = QStringLiteral("0");
    QString DenominazioneOpCorrente;
    QString ProvCorrente;
    QString DesProvCorrente;
    bool DomandaStampataCorrente = false;
    /** Selects the rows of the current application; with none it selects nothing. */
    QString FiltroDomandaCorrente = QStringLiteral("GrupOpe='' AND Operatore=0 AND NumDoma=0");
};

/**
 * The program-wide state and the services through which routines reach the outside world. main()
 * makes one with the system's services; a test makes one with fakes.
 */
class Context
{
public:
    /** A context on the given program folder, with the per-user settings in the given file. */
    Context(const QString &programFolder, const QString &userSettingsFile);
    ~Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    const ProgramFolder &programFolder() const { return m_programFolder; }
    /** The shared INI object; its NomeFile and Sezione carry over between callers. */
    clsFileINI &fileIni() { return m_fileIni; }
    UserSettings &userSettings() { return m_userSettings; }

    Prompt &prompt() { return *m_prompt; }
    ProgramExit &programExit() { return *m_programExit; }
    DialogRunner &dialogRunner() { return *m_dialogRunner; }
    FileDialogs &fileDialogs() { return *m_fileDialogs; }
    Help &help() { return *m_help; }
    UrlOpener &urlOpener() { return *m_urlOpener; }
    LogViewer &logViewer() { return *m_logViewer; }
    const Clock &clock() const { return *m_clock; }
    const CommandLine &commandLine() const { return *m_commandLine; }
    Beeper &beeper() { return *m_beeper; }
    const NetworkStatus &networkStatus() const { return *m_networkStatus; }
    /** The data environment DE: the connection CorsiDB and the commands and recordsets. */
    DataEnvironment &DE() { return *m_de; }

    void setPrompt(std::unique_ptr<Prompt> service) { m_prompt = std::move(service); }
    void setProgramExit(std::unique_ptr<ProgramExit> service) { m_programExit = std::move(service); }
    void setDialogRunner(std::unique_ptr<DialogRunner> service) { m_dialogRunner = std::move(service); }
    void setFileDialogs(std::unique_ptr<FileDialogs> service) { m_fileDialogs = std::move(service); }
    void setHelp(std::unique_ptr<Help> service) { m_help = std::move(service); }
    void setUrlOpener(std::unique_ptr<UrlOpener> service) { m_urlOpener = std::move(service); }
    void setLogViewer(std::unique_ptr<LogViewer> service) { m_logViewer = std::move(service); }
    void setClock(std::unique_ptr<Clock> service) { m_clock = std::move(service); }
    void setCommandLine(std::unique_ptr<CommandLine> service) { m_commandLine = std::move(service); }
    void setBeeper(std::unique_ptr<Beeper> service) { m_beeper = std::move(service); }
    void setNetworkStatus(std::unique_ptr<NetworkStatus> service) { m_networkStatus = std::move(service); }

    bool modalitaDebug() const { return ModalitaDebug(*m_commandLine); }

    InstallationState installazione;
    CurrentApplication domanda;
    /** Verdict of the last e-mail check. */
    bool EMailValida = false;
    /** Mouse-over effects of the main window's captions. */
    bool EffettoSottolinea = false;
    bool EffettoAumenta = false;
    bool EffettoCambiaColore = true;
    /** Fields of the last '#'-record read (ScomponiRecord). */
    CampiRecord Campi;
    /** The start-up's calls into the reference-data installers and the main window. */
    StartupHooks startupHooks;

private:
    ProgramFolder m_programFolder;
    clsFileINI m_fileIni;
    UserSettings m_userSettings;

    std::unique_ptr<Prompt> m_prompt;
    std::unique_ptr<ProgramExit> m_programExit;
    std::unique_ptr<DialogRunner> m_dialogRunner;
    std::unique_ptr<FileDialogs> m_fileDialogs;
    std::unique_ptr<Help> m_help;
    std::unique_ptr<UrlOpener> m_urlOpener;
    std::unique_ptr<LogViewer> m_logViewer;
    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<CommandLine> m_commandLine;
    std::unique_ptr<Beeper> m_beeper;
    std::unique_ptr<NetworkStatus> m_networkStatus;
    std::unique_ptr<DataEnvironment> m_de;
};
