#pragma once

#include <QLocale>
#include <QString>
#include <optional>

namespace kx {

/** Numbers are read and shown the Italian way, "," for decimals and "." for thousands, whatever the system
 * locale. */
namespace ItalianNumbers {

QLocale locale();

/** The number a text reads as in Italian ("1.234,5", " 12 ", "1.2345"), or nothing. */
std::optional<double> read(const QString &text);

/**
 * The whole number a text reads as in Italian, rounded to the nearest and a half to the even
 * neighbour ("1,5" and "2,5" give 2, "1.000" gives 1000), within 16 or 32 bits. Nothing when the
 * text is no number (the empty text included) or the rounded value does not fit.
 */
std::optional<qint16> readInt16(const QString &text);
std::optional<qint32> readInt32(const QString &text);

/** A whole number with thousands separators, as the format "#,###,##0" shows it ("1.234.567"). */
QString formatThousands(double value);

/**
 * An amount with thousands separators and exactly two decimals, as the format "##,###,###,##0.00"
 * shows it ("1.234.567,50", "0,00"); halves go away from zero.
 */
QString formatAmount(double value);

/** A text and a caret position in it. */
struct EditState
{
    QString text;
    int caret = 0;
};

/**
 * The field formatting of numeric boxes: the text shown with thousands separators, the caret after
 * the same digit it followed before. A text that is not a number empties the box.
 */
EditState formatWithCaret(const EditState &typed);

} // namespace ItalianNumbers

} // namespace kx
