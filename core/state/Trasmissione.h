#pragma once

#include <QString>

namespace kx {

/** The transmission file of the send workflow: the address its record A carries and its name once written. */
struct Trasmissione
{
    /** The e-mail address confirmed for this transmission; the caller sets it before CreaFile. */
    QString EmailTrasm;
    /** The name, without folder, of the file last written; empty during a run and after a failed one. */
    QString NomeFileTrasm;
    /**
     * The course registry's SOAP service when a test or the demo points it at its own server; empty
     * for the registry's fixed address (transmission/IndirizziFissi.h).
     */
    QString ServizioVordan;
    /**
     * Where the transmission file is uploaded when a test or the demo points it at its own server;
     * empty for the upload server's fixed address.
     */
    QString IndirizzoUpload;
};

} // namespace kx
