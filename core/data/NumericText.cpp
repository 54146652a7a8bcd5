#include "core/data/NumericText.h"

#include "core/services/RoutineError.h"

#include <QLocale>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** The text split into sign, whole digits and fraction digits; false when it breaks the rule. */
bool split(const QString &text, bool &negative, QString &whole, QString &fraction, bool &separator)
{
    qsizetype i = 0;
    negative = false;
    separator = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            (separator ? fraction : whole) += c;
        } else if ((c == u',' || c == u'.') && !separator) {
            separator = true;
        } else {
            return false;
        }
    }
    return !whole.isEmpty() || !fraction.isEmpty();
}

} // namespace

QVariant numericValueFromText(const QString &text, NumericColumn column)
{
    bool negative = false;
    QString whole;
    QString fraction;
    bool separator = false;
    if (!split(text, negative, whole, fraction, separator))
        throw RoutineError(ErrorCode::TypeMismatch);

    if (column == NumericColumn::Integer) {
        // Any separator is a fraction here: "1.000" must not load quietly as 1.
        if (separator)
            throw RoutineError(ErrorCode::TypeMismatch);
        qsizetype first = 0;
        while (first < whole.size() - 1 && whole[first] == u'0')
            ++first;
        const QString digits = whole.isEmpty() ? u"0"_s : whole.mid(first);
        // Ten digits at most fit in the range; more would overflow the arithmetic below as well.
        if (digits.size() > 10)
            throw RoutineError(ErrorCode::Overflow);
        const qlonglong magnitude = digits.toLongLong();
        const qlonglong value = negative ? -magnitude : magnitude;
        if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
            throw RoutineError(ErrorCode::Overflow);
        return value;
    }

    bool ok = false;
    const QString plain = (negative ? u"-"_s : QString()) + (whole.isEmpty() ? u"0"_s : whole) +
                          (fraction.isEmpty() ? QString() : u"."_s + fraction);
    const double value = QLocale::c().toDouble(plain, &ok);
    // The text reads as a number by now: only its size can fail.
    if (!ok || !std::isfinite(value))
        throw RoutineError(ErrorCode::Overflow);
    return value;
}

} // namespace kx
