#pragma once

#include "applications/CreazioneDomanda.h"
#include "tests/applications/BancoOperatore.h"

/**
 * Application 7 of operator A-12 with its seats: the legal seat 1 in Torino (whose CAP the
 * municipality table holds as 10100) and the operational seat 2 abroad.
 */
struct BancoSedi : BancoOperatore
{
    BancoSedi()
    {
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"Cap"_s},
                  {{u"L219"_s, u"TORINO"_s, u"001"_s, u"10100"_s}});
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
                   u"Denominazione"_s, u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s, u"Tel"_s, u"Fax"_s,
                   u"StatoEstero"_s, u"CittaEstero"_s, u"Email"_s, u"Riferimento"_s},
                  {{7, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE"_s, u"L219"_s, u"10121"_s, u"VIA ROMA 1"_s,
                    u"011 1"_s, QVariant(), QVariant(), QVariant(), QVariant(), u"BIANCHI"_s},
                   {7, 2, u"A"_s, 12, u"SO"_s, u"SEDE OPERATIVA"_s, QVariant(), QVariant(), u"RUE 2"_s, u""_s,
                    u""_s, u"FRANCIA"_s, u"PARIGI"_s, u""_s, u"VERDI"_s}});
    }

    /** Adds the occasional seat 3 used by the operator's components 2 and 1, and the seats 4 and 5. */
    void altreSedi()
    {
        db.insert(u"TipoCompo"_s, {u"TipoCompo"_s, u"Descrizione"_s},
                  {{u"SL"_s, u"SEDE LEGALE"_s}, {u"UO"_s, u"SEDE OCCASIONALE"_s}});
        db.insert(u"CorsiSediOcc"_s, {u"SedeOcc"_s, u"Denominazione"_s, u"Tel"_s},
                  {{3, u"PALESTRA"_s, u"1"_s}});
        db.insert(u"CorsiSediOccUtil"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s, u"Email"_s},
                  {{u"A"_s, 12, 2, 3, u"due@x.it"_s}, {u"A"_s, 12, 1, 3, u"uno@x.it"_s}});
        db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s},
                  {{u"A"_s, 12, 4, u"SO"_s}, {u"A"_s, 12, 5, u"SO"_s}});
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
                   u"Denominazione"_s, u"CodComune"_s, u"Riferimento"_s},
                  {{7, 3, u"A"_s, 12, u"UO"_s, u"PALESTRA"_s, u"L219"_s, u"NERI"_s},
                   {7, 4, u"A"_s, 12, u"SO"_s, u"QUATTRO"_s, QVariant(), u"X"_s},
                   {7, 5, u"A"_s, 12, u"SO"_s, u"CINQUE"_s, QVariant(), u"Y"_s}});
    }

    /** One column of a seat's snapshot row. */
    QVariant snapshot(int sede, const QString &colonna)
    {
        return db.scalar(u"SELECT "_s + colonna +
                             u" FROM CorsiSediInteressate WHERE NumDoma=7 AND SedeInteressata=?"_s,
                         {sede});
    }

    /** One column of the legal seat's snapshot row, or of its registry row. */
    QVariant sede(const QString &colonna)
    {
        return db.scalar(u"SELECT "_s + colonna +
                         u" FROM CorsiSediInteressate WHERE NumDoma=7 AND SedeInteressata=1"_s);
    }
    QVariant registro(const QString &colonna)
    {
        return db.scalar(u"SELECT "_s + colonna +
                         u" FROM CorsiCompo WHERE GrupOpe='A' AND Operatore=12 AND Componente=1"_s);
    }
    QString capComune() { return db.scalar(u"SELECT Cap FROM Comuni WHERE CodComune='L219'"_s).toString(); }

    /**
     * Makes application 8 current, created from the registry as the selection window creates one: its
     * components 1 and 2 (their contacts Null) and the occasional seat 1000 that component 1 uses, whose
     * use holds an e-mail address and a reference the snapshot leaves empty.
     */
    void domandaNuova()
    {
        db.insert(u"CorsiSediOcc"_s,
                  {u"SedeOcc"_s, u"Denominazione"_s, u"Indirizzo"_s, u"CodComune"_s, u"TipoCompo"_s},
                  {{1000, u"AULA"_s, u"PIAZZA 3"_s, u"L219"_s, u"UO"_s}});
        db.insert(u"CorsiSediOccUtil"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s, u"Email"_s, u"Riferimento"_s},
                  {{u"A"_s, 12, 1, 1000, u"aula@ente.it"_s, u"VERDI"_s}});
        kx::CreaDomanda(test.context().DE().CorsiDB(), test.prompt, {8, u"A"_s, 12, u"000"_s});
        kx::CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = 8;
        domanda.FiltroDomandaCorrente = u"GrupOpe='A' AND Operatore=12 AND NumDoma=8"_s;
    }

    /**
     * Every value of the tables a seat's save may write, one line each: table, rowid, column and the
     * value, a Null told apart from an empty text.
     */
    QStringList fotografia()
    {
        QStringList valori;
        for (const QString &tabella :
             {u"CorsiSediInteressate"_s, u"CorsiCompo"_s, u"CorsiSediOcc"_s, u"CorsiSediOccUtil"_s}) {
            const kx::QueryResult righe =
                db.query(u"SELECT rowid, * FROM "_s + tabella + u" ORDER BY rowid"_s);
            for (const QVariantList &riga : righe.rows)
                for (qsizetype c = 1; c < riga.size(); ++c)
                    valori << tabella + u"#"_s + riga[0].toString() + u"."_s + righe.columns[c].name +
                                  u"="_s +
                                  (riga[c].isNull() ? u"Null"_s : u"'"_s + riga[c].toString() + u"'"_s);
        }
        return valori;
    }

    /** The lines of a later fotografia that differ from an earlier one. */
    static QStringList differenze(const QStringList &prima, const QStringList &dopo)
    {
        QStringList diverse;
        for (const QString &valore : dopo)
            if (!prima.contains(valore))
                diverse << valore;
        return diverse;
    }
};
