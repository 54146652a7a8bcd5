#include "document/PdfComposer.h"

#include "document/PageContent.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

qreal punti(int twips)
{
    return twips / 20.0;
}

QByteArray xml(const QString &testo)
{
    return testo.toHtmlEscaped().toUtf8();
}

/**
 * Collapsed borders double the time Qt's layout takes for a form page; the tables are drawn with
 * the borders of each cell instead, as Qt draws an HTML table with border="1".
 */
void bordiAffiancati(QTextDocument &documento)
{
    for (QTextFrame *frame : documento.rootFrame()->childFrames()) {
        auto *tabella = qobject_cast<QTextTable *>(frame);
        if (!tabella || !tabella->format().borderCollapse())
            continue;
        QTextTableFormat formato = tabella->format();
        formato.setBorderCollapse(false);
        tabella->setFormat(formato);
    }
}

void impagina(QTextDocument &documento, QPaintDevice &dispositivo, const QSizeF &area)
{
    bordiAffiancati(documento);
    documento.documentLayout()->setPaintDevice(&dispositivo);
    documento.setPageSize(area);
}

} // namespace

QByteArray metadatiXmp(const MetadatiPdf &metadati)
{
    const QDateTime data = metadati.data.toOffsetFromUtc(metadati.data.offsetFromUtc());
    const QByteArray quando = data.toString(Qt::ISODate).toUtf8();
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
           "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
           " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
           "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\""
           " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
           "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           xml(metadati.titolo) +
           "</rdf:li></rdf:Alt></dc:title>\n"
           "   <dc:creator><rdf:Seq><rdf:li>" +
           xml(metadati.autore) +
           "</rdf:li></rdf:Seq></dc:creator>\n"
           "   <xmp:CreateDate>" +
           quando + "</xmp:CreateDate>\n   <xmp:ModifyDate>" + quando +
           "</xmp:ModifyDate>\n"
           "   <xmp:CreatorTool>KX58TORVA</xmp:CreatorTool>\n"
           "  </rdf:Description>\n"
           " </rdf:RDF>\n"
           "</x:xmpmeta>\n"
           "<?xpacket end=\"w\"?>";
}

PdfComposer::PdfComposer(QIODevice &device, const MetadatiPdf &metadati)
    : m_writer(std::make_unique<QPdfWriter>(&device)), m_painter(std::make_unique<QPainter>())
{
    m_writer->setResolution(72);
    m_writer->setTitle(metadati.titolo);
    m_writer->setCreator(u"KX58TORVA"_s);
    m_writer->setDocumentXmpMetadata(metadatiXmp(metadati));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
}

PdfComposer::~PdfComposer()
{
    if (m_painter->isActive())
        m_painter->end();
}

void PdfComposer::aggiungiPagina(PageContent &pagina)
{
    const PageSetup &s = pagina.setup;
    const QSizeF carta(punti(s.paperWidth), punti(s.paperHeight));
    const QSizeF area(punti(s.textWidth()), punti(s.textHeight()));
    m_writer->setPageSize(QPageSize(carta, QPageSize::Point));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));

    impagina(*pagina.body, *m_writer, area);
    impagina(*pagina.header, *m_writer, QSizeF(area.width(), -1));
    impagina(*pagina.footer, *m_writer, QSizeF(area.width(), -1));
    const qreal altezzaPiede = pagina.footer->isEmpty() ? 0 : pagina.footer->size().height();

    const int fogli = pagina.body->pageCount();
    for (int foglio = 0; foglio < fogli; ++foglio) {
        if (m_primaPagina) {
            m_painter->begin(m_writer.get());
            m_primaPagina = false;
        } else {
            m_writer->newPage();
        }
        QPainter &p = *m_painter;
        if (!pagina.header->isEmpty()) {
            p.save();
            p.translate(punti(s.marginLeft), punti(s.headerY));
            pagina.header->drawContents(&p);
            p.restore();
        }
        p.save();
        p.translate(punti(s.marginLeft), punti(s.marginTop) - foglio * area.height());
        pagina.body->drawContents(&p, QRectF(QPointF(0, foglio * area.height()), area));
        p.restore();
        if (altezzaPiede > 0) {
            p.save();
            p.translate(punti(s.marginLeft), carta.height() - punti(s.footerY) - altezzaPiede);
            pagina.footer->drawContents(&p);
            p.restore();
        }
    }
}

bool PdfComposer::fine()
{
    if (m_primaPagina)
        m_painter->begin(m_writer.get());
    return m_painter->end();
}

} // namespace kx
