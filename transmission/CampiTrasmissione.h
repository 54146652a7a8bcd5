#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>

/**
 * The transmission file's line and the forms its fields take, in one place. The server reads the
 * file as it is, so each form is fixed here whatever the system's locale. Conversions that cannot be
 * made throw RoutineError with the run time's numbers: 6 overflow, 13 type mismatch, 94 Null.
 */

/** Fields 3 and 4 of every record and of the header: the call's code and its year. */
inline const QString CodiceBando = QStringLiteral("20");
inline const QString AnnoBando = QStringLiteral("2021");

/**
 * One record line: "#", the fields joined by "#,#", "#", then CR LF, in Windows-1252. Nothing is
 * quoted or escaped: the writer refuses the file when a field holds a "#" or a line break.
 */
QByteArray rigaRecord(const QStringList &campi);

/** The fields that a reader of the format could not read back: one holding a "#". */
bool contieneCancelletto(const QStringList &campi);

/**
 * A field holding a control character other than CR and LF (a NUL, a tab, ...): the file would not
 * carry it as the data hold it. CR and LF are found by the line check.
 */
bool contieneControllo(const QStringList &campi);

/** The application's key: its number plus 1,000,000 as a 32-bit sum; beyond it, error 6. */
QString ChiaveDomanda(qint32 NumDoma);

/** The file date: year, month and day without separators ("20210802"). */
QString testoDataTrasm(const QDate &data);

/**
 * A plain field: Null is empty, a text as stored, a whole number in plain digits whatever its storage
 * (a REAL 1.0 is "1"), a fraction with the Italian decimal comma ("1,5").
 */
QString campoSemplice(const QVariant &valore);

/**
 * A value converted to a whole number in [minimo, massimo] as the old run time did: a number rounded
 * half to even, a text read as an Italian number. Null is error 94, a text that is no number 13, a
 * value outside the range 6.
 */
qint32 interoConvertito(const QVariant &valore, qint32 minimo, qint32 massimo);
/** A 16-bit whole number (a correspondence seat). */
qint32 intero16(const QVariant &valore);
/** A 32-bit whole number (an operator, an economic activity, a course's identifier). */
qint32 intero32(const QVariant &valore);

/** The first comma that is not the text's last character becomes a point; later commas stay. */
QString VirgolaInPunto(const QString &testo);

/**
 * The amount of record E: rounded to two decimals, formatted "#########0.00" the Italian way, then
 * through VirgolaInPunto ("1825.00"). Null is error 94.
 */
QString campoImporto(const QVariant &valore);

/**
 * The cost parameter of record F: at most 15 significant digits, no trailing zeros, then through
 * VirgolaInPunto ("36.5", "71"). Null is error 94.
 */
QString campoParametro(const QVariant &valore);

/** The birth date of record A: day, month and year joined by "-", empty when all three are. */
QString campoDataNascita(const QVariant &giorno, const QVariant &mese, const QVariant &anno);

/** Fields 19 and 22 of record E. */
struct RiferimentoCorso
{
    /** The approved course's key, or the free-text reference, without line breaks. */
    QString riferimento;
    /** The approved course's identifier in digits, empty when there is none. */
    QString identificativo;
};

/**
 * The reference course of record E: with an approved reference course its key as `chiaveUtenteCorso`
 * gives it, otherwise the free text; either way every CR and LF becomes a blank.
 */
RiferimentoCorso riferimentoCorso(const QVariant &idAttivita, const QVariant &corsoRifLibero,
                                  const std::function<QString(qint32)> &chiaveUtenteCorso);
