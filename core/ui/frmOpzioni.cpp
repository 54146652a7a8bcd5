#include "core/ui/frmOpzioni.h"

#include "core/config/IniKeys.h"
#include "core/config/PreferenceRules.h"
#include "core/config/UserSettings.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "ui_frmOpzioni.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;
using namespace PreferenceRules;

namespace {

Qt::CheckState checkStateOf(Casella value)
{
    switch (value) {
    case Casella::Spuntata:
        return Qt::Checked;
    case Casella::Grigia:
        return Qt::PartiallyChecked;
    case Casella::Vuota:
        break;
    }
    return Qt::Unchecked;
}

/** A check box's value as the settings keep it. */
QString storedValueOf(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Checked:
        return u"1"_s;
    case Qt::PartiallyChecked:
        return u"2"_s;
    case Qt::Unchecked:
        break;
    }
    return u"0"_s;
}

} // namespace

frmOpzioni::frmOpzioni(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmOpzioni>()),
      m_ini(context.programFolder())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, 18700);
    Immagini::setBackground(this);
    m_ui->optServTUZ->setText(ServerPostaConsigliato + u" (consigliato)"_s);
    m_ui->optServTUZINT->setText(ServerPostaSecondario);

    carica();

    // An option counts as changed when another one is chosen: clicking the one already selected
    // changes nothing, and must not ask for a restart.
    connect(m_ui->optMultiutenza, &QRadioButton::toggled, this, &frmOpzioni::installazione_Change);
    connect(m_ui->txtDatabase, &QLineEdit::textChanged, this, &frmOpzioni::installazione_Change);
    connect(m_ui->txtEMail, &QLineEdit::textChanged, this, &frmOpzioni::preferenze_Change);
    connect(m_ui->txtMioServ, &QLineEdit::textChanged, this, &frmOpzioni::preferenze_Change);
    for (QCheckBox *box : {m_ui->ckSottolinea, m_ui->ckAumenta, m_ui->ckCambia})
        connect(box, &QCheckBox::clicked, this, &frmOpzioni::preferenze_Change);
    for (QRadioButton *option : {m_ui->optServTUZ, m_ui->optServTUZINT, m_ui->optMioServ})
        connect(option, &QRadioButton::toggled, this, &frmOpzioni::serverPosta_Change);
    connect(m_ui->cmdSfoglia, &QToolButton::clicked, this, &frmOpzioni::cmdSfoglia_Click);
    connect(m_ui->cmdSalva, &ImageButton::clicked, this, &frmOpzioni::SalvaOpzioni);
    connect(m_ui->cmdAnnulla, &ImageButton::clicked, this, &frmOpzioni::reject);
}

frmOpzioni::~frmOpzioni() = default;

void frmOpzioni::carica()
{
    UserSettings &settings = m_context.userSettings();
    m_ini.setNomeFile(NomeFileIni);
    (m_ini.Leggi(IniKeys::Tipo) == TipoMultiutenza ? m_ui->optMultiutenza : m_ui->optLocale)
        ->setChecked(true);
    m_ui->txtDatabase->setText(m_ini.Leggi(IniKeys::Database));
    m_ui->txtEMail->setText(settings.value(UserKeys::EMail, u"Indirizzo e-mail..."_s));

    const QString serverMail = settings.value(UserKeys::ServerMail, {});
    switch (serverPostaDa(serverMail)) {
    case ServerPosta::Nessuno:
        break;
    case ServerPosta::Consigliato:
        m_ui->optServTUZ->setChecked(true);
        break;
    case ServerPosta::Secondario:
        m_ui->optServTUZINT->setChecked(true);
        break;
    case ServerPosta::Proprio:
        m_ui->optMioServ->setChecked(true);
        m_ui->txtMioServ->setText(serverMail);
        break;
    }
    m_ui->txtMioServ->setVisible(m_ui->optMioServ->isChecked());

    m_ui->lblUltimoAgg->setText(u"Data ultimo aggiornamento:  "_s +
                                settings.value(UserKeys::LastUpdate, u"__/__/____"_s));
    m_ui->ckSottolinea->setCheckState(
        checkStateOf(casellaDa(settings.value(UserKeys::OptSottolinea, u"0"_s))));
    m_ui->ckAumenta->setCheckState(checkStateOf(casellaDa(settings.value(UserKeys::OptAumenta, u"0"_s))));
    m_ui->ckCambia->setCheckState(checkStateOf(casellaDa(settings.value(UserKeys::OptCambia, u"1"_s))));
    m_modificheEffettuate = false;
    m_installazioneModificata = false;
}

