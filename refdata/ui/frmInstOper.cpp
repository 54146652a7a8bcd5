#include "refdata/ui/frmInstOper.h"

#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/net/HttpTransfer.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "core/ui/Griglia.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/KeyFilter.h"
#include "core/ui/Puntatore.h"
#include "refdata/ScaricoOperatori.h"
#include "refdata/ui/frmConferma.h"
#include "ui_frmInstOper.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>

using namespace Qt::StringLiterals;
using namespace kx;

frmInstOper::frmInstOper(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmInstOper>()),
      m_inet(new HttpTransfer(impostazioniScarico(context.programFolder()), this))
{
    m_ui->setupUi(this);
    m_inet->setObjectName(u"Inet"_s);
    setHelpContext(context, this, context.installazione().InstallazioneInCorso ? 15000 : 18000);
    Immagini::setBackground(this);
    context.installazione().EsitoInstOper.clear();
    m_ui->LstElenco->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // "Gruppo" over the group letter, "Cod. Operatore" from where the operator's number begins (after
    // the group and the dash, nine characters in).
    const int inizio = inizioTestoVoci(*m_ui->LstElenco);
    m_ui->Label3->setIndent(0);
    m_ui->Label3->setContentsMargins(inizio, 0, 0, 0);
    m_ui->Label3->setFixedWidth(inizio + m_ui->LstElenco->fontMetrics().horizontalAdvance(QString(9, u' ')));
    m_ui->Label4->setIndent(0);
    KeyFilter::install(context, m_ui->TxtGrup, KeyFilter::Kind::Maiuscolo);

    connect(m_ui->CmdIns, &ImageButton::clicked, this, &frmInstOper::CmdIns_Click);
    connect(m_ui->TxtOper, &QLineEdit::returnPressed, this, &frmInstOper::CmdIns_Click);
    connect(m_ui->CmdCanc, &ImageButton::clicked, this, &frmInstOper::CmdCanc_Click);
    connect(m_ui->LstElenco, &QListWidget::itemClicked, this, &frmInstOper::LstElenco_Click);
    connect(m_ui->cmdConferma, &ImageButton::clicked, this, &frmInstOper::cmdConferma_Click);
    connect(m_ui->cmdAnnulla, &ImageButton::clicked, this, &frmInstOper::cmdAnnulla_Click);
}

frmInstOper::~frmInstOper() = default;

void frmInstOper::TrovaDoppi(const QString &voce, bool &trovato) const
{
    trovato = m_vociElencate.contains(voce);
}

void frmInstOper::aggiungiVoce(const QString &voce)
{
    m_ui->LstElenco->addItem(voce);
    m_vociElencate.insert(voce);
}

void frmInstOper::precompila(const QStringList &voci, const QString &didascalia)
{
    m_ui->LstElenco->clear();
    m_vociElencate.clear();
    QStringList nuove;
    for (const QString &voce : voci) {
        bool trovato = false;
        TrovaDoppi(voce, trovato);
        if (!trovato) {
            m_vociElencate.insert(voce);
            nuove.append(voce);
        }
    }
    m_ui->LstElenco->addItems(nuove);
    m_ui->Label1->setText(didascalia);
}

void frmInstOper::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_occupato) {
        puntatoreNormale();
        QCoreApplication::processEvents();
    }
}

void frmInstOper::reject()
{
    if (!m_occupato)
        QDialog::reject();
}

QStringList frmInstOper::voci() const
{
    QStringList items;
    for (int i = 0; i < m_ui->LstElenco->count(); ++i)
        items.append(m_ui->LstElenco->item(i)->text());
    return items;
}

void frmInstOper::CmdIns_Click()
{
    if (m_ui->TxtGrup->text().isEmpty())
        return;
    if (m_ui->LstElenco->count() >= ScaricoOperatori::MassimoVoci) {
        m_context.prompt.inform(u"Attenzione"_s,
                                u"E' stato raggiunto il limite massimo di aziende scaricabili da Internet"_s);
        return;
    }
    const QString voce = ScaricoOperatori::voceElenco(m_ui->TxtGrup->text(), m_ui->TxtOper->text());
    bool trovato = false;
    TrovaDoppi(voce, trovato);
    if (!trovato)
        aggiungiVoce(voce);
    m_ui->TxtGrup->clear();
    m_ui->TxtOper->clear();
}

void frmInstOper::CmdCanc_Click()
{
    QListWidgetItem *item = m_ui->LstElenco->currentItem();
    if (!item || !item->isSelected())
        return;
    m_ui->TxtGrup->clear();
    m_ui->TxtOper->clear();
    m_vociElencate.remove(item->text());
    delete item;
}

void frmInstOper::LstElenco_Click()
{
    const QListWidgetItem *item = m_ui->LstElenco->currentItem();
    if (!item)
        return;
    const auto [gruppo, operatore] = ScaricoOperatori::inputDaVoce(item->text());
    m_ui->TxtGrup->setText(gruppo);
    m_ui->TxtOper->setText(operatore);
}

void frmInstOper::attesa(bool occupato)
{
    m_occupato = occupato;
    if (occupato)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        puntatoreNormale();
    m_ui->cmdConferma->setEnabled(!occupato);
}

void frmInstOper::cmdConferma_Click()
{
    const QByteArray corpo = ScaricoOperatori::corpoRichiesta(voci());
    if (corpo.isEmpty()) {
        m_context.prompt.critical(QString(), u"E' necessario imputare almeno un Operatore."_s);
        return;
    }
    ServerRequest richiesta(m_context, m_context.fileIni(), m_context.programFolder(),
                            m_context.installazione(), *m_inet, Richieste::scaricoOperatori(),
                            [this](bool occupato) { attesa(occupato); });
    richiesta.send(corpo);
    if (!richiesta.evaluate(ScaricoOperatori::contaFileValida))
        return;

    // Registry data have always been stored and printed in capitals.
    const QString risposta = upperCaseCp1252(richiesta.RispostaServer);
    const ProgramFolder &folder = m_context.programFolder();
    const QString pacchetto = folder.resolve(ScaricoOperatori::FilePacchetto);
    try {
        TextFile::writeLines(pacchetto, {risposta});
    } catch (const RoutineError &error) {
        m_context.prompt.critical(QString(), testoErrore(error));
        richiesta.concludiFallimento();
        return;
    }
    richiesta.RispostaServer.clear();
    const EsitoPacchetto esito =
        SeparaFileScaricato(folder, m_context.installazione().PercorsoDB, ScaricoOperatori::FilePacchetto);
    QFile::remove(pacchetto);
    if (!ScaricoOperatori::pacchettoCompleto(esito)) {
        // Files that cannot make a registry are not left for the installation to trip on.
        ScaricoOperatori::cancellaFileScritti(folder, esito);
        richiesta.RispostaServer = risposta;
        richiesta.mostraErroreServer();
        richiesta.concludiFallimento();
        return;
    }
    attesa(false);
    frmConferma conferma(m_context, this);
    if (m_context.dialogRunner.run(conferma) == QDialog::Accepted)
        accept();
}

void frmInstOper::cmdAnnulla_Click()
{
    if (m_occupato) {
        m_inet->cancel(); // the download stops; the window stays for another try
        return;
    }
    m_context.installazione().EsitoInstOper = u"annulla"_s;
    reject();
}
