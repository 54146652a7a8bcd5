#include "core/Context.h"
#include "core/ui/HelpViewer.h"
#include "core/ui/SystemServices.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(TitoloProgramma);

    Context context(QApplication::applicationDirPath(), UserSettings::defaultFilePath());
    context.setPrompt(std::make_unique<MessageBoxPrompt>());
    context.setProgramExit(std::make_unique<ProcessExit>());
    context.setDialogRunner(std::make_unique<ExecDialogRunner>());
    context.setFileDialogs(std::make_unique<QtFileDialogs>());
    context.setHelp(std::make_unique<HelpViewer>());
    context.setUrlOpener(std::make_unique<DesktopUrlOpener>());
    context.setLogViewer(std::make_unique<TextFileViewer>());
    context.setBeeper(std::make_unique<ApplicationBeeper>());
    context.setCommandLine(std::make_unique<ProcessCommandLine>(QApplication::arguments().mid(1)));

    context.prompt().inform(QString(), u"Il programma è in costruzione: l'avvio non è ancora disponibile."_s);
    return 0;
}
