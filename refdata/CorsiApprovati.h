#pragma once

#include "core/files/TextRecords.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace kx {
class Connection;
class Context;
class ProgramFolder;
struct Services;
} // namespace kx

/** The file the approved-courses download leaves in the program folder, and where the import moves it. */
inline const QString NomeFileCorsiApprovati = QStringLiteral("CorsiApprovati.tx1");
inline const QString CorsiApprovatiCaricati = QStringLiteral("CAR\\CorsiApprovati.car");
inline const QString CorsiApprovatiScartati = QStringLiteral("BAD\\CorsiApprovati.bad");

namespace kx {

/** How a field of "CorsiApprovati.tx1" becomes the value of its column. */
enum class RegolaCampo
{
    /** A 32-bit integer that must be there. */
    Intero32Richiesto,
    /** A 16-bit integer that must be there. */
    Intero16Richiesto,
    /** Null when empty, otherwise an integer of the width. */
    Intero32,
    Intero16,
    /** 0 to 255. */
    Byte,
    /** The first n characters, then trimmed of blanks. */
    Testo,
    /** The field exactly as it stands. */
    TestoComE,
};

/** One field of the record: the column it is written to, its rule and, for Testo, its width. */
struct CampoCorsoApprovato
{
    QString colonna;
    RegolaCampo regola;
    int larghezza = 0;
};

/** The 43 fields of an approved course, field 0 (IdAttivita) first, in the table's column order. */
const QList<CampoCorsoApprovato> &tracciatoCorsiApprovati();

/**
 * The column values of one record split by ScomponiRecord, field 0 first. An integer field holds an
 * optional sign and digits: an empty required field or any other text throws RoutineError 13, a value
 * outside the field's range RoutineError 6.
 */
QVariantList valoriCorsoApprovato(const CampiRecord &campi);

/**
 * The loader: every line of the file, trimmed of blanks, is one course written into the table,
 * inserted when its IdAttivita is new, otherwise overwriting every other column of that row; no row
 * is deleted. Runs inside the caller's transaction. False, after its box, when the file is empty or a
 * line cannot be loaded (the rows written before stay for the caller to roll back).
 */
bool AggCorsiApprovati(const Services &services, Connection &connection, const QString &percorsoFile,
                       const QString &tabella);

/**
 * The import of "CorsiApprovati.tx1" as a protected update: the database copy, the load in one
 * transaction, the file moved to "CAR\CorsiApprovati.car", or, after a failure, everything rolled
 * back and the file moved to "BAD\CorsiApprovati.bad". True when the courses were loaded. Errors of
 * the file moves are passed on.
 */
bool ImportaCorsiApprovati(Context &context);

} // namespace kx
