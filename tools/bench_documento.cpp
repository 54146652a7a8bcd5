// Timings of the PDF composition: 53 form-like pages (heading table, a 30-row table, the page number
// in the footer) saved as page files and joined by clsCreaPDF, beside the floor of this stack: the
// same pages laid out with one QTextDocument each into one QPdfWriter. It leaves the page files as
// .rtf in <folder>/rtf and our PDF in <folder>, so that tools/bench-documento.sh can time LibreOffice
// on the same pages and compare their text.
//
//   bench_documento <folder> [pages]
#include "BenchServices.h"
#include "ProcessorTime.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "document/OperazioniPagina.h"
#include "document/PageEngine.h"
#include "document/PageTemplate.h"
#include "document/clsCreaPDF.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

constexpr int Ripetizioni = 5;
constexpr int RigheTabella = 30;

QString modello()
{
    QString righe;
    for (int r = 1; r <= RigheTabella; ++r)
        righe +=
            u"<tr><td>%1</td><td>&lt;d%1&gt;</td><td>&lt;v%1&gt;</td><td align=\"right\">&lt;i%1&gt;</td></tr>"_s
                .arg(r);
    return u"<html><head><meta charset=\"utf-8\"><meta name=\"margini\" content=\"15 15 15 15\"></head>"
           u"<body style=\"font-family:Arial; font-size:9pt\">"_s +
           SeparatoreParti +
           u"<table border=\"1\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">"
           u"<tr><td width=\"20%\" bgcolor=\"#d9d9d9\">Domanda n.</td><td width=\"30%\">&lt;NumDoma&gt;</td>"
           u"<td width=\"20%\" bgcolor=\"#d9d9d9\">Data</td><td>&lt;Data&gt;</td></tr>"
           u"<tr><td colspan=\"2\">&lt;TIPOSTAMPA&gt;</td><td colspan=\"2\">&lt;ver&gt;</td></tr></table>"
           u"<p align=\"center\" style=\"font-size:13pt\"><b>SCHEDA CORSO</b></p>"
           u"<table border=\"1\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">"
           u"<tr><td width=\"6%\"><b>N.</b></td><td width=\"44%\"><b>Voce</b></td><td "
           u"width=\"35%\"><b>Valore</b></td>"
           u"<td><b>Importo</b></td></tr>"_s +
           righe + u"</table>"_s + SeparatoreParti + u"<p></p></body></html>"_s;
}

/**
 * Fills the page as a page builder does and saves it as Pagina<numero>.tmp; returns the filled page
 * as one HTML document (body, then the footer's line) for the floor.
 */
QString creaPagina(PageEngine &engine, clsCreaPDF &pdf, const QString &percorsoModello, int numero)
{
    engine.open(percorsoModello);
    SostituisciSegnaposto(engine, u"204"_s, u"<NumDoma>"_s, u"Arial"_s, 10, true, false);
    SostituisciSegnaposto(engine, u"15/03/2021"_s, u"<Data>"_s, u"Arial"_s, 10, false, false);
    SostituisciSegnaposto(engine, u"(ver. 1.0.5)"_s, u"<ver>"_s, u"Times New Roman"_s, 10, false, false);
    SostituisciSegnaposto(engine, u"BOZZA"_s, u"<TIPOSTAMPA>"_s, u"Arial"_s, 10, true, false);
    for (int r = 1; r <= RigheTabella; ++r) {
        const QString riga = QString::number(r);
        SostituisciSegnaposto(engine,
                              u"Voce %1 della pagina %2 con la sua descrizione"_s.arg(riga).arg(numero),
                              u"<d"_s + riga + u'>', QString(), 0, false, false);
        SostituisciSegnaposto(engine, u"Valore àèìòù € %1"_s.arg(r * numero), u"<v"_s + riga + u'>',
                              QString(), 0, false, false);
        SostituisciSegnaposto(engine, u"%1,50"_s.arg(r * 1000 + numero), u"<i"_s + riga + u'>', QString(), 0,
                              false, false);
    }
    ScriviNumeroPagina(engine, VistaPagina::PiePagina, u" "_s + QString::number(numero),
                       AllineamentoParagrafo::Centrato, QString());
    pdf.SaveTmpRTF(engine, qint16(numero));
    const PageContent &pagina = engine.activeDocument().content();
    QString html = pagina.body->toHtml();
    html.replace(u"</body>"_s,
                 u"<p align=\"center\">"_s + pagina.footer->toPlainText().toHtmlEscaped() + u"</p></body>"_s);
    engine.closeAll();
    return html;
}

