#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/FilterExpression.h"
#include "core/data/KeyNarrowing.h"
#include "core/data/Recordset.h"
#include "core/data/RecordsetColumns.h"
#include "core/services/RoutineError.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Schema =
    u"CREATE TABLE Corsi (NumDoma INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL,"
    u" Corso TEXT NOT NULL COLLATE NOCASE, GrupOpe TEXT COLLATE NOCASE, Operatore INTEGER,"
    u" Denominazione TEXT COLLATE NOCASE, Importo REAL, PRIMARY KEY (NumDoma, SedeInteressata, Corso));"
    u"CREATE TABLE Note (Codice TEXT COLLATE NOCASE, Testo TEXT COLLATE NOCASE);"
    u"CREATE TABLE Gruppi (GrupOpe TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, Descrizione TEXT);"
    // A course with its group's name, one row per course.
    u"CREATE VIEW QryCorsi AS SELECT C.NumDoma, C.SedeInteressata, C.Corso, C.GrupOpe, C.Operatore,"
    u" C.Denominazione, C.Importo, G.Descrizione FROM Corsi C LEFT JOIN Gruppi G ON G.GrupOpe = C.GrupOpe;"
    // The same, sorted by the engine.
    u"CREATE VIEW QryCorsiPerImporto AS SELECT NumDoma, SedeInteressata, Corso, Denominazione, Importo"
    u" FROM Corsi ORDER BY Importo;"
    // Rows without a key, many of them alike.
    u"CREATE VIEW QryOperatori AS SELECT GrupOpe, Operatore FROM Corsi;"
    // Notes without a key, with their group's name when they have one.
    u"CREATE VIEW QryNote AS SELECT N.Codice, N.Testo, G.Descrizione FROM Note N"
    u" LEFT JOIN Gruppi G ON G.GrupOpe = N.Codice;"_s;

const QChar Kelvin(0x212A);
const QChar LongS(0x017F);

/**
 * Courses of five applications, enough for the recordset to filter them through its index, with the
 * values a key filter must find as the filter compares them: group letters in either case and in the
 * spellings that fold to them, and one operator code that a loader wrote as text.
 */
void fill(FixtureDatabase &db)
{
    QList<QVariantList> rows;
    for (int numDoma = 7; numDoma <= 11; ++numDoma) {
        for (int sede = 1; sede <= 3; ++sede) {
            for (int corso = 1; corso <= 6; ++corso) {
                const int n = (numDoma * 3 + sede) * 7 + corso;
                const QString group = corso == 1   ? u"a"_s
                                      : corso == 2 ? QString(Kelvin)
                                      : corso == 3 ? QString(LongS + u"L"_s)
                                                   : u"A"_s;
                rows.append({numDoma, sede, QString::asprintf("%04d", corso), group, 10 + numDoma % 3,
                             QString(u"Corso "_s + QString::number(n)), 100.0 + n % 13});
            }
        }
    }
    db.insert(u"Corsi"_s,
              {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"GrupOpe"_s, u"Operatore"_s,
               u"Denominazione"_s, u"Importo"_s},
              rows);
    db.insert(
        u"Note"_s, {u"Codice"_s, u"Testo"_s},
        {{u"X"_s, u"prima"_s}, {u"Y"_s, u"seconda"_s}, {u"x"_s, u"terza"_s}, {QVariant(), u"quarta"_s}});
    db.insert(u"Gruppi"_s, {u"GrupOpe"_s, u"Descrizione"_s},
              {{u"A"_s, u"Gruppo A"_s}, {u"K"_s, u"Gruppo K"_s}, {u"x"_s, u"Gruppo X"_s}});
}

QString describe(Recordset &rs)
{
    QString text = u"eof="_s + QString::number(rs.eof()) + u" bof="_s + QString::number(rs.bof()) +
                   u" count="_s + QString::number(rs.recordCount()) + u" at="_s +
                   QString::number(rs.absolutePosition());
    if (!rs.eof() && !rs.bof() && rs.absolutePosition() > 0) {
        QStringList values;
        for (int i = 0; i < rs.fieldCount(); ++i)
            values.append(rs.value(i).toString());
        text += u" ["_s + values.join(u'|') + u']';
    }
    return text;
}

