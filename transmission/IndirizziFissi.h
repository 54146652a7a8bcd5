#pragma once

#include <QString>

/**
 * The fixed addresses of the send workflow, in one place. The hosts are placeholders under ".example"
 * until the region supplies the real ones; tests and the demo reach their own server through the
 * Context instead (Trasmissione).
 */

/** The external course registry's host: its SOAP service and the namespace of its data set. */
inline const QString HostRegistroVordan = QStringLiteral("zelto.tuz-valdoria.example");

/** The course registry's SOAP service; its description is this address followed by "?WSDL". */
inline const QString IndirizzoServizioVordan = QStringLiteral("http://") + HostRegistroVordan +
                                               QStringLiteral("/webservicezelto/percorsidirittodovere.asmx");

/** The namespace of the dsZelto data set, the only attribute of the document's root. */
inline const QString NamespaceDsZelto =
    QStringLiteral("http://") + HostRegistroVordan + QStringLiteral("/dsZelto.xsd");

/** The secure upload server of the transmission file. */
inline const QString HostUpload = QStringLiteral("upload.tuz-valdoria.example");

/** Where the transmission file is posted; the account goes beside it, never inside the address. */
inline const QString IndirizzoUploadFisso =
    QStringLiteral("https://") + HostUpload + QStringLiteral("/cgi-bin/fp/upload/allegati_fp_upload");

/** The upload's account, sent as Basic credentials ahead of the request. */
inline const QString UtenteUpload = QStringLiteral("robot");
inline const QString PasswordUpload = QStringLiteral("%tulip%42&");
