#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace kx {
class ProgramFolder;
} // namespace kx

/**
 * The fields of the last '#'-record read, slots 0 to 50; a slot the record does not fill is empty.
 * Readers take the values right after ScomponiRecord: the next call overwrites every slot.
 */
using CampiRecord = std::array<QString, 51>;

/**
 * Splits a line of the form #field0#,#field1#,...,#fieldN# into `Campi`. The first character and
 * the two characters after each closing "#" are skipped without being looked at, as the records have
 * always been read. Returns how many fields the line held. Throws RoutineError 6 when a field is not
 * closed or the line is longer than 32,764 characters, and 9 for a non-empty field past slot 50; the
 * slots read before keep their values.
 */
int ScomponiRecord(CampiRecord &Campi, const QString &line);

/** What became of a download bundle. */
struct EsitoPacchetto
{
    enum class Stato
    {
        Completo,
        /** A file name was not acceptable; nothing was written. */
        Rifiutato,
        /** The bundle could not be read or a file could not be written. */
        NonScritto,
    };
    Stato stato = Stato::Completo;
    /** The refused name, or the file that could not be read or written. */
    QString nome;
    /** Why, in Italian, for the caller's box. */
    QString descrizione;
    /** The names of the files written, in the bundle's order, once the bundle is complete. */
    QStringList files;

    bool riuscito() const { return stato == Stato::Completo; }
};

/**
 * Splits a download bundle in the program folder into the files it names, each Windows-1252 with
 * CR LF. A name line opens a file, "#" lines are its records, an empty or "EOF" line closes it. Only
 * bare names ending ".tx1", ".txt" or ".tab" are accepted (no folder, no "..", no control character
 * or character Windows refuses), never the INI file, the database or the bundle itself: a bundle
 * with any other name is refused as a whole and writes nothing. The files are put in place whole or
 * not at all: when one cannot be written or put in place, those before it are taken back.
 */
EsitoPacchetto SeparaFileScaricato(const kx::ProgramFolder &folder, const QString &percorsoDB,
                                   const QString &bundleName);

/** True when no file stands at the path or the file holds no line. */
bool FileVuoto(const kx::ProgramFolder &folder, const QString &path);

/** True when the file holds at least one line, even an empty one; RoutineError 53 when it is missing. */
bool FileConRighe(const kx::ProgramFolder &folder, const QString &path);

/**
 * The body of an upload: the name, LF, then every line of the file of that name in the program
 * folder followed by LF, without any CR. RoutineError 53 when the file is missing.
 */
QString LeggiFileTesto(const kx::ProgramFolder &folder, const QString &name);
