#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/data/DataEnvironment.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/ui/FrmCorsiApprovatiScaricati.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * Approved courses of two operators; those of A-12 have a responsible component with its seat type
 * and municipality, and one of them an occasional seat.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    StatoScaricoCorsi stato;

    Banco()
    {
        db.insert(u"Province"_s, {u"Prov"_s, u"SigProv"_s, u"DesProv"_s},
                  {{u"037"_s, u"BO"_s, u"BOLOGNA"_s}});
        db.insert(u"Comuni"_s, {u"CodComune"_s, u"Denominazione"_s, u"PROV"_s, u"Cap"_s},
                  {{u"037006"_s, u"BOLOGNA"_s, u"037"_s, u"40121"_s}});
        db.insert(u"TipoCompo"_s, {u"TipoCompo"_s, u"Descrizione"_s}, {{u"SL"_s, u"SEDE LEGALE"_s}});
        db.insert(u"CorsiCompo"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s,
                   u"CodComune"_s, u"Cap"_s, u"Indirizzo"_s},
                  {{u"A"_s, 12, 1, u"SL"_s, u"SEDE CENTRALE"_s, u"037006"_s, u"40121"_s, u"VIA ROMA 1"_s}});
        db.insert(u"CorsiSediOcc"_s, {u"SedeOcc"_s, u"Denominazione"_s, u"CodComune"_s},
                  {{1001, u"AULA ESTERNA"_s, u"037006"_s}});
        db.insert(
            u"CorsiApprovati"_s,
            {u"IdAttivita"_s, u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcca"_s, u"DenCorso"_s},
            {{190001, u"A"_s, 12, 1, 1001, u"OPERATORE SOCIO SANITARIO"_s},
             {190002, u"A"_s, 12, 1, QVariant(), u"TECNICO DELLA LOGISTICA"_s},
             {190101, u"B"_s, 7, 1, QVariant(), u"ADDETTO ALLA RISTORAZIONE"_s}});
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        stato.GrupOpeScarico = u"A"_s;
        stato.OperatoreScarico = 12;
    }

    /** Opens the window and hands its grid's rows to the check. */
    void apri(const std::function<void(QDialog &, QAbstractItemModel &)> &verifica)
    {
        test.dialogRunner.expect(u"FrmCorsiApprovatiScaricati"_s, [&](QDialog &finestra) {
            verifica(finestra, *control<QTableView>(&finestra, u"GrdCorsi"_s)->model());
            press(&finestra, u"cmdEsci2"_s);
        });
        FrmCorsiApprovatiScaricati::mostra(test.context(), stato);
        QVERIFY(test.dialogRunner.allRun());
    }
};

QString valore(QAbstractItemModel &model, int row, const QString &heading)
{
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == heading)
            return model.data(model.index(row, column)).toString();
    }
    throw UnexpectedCall(u"no column " + heading);
}

} // namespace

class tst_FrmCorsiApprovatiScaricati : public QObject
{
    Q_OBJECT

private slots:
    void intestazioniEOrdine()
    {
        QStringList colonne = FrmCorsiApprovatiScaricati::colonne();
        QCOMPARE(colonne.size(), 58);
        QCOMPARE(colonne.mid(0, 4),
                 (QStringList{u"IdAttivita"_s, u"IdCorsoPrincipale"_s, u"CicloFin"_s, u"GrupOpe"_s}));
        QCOMPARE(colonne.last(), u"PROV"_s);
        Banco banco;
        banco.apri([](QDialog &finestra, QAbstractItemModel &model) {
            QCOMPARE(finestra.windowTitle(), u"Corsi scaricati e acquisiti"_s);
            QCOMPARE(model.columnCount(), 58);
            QStringList intestazioni;
            for (int column = 0; column < model.columnCount(); ++column)
                intestazioni.append(model.headerData(column, Qt::Horizontal).toString());
            QCOMPARE(intestazioni, FrmCorsiApprovatiScaricati::intestazioni());
            const QList<std::pair<int, QString>> attese{{2, u"Ciclo Fin."_s},
                                                        {5, u"Progr.Attività"_s},
                                                        {10, u"Denom. Corso"_s},
                                                        {11, u"Comp.Resp."_s},
                                                        {12, QString()},
                                                        {13, u"Tipo Comp."_s},
                                                        {16, u"Comune"_s},
                                                        {17, u"SiglaProv"_s},
                                                        {19, u"Indirizzo"_s},
                                                        {20, u"Sede Occ."_s},
                                                        {21, QString()},
                                                        {42, u"Ore Annuali"_s},
                                                        {44, u"Tot. Ore Iter"_s},
                                                        {45, u"Durata Anni"_s},
                                                        {52, u"Progr.Att. provvisorio"_s},
                                                        {15, u"QryCompo.CodComune"_s},
                                                        {57, u"PROV"_s}};
            for (const auto &[column, heading] : attese)
                QCOMPARE(intestazioni[column], heading);
        });
    }

    void soloLOperatoreScaricato()
    {
        Banco banco;
        banco.apri([](QDialog &, QAbstractItemModel &model) {
            QCOMPARE(model.rowCount(), 2);
            QStringList corsi{valore(model, 0, u"IdAttivita"_s), valore(model, 1, u"IdAttivita"_s)};
            corsi.sort();
            QCOMPARE(corsi, (QStringList{u"190001"_s, u"190002"_s}));
            const int riga = valore(model, 0, u"IdAttivita"_s) == u"190001" ? 0 : 1;
            QCOMPARE(valore(model, riga, u"Denom. Corso"_s), u"OPERATORE SOCIO SANITARIO"_s);
            QCOMPARE(valore(model, riga, u"Descrizione"_s), u"SEDE LEGALE"_s);
            QCOMPARE(valore(model, riga, u"Comune"_s), u"BOLOGNA"_s);
            QCOMPARE(valore(model, riga, u"SiglaProv"_s), u"BO"_s);
            QCOMPARE(valore(model, riga, u"Indirizzo"_s), u"VIA ROMA 1"_s);
            QCOMPARE(model.data(model.index(riga, 21)).toString(), u"AULA ESTERNA"_s);
        });
    }

    void grigliaVuota()
    {
        Banco banco;
        banco.stato.GrupOpeScarico = u"C"_s;
        banco.stato.OperatoreScarico = 1;
        banco.apri([](QDialog &, QAbstractItemModel &model) { QCOMPARE(model.rowCount(), 0); });
    }

    void unaSecondaAperturaRileggeLeRighe()
    {
        Banco banco;
        banco.apri([](QDialog &, QAbstractItemModel &model) { QCOMPARE(model.rowCount(), 2); });
        banco.test.context().DE().CorsiDB().execute(
            u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, Componente) VALUES (190003, 'A', 12, 1)"_s);
        banco.apri([](QDialog &, QAbstractItemModel &model) { QCOMPARE(model.rowCount(), 3); });
    }

    void nonSiModifica()
    {
        Banco banco;
        banco.apri([](QDialog &finestra, QAbstractItemModel &) {
            QCOMPARE(control<QTableView>(&finestra, u"GrdCorsi"_s)->editTriggers(),
                     QAbstractItemView::NoEditTriggers);
        });
    }
};

QTEST_MAIN(tst_FrmCorsiApprovatiScaricati)
#include "tst_FrmCorsiApprovatiScaricati.moc"
