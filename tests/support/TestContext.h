#pragma once

#include "FakeServices.h"
#include "core/services/RoutineError.h"
#include "core/state/Context.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

/** The test form of every service, kept by value. */
struct TestServices
{
    ScriptedPrompt prompt;
    TestProgramExit programExit;
    ScriptedDialogRunner dialogRunner;
    PresetFileDialogs fileDialogs;
    RecordingHelp help;
    RecordingUrlOpener urlOpener;
    RecordingLogViewer logViewer;
    FixedClock clock;
    FixedCommandLine commandLine;
    CountingBeeper beeper;
    FixedNetworkStatus networkStatus;
    FixedSystemInfo systemInfo;

    kx::Services services()
    {
        return {prompt,    programExit, dialogRunner, fileDialogs, help,          urlOpener,
                logViewer, clock,       commandLine,  beeper,      networkStatus, systemInfo};
    }
};

/**
 * A program folder of its own in a temporary directory, removed afterwards, with a context whose
 * services are the test forms and whose per-user settings live in that folder too. The test forms
 * are reached as members: `test.prompt.expect(...)`.
 */
class TestContext : public TestServices
{
public:
    TestContext();
    ~TestContext();

    kx::Context &context() { return *m_context; }
    QString folder() const { return m_dir.path(); }
    /** The absolute path of a file in the program folder. */
    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<kx::Context> m_context;
};

/** The RoutineError a step throws; a step that throws none gives the number 0. */
template<typename Step> kx::RoutineError errorOf(Step &&step)
{
    try {
        step();
    } catch (const kx::RoutineError &error) {
        return error;
    }
    return kx::RoutineError(0, QStringLiteral("nessun errore"));
}
