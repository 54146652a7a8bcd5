#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/data/RecordsetModel.h"
#include "core/services/RoutineError.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Schema =
    u"CREATE TABLE Domande (NumDoma INTEGER PRIMARY KEY, GrupOpe TEXT COLLATE NOCASE,"
    u" Operatore INTEGER, DenominazioneOp TEXT COLLATE NOCASE, DomandaStampata INTEGER);"
    u"CREATE VIEW QryDomande AS SELECT NumDoma, GrupOpe, Operatore, DenominazioneOp FROM Domande;"_s;

} // namespace

class TestDataEnvironment : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestContext> m_test;
    std::unique_ptr<FixtureDatabase> m_fixture;

    DataEnvironment &de() { return m_test->context().DE(); }

private slots:
    void init()
    {
        m_test = std::make_unique<TestContext>();
        m_fixture = std::make_unique<FixtureDatabase>(m_test->path(u"KX58TORVA.mdb"_s), Schema);
        m_fixture->insert(
            u"Domande"_s,
            {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenominazioneOp"_s, u"DomandaStampata"_s},
            {{101, u"A"_s, 12, u"Formazione Srl"_s, 0},
             {102, u"A"_s, 12, u"Formazione Srl"_s, 1},
             {205, u"B"_s, 7, u"Centro Studi"_s, 0}});
        de().CorsiDB().open(Connection::providerName(), m_fixture->path(), Connection::Mode::Shared);
    }

    void cleanup()
    {
        m_test.reset();
        m_fixture.reset();
    }

    void recordsetsAreFoundByCommandOrTableName()
    {
        QCOMPARE(DataEnvironment::commandNames().size(), 46);
        QCOMPARE(DataEnvironment::commandNames().first(), u"Query"_s);
        QVERIFY(DataEnvironment::commandNames().contains(u"QryCorsiPropSpese"_s));

        Recordset &rsDomande = de().rs(u"Domande"_s);
        QCOMPARE(&de().rs(u"DOMANDE"_s), &rsDomande);
        QCOMPARE(&de().command(u"domande"_s).recordset(), &rsDomande);
        QCOMPARE(de().command(u"domande"_s).name(), u"Domande"_s);
        QCOMPARE(de().command(u"Domande"_s).type(), Command::Type::Table);
        QCOMPARE(de().Query().type(), Command::Type::Text);
        QCOMPARE(rsDomande.objectName(), u"rsDomande"_s);

        rsDomande.open();
        rsDomande.setFilter(u"NumDoma = 102"_s);
        QCOMPARE(rsDomande.value(u"DomandaStampata"_s).toBool(), true);
        QCOMPARE(errorOf([&] { de().rs(u"Nessuna"_s).open(); }).number(), ErrorCode::TableNotFound);
    }

    void sqlTextRunsThroughQuery()
    {
        Recordset &first =
            de().runQuery(u"SELECT NumDoma FROM Domande WHERE GrupOpe = ? ORDER BY NumDoma"_s, {u"a"_s});
        QCOMPARE(&first, &de().rsQuery());
        QCOMPARE(first.recordCount(), 2);
        QCOMPARE(first.value(u"NumDoma"_s).toInt(), 101);
        QCOMPARE(de().Query().commandText(),
                 u"SELECT NumDoma FROM Domande WHERE GrupOpe = ? ORDER BY NumDoma"_s);

        // The next user finds rsQuery open, with a pending edit even, and simply runs its own text.
        first.setValue(u"NumDoma"_s, 999);
        Recordset &second =
            de().runQuery(u"SELECT count(*) AS NumRec FROM Domande WHERE DenominazioneOp = ?"_s,
                          {u"Formazione Srl' OR 1=1 --"_s});
        QCOMPARE(second.value(u"NumRec"_s).toInt(), 0);
        QCOMPARE(m_fixture->count(u"Domande"_s), 3);
        QCOMPARE(m_fixture->scalar(u"SELECT count(*) FROM Domande WHERE NumDoma = 999"_s).toInt(), 0);

        de().rsAppoggio().open(u"SELECT max(NumDoma) AS Ultima FROM Domande"_s);
        QCOMPARE(de().rsAppoggio().value(u"Ultima"_s).toInt(), 205);
    }

    void aReopenedConnectionIsPickedUpWithoutRebinding()
    {
        Recordset &rsDomande = de().rs(u"Domande"_s);
        rsDomande.open();
        Recordset &rsQryDomande = de().rs(u"QryDomande"_s);

        // A backup or an exclusive reopening closes the connection under the open recordsets.
        de().CorsiDB().close();
        QCOMPARE(errorOf([&] { rsQryDomande.open(); }).number(), ErrorCode::ConnectionClosed);
        QCOMPARE(errorOf([&] { rsDomande.requery(); }).number(), ErrorCode::ConnectionClosed);
        de().CorsiDB().open(m_fixture->path(), Connection::Mode::Exclusive);
        de().RiassociaComandiDE();

        rsQryDomande.open();
        QCOMPARE(rsQryDomande.recordCount(), 3);
        rsDomande.setFilter(u"NumDoma=205"_s);
        rsDomande.setValue(u"DenominazioneOp"_s, u"Centro Studi Nuovo"_s);
        rsDomande.update();
        rsDomande.requery();
        QCOMPARE(rsDomande.value(u"DenominazioneOp"_s).toString(), u"Centro Studi Nuovo"_s);
        QVERIFY(!de().CorsiDB().othersConnected());
    }

    void aGridFollowsTheRecordsetBothWays()
    {
        Recordset &rsQryDomande = de().rs(u"QryDomande"_s);
        RecordsetModel model(rsQryDomande, m_test->prompt, {u"NumDoma"_s, u"DenominazioneOp"_s},
                             {u"Numero"_s});
        QVERIFY(rsQryDomande.isOpen());
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), u"Numero"_s);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"DenominazioneOp"_s);
        QCOMPARE(model.data(model.index(2, 1)).toString(), u"Centro Studi"_s);
        QCOMPARE(model.currentRow(), 0);

        QSignalSpy moved(&model, &RecordsetModel::currentRowChanged);
        rsQryDomande.moveLast();
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().first().toInt(), 2);
        model.setCurrentRow(1);
        QCOMPARE(rsQryDomande.value(u"NumDoma"_s).toInt(), 102);

        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        rsQryDomande.setSort(u"NumDoma DESC"_s);
        rsQryDomande.setFilter(u"GrupOpe='A'"_s);
        QCOMPARE(reset.count(), 2);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.data(model.index(0, 0)).toString(), u"102"_s);

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        rsQryDomande.setValue(u"DenominazioneOp"_s, u"In modifica"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(model.data(model.index(0, 1)).toString(), u"In modifica"_s);
        rsQryDomande.cancelUpdate();
        QCOMPARE(model.data(model.index(0, 1)).toString(), u"Formazione Srl"_s);

        // A pending edit that cannot be written is told, and keeps the recordset, the edit and the grid
        // where they are.
        rsQryDomande.setValue(u"DenominazioneOp"_s, u"In modifica"_s);
        m_fixture->execute(u"DELETE FROM Domande WHERE NumDoma = 102"_s);
        moved.clear();
        m_test->prompt.expect(u"Errore -2147217864\r\nImpossibile trovare la riga per l'aggiornamento. "
                              u"Alcuni valori potrebbero essere stati modificati dall'ultima lettura."_s);
        QVERIFY(!model.setCurrentRow(1));
        QVERIFY(m_test->prompt.allShown());
        QCOMPARE(m_test->prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.first().first().toInt(), 0);
        QCOMPARE(rsQryDomande.value(u"NumDoma"_s).toInt(), 102);
        QCOMPARE(rsQryDomande.editMode(), Recordset::EditMode::InProgress);
        QCOMPARE(rsQryDomande.value(u"DenominazioneOp"_s).toString(), u"In modifica"_s);
        rsQryDomande.cancelUpdate();
        QVERIFY(model.setCurrentRow(1));
        QCOMPARE(rsQryDomande.value(u"NumDoma"_s).toInt(), 101);
    }

    // What a grid asks of its model never fails, whatever state the recordset is in.
    void aGridAsksNothingThatFails()
    {
        Recordset &rsQryDomande = de().rs(u"QryDomande"_s);
        RecordsetModel model(rsQryDomande, m_test->prompt, {u"NumDoma"_s, u"Nessuno"_s});
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), u"Nessuno"_s);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QString());
        QCOMPARE(model.data(model.index(0, 0)).toString(), u"101"_s);

        rsQryDomande.setFilter(u"NumDoma=999"_s);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.currentRow(), -1);
        QVERIFY(!model.setCurrentRow(0));

        rsQryDomande.clearFilter();
        rsQryDomande.moveLast();
        rsQryDomande.deleteCurrent();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.currentRow(), -1);
        QVERIFY(model.setCurrentRow(0));

        rsQryDomande.close();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
        QVERIFY(!model.data(model.index(0, 0)).isValid());
        QCOMPARE(model.headerData(0, Qt::Horizontal), QVariant(1));
        QVERIFY(!model.setCurrentRow(0));
    }
};

QTEST_GUILESS_MAIN(TestDataEnvironment)
#include "tst_DataEnvironment.moc"