/** The floor: each page's filled body as HTML, one QTextDocument each, into one QPdfWriter. */
void pavimento(const QStringList &pagine)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    const QSizeF area(595.0 - 2 * 42.5, 842.0 - 2 * 42.5);
    bool prima = true;
    for (const QString &html : pagine) {
        if (!prima)
            writer.newPage();
        prima = false;
        QTextDocument documento;
        documento.documentLayout()->setPaintDevice(&writer);
        documento.setDocumentMargin(0);
        documento.setHtml(html);
        documento.setPageSize(area);
        painter.save();
        painter.translate(42.5, 42.5);
        documento.drawContents(&painter, QRectF(QPointF(0, 0), area));
        painter.restore();
    }
    painter.end();
}

double millisecondi(qint64 ns)
{
    return ns / 1e6;
}

/** Wall-clock and processor time of a step, in ns. */
struct Tempi
{
    qint64 muro = 0;
    qint64 processore = 0;
};

template<typename Step> Tempi misura(Step &&step)
{
    QElapsedTimer muro;
    muro.start();
    const qint64 processore = qint64(processorMs() * 1e6);
    step();
    return {muro.nsecsElapsed(), qint64(processorMs() * 1e6) - processore};
}

/** The median of the wall-clock and of the processor times, each sorted on its own. */
Tempi mediana(const QList<Tempi> &misure)
{
    QList<qint64> muro;
    QList<qint64> processore;
    for (const Tempi &t : misure) {
        muro.append(t.muro);
        processore.append(t.processore);
    }
    std::sort(muro.begin(), muro.end());
    std::sort(processore.begin(), processore.end());
    return {muro[muro.size() / 2], processore[processore.size() / 2]};
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: bench_documento <cartella> [pagine]\n");
        return 2;
    }
    const QString cartella = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int quante = argc > 2 ? std::atoi(argv[2]) : 53;
    QDir().mkpath(cartella + u"/rtf"_s);

    bench::Servizi servizi;
    Context context(cartella, cartella + u"/.utente.ini"_s, servizi.services);
    context.domanda().DenominazioneOpCorrente = u"ENTE DI FORMAZIONE"_s;
    QFile fileModello(cartella + u"/_JW63PELO-05.dat"_s);
    if (!fileModello.open(QIODevice::WriteOnly) || fileModello.write(modello().toUtf8()) < 0)
        return 1;
    fileModello.close();

    PageEngine engine(servizi.services);
    engine.start();
    clsCreaPDF pdf(context);
    QStringList pagineHtml;
    QElapsedTimer riempimento;
    riempimento.start();
    for (int numero = 1; numero <= quante; ++numero)
        pagineHtml.append(creaPagina(engine, pdf, fileModello.fileName(), numero));
    const qint64 tempoRiempimento = riempimento.nsecsElapsed();
    for (int numero = 1; numero <= quante; ++numero) {
        const QString copia = cartella + u"/rtf/Pagina"_s + QString::number(numero) + u".rtf"_s;
        QFile::remove(copia);
        if (!QFile::copy(pdf.percorsoPagina(numero), copia))
            return 1;
    }

    QList<Tempi> nostri;
    QList<Tempi> pavimenti;
    bool riuscito = true;
    for (int volta = 0; volta < Ripetizioni; ++volta) {
        // clsCreaPDF takes only the pages it saved: save them again, outside the timing.
        for (int numero = 1; numero <= quante; ++numero)
            creaPagina(engine, pdf, fileModello.fileName(), numero);
        pdf.setFilePDF(cartella + u"/Domanda.pdf"_s);
        pdf.setTotPagine(qint16(quante));
        nostri.append(misura([&] { riuscito = pdf.CreatePDF() && riuscito; }));
        pavimenti.append(misura([&] { pavimento(pagineHtml); }));
    }
    if (!riuscito)
        return 1;
    const Tempi nostro = mediana(nostri);
    const Tempi minimo = mediana(pavimenti);
    std::printf("pagine %d (tempi: mediana di %d, orologio / processore)\n", quante, Ripetizioni);
    std::printf("riempimento e file di pagina: %.1f ms\n", millisecondi(tempoRiempimento));
    std::printf("composizione clsCreaPDF: %.1f / %.1f ms\n", millisecondi(nostro.muro),
                millisecondi(nostro.processore));
    std::printf("pavimento QTextDocument + QPdfWriter: %.1f / %.1f ms\n", millisecondi(minimo.muro),
                millisecondi(minimo.processore));
    std::printf("rapporto nostro/pavimento: %.2f / %.2f\n", double(nostro.muro) / double(minimo.muro),
                double(nostro.processore) / double(minimo.processore));
    return 0;
}
