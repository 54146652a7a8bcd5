#include "core/text/ItalianNumbers.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace kx {

namespace ItalianNumbers {

QLocale locale()
{
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(QLocale::DefaultNumberOptions);
    return italian;
}

std::optional<double> read(const QString &text)
{
    // Thousands separators are ignored wherever they stand, as the old conversions did: a digit
    // typed into "1.234" gives "1.2345", still a number.
    QString plain = text.trimmed();
    plain.remove(u'.');
    plain.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

template<typename Whole> std::optional<Whole> readWhole(const QString &text)
{
    const auto value = read(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // the default rounding mode sends halves to even
    if (rounded < double(std::numeric_limits<Whole>::min()) ||
        rounded > double(std::numeric_limits<Whole>::max()))
        return std::nullopt;
    return Whole(rounded);
}

} // namespace

std::optional<qint16> readInt16(const QString &text)
{
    return readWhole<qint16>(text);
}

std::optional<qint32> readInt32(const QString &text)
{
    return readWhole<qint32>(text);
}

QString formatThousands(double value)
{
    // Halves go away from zero, as the old number formatting did.
    return locale().toString(std::round(value), 'f', 0);
}

QString formatAmount(double value)
{
    const double cents = std::round(value * 100.0) / 100.0;
    return locale().toString(cents == 0 ? 0.0 : cents, 'f', 2);
}

EditState formatWithCaret(const EditState &typed)
{
    const auto value = read(typed.text);
    if (!value)
        return {QString(), 0};

    // The caret is tied to the characters that stay: count those before it, then find the same count
    // in the formatted text. Separators are put back anew, and blanks and zeros in front of the first
    // digit that counts are dropped.
    const QChar separator = locale().groupSeparator().front();
    qsizetype first = 0;
    while (first < typed.text.size() &&
           (typed.text[first] == u' ' || typed.text[first] == separator ||
            (typed.text[first] == u'0' && first + 1 < typed.text.size() &&
             (typed.text[first + 1].isDigit() || typed.text[first + 1] == separator))))
        ++first;
    int kept = 0;
    for (qsizetype i = first; i < typed.caret && i < typed.text.size(); ++i) {
        if (typed.text[i] != separator)
            ++kept;
    }
    EditState formatted{formatThousands(*value), 0};
    while (formatted.caret < formatted.text.size() && kept > 0) {
        if (formatted.text[formatted.caret] != separator)
            --kept;
        ++formatted.caret;
    }
    return formatted;
}

} // namespace ItalianNumbers

} // namespace kx
