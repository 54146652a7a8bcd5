#include "core/state/Ricerche.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** One column of the Province row of the code; the lookup reads the table with its own statement. */
QString colonnaProvincia(Context &context, const QString &routine, const QString &column,
                         const QString &codice)
{
    try {
        const QVariant value = context.DE().CorsiDB().scalar(
            u"SELECT "_s + quotedIdentifier(column) + u" FROM Province WHERE Prov = ?"_s, {codice});
        return NonNull(value);
    } catch (const RoutineError &error) {
        context.prompt.critical(u"Errore"_s, testoErroreRoutine(routine, error));
        return {};
    }
}

qint32 operatoreCorrente(const Context &context)
{
    return context.domanda().OperatoreCorrente.toInt();
}

} // namespace

QString RecuperaDesProv(Context &context, const QString &codice)
{
    return colonnaProvincia(context, u"RecuperaDesProv"_s, u"DesProv"_s, codice);
}

QString RecuperaSigProv(Context &context, const QString &codice)
{
    return colonnaProvincia(context, u"RecuperaSigProv"_s, u"SigProv"_s, codice);
}

void avvisaMancaSedeLegale(Prompt &prompt, const QString &grupOpe, qint32 operatore)
{
    prompt.critical(u"Installazione/Aggiornamento Base Dati"_s,
                    u"Manca la sede legale dell'Operatore "_s + grupOpe + u" - "_s +
                        QString::number(operatore) + u". Impossibile utilizzare il programma."_s);
}

QString RecuperaSedeLegale(Context &context, const QString &grupOpe, qint32 operatore, const QString &modo)
{
    Connection &corsiDB = context.DE().CorsiDB();
    const QVariant componente = corsiDB.scalar(u"SELECT Componente FROM CorsiCompo WHERE GrupOpe = ? AND "
                                               u"Operatore = ? AND TipoCompo = 'SL' ORDER BY Componente"_s,
                                               {grupOpe, operatore});
    if (componente.isValid() && !componente.isNull())
        return NonNull(componente);
    if (modo == u"Installazione") {
        avvisaMancaSedeLegale(context.prompt, grupOpe, operatore);
        corsiDB.execute(u"DELETE FROM CorsiOper"_s);
        context.programExit.exit();
    }
    return u"0"_s;
}

int ContaSediInteressate(Context &context)
{
    return context.DE()
        .CorsiDB()
        .scalar(u"SELECT COUNT(*) FROM QrySediIntCorsi WHERE NumDoma = ?"_s,
                {context.domanda().NumDomaCorrente})
        .toInt();
}

int ContaCorsi(Context &context)
{
    return context.DE()
        .CorsiDB()
        .scalar(u"SELECT COUNT(*) FROM QryCorsi WHERE NumDoma = ?"_s, {context.domanda().NumDomaCorrente})
        .toInt();
}

double CalcolaTotaleSpesa(Context &context)
{
    const QueryResult rows = context.DE().CorsiDB().query(
        u"SELECT TotaleSpesa FROM QryCorsi WHERE NumDoma = ?"_s, {context.domanda().NumDomaCorrente});
    double totale = 0;
    for (const QVariantList &row : rows.rows)
        totale += row.front().toDouble();
    return totale;
}

QString ChiaveUtenteCorso(Context &context, qint32 idAttivita)
{
    const QueryResult rows = context.DE().CorsiDB().query(
        u"SELECT GrupOpe, Operatore, Componente, ProgrAttivita, AnnoInizio, ProgrAccorp, AnnGest, DenCorso "
        u"FROM CorsiApprovati WHERE idAttivita = ?"_s,
        {idAttivita});
    if (rows.rows.isEmpty())
        throw RoutineError(ErrorCode::NoCurrentRecord);
    const QVariantList &row = rows.rows.front();
    const QString chiave = NonNull(row[0]) + u'.' + NonNull(row[1]) + u'.' + NonNull(row[2]) + u" - "_s +
                           NonNull(row[3]) + u" - "_s + NonNull(row[4]) + u" - "_s + NonNull(row[5]) +
                           u" - "_s + NonNull(row[6]) + u" - "_s + NonNull(row[7]);
    return chiave.left(100);
}

bool SedeOccUtilizzata(Context &context, int componente, const QString &sedeOcc)
{
    const QVariant count = context.DE().CorsiDB().scalar(
        u"SELECT COUNT(*) FROM CorsiSediOccUtil WHERE GrupOpe = ? AND Operatore = ? AND SedeOcc = ? "
        u"AND Componente = ?"_s,
        {context.domanda().GrupOpeCorrente, operatoreCorrente(context), sedeOcc, componente});
    return count.toInt() > 0;
}
