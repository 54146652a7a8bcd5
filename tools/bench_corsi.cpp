// Timings of the course rules: the classification cascade refilled for every action of the demo
// decode tables and of a larger generated set (a pick of axis, measure and action, each running its
// chain of loaders as the editor does), and the checks with the cost estimate over 100,000 generated
// course forms.
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/state/Context.h"
#include "courses/ClassificationLists.h"
#include "courses/CostEstimate.h"
#include "courses/CourseCascade.h"
#include "courses/CourseValidation.h"
#include "refdata/CaricaTabella.h"
#include "refdata/ElencoTabelle.h"
#include "tools/BenchServices.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using bench::Servizi;

/** A drop-down list without a window: selecting runs its handler, as the list helper does. */
class ListaMemoria final : public CourseList
{
public:
    std::function<void()> selezione;

    void fill(const QStringList &entries) override
    {
        m_voci = entries;
        m_indice = -1;
    }
    int count() const override { return int(m_voci.size()); }
    QString text() const override { return m_voci.value(m_indice); }
    void select(int index) override
    {
        m_indice = index;
        if (selezione)
            selezione();
    }
    bool scegli(const QString &voce)
    {
        const qsizetype i = m_voci.indexOf(voce);
        if (i < 0)
            return false;
        select(int(i));
        return true;
    }

private:
    QStringList m_voci;
    int m_indice = -1;
};

/** An action as the user picks it: the entries of its axis, measure and action lists. */
struct Azione
{
    QString asse;
    QString misura;
    QString azione;
};

/** A program folder with a database holding decode tables, and the editor's lists over it. */
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
    }

    Connection &db() { return m_context->DE().CorsiDB(); }

    /** Loads every demo decode-table file with the program's own loader. */
    void caricaTabelleDemo()
    {
        bool installa = true;
        for (const TabellaDecodifica &tabella : ElencoTabelleDecodifica()) {
            const QString file = QDir(QStringLiteral(KX_DEMO_DECODIFICA)).filePath(tabella.file());
            if (!QFile::exists(file))
                continue;
            AggTabDecodifica(
                *m_context, [](const QString &) {}, file, tabella.nome, tabella.colonneInstalla,
                tabella.chiavi, installa);
        }
    }

    /** Axes × measures × actions enabled for the province, with names and target groups for each action. */
    void generaTabelle(int assi, int misure, int azioni)
    {
        Transaction transazione(db());
        for (int d = 1; d <= 10; ++d)
            db().execute(u"INSERT INTO Destin VALUES (?, ?)"_s,
                         {d, QString(u"DESTINATARI "_s + QString::number(d))});
        for (int a = 1; a <= assi; ++a) {
            const QString asse = u"A"_s + QString::number(a);
            db().execute(u"INSERT INTO Asse VALUES (?, ?)"_s, {asse, QString(u"ASSE "_s + asse)});
            db().execute(u"INSERT INTO Prov_Asse VALUES ('001', ?)"_s, {asse});
            for (int m = 1; m <= misure; ++m) {
                const QString misura = u"M"_s + QString::number(m);
                db().execute(u"INSERT INTO Misura VALUES (?, ?, ?)"_s,
                             {asse, misura, QString(u"MISURA "_s + misura)});
                db().execute(u"INSERT INTO Prov_Misura VALUES ('001', ?, ?)"_s, {asse, misura});
                for (int z = 1; z <= azioni; ++z) {
                    const QString azione = u"0"_s + QString::number(z) + u".01"_s;
                    db().execute(u"INSERT INTO Azione VALUES (?, ?, ?, ?)"_s,
                                 {asse, misura, azione, QString(u"AZIONE "_s + azione)});
                    db().execute(u"INSERT INTO Prov_Azione VALUES ('001', ?, ?, ?)"_s,
                                 {asse, misura, azione});
                    for (int n = 1; n <= 5; ++n) {
                        db().execute(u"INSERT INTO AzioneDenomCorso VALUES (?, ?, ?, ?, ?)"_s,
                                     {asse, misura, azione, n, QString(u"CORSO "_s + QString::number(n))});
                        db().execute(u"INSERT INTO AzioneDestin VALUES (?, ?, ?, ?)"_s,
                                     {asse, misura, azione, n});
                    }
                }
            }
        }
        transazione.commit();
    }

    /** Every action enabled for the province, as its three list entries. */
    QList<Azione> azioni()
    {
        const QueryResult righe = db().query(
            u"SELECT X.CodAsse, X.DesAsse, M.CodMisura, M.DesMisura, Z.CodAzione, Z.DesAzione "
            u"FROM Prov_Azione P JOIN Azione Z ON Z.CodAsse = P.CodAsse AND Z.CodMisura = P.CodMisura "
            u"AND Z.CodAzione = P.CodAzione JOIN Misura M ON M.CodAsse = P.CodAsse "
            u"AND M.CodMisura = P.CodMisura JOIN Asse X ON X.CodAsse = P.CodAsse WHERE P.Prov = '001'"_s);
        QList<Azione> azioni;
        for (const QVariantList &r : righe.rows) {
            const auto voce = [&r](int i) -> QString {
                return r[i].toString() + u"  "_s + r[i + 1].toString();
            };
            azioni.append({voce(0), voce(2), voce(4)});
        }
        return azioni;
    }

    Context &context() { return *m_context; }

