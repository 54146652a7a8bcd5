// Makes an empty, keyed program database from the built-in schema:
//   makedb [--demo] <path of the new file>
// With --demo it holds one application of one operator, with its legal seat, and the financial cycles,
// for the demo folder; the operators' registry stays empty, so that the demo's first start downloads
// it from the demo server.
#include "core/data/Connection.h"
#include "core/data/Schema.h"
#include "core/services/RoutineError.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * The application a demo starts on; its number is the one the demo's INI file names, its operator
 * the demo server's A 12.
 */
void addDemoApplication(const QString &path)
{
    Connection connection;
    connection.open(path, Connection::Mode::Exclusive);
    const QString name = u"CENTRO FORMAZIONE EMILIA"_s;
    Transaction transaction(connection);
    connection.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, "
                       u"DomandaStampata, DomandaTrasmessa) VALUES (2021001, 'A', 12, '000', 1, ?, 0, 0)"_s,
                       {name});
    connection.execute(u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
                       u"TipoCompo, Denominazione) VALUES (2021001, 1, 'A', 12, 'SL', ?)"_s,
                       {name});
    // The financial cycles are no text-file table: the demo database brings them, the approved
    // courses of the demo server belonging to the first.
    for (const auto &[codice, descrizione] : {std::pair{u"2014-2020"_s, u"Programmazione 2014-2020"_s},
                                              std::pair{u"2021-2027"_s, u"Programmazione 2021-2027"_s}})
        connection.execute(u"INSERT INTO CicloFinanziario (CodCiclo, Descrizione) VALUES (?, ?)"_s,
                           {codice, descrizione});
    transaction.commit();
    connection.close();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const bool demo = arguments.removeAll(u"--demo"_s) > 0;
    QTextStream err(stderr);
    if (arguments.size() != 1) {
        err << "uso: makedb [--demo] <percorso della nuova base dati>\n";
        return 2;
    }
    try {
        createEmptyDatabase(arguments.at(0));
        if (demo)
            addDemoApplication(arguments.at(0));
    } catch (const RoutineError &error) {
        err << "Errore " << error.number() << ": " << error.description() << '\n';
        return 1;
    }
    return 0;
}
