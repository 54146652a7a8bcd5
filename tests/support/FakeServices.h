#pragma once

#include "core/services/Services.h"
#include "core/services/SystemInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <stdexcept>

/** Thrown by the test forms when the code under test does what the test did not expect. */
class UnexpectedCall : public std::runtime_error
{
public:
    explicit UnexpectedCall(const QString &what) : std::runtime_error(what.toStdString()) {}
};

/**
 * Thrown by TestProgramExit in place of ending the process. It is no std::exception, so that the
 * program's own last-resort handlers, which catch those, let it through as the real exit would.
 */
class ProgramExited
{
public:
    explicit ProgramExited(int code) : m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

/** One box the test expects: its text, the answer to give, and what the box looked like. */
struct ExpectedBox
{
    QString text;
    kx::Prompt::Answer answer = kx::Prompt::Answer::Ok;
    /** Runs while the box is up, to look at the windows as the user sees them then. */
    std::function<void()> whileShown;
};

struct ShownBox
{
    kx::Prompt::Icon icon;
    kx::Prompt::Buttons buttons;
    QString title;
    QString text;
};

/** Answers boxes from a script; a box that was not scripted, or that says something else, throws. */
class ScriptedPrompt final : public kx::Prompt
{
public:
    void expect(const QString &text, Answer answer = Answer::Ok, std::function<void()> whileShown = {})
    {
        m_script.push_back({text, answer, std::move(whileShown)});
    }
    Answer ask(Icon icon, Buttons buttons, const QString &title, const QString &text) override;

    /** Every box shown so far, in order. */
    const QList<ShownBox> &shown() const { return m_shown; }
    /** True when every scripted box has been shown. */
    bool allShown() const { return m_script.empty(); }

private:
    std::deque<ExpectedBox> m_script;
    QList<ShownBox> m_shown;
};

class TestProgramExit final : public kx::ProgramExit
{
public:
    [[noreturn]] void exit(int code) override;
    bool exited() const { return m_exited; }

private:
    bool m_exited = false;
};

/**
 * Lets the test drive each modal window the code opens: a handler per window's objectName acts on
 * the shown window and returns; the window's result is returned to the code.
 */
class ScriptedDialogRunner final : public kx::DialogRunner
{
public:
    using Driver = std::function<void(QDialog &)>;
    void expect(const QString &objectName, Driver driver)
    {
        m_script.push_back({objectName, std::move(driver)});
    }
    int run(QDialog &dialog) override;
    bool allRun() const { return m_script.empty(); }

private:
    std::deque<std::pair<QString, Driver>> m_script;
};

/**
 * Answers every file chooser with the preset path (the queued ones first, one per chooser), and
 * remembers how the last one was asked.
 */
class PresetFileDialogs final : public kx::FileDialogs
{
public:
    QString chosenPath;
    QStringList queuedPaths;
    QString lastTitle;
    QString lastStartPath;
    QString lastFilter;

    QString openFileName(const QString &title, const QString &startPath, const QString &filter) override
    {
        return remember(title, startPath, filter);
    }
    QString saveFileName(const QString &title, const QString &startPath, const QString &filter) override
    {
        return remember(title, startPath, filter);
    }

private:
    QString remember(const QString &title, const QString &startPath, const QString &filter)
    {
        lastTitle = title;
        lastStartPath = startPath;
        lastFilter = filter;
        return queuedPaths.isEmpty() ? chosenPath : queuedPaths.takeFirst();
    }
};

class RecordingHelp final : public kx::Help
{
public:
    QList<int> topics;
    QString lastFile;
    void showTopic(const QString &helpFile, int topic) override
    {
        lastFile = helpFile;
        topics.append(topic);
    }
};

class RecordingUrlOpener final : public kx::UrlOpener
{
public:
    QList<QUrl> urls;
    /** False stands for a machine without a browser. */
    bool opens = true;
    bool open(const QUrl &url) override
    {
        urls.append(url);
        return opens;
    }
};

class RecordingLogViewer final : public kx::LogViewer
{
public:
    QStringList paths;
    void show(const QString &path) override { paths.append(path); }
};

class FixedClock final : public kx::Clock
{
public:
    mutable QDateTime time = QDateTime(QDate(2021, 3, 15), QTime(10, 30));
    /** Seconds that pass after each reading: time that runs while the code works. */
    qint64 secondsPerReading = 0;
    QDateTime now() const override
    {
        const QDateTime reading = time;
        time = time.addSecs(secondsPerReading);
        return reading;
    }
};

class FixedCommandLine final : public kx::CommandLine
{
public:
    QStringList args;
    QStringList arguments() const override { return args; }
};

class CountingBeeper final : public kx::Beeper
{
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

class FixedNetworkStatus final : public kx::NetworkStatus
{
public:
    int flags = 0;
    int connectionFlags() const override { return flags; }
};

/** A computer described by the test; every detail can be left empty, as an unreadable one is. */
class FixedSystemInfo final : public kx::SystemInfo
{
public:
    QString distributionName = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    QString kernel = QStringLiteral("6.1.0-18-amd64");
    QString browser = QStringLiteral("firefox-esr.desktop");
    QByteArray memInfo = "MemTotal:        2097152 kB\nMemFree:          524288 kB\n"
                         "MemAvailable:    1048576 kB\nSwapTotal:       1048576 kB\n"
                         "SwapFree:         524288 kB\n";

    QString distribution() const override { return distributionName; }
    QString kernelRelease() const override { return kernel; }
    QString defaultBrowser() const override { return browser; }
    QByteArray memoryInfo() const override { return memInfo; }
};
