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

namespace {

/**
 * The same rule for a whole number, read in one pass without copies, as loaders read every field of
 * long files: a bad character first, then a separator (a fraction), then the size.
 */
qlonglong wholeNumber(const QString &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool digits = false;
    bool separator = false;
    int significant = 0;
    qlonglong magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= u'0' && c <= u'9') {
            digits = true;
            if (significant > 0 || c != u'0') {
                ++significant;
                if (significant <= 10)
                    magnitude = magnitude * 10 + (c - u'0');
            }
        } else if ((c == u',' || c == u'.') && !separator) {
            separator = true;
        } else {
            throw RoutineError(ErrorCode::TypeMismatch);
        }
    }
    // Any separator is a fraction here: "1.000" must not load quietly as 1.
    if (!digits || separator)
        throw RoutineError(ErrorCode::TypeMismatch);
    const qlonglong value = negative ? -magnitude : magnitude;
    if (significant > 10 || value < std::numeric_limits<qint32>::min() ||
        value > std::numeric_limits<qint32>::max())
        throw RoutineError(ErrorCode::Overflow);
    return value;
}

} // namespace

QVariant numericValueFromText(const QString &text, NumericColumn column)
{
    if (column == NumericColumn::Integer)
        return wholeNumber(text);
    bool negative = false;
    QString whole;
    QString fraction;
    bool separator = false;
    if (!split(text, negative, whole, fraction, separator))
        throw RoutineError(ErrorCode::TypeMismatch);

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
