#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/RoutineError.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

/** Edits through the four saved queries the windows write through land in their base tables. */
class TestUpdatableViews : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<FixtureDatabase> m_fixture;
    std::unique_ptr<DataEnvironment> m_de;

    QString text(const QString &sql) { return m_fixture->scalar(sql).toString(); }

private slots:
    void init()
    {
        m_de.reset();
        m_fixture.reset();
        QFile::remove(m_dir.filePath(u"KX58TORVA.mdb"_s));
        m_fixture = std::make_unique<FixtureDatabase>(m_dir.filePath(u"KX58TORVA.mdb"_s));
        FixtureDatabase &db = *m_fixture;
        db.insert(u"TipoOper"_s, {u"GrupOpe"_s, u"TipoOper"_s, u"Descrizione"_s},
                  {{u"A"_s, u"01"_s, u"Ente di formazione"_s}});
        db.insert(u"AttEcono"_s, {u"AttEcono"_s, u"Descrizione"_s}, {{85, u"Istruzione"_s}});
        db.insert(u"TipoCompo"_s, {u"TipoCompo"_s, u"Descrizione"_s},
                  {{u"SL"_s, u"Sede legale"_s}, {u"UL"_s, u"Unità locale"_s}});
        db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s, u"REGIONE"_s},
                  {{u"015"_s, u"MI"_s, u"Milano"_s, u"01"_s}});
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"Cap"_s},
                  {{u"015146"_s, u"Milano"_s, u"015"_s, u"20100"_s}});
        db.insert(u"Asse"_s, {u"CodAsse"_s, u"DesAsse"_s}, {{u"III"_s, u"Inclusione"_s}});
        db.insert(u"CorsiOper"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s, u"TipoOper"_s, u"AttEcono"_s},
                  {{u"A"_s, 12, u"Formazione Srl"_s, u"01"_s, 85}});
        db.insert(u"CorsiCompo"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s},
                  {{u"A"_s, 12, 1, u"SL"_s, u"Sede di Milano"_s}});
        db.insert(u"Domande"_s,
                  {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"PROV"_s, u"Domanda"_s, u"DenominazioneOp"_s,
                   u"TipoOper"_s, u"AttEcono"_s, u"Corrispondenza"_s},
                  {{101, u"A"_s, 12, u"015"_s, 1, u"Formazione Srl"_s, u"01"_s, 85, 1},
                   {102, u"A"_s, 12, u"015"_s, 2, u"Formazione Srl"_s, u"01"_s, 85, 1}});
        db.insert(
            u"CorsiSediInteressate"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"TipoCompo"_s,
             u"Denominazione"_s, u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s},
            {{101, 1, u"A"_s, 12, u"SL"_s, u"Sede di Milano"_s, u"015146"_s, u"20121"_s, u"Via Roma 1"_s},
             {101, 1000, u"A"_s, 12, u"UO"_s, u"Aula di Rho"_s, u"015146"_s, u"20017"_s, u"Via Po 2"_s},
             {102, 1, u"A"_s, 12, u"SL"_s, u"Sede di Milano"_s, u"015146"_s, u"20121"_s, u"Via Roma 1"_s}});
        db.insert(u"CorsiProp"_s,
                  {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s,
                   u"DenCorso"_s, u"CodAsse"_s, u"TotaleSpesa"_s},
                  {{101, 1, u"A"_s, 12, u"0001"_s, u"Cucina"_s, u"III"_s, 1000.0},
                   {101, 1, u"A"_s, 12, u"0002"_s, u"Sala"_s, u"III"_s, 800.0}});
        m_de = std::make_unique<DataEnvironment>();
        m_de->CorsiDB().open(Connection::providerName(), db.path(), Connection::Mode::Shared);
    }

    void cleanupTestCase() { m_de.reset(); }

    void theOperatorCardWritesDomandeThroughQryDomande()
    {
        Recordset &rs = m_de->rs(u"QryDomande"_s);
        rs.open();
        rs.setFilter(u"NumDoma=101"_s);
        rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        QCOMPARE(rs.value(u"QryDomande.TipoOper.Descrizione"_s).toString(), u"Ente di formazione"_s);
        QCOMPARE(rs.value(u"QryDomande.AttEcono.Descrizione"_s).toString(), u"Istruzione"_s);
        QCOMPARE(rs.value(u"DenominazioneOP"_s).toString(), u"Formazione Srl"_s);
        rs.setValue(u"DenominazioneOp"_s, u"Formazione dell'Alto Adige Srl"_s);
        rs.setValue(u"ContIBAN"_s, u"IT60X0542811101000000123456"_s);
        rs.setValue(u"AttEcono"_s, u"85"_s);
        rs.setValue(u"DomProv"_s, u"015"_s);
        rs.update();
        QCOMPARE(text(u"SELECT DenominazioneOp || '/' || ContIBAN || '/' || AttEcono || '/' || DomPROV"
                      u" FROM Domande WHERE NumDoma = 101"_s),
                 u"Formazione dell'Alto Adige Srl/IT60X0542811101000000123456/85/015"_s);
        QCOMPARE(text(u"SELECT DenominazioneOp FROM Domande WHERE NumDoma = 102"_s), u"Formazione Srl"_s);
        QCOMPARE(text(u"SELECT Denominazione FROM CorsiOper"_s), u"Formazione Srl"_s);

        // Another installation deleted the application: the card's recovery adds it again.
        m_fixture->execute(u"DELETE FROM Domande WHERE NumDoma = 101"_s);
        rs.setValue(u"LegNome"_s, u"Mario Rossi"_s);
        QCOMPARE(errorOf([&] { rs.update(); }).number(), ErrorCode::RowDeletedMeanwhile);
        rs.cancelUpdate();
        rs.addNew();
        rs.setValue(u"NumDoma"_s, 101);
        rs.setValue(u"GrupOpe"_s, u"A"_s);
        rs.setValue(u"Operatore"_s, 12);
        rs.setValue(u"LegNome"_s, u"Mario Rossi"_s);
        rs.update();
        QCOMPARE(text(u"SELECT LegNome FROM Domande WHERE NumDoma = 101"_s), u"Mario Rossi"_s);
        rs.close();
    }

    void theLegalSeatWindowWritesThroughQryDomandeSedLeg()
    {
        Recordset &rs = m_de->rs(u"QryDomandeSedLeg"_s);
        rs.setFilter(u"GrupOpe='A' AND Operatore=12 AND NumDoma=101 AND NumDoma=101"_s);
        rs.open();
        rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        QCOMPARE(rs.recordCount(), 1);
        QCOMPARE(rs.value(u"SEDEINTERESSATA"_s).toInt(), 1);
        QCOMPARE(rs.value(u"CorsiOper.Denominazione"_s).toString(), u"Formazione Srl"_s);
        QCOMPARE(rs.value(u"QryComuniProv.Denominazione"_s).toString(), u"Milano"_s);
        const Bookmark mark = rs.bookmark();
        rs.setValue(u"Cap"_s, u"20122"_s);
        rs.setValue(u"Indirizzo"_s, u"Corso d'Italia 3"_s);
        rs.setValue(u"Email"_s, u"sede@esempio.it"_s);
        rs.update();
        rs.requery();
        rs.setBookmark(mark);
        QCOMPARE(rs.value(u"Indirizzo"_s).toString(), u"Corso d'Italia 3"_s);
        QCOMPARE(text(u"SELECT Cap || '/' || Indirizzo || '/' || Email FROM CorsiSediInteressate"
                      u" WHERE NumDoma = 101 AND SedeInteressata = 1"_s),
                 u"20122/Corso d'Italia 3/sede@esempio.it"_s);
        QCOMPARE(text(u"SELECT Indirizzo FROM CorsiSediInteressate WHERE NumDoma = 102"_s), u"Via Roma 1"_s);
        rs.close();
        rs.clearFilter();
    }

    void theSeatsWindowWritesThroughQrySediInteressate()
    {
        Recordset &rs = m_de->rs(u"QrySediInteressate"_s);
        rs.open();
        rs.setFilter(u"GrupOpe='A' AND Operatore=12 AND NumDoma=101"_s);
        rs.setSort(u"GrupOpe, operatore, sedeinteressata"_s);
        rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        rs.moveLast();
        QCOMPARE(rs.value(u"CorsiSediinteressate.Denominazione"_s).toString(), u"Aula di Rho"_s);
        QCOMPARE(rs.value(u"QryComuniProv.Cap"_s).toString(), u"20100"_s);
        rs.setValue(u"CorsiSediInteressate.Cap"_s, u"20017"_s);
        rs.setValue(u"Email"_s, u"rho@esempio.it"_s);
        rs.setValue(u"Riferimento"_s, u"Anna D'Amico"_s);
        rs.update();
        QCOMPARE(text(u"SELECT Email || '/' || Riferimento FROM CorsiSediInteressate"
                      u" WHERE NumDoma = 101 AND SedeInteressata = 1000"_s),
                 u"rho@esempio.it/Anna D'Amico"_s);
        QCOMPARE(text(u"SELECT Cap FROM Comuni"_s), u"20100"_s);

        m_fixture->execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata = 1000"_s);
        rs.setValue(u"Tel"_s, u"02 123"_s);
        QCOMPARE(errorOf([&] { rs.update(); }).number(), ErrorCode::RowDeletedMeanwhile);
        rs.cancelUpdate();
        rs.close();
    }

    void theCourseEditorWritesCorsiPropThroughQryCorsi()
    {
        Recordset &rs = m_de->rs(u"QryCorsi"_s);
        rs.setUpdateCriteria(Recordset::UpdateCriteria::Key);
        rs.open();
        rs.setSort(u"NumDoma,SedeInteressata,Corso"_s);
        rs.setFilter(u"NumDoma=101 AND SedeInteressata=1"_s);
        QCOMPARE(rs.recordCount(), 2);
        QCOMPARE(rs.value(u"DesAsse"_s).toString(), u"Inclusione"_s);
        rs.setValue(u"CorsiProp.DenCorso"_s, u"Cucina dell'entroterra"_s);
        rs.setValue(u"TotaleSpesa"_s, 1250.75);
        rs.update();
        QCOMPARE(text(u"SELECT DenCorso || '/' || TotaleSpesa FROM CorsiProp WHERE Corso = '0001'"_s),
                 u"Cucina dell'entroterra/1250.75"_s);

        rs.addNew();
        rs.setValue(u"NumDoma"_s, 101);
        rs.setValue(u"SedeInteressata"_s, 1);
        rs.setValue(u"GrupOpe"_s, u"A"_s);
        rs.setValue(u"Operatore"_s, 12);
        rs.setValue(u"Corso"_s, u"0003"_s);
        rs.setValue(u"CorsiProp.DenCorso"_s, u"Pasticceria"_s);
        rs.setValue(u"CodAsse"_s, u"III"_s);
        rs.update();
        rs.requery();
        QVERIFY(rs.find(u"Corso = '0003'"_s));
        QCOMPARE(rs.value(u"DesAsse"_s).toString(), u"Inclusione"_s);
        QCOMPARE(rs.value(u"ATI"_s).toInt(), 0);
        QCOMPARE(m_fixture->count(u"CorsiProp"_s), 3);
        rs.close();
    }
};

QTEST_GUILESS_MAIN(TestUpdatableViews)
#include "tst_UpdatableViews.moc"
