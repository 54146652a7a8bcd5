#pragma once

#include <QString>
#include <QtGlobal>

namespace kx {

/** What the print dialogs are asked to serve. */
struct PrintRequest
{
    /** "Stampa Bozza" from the main window's draft print, "Stampa Definitivo" from the send window. */
    QString RichiestaStampa;
    /** The kind of document the next run composes: "BOZZA", "ORIGINALE" or "BOZZA CORSO". */
    QString TipoStampa;
    /** Whether the definitive document was produced in this request; the send window reads it. */
    bool StampaDefinitivaEseguita = false;
    /** The print interval typed in the print dialog, in milliseconds; nothing reads it. */
    qint32 IntervalloStampa = 0;
};

} // namespace kx
