#pragma once

#include <QByteArray>

namespace kx {

struct PageContent;

/**
 * The page as RTF, code page 1252: font and colour tables, paper and margins, header and footer,
 * paragraphs (alignment, spacing, indents, page breaks), runs (font, size, bold, italic, underline,
 * strike-out, colour), tables (column widths, borders, padding, shading, merged cells) and bookmarks.
 * Characters outside the code page are written as `\uN`. A word processor opens the result; our
 * reader (`leggiRtf`) reads back exactly what this writes.
 */
QByteArray scriviRtf(const PageContent &pagina);

} // namespace kx
