#include "transmission/CampiTrasmissione.h"

#include "core/services/RoutineError.h"
#include "core/text/Cp1252.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"
#include "core/text/Values.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The largest whole number a double holds exactly: above it digits would be invented. */
constexpr double InteroEsatto = 9007199254740992.0;

/** The Italian form without grouping, as the regional settings give it. */
QLocale localeItaliano()
{
    QLocale italiano = ItalianNumbers::locale();
    italiano.setNumberOptions(QLocale::OmitGroupSeparator);
    return italiano;
}

/** The number of a value that must hold one, read the Italian way from a text. */
double numeroDelValore(const QVariant &valore)
{
    if (isNullValue(valore))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    std::optional<double> numero;
    if (isNumericValue(valore))
        numero = valore.toDouble();
    else if (valore.typeId() == QMetaType::QString)
        numero = ItalianNumbers::read(valore.toString());
    if (!numero)
        throw RoutineError(ErrorCode::TypeMismatch);
    // The file has no form for an infinite amount, nor for no number at all.
    if (!std::isfinite(*numero))
        throw RoutineError(ErrorCode::Overflow);
    return *numero;
}

} // namespace

QByteArray rigaRecord(const QStringList &campi)
{
    return Cp1252::encode(QString(u'#' + campi.join(u"#,#"_s) + u"#\r\n"_s));
}

bool contieneCancelletto(const QStringList &campi)
{
    return std::any_of(campi.begin(), campi.end(), [](const QString &campo) { return campo.contains(u'#'); });
}

bool contieneControllo(const QStringList &campi)
{
    return std::any_of(campi.begin(), campi.end(), [](const QString &campo) {
        return std::any_of(campo.begin(), campo.end(), [](QChar c) {
            return c.category() == QChar::Other_Control && c != u'\r' && c != u'\n';
        });
    });
}

QString ChiaveDomanda(qint32 NumDoma)
{
    const qint64 chiave = qint64(NumDoma) + 1000000;
    if (chiave > std::numeric_limits<qint32>::max())
        throw RoutineError(ErrorCode::Overflow);
    return QString::number(chiave);
}

QString testoDataTrasm(const QDate &data)
{
    return data.toString(u"yyyyMMdd"_s);
}

QString campoSemplice(const QVariant &valore)
{
    if (isNullValue(valore))
        return {};
    if (valore.typeId() == QMetaType::Double || valore.typeId() == QMetaType::Float) {
        const double numero = valore.toDouble();
        if (!std::isfinite(numero))
            throw RoutineError(ErrorCode::Overflow); // "inf" or "nan" would reach the file
        if (std::trunc(numero) == numero && std::fabs(numero) <= InteroEsatto)
            return QString::number(qint64(numero));
        return localeItaliano().toString(numero, 'g', 15);
    }
    return testoDelValore(valore);
}

qint32 interoConvertito(const QVariant &valore, qint32 minimo, qint32 massimo)
{
    const double arrotondato = std::nearbyint(numeroDelValore(valore)); // halves to even, as CInt and CLng
    if (!(arrotondato >= minimo && arrotondato <= massimo))
        throw RoutineError(ErrorCode::Overflow);
    return qint32(arrotondato);
}

qint32 intero16(const QVariant &valore)
{
    return interoConvertito(valore, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
}

qint32 intero32(const QVariant &valore)
{
    return interoConvertito(valore, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
}

QString VirgolaInPunto(const QString &testo)
{
    const qsizetype virgola = testo.left(testo.size() - 1).indexOf(u',');
    if (virgola < 0)
        return testo;
    return testo.left(virgola) + u'.' + testo.mid(virgola + 1);
}

QString campoImporto(const QVariant &valore)
{
    return VirgolaInPunto(localeItaliano().toString(numeroDelValore(valore), 'f', 2));
}

QString campoParametro(const QVariant &valore)
{
    if (isNullValue(valore))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    if (isNumericValue(valore) && !std::isfinite(valore.toDouble()))
        throw RoutineError(ErrorCode::Overflow);
    return VirgolaInPunto(testoDelValore(valore));
}

QString campoDataNascita(const QVariant &giorno, const QVariant &mese, const QVariant &anno)
{
    const QString data = campoSemplice(giorno) + u'-' + campoSemplice(mese) + u'-' + campoSemplice(anno);
    return data == u"--" ? QString() : data;
}

RiferimentoCorso riferimentoCorso(const QVariant &idAttivita, const QVariant &corsoRifLibero,
                                  const std::function<QString(qint32)> &chiaveUtenteCorso)
{
    RiferimentoCorso r;
    r.identificativo = NonNull(idAttivita);
    // A key with a line break would split the record, as a free text would.
    r.riferimento = EliminaACapo(r.identificativo.isEmpty() ? NonNull(corsoRifLibero)
                                                            : chiaveUtenteCorso(intero32(idAttivita)));
    return r;
}
