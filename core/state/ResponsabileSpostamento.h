#pragma once

#include <QString>

namespace kx {

/**
 * What the course reassignment and its responsible-component dialog tell each other. The
 * reassignment sets all three before it opens the dialog; the dialog's Conferma sets the component
 * and the confirmation, its Annulla clears the confirmation.
 */
struct ResponsabileSpostamento
{
    /** The chosen component's number, as text; "0" while none is chosen. */
    QString CompoRespScelto = QStringLiteral("0");
    /** True when the move may go ahead. */
    bool CompoRespConfermato = false;
    /** The code of the occasional seat the courses move to, in decimal. */
    QString SedeOccDestinazione;
};

} // namespace kx
