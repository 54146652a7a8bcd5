#include "applications/ui/frmRiepDomanda.h"

#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/Ricerche.h"
#include "core/text/ItalianNumbers.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "ui_frmRiepDomanda.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 3000;

} // namespace

frmRiepDomanda::frmRiepDomanda(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmRiepDomanda>())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, ArgomentoAiuto);
    Immagini::setBackground(this);

    const CurrentApplication &domanda = context.domanda();
    m_ui->lblGrOpe->setText(domanda.GrupOpeCorrente);
    m_ui->lblOpe->setText(domanda.OperatoreCorrente);
    m_ui->lblDenOpe->setText(domanda.DenominazioneOpCorrente);
    m_ui->lblProposta->setText(QString::number(domanda.NumDomaCorrente));

    runWithRetry(context, QString(), [&context, &domanda] {
        Recordset &rs = context.DE().rs(u"QryDomande"_s);
        if (rs.isOpen())
            rs.close();
        rs.open();
        rs.setFilter(u"NumDoma="_s + QString::number(domanda.NumDomaCorrente));
    });
    runWithRetry(context, QString(), [this] { MostraRiepilogo(); });
    m_ui->txtNumIdSEDE->setEnabled(false);
    m_ui->txtNumCarCORSI->setEnabled(false);
    m_ui->txtTotCOMPL->setEnabled(false);

    if (domanda.DomandaStampataCorrente)
        context.prompt.warn(
            u"Riepilogo Domanda"_s,
            u"Domanda già inviata alla Provincia\r\nNon sarà possibile effettuare modifiche"_s);

    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, ArgomentoAiuto); });
    connect(m_ui->CmdConferma, &QAbstractButton::clicked, this, [this] { QDialog::done(Accepted); });
    connect(m_ui->cmdEsci, &QAbstractButton::clicked, this, &frmRiepDomanda::cmdEsci_Click);
}

frmRiepDomanda::~frmRiepDomanda() = default;

void frmRiepDomanda::apri(Context &context)
{
    frmRiepDomanda finestra(context);
    context.dialogRunner.run(finestra);
}

void frmRiepDomanda::MostraRiepilogo()
{
    m_ui->txtNumIdSEDE->setText(QString::number(ContaSediInteressate(m_context)));
    m_ui->txtNumCarCORSI->setText(QString::number(ContaCorsi(m_context)));
    m_ui->txtTotCOMPL->setText(ItalianNumbers::formatAmount(CalcolaTotaleSpesa(m_context)));
}

void frmRiepDomanda::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    m_ui->cmdEsci->setFocus();
}

void frmRiepDomanda::cmdEsci_Click()
{
    Recordset &rs = m_context.DE().rs(u"QryDomande"_s);
    if (rs.isOpen()) {
        rs.clearFilter();
        rs.close();
    }
    QDialog::done(Accepted);
}
