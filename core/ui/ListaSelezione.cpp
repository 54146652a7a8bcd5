#include "core/ui/ListaSelezione.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace kx {

namespace {
/** Marks the items that are not the list's own; the other roles are the windows' own. */
constexpr int RuoloFuoriElenco = Qt::UserRole + 64;
} // namespace

ListaSelezione::ListaSelezione(QComboBox *lista, std::function<void()> selezione)
    : QObject(lista), m_lista(lista), m_selezione(std::move(selezione))
{
    m_lista->setEditable(false);
    // The open list draws its entries as every other list, highlight included, whatever style sheet
    // the window gives the closed one.
    m_lista->setItemDelegate(new QStyledItemDelegate(m_lista));
    connect(m_lista, &QComboBox::activated, this, [this](int) {
        if (m_selezione)
            m_selezione();
    });
}

void ListaSelezione::svuota()
{
    const QSignalBlocker blocker(m_lista);
    m_lista->clear();
    m_lista->setCurrentIndex(-1);
}

void ListaSelezione::riempi(const QStringList &voci)
{
    const QSignalBlocker blocker(m_lista);
    m_lista->addItems(voci);
    m_lista->setCurrentIndex(-1);
}

int ListaSelezione::conteggio() const
{
    return m_lista->count();
}

int ListaSelezione::indice() const
{
    return m_lista->currentIndex();
}

QString ListaSelezione::testo() const
{
    return indice() < 0 ? QString() : m_lista->currentText();
}

QString ListaSelezione::codice() const
{
    return codiceDi(testo());
}

QString ListaSelezione::voce(int indice) const
{
    return m_lista->itemText(indice);
}

bool ListaSelezione::selezionaIndice(int indice)
{
    if (indice < 0 || indice >= m_lista->count())
        return false;
    scegli(indice);
    return true;
}

bool ListaSelezione::selezionaTesto(const QString &testo)
{
    return selezionaSe([&testo](const QString &voce) { return voce == testo; });
}

bool ListaSelezione::selezionaCodice(const QString &codice)
{
    return selezionaSe([&codice](const QString &voce) { return codiceDi(voce) == codice; });
}

bool ListaSelezione::selezionaSe(const std::function<bool(const QString &)> &accetta)
{
    for (int i = 0; i < m_lista->count(); ++i) {
        if (accetta(m_lista->itemText(i))) {
            scegli(i);
            return true;
        }
    }
    return false;
}

void ListaSelezione::aggiungiFuoriElenco(const QString &voce)
{
    {
        const QSignalBlocker blocker(m_lista);
        m_lista->addItem(voce);
        m_lista->setItemData(m_lista->count() - 1, true, RuoloFuoriElenco);
    }
    scegli(m_lista->count() - 1);
}

void ListaSelezione::togliFuoriElenco()
{
    const QSignalBlocker blocker(m_lista);
    const int scelta = m_lista->currentIndex();
    bool toltaScelta = false;
    for (int i = m_lista->count() - 1; i >= 0; --i) {
        if (m_lista->itemData(i, RuoloFuoriElenco).toBool()) {
            toltaScelta = toltaScelta || i == scelta;
            m_lista->removeItem(i);
        }
    }
    if (toltaScelta)
        m_lista->setCurrentIndex(-1);
}

QString ListaSelezione::codiceDi(const QString &voce)
{
    const qsizetype blank = voce.indexOf(u' ');
    return (blank < 0 ? voce : voce.left(blank)).trimmed();
}

void ListaSelezione::scegli(int indice)
{
    {
        const QSignalBlocker blocker(m_lista);
        m_lista->setCurrentIndex(indice);
    }
    if (m_selezione)
        m_selezione();
}

} // namespace kx
