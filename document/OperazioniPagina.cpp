#include "document/OperazioniPagina.h"

#include "document/Fonts.h"
#include "document/PageEngine.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

Qt::Alignment allineamentoQt(int allineamento)
{
    switch (allineamento) {
    case AllineamentoParagrafo::Sinistra:
        return Qt::AlignLeft;
    case AllineamentoParagrafo::Centrato:
        return Qt::AlignHCenter;
    case AllineamentoParagrafo::Destra:
        return Qt::AlignRight;
    case AllineamentoParagrafo::Giustificato:
        return Qt::AlignJustify;
    default:
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    }
}

/** The format of the placeholder's first character. */
QTextCharFormat formatoSegnaposto(const QTextCursor &selezione)
{
    QTextCursor primo(selezione.document());
    primo.setPosition(selezione.selectionStart() + 1);
    return primo.charFormat();
}

void sostituisci(PageEngine &WordApp, const QString &valore, const QString &segnaposto,
                 const QString &nomeFont, qint16 dimensione, bool grassetto)
{
    PageDocument &pagina = WordApp.activeDocument();
    QTextCursor selezione = pagina.prendiSegnaposto(segnaposto);
    if (selezione.isNull())
        return;
    QTextCharFormat formato = formatoSegnaposto(selezione);
    if (!nomeFont.isEmpty())
        formato.setFontFamilies(QStringList{nomeFont});
    if (dimensione > 0)
        formato.setFontPointSize(dimensione);
    formato.setFontWeight(grassetto ? QFont::Bold : QFont::Normal);
    selezione.insertText(valore, formato);
    pagina.setCursorPosition(selezione.position());
    const int prossimo = pagina.prossimoSegnaposto(segnaposto);
    if (prossimo >= 0)
        pagina.setCursorPosition(prossimo);
}

} // namespace

void ScriviNumeroPagina(PageEngine &WordApp, int vista, const QString &testo, int allineamento,
                        const QString &suffisso)
{
    PageDocument &pagina = WordApp.activeDocument();
    if (vista != VistaPagina::IntestazionePagina && vista != VistaPagina::PiePagina)
        return;
    QTextDocument &parte =
        vista == VistaPagina::IntestazionePagina ? *pagina.content().header : *pagina.content().footer;
    QTextCursor cursore(&parte);
    QTextBlockFormat paragrafo = cursore.blockFormat();
    paragrafo.setAlignment(allineamentoQt(allineamento));
    cursore.setBlockFormat(paragrafo);
    cursore.insertText(u"("_s + testo + (suffisso.isEmpty() ? u")"_s : u")."_s + suffisso));
}

void SostituisciSegnaposto(PageEngine &WordApp, const QString &valore, const QString &segnaposto,
                           const QString &nomeFont, qint16 dimensione, bool grassetto, bool bordo)
{
    Q_UNUSED(bordo)
    try {
        ripetiInModalitaDebug(WordApp.services(), [&] {
            sostituisci(WordApp, valore, segnaposto, nomeFont, dimensione, grassetto);
        });
    } catch (const RoutineError &) {
        // The page goes on with the placeholder as it stands, as it always has.
    }
}

void ImpostaCasella(PageEngine &WordApp, const QString &segnaposto, bool spuntata)
{
    PageDocument &pagina = WordApp.activeDocument();
    QTextCursor selezione = pagina.prendiSegnaposto(segnaposto);
    if (selezione.isNull())
        return;
    QTextCharFormat formato = formatoSegnaposto(selezione);
    formato.setFontFamilies(QStringList{FamigliaCaselle});
    selezione.insertText(spuntata ? u"\u2612"_s : u"\u2610"_s, formato);
    pagina.setCursorPosition(selezione.position());
}

} // namespace kx
