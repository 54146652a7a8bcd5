#pragma once

#include <QString>

namespace kx {

/** The program's database schema (tables and views), as built into the program; empty when the build has
 * none. */
QString databaseSchema();

/** Makes an empty, keyed database at the path from the program's schema; an existing file is an error. */
void createEmptyDatabase(const QString &path);

} // namespace kx
