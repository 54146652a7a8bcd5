#pragma once

#include <QString>

/**
 * Writes Comuni.txt, Province.txt, Regioni.txt and Bacino.txt (one labour-market area for each
 * province), decode-table files in install mode (Windows-1252,
 * CR LF), into the folder from the list of municipalities (UTF-8, ";"-separated, one header line:
 * ISTAT code, name, province code, name and abbreviation, region code and name, cadastral code,
 * postal codes, population). Returns the number of municipalities; throws RoutineError on failure.
 */
int scriviTabelleComuni(const QString &csvPath, const QString &folder);
