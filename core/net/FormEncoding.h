#pragma once

#include <QByteArray>
#include <QString>

namespace kx {

/**
 * A value of a form body as its Windows-1252 bytes, with "%", "&", "=", "+", "#", the blank, control
 * characters and every byte above 127 written as "%" and two capital hex digits, so that no typed
 * character can break or add a pair. Every other character goes out as it is.
 */
QByteArray formValue(const QString &value);

} // namespace kx
