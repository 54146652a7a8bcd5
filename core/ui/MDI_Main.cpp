#include "core/ui/MDI_Main.h"

#include "core/services/ErrorBoxes.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/startup/VersioneProgramma.h"
#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "core/ui/Immagini.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QLabel *caption(QWidget *parent, const QString &name, const QString &text, qreal scale, bool bold,
                const QColor &colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

MDI_Main::MDI_Main(Context &context, std::function<void()> chiudiSplash, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_chiudiSplash(std::move(chiudiSplash))
{
    setObjectName(u"MDI_Main"_s);
    setWindowTitle(u"Proposta Corsi ZRV 2021 -  Laboratori AR ( KX58TORVA ) "_s);

    auto *desk = new QWidget(this);
    desk->setObjectName(u"Scrivania"_s);
    Immagini::setBackground(desk, u"imgSfondoMain"_s);
    const QColor blue(0x1f, 0x4e, 0x79);
    auto *layout = new QVBoxLayout(desk);
    layout->addStretch(3);
    layout->addWidget(caption(desk, u"lblBando"_s, u"«Bando Regionale» 2021"_s, 2.2, true, blue));
    layout->addWidget(
        caption(desk, u"lblTitolo"_s, u"Laboratori di Accompagnamento e Recupero"_s, 1.4, false, blue));
    layout->addStretch(4);
    layout->addWidget(caption(desk, u"lblVer"_s, u"KX58TORVA - Ver. "_s + versioneProgramma(), 0.9, false,
                              QColor(0x4a, 0x5a, 0x6a)));
    setCentralWidget(desk);

    resize(1024, 700);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void MDI_Main::Form_Activate()
{
    if (m_chiudiSplash)
        m_chiudiSplash();
    // Runs from the event loop: an error of the main window's loading must not escape into it.
    try {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_context.startupHooks().caricaMain)
            m_context.startupHooks().caricaMain();
        QGuiApplication::restoreOverrideCursor();
        if (m_context.startupHooks().mostraMain)
            m_context.startupHooks().mostraMain();
    } catch (const RoutineError &error) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        terminaPerErrore(m_context, error);
    }
}

void MDI_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The first activation comes once the event loop runs, as with a window shown modeless.
    QTimer::singleShot(0, this, &MDI_Main::Form_Activate);
}

void MDI_Main::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, &MDI_Main::Form_Activate);
}
