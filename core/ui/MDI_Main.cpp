#include "core/ui/MDI_Main.h"

#include "core/services/ErrorBoxes.h"
#include "core/services/VersioneProgramma.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "core/ui/Immagini.h"
#include "ui_MDI_Main.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

MDI_Main::MDI_Main(Context &context, std::function<void()> chiudiSplash, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_ui(std::make_unique<Ui::MDI_Main>()),
      m_chiudiSplash(std::move(chiudiSplash))
{
    m_ui->setupUi(this);
    Immagini::setBackground(m_ui->Scrivania, u"imgSfondoMain"_s);
    m_ui->lblVer->setText(u"KX58TORVA - Ver. "_s + versioneProgramma());

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

MDI_Main::~MDI_Main() = default;

void MDI_Main::attivaPiuTardi()
{
    if (m_attivazioneInAttesa)
        return;
    m_attivazioneInAttesa = true;
    QTimer::singleShot(0, this, &MDI_Main::Form_Activate);
}

void MDI_Main::Form_Activate()
{
    m_attivazioneInAttesa = false;
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
    } catch (const std::exception &error) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
        terminaPerErrore(m_context, comeErroreRoutine(error));
    }
}

void MDI_Main::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The first activation comes once the event loop runs, as with a window shown modeless; the
    // activation that the platform gives the new window is that same one.
    if (!m_mostrata) {
        m_mostrata = true;
        m_attivazioneDellaComparsa = true;
        attivaPiuTardi();
    }
}

void MDI_Main::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    if (m_attivazioneDellaComparsa)
        m_attivazioneDellaComparsa = false;
    else
        attivaPiuTardi();
}

void MDI_Main::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_context.startupHooks().chiudiMain)
        m_context.startupHooks().chiudiMain();
}
