#include "core/ui/HelpContext.h"

#include "core/state/HelpTopics.h"

#include <QShortcut>
#include <QWidget>

namespace kx {

void setHelpContext(Context &context, QWidget *window, int topic)
{
    auto *shortcut = new QShortcut(QKeySequence::HelpContents, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window,
                     [&context, topic] { MostraAiuto(context, topic); });
}

} // namespace kx
