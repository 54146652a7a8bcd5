#pragma once

#include <QString>

namespace kx {
class Connection;
} // namespace kx

/**
 * The dsZelto document of one course, as the external course registry receives it: the root line
 * with the data set's namespace, records indented by two blanks, fields by four, CR LF after every
 * line. Every value goes through CodificaTestoXml, so the document holds only codes 32 to 127 besides
 * its line ends.
 */

/**
 * A value escaped for XML element content: the quote, "&", "<" and ">" as entities, every other
 * character below 32 or above 127 as one reference to its code point ("&#8364;"). Characters that
 * XML 1.0 forbids (codes below 32 other than 9, 10 and 13, lone surrogates, U+FFFE and U+FFFF) are
 * left out, since no reference to them can be read back.
 */
QString CodificaTestoXml(const QString &testo);

/**
 * The document of the courses of CorsiProp whose Guid equals `guid` (all of them, in the order the
 * database gives): per course its CorsoZelto record, the DestinatariZelto records of CodDest and
 * CodDest2 found in Destin, an IndirizzoZelto record for each DesInd1 to DesInd6 set, and the
 * SediOccasionaliZelto record of its occasional seat. No course gives the root lines only.
 * Throws RoutineError: 94 for a Null GrupOpe or Operatore, the database's errors as they come.
 */
QString CreaXmlCorso(kx::Connection &CorsiDB, const QString &guid);
