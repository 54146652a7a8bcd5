#pragma once

#include <QVariant>

namespace kx {

/** The database's Null: an invalid or null QVariant. */
bool isNullValue(const QVariant &value);

/** A value of one of the numeric types (a yes/no value is not one). */
bool isNumericValue(const QVariant &value);

} // namespace kx
