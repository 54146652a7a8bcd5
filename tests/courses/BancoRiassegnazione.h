#pragma once

#include "tests/courses/BancoCorsi.h"

/**
 * The seats of BancoCorsi with courses to move. Application 7: seat 2 holds "0001", "0002" (with a
 * yearly cost row) and "0005" (responsible component 3); seat 3 holds "0001" to "0003"; occasional
 * seat 1001 holds "0001" and "0004", both under component 2; seat 5 holds "0001" but has no row in
 * the seat snapshot. Seats 1 and 1002 have no courses. Application 8 has a course at seat 1.
 */
struct BancoRiassegnazione : BancoCorsi
{
    BancoRiassegnazione()
    {
        db.insert(
            u"CorsiProp"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"CompoResp"_s,
             u"DenCorso"_s, u"CodAsse"_s, u"NumAll"_s, u"TotaleSpesa"_s, u"OreStage"_s, u"Guid"_s},
            {{7, 2, u"A"_s, 12, u"0001"_s, QVariant(), u"SALDATURA"_s, u"1"_s, 6, 1200.5, 40, u"{G-2-1}"_s},
             {7, 2, u"A"_s, 12, u"0002"_s, QVariant(), u"TORNITURA"_s, u"2"_s, 3, 800.0, QVariant(),
              u"{G-2-2}"_s},
             {7, 2, u"A"_s, 12, u"0005"_s, 3, u"FRESATURA"_s, u"1"_s, 12, 950.25, 10, u"{G-2-5}"_s},
             {7, 3, u"A"_s, 12, u"0001"_s, QVariant(), u"CUCINA"_s, u"1"_s, 8, 100.0, 0, u"{G-3-1}"_s},
             {7, 3, u"A"_s, 12, u"0002"_s, QVariant(), u"SALA"_s, u"1"_s, 8, 100.0, 0, u"{G-3-2}"_s},
             {7, 3, u"A"_s, 12, u"0003"_s, QVariant(), u"BAR"_s, u"1"_s, 8, 100.0, 0, u"{G-3-3}"_s},
             {7, 1001, u"A"_s, 12, u"0001"_s, 2, u"NUOTO"_s, u"2"_s, 5, 300.0, 0, u"{G-1001-1}"_s},
             {7, 1001, u"A"_s, 12, u"0004"_s, 2, u"VELA"_s, u"2"_s, 5, 300.0, 0, u"{G-1001-4}"_s},
             {7, 5, u"A"_s, 12, u"0001"_s, QVariant(), u"SENZA SEDE"_s, u"1"_s, 2, 10.0, 0, u"{G-5-1}"_s},
             {8, 1, u"A"_s, 12, u"0001"_s, QVariant(), u"ALTRA DOMANDA"_s, u"1"_s, 2, 10.0, 0, u"{G-8}"_s}});
        db.insert(u"CorsiPropSpese"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"ProgrAnno"_s, u"TotaleSpesa"_s},
                  {{7, 2, u"0002"_s, 1, 400.0}, {7, 2, u"0002"_s, 2, 400.0}});
    }

    /** Every course row, every column, in key order. */
    QList<QVariantList> corsi()
    {
        return db.query(u"SELECT * FROM CorsiProp ORDER BY NumDoma, SedeInteressata, Corso"_s).rows;
    }

    /** One column of the course with that Guid. */
    QVariant colonna(const QString &guid, const QString &nome)
    {
        return db.scalar(u"SELECT "_s + nome + u" FROM CorsiProp WHERE Guid = ?"_s, {guid});
    }

    /** Makes the update of one course fail, as a database error in the middle of a move would. */
    void guastoAlCorso(qint32 sede, const QString &corso)
    {
        db.execute(u"CREATE TRIGGER Guasto BEFORE UPDATE ON CorsiProp WHEN OLD.NumDoma = 7 AND "
                   u"OLD.SedeInteressata = "_s +
                   QString::number(sede) + u" AND OLD.Corso = '"_s + corso +
                   u"' BEGIN SELECT RAISE(ABORT, 'disco guasto'); END"_s);
    }
};
