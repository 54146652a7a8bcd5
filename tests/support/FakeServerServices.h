#pragma once

#include <QString>

class FakeServer;

/** The token the demo identity page issues, and the one the approved courses accept. */
inline constexpr char DemoAlbisId[] = "4711000000000000042";

/** The version check: this program's version as the minimum and the latest, and no notice. */
inline constexpr char VersionCheckPath[] = "versione/controllo.php";

/** The path of the upload of the transmission file, which asks for its own Basic credentials. */
inline constexpr char UploadPath[] = "cgi-bin/fp/upload/allegati_fp_upload";

/** The course registry's SOAP service; its description is at the same path with "?WSDL". */
inline constexpr char CourseRegistryPath[] = "webservicezelto/percorsidirittodovere.asmx";

/**
 * The services of the regional server as the demo and the tests meet them, on the paths of the demo
 * INI file: the operator download from a small demo registry, the identity page, the approved
 * courses (which check the identity token), the new application number, the version check, the upload, the
 * assistance page and the course registry. New application numbers run from 1001 for this server
 * alone or, given a number file, on from the last number it keeps (the demo server's, across runs).
 */
void installRegionalServices(FakeServer &server, const QString &numberFile = QString());
