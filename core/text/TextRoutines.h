#pragma once

#include <QString>
#include <QVariant>

namespace kx {
class Prompt;
} // namespace kx

/**
 * The small text routines every window uses. A null QVariant is the database's Null. Failures throw
 * RoutineError with the run time's numbers: 5 bad argument, 6 overflow, 9 out of range, 94 Null.
 */

/** Leading and trailing blanks removed, as the old Trim did: only the blank (code 32) counts. */
QString trimBlanks(const QString &text);
/** Leading and trailing blanks and tabs removed, as the profile functions read the INI file. */
QString trimBlanksAndTabs(const QString &text);
/**
 * The text in capitals character by character; a character whose capital is not one Windows-1252
 * character ("µ", "ß") stays as it is.
 */
QString upperCaseCp1252(const QString &text);

/** The value's text with blanks in front up to the width; a longer text is left as it is. */
QString RiempiSpazi(const QVariant &value, int width);
/** "dx" right-aligns with blanks in front, "sx" left-aligns with blanks after; any other mode gives "". */
QString Allinea(const QString &text, int width, const QString &mode);
/** Blanks for the width less the length without leading and trailing blanks, then the untrimmed text. */
QString AllineaDestra(const QString &text, int width);
/** The fill put in front again and again while the text is shorter than the width. */
QString RiempiCarattere(const QString &text, int width, const QString &fill);
/** The first n characters and "..." when the text is longer than n. */
QString TroncaTesto(const QString &text, int n);
/** Every CR and every LF becomes one blank. */
QString EliminaACapo(const QString &text);
/** Every "'" doubled. */
QString RaddoppiaApici(const QVariant &value);
/** Every occurrence, left to right without overlap, replaced; an empty search text changes nothing. */
QString Sostituisci(const QString &text, const QString &search, const QString &replacement);
/** Piece n (from 0) of the text cut at the separator, trimmed; "" for an empty text. */
QString CampoSeparato(const QString &text, const QString &separator, int n);
/** The text after the first "-" and the character that follows it, trimmed. */
QString TestoDopoTrattino(const QVariant &value);
/** Occurrences of the part in the text; mode 0 compares in capitals (upperCaseCp1252) and leaves both so. */
int ContaOccorrenze(QString &text, QString &part, int mode);

/** Null gives ""; a text stays as it is; a number gives its plain form with "." for decimals. */
QString NonNull(const QVariant &value);
/**
 * Null gives 0; a number, or a text that reads as one in Italian, gives the nearest 16-bit whole
 * number (halves to even). Anything else shows "ANOMALIA: parametro non numerico" and gives 0.
 */
int NonNull_Num(kx::Prompt &prompt, const QVariant &value);

/** The text of a value as the old run time wrote it in Italian: "," for decimals, no thousands separator. */
QString testoDelValore(const QVariant &value);
