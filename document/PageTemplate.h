#pragma once

#include <QString>

namespace kx {

struct PageContent;

/**
 * Page templates are UTF-8 HTML in Qt's rich-text subset. The marker `<!--kx-parte-->` splits a
 * template into its parts: with two markers the text before the first is the header, the text
 * between them the body and the text after the second the footer; without markers the whole file is
 * the body. The head of the file (up to and including the `<body>` tag) applies to all three parts.
 *
 * The paper is A4. `<meta name="margini" content="top right bottom left">` in the head sets the
 * margins in millimetres (2 cm each when missing); lengths in the HTML are points. A placeholder is
 * written in the HTML as `&lt;n3&gt;`, so that it reads "<n3>" in the page. Anchors
 * (`<a name="...">text</a>`) are the page's bookmarks.
 */
inline const QString SeparatoreParti = QStringLiteral("<!--kx-parte-->");

/** Loads the template at `path` into `pagina`; a missing or unreadable file throws error 53 or 75. */
void caricaModello(const QString &path, PageContent &pagina);

/** The same from the template's text; a text with one or more than two markers throws error 5. */
void caricaModelloDaTesto(const QString &html, PageContent &pagina);

} // namespace kx
