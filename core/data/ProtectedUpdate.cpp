#include "core/data/ProtectedUpdate.h"

#include "core/data/DataEnvironment.h"
#include "core/files/FileMoves.h"
#include "core/services/ErrorBoxes.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString TitoloCopia = u"Installazione/Aggiornamento Base Dati"_s;
const QString TitoloAggiornamento = u"Aggiornamento Base Dati"_s;

QString copyPath(const QString &databasePath)
{
    return databasePath + u"_BAK"_s;
}

/** Where the copy that could not be put back is kept. */
QString copiaConservata(const QString &copy)
{
    return u"\r\nLa copia di sicurezza della base dati è conservata in "_s + copy;
}

void showRoutineError(const Services &services, const QString &routine, const RoutineError &error)
{
    services.prompt.critical(TitoloCopia, testoErroreRoutine(routine, error));
}

/**
 * Opens the connection again after a restore, in its former mode when it can; an exclusive opening
 * that someone beat to the file continues shared, as the installation's own mode would. Without a
 * connection no data can be reached any more, so a failure is told and the program ends, as a
 * failed opening at start-up does.
 */
void reopen(const Services &services, Connection &connection, const QString &path, Connection::Mode mode)
{
    try {
        if (connection.isOpen())
            connection.close();
        try {
            connection.open(path, mode);
        } catch (const RoutineError &) {
            if (mode != Connection::Mode::Exclusive)
                throw;
            connection.open(path, Connection::Mode::Shared);
        }
    } catch (const RoutineError &error) {
        showRoutineError(services, u"Ripristina_DB_Backup"_s, error);
        services.programExit.exit();
    }
}

/**
 * Makes the copy, then begins the update's transaction, whose write lock keeps other installations
 * from writing until it ends. Another installation may have written between the two: the copy is then
 * made again, so that it always holds exactly what the transaction starts from.
 */
/**
 * Undoes the update. The rollback alone brings the database back to what the copy holds, and it keeps
 * what other installations committed meanwhile: the copy is then only deleted. It is put back only
 * when the rollback itself failed.
 */
bool annullaAggiornamento(const Services &services, Connection &connection, Transaction &transaction)
{
    try {
        transaction.rollback();
    } catch (const RoutineError &) {
        return Ripristina_DB_Backup(services, connection);
    }
    QFile::remove(copyPath(connection.path()));
    return true;
}

bool copiaEApriTransazione(const Services &services, Connection &connection,
                           std::optional<Transaction> &transaction)
{
    constexpr int Tentativi = 5;
    try {
        for (int tentativo = 1;; ++tentativo) {
            // Changes only when another connection commits.
            const QVariant versione = connection.scalar(u"PRAGMA data_version"_s);
            if (!Crea_DB_Backup(services, connection))
                return false;
            transaction.emplace(connection);
            if (connection.scalar(u"PRAGMA data_version"_s) == versione)
                return true;
            transaction.reset();
            if (tentativo == Tentativi)
                throw RoutineError(ErrorCode::FileInUse);
        }
    } catch (const RoutineError &error) {
        transaction.reset();
        showRoutineError(services, u"Crea_DB_Backup"_s, error);
        return false;
    }
}

} // namespace

bool Crea_DB_Backup(const Services &services, Connection &connection)
{
    try {
        // The engine cannot copy a database its own connection is writing to.
        if (connection.inTransaction())
            throw RoutineError(ErrorCode::OperationNotAllowed);
        const QString copy = copyPath(connection.path());
        if ((QFileInfo::exists(copy) && !QFile::remove(copy)) ||
            !QFileInfo(QFileInfo(copy).path()).isWritable())
            throw RoutineError(ErrorCode::PermissionDenied);
        // The engine's online backup, read through the connection itself: a consistent snapshot while
        // others stay connected. A file handle of our own on the database would drop the engine's
        // locks of the whole program when it is closed.
        connection.backupTo(copy);
        return true;
    } catch (const RoutineError &error) {
        showRoutineError(services, u"Crea_DB_Backup"_s, error);
        return false;
    }
}

bool Ripristina_DB_Backup(const Services &services, Connection &connection)
{
    const QString path = connection.path();
    const QString copy = copyPath(path);
    const Connection::Mode mode = connection.mode();
    // Closing ends a transaction whose rollback failed: the engine undoes it then.
    if (!connection.isOpen() || connection.inTransaction())
        reopen(services, connection, path, mode);

    if (mode == Connection::Mode::Shared) {
        bool alone = !connection.othersConnected();
        if (alone) {
            connection.close();
            try {
                connection.open(path, Connection::Mode::Exclusive);
            } catch (const RoutineError &) {
                alone = false; // someone connected meanwhile
                reopen(services, connection, path, mode);
            }
        }
        if (!alone) {
            // Their committed work would be lost with the file: the copy stays for the assistance.
            showRoutineError(
                services, u"Ripristina_DB_Backup"_s,
                RoutineError(ErrorCode::FileInUse, u"Altre postazioni sono collegate alla base "
                                                   u"dati: impossibile sostituirla con la copia."_s +
                                                       copiaConservata(copy)));
            return false;
        }
    }

    // Held exclusively: nobody can open the old file between the check and the rename.
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        const int number = error == ENOENT                     ? ErrorCode::FileNotFound
                           : error == EACCES || error == EPERM ? ErrorCode::PermissionDenied
                                                               : ErrorCode::PathFileAccessError;
        showRoutineError(services, u"Ripristina_DB_Backup"_s,
                         RoutineError(number, RoutineError::standardDescription(number) +
                                                  (error == ENOENT ? QString() : copiaConservata(copy))));
        if (mode != Connection::Mode::Exclusive)
            reopen(services, connection, path, mode);
        return false;
    }
    reopen(services, connection, path, mode);
    return true;
}

bool EseguiAggiornamentoProtetto(const Services &services, Connection &connection,
                                 const ProgramFolder &folder, const AggiornamentoProtetto &update)
{
    std::optional<Transaction> transaction;
    if (!copiaEApriTransazione(services, connection, transaction)) {
        services.prompt.critical(TitoloAggiornamento,
                                 u"Copia di sicurezza della base dati non riuscita. "
                                 u"Impossibile continuare l'operazione di aggiornamento."_s);
        return false;
    }

    bool riuscito = std::all_of(update.caricatori.cbegin(), update.caricatori.cend(),
                                [](const std::function<bool()> &caricatore) { return caricatore(); });
    if (riuscito) {
        try {
            transaction->commit();
        } catch (const RoutineError &error) {
            services.prompt.critical(TitoloAggiornamento, testoErrore(error));
            riuscito = false;
        }
    }

    if (riuscito) {
        QFile::remove(copyPath(connection.path()));
    } else {
        if (!update.testoFallimento.isEmpty())
            services.prompt.critical(update.titoloFallimento, update.testoFallimento);
        if (annullaAggiornamento(services, connection, *transaction))
            services.prompt.inform(TitoloAggiornamento, u"Ripristino della base dati riuscito"_s);
        else
            services.prompt.critical(TitoloAggiornamento, u"Ripristino della base dati non riuscito."_s);
    }
    for (const FileElaborato &file : update.files)
        SpostaFile(folder, file.sorgente, riuscito ? file.seRiuscito : file.seFallito);
    return riuscito;
}
