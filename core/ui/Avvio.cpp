#include "core/ui/Avvio.h"

#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "core/ui/Frm_Impostazioni.h"
#include "core/ui/Immagini.h"
#include "core/ui/MDI_Main.h"
#include "core/ui/SplashScreen.h"
#include "ui_Avvio.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Lets the window repaint while the installers keep the thread busy. */
void ridisegna()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

Avvio::Avvio(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Ui::Avvio>())
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    Immagini::setBackground(this);
}

Avvio::~Avvio() = default;

void Avvio::mostra(const QString &titolo, const QString &attesa)
{
    m_ui->lblTitolo->setText(titolo);
    m_ui->Label4->setText(attesa);
    show();
    raise();
    ridisegna();
}

void Avvio::file(const QString &path)
{
    m_ui->lblFile->setText(path);
    ridisegna();
}

void Avvio::tabella(const QString &name)
{
    m_ui->lblTabe->setText(name);
    ridisegna();
}

void Avvio::record(const QString &count)
{
    m_ui->lblNRec->setText(count);
    ridisegna();
}

AvvioWindows::AvvioWindows(Context &context) : m_context(context), m_avvio(std::make_unique<Avvio>()) {}

AvvioWindows::~AvvioWindows() = default;

void AvvioWindows::mostraSplash()
{
    m_splash = std::make_unique<SplashScreen>();
    m_splash->show();
    ridisegna();
}

void AvvioWindows::chiudiSplash()
{
    m_splash.reset();
}

void AvvioWindows::mostraImpostazioni()
{
    Frm_Impostazioni dialog(m_context);
    m_context.dialogRunner.run(dialog);
}

ProgressoAvvio &AvvioWindows::avvio()
{
    return *m_avvio;
}

void AvvioWindows::mostraFrame()
{
    m_frame = std::make_unique<MDI_Main>(m_context, [this] {
        chiudiSplash();
        ridisegna();
    });
    m_frame->show();
}

void AvvioWindows::distruggiAvvio()
{
    m_avvio.reset();
}
