#include "core/ui/Frm_Impostazioni.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/frmServerClient.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

Frm_Impostazioni::Frm_Impostazioni(Context &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(u"Frm_Impostazioni"_s);
    setWindowTitle(u"Impostazioni modalità di funzionamento"_s);
    Immagini::setBackground(this);

    auto *label1 =
        new QLabel(u"Scegliere la modalità di funzionamento: Indicare se la procedura sarà utilitzzata in "
                   u"ambiente locale o in rete (multiutenza). Le impostazioni potranno anche essere "
                   u"cambiate in un secondo momento."_s,
                   this);
    label1->setObjectName(u"Label1"_s);
    label1->setWordWrap(true);

    auto *modalita = new QGroupBox(u"Modalità di funzionamento"_s, this);
    m_optLocale = new QRadioButton(u"Locale"_s, modalita);
    m_optLocale->setObjectName(u"opt_Locale"_s);
    m_optLocale->setChecked(true);
    m_optInRete = new QRadioButton(u"In rete"_s, modalita);
    m_optInRete->setObjectName(u"opt_InRete"_s);
    auto *modalitaLayout = new QHBoxLayout(modalita);
    modalitaLayout->addWidget(m_optLocale);
    modalitaLayout->addSpacing(40);
    modalitaLayout->addWidget(m_optInRete);
    modalitaLayout->addStretch();

    auto *baseDati = new QGroupBox(u"Base dati"_s, this);
    auto *label2 =
        new QLabel(u"Indicare il percorso completo della base dati (file .mdb), scegliendola con il "
                   u"pulsante \"Sfoglia...\":"_s,
                   baseDati);
    label2->setObjectName(u"Label2"_s);
    label2->setWordWrap(true);
    m_txtDatabase = new QLineEdit(baseDati);
    m_txtDatabase->setObjectName(u"txtDatabase"_s);
    m_txtDatabase->setReadOnly(true);
    m_txtDatabase->setMinimumWidth(380);
    auto *cmdSfoglia = new QPushButton(u"Sfoglia..."_s, baseDati);
    cmdSfoglia->setObjectName(u"cmdSfoglia"_s);
    cmdSfoglia->setAutoDefault(false);
    auto *percorso = new QHBoxLayout;
    percorso->addWidget(m_txtDatabase, 1);
    percorso->addWidget(cmdSfoglia);
    auto *baseDatiLayout = new QVBoxLayout(baseDati);
    baseDatiLayout->addWidget(label2);
    baseDatiLayout->addLayout(percorso);

    auto *cmdHelp = new ImageButton(u"imgHelp"_s, u"Help"_s, this);
    cmdHelp->setObjectName(u"cmdHelp"_s);
    auto *cmdOk = new ImageButton(u"imgSalva"_s, u"Salva"_s, this);
    cmdOk->setObjectName(u"Cmd_Ok"_s);
    auto *cmdEsci = new ImageButton(u"imgExit"_s, u"Esci dall'installazione"_s, this);
    cmdEsci->setObjectName(u"cmdEsci"_s);
    auto *pulsanti = new QHBoxLayout;
    pulsanti->addWidget(cmdHelp);
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOk);
    pulsanti->addWidget(cmdEsci);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addWidget(label1);
    layout->addWidget(modalita);
    layout->addWidget(baseDati);
    layout->addStretch();
    layout->addLayout(pulsanti);
    setFixedWidth(600);

    connect(cmdSfoglia, &QPushButton::clicked, this, &Frm_Impostazioni::cmdSfoglia_Click);
    connect(cmdOk, &ImageButton::clicked, this, &Frm_Impostazioni::Cmd_Ok_Click);
    connect(cmdEsci, &ImageButton::clicked, this, &Frm_Impostazioni::reject);
    connect(cmdHelp, &ImageButton::clicked, this, &Frm_Impostazioni::cmdHelp_Click);

    // The help file is named by the INI file, relative to the program folder.
    InstallationState &installazione = m_context.installazione();
    clsFileINI &ini = m_context.fileIni();
    installazione.FileAiuto = installazione.CartellaProgramma + ini.Leggi(IniKeys::FileHelp);
    if (!QFileInfo(m_context.programFolder().resolve(installazione.FileAiuto)).isFile())
        m_context.prompt.warn(u"Imposta Aiuto"_s, u"File di Aiuto non presente"_s);
    setHelpContext(m_context, this, ArgomentoAiutoInstallazione);
}

void Frm_Impostazioni::setVisible(bool visible)
{
    QDialog::setVisible(visible);
    if (visible && !m_attivo) {
        m_attivo = true;
        // The role is asked over the dialog once it is on screen.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        Form_Activate();
    }
}

void Frm_Impostazioni::Form_Activate()
{
    clsFileINI &ini = m_context.fileIni();
    m_context.installazione().VersioneInstallazione = ini.Leggi(IniKeys::Versione);
    if (m_context.installazione().VersioneInstallazione.isEmpty()) {
        frmServerClient versione(m_context, this);
        m_context.dialogRunner.run(versione);
    }
}

void Frm_Impostazioni::cmdSfoglia_Click()
{
    const QString chosen =
        m_context.fileDialogs.openFileName(u"Scegliere il database"_s, m_context.programFolder().path(),
                                           u"Microsoft Access Database (*.mdb *.MDB)"_s);
    if (chosen.isEmpty())
        return;
    m_fileScelto = chosen;
    const PercorsoMostrato shown = percorsoMostrato(chosen);
    m_txtDatabase->setText(shown.testo);
    m_txtDatabase->setToolTip(shown.tooltip);
}

void Frm_Impostazioni::Cmd_Ok_Click()
{
    InstallationState &installazione = m_context.installazione();
    installazione.TipoInstallazione = m_optLocale->isChecked() ? TipoStandAlone : TipoMultiutenza;
    const QString failure = controllaBaseDatiScelta(m_txtDatabase->text(), m_fileScelto);
    if (!failure.isEmpty()) {
        m_context.prompt.critical(u"Controllo dati"_s, failure);
        return;
    }
    installazione.PercorsoDB = m_fileScelto;
    installazione.NomeFileDB = QFileInfo(m_fileScelto).fileName();
    accept();
}

void Frm_Impostazioni::cmdHelp_Click()
{
    MostraAiuto(m_context, ArgomentoAiutoInstallazione);
}

void Frm_Impostazioni::reject()
{
    // The exit button, the window's close button and Esc all ask before ending the installation.
    InterrompiInstallazione(m_context);
}
