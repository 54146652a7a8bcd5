#pragma once

#include <QString>

namespace kx {
class Context;
} // namespace kx

/**
 * Copies the registry data of every operator of "oper.tx1" (program folder) into its applications
 * not printed in final form, and appends to the update log, in Windows-1252 with CR LF, one line
 * for each printed one, which stays as it was printed. An application is found by its group and by
 * field 1 read as a number ("0042" finds 42); its log line shows field 1 as the file writes it.
 *
 * Group, number, name, type, tax code, VAT number and activity code are always written; the legal
 * representative's and the chamber of commerce's columns only where the application holds a value
 * (an empty text included), so a Null stays Null. Each application is written by one statement.
 *
 * Works on the caller's transaction and never commits. True when the whole file was done; on an
 * error its box ("... - AggCorsiOper") and False, the log left without this run's lines.
 */
bool AggDomandeOper(kx::Context &context, const QString &fileLog);
