#pragma once

#include "core/state/CourseEditorState.h"
#include "tests/courses/BancoCorsi.h"

/**
 * BancoCorsi with the components 2 and 3 of operator A-12, the occasional seat 1001, and approved
 * courses: of A-12 in cycle 2021 at component 2 (5001 with a name over 35 characters, 5002 with an
 * apostrophe and Null numbers, 5003 whose name holds "%", "*" and "?", 5006 held at the occasional
 * seat 1001), at component 3 (5005, and 5007 held at 1001), in cycle 2014 (5004); and courses of other
 * operators of the same cycle and component (6001 of A-13, 6002 of B-12).
 */
struct BancoCorsiApprovati : BancoCorsi
{
    BancoCorsiApprovati()
    {
        db.insert(u"CorsiCompo"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s},
                  {{u"A"_s, 12, 2, u"SO"_s, u"SEDE OPERATIVA DUE"_s}, {u"A"_s, 12, 3, u"SO"_s, u"TERZA"_s}});
        db.insert(u"CorsiSediOcc"_s, {u"SedeOcc"_s, u"Denominazione"_s}, {{1001, u"PALESTRA"_s}});
        const QStringList colonne{u"IdAttivita"_s,   u"GrupOpe"_s,      u"Operatore"_s,  u"ProgrAttivita"_s,
                                  u"ProgrAccorp"_s,  u"DenCorso"_s,     u"Componente"_s, u"SedeOcca"_s,
                                  u"DurataAnnOre"_s, u"TotIter"_s,      u"Durata"_s,     u"TipoConv"_s,
                                  u"CicloFin"_s,     u"ProvviProgAtt"_s};
        const QVariant null;
        db.insert(u"CorsiApprovati"_s, colonne,
                  {{5001, u"A"_s, 12, u"2019-0001"_s, 3,
                    u"OPERATORE SOCIO SANITARIO PER LE STRUTTURE RESIDENZIALI"_s, 2, null, 600, 1200, 2,
                    u"AF"_s, u"2021"_s, u"P-1"_s},
                   {5002, u"A"_s, 12, u"2019-0002"_s, null, u"CORSO DELL'ARTE BIANCA"_s, 2, null, null, null,
                    null, null, u"2021"_s, null},
                   {5003, u"A"_s, 12, u"2019-0003"_s, 1, u"TECNICO 100% DIGITALE *AVANZATO?*"_s, 2, null, 300,
                    300, 1, u"CO"_s, u"2021"_s, null},
                   {5004, u"A"_s, 12, u"2014-0001"_s, 1, u"CORSO DEL CICLO PRECEDENTE"_s, 2, null, 300, 300,
                    1, u"AF"_s, u"2014"_s, null},
                   {5005, u"A"_s, 12, u"2019-0005"_s, 1, u"CORSO DELLA TERZA SEDE"_s, 3, null, 400, 400, 1,
                    u"AF"_s, u"2021"_s, null},
                   {5006, u"A"_s, 12, u"2019-0006"_s, 2, u"CORSO IN PALESTRA"_s, 2, 1001, 200, 400, 2,
                    u"AF"_s, u"2021"_s, null},
                   {5007, u"A"_s, 12, u"2019-0007"_s, 1, u"NUOTO IN PALESTRA"_s, 3, 1001, 100, 100, 1,
                    u"AF"_s, u"2021"_s, null},
                   {6001, u"A"_s, 13, u"2019-0001"_s, 1, u"CORSO DI UN ALTRO OPERATORE"_s, 2, null, 100, 100,
                    1, u"AF"_s, u"2021"_s, null},
                   {6002, u"B"_s, 12, u"2019-0001"_s, 1, u"CORSO DI UN ALTRO GRUPPO"_s, 2, null, 100, 100, 1,
                    u"AF"_s, u"2021"_s, null}});
    }

    kx::CourseEditorState &corsi() { return test.context().corsi(); }

    /** The editor stands on that seat with that cycle chosen. */
    void sedeECiclo(const QString &sede, const QString &ciclo)
    {
        corsi().impostaSede(7, sede, QString());
        corsi().CicloFinanziarioCorrente = ciclo;
    }
};
