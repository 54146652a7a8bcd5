#include "core/ui/FrmProxy.h"

#include "core/config/IniKeys.h"
#include "core/config/PreferenceRules.h"
#include "core/config/UserSettings.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

FrmProxy::FrmProxy(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_optProxyProprio(new QRadioButton(u"Utilizza un server Proxy"_s)),
      m_optProxyWindows(new QRadioButton(u"Impostazioni correnti di Windows (scelta consigliata)"_s)),
      m_txtproxy(new QLineEdit), m_TxtPorta(new QLineEdit)
{
    setObjectName(u"FrmProxy"_s);
    setWindowTitle(u"Impostazione Proxy"_s);
    setHelpContext(context, this, context.installazione().InstallazioneInCorso ? 15000 : 12000);
    Immagini::setBackground(this);

    // The two options were one control array: optProxy(0) and optProxy(1).
    m_optProxyProprio->setObjectName(u"optProxy_0"_s);
    m_optProxyWindows->setObjectName(u"optProxy_1"_s);
    auto *options = new QButtonGroup(this);
    options->addButton(m_optProxyProprio);
    options->addButton(m_optProxyWindows);
    m_txtproxy->setObjectName(u"txtproxy"_s);
    m_TxtPorta->setObjectName(u"TxtPorta"_s);
    m_TxtPorta->setMaximumWidth(90);
    auto *label1 = new QLabel(u"Indirizzo:"_s);
    label1->setObjectName(u"Label1"_s);
    auto *label2 = new QLabel(u"Porta:"_s);
    label2->setObjectName(u"Label2"_s);
    auto *cmdControlla = new QPushButton(u"Analizza Connessione"_s);
    cmdControlla->setObjectName(u"CmdControlla"_s);
    auto *imgOk = new ImageButton(u"imgSalva"_s);
    imgOk->setObjectName(u"ImgOk"_s);
    imgOk->setToolTip(u"Salva le impostazioni"_s);
    auto *imgAnn = new ImageButton(u"imgExit"_s);
    imgAnn->setObjectName(u"ImgAnn"_s);
    imgAnn->setToolTip(u"Esci"_s);

    auto *server = new QGridLayout;
    server->setContentsMargins(24, 0, 0, 0);
    server->addWidget(label1, 0, 0);
    server->addWidget(m_txtproxy, 0, 1);
    server->addWidget(label2, 0, 2);
    server->addWidget(m_TxtPorta, 0, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdControlla);
    buttons->addStretch();
    buttons->addWidget(imgOk);
    buttons->addWidget(imgAnn);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->addWidget(m_optProxyWindows);
    layout->addWidget(m_optProxyProprio);
    layout->addLayout(server);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    m_txtproxy->setMinimumWidth(260);

    // A stored proxy opens as the user's own, so that saving without changes keeps it.
    m_txtproxy->setText(context.userSettings().value(UserKeys::Proxy, {}));
    m_TxtPorta->setText(context.userSettings().value(UserKeys::Porta, {}));
    const bool own = !m_txtproxy->text().isEmpty();
    (own ? m_optProxyProprio : m_optProxyWindows)->setChecked(true);
    m_txtproxy->setEnabled(own);
    m_TxtPorta->setEnabled(own);

    connect(m_optProxyProprio, &QRadioButton::clicked, this, [this] { usaProxyProprio(true); });
    connect(m_optProxyWindows, &QRadioButton::clicked, this, [this] { usaProxyProprio(false); });
    connect(imgOk, &ImageButton::clicked, this, &FrmProxy::salva);
    connect(imgAnn, &ImageButton::clicked, this, &QDialog::reject);
    connect(cmdControlla, &QPushButton::clicked, this, &FrmProxy::analizzaConnessione);
}

bool FrmProxy::ControllaStato(int flag) const
{
    return (m_context.networkStatus.connectionFlags() & flag) != 0;
}

void FrmProxy::usaProxyProprio(bool own)
{
    m_txtproxy->setEnabled(own);
    m_TxtPorta->setEnabled(own);
    if (own)
        m_txtproxy->setFocus();
}

void FrmProxy::salva()
{
    UserSettings &settings = m_context.userSettings();
    if (!m_optProxyProprio->isChecked()) {
        settings.setValue(UserKeys::Proxy, QString());
        settings.setValue(UserKeys::Porta, QString());
        accept();
        return;
    }
    const QString error = PreferenceRules::erroreProxy(m_txtproxy->text(), m_TxtPorta->text());
    if (!error.isEmpty()) {
        m_context.prompt.critical(u"PROXY"_s, error);
        return;
    }
    settings.setValue(UserKeys::Proxy, m_txtproxy->text());
    settings.setValue(UserKeys::Porta, m_TxtPorta->text());
    accept();
}

void FrmProxy::analizzaConnessione()
{
    if (ControllaStato(NetworkStatus::Modem))
        m_context.prompt.inform(u"Verifica Connessione"_s,
                                u"La connessione ad Internet avviene tramite Modem."_s);
    if (ControllaStato(NetworkStatus::Proxy))
        m_context.prompt.inform(u"Verifica Connessione"_s,
                                u"La connessione ad Internet avviene tramite un Server Proxy. "_s);
}
