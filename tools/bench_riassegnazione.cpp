// How the course reassignment's time grows with the number of courses moved: every course of one seat,
// each with two yearly cost rows, moved to a seat that already holds ten, in one run of SpostaCorsi.
// Each figure is the median of several runs on processor time, each run on a fresh database.
// bench_riassegnazione [courses], 4,000 by default; the run also times a tenth and a quarter of them.
#include "ProcessorTime.h"
#include "core/data/Connection.h"
#include "core/data/Schema.h"
#include "core/state/CurrentApplication.h"
#include "courses/Riassegnazione.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr qint32 NumDoma = 812;
constexpr qint32 Source = 2;
constexpr qint32 Destination = 3;
constexpr int CoursesAtDestination = 10;
constexpr int Runs = 5;

QString code(int number)
{
    return QString::number(number).rightJustified(4, u'0');
}

/** An application of operator A-27 with `courses` courses at the source seat and ten at the destination. */
void fillDatabase(const QString &path, int courses)
{
    createEmptyDatabase(path);
    Connection db;
    db.open(path, Connection::Mode::Exclusive);
    Transaction transaction(db);
    db.execute(u"INSERT INTO Province (Prov, SigProv) VALUES ('001', 'XY')"_s);
    db.execute(u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV) VALUES (?, 'A', 27, '001')"_s,
               {NumDoma});
    for (const qint32 seat : {Source, Destination}) {
        db.execute(
            u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
            u"Denominazione) VALUES (?, ?, 'A', 27, 'UL', ?)"_s,
            {NumDoma, seat, QString(u"SEDE "_s + QString::number(seat))});
    }
    const auto addCourse = [&db](qint32 seat, int number) {
        db.execute(u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, DenCorso, "
                   u"TotaleSpesa) VALUES (?, ?, 'A', 27, ?, ?, 1000)"_s,
                   {NumDoma, seat, code(number), QString(u"CORSO "_s + QString::number(number))});
        for (int year = 1; year <= 2; ++year) {
            db.execute(
                u"INSERT INTO CorsiPropSpese (NumDoma, SedeInteressata, Corso, ProgrAnno, TotaleSpesa) "
                u"VALUES (?, ?, ?, ?, 500)"_s,
                {NumDoma, seat, code(number), year});
        }
    };
    for (int c = 1; c <= courses; ++c)
        addCourse(Source, c);
    for (int c = 1; c <= CoursesAtDestination; ++c)
        addCourse(Destination, c);
    transaction.commit();
}

/** Processor milliseconds to move `courses` courses, the median of the runs. */
double moveTime(const QString &path, int courses)
{
    CurrentApplication application;
    application.NumDomaCorrente = NumDoma;
    application.GrupOpeCorrente = u"A"_s;
    application.OperatoreCorrente = u"27"_s;
    Spostamento move{Source, Destination, {}, 0};
    for (int c = 1; c <= courses; ++c)
        move.corsi.append(code(c));

    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        QFile::remove(path);
        fillDatabase(path, courses);
        Connection db;
        db.open(path, Connection::Mode::Exclusive);
        const double start = processorMs();
        const EsitoSpostamento outcome = SpostaCorsi(db, application, move);
        times.push_back(processorMs() - start);
        if (outcome.codiciEsauriti || outcome.nuoviCodici.size() != courses ||
            outcome.nuoviCodici.last() != code(CoursesAtDestination + courses))
            throw std::runtime_error("the courses were not moved as expected");
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int many = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 4000;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"riassegnazione.mdb"_s);
    const int tenth = std::max(1, many / 10);
    const int quarter = std::max(1, many / 4);
    const double small = moveTime(path, tenth);
    const double middle = moveTime(path, quarter);
    const double large = moveTime(path, many);
    std::printf("%6d courses moved %12.2f ms\n", tenth, small);
    std::printf("%6d courses moved %12.2f ms\n", quarter, middle);
    std::printf("%6d courses moved %12.2f ms\n", many, large);
    std::printf("%d / %d courses (goal: at most 12) %8.2f x\n", many, tenth, large / small);
    return 0;
}
