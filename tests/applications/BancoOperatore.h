#pragma once

#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/state/CurrentApplication.h"

#include <QVariantMap>

using Valori = QVariantMap;

using namespace Qt::StringLiterals;

/**
 * Operator A-12 with two components, application 7 of that operator filled in, the decode tables
 * of types, activities (one code above 255) and provinces, and a neighbour of another group and
 * region that must stay out of the lists.
 */
struct BancoOperatore
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    BancoOperatore()
    {
        db.insert(u"TipoOper"_s, {u"GrupOpe"_s, u"TipoOper"_s, u"Descrizione"_s},
                  {{u"A"_s, u"01"_s, u"ENTE PUBBLICO"_s},
                   {u"B"_s, u"01"_s, u"ALTRO GRUPPO"_s},
                   {u"A"_s, u"02"_s, u"ASSOCIAZIONE"_s}});
        db.insert(u"CorsiCompo"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s,
                   u"Indirizzo"_s},
                  {{u"A"_s, 12, 2, u"SO"_s, u"SEDE OPERATIVA DI UN NOME MOLTO LUNGO OLTRE I TRENTACINQUE"_s,
                    u"VIA PO 2"_s},
                   {u"A"_s, 13, 1, u"SL"_s, u"ALTRO OPERATORE"_s, u"VIA ALTRA"_s},
                   {u"A"_s, 12, 1, u"SL"_s, u"SEDE LEGALE"_s, u"VIA ROMA 1"_s}});
        db.insert(u"AttEcono"_s, {u"AttEcono"_s, u"Descrizione"_s},
                  {{85, u"ISTRUZIONE"_s}, {5, u"AGRICOLTURA"_s}, {300, u"SERVIZI"_s}});
        db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s, u"REGIONE"_s},
                  {{u"002"_s, u"CN"_s, u"CUNEO"_s, u"01"_s},
                   {u"099"_s, u"MI"_s, u"MILANO"_s, u"03"_s},
                   {u"001"_s, u"TO"_s, u"TORINO"_s, u"01"_s}});
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s, u"CodFisc"_s},
                  {{u"A"_s, 12, u"ENTE UNO"_s, u"CF"_s}, {u"A"_s, 13, u"ENTE DUE"_s, u"CF2"_s}});
        db.insert(
            u"Domande"_s,
            {u"NumDoma"_s,         u"GrupOpe"_s,    u"Operatore"_s,    u"PROV"_s,      u"Domanda"_s,
             u"DenominazioneOp"_s, u"TipoOper"_s,   u"CodFisc"_s,      u"PIva"_s,      u"Corrispondenza"_s,
             u"LegNome"_s,         u"LegComNasc"_s, u"LegProvNasc"_s,  u"LegGGNasc"_s, u"LegMMNasc"_s,
             u"LegAAAANasc"_s,     u"ContIBAN"_s,   u"ContDesBanca"_s, u"ContAge"_s,   u"ContIndirAge"_s,
             u"ContNumCC"_s,       u"ContIntCC"_s,  u"ProvCCIAA"_s,    u"CodCCIAA"_s,  u"AnnoCCIAA"_s,
             u"AttEcono"_s,        u"DomPrece"_s,   u"GGPrece"_s,      u"MMPrece"_s,   u"AAAAPrece"_s,
             u"DomPROV"_s,         u"Direttiva"_s,  u"AnnoDirettiva"_s},
            {{7,
              u"A"_s,
              12,
              u"001"_s,
              1,
              u"ENTE UNO"_s,
              u"01"_s,
              u"CF"_s,
              QVariant(),
              1,
              u"ROSSI MARIO"_s,
              u"TORINO"_s,
              u"TO"_s,
              u"01"_s,
              u"02"_s,
              u"1960"_s,
              u"IT60X"_s,
              u"BANCA"_s,
              u"12"_s,
              u"VIA BANCA"_s,
              u"999"_s,
              u"ENTE UNO"_s,
              u"TO"_s,
              u"12345"_s,
              u"1990"_s,
              85,
              u"44"_s,
              u"01"_s,
              u"03"_s,
              u"2015"_s,
              u"TORINO"_s,
              u"DIR 1"_s,
              u"2014"_s}});
        kx::CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = 7;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;
        domanda.DenominazioneOpCorrente = u"ENTE UNO"_s;
        domanda.FiltroDomandaCorrente = u"GrupOpe='A' AND Operatore=12 AND NumDoma=7"_s;
        test.context().DE().CorsiDB().open(db.path(), kx::Connection::Mode::Shared);
    }
    ~BancoOperatore()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    /** Changes columns of application 7, then reads it through the view as the card does. */
    kx::Recordset &riga(const Valori &colonne = {})
    {
        for (auto it = colonne.begin(); it != colonne.end(); ++it)
            db.execute(u"UPDATE Domande SET "_s + it.key() + u"=? WHERE NumDoma=7"_s, {it.value()});
        kx::Recordset &rs = test.context().DE().rs(u"QryDomande"_s);
        if (rs.isOpen())
            rs.close();
        rs.open();
        rs.setFilter(u"NumDoma=7"_s);
        return rs;
    }
};
