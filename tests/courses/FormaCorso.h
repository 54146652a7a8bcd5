#pragma once

#include "courses/CourseForm.h"

using namespace Qt::StringLiterals;

/**
 * A course that passes every check: seat 1001 of application 7, one pupil for 200 hours of the
 * special action 1.8II.2.04.07 with its approved reference course 4711.
 */
inline CourseForm corsoValido()
{
    CourseForm form;
    form.NumDoma = 7;
    form.GrupOpe = u"A"_s;
    form.Operatore = u"12"_s;
    form.Sede = u"1001"_s;
    form.lblCorso = u"0003"_s;
    form.cmbCompoResp = u"2   - SEDE OPERATIVA - SO - VIA PO 2"_s;
    form.CmbCicloFin = u"2021  PROGRAMMAZIONE 2021"_s;
    form.cmbAsse = u"1  OCCUPAZIONE"_s;
    form.cmbMisura = u"8II  ORIENTAMENTO"_s;
    form.cmbAzione = u"2.04.07  LARSA"_s;
    form.cmbDenCorso = u"Azione di sostegno individuale"_s;
    form.cmbDest = u"12  DISABILI"_s;
    form.txtNumAll = u"1"_s;
    form.txtDurataOre = u"200"_s;
    form.cmbDurata = u"1"_s;
    form.lblidattivita_CorsoRifB111 = u"4711"_s;
    form.txtCorsoRifB111 = u"3 - 1 - 2 - CORSO APPROVATO"_s;
    return form;
}
