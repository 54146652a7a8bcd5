#include "applications/SelezioneDomanda.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString DueSpazi = u"  "_s;

} // namespace

QString voceOperatore(const QVariant &grupOpe, const QVariant &operatore, const QVariant &denominazione)
{
    return NonNull(grupOpe) + DueSpazi + NonNull(operatore) + DueSpazi + NonNull(denominazione);
}

OperatoreScelto scomponiVoceOperatore(const QString &voce)
{
    OperatoreScelto scelto;
    scelto.grupOpe = voce.left(1);
    const QString numero = voce.split(DueSpazi).size() > 1 ? CampoSeparato(voce, DueSpazi, 1) : QString();
    bool ok = false;
    scelto.operatore = numero.toInt(&ok);
    if (!ok)
        throw RoutineError(ErrorCode::TypeMismatch);
    scelto.denominazione = voce.split(DueSpazi).size() > 2 ? CampoSeparato(voce, DueSpazi, 2) : QString();
    return scelto;
}

bool voceDellOperatore(const QString &voce, const QString &grupOpe, const QString &operatore)
{
    bool ok = false;
    const qint32 numero = trimBlanks(operatore).toInt(&ok);
    if (!ok || grupOpe.trimmed().isEmpty())
        return false;
    try {
        const OperatoreScelto scelto = scomponiVoceOperatore(voce);
        return scelto.grupOpe.compare(trimBlanks(grupOpe), Qt::CaseInsensitive) == 0 &&
               scelto.operatore == numero;
    } catch (const RoutineError &) {
        return false;
    }
}

QString voceProvincia(const QVariant &prov, const QVariant &sigProv, const QVariant &desProv)
{
    return NonNull(prov) + u" - "_s + NonNull(sigProv) + u" - "_s + NonNull(desProv);
}

QString codiceProvincia(const QString &voce)
{
    return CampoSeparato(voce, u"-"_s, 0);
}

QString filtroOperatore(const QString &grupOpe, qint32 operatore)
{
    return u"GrupOpe='"_s + RaddoppiaApici(grupOpe) + u"' AND Operatore="_s + QString::number(operatore);
}

QString filtroGriglia(const QString &filtroOperatore, const QString &prov)
{
    return filtroOperatore + u" AND PROV = '"_s + RaddoppiaApici(prov) + u"'"_s;
}

EsitoEliminazione EliminaDomanda(Connection &corsiDB, qint32 numDoma)
{
    Transaction transaction(corsiDB);
    const int eliminate =
        corsiDB.execute(u"DELETE FROM Domande WHERE NumDoma=? AND DomandaStampata=0"_s, {numDoma});
    EsitoEliminazione esito = EsitoEliminazione::Eliminata;
    if (eliminate == 0) {
        const QVariant stampata =
            corsiDB.scalar(u"SELECT DomandaStampata FROM Domande WHERE NumDoma=?"_s, {numDoma});
        esito = stampata.isValid() && !stampata.isNull() ? EsitoEliminazione::Stampata
                                                         : EsitoEliminazione::GiaCancellata;
    }
    transaction.commit();
    return esito;
}

} // namespace kx
