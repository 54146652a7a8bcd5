#include "applications/ui/Seldoma.h"

#include "applications/CreazioneDomanda.h"
#include "applications/SelezioneDomanda.h"
#include "applications/ui/FrmnReg.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/data/RecordsetModel.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/InstallationState.h"
#include "core/state/NuovaDomanda.h"
#include "core/state/Ricerche.h"
#include "core/ui/Griglia.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "ui_Seldoma.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 1500;
const QString Titolo = u"Selezione Domanda"_s;
const QString TitoloElimina = u"Elimina Domanda"_s;
const QString CrLf = u"\r\n"_s;
const QString GiaStampata = u"Domanda già stampata in definitivo. Non è possibile cancellarla"_s;

void puntatoreOccupato()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

Seldoma::Seldoma(Context &context, std::optional<TransferSettings> trasmissione, QWidget *parent)
    : QDialog(parent), m_context(context), m_trasmissione(std::move(trasmissione)),
      m_ui(std::make_unique<Ui::Seldoma>())
{
    m_ui->setupUi(this);
    m_operatori =
        new ListaSelezione(m_ui->CmbOpe, [this] { gestore(u"CmbOpe_Click"_s, &Seldoma::CmbOpe_Click); });
    m_province =
        new ListaSelezione(m_ui->cmbProv, [this] { gestore(u"cmbProv_Click"_s, &Seldoma::cmbProv_Click); });

    connect(m_ui->cmdConfer, &QAbstractButton::clicked, this,
            [this] { gestore(u"cmdConfer_Click"_s, &Seldoma::cmdConfer_Click); });
    connect(m_ui->grdDomande, &QAbstractItemView::doubleClicked, this,
            [this] { gestore(u"cmdConfer_Click"_s, &Seldoma::cmdConfer_Click); });
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this,
            [this] { gestore(u"cmdAnnul_Click"_s, &Seldoma::cmdAnnul_Click); });
    connect(m_ui->cmdElimina, &QAbstractButton::clicked, this,
            [this] { gestore(u"cmdElimina_Click"_s, &Seldoma::cmdElimina_Click); });
    connect(m_ui->cmdInserisci, &QAbstractButton::clicked, this,
            [this] { gestore(u"cmdInserisci_Click"_s, &Seldoma::cmdInserisci_Click); });

    Form_Load();
}

Seldoma::~Seldoma() = default;

void Seldoma::apri(Context &context)
{
    Seldoma finestra(context);
    context.dialogRunner.run(finestra);
}

void Seldoma::gestore(const QString &routine, void (Seldoma::*handler)())
{
    runWithRetry(m_context, routine, [this, handler] { (this->*handler)(); });
}

Recordset &Seldoma::rsQryDomande()
{
    return m_context.DE().rs(u"QryDomande"_s);
}

qint32 Seldoma::numeroRigaCorrente()
{
    Recordset &rs = rsQryDomande();
    if (!rs.isOpen() || rs.currentPosition() < 0)
        return 0;
    return rs.value(u"NumDoma"_s).toInt();
}

void Seldoma::mostraAttesa(bool attesa)
{
    m_ui->panel_Attesa->setVisible(attesa);
    if (attesa)
        puntatoreOccupato();
    else
        puntatoreNormale();
    QCoreApplication::processEvents();
}

void Seldoma::Form_Load()
{
    m_caricamento = true;
    m_ui->panel_Attesa->hide();
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);

    const QStringList operatori = runWithRetry(m_context, QString(), [this] {
        const QueryResult righe = m_context.DE().CorsiDB().query(
            u"SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"_s);
        if (righe.rows.isEmpty())
            throw RoutineError(ErrorCode::NoCurrentRecord, u"Il registro degli operatori è vuoto."_s);
        QStringList voci;
        for (const QVariantList &riga : righe.rows)
            voci << voceOperatore(riga.value(0), riga.value(1), riga.value(2));
        return voci;
    });
    m_operatori->svuota();
    m_operatori->riempi(operatori);

    // The operator of the current application by group and number, whatever its name is now.
    const CurrentApplication &domanda = m_context.domanda();
    runWithRetry(m_context, QString(), [this, &domanda] {
        if (!m_operatori->selezionaSe([&domanda](const QString &voce) {
                return voceDellOperatore(voce, domanda.GrupOpeCorrente, domanda.OperatoreCorrente);
            }))
            m_operatori->selezionaIndice(0);
    });

    m_province->svuota();
    m_ui->cmbProv->hide();
    m_ui->lblProvincia->hide();
    const QStringList province = runWithRetry(m_context, QString(), [this] {
        Recordset &rsProvince = m_context.DE().rs(u"Province"_s);
        if (!rsProvince.isOpen())
            rsProvince.open();
        rsProvince.setFilter(u"REGIONE=00 AND Prov='"_s + ProvinciaRegionale + u"'"_s);
        rsProvince.setSort(u"SIGPROV, DESPROV"_s);
        QStringList voci;
        for (rsProvince.moveFirst(); !rsProvince.eof(); rsProvince.moveNext())
            voci << voceProvincia(rsProvince.value(u"Prov"_s), rsProvince.value(u"SigProv"_s),
                                  rsProvince.value(u"DesProv"_s));
        rsProvince.clearFilter();
        rsProvince.setSort(QString());
        rsProvince.close();
        return voci;
    });
    m_province->riempi(province);
    runWithRetry(m_context, QString(), [this] {
        if (!m_province->selezionaCodice(ProvinciaRegionale))
            throw RoutineError(ErrorCode::ItemNotFound,
                               u"Nella tabella Province manca la provincia regionale "_s +
                                   ProvinciaRegionale + u'.');
    });
    m_caricamento = false;
}