void frmOpzioni::installazione_Change()
{
    m_modificheEffettuate = true;
    m_installazioneModificata = true;
}

void frmOpzioni::preferenze_Change()
{
    m_modificheEffettuate = true;
}

void frmOpzioni::serverPosta_Change(bool selected)
{
    if (!selected)
        return;
    m_ui->txtMioServ->setVisible(m_ui->optMioServ->isChecked());
    m_modificheEffettuate = true;
}

void frmOpzioni::cmdSfoglia_Click()
{
    const QString chosen = m_context.fileDialogs.openFileName(
        u"Scegli il database"_s, m_context.programFolder().path(), u"Database Microsoft Access (*.mdb)"_s);
    if (!chosen.isEmpty())
        m_ui->txtDatabase->setText(chosen);
}

bool frmOpzioni::controllaTutto()
{
    ControllaEMail(m_context, m_ui->txtEMail);
    if (!m_context.preferenze().EMailValida)
        return false;
    if (m_ui->optMioServ->isChecked() && m_ui->txtMioServ->text().isEmpty()) {
        m_context.prompt.critical(u"Salvataggio dati"_s,
                                  u"Indicare l'indirizzo del proprio server di posta."_s);
        m_ui->txtMioServ->setFocus();
        return false;
    }
    if (m_installazioneModificata) {
        const QString database = m_ui->txtDatabase->text();
        QString failure = controllaPercorsoIni(database);
        if (failure.isEmpty() && !QFileInfo(m_context.programFolder().resolve(database)).isFile())
            failure = u"File base dati non presente."_s + database + u"\r\n"_s +
                      u"Indicare il percorso di una base dati esistente."_s;
        if (!failure.isEmpty()) {
            m_context.prompt.critical(u"Salvataggio dati"_s, failure);
            m_ui->txtDatabase->setFocus();
            return false;
        }
    }
    return true;
}

bool frmOpzioni::SalvaOpzioni()
{
    if (!controllaTutto())
        return false;

    UserSettings &settings = m_context.userSettings();
    if (m_installazioneModificata) {
        m_ini.Scrivi(IniKeys::Tipo, m_ui->optMultiutenza->isChecked() ? TipoMultiutenza : TipoStandAlone);
        m_ini.Scrivi(IniKeys::Database, m_ui->txtDatabase->text());
    }
    settings.setValue(UserKeys::EMail, m_ui->txtEMail->text());
    if (m_ui->optServTUZ->isChecked())
        settings.setValue(UserKeys::ServerMail, ServerPostaConsigliato);
    else if (m_ui->optServTUZINT->isChecked())
        settings.setValue(UserKeys::ServerMail, ServerPostaSecondario);
    else if (m_ui->optMioServ->isChecked())
        settings.setValue(UserKeys::ServerMail, m_ui->txtMioServ->text());

    if (m_installazioneModificata) {
        m_context.prompt.inform(u"Salvataggio dati"_s,
                                u"Sono state modificate delle impostazioni di installazione."
                                u"\r\nE' necessario riavviare l'applicativo."_s);
        m_context.programExit.exit();
    }

    settings.setValue(UserKeys::OptSottolinea, storedValueOf(m_ui->ckSottolinea));
    settings.setValue(UserKeys::OptAumenta, storedValueOf(m_ui->ckAumenta));
    settings.setValue(UserKeys::OptCambia, storedValueOf(m_ui->ckCambia));
    m_context.preferenze().EffettoSottolinea = m_ui->ckSottolinea->checkState() != Qt::Unchecked;
    m_context.preferenze().EffettoAumenta = m_ui->ckAumenta->checkState() != Qt::Unchecked;
    m_context.preferenze().EffettoCambiaColore = m_ui->ckCambia->checkState() != Qt::Unchecked;

    m_modificheEffettuate = false;
    m_installazioneModificata = false;
    accept();
    return true;
}

void frmOpzioni::reject()
{
    if (m_modificheEffettuate) {
        const auto answer = m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo,
                                                 u"Salvataggio"_s, u"Salvare le modifiche effettuate?"_s);
        if (answer == Prompt::Answer::Yes) {
            SalvaOpzioni();
            return;
        }
    }
    QDialog::reject();
}
