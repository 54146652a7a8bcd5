#pragma once

#include <QString>
#include <QVariant>

namespace kx {

/**
 * How the page builders turn a column's value into page text. The forms are fixed, Italian or not,
 * whatever the system's locale: the pages must read the same on every workstation.
 */

/**
 * The field-to-text rule: Null gives the empty text, a text stays as it is (blanks included), a number
 * gets its sign place (a blank in front when it is not negative) and a point for decimals, without
 * grouping: 7 gives " 7", -3 gives "-3", 2.5 gives " 2.5".
 */
QString TestoDaCampo(const QVariant &valore);

/** A value the page must have, as it is; a Null is error 94 (invalid use of Null). */
QVariant richiesto(const QVariant &valore);

/**
 * The direct form: a number in Italian without grouping and with as many decimals as it has
 * (1234.5 gives "1234,5", 52560 gives "52560"), a text as it stands. Null is error 94: the value
 * must be there.
 */
QString testoDiretto(const QVariant &valore);

/** An amount as "##,###,###,##0.00" shows it in Italian: 1234567.5 gives "1.234.567,50", 0 gives "0,00". */
QString testoImporto(double valore);

} // namespace kx

namespace kx {

/** Which identifier the operator page prints, and under which label. */
struct IdentificativoFiscale
{
    QString etichetta;
    QString valore;
};

/**
 * The VAT number whenever it is there, else the tax code, else neither: "PARTITA IVA", "CODICE
 * FISCALE" or "CODICE FISCALE/P.IVA" with an empty value. A value of blanks counts as present.
 */
IdentificativoFiscale identificativoFiscale(const QVariant &codFisc, const QVariant &pIva);

/**
 * Day, month and year joined by "/", each as stored (a Null part leaves its place empty, "//1960");
 * the empty text when all three are empty.
 */
QString dataNascita(const QVariant &giorno, const QVariant &mese, const QVariant &anno);

/**
 * Axis, measure and action joined by " ,  "; a Null axis or measure drops with its separator, a Null
 * action adds nothing. All three Null is error 94: there is nothing to print.
 */
QString classificazioneCorso(const QVariant &asse, const QVariant &misura, const QVariant &azione);

/** "ATTIVITA' INDIVIDUALI" for one pupil, "ATTIVITA' RIVOLTE AI GRUPPI" otherwise (Null included). */
QString tipologiaCorso(const QVariant &numAll);

/** The estimate's pupils when above 0, else the planned pupils in round brackets: "(12)". */
QString allieviPreventivo(const QVariant &allieviSpesa, const QVariant &numAll);

} // namespace kx
