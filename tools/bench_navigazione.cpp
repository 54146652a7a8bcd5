// Timings of the course navigation and of the approved-course picker, offscreen: the course editor
// stepping from the first to the last of a seat's 1,000 courses, one "Corso Successivo" at a time; the
// picker opened over 20,000 approved courses of one operator, cycle and seat, and searched for a name
// among its last rows.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_navigazione
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "courses/CourseStore.h"
#include "courses/NavigaCorsi.h"
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

constexpr int CorsiApprovati = 20000;
constexpr int CorsiSede = 1000;

/** A program folder whose database holds the approved courses and the seat's courses. */
class Banco
{
public:
    Banco()
    {
        const QString db = m_dir.filePath(u"KX58TORVA.mdb"_s);
        createEmptyDatabase(db);
        m_context =
            std::make_unique<Context>(m_dir.path(), m_dir.filePath(u"utente.ini"_s), m_servizi.services);
        m_context->DE().CorsiDB().open(db, Connection::Mode::Shared);
        Connection &c = m_context->DE().CorsiDB();
        Transaction transazione(c);
        c.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore) VALUES (7, 'A', 12)"_s);
        c.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo) "
            u"VALUES (7, 2, 'A', 12, 'SO')"_s);
        c.execute(u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione) "
                  u"VALUES ('A', 12, 2, 'SO', 'SEDE DUE')"_s);
        // What a course of the special action shows.
        c.executeScript(
            u"INSERT INTO CicloFinanziario VALUES ('2021', 'PROGRAMMAZIONE 2021');"
            u"INSERT INTO Asse VALUES ('1', 'OCCUPAZIONE'); INSERT INTO Prov_Asse VALUES ('001', '1');"
            u"INSERT INTO Misura VALUES ('1', '8II', 'ORIENTAMENTO');"
            u"INSERT INTO Prov_Misura VALUES ('001', '1', '8II');"
            u"INSERT INTO Azione VALUES ('1', '8II', '2.04.07', 'LARSA');"
            u"INSERT INTO Prov_Azione VALUES ('001', '1', '8II', '2.04.07');"
            u"INSERT INTO AzioneDenomCorso VALUES ('1', '8II', '2.04.07', 1, "
            u"'LARSA - Formazione / Scuola');"
            u"INSERT INTO Destin VALUES (12, 'DISABILI');"
            u"INSERT INTO AzioneDestin VALUES ('1', '8II', '2.04.07', 12)"_s);
        for (int i = 1; i <= CorsiApprovati; ++i)
            c.execute(
                u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, ProgrAccorp, "
                u"DenCorso, Componente, DurataAnnOre, TotIter, Durata, TipoConv, CicloFin) "
                u"VALUES (?, 'A', 12, ?, 1, ?, 2, 600, 1200, 2, 'AF', '2021')"_s,
                {i, u"2019-%1"_s.arg(i, 5, 10, QChar(u'0')),
                 u"CORSO DI FORMAZIONE PROFESSIONALE NUMERO %1"_s.arg(i)});
        for (int i = 1; i <= CorsiSede; ++i)
            c.execute(
                u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, "
                u"CicloFinanziario, CodAsse, CodMisura, CodAzione, DenCorso, CodDest, NumAll, TotOreIter, "
                u"DurataTotIter, IdAttivita_CorsoRifB111) VALUES (7, 2, 'A', 12, ?, '2021', '1', '8II', "
                u"'2.04.07', 'LARSA - Formazione / Scuola', 12, 1, 200, 1, ?)"_s,
                {u"%1"_s.arg(i, 4, 10, QChar(u'0')), i});
        transazione.commit();

        m_context->domanda().NumDomaCorrente = 7;
        m_context->domanda().GrupOpeCorrente = u"A"_s;
        m_context->domanda().OperatoreCorrente = u"12"_s;
        m_context->corsi().impostaSede(7, u"2"_s, u"SEDE DUE"_s);
        m_context->corsi().CicloFinanziarioCorrente = u"2021"_s;
    }

    Context &context() { return *m_context; }

private:
    QTemporaryDir m_dir;
    bench::Servizi m_servizi;
    std::unique_ptr<Context> m_context;
};

Banco &banco()
{
    static Banco b;
    return b;
}

void BM_ApreTabCorsiApprovati(benchmark::State &state)
{
    for (auto _ : state) {
        TabCorsiApprovati finestra(banco().context());
        finestra.show();
        finestra.reject();
    }
}

void cerca(benchmark::State &state, const QString &testo)
{
    TabCorsiApprovati finestra(banco().context());
    finestra.show();
    auto *box = finestra.findChild<QLineEdit *>(u"txtRicDenom"_s);
    auto *cerca = finestra.findChild<QAbstractButton *>(u"cmdCerca2"_s);
    box->setText(testo);
    for (auto _ : state)
        cerca->click();
    finestra.reject();
}

/** A name among the last rows. */
void BM_CercaCorso(benchmark::State &state)
{
    cerca(state, u"NUMERO 19990"_s);
}

/** "Corso Successivo" from the first to the last course of the seat: one iteration is 999 steps. */
void BM_PassiEditore(benchmark::State &state)
{
    Corsi editore(banco().context());
    editore.show();
    auto *primo = editore.findChild<QAbstractButton *>(u"cmdFirst"_s);
    auto *successivo = editore.findChild<QAbstractButton *>(u"cmdNext"_s);
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
    if (editore.findChild<QLabel *>(u"lblCorso"_s)->text() != u"1000")
        state.SkipWithError("the editor did not reach the last course");
    state.counters["passo"] =
        benchmark::Counter(double(passi), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    editore.hide();
}

/** The rules of the steps from the first to the last course of the seat. */
void BM_PassiRegole(benchmark::State &state)
{
    CourseStore store(banco().context().DE().CorsiDB());
    const QList<CourseRow> righe = store.seatCourses(7, 2);
    for (auto _ : state) {
        PassoNavigazione passo{0, StatoNavigazione::Primo};
        while (passo.stato != StatoNavigazione::Ultimo)
            passo = passoNavigazione(DirezioneNavigazione::Successivo, passo.posizione, int(righe.size()));
        benchmark::DoNotOptimize(passo);
    }
    state.counters["passi"] = double(righe.size() - 1);
}

} // namespace

BENCHMARK(BM_PassiEditore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApreTabCorsiApprovati)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CercaCorso)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassiRegole)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return kx::bench::mainFinestre(argc, argv);
}
