#include "core/ui/FieldRoutines.h"

#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/text/EMail.h"
#include "core/text/ItalianNumbers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QString controlText(const QWidget *control)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(control))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(control))
        return combo->currentText();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(control))
        return plain->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(control))
        return rich->toPlainText();
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    return {};
}

} // namespace

void FormattaNumero(QLineEdit *box, const QString & /*format: the program uses "#,###,##0" only*/)
{
    const auto formatted = ItalianNumbers::formatWithCaret({box->text(), box->cursorPosition()});
    box->setText(formatted.text);
    box->setCursorPosition(formatted.caret);
}

bool ControllaCampoObbligatorio(Context &context, QWidget *control, const QString &message)
{
    if (!controlText(control).isEmpty())
        return true;
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    context.prompt.critical(u"Verifica dati"_s, message);
    if (control->isEnabled())
        control->setFocus();
    return false;
}

void ControllaEMail(Context &context, QLineEdit *box)
{
    context.preferenze().EMailValida = false;
    const QString message = EMail::primaRegolaViolata(box->text(), EMail::Vuoto::Segnala);
    if (!message.isEmpty()) {
        context.prompt.inform(u"Indirizzo e-mail"_s, message);
        box->setFocus();
        return;
    }
    context.preferenze().EMailValida = true;
}