void Seldoma::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    puntatoreNormale();
}

void Seldoma::CmbOpe_Click()
{
    const OperatoreScelto scelto = scomponiVoceOperatore(m_operatori->testo());
    m_grupOpe = scelto.grupOpe;
    m_operatore = scelto.operatore;
    m_denominazione = scelto.denominazione;
    m_filtroOperatore = filtroOperatore(m_grupOpe, m_operatore);
    m_prov = m_province->indice() < 0 ? QString() : codiceProvincia(m_province->testo());
    m_desProv = RecuperaDesProv(m_context, m_prov);
    if (!m_caricamento)
        AggiornaGriglia();
}

void Seldoma::cmbProv_Click()
{
    m_prov = codiceProvincia(m_province->testo());
    m_desProv = RecuperaDesProv(m_context, m_prov);
    AggiornaGriglia();
}

void Seldoma::AggiornaGriglia()
{
    Recordset &rs = rsQryDomande();
    rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
    if (!rs.isOpen())
        rs.open();
    rs.setFilter(filtroGriglia(m_filtroOperatore, m_prov));
    // The current application when it is listed, otherwise the first row.
    if (rs.recordCount() > 0 &&
        !rs.find(u"NumDoma = "_s + QString::number(m_context.domanda().NumDomaCorrente)))
        rs.moveFirst();

    QTableView *griglia = m_ui->grdDomande;
    if (!m_modello) {
        m_modello = new RecordsetModel(
            rs, m_context.prompt, {u"NumDoma"_s, u"Domanda"_s, u"DomandaStampata"_s, u"DomandaTrasmessa"_s},
            {u"n. domada"_s, u"progr. domanda"_s, u"stampata"_s, u"trasmessa "_s}, this);
        m_modello->setYesNoFields({u"DomandaStampata"_s, u"DomandaTrasmessa"_s});
        griglia->setModel(m_modello);
        impostaGriglia(*griglia);
        for (int colonna = 0; colonna < 3; ++colonna)
            griglia->horizontalHeader()->setSectionResizeMode(colonna, QHeaderView::ResizeToContents);
        const auto segui = [this, griglia] {
            const int riga = m_modello->currentRow();
            if (riga < 0)
                griglia->clearSelection();
            else
                griglia->selectRow(riga);
        };
        connect(m_modello, &RecordsetModel::currentRowChanged, griglia, segui);
        connect(m_modello, &QAbstractItemModel::modelReset, griglia, segui);
        connect(griglia->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex &current) {
                    if (current.isValid())
                        m_modello->setCurrentRow(current.row());
                });
    }
    const int riga = m_modello->currentRow();
    if (riga < 0)
        griglia->clearSelection();
    else
        griglia->selectRow(riga);
}

void Seldoma::cmdConfer_Click()
{
    Recordset &rs = rsQryDomande();
    if (!rs.isOpen() || rs.recordCount() == 0) {
        m_context.prompt.critical(Titolo, u"E' necessario inserire una domanda"_s);
        return;
    }
    const qint32 numero = numeroRigaCorrente();
    if (numero == 0) {
        m_context.prompt.critical(Titolo, u"E' necessario selezionare una domanda"_s);
        return;
    }
    rs.close();
    ImpostaDomandaCorrente(m_context, numero);
    QDialog::done(Accepted);
}

