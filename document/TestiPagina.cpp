#include "document/TestiPagina.h"

#include "core/services/RoutineError.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"
#include "core/text/Values.h"

using namespace Qt::StringLiterals;

namespace kx {

QString TestoDaCampo(const QVariant &valore)
{
    if (isNullValue(valore))
        return {};
    if (!isNumericValue(valore))
        return valore.toString();
    const double numero = valore.toDouble();
    const QString cifre = valore.typeId() == QMetaType::Double || valore.typeId() == QMetaType::Float
                              ? QString::number(numero, 'g', 15)
                              : valore.toString();
    return numero < 0 ? cifre : u' ' + cifre;
}

QVariant richiesto(const QVariant &valore)
{
    if (isNullValue(valore))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    return valore;
}

QString testoDiretto(const QVariant &valore)
{
    return testoDelValore(richiesto(valore));
}

QString testoImporto(double valore)
{
    return ItalianNumbers::formatAmount(valore);
}

} // namespace kx

namespace kx {

namespace {

/** A column's value joined as text: Null adds nothing. */
QString parte(const QVariant &valore)
{
    return isNullValue(valore) ? QString() : testoDelValore(valore);
}

} // namespace

IdentificativoFiscale identificativoFiscale(const QVariant &codFisc, const QVariant &pIva)
{
    const QString codice = TestoDaCampo(codFisc);
    const QString partitaIva = TestoDaCampo(pIva);
    if (!partitaIva.isEmpty())
        return {u"PARTITA IVA"_s, partitaIva};
    if (!codice.isEmpty())
        return {u"CODICE FISCALE"_s, codice};
    return {u"CODICE FISCALE/P.IVA"_s, QString()};
}

QString dataNascita(const QVariant &giorno, const QVariant &mese, const QVariant &anno)
{
    const QString gg = parte(giorno);
    const QString mm = parte(mese);
    const QString aaaa = parte(anno);
    if (gg.isEmpty() && mm.isEmpty() && aaaa.isEmpty())
        return {};
    return gg + u'/' + mm + u'/' + aaaa;
}

QString classificazioneCorso(const QVariant &asse, const QVariant &misura, const QVariant &azione)
{
    if (isNullValue(asse) && isNullValue(misura) && isNullValue(azione))
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    const QString separatore = u" ,  "_s;
    QString testo;
    if (!isNullValue(asse))
        testo += parte(asse) + separatore;
    if (!isNullValue(misura))
        testo += parte(misura) + separatore;
    return testo + parte(azione);
}

QString tipologiaCorso(const QVariant &numAll)
{
    const bool individuale = !isNullValue(numAll) && numAll.toDouble() == 1;
    return individuale ? u"ATTIVITA' INDIVIDUALI"_s : u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
}

QString allieviPreventivo(const QVariant &allieviSpesa, const QVariant &numAll)
{
    if (!isNullValue(allieviSpesa) && allieviSpesa.toDouble() > 0)
        return testoDiretto(allieviSpesa);
    return u'(' + parte(numAll) + u')';
}

} // namespace kx
