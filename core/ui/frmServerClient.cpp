#include "core/ui/frmServerClient.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

frmServerClient::frmServerClient(Context &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(u"frmServerClient"_s);
    setWindowTitle(QString(28, u' ') + u"Versione dell'applicativo"_s);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiutoInstallazione);

    auto *label1 = new QLabel(u"L'installazione SERVER installa la base dati e ne cura gli aggiornamenti.\n\n"
                              u"Ogni altra postazione, detta CLIENT, si collega alla base dati di un SERVER "
                              u"e lavora sui dati come il "
                              u"SERVER, ma non può aggiornare la base dati.\n\n"
                              u"Per un'installazione locale, su una sola postazione, scegliere SERVER."_s,
                              this);
    label1->setObjectName(u"Label1"_s);
    label1->setWordWrap(true);

    auto *scelta = new QGroupBox(this);
    auto *label2 = new QLabel(u"Scegliere il tipo di installazione: SERVER o CLIENT"_s, scelta);
    label2->setObjectName(u"Label2"_s);
    QFont bold = label2->font();
    bold.setBold(true);
    label2->setFont(bold);
    m_optServer = new QRadioButton(u"SERVER"_s, scelta);
    m_optServer->setObjectName(u"optServer"_s);
    m_optClient = new QRadioButton(u"CLIENT"_s, scelta);
    m_optClient->setObjectName(u"optClient"_s);
    auto *opzioni = new QHBoxLayout;
    opzioni->addSpacing(20);
    opzioni->addWidget(m_optServer);
    opzioni->addSpacing(40);
    opzioni->addWidget(m_optClient);
    opzioni->addStretch();
    auto *sceltaLayout = new QVBoxLayout(scelta);
    sceltaLayout->addWidget(label2);
    sceltaLayout->addLayout(opzioni);

    auto *cmdOK = new ImageButton(u"imgConferma"_s, u"OK"_s, this);
    cmdOK->setObjectName(u"cmdOK"_s);
    auto *cmdAnnulla = new ImageButton(u"imgAnnulla"_s, u"Annulla"_s, this);
    cmdAnnulla->setObjectName(u"cmdAnnulla"_s);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdAnnulla);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(label1);
    layout->addWidget(scelta);
    layout->addStretch();
    layout->addLayout(pulsanti);
    setFixedWidth(520);

    connect(cmdOK, &ImageButton::clicked, this, &frmServerClient::cmdOK_Click);
    connect(cmdAnnulla, &ImageButton::clicked, this, &frmServerClient::reject);

    m_context.installazione().VersioneInstallazione.clear();
}

void frmServerClient::cmdOK_Click()
{
    QString &versione = m_context.installazione().VersioneInstallazione;
    if (m_optServer->isChecked()) {
        versione = VersioneServer;
    } else if (m_optClient->isChecked()) {
        versione = VersioneClient;
        RinominaFileClient(m_context.programFolder());
    } else {
        m_context.prompt.critical(u"Controllo dati"_s,
                                  u"Scegliere la versione dell'applicativo: SERVER o CLIENT"_s);
        return;
    }
    clsFileINI &ini = m_context.fileIni();
    ini.Scrivi(IniKeys::Versione, versione);
    accept();
}

void frmServerClient::reject()
{
    // Annulla, Esc and the close button all ask before ending the installation.
    InterrompiInstallazione(m_context);
}
