#pragma once
// The services of a benchmark run without a user, shared by the benchmarks that load files.
#include "core/services/Services.h"
#include "core/services/SystemInfo.h"

#include <QString>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

namespace kx::bench {

/** The services of a run without a user: any box is a failure of the benchmark. */
class NoPrompt final : public Prompt
{
public:
    Answer ask(Icon, Buttons, const QString &title, const QString &text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        std::abort();
    }
};
class NoExit final : public ProgramExit
{
public:
    [[noreturn]] void exit(int) override { std::abort(); }
};
class NoDialogs final : public DialogRunner,
                        public FileDialogs,
                        public Help,
                        public UrlOpener,
                        public LogViewer,
                        public Beeper
{
public:
    int run(QDialog &) override { return 0; }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void showTopic(const QString &, int) override {}
    bool open(const QUrl &) override { return true; }
    void show(const QString &) override {}
    void beep() override {}
};

struct Servizi
{
    NoPrompt prompt;
    NoExit exit;
    NoDialogs dialogs;
    SystemClock clock;
    ProcessCommandLine commandLine{{}};
    SystemNetworkStatus network;
    LinuxSystemInfo systemInfo;
    Services services{prompt,  exit,  dialogs,     dialogs, dialogs, dialogs,
                      dialogs, clock, commandLine, dialogs, network, systemInfo};
};

} // namespace kx::bench
