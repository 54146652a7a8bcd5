// Makes an empty, keyed program database from the built-in schema:
//   makedb [--demo] <path of the new file>
// With --demo it holds one application of one operator, with its legal seat, for the demo folder; the
// operators' registry stays empty, so that the demo's first start downloads it from the demo server.
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
                       u"DomandaStampata, DomandaTrasmessa) VALUES (2021001, 'A', 12, 'ZR', 1, ?, 0, 0)"_s,
                       {name});
    connection.execute(u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, "
                       u"TipoCompo, Denominazione) VALUES (2021001, 1, 'A', 12, 'SL', ?)"_s,
                       {name});
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
