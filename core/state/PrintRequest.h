#pragma once

#include <QString>

namespace kx {

/** What the print dialogs are asked to serve. */
struct PrintRequest
{
    /** "Stampa Bozza" from the main window's draft print, "Stampa Definitivo" from the send window. */
    QString RichiestaStampa;
};

} // namespace kx
