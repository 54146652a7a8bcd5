#pragma once

#include "applications/RicercaTabella.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAbstractButton;
class QAbstractItemModel;
class QDialog;
class QLineEdit;
class QTableView;

namespace kx {
class Context;
class Recordset;
class RecordsetModel;
} // namespace kx

/** What sets one look-up picker apart from the other. */
struct TestiScelta
{
    /** The data environment's command whose rows are shown. */
    QString comando;
    /** The field searched, and how. */
    QString campoRicerca;
    ConfrontoRicerca confronto = ConfrontoRicerca::Inizio;
    /** Cerca searches only with a text in the box; Enter searches always. */
    bool cercaSoloConTesto = false;
    QStringList campi;
    QStringList intestazioni;
    /** Column widths in twips; 0 hides the column. */
    QList<int> larghezze;
    /** The cells' alignment by column; the columns beyond the list keep the grid's own. */
    QList<Qt::Alignment> allineamenti = {};
    /** The searched column takes the width the others leave; a grid too wide to fit keeps its width. */
    bool allargaRicerca = true;
    QString nonTrovato;
    QString titoloNonTrovato;
    QString nessunaRiga;
    QString titoloNessunaRiga;
};

/**
 * The behaviour the look-up pickers share: a grid on a recordset of the data environment that follows
 * its current row, the search of a name from the first row (the Cerca button, and Enter in the search
 * box, which never confirms), which stays on the row shown before when nothing matches, Conferma, which
 * hands the current row to the window, and Annulla, which closes leaving the result alone. A double
 * click on the grid only moves the current row.
 */
class SceltaTabella : public QObject
{
    Q_OBJECT

public:
    struct Controlli
    {
        QTableView *griglia;
        QLineEdit *ricerca;
        QAbstractButton *cerca;
        QAbstractButton *conferma;
        QAbstractButton *annulla;
    };

    /** `scegli` copies the current row into the result; the recordset must be open. */
    SceltaTabella(kx::Context &context, QDialog &finestra, const Controlli &controlli,
                  const TestiScelta &testi, std::function<void(const kx::Recordset &)> scegli);

    kx::Recordset &recordset() const;
    void EseguiRicerca();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void mostraRigaCorrente();
    void Conferma();

    kx::Context &m_context;
    QDialog &m_finestra;
    Controlli m_controlli;
    const TestiScelta &m_testi;
    std::function<void(const kx::Recordset &)> m_scegli;
    kx::RecordsetModel *m_modello = nullptr;
    QAbstractItemModel *m_griglia = nullptr;
};
