#pragma once

#include <QTextDocument>
#include <memory>

namespace kx {

/** Paper, margins and the distance of header and footer from the paper's edge, in twips (1/20 pt). */
struct PageSetup
{
    int paperWidth = 11906; // A4
    int paperHeight = 16838;
    int marginLeft = 1134; // 2 cm
    int marginRight = 1134;
    int marginTop = 1134;
    int marginBottom = 1134;
    int headerY = 567; // 1 cm
    int footerY = 567;

    int textWidth() const { return paperWidth - marginLeft - marginRight; }
    int textHeight() const { return paperHeight - marginTop - marginBottom; }
    bool operator==(const PageSetup &) const = default;
};

/**
 * One page of the application document: its body, header and footer, each a document of its own
 * (as a word processor keeps them), and its paper. Lengths inside the documents are points.
 */
struct PageContent
{
    PageContent();
    PageContent(const PageContent &) = delete;
    PageContent &operator=(const PageContent &) = delete;

    std::unique_ptr<QTextDocument> header;
    std::unique_ptr<QTextDocument> body;
    std::unique_ptr<QTextDocument> footer;
    PageSetup setup;
};

/** The font a page starts from where its text names none: the word processor's Times New Roman 12. */
QFont carattereBasePagina();

} // namespace kx