/** Every visible row, in order. */
QString allRows(Recordset &rs)
{
    QStringList lines;
    for (int position = 0; position < rs.visibleRowCount(); ++position) {
        QStringList values;
        for (int i = 0; i < rs.fieldCount(); ++i)
            values.append(rs.visibleValue(position, i).toString());
        lines.append(values.join(u'|'));
    }
    return lines.join(u'\n');
}

/**
 * Runs one step of a script on the recordset and says what the program sees afterwards. A step is
 * "verb" or "verb:argument": filter, sort, first, next, previous, last, move, position, find, back
 * (find backwards), mark, goto, set (field=value), update, cancel, add, delete, requery, rows, and
 * sql, which runs a statement through the same connection as another routine of the program would.
 */
QString runStep(Recordset &rs, Connection &connection, Bookmark &mark, const QString &step)
{
    const qsizetype colon = step.indexOf(u':');
    const QString verb = colon < 0 ? step : step.left(colon);
    const QString argument = colon < 0 ? QString() : step.mid(colon + 1);
    try {
        if (verb == u"filter"_s) {
            rs.setFilter(argument);
        } else if (verb == u"sort"_s) {
            rs.setSort(argument);
        } else if (verb == u"first"_s) {
            rs.moveFirst();
        } else if (verb == u"next"_s) {
            rs.moveNext();
        } else if (verb == u"previous"_s) {
            rs.movePrevious();
        } else if (verb == u"last"_s) {
            rs.moveLast();
        } else if (verb == u"move"_s) {
            rs.move(argument.toInt());
        } else if (verb == u"position"_s) {
            rs.setAbsolutePosition(argument.toInt());
        } else if (verb == u"find"_s) {
            rs.find(argument);
        } else if (verb == u"back"_s) {
            rs.find(argument, 0, Recordset::Direction::Backward);
        } else if (verb == u"mark"_s) {
            mark = rs.bookmark();
        } else if (verb == u"goto"_s) {
            rs.setBookmark(mark);
        } else if (verb == u"set"_s) {
            const qsizetype equals = argument.indexOf(u'=');
            rs.setValue(argument.left(equals), argument.mid(equals + 1));
        } else if (verb == u"update"_s) {
            rs.update();
        } else if (verb == u"cancel"_s) {
            rs.cancelUpdate();
        } else if (verb == u"add"_s) {
            rs.addNew();
        } else if (verb == u"delete"_s) {
            rs.deleteCurrent();
        } else if (verb == u"requery"_s) {
            rs.requery();
        } else if (verb == u"rows"_s) {
            return allRows(rs);
        } else if (verb == u"sql"_s) {
            connection.execute(argument);
        } else {
            throw std::logic_error("unknown step");
        }
        return describe(rs);
    } catch (const RoutineError &error) {
        return u"error "_s + QString::number(error.number());
    }
}

struct Run
{
    QStringList seen;
    int rowsReadByTheFirstFilter = 0;
    int rowsAtOpening = 0;
    /** What the base tables hold at the end. */
    QList<QVariantList> tablesAfter;
};

/**
 * Runs the setup statements, opens the table or view and runs the script. Read whole, the recordset
 * reads its rows right after opening, as it did whatever the filter; otherwise the script's first
 * filter comes first. A filter kept from before is set before opening (as a window finds the filter
 * another one left), or right after the whole reading.
 */
Run runScript(const QString &table, const QStringList &setup, const QStringList &script, bool readWhole,
              const QString &kept = {})
{
    QTemporaryDir dir;
    FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s), Schema);
    fill(db);
    Connection connection;
    connection.open(db.path(), Connection::Mode::Shared);
    for (const QString &statement : setup)
        connection.execute(statement);
    Run run;
    run.rowsAtOpening = connection.scalar(u"SELECT count(*) FROM "_s + table).toInt();
    {
        Recordset rs(connection);
        if (!readWhole)
            rs.setFilter(kept);
        rs.open(table);
        if (readWhole) {
            rs.eof();
            rs.setFilter(kept);
        }
        Bookmark mark;
        bool filtered = false;
        for (const QString &step : script) {
            run.seen.append(step + u" -> "_s + runStep(rs, connection, mark, step));
            if (!filtered && step.startsWith(u"filter:"_s)) {
                filtered = true;
                run.rowsReadByTheFirstFilter = rs.rowsRead();
            }
        }
        run.seen.append(u"all rows -> "_s + runStep(rs, connection, mark, u"rows"_s));
        rs.cancelUpdate();
        rs.clearFilter();
        run.seen.append(u"without filter -> "_s + runStep(rs, connection, mark, u"rows"_s));
    }
    for (const QString &base : {u"Corsi"_s, u"Note"_s})
        run.tablesAfter += connection.query(u"SELECT * FROM "_s + base + u" ORDER BY rowid"_s).rows;
    return run;
}

} // namespace

