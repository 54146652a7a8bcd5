#pragma once

#include <QString>

/**
 * The cost estimate of a course as the editor shows it in its six labels: the activity kind, the
 * category, the hourly rate, the hours, the pupils and the total. All six are empty when the estimate
 * is blank: no course name, no pupils or hours, or either reading as 0 or as no whole number.
 */
struct PreventivoSpesa
{
    QString lblDescAttivita;
    QString lbl_abcdef;
    QString lblParametro;
    QString lblOre;
    QString lblAllievi;
    QString lblTotale;
    /** The rate and the total as numbers, as the labels show them (the total to the cent). */
    double parametro = 0;
    double totale = 0;

    bool vuoto() const { return lblParametro.isEmpty(); }
};

/**
 * The estimate for a course name, the pupils text and the hours text as the boxes hold them. Pupils
 * and hours are whole numbers (Italian reading, halves to even); one pupil costs 36,5 an hour, two to
 * five 12,5 an hour each, six to eight 71 an hour and nine or more 83 an hour.
 */
PreventivoSpesa estimate(const QString &name, const QString &pupilsText, const QString &hoursText);
