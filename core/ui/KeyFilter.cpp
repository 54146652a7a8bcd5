#include "core/ui/KeyFilter.h"

#include "core/text/InputFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>
#include <utility>

namespace kx {

namespace {

/** What a change put into a text: [inizio, fine) of the new text, in place of `sostituiti` characters. */
struct Modifica
{
    qsizetype inizio = 0;
    qsizetype fine = 0;
    qsizetype sostituiti = 0;
};

/**
 * Where `dopo` differs from `prima`. The caret after the change, when given and the text after it is
 * as it was, ends the new part; otherwise the common head is taken first, then the common tail.
 */
Modifica modifica(const QString &prima, const QString &dopo, qsizetype cursore = -1)
{
    const qsizetype shorter = std::min(prima.size(), dopo.size());
    qsizetype coda = dopo.size() - cursore;
    const bool dalCursore = cursore >= 0 && coda >= 0 && coda <= shorter &&
                            QStringView(dopo).last(coda) == QStringView(prima).last(coda);
    if (!dalCursore)
        coda = 0;
    qsizetype inizio = 0;
    while (inizio < shorter - coda && dopo[inizio] == prima[inizio])
        ++inizio;
    if (!dalCursore) {
        while (coda < shorter - inizio && dopo[dopo.size() - coda - 1] == prima[prima.size() - coda - 1])
            ++coda;
    }
    return {inizio, dopo.size() - coda, prima.size() - coda - inizio};
}

/**
 * Filters what the user adds to the text by other ways than a typed key: paste, drop, input method.
 * Text the program sets stays as it is (a formatted "1.234" keeps its thousands separator), and so
 * does what the box held before: only the part that differs from the last accepted text is filtered.
 */
class PastedTextFilter : public QValidator
{
public:
    PastedTextFilter(KeyFilter::Kind kind, QLineEdit *lineEdit)
        : QValidator(lineEdit), m_kind(kind), m_lineEdit(lineEdit), m_accepted(lineEdit->text())
    {
    }

    State validate(QString &input, int &pos) const override
    {
        // setText() clears the flag before the text is checked: the program is speaking, not the user.
        if (m_lineEdit->isModified())
            filterAddedText(input, pos);
        m_accepted = input;
        return Acceptable;
    }

private:
    void filterAddedText(QString &input, int &pos) const
    {
        const Modifica aggiunto = modifica(m_accepted, input);
        QString filtered = input.left(aggiunto.inizio);
        for (qsizetype i = aggiunto.inizio; i < aggiunto.fine; ++i) {
            const int key = input[i].unicode();
            if (m_kind == KeyFilter::Kind::Maiuscolo)
                filtered += QChar(char16_t(TastoMaiuscolo(key)));
            else if (tastoNumericoAmmesso(key))
                filtered += key == u'.' ? QChar(u',') : input[i];
            else if (i < pos)
                --pos;
        }
        input = filtered + input.sliced(aggiunto.fine);
    }

    KeyFilter::Kind m_kind;
    QLineEdit *m_lineEdit;
    mutable QString m_accepted;
};

/** LimitaDigitazione's watch over one box. */
class LimiteDigitazione : public QObject
{
public:
    LimiteDigitazione(QLineEdit *box, int limite)
        : QObject(box), m_box(box), m_limite(limite), m_testo(box->text())
    {
        // A change by the user is told first as edited, then as changed; the program's setText only
        // as changed. The modified flag cannot tell: a filter that reworks a paste clears it.
        connect(box, &QLineEdit::textEdited, this, [this] { m_dellUtente = true; });
        connect(box, &QLineEdit::textChanged, this, &LimiteDigitazione::cambiato);
    }

private:
    void cambiato(const QString &testo)
    {
        const bool dellUtente = std::exchange(m_dellUtente, false);
        if (!dellUtente || testo.size() <= m_limite || testo.size() <= m_testo.size()) {
            m_testo = testo;
            return;
        }
        const Modifica aggiunto = modifica(m_testo, testo, m_box->cursorPosition());
        const qsizetype restano = m_testo.size() - aggiunto.sostituiti;
        // Up to the limit; a text already beyond it, set by the program, may only keep its length.
        const qsizetype entra = std::max(m_limite - restano, aggiunto.sostituiti);
        m_testo = testo.left(aggiunto.inizio + entra) + testo.sliced(aggiunto.fine);
        m_box->setText(m_testo);
        m_box->setModified(true);
        m_box->setCursorPosition(int(aggiunto.inizio + entra));
    }

    QLineEdit *m_box;
    qsizetype m_limite;
    QString m_testo;
    bool m_dellUtente = false;
};

} // namespace

KeyFilter::KeyFilter(const Services &services, QLineEdit *lineEdit, Kind kind)
    : QObject(lineEdit), m_services(services), m_kind(kind)
{
}

void LimitaDigitazione(QLineEdit *box, int limite)
{
    new LimiteDigitazione(box, limite);
}

void KeyFilter::install(const Services &services, QLineEdit *lineEdit, Kind kind)
{
    lineEdit->installEventFilter(new KeyFilter(services, lineEdit, kind));
    lineEdit->setValidator(new PastedTextFilter(kind, lineEdit));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    // Shortcuts (copy, paste, undo) and keys without a character (arrows) are not typed text, nor are
    // the keys that move or close (Tab, Escape) or delete forward: of the control keys only Backspace
    // and Enter reach the filter, as they always did.
    if (keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = keyEvent->text();
    if (text.size() != 1)
        return false;
    const int key = text.front().unicode();
    if ((key < 0x20 || key == 0x7f) && key != u'\b' && key != u'\r')
        return false;
    const int result = m_kind == Kind::Numerico ? TastoNumerico(m_services, key) : TastoMaiuscolo(key);
    if (result == key)
        return false;
    if (result != 0)
        static_cast<QLineEdit *>(watched)->insert(QString(QChar(char16_t(result))));
    return true;
}

} // namespace kx
