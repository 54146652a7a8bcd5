#include "transmission/ui/Invia.h"

#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "transmission/ui/SupportoInvio.h"
#include "transmission/ui/Trasmis.h"
#include "ui_Invia.h"

#include <QGuiApplication>

using namespace kx;

namespace {
constexpr int ArgomentoAiuto = 9000;
} // namespace

Invia::Invia(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::Invia>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    mostraDomandaSelezionata(m_ui->frmOperPres, m_context.domanda());

    connect(m_ui->cmdConf, &QAbstractButton::clicked, this, &Invia::cmdConf_Click);
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, ArgomentoAiuto); });
}

Invia::~Invia() = default;

void Invia::apri(Context &context)
{
    Invia finestra(context);
    context.dialogRunner.run(finestra);
}

void Invia::cmdConf_Click()
{
    // The hourglass shows until the send window has loaded.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    {
        Trasmis trasmis(m_context, this);
        puntatoreNormale();
        m_context.dialogRunner.run(trasmis);
    }
    accept();
}