void Seldoma::cmdAnnul_Click()
{
    if (m_context.domanda().NumDomaCorrente == 0 &&
        m_context.prompt.ask(
            Prompt::Icon::Warning, Prompt::Buttons::YesNo, Titolo,
            u"E' necessario selezionare una domanda. Premere SI' per selezionarla oppure NO per "
            u"terminare l'applicativo"_s) != Prompt::Answer::No)
        return;
    rsQryDomande().close();
    QDialog::done(Rejected);
}

void Seldoma::reject()
{
    gestore(u"cmdAnnul_Click"_s, &Seldoma::cmdAnnul_Click);
}

void Seldoma::cmdElimina_Click()
{
    Recordset &rs = rsQryDomande();
    if (!rs.isOpen() || rs.recordCount() == 0) {
        m_context.prompt.inform(TitoloElimina, u"Nessuna riga da eliminare."_s);
        return;
    }
    const qint32 numero = numeroRigaCorrente();
    if (numero == 0) {
        m_context.prompt.inform(TitoloElimina, u"Selezionare una domanda da eliminare."_s);
        return;
    }
    if (m_context.prompt.ask(Prompt::Icon::Information, Prompt::Buttons::OkCancel, QString(),
                             u"Confermi la cancellazione della domanda n. "_s + QString::number(numero) +
                                 u" ?"_s) != Prompt::Answer::Ok)
        return;
    if (rs.value(u"DomandaStampata"_s).toBool()) {
        puntatoreNormale();
        m_context.prompt.critical(TitoloElimina, GiaStampata);
        return;
    }
    const bool corrente = numero == m_context.domanda().NumDomaCorrente;
    if (corrente &&
        m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::OkCancel, TitoloElimina,
                             u"Si sta cercando di cancellare la domanda attualmente selezionata."_s + CrLf +
                                 u"Se si procede verrà selezionata automaticamente un'altra domanda per lo "
                                 u"stesso operatore e stessa provincia."_s +
                                 CrLf + u"Continuare?"_s) != Prompt::Answer::Ok)
        return;

    mostraAttesa(true);
    const EsitoEliminazione esito = runWithRetry(m_context, u"cmdElimina_Click"_s, [this, numero] {
        return EliminaDomanda(m_context.DE().CorsiDB(), numero);
    });
    if (esito == EsitoEliminazione::GiaCancellata)
        m_context.prompt.warn(u"Accesso concorrente"_s,
                              u"Il record che si è deciso di eliminare è già stato cancellato da un'altra "
                              u"postazione. "_s);
    else if (esito == EsitoEliminazione::Stampata)
        m_context.prompt.critical(TitoloElimina, GiaStampata);
    runWithRetry(m_context, u"cmdElimina_Click"_s, [this, &rs] {
        rs.requery();
        AggiornaGriglia();
    });
    if (corrente && esito != EsitoEliminazione::Stampata)
        ImpostaDomandaCorrente(m_context, numeroRigaCorrente());
    mostraAttesa(false);
}

void Seldoma::cmdInserisci_Click()
{
    mostraAttesa(true);
    CurrentApplication &domanda = m_context.domanda();
    const CurrentApplication prima = domanda;
    domanda.FiltroDomandaCorrente = m_filtroOperatore;
    domanda.GrupOpeCorrente = m_grupOpe;
    domanda.OperatoreCorrente = QString::number(m_operatore);
    domanda.DenominazioneOpCorrente = m_denominazione;
    domanda.ProvCorrente = m_prov;
    domanda.DesProvCorrente = m_desProv;
    m_context.nuovaDomanda().NumeroDomandaOttenuto = false;
    try {
        FrmnReg finestra(m_context,
                         m_trasmissione.value_or(impostazioniTrasmissione(m_context.programFolder())), this);
        m_context.dialogRunner.run(finestra);
    } catch (...) {
        m_context.domanda() = prima;
        mostraAttesa(false);
        throw;
    }
    repaint();
    QCoreApplication::processEvents();

    if (!m_context.nuovaDomanda().NumeroDomandaOttenuto) {
        mostraAttesa(false);
        m_context.domanda() = prima;
        m_context.prompt.critical(
            QString(), MessaggiCreazione::numeroNonRitirato(m_context.installazione().IndirizzoServer));
        return;
    }
    SalvaVarIni(m_context);
    runWithRetry(m_context, u"cmdInserisci_Click"_s, [this] {
        Recordset &rs = rsQryDomande();
        if (rs.isOpen())
            rs.requery();
        AggiornaGriglia();
    });
    mostraAttesa(false);
    m_context.prompt.inform(QString(), MessaggiCreazione::DomandaInserita);
}
