#include "core/state/DomandaCorrente.h"

#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Ricerche.h"
#include "core/text/TextRoutines.h"

#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The text as a number ("." before decimals), rounded half to even as the old run time did. */
std::optional<double> arrotondato(const QString &text)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return std::nearbyint(number);
}

bool in32Bit(double number)
{
    return number >= std::numeric_limits<qint32>::min() && number <= std::numeric_limits<qint32>::max();
}

/** An operator number as the program keeps it: any 32-bit whole number. */
qint32 numeroOperatore(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    const std::optional<double> number = arrotondato(value.toString());
    if (!number)
        throw RoutineError(ErrorCode::TypeMismatch);
    if (!in32Bit(*number))
        throw RoutineError(ErrorCode::Overflow);
    return qint32(*number);
}

bool comeBooleano(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        throw RoutineError(ErrorCode::InvalidUseOfNull);
    return value.toBool();
}

} // namespace

QString filtroDomanda(const QString &grupOpe, qint32 operatore, qint32 numDoma)
{
    return u"GrupOpe='"_s + RaddoppiaApici(grupOpe) + u"' AND Operatore="_s + QString::number(operatore) +
           u" AND NumDoma="_s + QString::number(numDoma);
}

qint32 numeroDomandaIni(const QString &value)
{
    const std::optional<double> number = arrotondato(value);
    return number && in32Bit(*number) ? qint32(*number) : 0;
}

void CaricaDomandaCorrente(Context &context)
{
    clsFileINI &ini = context.fileIni();
    qint32 numero = numeroDomandaIni(ini.Leggi(IniKeys::NumDoma, u"0"_s));

    Recordset &rsDomande = context.DE().rs(u"Domande"_s);
    if (rsDomande.isOpen())
        rsDomande.close();
    rsDomande.open();
    rsDomande.setFilter(u"NumDoma = "_s + QString::number(numero));
    if (rsDomande.eof()) {
        rsDomande.clearFilter();
        numero = rsDomande.recordCount() == 1 ? qint32(rsDomande.value(u"NumDoma"_s).toLongLong()) : 0;
    }
    context.domanda().NumDomaCorrente = numero;
    SalvaVarIni(context);
}

void SalvaVarIni(Context &context)
{
    runWithRetry(context, u"SalvaVarIni"_s, [&context] {
        CurrentApplication &domanda = context.domanda();
        Recordset &rsDomande = context.DE().rs(u"Domande"_s);
        if (rsDomande.isOpen())
            rsDomande.close();
        rsDomande.open();
        rsDomande.setFilter(u"NumDoma = "_s + QString::number(domanda.NumDomaCorrente));
        clsFileINI &ini = context.fileIni();

        CurrentApplication loaded;
        if (!rsDomande.eof()) {
            loaded.NumDomaCorrente = domanda.NumDomaCorrente;
            loaded.GrupOpeCorrente = NonNull(rsDomande.value(u"GrupOpe"_s));
            const qint32 operatore = numeroOperatore(rsDomande.value(u"Operatore"_s));
            loaded.OperatoreCorrente = QString::number(operatore);
            loaded.DenominazioneOpCorrente = NonNull(rsDomande.value(u"DenominazioneOP"_s));
            loaded.ProvCorrente = NonNull(rsDomande.value(u"PROV"_s));
            loaded.DomandaStampataCorrente = comeBooleano(rsDomande.value(u"DomandaStampata"_s));
            loaded.DesProvCorrente = RecuperaDesProv(context, loaded.ProvCorrente);
            loaded.FiltroDomandaCorrente =
                filtroDomanda(loaded.GrupOpeCorrente, operatore, loaded.NumDomaCorrente);
        }
        domanda = loaded;
        ini.Scrivi(IniKeys::NumDoma, QString::number(domanda.NumDomaCorrente));
        rsDomande.clearFilter();
        rsDomande.close();
    });
}

void ImpostaDomandaCorrente(Context &context, qint32 numero)
{
    context.domanda().NumDomaCorrente = numero;
    SalvaVarIni(context);
}
