#pragma once

#include <QString>

namespace kx {
class Context;
class ProgramFolder;
struct IniKey;
struct Services;
} // namespace kx

/** The help topic of both first-run dialogs. */
inline constexpr int ArgomentoAiutoInstallazione = 15000;

/** What the database box of the first-run dialog shows for a chosen path. */
struct PercorsoMostrato
{
    QString testo;
    /** The full path when the text had to be cut, otherwise empty. */
    QString tooltip;
};

/** A path shorter than 56 characters whole; a longer one as its first 55 and "...". */
PercorsoMostrato percorsoMostrato(const QString &path);

/**
 * The first failing check of the first-run dialog's Salva, or an empty text when the choice holds:
 * something chosen, a file named "*.mdb" in any case, the file exists, and the INI file can hold its
 * path.
 */
QString controllaBaseDatiScelta(const QString &testoMostrato, const QString &fileScelto);

/**
 * Why the INI file, which is Windows-1252, cannot hold the database path: the characters it would
 * lose, named; an empty text when it can. Stored, such a path would come back changed and the
 * installation would be reset at every start.
 */
QString controllaPercorsoIni(const QString &path);

/**
 * A CLIENT keeps no database and no master-data files of its own under their usual names: renames,
 * in the program folder and in this order, KX58TORVA.mdb, oper.tx1, compo.tx1, sediocc.tx1 and
 * sediutil.tx1 to the extension ".cli". A file that is missing, or whose new name is taken, is skipped.
 */
void RinominaFileClient(const kx::ProgramFolder &folder);

/**
 * Asks "Si è sicuri di voler interrompere l'installazione?"; Yes ends the program with nothing
 * written, No returns to the dialog.
 */
void InterrompiInstallazione(const kx::Services &services);

/** Empties [BaseDati] Database and NFileDB and [Installazione] Tipo, so the next start asks again. */
void AzzeraInstallazione(kx::Context &context);

/**
 * Ends the start-up with a box that names what cannot be used and why ("Impossibile utilizzare " ...);
 * the settings stay as they are.
 */
void TerminaInutilizzabile(kx::Context &context, const QString &cosa, const QString &causa);

/**
 * Writes an answer of the first run into the INI file; a write that fails (a full disk) is told with
 * the file and its cause and ends the program, as the answer could not be kept.
 */
void ScriviImpostazione(kx::Context &context, const kx::IniKey &key, const QString &value);
