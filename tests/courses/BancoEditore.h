#pragma once

#include "core/state/CourseEditorState.h"
#include "tests/courses/BancoCorsi.h"

/**
 * The course editor's fixture: BancoCorsi with the approved course 4711 and stored courses that pass
 * every check (one pupil, the LARSA name of the special action 1.8II.2.04.07 with its approved
 * reference, hours by code), and the seat state of the seat being edited.
 */
struct BancoEditore : BancoCorsi
{
    BancoEditore()
    {
        db.insert(u"CorsiApprovati"_s,
                  {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s, u"ProgrAttivita"_s, u"ProgrAccorp"_s,
                   u"Componente"_s, u"DenCorso"_s, u"TotIter"_s, u"DurataAnnOre"_s, u"Durata"_s,
                   u"TipoConv"_s, u"CicloFin"_s},
                  {{4711, u"A"_s, 12, u"3"_s, 1, 2, u"CORSO APPROVATO DI RIFERIMENTO"_s, 200, 200, 1, u"C"_s,
                    u"2021"_s}});
    }

    /** A stored course of the seat; its hours tell the courses apart. */
    void corso(int sede, const QString &codice, int ore = 100, const QString &guid = QString())
    {
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s,    u"SedeInteressata"_s, u"GrupOpe"_s,          u"Operatore"_s,
                   u"Corso"_s,      u"CompoResp"_s,       u"CicloFinanziario"_s, u"CodAsse"_s,
                   u"CodMisura"_s,  u"CodAzione"_s,       u"CodQualif"_s,        u"DenCorso"_s,
                   u"CodDest"_s,    u"CodCert"_s,         u"CodPerc"_s,          u"NumAll"_s,
                   u"TotOreIter"_s, u"DurataTotIter"_s,   u"CorsoRifC211B"_s,    u"IdAttivita_CorsoRifB111"_s,
                   u"Guid"_s},
                  {{7,
                    sede,
                    u"A"_s,
                    12,
                    codice,
                    sede > 999 ? QVariant(2) : QVariant(),
                    u"2021"_s,
                    u"1"_s,
                    u"8II"_s,
                    u"2.04.07"_s,
                    u""_s,
                    u"LARSA - Formazione / Scuola"_s,
                    12,
                    1,
                    1,
                    1,
                    ore,
                    1,
                    u""_s,
                    4711,
                    guid.isEmpty() ? u"{GUID-"_s + codice + u'}' : guid}});
    }

    /** Makes the seat the one being edited, as SelComp does. */
    void sede(int sede) { test.context().corsi().impostaSede(7, QString::number(sede), u"SEDE IN PROVA"_s); }

    /** The stored value of a column of a course; an invalid value when the course is gone. */
    QVariant valore(int sede, const QString &codice, const QString &colonna)
    {
        return db.scalar(u"SELECT "_s + colonna +
                             u" FROM CorsiProp WHERE NumDoma = 7 AND SedeInteressata = ? AND Corso = ?"_s,
                         {sede, codice});
    }
};
