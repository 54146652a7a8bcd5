#include "mainwindow/ui/RitornoInPrimoPiano.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

/** A window or a dialog, not a popup or a tooltip. */
bool finestra(const QWidget *widget)
{
    return widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog;
}

/** Another window of the program on screen, beside the main window and the frame behind it. */
bool altraFinestraAperta(const QWidget *main)
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [main](const QWidget *window) {
        return window != main && window->isVisible() && window->objectName() != u"MDI_Main" &&
               finestra(window);
    });
}

} // namespace

RitornoInPrimoPiano::RitornoInPrimoPiano(QWidget *main) : m_main(main)
{
    QCoreApplication::instance()->installEventFilter(this);
}

RitornoInPrimoPiano::~RitornoInPrimoPiano()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool RitornoInPrimoPiano::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && finestra(widget) && !m_inAttesa) {
            // Once the hiding is over, so that a box closing inside a window finds that window still open.
            m_inAttesa = true;
            QTimer::singleShot(0, this, &RitornoInPrimoPiano::riportaDavanti);
        }
    }
    return false;
}

void RitornoInPrimoPiano::riportaDavanti()
{
    m_inAttesa = false;
    if (!m_main->isVisible() || !m_main->isEnabled() || QApplication::activeModalWidget() ||
        altraFinestraAperta(m_main))
        return;
    m_main->raise();
    m_main->activateWindow();
}
