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
    void theGridShowsTheFiftyEightColumnsUnderTheirHeadings()
    {
        // Each column with the heading shown above it, left to right.
        const QList<std::pair<QString, QString>> attese{
            {u"IdAttivita"_s, u"IdAttivita"_s},
            {u"IdCorsoPrincipale"_s, u"IdCorsoPrincipale"_s},
            {u"CicloFin"_s, u"Ciclo Fin."_s},
            {u"GrupOpe"_s, u"GrupOpe"_s},
            {u"Operatore"_s, u"Operatore"_s},
            {u"ProgrAttivita"_s, u"Progr.Attività"_s},
            {u"AnnoInizio"_s, u"AnnoInizio"_s},
            {u"ProgrAccorp"_s, u"ProgrAccorp"_s},
            {u"CodDiret"_s, u"CodDiret"_s},
            {u"AnnGest"_s, u"AnnGest"_s},
            {u"DenCorso"_s, u"Denom. Corso"_s},
            {u"Componente"_s, u"Comp.Resp."_s},
            {u"CorsiCompo.Denominazione"_s, u""_s},
            {u"QryCompo.TipoCompo"_s, u"Tipo Comp."_s},
            {u"Descrizione"_s, u"Descrizione"_s},
            {u"QryCompo.CodComune"_s, u"QryCompo.CodComune"_s},
            {u"QryCompo.QryComuniProv.Denominazione"_s, u"Comune"_s},
            {u"QryCompo.SIGPROV"_s, u"SiglaProv"_s},
            {u"QryCompo.Cap"_s, u"QryCompo.Cap"_s},
            {u"QryCompo.Indirizzo"_s, u"Indirizzo"_s},
            {u"SedeOcca"_s, u"Sede Occ."_s},
            {u"CorsiSediOcc.Denominazione"_s, u""_s},
            {u"QrySediOccUtil.TipoCompo"_s, u"QrySediOccUtil.TipoCompo"_s},
            {u"QrySediOccUtil.CodComune"_s, u"QrySediOccUtil.CodComune"_s},
            {u"QrySediOccUtil.QryComuniProv.Denominazione"_s,
             u"QrySediOccUtil.QryComuniProv.Denominazione"_s},
            {u"QrySediOccUtil.SIGPROV"_s, u"QrySediOccUtil.SIGPROV"_s},
            {u"QrySediOccUtil.Cap"_s, u"QrySediOccUtil.Cap"_s},
            {u"QrySediOccUtil.Indirizzo"_s, u"QrySediOccUtil.Indirizzo"_s},
            {u"CodQualif"_s, u"CodQualif"_s},
            {u"CodObiettiv_Rif"_s, u"CodObiettiv_Rif"_s},
            {u"CodObiet"_s, u"CodObiet"_s},
            {u"CodAsse"_s, u"CodAsse"_s},
            {u"CodSubAsse"_s, u"CodSubAsse"_s},
            {u"LineaIntervento"_s, u"LineaIntervento"_s},
            {u"CodScol"_s, u"CodScol"_s},
            {u"CodSetto"_s, u"CodSetto"_s},
            {u"AnnoSetto"_s, u"AnnoSetto"_s},
            {u"CodComp"_s, u"CodComp"_s},
            {u"AnnoComp"_s, u"AnnoComp"_s},
            {u"CodPerc"_s, u"CodPerc"_s},
            {u"CodOra"_s, u"CodOra"_s},
            {u"CodCert"_s, u"CodCert"_s},
            {u"DurataAnnOre"_s, u"Ore Annuali"_s},
            {u"NumAll"_s, u"NumAll"_s},
            {u"TotIter"_s, u"Tot. Ore Iter"_s},
            {u"Durata"_s, u"Durata Anni"_s},
            {u"Stato"_s, u"Stato"_s},
            {u"TipoConv"_s, u"TipoConv"_s},
            {u"NumConv"_s, u"NumConv"_s},
            {u"Conv_PT_IpAddress"_s, u"Conv_PT_IpAddress"_s},
            {u"Conv_NumPratica"_s, u"Conv_NumPratica"_s},
            {u"NumPratica"_s, u"NumPratica"_s},
            {u"ProvviProgAtt"_s, u"Progr.Att. provvisorio"_s},
            {u"ProvviProgAcc"_s, u"ProvviProgAcc"_s},
            {u"Dom_NumPratica"_s, u"Dom_NumPratica"_s},
            {u"Dom_ChiaveUtente"_s, u"Dom_ChiaveUtente"_s},
            {u"StatoAvanzamento"_s, u"StatoAvanzamento"_s},
            {u"PROV"_s, u"PROV"_s},
        };
        QStringList colonne;
        QStringList intestazioniAttese;
        for (const auto &[colonna, intestazione] : attese) {
            colonne.append(colonna);
            intestazioniAttese.append(intestazione);
        }
        QCOMPARE(FrmCorsiApprovatiScaricati::colonne(), colonne);
        Banco banco;
        banco.apri([&](QDialog &finestra, QAbstractItemModel &model) {
            QCOMPARE(finestra.windowTitle(), u"Corsi scaricati e acquisiti"_s);
            QStringList intestazioni;
            for (int column = 0; column < model.columnCount(); ++column)
                intestazioni.append(model.headerData(column, Qt::Horizontal).toString());
            QCOMPARE(intestazioni, intestazioniAttese);
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
