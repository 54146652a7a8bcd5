#include "applications/ui/SceltaTabella.h"

#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/data/RecordsetModel.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/ui/Griglia.h"
#include "core/ui/KeyFilter.h"

#include <QAbstractButton>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Twips per pixel on a screen of 96 dots per inch. */
constexpr int TwipPerPixel = 15;

void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

/** The recordset's rows as they are, with the alignment of each column's cells. */
class ModelloAllineato : public QIdentityProxyModel
{
public:
    ModelloAllineato(QAbstractItemModel *modello, const QList<Qt::Alignment> &allineamenti, QObject *parent)
        : QIdentityProxyModel(parent), m_allineamenti(allineamenti)
    {
        setSourceModel(modello);
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole && index.column() < m_allineamenti.size())
            return QVariant::fromValue(m_allineamenti.at(index.column()) | Qt::AlignVCenter);
        return QIdentityProxyModel::data(index, role);
    }

private:
    const QList<Qt::Alignment> &m_allineamenti;
};

} // namespace

SceltaTabella::SceltaTabella(Context &context, QDialog &finestra, const Controlli &controlli,
                             const TestiScelta &testi, std::function<void(const Recordset &)> scegli)
    : QObject(&finestra), m_context(context), m_finestra(finestra), m_controlli(controlli), m_testi(testi),
      m_scegli(std::move(scegli))
{
    QTableView *griglia = m_controlli.griglia;
    m_modello = new RecordsetModel(recordset(), m_context.prompt, m_testi.campi, m_testi.intestazioni, this);
    m_griglia = new ModelloAllineato(m_modello, m_testi.allineamenti, this);
    griglia->setModel(m_griglia);
    impostaGriglia(*griglia);
    // Each column at least as wide as its heading; the searched one takes what the grid has left.
    QHeaderView *intestazione = griglia->horizontalHeader();
    for (int colonna = 0; colonna < m_testi.larghezze.size(); ++colonna) {
        const int larghezza = m_testi.larghezze.at(colonna);
        if (larghezza == 0)
            griglia->setColumnHidden(colonna, true);
        else
            griglia->setColumnWidth(
                colonna, std::max(larghezza / TwipPerPixel, intestazione->sectionSizeHint(colonna)));
    }
    const int cercata = m_testi.campi.indexOf(m_testi.campoRicerca);
    if (cercata >= 0 && m_testi.allargaRicerca)
        intestazione->setSectionResizeMode(cercata, QHeaderView::Stretch);
    connect(m_modello, &RecordsetModel::currentRowChanged, griglia, [this] { mostraRigaCorrente(); });
    connect(m_modello, &QAbstractItemModel::modelReset, griglia, [this] { mostraRigaCorrente(); });
    connect(griglia->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid() && current.row() != m_modello->currentRow())
                    m_modello->setCurrentRow(current.row());
            });
    mostraRigaCorrente();

    KeyFilter::install(m_context, m_controlli.ricerca, KeyFilter::Kind::Maiuscolo);
    m_controlli.ricerca->installEventFilter(this);
    connect(m_controlli.cerca, &QAbstractButton::clicked, this, [this] {
        if (!m_testi.cercaSoloConTesto || !m_controlli.ricerca->text().isEmpty())
            EseguiRicerca();
    });
    connect(m_controlli.conferma, &QAbstractButton::clicked, this, &SceltaTabella::Conferma);
    connect(m_controlli.annulla, &QAbstractButton::clicked, &m_finestra, &QDialog::reject);
}

Recordset &SceltaTabella::recordset() const
{
    return m_context.DE().rs(m_testi.comando);
}

void SceltaTabella::mostraRigaCorrente()
{
    QTableView *griglia = m_controlli.griglia;
    const int riga = m_modello->currentRow();
    if (riga < 0) {
        griglia->clearSelection();
        return;
    }
    int colonna = 0;
    while (colonna + 1 < m_testi.larghezze.size() && m_testi.larghezze.at(colonna) == 0)
        ++colonna;
    const QModelIndex indice = m_griglia->index(riga, colonna);
    griglia->selectionModel()->setCurrentIndex(indice, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
    griglia->scrollTo(indice);
}

void SceltaTabella::EseguiRicerca()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool trovato = runWithRetry(m_context, u"EseguiRicerca"_s, [this] {
        return cercaNelCampo(recordset(), m_testi.campoRicerca, m_controlli.ricerca->text(),
                             m_testi.confronto);
    });
    if (!trovato)
        m_context.prompt.warn(m_testi.titoloNonTrovato, m_testi.nonTrovato);
    puntatoreNormale();
}

void SceltaTabella::Conferma()
{
    const Recordset &rs = recordset();
    const QString codice = rs.isOpen() && rs.currentPosition() >= 0 ? rs.value(0).toString() : QString();
    if (codice.isEmpty()) {
        m_context.prompt.warn(m_testi.titoloNessunaRiga, m_testi.nessunaRiga);
        return;
    }
    m_scegli(rs);
    m_finestra.accept();
}

bool SceltaTabella::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controlli.ricerca && event->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent *>(event)->key();
        if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
            EseguiRicerca();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