class TestKeyNarrowing : public QObject
{
    Q_OBJECT

private slots:
    void theKeyFilterSeesWhatTheWholeTableShows_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("matching");
        const QStringList none;

        const QString course = u"filter:NumDoma=8 AND SedeInteressata=2 AND Corso='0003'"_s;
        const QString seat = u"filter:NumDoma = 8 AND SedeInteressata = 2"_s;
        QTest::newRow("navigation")
            << u"Corsi"_s << none << QStringList{seat,         u"next"_s,       u"next"_s,       u"last"_s,
                                                 u"next"_s,    u"next"_s,       u"previous"_s,   u"move:-3"_s,
                                                 u"move:-9"_s, u"position:4"_s, u"position:9"_s, u"first"_s}
            << 6;
        QTest::newRow("one course, filter cleared")
            << u"Corsi"_s << none << QStringList{course, u"filter:"_s, u"last"_s, u"move:-40"_s} << 1;
        QTest::newRow("filter narrowed further")
            << u"Corsi"_s << none
            << QStringList{seat, u"filter:NumDoma=8 AND SedeInteressata=2 AND Corso='0005'"_s} << 6;
        QTest::newRow("filter widened") << u"Corsi"_s << none
                                        << QStringList{seat, u"filter:NumDoma=8"_s, u"last"_s,
                                                       u"filter:NumDoma=9 AND SedeInteressata=2"_s}
                                        << 6;
        QTest::newRow("another filter")
            << u"Corsi"_s << none << QStringList{seat, u"filter:Denominazione LIKE '*1*'"_s, u"next"_s} << 6;
        QTest::newRow("sorted and unsorted")
            << u"Corsi"_s << none
            << QStringList{seat, u"sort:Importo DESC, Corso"_s, u"next"_s, u"filter:NumDoma=8"_s, u"sort:"_s}
            << 6;
        QTest::newRow("find both ways") << u"Corsi"_s << none
                                        << QStringList{seat, u"find:Corso='0004'"_s, u"back:Corso='0002'"_s,
                                                       u"find:Corso='0009'"_s, u"back:Corso='0001'"_s}
                                        << 6;
        QTest::newRow("bookmarks across filters")
            << u"Corsi"_s << none
            << QStringList{seat,      u"position:3"_s,       u"mark"_s, u"filter:"_s,          u"last"_s,
                           u"goto"_s, u"filter:NumDoma=9"_s, u"goto"_s, u"filter:NumDoma=8"_s, u"goto"_s}
            << 6;
        QTest::newRow("edit in place, then the whole table")
            << u"Corsi"_s << none
            << QStringList{course,      u"set:Denominazione=Cucina"_s, u"set:Importo=12,5"_s,
                           u"update"_s, u"filter:NumDoma=8"_s,         u"filter:Denominazione='cucina'"_s}
            << 1;
        QTest::newRow("edit of the key") << u"Corsi"_s << none
                                         << QStringList{course,
                                                        u"set:Corso=0999"_s,
                                                        u"update"_s,
                                                        u"filter:"_s,
                                                        u"last"_s,
                                                        u"filter:Corso='0999'"_s,
                                                        u"filter:Corso='0003' AND NumDoma=8"_s}
                                         << 1;
        QTest::newRow("edit left pending by a new filter")
            << u"Corsi"_s << none
            << QStringList{seat, u"next"_s, u"set:Denominazione=Sala"_s, u"filter:NumDoma=8"_s} << 6;
        QTest::newRow("edit cancelled")
            << u"Corsi"_s << none
            << QStringList{course, u"set:Denominazione=Sala"_s, u"cancel"_s, u"filter:"_s} << 1;
        QTest::newRow("row added") << u"Corsi"_s << none
                                   << QStringList{seat,
                                                  u"add"_s,
                                                  u"set:NumDoma=8"_s,
                                                  u"set:SedeInteressata=2"_s,
                                                  u"set:Corso=0000"_s,
                                                  u"update"_s,
                                                  u"filter:NumDoma=8"_s,
                                                  u"last"_s,
                                                  u"filter:"_s,
                                                  u"last"_s,
                                                  u"filter:Corso='0000'"_s}
                                   << 6;
        QTest::newRow("row added then cancelled")
            << u"Corsi"_s << none
            << QStringList{seat, u"add"_s, u"set:Corso=0000"_s, u"cancel"_s, u"filter:"_s, u"last"_s} << 6;
        QTest::newRow("row added with a key already taken")
            << u"Corsi"_s << none << QStringList{seat,
                                                 u"add"_s,
                                                 u"set:NumDoma=9"_s,
                                                 u"set:SedeInteressata=1"_s,
                                                 u"set:Corso=0001"_s,
                                                 u"update"_s,
                                                 u"cancel"_s,
                                                 u"filter:"_s}
            << 6;
        QTest::newRow("row deleted") << u"Corsi"_s << none
                                     << QStringList{seat,          u"position:2"_s, u"delete"_s, u"next"_s,
                                                    u"previous"_s, u"filter:"_s,    u"move:5"_s}
                                     << 6;
        QTest::newRow("another routine writes meanwhile")
            << u"Corsi"_s << none
            << QStringList{seat, u"sql:UPDATE Corsi SET Importo = 1 WHERE NumDoma = 9"_s,
                           u"sql:DELETE FROM Corsi WHERE NumDoma = 10"_s, u"filter:NumDoma=9 OR NumDoma=10"_s,
                           u"requery"_s}
            << 6;
        QTest::newRow("another routine writes the rows read only")
            << u"Corsi"_s << none
            << QStringList{seat,
                           u"sql:UPDATE Corsi SET Importo = 1 WHERE NumDoma = 8 AND SedeInteressata = 2"_s,
                           u"next"_s, u"filter:NumDoma=8"_s, u"filter:"_s}
            << 6;
        QTest::newRow("another routine's transaction rolled back")
            << u"Corsi"_s << QStringList{u"BEGIN"_s, u"DELETE FROM Corsi WHERE NumDoma = 11"_s}
            << QStringList{seat, u"sql:ROLLBACK"_s, u"filter:NumDoma=11"_s, u"filter:"_s} << 6;
        QTest::newRow("no row") << u"Corsi"_s << none
                                << QStringList{u"filter:NumDoma=99"_s, u"next"_s, u"set:Corso=1"_s,
                                               u"filter:"_s}
                                << 0;
        QTest::newRow("requery keeps the key filter")
            << u"Corsi"_s << none << QStringList{seat, u"last"_s, u"requery"_s, u"filter:"_s} << 6;
        QTest::newRow("letters in every spelling the filter folds")
            << u"Corsi"_s << none
            << QStringList{u"filter:GrupOpe='k' AND NumDoma=8"_s, u"filter:GrupOpe='SL'"_s,
                           u"filter:GrupOpe='a' AND Operatore=11"_s}
            << 3;
        QTest::newRow("numbers written as text and as decimals")
            << u"Corsi"_s << none
            << QStringList{u"filter:SedeInteressata='2' AND NumDoma=8.0"_s, u"filter:Operatore=11"_s,
                           u"filter:Importo=105"_s}
            << 6;
        QTest::newRow("a number column holding a text")
            << u"Corsi"_s
            << QStringList{u"UPDATE Corsi SET Operatore = '11,0' WHERE NumDoma = 9 AND Corso = '0001'"_s}
            << QStringList{u"filter:Operatore=11 AND NumDoma=9"_s, u"filter:Operatore=11"_s} << 3;
        QTest::newRow("a number against a text column")
            << u"Corsi"_s << none << QStringList{u"filter:Corso=3 AND NumDoma=8"_s, u"filter:Corso=3"_s}
            << 18;
        QTest::newRow("table without a key") << u"Note"_s << none << QStringList{u"filter:Codice='x'"_s,
                                                                                 u"next"_s,
                                                                                 u"set:Testo=nuova"_s,
                                                                                 u"update"_s,
                                                                                 u"delete"_s,
                                                                                 u"filter:"_s,
                                                                                 u"add"_s,
                                                                                 u"set:Codice=X"_s,
                                                                                 u"update"_s,
                                                                                 u"filter:Codice='X'"_s}
                                             << 2;
        QTest::newRow("Null key") << u"Note"_s << none << QStringList{u"filter:Codice=Null"_s, u"filter:"_s}
                                  << 4;
    }

    // The same script on a table read whole and on one read through its first key filter: what the
    // program sees after every step, and what the table holds at the end, are the same.
    void theKeyFilterSeesWhatTheWholeTableShows()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, setup);
        QFETCH(QStringList, script);
        QFETCH(int, matching);
        const Run whole = runScript(table, setup, script, true);
        const Run byKey = runScript(table, setup, script, false);
        QCOMPARE(byKey.seen, whole.seen);
        QCOMPARE(byKey.tablesAfter, whole.tablesAfter);
        QCOMPARE(byKey.rowsReadByTheFirstFilter, matching);
        QCOMPARE(whole.rowsReadByTheFirstFilter, whole.rowsAtOpening);
    }

    void theKeyFilterSeesWhatTheWholeViewShows_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("matching");
        const QStringList none;

        const QString course = u"filter:NumDoma=8 AND SedeInteressata=2 AND Corso='0003'"_s;
        const QString operatore = u"filter:Operatore=11"_s;
        const QStringList byOperator{operatore,
                                     u"next"_s,
                                     u"last"_s,
                                     u"previous"_s,
                                     u"filter:Operatore=11 AND NumDoma=7"_s,
                                     u"filter:NumDoma=10"_s};
        QTest::newRow("a course by its whole key")
            << u"QryCorsi"_s << none << QStringList{course, u"next"_s, u"filter:"_s, u"last"_s, u"move:-40"_s}
            << 1;
        QTest::newRow("a column without an index, read as the whole view is")
            << u"QryCorsi"_s << none << byOperator << 36;
        QTest::newRow("the first columns of a key, whose index would change the order")
            << u"QryCorsi"_s << none << QStringList{u"filter:NumDoma=8 AND SedeInteressata=2"_s, u"next"_s}
            << 90;
        QTest::newRow("edit in place through the view")
            << u"QryCorsi"_s << none
            << QStringList{course, u"set:Denominazione=Cucina"_s, u"update"_s, u"filter:NumDoma=8"_s,
                           u"filter:Denominazione='cucina'"_s}
            << 1;
        QTest::newRow("edit of the key through the view")
            << u"QryCorsi"_s << none
            << QStringList{course,       u"set:Corso=0999"_s, u"update"_s,
                           u"filter:"_s, u"last"_s,           u"filter:Corso='0999'"_s}
            << 1;
        QTest::newRow("row added through the view")
            << u"QryCorsi"_s << none << QStringList{operatore,           u"add"_s,
                                                    u"set:NumDoma=7"_s,  u"set:SedeInteressata=1"_s,
                                                    u"set:Corso=0000"_s, u"set:Operatore=11"_s,
                                                    u"update"_s,         u"filter:NumDoma=7"_s,
                                                    u"filter:"_s,        u"last"_s}
            << 36;
        QTest::newRow("row deleted through the view")
            << u"QryCorsi"_s << none
            << QStringList{operatore, u"position:2"_s, u"delete"_s, u"next"_s, u"filter:"_s, u"move:5"_s}
            << 36;
        QTest::newRow("another routine writes meanwhile")
            << u"QryCorsi"_s << none
            << QStringList{operatore, u"sql:UPDATE Corsi SET Importo = 1 WHERE NumDoma = 10"_s,
                           u"sql:DELETE FROM Corsi WHERE NumDoma = 7"_s,
                           u"filter:Operatore=11 OR NumDoma=9"_s, u"requery"_s}
            << 36;
        QTest::newRow("another routine writes the row read only")
            << u"QryCorsi"_s << none
            << QStringList{course,
                           u"sql:UPDATE Corsi SET Importo = 1 WHERE NumDoma = 8 AND Corso = '0003' AND SedeInteressata = 2"_s,
                           u"requery"_s, u"filter:"_s}
            << 1;
        QTest::newRow("requery keeps the key filter")
            << u"QryCorsi"_s << none
            << QStringList{operatore, u"last"_s, u"requery"_s, u"last"_s, u"filter:"_s} << 36;
        // A course added last, with the smallest key: the whole view shows it last, in the order of the
        // table's rows, and so must a reading through an index.
        const QStringList indexAndLastRow{
            u"CREATE INDEX CorsiOperatore ON Corsi (Operatore)"_s,
            u"INSERT INTO Corsi (NumDoma, SedeInteressata, Corso, GrupOpe, Operatore, Denominazione, "
            u"Importo) VALUES (7, 0, '0000', 'A', 11, 'Ultimo', 1)"_s};
        QTest::newRow("an index on the column, searched on one value, keeps the view's order")
            << u"QryCorsi"_s << indexAndLastRow << byOperator << 37;
        QTest::newRow("an index of more columns than the filter holds, read as the whole view is")
            << u"QryCorsi"_s
            << QStringList{u"CREATE INDEX CorsiOperatoreImporto ON Corsi (Operatore, Importo)"_s}
            << QStringList{operatore, u"next"_s, u"last"_s} << 90;
        QTest::newRow("an index on a column held to several spellings, read as the whole view is")
            << u"QryCorsi"_s << QStringList{u"CREATE INDEX CorsiGrupOpe ON Corsi (GrupOpe)"_s}
            << QStringList{u"filter:GrupOpe='k'"_s, u"next"_s, u"filter:GrupOpe='A'"_s} << 90;
        QTest::newRow("letters in every spelling the filter folds")
            << u"QryCorsi"_s << none
            << QStringList{u"filter:GrupOpe='k'"_s, u"next"_s, u"filter:GrupOpe='A'"_s} << 15;
        QTest::newRow("a column of the joined table")
            << u"QryCorsi"_s << none
            << QStringList{u"filter:Descrizione='Gruppo A'"_s, u"next"_s, u"filter:"_s} << 60;
        QTest::newRow("sorted by the engine, by its whole key")
            << u"QryCorsiPerImporto"_s << none << QStringList{course, u"filter:"_s, u"first"_s} << 1;
        QTest::newRow("sorted by the engine, by another column")
            << u"QryCorsiPerImporto"_s << none << QStringList{u"filter:Importo=105"_s, u"next"_s, u"next"_s}
            << 90;
        QTest::newRow("rows alike, told apart by nothing")
            << u"QryOperatori"_s << none << QStringList{operatore, u"next"_s, u"filter:"_s, u"last"_s} << 90;
        QTest::newRow("rows without a key")
            << u"QryNote"_s << none
            << QStringList{u"filter:Codice='x'"_s, u"next"_s, u"filter:Codice='X' AND Testo='terza'"_s,
                           u"filter:"_s}
            << 2;
        QTest::newRow("Null key") << u"QryNote"_s << none
                                  << QStringList{u"filter:Codice=Null"_s, u"filter:"_s} << 4;
    }

    // As for a table: the same script on a view read whole and on one read through its first key
    // filter shows the same at every step; where the engine could not give the matching rows in the
    // whole view's order, the view is read whole.
    void theKeyFilterSeesWhatTheWholeViewShows()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, setup);
        QFETCH(QStringList, script);
        QFETCH(int, matching);
        const Run whole = runScript(view, setup, script, true);
        const Run byKey = runScript(view, setup, script, false);
        QCOMPARE(byKey.seen, whole.seen);
        QCOMPARE(byKey.tablesAfter, whole.tablesAfter);
        QCOMPARE(byKey.rowsReadByTheFirstFilter, matching);
        QCOMPARE(whole.rowsReadByTheFirstFilter, whole.rowsAtOpening);
    }

    void aFilterKeptFromBeforeIsReplacedByTheWindowsOwn_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<int>("matching");
        const QString course = u"filter:NumDoma=8 AND SedeInteressata=2 AND Corso='0003'"_s;
        QTest::newRow("a view, no row looked at")
            << u"QryCorsi"_s << QStringList{course, u"next"_s, u"filter:"_s} << 1;
        QTest::newRow("a table, no row looked at") << u"Corsi"_s << QStringList{course, u"last"_s} << 1;
        QTest::newRow("a row looked at keeps the rows of the opening")
            << u"QryCorsi"_s << QStringList{u"last"_s, course, u"first"_s} << 90;
        // The write changes rows read only, which keep their values as read: the rest is read beside.
        QTest::newRow("a write in between keeps the rows of the opening")
            << u"QryCorsi"_s
            << QStringList{u"sql:UPDATE Corsi SET Importo = 1 WHERE NumDoma = 10"_s, course,
                           u"filter:NumDoma=10"_s}
            << 90;
    }

    // A recordset opened with another window's filter and given its own before anything looks at its
    // rows reads only what its own filter needs, and shows what a whole reading shows.
    void aFilterKeptFromBeforeIsReplacedByTheWindowsOwn()
    {
        QFETCH(QString, source);
        QFETCH(QStringList, script);
        QFETCH(int, matching);
        const QString kept = u"Operatore=11"_s;
        const Run whole = runScript(source, {}, script, true, kept);
        const Run byKey = runScript(source, {}, script, false, kept);
        QCOMPARE(byKey.seen, whole.seen);
        QCOMPARE(byKey.tablesAfter, whole.tablesAfter);
        QCOMPARE(byKey.rowsReadByTheFirstFilter, matching);
    }

    void aWriteOfTheRowsReadOnlyLeavesTheRestUnread_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("read");
        const QString seat = u"NumDoma=8 AND SedeInteressata=2"_s;
        const QString course = u"NumDoma=8 AND SedeInteressata=2 AND Corso='0003'"_s;
        QTest::newRow("the rows read")
            << u"Corsi"_s << seat
            << u"UPDATE Corsi SET Importo = 1 WHERE NumDoma = 8 AND SedeInteressata = 2"_s << 6;
        QTest::newRow("more rows") << u"Corsi"_s << seat
                                   << u"UPDATE Corsi SET Importo = 1 WHERE NumDoma = 8"_s << 90;
        QTest::newRow("a column of the narrowing")
            << u"Corsi"_s << seat
            << u"UPDATE Corsi SET SedeInteressata = 4 WHERE NumDoma = 8 AND SedeInteressata = 2"_s << 90;
        QTest::newRow("a deletion") << u"Corsi"_s << seat
                                    << u"DELETE FROM Corsi WHERE NumDoma = 8 AND SedeInteressata = 2"_s << 90;
        QTest::newRow("a table not read") << u"Corsi"_s << seat << u"UPDATE Note SET Testo = 'x'"_s << 6;
        QTest::newRow("the view's row read")
            << u"QryCorsi"_s << course
            << u"UPDATE Corsi SET Denominazione = 'x' WHERE NumDoma = 8 AND Corso = '0003' AND SedeInteressata = 2"_s
            << 1;
        QTest::newRow("a table the view joins")
            << u"QryCorsi"_s << course << u"UPDATE Gruppi SET Descrizione = 'x' WHERE GrupOpe = 'A'"_s << 90;
        QTest::newRow("a view's rows not held to one key")
            << u"QryCorsi"_s << u"Operatore=11"_s << u"UPDATE Corsi SET Importo = 1 WHERE Operatore = 11"_s
            << 90;
    }

    // Before another routine's write, the rest is read only when the write may change it.
    void aWriteOfTheRowsReadOnlyLeavesTheRestUnread()
    {
        QFETCH(QString, source);
        QFETCH(QString, filter);
        QFETCH(QString, statement);
        QFETCH(int, read);
        QTemporaryDir dir;
        FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s), Schema);
        fill(db);
        Connection connection;
        connection.open(db.path(), Connection::Mode::Shared);
        Recordset rs(connection);
        rs.open(source);
        rs.setFilter(filter);
        connection.execute(statement);
        QCOMPARE(rs.rowsRead(), read);
    }

    void aCountBeforeAnyRowIsReadIsTheEnginesOwn_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("read");
        QTest::newRow("table") << u"Corsi"_s << QString() << 90 << 0;
        QTest::newRow("view") << u"QryCorsi"_s << QString() << 90 << 0;
        QTest::newRow("table without a key") << u"Note"_s << QString() << 4 << 0;
        QTest::newRow("key filter") << u"Corsi"_s << u"NumDoma=8"_s << 18 << 18;
        QTest::newRow("other filter") << u"Corsi"_s << u"Importo>110"_s << 14 << 90;
    }

    // Counted before any row is read, the rows stay unread; the count is what reading them shows.
    void aCountBeforeAnyRowIsReadIsTheEnginesOwn()
    {
        QFETCH(QString, source);
        QFETCH(QString, filter);
        QFETCH(int, count);
        QFETCH(int, read);
        QTemporaryDir dir;
        FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s), Schema);
        fill(db);
        Connection connection;
        connection.open(db.path(), Connection::Mode::Shared);
        Recordset rs(connection);
        rs.open(source);
        rs.clearFilter();
        if (!filter.isEmpty())
            rs.setFilter(filter);
        QCOMPARE(rs.recordCount(), count);
        QCOMPARE(rs.rowsRead(), read);
        QCOMPARE(rs.visibleRowCount(), count);
        QCOMPARE(rs.recordCount(), count);
        rs.close();
        QCOMPARE(rs.rowsRead(), 0);
    }

    void spellingsTheFilterFolds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("no such letter") << u"A1"_s << 1;
        QTest::newRow("empty") << QString() << 1;
        QTest::newRow("s and k") << u"Sk"_s << 4;
        QTest::newRow("three such letters") << u"KSS"_s << 8;
        QTest::newRow("four such letters") << u"ssss"_s << 0;
        QTest::newRow("not ASCII") << u"Éboli"_s << 0;
    }

    // Every spelling equals the text as the filter compares, the text itself first.
    void spellingsTheFilterFolds()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        const QStringList found = caseFoldSpellings(text);
        QCOMPARE(found.size(), count);
        QCOMPARE(QSet<QString>(found.cbegin(), found.cend()).size(), count);
        if (count > 0)
            QCOMPARE(found.first(), text);
        for (const QString &spelling : found)
            QCOMPARE(QString::compare(spelling, text, Qt::CaseInsensitive), 0);
    }

    void onlyEqualitiesOfTheTablesColumnsNarrow_data()
    {
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QStringList>("conditions");
        const QString numDoma = u"\"NumDoma\" = ?"_s;
        QTest::newRow("key") << u"NumDoma=8 AND Corso='0001'"_s
                             << QStringList{
                                    numDoma,
                                    u"(\"Corso\" COLLATE NOCASE IN (?) OR typeof(\"Corso\") = 'blob')"_s};
        QTest::newRow("a column once") << u"NumDoma=8 AND NumDoma=9"_s << QStringList{numDoma};
        QTest::newRow("OR") << u"NumDoma=8 OR NumDoma=9"_s << QStringList{};
        QTest::newRow("range") << u"NumDoma>8"_s << QStringList{};
        QTest::newRow("LIKE beside a key") << u"NumDoma=8 AND Corso LIKE '0*'"_s << QStringList{};
        QTest::newRow("text that is no number") << u"NumDoma='otto'"_s << QStringList{};
        QTest::newRow("number against text") << u"Corso=1"_s << QStringList{};
        QTest::newRow("Null") << u"Corso=Null"_s << QStringList{};
        QTest::newRow("yes/no") << u"NumDoma=True"_s << QStringList{};
        QTest::newRow("no filter") << QString() << QStringList{};
    }

    void onlyEqualitiesOfTheTablesColumnsNarrow()
    {
        QFETCH(QString, criterion);
        QFETCH(QStringList, conditions);
        QTemporaryDir dir;
        FixtureDatabase db(dir.filePath(u"KX58TORVA.mdb"_s), Schema);
        Connection connection;
        connection.open(db.path(), Connection::Mode::Shared);
        const QString sql = u"SELECT * FROM Corsi"_s;
        RecordsetColumns columns;
        columns.reset(connection.describe(sql), false,
                      [&](const QString &t) { return connection.primaryKey(t); });
        FilterExpression filter = FilterExpression::parse(criterion);
        filter.bind([&](const QString &field) { return columns.resolve(field); });
        const KeyNarrowing narrowing = keyNarrowing(connection, u"Corsi"_s, columns, filter);
        QCOMPARE(narrowing.conditions, conditions);
        // What it reads, the indexes find.
        if (!narrowing.isEmpty()) {
            const QueryResult plan =
                connection.query(u"EXPLAIN QUERY PLAN "_s + sql + narrowing.whereClause(), narrowing.params);
            QVERIFY(plan.rows.first().last().toString().contains(u"USING INDEX"_s));
        }
    }
};

QTEST_GUILESS_MAIN(TestKeyNarrowing)
#include "tst_KeyNarrowing.moc"
