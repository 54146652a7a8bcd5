#pragma once

#include "core/services/Services.h"
#include "core/services/SystemInfo.h"
#include "core/ui/HelpViewer.h"

#include <functional>

class QCoreApplication;

namespace kx {

/** Message boxes as QMessageBox shows them. */
class MessageBoxPrompt final : public Prompt
{
public:
    Answer ask(Icon icon, Buttons buttons, const QString &title, const QString &text) override;
    void showWithField(Icon icon, const QString &title, const QString &text, const QString &field) override;
};

/** Runs the given clean-up (closing the database) and ends the process. */
class ProcessExit final : public ProgramExit
{
public:
    explicit ProcessExit(std::function<void()> beforeExit = {}) : m_beforeExit(std::move(beforeExit)) {}
    [[noreturn]] void exit(int code) override;

private:
    std::function<void()> m_beforeExit;
};

class ExecDialogRunner final : public DialogRunner
{
public:
    int run(QDialog &dialog) override;
};

class QtFileDialogs final : public FileDialogs
{
public:
    QString openFileName(const QString &title, const QString &startPath, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &startPath, const QString &filter) override;
};

/**
 * Opens through xdg-open, silent (it would print the address, user details included, on the
 * console); its exit status says whether a browser took the page.
 */
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool open(const QUrl &url) override;
};

/** A modal, read-only window on a Windows-1252 text file. */
class TextFileViewer final : public LogViewer
{
public:
    void show(const QString &path) override;
};

class ApplicationBeeper final : public Beeper
{
public:
    void beep() override;
};

/** Loads Qt's Italian translations, so that the dialogs and menus of Qt itself speak Italian. */
void installQtTranslations(QCoreApplication &application);

/**
 * Italian whatever the system's locale: the program's default locale (dates, numbers and file types
 * of Qt's own windows) and Qt's translations.
 */
void usaItaliano(QCoreApplication &application);

/**
 * The services as the running program has them, kept by value; tests use the forms in tests/support
 * instead. `beforeExit` runs when the program ends (it closes the database).
 */
struct SystemServices
{
    SystemServices(QStringList arguments, std::function<void()> beforeExit)
        : programExit(std::move(beforeExit)), commandLine(std::move(arguments))
    {
    }

    MessageBoxPrompt prompt;
    ProcessExit programExit;
    ExecDialogRunner dialogRunner;
    QtFileDialogs fileDialogs;
    HelpViewer help;
    DesktopUrlOpener urlOpener;
    TextFileViewer logViewer;
    SystemClock clock;
    ProcessCommandLine commandLine;
    ApplicationBeeper beeper;
    SystemNetworkStatus networkStatus;
    LinuxSystemInfo systemInfo;

    Services services()
    {
        return {prompt,    programExit, dialogRunner, fileDialogs, help,          urlOpener,
                logViewer, clock,       commandLine,  beeper,      networkStatus, systemInfo};
    }
};

} // namespace kx
