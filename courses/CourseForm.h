#pragma once

#include <QString>

/**
 * The course editor's fields as the window shows them: each list by the text of its shown entry
 * ("" for the blank entry or none), each box and label by its text. The rules below read only this,
 * so the window maps its controls here and calls them.
 */
struct CourseForm
{
    /** The application, its operator and the seat (lblCompo): the course's key with lblCorso. */
    qint32 NumDoma = 0;
    QString GrupOpe;
    QString Operatore;
    QString Sede;
    /** The code shown in lblCorso; " ---- " for a course not yet stored. */
    QString lblCorso;

    QString cmbCompoResp;
    QString CmbCicloFin;
    QString cmbAsse;
    QString cmbMisura;
    QString cmbAzione;
    QString cmbDenCorso;
    QString cmbDest;
    QString txtNumAll;
    QString txtDurataOre;
    QString cmbDurata;
    /** The free-text reference, never shown: empty, or the stored text the display put back. */
    QString txtCorsoRifC211B;
    /** The IdAttivita of the chosen approved course, as text; empty when none is chosen. */
    QString lblidattivita_CorsoRifB111;
    /** The approved reference course as the user sees it. */
    QString txtCorsoRifB111;

    /** The application is printed in final form: nothing may change. */
    bool DomandaStampata = false;
};
