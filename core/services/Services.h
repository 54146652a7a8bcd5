#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

class QDialog;

namespace kx {

class SystemInfo;

/** Message boxes: the one way a routine speaks to the user and hears the answer. */
class Prompt
{
public:
    enum class Icon
    {
        None,
        Information,
        Warning,
        Critical,
        Question
    };
    enum class Buttons
    {
        Ok,
        OkCancel,
        YesNo,
        YesNoCancel,
        RetryCancel,
        /** Annulla, Riprova, Continua. */
        CancelRetryContinue
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No,
        Retry
    };

    virtual ~Prompt() = default;
    /** Shows a modal box; an empty title stands for the program's title. */
    virtual Answer ask(Icon icon, Buttons buttons, const QString &title, const QString &text) = 0;

    void inform(const QString &title, const QString &text)
    {
        ask(Icon::Information, Buttons::Ok, title, text);
    }
    void warn(const QString &title, const QString &text) { ask(Icon::Warning, Buttons::Ok, title, text); }
    void critical(const QString &title, const QString &text)
    {
        ask(Icon::Critical, Buttons::Ok, title, text);
    }
    /**
     * A box whose text is followed by `field` whole in a read-only field, to be scrolled through and
     * copied (an address longer than the box is wide). Where boxes have no field, the text ends with it.
     */
    virtual void showWithField(Icon icon, const QString &title, const QString &text, const QString &field)
    {
        ask(icon, Buttons::Ok, title, text + QStringLiteral("\r\n\r\n") + field);
    }
};

/** The end of the program, from wherever a routine decides it. */
class ProgramExit
{
public:
    virtual ~ProgramExit() = default;
    [[noreturn]] virtual void exit(int code = 0) = 0;
};

/** Shows a window modally and returns its QDialog result. */
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    virtual int run(QDialog &dialog) = 0;
};

/** File choosers; an empty result means the user cancelled. */
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QString openFileName(const QString &title, const QString &startPath, const QString &filter) = 0;
    /** Asks nothing about an existing file: the caller knows which file the name will replace. */
    virtual QString saveFileName(const QString &title, const QString &startPath, const QString &filter) = 0;
};

/** Opens a topic of the help file by its context number. */
class Help
{
public:
    virtual ~Help() = default;
    virtual void showTopic(const QString &helpFile, int topic) = 0;
};

/** Opens a web address or a local document in the user's browser. */
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    /** False when no page opened (no browser to open it): the caller says so, see apriPagina. */
    virtual bool open(const QUrl &url) = 0;
};

/** Shows a Windows-1252 text file read-only and returns when the user has closed it. */
class LogViewer
{
public:
    virtual ~LogViewer() = default;
    virtual void show(const QString &path) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

/** The arguments the program was started with, without the program's own name. */
class CommandLine
{
public:
    virtual ~CommandLine() = default;
    virtual QStringList arguments() const = 0;
};

class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

/** How the computer reaches the Internet. */
class NetworkStatus
{
public:
    enum Flag
    {
        Modem = 1,
        Proxy = 4
    };
    virtual ~NetworkStatus() = default;
    /** The flags of the connection in use, an OR of Flag values. */
    virtual int connectionFlags() const = 0;
};

/**
 * On Linux a "modem" connection is a point-to-point interface that is up; a proxy is one set for
 * the system or the session in the usual environment variables.
 */
class SystemNetworkStatus final : public NetworkStatus
{
public:
    int connectionFlags() const override;
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class ProcessCommandLine final : public CommandLine
{
public:
    explicit ProcessCommandLine(QStringList arguments) : m_arguments(std::move(arguments)) {}
    QStringList arguments() const override { return m_arguments; }

private:
    QStringList m_arguments;
};

/**
 * Every outside effect a routine may cause, each through its service. main() gives the system's
 * forms, a test its fakes; the owner keeps them alive as long as the context.
 */
struct Services
{
    Prompt &prompt;
    ProgramExit &programExit;
    DialogRunner &dialogRunner;
    FileDialogs &fileDialogs;
    Help &help;
    UrlOpener &urlOpener;
    LogViewer &logViewer;
    const Clock &clock;
    const CommandLine &commandLine;
    Beeper &beeper;
    const NetworkStatus &networkStatus;
    const SystemInfo &systemInfo;
};

} // namespace kx

/** Debug mode: the arguments, taken as one text, are exactly "DEBUG". Asked at each use, never stored. */
bool ModalitaDebug(const kx::CommandLine &commandLine);

/** The title of a message box that has none of its own. */
inline const QString TitoloProgramma = QStringLiteral("KX58TORVA");
