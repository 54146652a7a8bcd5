#pragma once

#include <QString>
#include <functional>

namespace kx {
class Connection;
class Context;
} // namespace kx

/** The archive name the file choosers propose. */
inline const QString NomeBackupPredefinito = QStringLiteral("KX58TORVA.zip");
/** The start of the name of the private folder, made anew under the program folder, of each restore. */
inline const QString CartellaEstrazione = QStringLiteral("DBUnzip");
/** Why a restore refused an archive. */
inline const QString MotivoSpazioInsufficiente = QStringLiteral("spazio su disco insufficiente");
inline const QString MotivoArchivioNonValido = QStringLiteral("archivio non valido");
/** The folder, under the program folder, that keeps the database a restore replaced. */
inline const QString CartellaCopiaDB = QStringLiteral("BackupDB");

/** The file choosers' filter: the default archive name, then every zip file. */
QString FiltroArchivi();

/** The folder part of a path, before its last "/" or "\"; empty when it has neither. */
QString CartellaDi(const QString &path);

/** The default archive name in the folder, with exactly one separator between the two. */
QString NomeProposto(const QString &cartella);

/**
 * The archive a backup makes for the name the user chose: the name with ".zip" in place of its
 * extension, or with ".zip" added when it has none. A name ending in ".zip" in any case stays as it is.
 */
QString NomeArchivioBackup(const QString &nome);

/**
 * The question asked before a chosen name replaces an archive: the one the backup would make for
 * that name (`archivio`, as NomeArchivioBackup gives it), whatever name the user typed.
 */
QString DomandaSostituzioneArchivio(const QString &archivio);

/**
 * Makes the zip archive of the database that the connection has open: a consistent snapshot (others
 * may be writing a shared file) stored deflated under the database file's name. An older archive of
 * that name is replaced only once the new one is complete. Throws the RoutineError of a snapshot that
 * cannot be taken; false, with the reason in `errore`, when the compression fails.
 */
bool ArchiviaBaseDati(kx::Connection &connection, const QString &archivio, QString *errore = nullptr);

namespace kx {
class Prompt;
} // namespace kx

enum class EsitoOperazione
{
    /** The field was empty: the user is told to choose a file first. */
    NomeMancante,
    Riuscita,
    /** The compression or the extraction failed, or the archive holds no database of the program. */
    Fallita,
    /** Another installation is connected: the restore was refused. */
    Rifiutata,
    /** An error the routine does not handle: the window closes once it is told. */
    Errore,
};

/** How a backup or a restore went. */
struct Esito
{
    EsitoOperazione esito = EsitoOperazione::Riuscita;
    /** The archive made, or that would have been made. */
    QString archivio;
    /** The error's number and description, for EsitoOperazione::Errore. */
    QString errore;
    /** Why the archive was refused, for a failed restore. */
    QString motivo;
};

/** Runs a long step of a restore; a window runs it off its own thread and waits with its events. */
using Esecutore = std::function<void(const std::function<void()> &)>;

/**
 * The zip backup of the database named in the INI file into the archive for the chosen name: its
 * snapshot is archived, a companion ".txt" of a replaced archive is deleted, and [BaseDati]
 * FileBackup records the archive (emptied when the compression fails). Shows no box.
 */
Esito Backup(kx::Context &context, const QString &nome);

/**
 * The restore of the database named in the INI file from a zip archive. Only the archive's entry named
 * like the database file is extracted, once its declared size has been found to fit in the free space,
 * into a new private folder of the restore (DBUnzip-XXXXXX), and it is taken only when it opens with
 * the program's key and holds the program's tables; otherwise the restore fails with its reason. The
 * extraction runs through `inDisparte` (inline when none is given). While another installation is
 * connected nothing is done. Then, with `conservaCopia`, the current file is copied into BackupDB, and
 * the extracted file replaces the database file in one rename; the private folder is removed in every
 * case. The program's connection must be closed. Shows no box.
 */
Esito Ripristino(kx::Context &context, const QString &archivio, bool conservaCopia,
                 const Esecutore &inDisparte = {});

/** Tells the user how a backup went. */
void MostraEsitoBackup(kx::Prompt &prompt, const Esito &esito);
/** Tells the user how a restore went. */
void MostraEsitoRipristino(kx::Prompt &prompt, const Esito &esito);
