#pragma once

#include <QDateTime>
#include <QString>
#include <memory>

class QIODevice;
class QPainter;
class QPdfWriter;

namespace kx {

struct PageContent;

/** What the document says of itself: its title, author and date (in its XMP metadata). */
struct MetadatiPdf
{
    QString titolo;
    QString autore;
    QDateTime data;
};

/** The document's XMP metadata packet: title, author (creator) and the creation date. */
QByteArray metadatiXmp(const MetadatiPdf &metadati);

/**
 * One PDF written onto a device, page after page. Each page is laid out on its paper within its
 * margins and takes as many physical pages as its body needs; its header and footer are painted on
 * every one of them. Lengths are points: the layout runs at 72 dots per inch.
 */
class PdfComposer
{
public:
    PdfComposer(QIODevice &device, const MetadatiPdf &metadati);
    ~PdfComposer();
    PdfComposer(const PdfComposer &) = delete;
    PdfComposer &operator=(const PdfComposer &) = delete;

    /** Lays out the page (its documents take the composer as their paint device) and paints it. */
    void aggiungiPagina(PageContent &pagina);
    /** Ends the document; false when the device could not take it. */
    bool fine();

private:
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    bool m_primaPagina = true;
};

} // namespace kx
