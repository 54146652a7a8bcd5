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
#include "ui_Frm_Impostazioni.h"

#include <QCoreApplication>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;

Frm_Impostazioni::Frm_Impostazioni(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::Frm_Impostazioni>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);

    connect(m_ui->cmdSfoglia, &QPushButton::clicked, this, &Frm_Impostazioni::cmdSfoglia_Click);
    connect(m_ui->Cmd_Ok, &ImageButton::clicked, this, &Frm_Impostazioni::Cmd_Ok_Click);
    connect(m_ui->cmdEsci, &ImageButton::clicked, this, &Frm_Impostazioni::reject);
    connect(m_ui->cmdHelp, &ImageButton::clicked, this, &Frm_Impostazioni::cmdHelp_Click);

    // The help file is named by the INI file, relative to the program folder.
    InstallationState &installazione = m_context.installazione();
    clsFileINI &ini = m_context.fileIni();
    installazione.FileAiuto = installazione.CartellaProgramma + ini.Leggi(IniKeys::FileHelp);
    if (!QFileInfo(m_context.programFolder().resolve(installazione.FileAiuto)).isFile())
        m_context.prompt.warn(u"Imposta Aiuto"_s, u"File di Aiuto non presente"_s);
    setHelpContext(m_context, this, ArgomentoAiutoInstallazione);
}

Frm_Impostazioni::~Frm_Impostazioni() = default;

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
    m_ui->txtDatabase->setText(shown.testo);
    m_ui->txtDatabase->setToolTip(shown.tooltip);
}

void Frm_Impostazioni::Cmd_Ok_Click()
{
    InstallationState &installazione = m_context.installazione();
    installazione.TipoInstallazione = m_ui->opt_Locale->isChecked() ? TipoStandAlone : TipoMultiutenza;
    const QString failure = controllaBaseDatiScelta(m_ui->txtDatabase->text(), m_fileScelto);
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
