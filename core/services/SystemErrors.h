#pragma once

#include <QString>

namespace kx {

/**
 * The Italian description of a system error number (errno), for boxes that name a file and why it
 * cannot be used; numbers without a description of ours get the system's own text.
 */
QString descrizioneErroreSistema(int errnum);

/**
 * Why the file cannot be opened for reading, or for reading and writing when `scrittura` is set: the
 * description of the failure, or an empty text when it opens.
 */
QString causaFileInutilizzabile(const QString &path, bool scrittura);

/** Why no file can be created in the folder, or an empty text when one can. */
QString causaCartellaNonScrivibile(const QString &folder);

} // namespace kx
