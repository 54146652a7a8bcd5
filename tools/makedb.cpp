// Makes an empty, keyed program database from the built-in schema: makedb <path of the new file>
#include "core/data/Schema.h"
#include "core/services/RoutineError.h"

#include <QCoreApplication>
#include <QTextStream>
using namespace kx;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "uso: makedb <percorso della nuova base dati>\n";
        return 2;
    }
    try {
        createEmptyDatabase(arguments.at(1));
    } catch (const RoutineError &error) {
        err << "Errore " << error.number() << ": " << error.description() << '\n';
        return 1;
    }
    return 0;
}
