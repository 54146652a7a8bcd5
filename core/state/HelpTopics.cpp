#include "core/state/HelpTopics.h"

#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;

void MostraAiuto(Context &context, int topic)
{
    const QString helpFile = context.programFolder().resolve(context.installazione().FileAiuto);
    if (context.installazione().FileAiuto.isEmpty() || !QFileInfo(helpFile).isFile()) {
        context.prompt.inform(u"Aiuto"_s, u"File di Aiuto non presente"_s);
        return;
    }
    context.help.showTopic(helpFile, topic);
}
