#pragma once

#include <QList>
#include <QString>

namespace kx {
class Connection;
class Context;
class RoutineError;
struct Services;
} // namespace kx

/**
 * Reads the installation settings, opens the database in the installation's mode and names the help
 * file and the server. The connection must be closed when it starts. Every failure shows its box and
 * ends the program: a missing database offers to reset the installation; a database held by another
 * installation keeps the settings; any other failure resets them, so the next start asks again.
 */
void Inizializza(kx::Context &context);

/**
 * Tells why the database could not be opened and ends the program: a database in use by someone else
 * keeps the installation settings, any other failure resets them, so the next start asks again.
 */
void fineInizializzazione(kx::Context &context, const kx::RoutineError &error);

/**
 * Fails with the engine's "table not found" number, after closing the connection, when the open
 * database lacks a table or saved query of the program: an empty file, or a database of another
 * program, is not one to work on.
 */
void VerificaBaseDati(kx::Connection &corsiDB, const QString &path);

/**
 * Closes the connection and opens it again exclusively. False, after a box telling the user to close
 * every client, when that fails; the connection then stays closed and the caller ends the program.
 */
bool RiapriDBEsclusivo(kx::Context &context);

/**
 * Closes the connection and opens it again in the installation's own mode (exclusive for a
 * stand-alone installation, shared otherwise), with the provider of the INI file, and binds the
 * commands to it again.
 */
void RiapriDBNormale(kx::Context &context);

/**
 * RiapriDBNormale for the end of a command that had the database alone or closed: a failure is told
 * as at start-up (a missing database offers to reset the installation) and ends the program, so that
 * it never goes on without its connection.
 */
void RiapriDBNormaleOTermina(kx::Context &context);

/** Shows each informational message of the connection in its own box, then ends the program. */
void CorsiDB_InfoMessage(const kx::Services &services, const QList<kx::RoutineError> &errors);

/**
 * The scheme and host of a service address: the text before the first "/" after the "//". Fails with
 * error 5 when the address has no such "/".
 */
QString IndirizzoServer(const QString &address);

/** The text of the box shown when the database named in the INI file is not there. */
QString testoBaseDatiMancante(const QString &percorsoDB);
