#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/FrmSedeLeg.h"
#include "core/data/Connection.h"
#include "core/state/CurrentApplication.h"
#include "tests/applications/BancoSedi.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace kx;

namespace {

const QString Uscita = u"Sono stati modificati uno o più dati della Sede Legale\r\nSalvare le modifiche ?"_s;
const QString Cancellato =
    u"Il record che si sta cercando di aggiornare è stato cancellato da un altro utente.\r\nReinserire il record?"_s;

QLineEdit *box(QWidget *w, const QString &name)
{
    return control<QLineEdit>(w, name);
}

/** A second installation's change of the database, through a connection of its own. */
void altraPostazione(BancoSedi &banco, const QString &sql)
{
    banco.db.execute(sql);
}

} // namespace

class TestFrmSedeLeg : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheLegalSeat()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        QVERIFY(!w.chiusa());
        QCOMPARE(w.windowTitle(), u"Sez. 1.4 - Sede Legale dell'Operatore Presentatore"_s);
        QCOMPARE(control<QLabel>(&w, u"lblGrOpe"_s)->text(), u"A"_s);
        QCOMPARE(control<QLabel>(&w, u"lblOpe"_s)->text(), u"12"_s);
        QCOMPARE(control<QLabel>(&w, u"lblDenOpe"_s)->text(), u"ENTE UNO"_s);
        QCOMPARE(control<QLabel>(&w, u"lblSedeOcc"_s)->text(), u"SEDE LEGALE"_s);
        QCOMPARE(control<QLabel>(&w, u"lblComponente"_s)->text(), u"1"_s);
        QCOMPARE(control<QLabel>(&w, u"lblSigProv"_s)->text(), u"TO"_s);
        QCOMPARE(box(&w, u"txtCap"_s)->text(), u"10121"_s);
        QVERIFY(box(&w, u"txtIndirizzo"_s)->isReadOnly());
        QVERIFY(box(&w, u"txtCap"_s)->isEnabled());
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void noOrTwoLegalSeatsCloseOnlyThisWindow_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("none")
            << u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s
            << u"Per l'operatore selezionato non esiste una sede legale. Situazione anomala, "
               u"contattare l'assistenza TUZ."_s;
        QTest::newRow("two") << u"UPDATE CorsiSediInteressate SET TipoCompo='SL'"_s
                             << u"Per l'operatore selezionato esistono più sedi legali. Situazione anomala, "
                                u"contattare l'assistenza TUZ."_s;
    }
    void noOrTwoLegalSeatsCloseOnlyThisWindow()
    {
        QFETCH(QString, sql);
        QFETCH(QString, messaggio);
        BancoSedi banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.db.execute(sql);
        banco.test.prompt.expect(messaggio);
        FrmSedeLeg w(banco.test.context());
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().size(), 1);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QVERIFY(banco.test.prompt.shown().front().title.isEmpty());
        QVERIFY(!banco.test.programExit.exited());
    }

    void failedCheckFocusesItsFieldAndWritesNothing()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        box(&w, u"txtCap"_s)->setText(u"101"_s);
        box(&w, u"txtPostaElettronica"_s)->setText(u"@x"_s);
        banco.test.prompt.expect(u"C.A.P. non valido"_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Verifica Dati"_s);
        QCOMPARE(QApplication::focusWidget(), box(&w, u"txtCap"_s));
        QCOMPARE(banco.sede(u"Cap"_s).toString(), u"10121"_s);
    }

    void saveWritesBothTablesAndStaysOpen()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"011 5"_s);
        box(&w, u"txtCap"_s)->setText(u"10128"_s);
        box(&w, u"txtPostaElettronica"_s)->setText(u"sede@ente.it"_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!w.chiusa());
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"011 5"_s);
        QCOMPARE(banco.registro(u"Tel"_s).toString(), u"011 5"_s);
        QCOMPARE(banco.registro(u"Cap"_s).toString(), u"10128"_s);
        QCOMPARE(banco.sede(u"Email"_s).toString(), u"sede@ente.it"_s);
        QCOMPARE(banco.capComune(), u"10100"_s);
        // What was saved is no longer a change.
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
    }

    void exitAsksOnlyAfterAChange()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtFax"_s)->setText(u"1"_s);
        banco.test.prompt.expect(Uscita, Prompt::Answer::Cancel);
        static_cast<QDialog &>(w).reject(); // the title bar
        QVERIFY(!w.chiusa());
        banco.test.prompt.expect(Uscita, Prompt::Answer::No);
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.sede(u"Fax"_s), QVariant());
    }

    void aChangeStoredElsewhereWhileTheWindowIsOpenIsNotTheUsers()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        altraPostazione(banco, u"UPDATE CorsiSediInteressate SET Tel='999' WHERE SedeInteressata=1"_s);
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"999"_s);
    }

    void aSeatSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt_data()
    {
        QTest::addColumn<bool>("sovrascrivere");
        QTest::newRow("Yes writes the window's values") << true;
        QTest::newRow("No shows the seat as stored") << false;
    }
    void aSeatSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt()
    {
        QFETCH(bool, sovrascrivere);
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        Connection seconda;
        seconda.open(banco.db.path(), Connection::Mode::Shared);
        seconda.execute(u"UPDATE CorsiSediInteressate SET Tel='999' WHERE SedeInteressata=1"_s);

        box(&w, u"txtFax"_s)->setText(u"555"_s);
        banco.test.prompt.expect(u"I dati sono stati modificati da un'altra postazione dopo l'apertura della "
                                 u"finestra.\r\nSovrascriverli con quelli inseriti?"_s,
                                 sovrascrivere ? Prompt::Answer::Yes : Prompt::Answer::No);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Accesso concorrente"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Warning);
        if (sovrascrivere) {
            QCOMPARE(banco.sede(u"Tel"_s).toString(), u"011 1"_s);
            QCOMPARE(banco.sede(u"Fax"_s).toString(), u"555"_s);
            QCOMPARE(banco.registro(u"Fax"_s).toString(), u"555"_s);
        } else {
            QCOMPARE(banco.sede(u"Tel"_s).toString(), u"999"_s);
            QCOMPARE(banco.sede(u"Fax"_s), QVariant());
            QCOMPARE(box(&w, u"txtTel"_s)->text(), u"999"_s);
            QCOMPARE(box(&w, u"txtFax"_s)->text(), QString());
        }
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.allShown());
        seconda.close();
    }

    void deletedRowYesReinserts()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"777"_s);
        altraPostazione(banco, u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s);
        banco.test.prompt.expect(Cancellato, Prompt::Answer::Yes);
        banco.test.prompt.expect(u"Sede Legale reinserita."_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"777"_s);
        // The whole row comes back, with the name the window shows.
        QCOMPARE(banco.sede(u"Denominazione"_s).toString(), u"ENTE UNO"_s);
        QCOMPARE(banco.sede(u"TipoCompo"_s).toString(), u"SL"_s);
        QCOMPARE(banco.registro(u"Tel"_s).toString(), u"777"_s);
        QVERIFY(!w.chiusa());
    }

    void deletedRowNoClosesThisWindowOnly()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"777"_s);
        altraPostazione(banco, u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s);
        banco.test.prompt.expect(Cancellato, Prompt::Answer::No);
        banco.test.prompt.expect(
            u"ATTENZIONE: non ci sono più Componenti per l'Operatore selezionato. Impossibile continuare la "
            u"sessione di lavoro. Contattare il servizio di assistenza T.U.Z. riportando questo messaggio."_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().back().title, u"Nessun Componente!"_s);
        QVERIFY(w.chiusa());
        QVERIFY(!banco.test.programExit.exited());
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void deletedApplicationClosesWithoutReinsertion()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"777"_s);
        altraPostazione(banco, u"DELETE FROM Domande WHERE NumDoma=7"_s);
        banco.test.prompt.expect(
            u"La domanda è stata cancellata da un'altra postazione. Impossibile salvare le modifiche."_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Accesso concorrente"_s);
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Warning);
        QVERIFY(w.chiusa());
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void missingRegistryRowIsReported()
    {
        BancoSedi banco;
        FrmSedeLeg w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"777"_s);
        altraPostazione(banco, u"DELETE FROM CorsiCompo WHERE Operatore=12 AND Componente=1"_s);
        banco.test.prompt.expect(
            u"Dati non presenti nell'anagrafica regionale: salvati solo i dati della domanda."_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.sede(u"Tel"_s).toString(), u"777"_s);
    }

    void readOnlyApplication()
    {
        BancoSedi banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(
            u"Domanda già stampata in definitivo\r\nNon sarà possibile modificare i dati della Sede Legale"_s);
        FrmSedeLeg w(banco.test.context());
        w.show();
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Sez.2 - Sede Legale"_s);
        QVERIFY(!control<QWidget>(&w, u"cmdSalva"_s)->isEnabled());
        for (const QString &nome : {u"txtCap"_s, u"txtTel"_s, u"txtRiferimento"_s, u"cmdComu"_s})
            QVERIFY2(!control<QWidget>(&w, nome)->isEnabled(), qPrintable(nome));
    }
};

QTEST_MAIN(TestFrmSedeLeg)
#include "tst_FrmSedeLeg.moc"
