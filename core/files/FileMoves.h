#pragma once

#include <QString>
#include <QStringList>

namespace kx {
struct Services;
class ProgramFolder;
} // namespace kx

/**
 * Moves a processed file, typically into "CAR" or "BAD" under a new name: nothing happens when the
 * source is missing; the destination's folder is made when missing (one level), and a file already at
 * the destination is replaced in one step, so it is never lost to a failed move. Names go through the
 * program folder. Throws RoutineError 70 (permission denied), 76 (path not found) or 75 otherwise.
 */
void SpostaFile(const kx::ProgramFolder &folder, const QString &source, const QString &destination);

/**
 * Shows a text file in the program's log viewer and returns when the user has closed it. A file that
 * cannot be shown is reported in a box and the caller goes on.
 */
void VisLog(const kx::Services &services, const kx::ProgramFolder &folder, const QString &path);

/**
 * Starts a program with its arguments (no shell in between) and returns when it has ended, keeping
 * the windows responsive meanwhile. Throws RoutineError 53 when the program cannot be started.
 */
void EseguiEAttendi(const QString &program, const QStringList &arguments);
