// Decode-table files of the municipalities, provinces and regions for the demo program folder:
//   tabelle-demo <list of municipalities .csv> <destination folder>
#include "TabelleDemo.h"
#include "core/services/RoutineError.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "uso: tabelle-demo <elenco dei comuni .csv> <cartella di destinazione>\n";
        return 2;
    }
    try {
        QDir().mkpath(arguments.at(1));
        scriviTabelleComuni(arguments.at(0), arguments.at(1));
    } catch (const kx::RoutineError &error) {
        err << "Errore " << error.number() << ": " << error.description() << '\n';
        return 1;
    }
    return 0;
}
