#pragma once

#include <QString>

namespace kx {
class Recordset;
} // namespace kx

/** How a picker's search text is compared with the searched field. */
enum class ConfrontoRicerca
{
    /** The field begins with the text; an empty text finds the first row whose field is not empty. */
    Inizio,
    /** The field holds the text anywhere; an empty text finds the first row. */
    Contiene
};

/**
 * The pickers' search: makes current the first row, in the recordset's order, whose field matches the
 * text, compared without regard to case and character by character (no character is a wildcard, an
 * apostrophe is an apostrophe). When no row matches, the current row stays where it was and the
 * result is false.
 */
bool cercaNelCampo(kx::Recordset &rs, const QString &campo, const QString &testo, ConfrontoRicerca confronto);
