#include "core/ui/KeyFilter.h"

#include "core/text/InputFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

/** Filters whatever reaches the text by other ways than a typed key: paste, drop, undo. */
class PastedTextFilter : public QValidator
{
public:
    PastedTextFilter(KeyFilter::Kind kind, QObject *parent) : QValidator(parent), m_kind(kind) {}

    State validate(QString &input, int &pos) const override
    {
        QString filtered;
        int newPos = pos;
        for (int i = 0; i < input.size(); ++i) {
            const int key = input[i].unicode();
            if (m_kind == KeyFilter::Kind::Maiuscolo) {
                filtered += QChar(char16_t(TastoMaiuscolo(key)));
            } else if (tastoNumericoAmmesso(key)) {
                filtered += key == u'.' ? QChar(u',') : input[i];
            } else if (i < pos) {
                --newPos;
            }
        }
        input = filtered;
        pos = newPos;
        return Acceptable;
    }

private:
    KeyFilter::Kind m_kind;
};

} // namespace

KeyFilter::KeyFilter(Context &context, QLineEdit *lineEdit, Kind kind)
    : QObject(lineEdit), m_context(context), m_kind(kind)
{
}

void KeyFilter::install(Context &context, QLineEdit *lineEdit, Kind kind)
{
    lineEdit->installEventFilter(new KeyFilter(context, lineEdit, kind));
    lineEdit->setValidator(new PastedTextFilter(kind, lineEdit));
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    // Shortcuts (copy, paste, undo) and keys without a character (arrows, Delete) are not typed text.
    if (keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = keyEvent->text();
    if (text.size() != 1)
        return false;
    const int key = text.front().unicode();
    const int result = m_kind == Kind::Numerico ? TastoNumerico(m_context, key) : TastoMaiuscolo(key);
    if (result == key)
        return false;
    if (result != 0)
        static_cast<QLineEdit *>(watched)->insert(QString(QChar(char16_t(result))));
    return true;
}
