#pragma once

#include <QString>
#include <QVariant>

namespace kx {

/** The two kinds of number column a loaded text may land in. */
enum class NumericColumn
{
    /** A whole number of the old engine's long type: -2,147,483,648 to 2,147,483,647. */
    Integer,
    Real
};

/**
 * The value a text read from a data file gives a number column, the same whatever the system's
 * locale: an optional sign, digits, at most one decimal separator ("," or ".") and no thousands
 * separator nor blank. Anything else, the empty text included, fails with RoutineError 13; an
 * integer column also refuses a fraction, any decimal separator included ("1.000" could be a
 * thousand), with 13 and a value outside its range with 6, and a real one a value too large to hold
 * with 6. Returns a qlonglong or a double.
 */
QVariant numericValueFromText(const QString &text, NumericColumn column);

} // namespace kx
