#pragma once

#include "FakeServices.h"

#include "core/Context.h"
#include "core/RoutineError.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

/**
 * A program folder of its own in a temporary directory, removed afterwards, with a context whose
 * services are the test forms and whose per-user settings live in that folder too.
 */
class TestContext
{
public:
    TestContext();

    Context &context() { return *m_context; }
    QString folder() const { return m_dir.path(); }
    /** The absolute path of a file in the program folder. */
    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

    ScriptedPrompt &prompt() { return *m_prompt; }
    TestProgramExit &programExit() { return *m_programExit; }
    ScriptedDialogRunner &dialogRunner() { return *m_dialogRunner; }
    PresetFileDialogs &fileDialogs() { return *m_fileDialogs; }
    RecordingHelp &help() { return *m_help; }
    RecordingUrlOpener &urlOpener() { return *m_urlOpener; }
    RecordingLogViewer &logViewer() { return *m_logViewer; }
    FixedClock &clock() { return *m_clock; }
    FixedCommandLine &commandLine() { return *m_commandLine; }
    CountingBeeper &beeper() { return *m_beeper; }
    FixedNetworkStatus &networkStatus() { return *m_networkStatus; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Context> m_context;
    ScriptedPrompt *m_prompt;
    TestProgramExit *m_programExit;
    ScriptedDialogRunner *m_dialogRunner;
    PresetFileDialogs *m_fileDialogs;
    RecordingHelp *m_help;
    RecordingUrlOpener *m_urlOpener;
    RecordingLogViewer *m_logViewer;
    FixedClock *m_clock;
    FixedCommandLine *m_commandLine;
    CountingBeeper *m_beeper;
    FixedNetworkStatus *m_networkStatus;
};

/**
 * Presses a button of a window as a click would, but without going through mouse events: a box the
 * test did not expect, or the end of the program, then reaches the test as an exception.
 */
void press(QWidget *window, const QString &name);

/** The RoutineError a step throws; a step that throws none gives the number 0. */
template<typename Step>
RoutineError errorOf(Step &&step)
{
    try {
        step();
    } catch (const RoutineError &error) {
        return error;
    }
    return RoutineError(0, QStringLiteral("nessun errore"));
}

/** The child of a window with the given objectName; fails the test naming what is missing. */
template<typename T>
T *control(QWidget *window, const QString &name)
{
    T *child = window->findChild<T *>(name);
    if (!child)
        throw UnexpectedCall(QStringLiteral("%1 has no control %2 of the expected kind").arg(window->objectName(), name));
    return child;
}
