// Timings of the registry update's database steps on a generated registry of 5,000 operators,
// 20,000 components, 2,000 occasional seats and 5,000 uses of them, with 1,000 applications (one in
// five printed) and their seats: the five loaders and the two refreshes of the applications in one
// transaction (the seat refresh as a savepoint of it), over an empty registry and over one that
// already holds every row, beside a bare loop that reads the same four files and adds each line
// with one prepared INSERT. KX_BENCH_OPERATORI=50000 sets another number of operators (the components
// and uses follow it).
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/files/TextRecords.h"
#include "core/services/Services.h"
#include "core/state/Context.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "refdata/AggDomandeOper.h"
#include "refdata/AggiornaAnagraficheLoaders.h"
#include "refdata/AggiornaSediInteressate.h"
#include "refdata/MasterDataLayouts.h"
#include "tools/BenchServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using bench::Servizi;

const int Operatori = qEnvironmentVariableIsSet("KX_BENCH_OPERATORI")
                          ? qEnvironmentVariableIntValue("KX_BENCH_OPERATORI")
                          : 5000;
constexpr int ComponentiPerOperatore = 4;
constexpr int SediOccasionali = 2000;
constexpr int Domande = 1000;

QString riga(const QStringList &fields)
{
    return u"#"_s + fields.join(u"#,#"_s) + u"#"_s;
}

QStringList fileOper()
{
    QStringList righe;
    for (int o = 1; o <= Operatori; ++o) {
        const QString n = QString::number(o);
        righe.append(
            riga({u"A"_s, n, u"ENTE DI FORMAZIONE PROFESSIONALE NUMERO "_s + n, u"01"_s, u"0123456789"_s + n,
                  u"0765432"_s + n, u"ROSSI MARIO"_s, u"BOLOGNA"_s, u"BO"_s, u"01021960"_s, u"BO"_s,
                  u"1234567"_s, u"1990"_s, QString::number(8000 + o % 100)}));
    }
    return righe;
}

QStringList fileCompo()
{
    QStringList righe;
    for (int o = 1; o <= Operatori; ++o) {
        for (int c = 1; c <= ComponentiPerOperatore; ++c) {
            righe.append(riga({u"A"_s, QString::number(o), QString::number(c), c == 1 ? u"SL"_s : u"UL"_s,
                               u"SEDE "_s + QString::number(c) + u" DELL'ENTE "_s + QString::number(o),
                               u"037006"_s, u"40121"_s, u"VIA ROMA "_s + QString::number(c), u"x"_s,
                               u"051123456"_s, u"x"_s, u"051123457"_s, QString(), QString()}));
        }
    }
    return righe;
}

QStringList fileSediOcc()
{
    QStringList righe;
    for (int s = 0; s < SediOccasionali; ++s) {
        righe.append(riga({QString::number(1000 + s), u"AULA "_s + QString::number(s), u"VIA MILANO 2"_s,
                           u"037006"_s, u"40122"_s, u"x"_s, u"051999"_s, u"x"_s, u"051998"_s}));
    }
    return righe;
}

QStringList fileSediUtil()
{
    QStringList righe;
    for (int o = 1; o <= Operatori; ++o)
        righe.append(riga({u"A"_s, QString::number(o), u"1"_s, QString::number(1000 + o % SediOccasionali)}));
    return righe;
}

/** The bare bound: every line of the four files read, split, converted and added by one prepared INSERT. */
void inserisciNudo(Connection &connection, const QString &cartella)
{
    for (const Tracciato *tracciato :
         {&TracciatoOper(), &TracciatoCompo(), &TracciatoSediOcc(), &TracciatoSediOccUtil()}) {
        QStringList colonne;
        for (const CampoTracciato &campo : tracciato->campi)
            colonne.append(campo.colonna);
        const QString sql = u"INSERT INTO "_s + tracciato->tabella + u" ("_s + colonne.join(u", "_s) +
                            u") VALUES ("_s + QStringList(colonne.size(), u"?"_s).join(u", "_s) + u')';
        CampiRecord Campi;
        for (const QString &line : TextFile::readLines(cartella + u'/' + tracciato->file)) {
            ScomponiRecord(Campi, trimBlanks(line));
            QVariantList valori;
            for (const CampoTracciato &campo : tracciato->campi)
                valori.append(valoreCampo(campo, Campi));
            connection.execute(sql, valori);
        }
    }
}

