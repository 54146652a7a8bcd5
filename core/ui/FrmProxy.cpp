#include "core/ui/FrmProxy.h"

#include "core/config/IniKeys.h"
#include "core/config/PreferenceRules.h"
#include "core/config/UserSettings.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "ui_FrmProxy.h"

using namespace Qt::StringLiterals;
using namespace kx;

FrmProxy::FrmProxy(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::FrmProxy>())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, context.installazione().InstallazioneInCorso ? 15000 : 12000);
    Immagini::setBackground(this);

    // A stored proxy opens as the user's own, so that saving without changes keeps it.
    m_ui->txtproxy->setText(context.userSettings().value(UserKeys::Proxy, {}));
    m_ui->TxtPorta->setText(context.userSettings().value(UserKeys::Porta, {}));
    const bool own = !m_ui->txtproxy->text().isEmpty();
    (own ? m_ui->optProxy_0 : m_ui->optProxy_1)->setChecked(true);
    m_ui->txtproxy->setEnabled(own);
    m_ui->TxtPorta->setEnabled(own);

    connect(m_ui->optProxy_0, &QRadioButton::clicked, this, [this] { optProxy_Click(0); });
    connect(m_ui->optProxy_1, &QRadioButton::clicked, this, [this] { optProxy_Click(1); });
    connect(m_ui->ImgOk, &ImageButton::clicked, this, &FrmProxy::ImgOk_Click);
    connect(m_ui->ImgAnn, &ImageButton::clicked, this, &QDialog::reject);
    connect(m_ui->CmdControlla, &QPushButton::clicked, this, &FrmProxy::CmdControlla_Click);
}

FrmProxy::~FrmProxy() = default;

bool FrmProxy::ControllaStato(int flag) const
{
    return (m_context.networkStatus.connectionFlags() & flag) != 0;
}

void FrmProxy::optProxy_Click(int index)
{
    const bool own = index == 0;
    m_ui->txtproxy->setEnabled(own);
    m_ui->TxtPorta->setEnabled(own);
    if (own)
        m_ui->txtproxy->setFocus();
}

void FrmProxy::ImgOk_Click()
{
    UserSettings &settings = m_context.userSettings();
    if (!m_ui->optProxy_0->isChecked()) {
        settings.setValue(UserKeys::Proxy, QString());
        settings.setValue(UserKeys::Porta, QString());
        accept();
        return;
    }
    const QString error = PreferenceRules::erroreProxy(m_ui->txtproxy->text(), m_ui->TxtPorta->text());
    if (!error.isEmpty()) {
        m_context.prompt.critical(u"PROXY"_s, error);
        return;
    }
    settings.setValue(UserKeys::Proxy, m_ui->txtproxy->text());
    settings.setValue(UserKeys::Porta, m_ui->TxtPorta->text());
    accept();
}

void FrmProxy::CmdControlla_Click()
{
    if (ControllaStato(NetworkStatus::Modem))
        m_context.prompt.inform(u"Verifica Connessione"_s,
                                u"La connessione ad Internet avviene tramite Modem."_s);
    if (ControllaStato(NetworkStatus::Proxy))
        m_context.prompt.inform(u"Verifica Connessione"_s,
                                u"La connessione ad Internet avviene tramite un Server Proxy. "_s);
}
