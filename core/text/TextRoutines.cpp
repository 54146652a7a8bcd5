#include "core/text/TextRoutines.h"

#include "core/services/RoutineError.h"
#include "core/services/Services.h"
#include "core/text/Cp1252.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/Values.h"

#include <cmath>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr qsizetype LongestString = 32767;

template<typename Trimmed> QString trimEnds(const QString &text, Trimmed trimmed)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && trimmed(text[first]))
        ++first;
    while (last > first && trimmed(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

} // namespace

QString trimBlanks(const QString &text)
{
    return trimEnds(text, [](QChar c) { return c == u' '; });
}

QString trimBlanksAndTabs(const QString &text)
{
    return trimEnds(text, [](QChar c) { return c == u' ' || c == u'\t'; });
}

QString upperCaseCp1252(const QString &text)
{
    QString result = text;
    for (QChar &ch : result) {
        const QString upper = QString(ch).toUpper();
        if (upper.size() == 1 && Cp1252::canEncode(upper))
            ch = upper.front();
    }
    return result;
}

QString testoDelValore(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        QLocale italian = ItalianNumbers::locale();
        italian.setNumberOptions(QLocale::OmitGroupSeparator);
        return italian.toString(value.toDouble(), 'g', 15);
    }
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? u"Vero"_s : u"Falso"_s;
    return value.toString();
}

QString RiempiSpazi(const QVariant &value, int width)
{
    if (isNullValue(value))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    const QString text = testoDelValore(value);
    return text.size() >= width ? text : QString(width - text.size(), u' ') + text;
}

QString Allinea(const QString &text, int width, const QString &mode)
{
    if (text.size() > width)
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    if (mode == u"dx")
        return text.rightJustified(width, u' ');
    if (mode == u"sx")
        return text.leftJustified(width, u' ');
    return {};
}

QString AllineaDestra(const QString &text, int width)
{
    const qsizetype blanks = width - trimBlanks(text).size();
    if (blanks < 0)
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    return QString(blanks, u' ') + text;
}

QString RiempiCarattere(const QString &text, int width, const QString &fill)
{
    QString result = text;
    if (fill.isEmpty())
        return result;
    while (result.size() < width)
        result.prepend(fill);
    return result;
}

QString TroncaTesto(const QString &text, int n)
{
    return text.size() > n ? text.left(n) + u"..."_s : text;
}

QString EliminaACapo(const QString &text)
{
    if (text.size() > LongestString)
        throw RoutineError(ErrorCode::Overflow);
    QString result = text;
    for (QChar &ch : result) {
        if (ch == u'\r' || ch == u'\n')
            ch = u' ';
    }
    return result;
}

QString RaddoppiaApici(const QVariant &value)
{
    if (isNullValue(value))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    const QString text = testoDelValore(value);
    if (text.size() > LongestString)
        throw RoutineError(ErrorCode::Overflow);
    return QString(text).replace(u'\'', u"''"_s);
}

QString Sostituisci(const QString &text, const QString &search, const QString &replacement)
{
    if (search.isEmpty())
        return text;
    return QString(text).replace(search, replacement);
}

QString CampoSeparato(const QString &text, const QString &separator, int n)
{
    if (text.isEmpty())
        return {};
    const QStringList pieces = separator.isEmpty() ? QStringList{text} : text.split(separator);
    if (n < 0 || n >= pieces.size())
        throw RoutineError(ErrorCode::SubscriptOutOfRange);
    return trimBlanks(pieces[n]);
}

QString TestoDopoTrattino(const QVariant &value)
{
    const QString text = isNullValue(value) ? QString() : testoDelValore(value);
    if (text.isEmpty())
        return {};
    const qsizetype dash = text.indexOf(u'-') + 1; // 1-based, 0 when there is none
    const qsizetype count = text.size() - dash - 1;
    if (count < 0)
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    return trimBlanks(text.right(count));
}

int ContaOccorrenze(QString &text, QString &part, int mode)
{
    if (mode == 0) {
        text = upperCaseCp1252(text);
        part = upperCaseCp1252(part);
    }
    if (part.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + part.size()))
        ++count;
    return count;
}

QString NonNull(const QVariant &value)
{
    if (isNullValue(value))
        return {};
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15).trimmed();
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? u"True"_s : u"False"_s;
    return value.toString().trimmed();
}

int NonNull_Num(Prompt &prompt, const QVariant &value)
{
    if (isNullValue(value))
        return 0;
    std::optional<double> number;
    if (isNumericValue(value) || value.typeId() == QMetaType::Bool)
        number = value.toDouble();
    else if (value.typeId() == QMetaType::QString)
        number = ItalianNumbers::read(value.toString());
    if (!number) {
        prompt.critical(u"NonNull_Num (debug)"_s, u"ANOMALIA: parametro non numerico"_s);
        return 0;
    }
    const double rounded = std::nearbyint(*number); // the default rounding mode sends halves to even
    if (rounded < -32768 || rounded > 32767)
        throw RoutineError(ErrorCode::Overflow);
    return int(rounded);
}