/** The program folder with the four files, and two databases to start each run from. */
class Banco
{
public:
    Banco()
    {
        m_cartella = m_dir.filePath(u"programma"_s);
        QDir().mkpath(m_cartella);
        TextFile::writeLines(m_cartella + u"/oper.tx1"_s, fileOper());
        TextFile::writeLines(m_cartella + u"/compo.tx1"_s, fileCompo());
        TextFile::writeLines(m_cartella + u"/sediocc.tx1"_s, fileSediOcc());
        TextFile::writeLines(m_cartella + u"/sediutil.tx1"_s, fileSediUtil());
        m_context =
            std::make_unique<Context>(m_cartella, m_dir.filePath(u"utente.ini"_s), m_servizi.services);

        m_vuoto = m_dir.filePath(u"vuoto.mdb"_s);
        creaDomande(m_vuoto, false);
        m_pieno = m_dir.filePath(u"pieno.mdb"_s);
        creaDomande(m_pieno, true);
    }

    Context &context() { return *m_context; }
    const QString &cartella() const { return m_cartella; }

    /** A fresh copy of one of the two databases, opened as CorsiDB. */
    Connection &apri(bool registroPieno)
    {
        Connection &corsiDB = m_context->DE().CorsiDB();
        if (corsiDB.isOpen())
            corsiDB.close();
        const QString path = m_dir.filePath(u"KX58TORVA.mdb"_s);
        QFile::remove(path);
        QFile::copy(registroPieno ? m_pieno : m_vuoto, path);
        corsiDB.open(path, Connection::Mode::Shared);
        QFile::remove(m_cartella + u"/AggiornaDB.LOG"_s);
        return corsiDB;
    }

private:
    /** 1,000 applications of operators 5, 10, ... with their five seats; every fifth one printed. */
    void creaDomande(const QString &path, bool registroPieno)
    {
        createEmptyDatabase(path);
        Connection connection;
        connection.open(path, Connection::Mode::Shared);
        Transaction transaction(connection);
        if (registroPieno)
            inserisciNudo(connection, m_cartella);
        for (int d = 1; d <= Domande; ++d) {
            const int operatore = d * (Operatori / Domande);
            connection.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, DenominazioneOp, LegNome, "
                               u"DomandaStampata) VALUES (?, 'A', ?, 'VECCHIO', 'VECCHIO', ?)"_s,
                               {d, operatore, d % 5 == 0 ? 1 : 0});
            for (int sede = 1; sede <= ComponentiPerOperatore; ++sede) {
                connection.execute(u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, "
                                   u"Operatore, Denominazione, Tel, Email, Riferimento) "
                                   u"VALUES (?, ?, 'A', ?, 'VECCHIA', '', 'a@b.it', 'ROSSI')"_s,
                                   {d, sede, operatore});
            }
            connection.execute(
                u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
                u"Denominazione) VALUES (?, ?, 'A', ?, 'VECCHIA')"_s,
                {d, 1000 + operatore % SediOccasionali, operatore});
        }
        transaction.commit();
    }

    QTemporaryDir m_dir;
    QString m_cartella;
    QString m_vuoto;
    QString m_pieno;
    Servizi m_servizi;
    std::unique_ptr<Context> m_context;
};

Banco &banco()
{
    static Banco instance;
    return instance;
}

const int Righe = Operatori * (1 + ComponentiPerOperatore + 1) + SediOccasionali;

void aggiornamento(benchmark::State &state, bool registroPieno)
{
    Context &context = banco().context();
    const QString log = banco().cartella() + u"/AggiornaDB.LOG"_s;
    for (auto _ : state) {
        state.PauseTiming();
        Connection &corsiDB = banco().apri(registroPieno);
        state.ResumeTiming();
        Transaction transaction(corsiDB);
        const bool riuscito = AggCorsiOper(context, u"oper.tx1"_s, u"CorsiOper"_s, log) &&
                              AggCorsiCompo(context, u"compo.tx1"_s, u"CorsiCompo"_s, log) &&
                              AggCorsiOperCorrisp(context, u"oper.tx1"_s, u"CorsiOper"_s, log) &&
                              AggCorsiSediOcc(context, u"sediocc.tx1"_s, u"CorsiSediOcc"_s, log) &&
                              AggCorsiSediOccUtil(context, u"sediutil.tx1"_s, u"CorsiSediOccUtil"_s, log) &&
                              AggDomandeOper(context, log);
        if (!riuscito)
            state.SkipWithError("update failed");
        AggiornaSediInteressate(context);
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * Righe);
}

void BM_Aggiornamento_RegistroVuoto(benchmark::State &state)
{
    aggiornamento(state, false);
}

void BM_Aggiornamento_RegistroPieno(benchmark::State &state)
{
    aggiornamento(state, true);
}

void BM_InsertPreparatoNudo(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        Connection &corsiDB = banco().apri(false);
        state.ResumeTiming();
        Transaction transaction(corsiDB);
        inserisciNudo(corsiDB, banco().cartella());
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * Righe);
}

} // namespace

BENCHMARK(BM_InsertPreparatoNudo)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Aggiornamento_RegistroVuoto)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Aggiornamento_RegistroPieno)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
