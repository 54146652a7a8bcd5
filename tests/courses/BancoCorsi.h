#pragma once

#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CurrentApplication.h"

using namespace Qt::StringLiterals;

/**
 * Application 7 of operator A-12 with its seats (legal seat 1, seats 2 and 3, occasional seats 1001
 * used by component 2 and 1002 used by 2 and 3), the occasional-seat registrations of a component
 * absent from the application (4) and of another operator, and the decode tables of two cycles and
 * of three axes enabled for province "001" (a fourth only for "002"). The special actions are
 * 1.8II.2.04.07 and 2.9I.7.01.01; axis 3 has a measure without actions enabled.
 */
struct BancoCorsi
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    BancoCorsi()
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s},
                  {{7, u"A"_s, 12}, {8, u"A"_s, 12}});
        db.insert(u"CorsiSediInteressate"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
                   u"Denominazione"_s, u"Indirizzo"_s},
                  {{7, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE"_s, u"VIA ROMA 1"_s},
                   {7, 2, u"A"_s, 12, u"SO"_s,
                    u"SEDE OPERATIVA DI UN NOME MOLTO LUNGO OLTRE I TRENTACINQUE"_s, u"VIA PO 2"_s},
                   {7, 3, u"A"_s, 12, u"SO"_s, u"TERZA"_s, QVariant()},
                   {7, 1001, u"A"_s, 12, u"UO"_s, u"PALESTRA"_s, u"VIA SPORT"_s},
                   {7, 1002, u"A"_s, 12, u"UO"_s, u"AULA MAGNA"_s, u"VIA SCUOLA"_s},
                   {8, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE"_s, u"VIA ROMA 1"_s}});
        db.insert(u"CorsiSediOccUtil"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s},
                  {{u"A"_s, 12, 2, 1001},
                   {u"A"_s, 12, 3, 1002},
                   {u"A"_s, 12, 2, 1002},
                   {u"A"_s, 12, 4, 1001},
                   {u"A"_s, 13, 3, 1001},
                   {u"A"_s, 12, 1001, 1002}});

        db.insert(u"CicloFinanziario"_s, {u"CodCiclo"_s, u"Descrizione"_s},
                  {{u"2021"_s, u"PROGRAMMAZIONE 2021"_s}, {u"2014"_s, u"PROGRAMMAZIONE 2014"_s}});
        db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s},
                  {{u"2"_s, u"INCLUSIONE"_s},
                   {u"1"_s, u"OCCUPAZIONE"_s},
                   {u"3"_s, u"CAPACITA"_s},
                   {u"9"_s, u"ALTRA PROVINCIA"_s}});
        db.insert(u"Prov_Asse"_s, {u"Prov"_s, u"CodAsse"_s},
                  {{u"001"_s, u"1"_s}, {u"001"_s, u"2"_s}, {u"001"_s, u"3"_s}, {u"002"_s, u"9"_s}});
        db.insert(u"Misura"_s, {u"CodAsse"_s, u"CodMisura"_s, u"DesMisura"_s},
                  {{u"1"_s, u"8II"_s, u"ORIENTAMENTO"_s},
                   {u"1"_s, u"8III"_s, u"TIROCINI"_s},
                   {u"2"_s, u"9I"_s, u"SOSTEGNO"_s},
                   {u"3"_s, u"G"_s, u"SENZA AZIONI"_s},
                   {u"9"_s, u"Z"_s, u"NON ABILITATA"_s}});
        db.insert(u"Prov_Misura"_s, {u"Prov"_s, u"CodAsse"_s, u"CodMisura"_s},
                  {{u"001"_s, u"1"_s, u"8II"_s},
                   {u"001"_s, u"1"_s, u"8III"_s},
                   {u"001"_s, u"2"_s, u"9I"_s},
                   {u"001"_s, u"3"_s, u"G"_s},
                   {u"002"_s, u"9"_s, u"Z"_s}});
        db.insert(u"Azione"_s, {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s, u"DesAzione"_s},
                  {{u"1"_s, u"8II"_s, u"2.04.07"_s, u"LARSA"_s},
                   {u"1"_s, u"8II"_s, u"2.04.08"_s, u"LABORATORI"_s},
                   {u"1"_s, u"8III"_s, u"1.01"_s, u"TIROCINIO"_s},
                   {u"2"_s, u"9I"_s, u"7.01.01"_s, u"SOSTEGNI"_s},
                   {u"3"_s, u"G"_s, u"06.01"_s, u"NON ABILITATA"_s}});
        db.insert(u"Prov_Azione"_s, {u"Prov"_s, u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s},
                  {{u"001"_s, u"1"_s, u"8II"_s, u"2.04.07"_s},
                   {u"001"_s, u"1"_s, u"8II"_s, u"2.04.08"_s},
                   {u"001"_s, u"1"_s, u"8III"_s, u"1.01"_s},
                   {u"001"_s, u"2"_s, u"9I"_s, u"7.01.01"_s}});
        db.insert(u"AzioneDenomCorso"_s,
                  {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s, u"CodDenom"_s, u"DesAzione"_s},
                  {{u"1"_s, u"8II"_s, u"2.04.07"_s, 1, u"LARSA - Formazione / Scuola"_s},
                   {u"1"_s, u"8II"_s, u"2.04.07"_s, 2, u"Integrazione di persone portatrici di handicap"_s},
                   {u"1"_s, u"8II"_s, u"2.04.08"_s, 1, u"Laboratori di lingua italiana"_s},
                   {u"2"_s, u"9I"_s, u"7.01.01"_s, 1, u"Azione di sostegno individuale"_s}});
        db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s},
                  {{1, u"STUDENTI"_s}, {2, u"GIOVANI STRANIERI"_s}, {12, u"DISABILI"_s}});
        db.insert(u"AzioneDestin"_s, {u"CodAsse"_s, u"CodMisura"_s, u"CodAzione"_s, u"CodDest"_s},
                  {{u"1"_s, u"8II"_s, u"2.04.07"_s, 12},
                   {u"1"_s, u"8II"_s, u"2.04.07"_s, 1},
                   {u"1"_s, u"8II"_s, u"2.04.08"_s, 2},
                   {u"2"_s, u"9I"_s, u"7.01.01"_s, 1}});

        kx::Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), kx::Connection::Mode::Shared);
        kx::CurrentApplication &domanda = context.domanda();
        domanda.NumDomaCorrente = 7;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;
    }

    kx::Connection &connessione() { return test.context().DE().CorsiDB(); }

    /** The codes of a seat of application 7, in code order. */
    QStringList codici(qint32 sede)
    {
        QStringList elenco;
        for (const QVariantList &riga :
             db.query(
                   u"SELECT Corso FROM CorsiProp WHERE NumDoma = 7 AND SedeInteressata = ? ORDER BY Corso"_s,
                   {sede})
                 .rows)
            elenco.append(riga.value(0).toString());
        return elenco;
    }
};
