#pragma once

#include <QString>

namespace kx {

class Connection;

/** The program's database schema (tables and views), as built into the program; empty when the build has
 * none. */
QString databaseSchema();

/** Makes an empty, keyed database at the path from the program's schema; an existing file is an error. */
void createEmptyDatabase(const QString &path);

/**
 * Brings an open database made by an earlier version of the program to the schema's indexes and
 * views: adds the indexes it lacks and makes again the views whose text differs, in one transaction;
 * tables and rows stay as they are. A database that cannot take the change (read only, in use,
 * damaged) is left as it was and works as before, only slower. True when it matches the schema.
 */
bool updateIndexesAndViews(Connection &connection);

} // namespace kx
