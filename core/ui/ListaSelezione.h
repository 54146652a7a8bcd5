#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;

namespace kx {

/**
 * A drop-down list to pick from, the way every list of the program behaves: the user cannot type;
 * emptying or filling it leaves no item selected and runs nothing; selecting an item, by the user, by
 * its position, by its exact text or by its code, runs the list's selection handler. A text or code
 * that no item has is reported by a false result, and nothing changes.
 *
 *   ListaSelezione operatori(m_ui->CmbOpe, [this] { CmbOpe_Click(); });
 *   operatori.riempi(voci);                       // nothing selected, no handler
 *   if (!operatori.selezionaTesto(voce)) ...      // not found
 *
 * The code of an item is its text before the first blank, as coded lists show "code  description".
 */
class ListaSelezione : public QObject
{
    Q_OBJECT

public:
    ListaSelezione(QComboBox *lista, std::function<void()> selezione);

    QComboBox *lista() const { return m_lista; }

    /** Removes every item; no item selected, no handler run. */
    void svuota();
    /** Adds the items after the ones there; no item selected, no handler run. */
    void riempi(const QStringList &voci);

    int conteggio() const;
    /** The position of the selected item, -1 when none is. */
    int indice() const;
    /** The selected item's text, empty when none is. */
    QString testo() const;
    /** The selected item's code, empty when none is. */
    QString codice() const;
    QString voce(int indice) const;

    /** Selects the item at the position and runs the handler; false, and nothing done, when there is none. */
    bool selezionaIndice(int indice);
    /** Selects the first item with exactly this text and runs the handler; false when none has it. */
    bool selezionaTesto(const QString &testo);
    /** Selects the first item with this code and runs the handler; false when none has it. */
    bool selezionaCodice(const QString &codice);
    /** Selects the first item the test accepts and runs the handler; false when none passes. */
    bool selezionaSe(const std::function<bool(const QString &)> &accetta);

    /**
     * Adds an item that is not one of the list's own, to show a stored value the list no longer
     * offers, and selects it (the handler runs).
     */
    void aggiungiFuoriElenco(const QString &voce);
    /**
     * Removes the items added by aggiungiFuoriElenco; none selected when the selected one goes. No
     * handler runs.
     */
    void togliFuoriElenco();

    /** The code of an item's text: the text before its first blank. */
    static QString codiceDi(const QString &voce);

private:
    void scegli(int indice);

    QComboBox *m_lista;
    std::function<void()> m_selezione;
};

} // namespace kx
