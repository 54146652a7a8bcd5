#pragma once

#include <QString>

namespace kx {
class Context;
} // namespace kx
class QLineEdit;
class QWidget;

/** Formats a numeric box with thousands separators ("#,###,##0"), keeping the caret after the same digit. */
void FormattaNumero(QLineEdit *box, const QString &format);

/**
 * True when the control holds some text (blanks count). Otherwise restores the default pointer,
 * shows the message under "Verifica dati", puts the focus on the control when it is enabled and
 * gives False.
 */
bool ControllaCampoObbligatorio(kx::Context &context, QWidget *control, const QString &message);

/** Checks the address in the box; on failure says why and puts the focus back. Leaves the verdict in
 * EMailValida. */
void ControllaEMail(kx::Context &context, QLineEdit *box);
