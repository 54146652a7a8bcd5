#pragma once

#include <QList>
#include <QString>
#include <functional>

namespace kx {
class Connection;
class ProgramFolder;
struct Services;
} // namespace kx

/**
 * The copy of the database CorsiDB taken before a bulk update: "<database file>_BAK" beside it,
 * replacing an older one. It is the engine's online backup, a consistent snapshot even while other
 * installations are connected; the connection stays open and must not be inside a transaction. On
 * failure shows the routine's error box and returns false.
 */
bool Crea_DB_Backup(const kx::Services &services, kx::Connection &connection);

/**
 * Puts the copy back, for an update whose rollback failed: when no other installation is connected,
 * the copy replaces the database file in one rename while the connection holds the database
 * exclusively, and the connection is opened again in its former mode. A database in use is never
 * replaced under its users: then, as on any failure, the routine's error box names where the copy
 * is kept, and the result is false.
 */
bool Ripristina_DB_Backup(const kx::Services &services, kx::Connection &connection);

/** A file an update loads, and where it goes once the update succeeded or failed. */
struct FileElaborato
{
    QString sorgente;
    QString seRiuscito;
    QString seFallito;
};

/** What a protected update runs and moves, and what it says when a loader fails. */
struct AggiornamentoProtetto
{
    /** Run in order inside one transaction; the first that returns false stops the update. */
    QList<std::function<bool()>> caricatori;
    /** Moved (SpostaFile) after the update, when they exist. */
    QList<FileElaborato> files;
    /** Shown before the restore when a loader failed; none when empty. */
    QString titoloFallimento;
    QString testoFallimento;
};

/**
 * A bulk update protected by a copy of the database and by one transaction: the copy is made (when
 * it fails, "Copia di sicurezza ..." and nothing changes, the files stay where they are), the loaders
 * run; when all succeed the transaction is committed, the copy deleted and the files moved to their
 * success place; otherwise the transaction is rolled back and the copy deleted (put back by
 * Ripristina_DB_Backup only when the rollback failed), the "Ripristino ..." box shown and the files
 * moved to their failure place. A crash part-way leaves
 * the database as it was. True when the update was committed. Errors of the file moves, and any error
 * a loader leaves unhandled (after the rollback, the copy left for the next update to replace), are
 * passed on.
 */
bool EseguiAggiornamentoProtetto(const kx::Services &services, kx::Connection &connection,
                                 const kx::ProgramFolder &folder, const AggiornamentoProtetto &update);
