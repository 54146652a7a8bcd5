#include "core/Context.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/startup/VersioneProgramma.h"
#include "core/ui/HelpViewer.h"
#include "core/ui/SystemServices.h"
#include "core/windows/Avvio.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TitoloProgramma);
    QApplication::setApplicationVersion(versioneProgramma());

    Context context(QApplication::applicationDirPath(), UserSettings::defaultFilePath());
    context.setPrompt(std::make_unique<MessageBoxPrompt>());
    context.setProgramExit(std::make_unique<ProcessExit>([&context] {
        Connection &corsiDB = context.DE().CorsiDB();
        if (corsiDB.isOpen())
            corsiDB.close();
    }));
    context.setDialogRunner(std::make_unique<ExecDialogRunner>());
    context.setFileDialogs(std::make_unique<QtFileDialogs>());
    context.setHelp(std::make_unique<HelpViewer>());
    context.setUrlOpener(std::make_unique<DesktopUrlOpener>());
    context.setLogViewer(std::make_unique<TextFileViewer>());
    context.setBeeper(std::make_unique<ApplicationBeeper>());
    context.setCommandLine(std::make_unique<ProcessCommandLine>(QApplication::arguments().mid(1)));

    // The windows of the start-up come and go before the frame is shown; none of them ends the run.
    QApplication::setQuitOnLastWindowClosed(false);
    AvvioWindows windows(context);
    AvvioProgramma(context, windows);
    QApplication::setQuitOnLastWindowClosed(true);
    return app.exec();
}
