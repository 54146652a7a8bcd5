#pragma once

#include <QByteArrayView>
#include <QString>

namespace kx {

struct PageContent;

/**
 * Reads a page file written by `scriviRtf` into `pagina` (whose documents must be empty): the body,
 * header, footer and paper. Font names are resolved with `famigliaCarattere`. Groups it does not know
 * are skipped. A file that is not such RTF (truncated, unbalanced braces, numbers out of range, too
 * deep) gives false and the reason in `errore`, never a crash or a hang.
 */
bool leggiRtf(QByteArrayView rtf, PageContent &pagina, QString *errore = nullptr);

} // namespace kx
