#include "document/PageContent.h"

#include "document/Fonts.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

std::unique_ptr<QTextDocument> nuovoDocumento()
{
    auto documento = std::make_unique<QTextDocument>();
    documento->setDocumentMargin(0);
    documento->setUseDesignMetrics(true);
    documento->setDefaultFont(carattereBasePagina());
    return documento;
}

} // namespace

QFont carattereBasePagina()
{
    QFont font(u"Times New Roman"_s);
    font.setPointSizeF(12);
    return font;
}

PageContent::PageContent() : header(nuovoDocumento()), body(nuovoDocumento()), footer(nuovoDocumento()) {}

} // namespace kx
