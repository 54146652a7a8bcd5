// Timings of a whole print run: an application with its seats and courses (by default 5 seats of 10
// courses, 58 pages) composed page by page from the program's templates, saved as page files and joined
// into one PDF. It reports the pages' part (fill and page files) and the PDF's part of each run and
// leaves the last PDF in <folder>; with --schermata it also shows the print window during a run and saves
// its picture.
//
//   bench_stampa <folder> [--corsi 10,10,10,10,10] [--ripetizioni 5] [--schermata window.png]
#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"
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
#include <numeric>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

QString testo(const QString &base, int lunghezza)
{
    QString t = base;
    while (t.size() < lunghezza)
        t += u" " + base;
    return t.left(lunghezza);
}

/** Application 204 of operator B-17 with the seats 1 to n, each with its number of courses. */
void riempi(FixtureDatabase &db, const QList<int> &corsiPerSede)
{
    db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s}, {{u"099"_s, u"XY"_s}});
    db.insert(u"Bacino"_s, {u"CodBacino"_s, u"Descrizione"_s}, {{5, testo(u"Bacino"_s, 60)}});
    db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"CodBacino"_s},
              {{u"H501"_s, testo(u"Comune"_s, 60), u"099"_s, 5}});
    db.insert(u"AttEcono"_s, {u"AttEcono"_s, u"Descrizione"_s}, {{8542, testo(u"Istruzione"_s, 60)}});
    db.insert(u"CicloFinanziario"_s, {u"CodCiclo"_s, u"Descrizione"_s}, {{u"CF1"_s, testo(u"Ciclo"_s, 60)}});
    db.insert(u"Destin"_s, {u"CodDest"_s, u"DesDest"_s}, {{3, testo(u"Destinatari"_s, 60)}});
    db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
              {{u"B"_s, 17, testo(u"ENTE DI FORMAZIONE"_s, 100)}});
    db.insert(u"Domande"_s,
              {u"NumDoma"_s,   u"GrupOpe"_s,        u"Operatore"_s,    u"PROV"_s,        u"CodFisc"_s,
               u"PIva"_s,      u"LegNome"_s,        u"LegComNasc"_s,   u"LegProvNasc"_s, u"LegGGNasc"_s,
               u"LegMMNasc"_s, u"LegAAAANasc"_s,    u"ProvCCIAA"_s,    u"CodCCIAA"_s,    u"AnnoCCIAA"_s,
               u"AttEcono"_s,  u"Corrispondenza"_s, u"ContDesBanca"_s, u"ContAge"_s,     u"ContIndirAge"_s,
               u"ContNumCC"_s, u"ContIntCC"_s,      u"ContIBAN"_s},
              {{204,
                u"B"_s,
                17,
                u"099"_s,
                u"RSSMRA60C05H501U"_s,
                u"01234567890"_s,
                testo(u"Mario Rossi"_s, 35),
                testo(u"Roma"_s, 30),
                u"RM"_s,
                u"05"_s,
                u"03"_s,
                u"1960"_s,
                u"RM"_s,
                u"1234567"_s,
                u"1999"_s,
                8542,
                1,
                testo(u"Banca"_s, 60),
                testo(u"Agenzia"_s, 60),
                testo(u"Via della Banca"_s, 60),
                testo(u"000123"_s, 60),
                testo(u"Intestatario"_s, 60),
                u"IT60X0542811101000000123456"_s}});
    QList<QVariantList> sedi;
    QList<QVariantList> corsi;
    for (int s = 0; s < corsiPerSede.size(); ++s) {
        const int sede = s + 1;
        sedi.append({204, sede, u"B"_s, 17, s == 0 ? u"SL"_s : u"UL"_s,
                     testo(u"Sede " + QString::number(sede), 100), u"H501"_s, u"00100"_s,
                     testo(u"Via Roma"_s, 50), u"0611111111"_s, u"0622222222"_s, testo(u"sede@ente.it"_s, 60),
                     testo(u"Referente"_s, 60)});
        for (int c = 1; c <= corsiPerSede[s]; ++c)
            corsi.append({204,
                          sede,
                          u"B"_s,
                          17,
                          u"%1"_s.arg(c, 4, 10, QChar(u'0')),
                          1,
                          u"CF1"_s,
                          u"III"_s,
                          u"G"_s,
                          u"06.01"_s,
                          u"Q01"_s,
                          testo(u"Corso di formazione"_s, 60),
                          3,
                          12,
                          200,
                          1,
                          0,
                          200,
                          12.5,
                          1000.0 * c + sede});
    }
    db.insert(u"CorsiSediInteressate"_s,
              {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
               u"Denominazione"_s, u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s, u"Tel"_s, u"Fax"_s, u"Email"_s,
               u"Riferimento"_s},
              sedi);
    db.insert(u"CorsiProp"_s,
              {u"NumDoma"_s,      u"SedeInteressata"_s, u"GrupOpe"_s,          u"Operatore"_s,
               u"Corso"_s,        u"CompoResp"_s,       u"CicloFinanziario"_s, u"CodAsse"_s,
               u"CodMisura"_s,    u"CodAzione"_s,       u"CodQualif"_s,        u"DenCorso"_s,
               u"CodDest"_s,      u"NumAll"_s,          u"TotOreIter"_s,       u"DurataTotIter"_s,
               u"AllieviSpesa"_s, u"OreSpesa"_s,        u"ParametroSpesa"_s,   u"TotaleSpesa"_s},
              corsi);
}

