// Timings of the approved-courses import: 20,000 courses of "CorsiApprovati.tx1" loaded by the
// loader into an empty table and over a table that already holds them, beside a bare loop of one
// prepared INSERT per course with values already converted, each in one transaction.
// KX_BENCH_CORSI sets another number of courses (a small one for a profile under callgrind).
#include "core/data/Connection.h"
#include "core/data/Schema.h"
#include "core/services/Services.h"
#include "core/text/TextFile.h"
#include "refdata/CorsiApprovati.h"
#include "tools/BenchServices.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using bench::Servizi;

const int Corsi =
    qEnvironmentVariableIsSet("KX_BENCH_CORSI") ? qEnvironmentVariableIntValue("KX_BENCH_CORSI") : 20000;

/** The fields of course i: every column filled, as the server sends them. */
QStringList campi(int i)
{
    QStringList fields(43);
    for (int f = 0; f < 43; ++f)
        fields[f] = QString::number((i + f) % 100);
    fields[0] = QString::number(100000 + i);
    fields[2] = u"A"_s;
    fields[3] = QString::number(i % 50);
    fields[12] = u"CORSO DI FORMAZIONE PROFESSIONALE NUMERO "_s + QString::number(i);
    fields[14] = u" obiettivo "_s;
    fields[42] = u"2014-2020"_s;
    return fields;
}

class Banco
{
public:
    Banco()
    {
        m_file = m_dir.filePath(u"CorsiApprovati.tx1"_s);
        QStringList righe;
        for (int i = 0; i < Corsi; ++i)
            righe.append(u'#' + campi(i).join(u"#,#") + u'#');
        TextFile::writeLines(m_file, righe);
    }

    /** An empty database, opened; the previous one is removed. */
    Connection &nuovoDatabase()
    {
        if (m_connection.isOpen())
            m_connection.close();
        const QString path = m_dir.filePath(u"KX58TORVA%1.mdb"_s.arg(++m_numero));
        createEmptyDatabase(path);
        m_connection.open(path, Connection::Mode::Shared);
        return m_connection;
    }

    const QString &file() const { return m_file; }
    Services &services() { return m_servizi.services; }

private:
    QTemporaryDir m_dir;
    QString m_file;
    Servizi m_servizi;
    Connection m_connection;
    int m_numero = 0;
};

Banco &banco()
{
    static Banco instance;
    return instance;
}

void caricamento(benchmark::State &state, bool sopraIEsistenti)
{
    for (auto _ : state) {
        state.PauseTiming();
        Connection &connection = banco().nuovoDatabase();
        if (sopraIEsistenti) {
            Transaction transaction(connection);
            AggCorsiApprovati(banco().services(), connection, banco().file(), u"CorsiApprovati"_s);
            transaction.commit();
        }
        state.ResumeTiming();
        Transaction transaction(connection);
        if (!AggCorsiApprovati(banco().services(), connection, banco().file(), u"CorsiApprovati"_s))
            state.SkipWithError("import failed");
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * Corsi);
}

void BM_AggCorsiApprovati_TabellaVuota(benchmark::State &state)
{
    caricamento(state, false);
}

void BM_AggCorsiApprovati_Sovrascrittura(benchmark::State &state)
{
    caricamento(state, true);
}

/** The bound: the same rows, converted beforehand, each one prepared INSERT. */
void BM_InsertPreparatoNudo(benchmark::State &state)
{
    QList<QVariantList> righe;
    for (int i = 0; i < Corsi; ++i) {
        const QStringList fields = campi(i);
        CampiRecord record;
        for (int f = 0; f < 43; ++f)
            record[std::size_t(f)] = fields[f];
        righe.append(valoriCorsoApprovato(record));
    }
    QStringList colonne;
    QStringList segni;
    for (const CampoCorsoApprovato &campo : tracciatoCorsiApprovati()) {
        colonne.append(campo.colonna);
        segni.append(u"?"_s);
    }
    const QString sql = u"INSERT INTO CorsiApprovati ("_s + colonne.join(u", "_s) + u") VALUES ("_s +
                        segni.join(u", "_s) + u')';
    for (auto _ : state) {
        state.PauseTiming();
        Connection &connection = banco().nuovoDatabase();
        state.ResumeTiming();
        Transaction transaction(connection);
        for (const QVariantList &riga : righe)
            connection.execute(sql, riga);
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * Corsi);
}

} // namespace

BENCHMARK(BM_InsertPreparatoNudo)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AggCorsiApprovati_TabellaVuota)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AggCorsiApprovati_Sovrascrittura)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
