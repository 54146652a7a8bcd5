// Timings of a whole print run: the document tests' application with its seats and courses (by default 5
// seats of 10 courses, 58 pages) composed page by page from the program's templates, saved as page files and
// joined into one PDF. It reports the pages' part (fill and page files) and the PDF's part of each run and
// leaves the last PDF in <folder>; with --schermata it also shows the print window during a run and saves
// its picture.
//
//   bench_stampa <folder> [--corsi 10,10,10,10,10] [--ripetizioni 5] [--schermata window.png] [--esempio]
//
// --esempio prints the tests' application as it stands (two seats with two and one courses, 8 pages).
#include "BancoDocumento.h"
#include "ProcessorTime.h"
#include "core/state/ServiziStampa.h"
#include "document/ComposizioneDocumento.h"
#include "document/ui/ServiziDocumento.h"
#include "document/ui/ViewStam.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

/**
 * The fixture application of the document tests with the seats 1 to n, each with its number of
 * courses, and every text at its full length.
 */
void preparaDomanda(BancoDocumento &banco, const QList<int> &corsiPerSede)
{
    banco.db.execute(u"DELETE FROM CorsiProp"_s);
    banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata <> 1"_s);
    for (int sede = 1; sede <= corsiPerSede.size(); ++sede) {
        if (sede > 1)
            banco.aggiungiSede({sede, u"UL"_s, QString(u"Sede "_s + QString::number(sede)), u"H501"_s,
                                u"00100"_s, u"Via Roma"_s, u"0611111111"_s, u"0622222222"_s,
                                u"sede@ente.it"_s, u"Referente"_s});
        for (int corso = 1; corso <= corsiPerSede[sede - 1]; ++corso)
            banco.aggiungiCorso(sede, u"%1"_s.arg(corso, 4, 10, QChar(u'0')), 1000.0 * corso + sede);
    }
    banco.allungaValori();
}

double mediana(QList<double> valori)
{
    std::sort(valori.begin(), valori.end());
    return valori.isEmpty() ? 0 : valori[valori.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStringList argomenti = QApplication::arguments().mid(1);
    if (argomenti.isEmpty()) {
        std::fprintf(stderr, "uso: bench_stampa <cartella> [--corsi 10,10,10,10,10] [--ripetizioni 5] "
                             "[--schermata finestra.png] [--esempio]\n");
        return 2;
    }
    const QString cartella = argomenti.takeFirst();
    QList<int> corsiPerSede{10, 10, 10, 10, 10};
    int ripetizioni = 5;
    QString schermata;
    const bool esempio = argomenti.removeAll(u"--esempio"_s) > 0;
    while (argomenti.size() >= 2) {
        const QString opzione = argomenti.takeFirst();
        const QString valore = argomenti.takeFirst();
        if (opzione == u"--corsi") {
            corsiPerSede.clear();
            for (const QString &n : valore.split(u','))
                corsiPerSede.append(n.toInt());
        } else if (opzione == u"--ripetizioni") {
            ripetizioni = valore.toInt();
        } else if (opzione == u"--schermata") {
            schermata = valore;
        }
    }

    BancoDocumento banco;
    if (!esempio)
        preparaDomanda(banco, corsiPerSede);
    TestContext &test = banco.test;
    Context &context = test.context();
    const QString pdf = banco.pdf(TipiStampa::Bozza);
    const QString avviso = u"E' stato creato il file "_s + pdf + u'.';

    QList<double> pagine;
    QList<double> composizione;
    QList<double> totale;
    QList<double> processore;
    int numeroPagine = 0;
    for (int r = 0; r < ripetizioni; ++r) {
        test.prompt.expect(avviso);
        ComposizioneDocumento run(context);
        context.corsi().SedeCorrente.clear();
        QElapsedTimer tempo;
        qint64 finePagine = 0;
        run.inizioPdf = [&] { finePagine = tempo.nsecsElapsed(); };
        tempo.start();
        const double processoreInizio = processorMs();
        if (!run.esegui()) {
            std::fprintf(stderr, "la stampa non ha creato il PDF\n");
            return 1;
        }
        const qint64 fine = tempo.nsecsElapsed();
        processore.append(processorMs() - processoreInizio);
        numeroPagine = run.ContatorePagine;
        pagine.append(finePagine / 1e6);
        composizione.append((fine - finePagine) / 1e6);
        totale.append(fine / 1e6);
    }
    std::printf("%d pagine, %d ripetizioni, mediana in ms:\n", numeroPagine, ripetizioni);
    std::printf("  pagine (riempimento e file di pagina)  %8.1f  (%.1f per pagina)\n", mediana(pagine),
                mediana(pagine) / std::max(1, numeroPagine));
    std::printf("  composizione del PDF                   %8.1f\n", mediana(composizione));
    std::printf("  stampa intera                          %8.1f  (min %.1f, max %.1f)\n", mediana(totale),
                *std::min_element(totale.begin(), totale.end()),
                *std::max_element(totale.begin(), totale.end()));
    std::printf("  tempo di processore della stampa       %8.1f\n", mediana(processore));
    QDir().mkpath(cartella);
    const QString copia = QDir(cartella).filePath(QFileInfo(pdf).fileName());
    QFile::remove(copia);
    QFile::copy(pdf, copia);
    std::printf("PDF: %s\n", qPrintable(copia));

    if (!schermata.isEmpty()) {
        installaServiziDocumento(context);
        test.prompt.expect(avviso);
        test.dialogRunner.expect(u"ViewStam"_s, [&](QDialog &dialog) {
            auto &finestra = dynamic_cast<ViewStam &>(dialog);
            finestra.osservaPagine([&](int numero) {
                if (numero == std::min(5, numeroPagine))
                    finestra.grab().save(schermata);
            });
            while (finestra.isVisible())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        });
        context.serviziStampa().documento();
        std::printf("Finestra: %s\n", qPrintable(schermata));
    }
    return 0;
}
