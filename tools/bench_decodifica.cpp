// Timings of the decode-table loader on the 7,904 Italian municipalities: install (table emptied, every
// record added) and update (every record matched by key and written over its row), against a bare
// loop over the same file that splits each record and runs one prepared INSERT, in one transaction.
#include "FakeServices.h"
#include "TabelleDemo.h"
#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/files/TextRecords.h"
#include "core/state/Context.h"
#include "core/text/TextFile.h"
#include "refdata/CaricaTabella.h"
#include "refdata/ElencoTabelle.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** A program folder with Comuni.txt and an empty database, opened through a context as the program does. */
class Fixture
{
public:
    Fixture()
    {
        m_comuni = scriviTabelleComuni(QStringLiteral(KX_COMUNI), m_dir.path());
        const QString db = m_dir.filePath(u"KX58TORVA.mdb"_s);
        createEmptyDatabase(db);
        m_context =
            std::make_unique<Context>(m_dir.path(), m_dir.filePath(u"utente.ini"_s),
                                      Services{m_prompt, m_exit, m_dialogs, m_files, m_help, m_urls, m_log,
                                               m_clock, m_commandLine, m_beeper, m_network, m_systemInfo});
        m_context->DE().CorsiDB().open(db, Connection::Mode::Shared);
    }

    Context &context() { return *m_context; }
    Connection &connection() { return m_context->DE().CorsiDB(); }
    QString file() const { return m_dir.filePath(u"Comuni.txt"_s); }
    int comuni() const { return m_comuni; }

    /** Loads Comuni.txt the way the update of the base data does, in the given mode. */
    void carica(bool installa)
    {
        const auto &elenco = ElencoTabelleDecodifica();
        const TabellaDecodifica &comuni =
            *std::find_if(elenco.cbegin(), elenco.cend(), [](const auto &t) { return t.nome == u"Comuni"; });
        AggTabDecodifica(
            *m_context, [](const QString &) {}, file(), comuni.nome, comuni.colonneAggiorna, comuni.chiavi,
            installa);
    }

private:
    QTemporaryDir m_dir;
    int m_comuni = 0;
    ScriptedPrompt m_prompt;
    TestProgramExit m_exit;
    ScriptedDialogRunner m_dialogs;
    PresetFileDialogs m_files;
    RecordingHelp m_help;
    RecordingUrlOpener m_urls;
    RecordingLogViewer m_log;
    FixedClock m_clock;
    FixedCommandLine m_commandLine;
    CountingBeeper m_beeper;
    FixedNetworkStatus m_network;
    FixedSystemInfo m_systemInfo;
    std::unique_ptr<Context> m_context;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void bareInsertLoop(benchmark::State &state)
{
    Fixture &f = fixture();
    const QString insert = u"INSERT INTO Comuni (CodComune, Denominazione, PROV, Cap, CodBacino, "
                           u"CodiceConversione, Campo7) VALUES (?, ?, ?, ?, ?, ?, ?)"_s;
    CampiRecord campi;
    for (auto _ : state) {
        const QStringList righe = TextFile::readLines(f.file());
        Transaction transaction(f.connection());
        f.connection().execute(u"DELETE FROM Comuni"_s);
        for (qsizetype i = 1; i < righe.size(); ++i) {
            ScomponiRecord(campi, righe.at(i));
            f.connection().execute(insert,
                                   {campi[0], campi[1], campi[2], campi[3], QVariant(), campi[5], campi[6]});
        }
        transaction.commit();
    }
    state.SetItemsProcessed(state.iterations() * f.comuni());
}
BENCHMARK(bareInsertLoop)->Unit(benchmark::kMillisecond);

void installComuni(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        f.carica(true);
    state.SetItemsProcessed(state.iterations() * f.comuni());
}
BENCHMARK(installComuni)->Unit(benchmark::kMillisecond);

void updateComuni(benchmark::State &state)
{
    Fixture &f = fixture();
    f.carica(true);
    for (auto _ : state)
        f.carica(false);
    state.SetItemsProcessed(state.iterations() * f.comuni());
}
BENCHMARK(updateComuni)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
