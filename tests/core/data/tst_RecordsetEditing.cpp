#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Schema =
    u"CREATE TABLE Sedi (NumDoma INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL,"
    u" Denominazione TEXT COLLATE NOCASE, TipoCompo TEXT COLLATE NOCASE, Tel TEXT COLLATE NOCASE,"
    u" PRIMARY KEY (NumDoma, SedeInteressata));"
    u"CREATE TABLE TipiSede (TipoCompo TEXT COLLATE NOCASE PRIMARY KEY, Descrizione TEXT COLLATE NOCASE);"
    u"CREATE TABLE Corsi (NumDoma INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso TEXT COLLATE "
    u"NOCASE NOT NULL,"
    u" DenCorso TEXT COLLATE NOCASE, NumAll INTEGER, TotaleSpesa REAL,"
    u" PRIMARY KEY (NumDoma, SedeInteressata, Corso), FOREIGN KEY (NumDoma, SedeInteressata) REFERENCES "
    u"Sedi);"
    u"CREATE TABLE Massimali (CodAsse TEXT COLLATE NOCASE, ParA REAL);"
    u"CREATE TABLE Registro (Id INTEGER PRIMARY KEY, Nota TEXT);"
    u"CREATE VIEW QrySedi AS SELECT Sedi.NumDoma, Sedi.SedeInteressata, Sedi.Denominazione AS "
    u"\"Sedi.Denominazione\","
    u" Sedi.TipoCompo, TipiSede.TipoCompo AS \"TipiSede.TipoCompo\","
    u" TipiSede.Descrizione AS \"QrySedi.TipiSede.Descrizione\", Sedi.Tel"
    u" FROM Sedi LEFT JOIN TipiSede ON TipiSede.TipoCompo = Sedi.TipoCompo;"
    u"CREATE VIEW QrySediSenzaTipo AS SELECT Sedi.*, TipiSede.Descrizione FROM Sedi"
    u" LEFT JOIN TipiSede ON TipiSede.TipoCompo = Sedi.TipoCompo;"
    u"CREATE VIEW QryCorsi AS SELECT Corsi.*, Sedi.Denominazione AS \"Sedi.Denominazione\","
    u" Corsi.TotaleSpesa * 2 AS Doppio FROM Corsi"
    u" JOIN Sedi ON Sedi.NumDoma = Corsi.NumDoma AND Sedi.SedeInteressata = Corsi.SedeInteressata;"_s;

} // namespace

class TestRecordsetEditing : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FixtureDatabase> m_fixture;
    Connection m_connection;
    /** Another installation on the same database. */
    Connection m_other;

    QString text(const QString &sql) { return m_other.scalar(sql).toString(); }

