#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace kx {

/**
 * The ways into printing that windows of other subsystems use. The document subsystem fills them in
 * when the program starts; tests put stand-ins in. An empty entry prints nothing.
 */
struct ServiziStampa
{
    /** The draft of one stored course, "BOZZA CORSO": returns once the print window has closed. */
    std::function<void(qint32 numDoma, const QString &sede, const QString &corso)> bozzaCorso;
    /**
     * The print dialogs for PrintRequest::RichiestaStampa, from the seat choice to the document run;
     * returns once they have closed.
     */
    std::function<void()> selBozza;
    /**
     * The document run (the print window) for PrintRequest::TipoStampa over the seat of the course
     * editor state, every seat when it is empty: true when it made the PDF.
     */
    std::function<bool()> documento;
};

} // namespace kx
