#include "core/ui/frmServerClient.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "ui_frmServerClient.h"

using namespace Qt::StringLiterals;
using namespace kx;

frmServerClient::frmServerClient(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmServerClient>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiutoInstallazione);

    connect(m_ui->cmdOK, &ImageButton::clicked, this, &frmServerClient::cmdOK_Click);
    connect(m_ui->cmdAnnulla, &ImageButton::clicked, this, &frmServerClient::reject);

    m_context.installazione().VersioneInstallazione.clear();
}

frmServerClient::~frmServerClient() = default;

void frmServerClient::cmdOK_Click()
{
    QString &versione = m_context.installazione().VersioneInstallazione;
    if (m_ui->optServer->isChecked()) {
        versione = VersioneServer;
    } else if (m_ui->optClient->isChecked()) {
        versione = VersioneClient;
        RinominaFileClient(m_context.programFolder());
    } else {
        m_context.prompt.critical(u"Controllo dati"_s,
                                  u"Scegliere la versione dell'applicativo: SERVER o CLIENT"_s);
        return;
    }
    ScriviImpostazione(m_context, IniKeys::Versione, versione);
    accept();
}

void frmServerClient::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QWidget *owner = parentWidget())
        move(owner->window()->frameGeometry().center() - rect().center());
}

void frmServerClient::reject()
{
    // Annulla, Esc and the close button all ask before ending the installation.
    InterrompiInstallazione(m_context);
}
