// Timings of the course editor on a seat with few and with many courses: the window opened on the
// seat (rows, lists and the first course shown) and one stored course saved (checks, write, rows read
// again). Each should take the same time whatever the number of the seat's courses. Then the steps
// of "Corso Successivo" from the first to the last of 1,000 courses, and the approved-course picker
// opened and searched over 20,000 approved courses of the operator, cycle and seat.
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "courses/ui/Corsi.h"
#include "courses/ui/TabCorsiApprovati.h"
#include "tools/BenchFinestre.h"
#include "tools/BenchServices.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Application 7 with its seat 2 holding `corsi` courses that pass every check, over a few decode rows. */
class Banco
{
public:
    explicit Banco(int corsi)
    {
        const QString db = m_dir.filePath(u"KX58TORVA.mdb"_s);
        createEmptyDatabase(db);
        m_context = std::make_unique<Context>(m_dir.path(), m_dir.filePath(u"FP.ini"_s), m_servizi.services);
        Connection &connessione = m_context->DE().CorsiDB();
        connessione.open(db, Connection::Mode::Shared);
        connessione.executeScript(
            u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (7, 'A', 12);"
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
            u"Denominazione) VALUES (7, 2, 'A', 12, 'SO', 'SEDE');"
            u"INSERT INTO CicloFinanziario VALUES ('2021', 'PROGRAMMAZIONE 2021');"
            u"INSERT INTO Asse VALUES ('1', 'OCCUPAZIONE');"
            u"INSERT INTO Prov_Asse VALUES ('001', '1');"
            u"INSERT INTO Misura VALUES ('1', '8II', 'ORIENTAMENTO');"
            u"INSERT INTO Prov_Misura VALUES ('001', '1', '8II');"
            u"INSERT INTO Azione VALUES ('1', '8II', '2.04.07', 'LARSA');"
            u"INSERT INTO Prov_Azione VALUES ('001', '1', '8II', '2.04.07');"
            u"INSERT INTO AzioneDenomCorso VALUES ('1', '8II', '2.04.07', 1, 'LARSA - Formazione / Scuola');"
            u"INSERT INTO Destin VALUES (12, 'DISABILI');"
            u"INSERT INTO AzioneDestin VALUES ('1', '8II', '2.04.07', 12);"
            u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, DenCorso) "
            u"VALUES (4711, 'A', 12, '3', 'CORSO APPROVATO');"_s);
        Transaction transazione(connessione);
        for (int i = 1; i <= corsi; ++i)
            connessione.execute(
                u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, "
                u"CicloFinanziario, "
                u"CodAsse, CodMisura, CodAzione, CodQualif, DenCorso, CodDest, CodCert, CodPerc, NumAll, "
                u"TotOreIter, DurataTotIter, CorsoRifC211B, IdAttivita_CorsoRifB111, Guid) VALUES (7, 2, "
                u"'A', "
                u"12, ?, '2021', '1', '8II', '2.04.07', '', 'LARSA - Formazione / Scuola', 12, 1, 1, 1, 100, "
                u"1, '', 4711, ?)"_s,
                QVariantList{QString::number(i).rightJustified(4, u'0'),
                             QString(u"{GUID-"_s + QString::number(i) + u'}')});
        transazione.commit();
        CurrentApplication &domanda = m_context->domanda();
        domanda.NumDomaCorrente = 7;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;
        m_context->corsi().impostaSede(7, u"2"_s, u"SEDE"_s);
    }

    /** Approved courses of the operator at seat 2 in cycle 2021 (IdAttivita from 100001), the cycle the
     * editor stands on. */
    void corsiApprovati(int quanti)
    {
        Connection &connessione = m_context->DE().CorsiDB();
        Transaction transazione(connessione);
        for (int i = 1; i <= quanti; ++i)
            connessione.execute(
                u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, ProgrAccorp, "
                u"DenCorso, Componente, DurataAnnOre, TotIter, Durata, TipoConv, CicloFin) "
                u"VALUES (?, 'A', 12, ?, 1, ?, 2, 600, 1200, 2, 'AF', '2021')"_s,
                {100000 + i, u"2019-%1"_s.arg(i, 5, 10, QChar(u'0')),
                 u"CORSO DI FORMAZIONE PROFESSIONALE NUMERO %1"_s.arg(i)});
        transazione.commit();
        m_context->corsi().CicloFinanziarioCorrente = u"2021"_s;
    }

    Context &context() { return *m_context; }

private:
    QTemporaryDir m_dir;
    bench::Servizi m_servizi;
    std::unique_ptr<Context> m_context;
};

void BM_AperturaEditore(benchmark::State &state)
{
    Banco banco(int(state.range(0)));
    for (auto _ : state) {
        Corsi finestra(banco.context());
        benchmark::DoNotOptimize(finestra.form());
    }
}
BENCHMARK(BM_AperturaEditore)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SalvataggioCorso(benchmark::State &state)
{
    Banco banco(int(state.range(0)));
    Corsi finestra(banco.context());
    auto *ore = finestra.findChild<QLineEdit *>(u"txtDurataOre"_s);
    auto *salva = finestra.findChild<QAbstractButton *>(u"cmdSalva"_s);
    int valore = 100;
    for (auto _ : state) {
        ore->setText(QString::number(valore));
        salva->click();
        valore = valore == 100 ? 150 : 100;
    }
}
BENCHMARK(BM_SalvataggioCorso)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond);

/** One iteration is the 999 steps; the counter is the time of one step. */
void BM_PassiEditore(benchmark::State &state)
{
    Banco banco(1000);
    Corsi finestra(banco.context());
    finestra.show();
    auto *primo = finestra.findChild<QAbstractButton *>(u"cmdFirst"_s);
    auto *successivo = finestra.findChild<QAbstractButton *>(u"cmdNext"_s);
    int passi = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (primo->isEnabled())
            primo->click();
        state.ResumeTiming();
        while (successivo->isEnabled()) {
            successivo->click();
            ++passi;
        }
    }
    if (finestra.findChild<QLabel *>(u"lblCorso"_s)->text() != u"1000")
        state.SkipWithError("the editor did not reach the last course");
    state.counters["passo"] =
        benchmark::Counter(double(passi), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PassiEditore)->Unit(benchmark::kMillisecond);

void BM_AperturaTabCorsiApprovati(benchmark::State &state)
{
    Banco banco(10);
    banco.corsiApprovati(20000);
    for (auto _ : state) {
        TabCorsiApprovati picker(banco.context());
        picker.show();
        picker.reject();
    }
}
BENCHMARK(BM_AperturaTabCorsiApprovati)->Unit(benchmark::kMillisecond);

/** A name among the last of the 20,000 rows. */
void BM_RicercaCorsoApprovato(benchmark::State &state)
{
    Banco banco(10);
    banco.corsiApprovati(20000);
    TabCorsiApprovati picker(banco.context());
    picker.show();
    picker.findChild<QLineEdit *>(u"txtRicDenom"_s)->setText(u"NUMERO 19990"_s);
    auto *cerca = picker.findChild<QAbstractButton *>(u"cmdCerca2"_s);
    for (auto _ : state)
        cerca->click();
    picker.reject();
}
BENCHMARK(BM_RicercaCorsoApprovato)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return kx::bench::mainFinestre(argc, argv);
}
