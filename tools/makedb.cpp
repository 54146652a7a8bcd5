// Makes an empty, keyed program database from the built-in schema:
//   makedb [--demo] <path of the new file>
// With --demo it holds the demo folder's application (DemoDatabase.h).
#include "DemoDatabase.h"
#include "core/data/Schema.h"
#include "core/services/RoutineError.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace Qt::StringLiterals;
using namespace kx;

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