/** The process's processor time in ms: on a shared, loaded machine it varies far less than the wall clock. */
double tempoProcessore()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
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
                             "[--schermata finestra.png]\n");
        return 2;
    }
    const QString cartella = argomenti.takeFirst();
    QList<int> corsiPerSede{10, 10, 10, 10, 10};
    int ripetizioni = 5;
    QString schermata;
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

    TestContext test;
    FixtureDatabase db(test.path(u"KX58TORVA.mdb"_s));
    riempi(db, corsiPerSede);
    for (int k = 1; k <= 5; ++k) {
        const QString nome = u"_JW63PELO-0%1.dat"_s.arg(k);
        QFile::copy(QStringLiteral(KX_RESOURCES) + u'/' + nome, test.path(nome));
    }
    Context &context = test.context();
    CurrentApplication &domanda = context.domanda();
    domanda.NumDomaCorrente = 204;
    domanda.GrupOpeCorrente = u"B"_s;
    domanda.OperatoreCorrente = u"17"_s;
    domanda.DenominazioneOpCorrente = u"Ente di formazione"_s;
    domanda.ProvCorrente = u"099"_s;
    context.stampa().TipoStampa = TipiStampa::Bozza;
    context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    const QString pdf = test.path(nomeFilePdf(u"B"_s, u"17"_s, u"XY"_s, 204, TipiStampa::Bozza));
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
        const double processoreInizio = tempoProcessore();
        if (!run.esegui()) {
            std::fprintf(stderr, "la stampa non ha creato il PDF\n");
            return 1;
        }
        const qint64 fine = tempo.nsecsElapsed();
        processore.append(tempoProcessore() - processoreInizio);
        numeroPagine = run.ContatorePagine;
        pagine.append(finePagine / 1e6);
        composizione.append((fine - finePagine) / 1e6);
        totale.append(fine / 1e6);
    }
    std::printf("%d pagine (%lld corsi su %lld sedi), %d ripetizioni, mediana in ms:\n", numeroPagine,
                static_cast<long long>(std::accumulate(corsiPerSede.begin(), corsiPerSede.end(), 0)),
                static_cast<long long>(corsiPerSede.size()), ripetizioni);
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
    context.DE().CorsiDB().close();
    return 0;
}
