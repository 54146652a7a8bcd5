#include "core/HelpTopics.h"

#include "core/Context.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

void MostraAiuto(Context &context, int topic)
{
    const QString helpFile = context.programFolder().resolve(context.installazione.FileAiuto);
    if (context.installazione.FileAiuto.isEmpty() || !QFileInfo(helpFile).isFile()) {
        context.prompt().inform(u"Aiuto"_s, u"File di Aiuto non presente"_s);
        return;
    }
    context.help().showTopic(helpFile, topic);
}