private slots:
    void init()
    {
        if (m_connection.isOpen())
            m_connection.close();
        if (m_other.isOpen())
            m_other.close();
        m_fixture.reset();
        QFile::remove(m_dir.filePath(u"KX58TORVA.mdb"_s));
        m_fixture = std::make_unique<FixtureDatabase>(m_dir.filePath(u"KX58TORVA.mdb"_s), Schema);
        m_fixture->insert(u"TipiSede"_s, {u"TipoCompo"_s, u"Descrizione"_s},
                          {{u"SL"_s, u"Sede legale"_s}, {u"UL"_s, u"Unità locale"_s}});
        m_fixture->insert(u"Sedi"_s,
                          {u"NumDoma"_s, u"SedeInteressata"_s, u"Denominazione"_s, u"TipoCompo"_s, u"Tel"_s},
                          {{7, 1, u"Sede di Milano"_s, u"SL"_s, u"02111"_s},
                           {7, 5, u"Sede di Bari"_s, u"UL"_s, u"08022"_s},
                           {8, 1, u"Sede di Pescara"_s, u"SL"_s, QVariant()}});
        m_fixture->insert(
            u"Corsi"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"DenCorso"_s, u"NumAll"_s, u"TotaleSpesa"_s},
            {{7, 1, u"0001"_s, u"Cucina"_s, 12, 1000.5},
             {7, 1, u"0002"_s, u"Sala"_s, 8, 800.0},
             {7, 5, u"0001"_s, u"Pasticceria"_s, 10, 500.0}});
        m_fixture->insert(u"Massimali"_s, {u"CodAsse"_s, u"ParA"_s},
                          {{u"A"_s, 1.0}, {u"A"_s, 1.0}, {u"B"_s, 2.0}});
        m_connection.open(m_fixture->path(), Connection::Mode::Shared);
        m_other.open(m_fixture->path(), Connection::Mode::Shared);
    }

    void anEditThroughAViewLandsInItsBaseTable()
    {
        Recordset seats(m_connection);
        seats.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        seats.open(u"QrySedi"_s);
        seats.setFilter(u"NumDoma=7 AND SedeInteressata=5"_s);
        QCOMPARE(seats.value(u"QrySedi.TipiSede.Descrizione"_s).toString(), u"Unità locale"_s);
        seats.setValue(u"Sedi.Denominazione"_s, u"Sede dell'Aquila"_s);
        seats.setValue(u"Tel"_s, u"0862"_s);
        QCOMPARE(seats.editMode(), Recordset::EditMode::InProgress);
        seats.update();
        QCOMPARE(seats.editMode(), Recordset::EditMode::None);
        QCOMPARE(
            text(u"SELECT Denominazione || '/' || Tel FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 5"_s),
            u"Sede dell'Aquila/0862"_s);
        QCOMPARE(text(u"SELECT group_concat(Denominazione, '/') FROM Sedi WHERE SedeInteressata = 1"_s),
                 u"Sede di Milano/Sede di Pescara"_s);
        QCOMPARE(text(u"SELECT group_concat(Descrizione, '/') FROM TipiSede"_s),
                 u"Sede legale/Unità locale"_s);
        QCOMPARE(seats.value(u"Sedi.Denominazione"_s).toString(), u"Sede dell'Aquila"_s);
    }

    void anEditOfTwoBaseTablesIsOneTransaction()
    {
        Recordset seats(m_connection);
        seats.open(u"QrySedi"_s);
        seats.setFilter(u"NumDoma=7 AND SedeInteressata=1"_s);
        seats.setValue(u"Sedi.Denominazione"_s, u"Milano centro"_s);
        seats.setValue(u"QrySedi.TipiSede.Descrizione"_s, u"Sede principale"_s);
        seats.update();
        QCOMPARE(text(u"SELECT Descrizione FROM TipiSede WHERE TipoCompo = 'SL'"_s), u"Sede principale"_s);
        QCOMPARE(text(u"SELECT Denominazione FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 1"_s),
                 u"Milano centro"_s);

        seats.setValue(u"Sedi.Denominazione"_s, u"Milano nord"_s);
        seats.setValue(u"QrySedi.TipiSede.Descrizione"_s, u"Legale"_s);
        m_other.execute(u"DELETE FROM TipiSede WHERE TipoCompo = 'SL'"_s);
        QCOMPARE(errorOf([&] { seats.update(); }).number(), ErrorCode::RowDeletedMeanwhile);
        QCOMPARE(text(u"SELECT Denominazione FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 1"_s),
                 u"Milano centro"_s);
    }

    void aTableWhoseKeyTheViewLacksCannotBeEdited()
    {
        Recordset seats(m_connection);
        seats.open(u"QrySediSenzaTipo"_s);
        seats.setValue(u"Denominazione"_s, u"Milano centro"_s);
        seats.setValue(u"Descrizione"_s, u"Sede principale"_s);
        const RoutineError error = errorOf([&] { seats.update(); });
        QCOMPARE(error.number(), ErrorCode::Unspecified);
        QCOMPARE(error.description(),
                 u"Informazioni insufficienti sulle colonne chiave per aggiornare la tabella 'TipiSede'."_s);
        QCOMPARE(text(u"SELECT Denominazione FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 1"_s),
                 u"Sede di Milano"_s);
    }

    void onlyTheChangedColumnsAreWritten()
    {
        Recordset seats(m_connection);
        seats.open(u"Sedi"_s);
        m_other.execute(u"UPDATE Sedi SET Tel = '06' WHERE NumDoma = 7 AND SedeInteressata = 1"_s);
        seats.setValue(u"Denominazione"_s, u"Milano"_s);
        seats.update();
        QCOMPARE(
            text(u"SELECT Denominazione || '/' || Tel FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 1"_s),
            u"Milano/06"_s);
    }

    void updateCriteria_data()
    {
        QTest::addColumn<Recordset::UpdateCriteria>("criteria");
        QTest::addColumn<bool>("written");
        QTest::newRow("key and changed columns (the default)")
            << Recordset::UpdateCriteria::ChangedColumns << false;
        QTest::newRow("key only (Update Criteria 0)") << Recordset::UpdateCriteria::Key << true;
    }

    void updateCriteria()
    {
        QFETCH(Recordset::UpdateCriteria, criteria);
        QFETCH(bool, written);
        Recordset seats(m_connection);
        QCOMPARE(seats.updateCriteria(), Recordset::UpdateCriteria::ChangedColumns);
        seats.setUpdateCriteria(criteria);
        seats.open(u"QrySedi"_s);
        // The row as it was read, before the other installation changes it.
        seats.moveFirst();
        m_other.execute(
            u"UPDATE Sedi SET Denominazione = 'Altro' WHERE NumDoma = 7 AND SedeInteressata = 1"_s);
        seats.setValue(u"Sedi.Denominazione"_s, u"Mio"_s);
        const RoutineError error = errorOf([&] { seats.update(); });
        QCOMPARE(error.number(), written ? 0 : ErrorCode::RowDeletedMeanwhile);
        QCOMPARE(text(u"SELECT Denominazione FROM Sedi WHERE NumDoma = 7 AND SedeInteressata = 1"_s),
                 written ? u"Mio"_s : u"Altro"_s);
    }

    void aRowDeletedByAnotherInstallationIsReportedAndNothingChanges_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("field");
        QTest::newRow("table") << u"Corsi"_s << u"DenCorso"_s;
        QTest::newRow("view") << u"QryCorsi"_s << u"DenCorso"_s;
    }

    void aRowDeletedByAnotherInstallationIsReportedAndNothingChanges()
    {
        QFETCH(QString, source);
        QFETCH(QString, field);
        Recordset courses(m_connection);
        courses.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        courses.open(source);
        courses.setFilter(u"NumDoma=7 AND SedeInteressata=1 AND Corso='0002'"_s);
        m_other.execute(u"DELETE FROM Corsi WHERE NumDoma = 7 AND SedeInteressata = 1 AND Corso = '0002'"_s);

        courses.setValue(field, u"Sala e bar"_s);
        const RoutineError error = errorOf([&] { courses.update(); });
        QCOMPARE(error.number(), ErrorCode::RowDeletedMeanwhile);
        QCOMPARE(error.description(),
                 u"Impossibile trovare la riga per l'aggiornamento. Alcuni valori potrebbero "
                 u"essere stati modificati dall'ultima lettura."_s);
        QCOMPARE(m_other.scalar(u"SELECT count(*) FROM Corsi"_s).toInt(), 2);
        QCOMPARE(m_other.scalar(u"SELECT count(*) FROM Corsi WHERE DenCorso = 'Sala e bar'"_s).toInt(), 0);
        // The edit stays pending until the caller cancels it.
        QCOMPARE(courses.editMode(), Recordset::EditMode::InProgress);
        courses.cancelUpdate();
        QCOMPARE(courses.value(field).toString(), u"Sala"_s);

        // The caller's recovery: add the row again with what the window holds.
        courses.addNew();
        courses.setValue(u"NumDoma"_s, 7);
        courses.setValue(u"SedeInteressata"_s, 1);
        courses.setValue(u"Corso"_s, u"0002"_s);
        courses.setValue(field, u"Sala e bar"_s);
        courses.update();
        QCOMPARE(m_other.scalar(u"SELECT DenCorso FROM Corsi WHERE Corso = '0002'"_s).toString(),
                 u"Sala e bar"_s);

        m_other.execute(u"DELETE FROM Corsi WHERE Corso = '0002'"_s);
        QCOMPARE(errorOf([&] { courses.deleteCurrent(); }).number(), ErrorCode::RowDeletedMeanwhile);
    }

    void rowsAddedInALoopReachANewOpeningOfTheConnection()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        const auto add = [&courses](const QString &corso) {
            courses.addNew();
            courses.setValue(u"NumDoma"_s, 8);
            courses.setValue(u"SedeInteressata"_s, 1);
            courses.setValue(u"Corso"_s, corso);
            courses.setValue(u"DenCorso"_s, QString(u"Corso "_s + corso));
            courses.update();
        };
        add(u"0001"_s);
        // The inserts' statement kept for the loop belongs to the opening that is closed here.
        m_connection.close();
        m_connection.open(m_fixture->path(), Connection::Mode::Shared);
        add(u"0002"_s);
        add(u"0003"_s);
        QCOMPARE(
            text(u"SELECT group_concat(DenCorso, '/') FROM (SELECT DenCorso FROM Corsi WHERE NumDoma = 8 "
                 u"ORDER BY Corso)"_s),
            u"Corso 0001/Corso 0002/Corso 0003"_s);
        QCOMPARE(courses.recordCount(), 6);
        courses.moveFirst();
        QVERIFY(courses.find(u"Corso = '0002' AND NumDoma = 8"_s));
        QCOMPARE(courses.value(u"DenCorso"_s).toString(), u"Corso 0002"_s);
    }

    void aKeyViolationIsReportedAsTheOldEngineDid()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        const int before = courses.recordCount();
        courses.addNew();
        QCOMPARE(courses.editMode(), Recordset::EditMode::Add);
        courses.setValue(u"NumDoma"_s, 7);
        courses.setValue(u"SedeInteressata"_s, 1);
        courses.setValue(u"Corso"_s, u"0001"_s);
        const RoutineError error = errorOf([&] { courses.update(); });
        QCOMPARE(error.number(), ErrorCode::Unspecified);
        QVERIFY(error.description().contains(
            u"valori duplicati nell'indice, nella chiave primaria o nella relazione"_s));
        QCOMPARE(courses.editMode(), Recordset::EditMode::Add);
        courses.cancelUpdate();
        QCOMPARE(courses.recordCount(), before);
        QCOMPARE(m_other.scalar(u"SELECT count(*) FROM Corsi"_s).toInt(), before);

        // A key changed onto another row's key is refused the same way.
        courses.setFilter(u"Corso='0002'"_s);
        courses.setValue(u"Corso"_s, u"0001"_s);
        QCOMPARE(errorOf([&] { courses.update(); }).number(), ErrorCode::Unspecified);
        courses.cancelUpdate();
    }

    void aNewRowThroughAViewGoesToItsBaseTable()
    {
        Recordset courses(m_connection);
        courses.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        courses.setSort(u"NumDoma,SedeInteressata,Corso"_s);
        courses.open(u"QryCorsi"_s);
        courses.setFilter(u"NumDoma=7 AND SedeInteressata=5"_s);
        courses.addNew();
        courses.setValue(u"NumDoma"_s, 7);
        courses.setValue(u"SedeInteressata"_s, 5);
        courses.setValue(u"Corso"_s, u"0002"_s);
        courses.setValue(u"DenCorso"_s, u"Panificazione d'arte"_s);
        courses.setValue(u"TotaleSpesa"_s, 250.25);
        courses.update();
        QCOMPARE(courses.recordCount(), 2);
        // The new row stays current, last, with the key it was given.
        QCOMPARE(courses.editMode(), Recordset::EditMode::None);
        QCOMPARE(courses.absolutePosition(), 2);
        QCOMPARE(courses.value(u"Corso"_s).toString(), u"0002"_s);
        QVERIFY(!courses.eof());
        QCOMPARE(m_other.scalar(u"SELECT DenCorso FROM Corsi WHERE SedeInteressata = 5 AND Corso = '0002'"_s)
                     .toString(),
                 u"Panificazione d'arte"_s);
        QCOMPARE(m_other.scalar(u"SELECT count(*) FROM Sedi"_s).toInt(), 3);

        const Bookmark mark = courses.bookmark();
        courses.requery();
        courses.setBookmark(mark);
        QCOMPARE(courses.value(u"Sedi.Denominazione"_s).toString(), u"Sede di Bari"_s);
        QCOMPARE(courses.value(u"Doppio"_s).toDouble(), 500.5);
        QCOMPARE(errorOf([&] {
                     courses.setValue(u"Doppio"_s, 1);
                     courses.update();
                 }).number(),
                 ErrorCode::Unspecified);
        courses.cancelUpdate();
    }

    void aKeyColumnChangesByTheRowsOriginalKey()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        courses.setFilter(u"NumDoma=7  AND SedeInteressata=1  AND Corso='0002'"_s);
        courses.setValue(u"SedeInteressata"_s, 5);
        courses.setValue(u"Corso"_s, u"0002"_s);
        courses.update();
        QCOMPARE(text(u"SELECT group_concat(SedeInteressata || ':' || Corso, ' ') FROM "
                      u"(SELECT * FROM Corsi ORDER BY SedeInteressata, Corso)"_s),
                 u"1:0001 5:0001 5:0002"_s);
    }

    void deletingMovesOnToTheNextRow()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        courses.setAbsolutePosition(2);
        QCOMPARE(courses.value(u"Corso"_s).toString(), u"0002"_s);
        courses.deleteCurrent();
        QCOMPARE(errorOf([&] { courses.value(u"Corso"_s); }).number(), ErrorCode::NoCurrentRecord);
        QCOMPARE(courses.recordCount(), 2);
        courses.moveNext();
        QCOMPARE(courses.value(u"DenCorso"_s).toString(), u"Pasticceria"_s);
        QCOMPARE(m_other.scalar(u"SELECT count(*) FROM Corsi WHERE Corso = '0002'"_s).toInt(), 0);
    }

    void valuesTakeTheColumnsType_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("given");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("text into a number") << u"NumAll"_s << QVariant(u" 15 "_s) << QVariant(15LL);
        QTest::newRow("decimal comma into a real")
            << u"TotaleSpesa"_s << QVariant(u"12,5"_s) << QVariant(12.5);
        QTest::newRow("whole double into an integer") << u"NumAll"_s << QVariant(3.0) << QVariant(3LL);
        QTest::newRow("yes into an integer") << u"NumAll"_s << QVariant(true) << QVariant(1LL);
        QTest::newRow("number into a text") << u"DenCorso"_s << QVariant(42) << QVariant(u"42"_s);
        QTest::newRow("Null") << u"NumAll"_s << QVariant() << QVariant();
    }

    void valuesTakeTheColumnsType()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, given);
        QFETCH(QVariant, stored);
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        courses.setValue(field, given);
        courses.update();
        const QVariant read = m_other.scalar(u"SELECT "_s + field +
                                             u" FROM Corsi WHERE Corso = '0001' AND SedeInteressata = 1"_s);
        QCOMPARE(read, stored);
        QCOMPARE(courses.value(field), stored);
    }

    void aValueThatIsNotANumberIsRefused()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        QCOMPARE(errorOf([&] { courses.setValue(u"NumAll"_s, u"dodici"_s); }).number(),
                 ErrorCode::MultipleStepErrors);
        QCOMPARE(errorOf([&] { courses.setValue(u"NumAll"_s, QString()); }).number(),
                 ErrorCode::MultipleStepErrors);
        QCOMPARE(courses.editMode(), Recordset::EditMode::None);
    }

    void aTableWithoutKeyIsEditedRowByRow()
    {
        Recordset limits(m_connection);
        limits.open(u"Massimali"_s);
        QCOMPARE(limits.fieldCount(), 2);
        limits.setValue(u"ParA"_s, 9.5);
        limits.update();
        QCOMPARE(text(u"SELECT group_concat(ParA, ' ') FROM Massimali"_s), u"9.5 1.0 2.0"_s);
        limits.addNew();
        limits.setValue(u"CodAsse"_s, u"C"_s);
        limits.update();
        limits.moveFirst();
        limits.deleteCurrent();
        QCOMPARE(text(u"SELECT group_concat(CodAsse || ParA, ' ') FROM Massimali"_s), u"A1.0 B2.0"_s);
        limits.moveLast();
        limits.deleteCurrent();
        QCOMPARE(text(u"SELECT group_concat(CodAsse, ' ') FROM Massimali"_s), u"A B"_s);
    }

    void aNumberTheDatabaseGivesIsReadBack()
    {
        Recordset log(m_connection);
        log.open(u"Registro"_s);
        log.addNew();
        log.setValue(u"Nota"_s, u"prima"_s);
        log.update();
        log.addNew();
        log.setValue(u"Nota"_s, u"seconda"_s);
        log.update();
        QCOMPARE(log.value(u"Id"_s).toInt(), 2);
        log.setValue(u"Nota"_s, u"seconda, corretta"_s);
        log.update();
        QCOMPARE(text(u"SELECT Nota FROM Registro WHERE Id = 2"_s), u"seconda, corretta"_s);
    }

    void movingOnWritesThePendingEdit()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        courses.setValue(u"DenCorso"_s, u"Cucina regionale"_s);
        courses.moveNext();
        QCOMPARE(text(u"SELECT DenCorso FROM Corsi WHERE SedeInteressata = 1 AND Corso = '0001'"_s),
                 u"Cucina regionale"_s);
        courses.setValue(u"DenCorso"_s, u"Sala"_s);
        QCOMPARE(errorOf([&] { courses.close(); }).number(), ErrorCode::OperationNotAllowed);
        QCOMPARE(errorOf([&] { courses.requery(); }).number(), ErrorCode::OperationNotAllowed);
        courses.cancelUpdate();
        courses.close();
    }

    void aGuardThatIsNotCommittedUndoesTheRecordsetsWrites()
    {
        Recordset courses(m_connection);
        courses.open(u"Corsi"_s);
        {
            Transaction transaction(m_connection);
            courses.setValue(u"DenCorso"_s, u"Mai"_s);
            courses.update();
            courses.moveLast();
            courses.deleteCurrent();
            courses.addNew();
            courses.setValue(u"NumDoma"_s, 8);
            courses.setValue(u"SedeInteressata"_s, 1);
            courses.setValue(u"Corso"_s, u"0001"_s);
            courses.update();
        }
        QCOMPARE(
            text(
                u"SELECT group_concat(DenCorso, '/') FROM (SELECT * FROM Corsi ORDER BY SedeInteressata, Corso)"_s),
            u"Cucina/Sala/Pasticceria"_s);
    }
};

QTEST_GUILESS_MAIN(TestRecordsetEditing)
#include "tst_RecordsetEditing.moc"
