#include "core/ui/frmOpzioni.h"

#include "core/config/IniKeys.h"
#include "core/config/PreferenceRules.h"
#include "core/config/UserSettings.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;
using namespace PreferenceRules;

namespace {

template<typename T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

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
    : QDialog(parent), m_context(context), m_ini(context.programFolder()),
      m_optLocale(named(new QRadioButton(u"Locale"_s), u"optLocale"_s)),
      m_optMultiutenza(named(new QRadioButton(u"Multiutenza"_s), u"optMultiutenza"_s)),
      m_txtDatabase(named(new QLineEdit, u"txtDatabase"_s)), m_txtEMail(named(new QLineEdit, u"txtEMail"_s)),
      m_optServTUZ(named(new QRadioButton(ServerPostaConsigliato + u" (consigliato)"_s), u"optServTUZ"_s)),
      m_optServTUZINT(named(new QRadioButton(ServerPostaSecondario), u"optServTUZINT"_s)),
      m_optMioServ(named(new QRadioButton(u"Il proprio server"_s), u"optMioServ"_s)),
      m_txtMioServ(named(new QLineEdit, u"txtMioServ"_s)),
      m_ckSottolinea(named(new QCheckBox(u"Sottolinea"_s), u"ckSottolinea"_s)),
      m_ckAumenta(named(new QCheckBox(u"Aumenta dimensione"_s), u"ckAumenta"_s)),
      m_ckCambia(named(new QCheckBox(u"Cambia colore"_s), u"ckCambia"_s))
{
    setObjectName(u"frmOpzioni"_s);
    setWindowTitle(u"Opzioni"_s);
    setHelpContext(context, this, 18700);
    Immagini::setBackground(this);

    auto *fInstallazione = named(new QGroupBox(u"Installazione"_s), u"fInstallazione"_s);
    auto *tipo = new QButtonGroup(fInstallazione);
    tipo->addButton(m_optLocale);
    tipo->addButton(m_optMultiutenza);
    auto *cmdSfoglia = named(new QToolButton, u"cmdSfoglia"_s);
    cmdSfoglia->setText(u"..."_s);
    cmdSfoglia->setToolTip(u"Scegli il database"_s);
    m_txtDatabase->setMinimumWidth(360);
    auto *installazione = new QGridLayout(fInstallazione);
    installazione->addWidget(m_optLocale, 0, 0);
    installazione->addWidget(m_optMultiutenza, 0, 1);
    installazione->addWidget(named(new QLabel(u"Percorso database"_s), u"Label1"_s), 1, 0, 1, 2);
    installazione->addWidget(m_txtDatabase, 2, 0, 1, 2);
    installazione->addWidget(cmdSfoglia, 2, 2);

    auto *fRete = named(new QGroupBox(u"Rete"_s), u"fRete"_s);
    auto *server = new QButtonGroup(fRete);
    server->addButton(m_optServTUZ);
    server->addButton(m_optServTUZINT);
    server->addButton(m_optMioServ);
    auto *label3 = named(new QLabel(u"Server di posta elettronica per le comunicazioni con l'assistenza"_s),
                         u"Label3"_s);
    label3->setWordWrap(true);
    auto *rete = new QGridLayout(fRete);
    rete->addWidget(named(new QLabel(u"E-mail"_s), u"Label2"_s), 0, 0);
    rete->addWidget(m_txtEMail, 0, 1, 1, 2);
    rete->addWidget(label3, 1, 0, 1, 3);
    rete->addWidget(m_optServTUZ, 2, 0, 1, 3);
    rete->addWidget(m_optServTUZINT, 3, 0, 1, 3);
    rete->addWidget(m_optMioServ, 4, 0, 1, 2);
    rete->addWidget(m_txtMioServ, 4, 2);

    auto *frame1 = named(new QGroupBox(u"Visualizzazione testo al passaggio del mouse"_s), u"Frame1"_s);
    auto *lblUltimoAgg = named(new QLabel, u"lblUltimoAgg"_s);
    auto *effetti = new QVBoxLayout(frame1);
    effetti->addWidget(m_ckSottolinea);
    effetti->addWidget(m_ckAumenta);
    effetti->addWidget(m_ckCambia);
    effetti->addWidget(lblUltimoAgg);

    auto *cmdSalva = new ImageButton(u"imgSalva"_s, u"Salva"_s);
    cmdSalva->setObjectName(u"cmdSalva"_s);
    auto *cmdAnnulla = new ImageButton(u"imgAnnulla"_s, u"Annulla"_s);
    cmdAnnulla->setObjectName(u"cmdAnnulla"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSalva);
    buttons->addWidget(cmdAnnulla);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->addWidget(fInstallazione);
    layout->addWidget(fRete);
    layout->addWidget(frame1);
    layout->addLayout(buttons);

    carica();

    // An option counts as changed when another one is chosen: clicking the one already selected
    // changes nothing, and must not ask for a restart.
    connect(m_optMultiutenza, &QRadioButton::toggled, this, &frmOpzioni::modificaInstallazione);
    connect(m_txtDatabase, &QLineEdit::textChanged, this, &frmOpzioni::modificaInstallazione);
    const auto modifica = [this] { m_modificheEffettuate = true; };
    connect(m_txtEMail, &QLineEdit::textChanged, this, modifica);
    connect(m_txtMioServ, &QLineEdit::textChanged, this, modifica);
    for (QCheckBox *box : {m_ckSottolinea, m_ckAumenta, m_ckCambia})
        connect(box, &QCheckBox::clicked, this, modifica);
    for (QRadioButton *option : {m_optServTUZ, m_optServTUZINT, m_optMioServ}) {
        connect(option, &QRadioButton::toggled, this, [this, option, modifica](bool selected) {
            if (!selected)
                return;
            m_txtMioServ->setVisible(option == m_optMioServ);
            modifica();
        });
    }
    connect(cmdSfoglia, &QToolButton::clicked, this, &frmOpzioni::sfoglia);
    connect(cmdSalva, &ImageButton::clicked, this, &frmOpzioni::SalvaOpzioni);
    connect(cmdAnnulla, &ImageButton::clicked, this, &frmOpzioni::reject);
}

void frmOpzioni::carica()
{
    UserSettings &settings = m_context.userSettings();
    m_ini.setNomeFile(NomeFileIni);
    (m_ini.Leggi(IniKeys::Tipo) == TipoMultiutenza ? m_optMultiutenza : m_optLocale)->setChecked(true);
    m_txtDatabase->setText(m_ini.Leggi(IniKeys::Database));
    m_txtEMail->setText(settings.value(UserKeys::EMail, u"Indirizzo e-mail..."_s));

    const QString serverMail = settings.value(UserKeys::ServerMail, {});
    switch (serverPostaDa(serverMail)) {
    case ServerPosta::Nessuno:
        break;
    case ServerPosta::Consigliato:
        m_optServTUZ->setChecked(true);
        break;
    case ServerPosta::Secondario:
        m_optServTUZINT->setChecked(true);
        break;
    case ServerPosta::Proprio:
        m_optMioServ->setChecked(true);
        m_txtMioServ->setText(serverMail);
        break;
    }
    m_txtMioServ->setVisible(m_optMioServ->isChecked());

    findChild<QLabel *>(u"lblUltimoAgg"_s)
        ->setText(u"Data ultimo aggiornamento:  "_s + settings.value(UserKeys::LastUpdate, u"__/__/____"_s));
    m_ckSottolinea->setCheckState(checkStateOf(casellaDa(settings.value(UserKeys::OptSottolinea, u"0"_s))));
    m_ckAumenta->setCheckState(checkStateOf(casellaDa(settings.value(UserKeys::OptAumenta, u"0"_s))));
    m_ckCambia->setCheckState(checkStateOf(casellaDa(settings.value(UserKeys::OptCambia, u"1"_s))));
    m_modificheEffettuate = false;
    m_installazioneModificata = false;
}

void frmOpzioni::modificaInstallazione()
{
    m_modificheEffettuate = true;
    m_installazioneModificata = true;
}

void frmOpzioni::sfoglia()
{
    const QString chosen = m_context.fileDialogs.openFileName(
        u"Scegli il database"_s, m_context.programFolder().path(), u"Database Microsoft Access (*.mdb)"_s);
    if (!chosen.isEmpty())
        m_txtDatabase->setText(chosen);
}

bool frmOpzioni::controllaTutto()
{
    ControllaEMail(m_context, m_txtEMail);
    if (!m_context.preferenze().EMailValida)
        return false;
    if (m_optMioServ->isChecked() && m_txtMioServ->text().isEmpty()) {
        m_context.prompt.critical(u"Salvataggio dati"_s,
                                  u"Indicare l'indirizzo del proprio server di posta."_s);
        m_txtMioServ->setFocus();
        return false;
    }
    if (m_installazioneModificata &&
        !QFileInfo(m_context.programFolder().resolve(m_txtDatabase->text())).isFile()) {
        m_context.prompt.critical(u"Salvataggio dati"_s,
                                  u"File base dati non presente."_s + m_txtDatabase->text() + u"\r\n"_s +
                                      u"Indicare il percorso di una base dati esistente."_s);
        m_txtDatabase->setFocus();
        return false;
    }
    return true;
}

bool frmOpzioni::SalvaOpzioni()
{
    if (!controllaTutto())
        return false;

    UserSettings &settings = m_context.userSettings();
    if (m_installazioneModificata) {
        m_ini.Scrivi(IniKeys::Tipo, m_optMultiutenza->isChecked() ? TipoMultiutenza : TipoStandAlone);
        m_ini.Scrivi(IniKeys::Database, m_txtDatabase->text());
    }
    settings.setValue(UserKeys::EMail, m_txtEMail->text());
    if (m_optServTUZ->isChecked())
        settings.setValue(UserKeys::ServerMail, ServerPostaConsigliato);
    else if (m_optServTUZINT->isChecked())
        settings.setValue(UserKeys::ServerMail, ServerPostaSecondario);
    else if (m_optMioServ->isChecked())
        settings.setValue(UserKeys::ServerMail, m_txtMioServ->text());

    if (m_installazioneModificata) {
        m_context.prompt.inform(u"Salvataggio dati"_s,
                                u"Sono state modificate delle impostazioni di installazione."
                                u"\r\nE' necessario riavviare l'applicativo."_s);
        m_context.programExit.exit();
    }

    settings.setValue(UserKeys::OptSottolinea, storedValueOf(m_ckSottolinea));
    settings.setValue(UserKeys::OptAumenta, storedValueOf(m_ckAumenta));
    settings.setValue(UserKeys::OptCambia, storedValueOf(m_ckCambia));
    m_context.preferenze().EffettoSottolinea = m_ckSottolinea->checkState() != Qt::Unchecked;
    m_context.preferenze().EffettoAumenta = m_ckAumenta->checkState() != Qt::Unchecked;
    m_context.preferenze().EffettoCambiaColore = m_ckCambia->checkState() != Qt::Unchecked;

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
