#include "courses/ClassificationLists.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QString codiceDi(const QString &voce)
{
    return CampoSeparato(voce, u" "_s, 0);
}

/** The blank entry, then code, two blanks and description of each row. */
QStringList vociCodificate(Connection &db, const QString &sql, const QVariantList &params)
{
    const QueryResult righe = db.query(sql, params);
    QStringList voci{QString()};
    voci.reserve(righe.rows.size() + 1);
    for (const QVariantList &riga : righe.rows)
        voci.append(NonNull(riga.value(0)) + u"  "_s + NonNull(riga.value(1)));
    return voci;
}

/** A list that shows an entry narrows the statement to the entry's code. */
void condizione(QString &sql, QVariantList &params, const QString &colonna, const QString &voce)
{
    if (trimBlanks(voce).isEmpty())
        return;
    sql += u" AND "_s + colonna + u" = ?"_s;
    params.append(codiceDi(voce));
}

} // namespace

QString actionCode(const QString &asse, const QString &misura, const QString &azione)
{
    return codiceDi(asse) + u'.' + codiceDi(misura) + u'.' + codiceDi(azione);
}

bool isSpecialAction(const QString &codiceAzione)
{
    return codiceAzione == AzioneRiferimentoB111 || codiceAzione == AzioneRiferimentoC211;
}

QStringList IniCmbCicloFin(Connection &db)
{
    return vociCodificate(db, u"SELECT CodCiclo, Descrizione FROM CicloFinanziario ORDER BY CodCiclo"_s, {});
}

QStringList IniAsse(Connection &db)
{
    return vociCodificate(db,
                          u"SELECT A.CodAsse, A.DesAsse FROM Asse A, Prov_Asse B "
                          u"WHERE A.CodAsse = B.CodAsse AND B.Prov = ? ORDER BY A.CodAsse"_s,
                          {ProvinciaCorsi});
}

QStringList IniMisura(Connection &db, const QString &asse)
{
    QString sql = u"SELECT A.CodMisura, A.DesMisura FROM Misura A, Prov_Misura B "
                  u"WHERE A.CodAsse = B.CodAsse AND A.CodMisura = B.CodMisura AND B.Prov = ?"_s;
    QVariantList params{ProvinciaCorsi};
    condizione(sql, params, u"A.CodAsse"_s, asse);
    return vociCodificate(db, sql + u" ORDER BY A.CodAsse, A.CodMisura"_s, params);
}

QStringList IniAzione(Connection &db, const QString &asse, const QString &misura)
{
    QString sql = u"SELECT A.CodAzione, A.DesAzione FROM Azione A, Prov_Azione B "
                  u"WHERE A.CodAsse = B.CodAsse AND A.CodMisura = B.CodMisura AND A.CodAzione = B.CodAzione "
                  u"AND B.Prov = ?"_s;
    QVariantList params{ProvinciaCorsi};
    condizione(sql, params, u"A.CodAsse"_s, asse);
    condizione(sql, params, u"A.CodMisura"_s, misura);
    return vociCodificate(db, sql + u" ORDER BY A.CodAsse, A.CodMisura, A.CodAzione"_s, params);
}

// Names and target groups follow the joined text of their three codes, compared without regard to
// case as every text of the database is; the schema indexes that expression.
QStringList IniDenCorso(Connection &db, const QString &codiceAzione)
{
    const QueryResult righe =
        db.query(u"SELECT A.CodDenom, A.DesAzione FROM AzioneDenomCorso A "
                 u"WHERE upper(A.CodAsse || '.' || A.CodMisura || '.' || A.CodAzione) = upper(?) "
                 u"ORDER BY A.CodAsse, A.CodMisura, A.CodAzione"_s,
                 {codiceAzione});
    QStringList voci{QString()};
    for (const QVariantList &riga : righe.rows) {
        if (riga.value(1).isNull())
            throw RoutineError(ErrorCode::InvalidUseOfNull);
        voci.append(riga.value(1).toString());
    }
    return voci;
}

QStringList IniDesta(Connection &db, const QString &codiceAzione)
{
    return vociCodificate(
        db,
        u"SELECT A.CodDest, B.DesDest FROM AzioneDestin A, Destin B "
        u"WHERE upper(A.CodAsse || '.' || A.CodMisura || '.' || A.CodAzione) = upper(?) "
        u"AND A.CodDest = B.CodDest ORDER BY A.CodAsse, A.CodMisura, A.CodAzione, A.CodDest"_s,
        {codiceAzione});
}

QStringList IniComp(const QString &codiceAzione)
{
    QStringList voci{QString()};
    if (isSpecialAction(codiceAzione))
        voci.append(u"1"_s);
    return voci;
}

QString voceComponenteResponsabile(const QVariant &sede, const QVariant &denominazione,
                                   const QVariant &tipoCompo, const QVariant &indirizzo)
{
    // A seat code of four or more digits is kept whole: the entry still begins with the code.
    return trimBlanks(NonNull(sede)).leftJustified(3, u' ') + u" - "_s + NonNull(denominazione).left(35) +
           u" - "_s + NonNull(tipoCompo) + u" - "_s + NonNull(indirizzo);
}

ComponentiResponsabili IniCompoResp(Connection &db, qint32 numDoma, const QString &grupOpe,
                                    const QString &operatore, const QString &sede)
{
    const QueryResult righe = db.query(
        u"SELECT S.SedeInteressata, S.Denominazione, S.TipoCompo, S.Indirizzo FROM CorsiSediInteressate S "
        u"WHERE S.NumDoma = ? AND S.TipoCompo <> 'UO' AND EXISTS (SELECT 1 FROM CorsiSediOccUtil U "
        u"WHERE U.GrupOpe = ? AND U.Operatore = ? AND U.SedeOcc = ? AND U.Componente = S.SedeInteressata) "
        u"ORDER BY S.SedeInteressata"_s,
        {numDoma, grupOpe, operatore.toLongLong(), sede.toLongLong()});
    ComponentiResponsabili componenti;
    componenti.voci.append(QString());
    for (const QVariantList &riga : righe.rows)
        componenti.voci.append(
            voceComponenteResponsabile(riga.value(0), riga.value(1), riga.value(2), riga.value(3)));
    if (componenti.voci.size() == 2)
        componenti.preselezione = 1;
    return componenti;
}