private:
    QTemporaryDir m_dir;
    Servizi m_servizi;
    std::unique_ptr<Context> m_context;
};

/** The editor's seven lists wired to the cascade. */
struct Liste
{
    explicit Liste(Banco &banco)
        : cascata(banco.db(), banco.context(), {ciclo, asse, misura, azione, denCorso, dest, durata},
                  {[](const QString &) {}, [](bool) {}}, false)
    {
        asse.selezione = [this] { cascata.cmbAsse_Click(); };
        misura.selezione = [this] { cascata.cmbMisura_Click(); };
        azione.selezione = [this] { cascata.cmbAzione_Click(); };
        denCorso.selezione = [this] { cascata.cmbDenCorso_Click(); };
        cascata.caricaListe();
    }

    ListaMemoria ciclo, asse, misura, azione, denCorso, dest, durata;
    CourseCascade cascata;
};

void cascata(benchmark::State &state, Banco &banco)
{
    Liste liste(banco);
    const QList<Azione> azioni = banco.azioni();
    for (auto _ : state) {
        for (const Azione &a : azioni) {
            if (!liste.asse.scegli(a.asse) || !liste.misura.scegli(a.misura) ||
                !liste.azione.scegli(a.azione)) {
                state.SkipWithError("an action is missing from its list");
                return;
            }
            benchmark::DoNotOptimize(liste.dest.count());
        }
    }
    state.SetItemsProcessed(state.iterations() * azioni.size());
    state.counters["azioni"] = double(azioni.size());
}

void BM_CascataTabelleDemo(benchmark::State &state)
{
    static Banco banco;
    static const bool pronto = (banco.caricaTabelleDemo(), true);
    benchmark::DoNotOptimize(pronto);
    cascata(state, banco);
}

void BM_CascataTabelleGenerate(benchmark::State &state)
{
    // 10 axes, 10 measures each, 10 actions each: 1,000 actions with 5 names and 5 target groups.
    static Banco banco;
    static const bool pronto = (banco.generaTabelle(10, 10, 10), true);
    benchmark::DoNotOptimize(pronto);
    cascata(state, banco);
}

/** 100,000 course forms of every kind: valid ones, empty fields, odd numbers, every limited name. */
QList<CourseForm> moduli()
{
    const QStringList nomi{u"Integrazione di persone portatrici di handicap"_s,
                           u"Laboratori di lingua italiana"_s,
                           u"Laboratori di cittadinanza attiva"_s,
                           u"LARSA -Formazione / Scuola"_s,
                           u"LARSA - Scuola / Formazione"_s,
                           u"Azione di sostegno individuale"_s,
                           u"Corso di informatica"_s,
                           QString()};
    const QStringList allievi{u"1"_s,  u"3"_s,   u"05"_s, u"1,5"_s,  u"8"_s,
                              u"12"_s, u"300"_s, u"0"_s,  QString(), u","_s};
    const QStringList ore{u"10"_s, u"80"_s, u"200"_s, u"201"_s, u"1.234"_s, u"462"_s, u"0"_s, QString()};
    QRandomGenerator caso(28);
    QList<CourseForm> forme;
    forme.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        CourseForm f;
        f.NumDoma = 7;
        f.GrupOpe = u"A"_s;
        f.Operatore = u"12"_s;
        f.Sede = caso.bounded(2) ? u"2"_s : u"1001"_s;
        f.cmbCompoResp = caso.bounded(4) ? u"2   - SEDE - SO - VIA"_s : QString();
        f.CmbCicloFin = u"2021  PROGRAMMAZIONE"_s;
        f.cmbAsse = u"1  OCCUPAZIONE"_s;
        f.cmbMisura = u"8II  ORIENTAMENTO"_s;
        f.cmbAzione = caso.bounded(2) ? u"2.04.07  LARSA"_s : u"2.04.08  LABORATORI"_s;
        f.cmbDenCorso = nomi[caso.bounded(int(nomi.size()))];
        f.cmbDest = u"12  DISABILI"_s;
        f.txtNumAll = allievi[caso.bounded(int(allievi.size()))];
        f.txtDurataOre = ore[caso.bounded(int(ore.size()))];
        f.cmbDurata = caso.bounded(4) ? u"1"_s : QString();
        f.lblidattivita_CorsoRifB111 = caso.bounded(4) ? u"4711"_s : QString();
        f.txtCorsoRifB111 = f.lblidattivita_CorsoRifB111.isEmpty() ? QString() : u"3 - 1 - 2 - CORSO"_s;
        forme.append(f);
    }
    return forme;
}

void BM_VerificaEPreventivo(benchmark::State &state)
{
    static const QList<CourseForm> forme = moduli();
    for (auto _ : state) {
        int valide = 0;
        for (const CourseForm &f : forme) {
            valide += validateCourse(f).ok;
            benchmark::DoNotOptimize(estimate(f.cmbDenCorso, f.txtNumAll, f.txtDurataOre));
        }
        state.counters["valide"] = valide;
    }
    state.SetItemsProcessed(state.iterations() * forme.size());
}

} // namespace

BENCHMARK(BM_CascataTabelleDemo)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CascataTabelleGenerate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerificaEPreventivo)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
