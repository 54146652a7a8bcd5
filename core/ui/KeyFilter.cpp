#include "core/ui/KeyFilter.h"

#include "core/text/InputFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace kx {

namespace {

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
        const qsizetype shorter = std::min(input.size(), m_accepted.size());
        qsizetype first = 0;
        while (first < shorter && input[first] == m_accepted[first])
            ++first;
        qsizetype end = input.size();
        while (end > first && input.size() - end < m_accepted.size() - first &&
               input[end - 1] == m_accepted[m_accepted.size() - (input.size() - end) - 1])
            --end;

        QString filtered = input.left(first);
        for (qsizetype i = first; i < end; ++i) {
            const int key = input[i].unicode();
            if (m_kind == KeyFilter::Kind::Maiuscolo)
                filtered += QChar(char16_t(TastoMaiuscolo(key)));
            else if (tastoNumericoAmmesso(key))
                filtered += key == u'.' ? QChar(u',') : input[i];
            else if (i < pos)
                --pos;
        }
        input = filtered + input.sliced(end);
    }

    KeyFilter::Kind m_kind;
    QLineEdit *m_lineEdit;
    mutable QString m_accepted;
};

} // namespace

KeyFilter::KeyFilter(const Services &services, QLineEdit *lineEdit, Kind kind)
    : QObject(lineEdit), m_services(services), m_kind(kind)
{
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
