#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/SediInteressate.h"
#include "applications/ui/Componen.h"
#include "core/data/Connection.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/CurrentApplication.h"
#include "core/text/EMail.h"
#include "core/ui/ImageButton.h"
#include "tests/applications/BancoSedi.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QTest>

using namespace kx;

namespace {

const QString Uscita =
    u"Sono stati modificati uno o più dati della Sede Interessata\r\nSalvare le modifiche ?"_s;
const QString Cancellato = u"Il record che si sta cercando di aggiornare è stato cancellato da un altro "
                           u"operatore.\r\nReinserire il record?"_s;
const QString Modificati = u"I dati sono stati modificati da un'altra postazione dopo l'apertura della "
                           u"finestra.\r\nSovrascriverli con quelli inseriti?"_s;
const QStringList Navigazione{u"cmdFirst"_s, u"cmdPrevious"_s, u"cmdNext"_s, u"cmdLast"_s, u"cmdVai"_s};

QLineEdit *box(QWidget *w, const QString &name)
{
    return control<QLineEdit>(w, name);
}

QString sedeMostrata(QWidget *w)
{
    return control<QLabel>(w, u"lblComponente"_s)->text();
}

/** The pictures the five navigation buttons show. */
QStringList figure(QWidget *w)
{
    QStringList nomi;
    for (const QString &nome : Navigazione)
        nomi << control<ImageButton>(w, nome)->shownPicture();
    return nomi;
}

} // namespace

class TestComponen : public QObject
{
    Q_OBJECT

private slots:
    void navigationStatesAndPictures_data()
    {
        QTest::addColumn<int>("sedi");
        QTest::addColumn<QStringList>("pulsanti");
        QTest::addColumn<QString>("sede");
        QTest::addColumn<QStringList>("attese");
        const QStringList primo{u"imgPrimoD"_s, u"imgDietroD"_s, u"imgAvanti"_s, u"imgUltimo"_s, u"imgVai"_s};
        const QStringList ultimo{u"imgPrimo"_s, u"imgDietro"_s, u"imgAvantiD"_s, u"imgUltimoD"_s,
                                 u"imgVai"_s};
        const QStringList unico{u"imgPrimoD"_s, u"imgDietroD"_s, u"imgAvantiD"_s, u"imgUltimoD"_s,
                                u"imgVaiD"_s};
        const QStringList tutti{u"imgPrimo"_s, u"imgDietro"_s, u"imgAvanti"_s, u"imgUltimo"_s, u"imgVai"_s};
        QTest::newRow("1 seat at opening") << 1 << QStringList() << u"1"_s << unico;
        QTest::newRow("2 seats at opening") << 2 << QStringList() << u"1"_s << primo;
        QTest::newRow("2 seats, next") << 2 << QStringList{u"cmdNext"_s} << u"2"_s << ultimo;
        QTest::newRow("2 seats, next, previous")
            << 2 << QStringList{u"cmdNext"_s, u"cmdPrevious"_s} << u"1"_s << primo;
        QTest::newRow("5 seats, next") << 5 << QStringList{u"cmdNext"_s} << u"2"_s << tutti;
        QTest::newRow("5 seats, last") << 5 << QStringList{u"cmdNext"_s, u"cmdLast"_s} << u"5"_s << ultimo;
        QTest::newRow("5 seats, from the fourth, next")
            << 5 << QStringList{u"cmdLast"_s, u"cmdPrevious"_s, u"cmdNext"_s} << u"5"_s << ultimo;
        QTest::newRow("5 seats, first") << 5 << QStringList{u"cmdLast"_s, u"cmdFirst"_s} << u"1"_s << primo;
    }
    void navigationStatesAndPictures()
    {
        QFETCH(int, sedi);
        QFETCH(QStringList, pulsanti);
        QFETCH(QString, sede);
        QFETCH(QStringList, attese);
        BancoSedi banco;
        if (sedi == 1)
            banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=2"_s);
        if (sedi == 5)
            banco.altreSedi();
        Componen w(banco.test.context());
        w.show();
        for (const QString &nome : pulsanti)
            press(&w, nome);
        QCOMPARE(sedeMostrata(&w), sede);
        QCOMPARE(figure(&w), attese);
    }

    void movingSavesWithoutChecks()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        box(&w, u"txtRiferimento"_s)->clear();
        box(&w, u"txtTel"_s)->setText(u"123"_s);
        press(&w, u"cmdNext"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"123"_s);
        QCOMPARE(banco.snapshot(1, u"Riferimento"_s).toString(), u""_s);
        QCOMPARE(banco.registro(u"Tel"_s).toString(), u"123"_s);
        QCOMPARE(banco.capComune(), u"10100"_s);
    }

    void browsingEverySeatBothWaysLeavesTheRegistryAndTheSnapshotAsTheyWere()
    {
        BancoSedi banco;
        banco.domandaNuova();
        const QStringList prima = banco.fotografia();
        Componen w(banco.test.context());
        w.show();
        for (const QString &nome :
             {u"cmdNext"_s, u"cmdNext"_s, u"cmdPrevious"_s, u"cmdPrevious"_s, u"cmdLast"_s, u"cmdFirst"_s})
            press(&w, nome);
        banco.test.dialogRunner.expect(u"FrmEleSedi"_s, [](QDialog &picker) {
            control<QListWidget>(&picker, u"lstSedi"_s)->setCurrentRow(2);
            press(&picker, u"cmdSele2"_s);
        });
        press(&w, u"cmdVai"_s);
        QCOMPARE(sedeMostrata(&w), u"1000"_s);
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.fotografia(), prima);
    }

    void aSeatLeftForAnotherWritesOnlyTheFieldChanged()
    {
        BancoSedi banco;
        banco.domandaNuova();
        const QStringList prima = banco.fotografia();
        Componen w(banco.test.context());
        w.show();
        press(&w, u"cmdNext"_s);
        box(&w, u"txtFax"_s)->setText(u"0112"_s);
        press(&w, u"cmdNext"_s);
        QCOMPARE(sedeMostrata(&w), u"1000"_s);
        box(&w, u"txtTel"_s)->setText(u"0113"_s);
        press(&w, u"cmdFirst"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());

        auto riga = [&banco](const QString &tabella, const QString &condizione) -> QString {
            return tabella + u"#"_s +
                   banco.db.scalar(u"SELECT rowid FROM "_s + tabella + u" WHERE "_s + condizione).toString();
        };
        QStringList attese{
            riga(u"CorsiSediInteressate"_s, u"NumDoma=8 AND SedeInteressata=2"_s) + u".Fax='0112'"_s,
            riga(u"CorsiCompo"_s, u"GrupOpe='A' AND Operatore=12 AND Componente=2"_s) + u".Fax='0112'"_s,
            riga(u"CorsiSediInteressate"_s, u"NumDoma=8 AND SedeInteressata=1000"_s) + u".Tel='0113'"_s,
            riga(u"CorsiSediOcc"_s, u"SedeOcc=1000"_s) + u".Tel='0113'"_s,
        };
        QStringList diverse = BancoSedi::differenze(prima, banco.fotografia());
        diverse.sort();
        attese.sort();
        QCOMPARE(diverse, attese);
    }

    void aCapChangedAloneIsSavedOnAMove()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        box(&w, u"txtCap"_s)->setText(u"10128"_s);
        press(&w, u"cmdNext"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.snapshot(1, u"Cap"_s).toString(), u"10128"_s);
        QCOMPARE(banco.registro(u"Cap"_s).toString(), u"10128"_s);
        QCOMPARE(banco.registro(u"Tel"_s), QVariant());
    }

    void aChangeStoredElsewhereWhileTheWindowIsOpenIsNotTheUsers()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        banco.db.execute(
            u"UPDATE CorsiSediInteressate SET Tel='999' WHERE NumDoma=7 AND SedeInteressata=1"_s);
        press(&w, u"cmdNext"_s);
        press(&w, u"cmdPrevious"_s);
        QCOMPARE(box(&w, u"txtTel"_s)->text(), u"999"_s);
        banco.db.execute(
            u"UPDATE CorsiSediInteressate SET Tel='888' WHERE NumDoma=7 AND SedeInteressata=1"_s);
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"888"_s);
    }

    void aSeatSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt_data()
    {
        QTest::addColumn<bool>("sovrascrivere");
        QTest::newRow("Yes writes the window's change") << true;
        QTest::newRow("No shows the seat as stored") << false;
    }
    void aSeatSavedMeanwhileByAnotherInstallationAsksBeforeWritingOverIt()
    {
        QFETCH(bool, sovrascrivere);
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        Connection seconda;
        seconda.open(banco.db.path(), Connection::Mode::Shared);
        seconda.execute(u"UPDATE CorsiSediInteressate SET Tel='999' WHERE NumDoma=7 AND SedeInteressata=1"_s);

        box(&w, u"txtTel"_s)->setText(u"555"_s);
        banco.test.prompt.expect(Modificati, sovrascrivere ? Prompt::Answer::Yes : Prompt::Answer::No);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Accesso concorrente"_s);
        const QString atteso = sovrascrivere ? u"555"_s : u"999"_s;
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), atteso);
        QCOMPARE(box(&w, u"txtTel"_s)->text(), atteso);
        QCOMPARE(banco.registro(u"Tel"_s), sovrascrivere ? QVariant(u"555"_s) : QVariant());
        // What the window shows now is the seat as stored: leaving asks nothing.
        press(&w, u"cmdEsci"_s);
        QVERIFY(w.chiusa());
        QVERIFY(banco.test.prompt.allShown());
        seconda.close();
    }

    void aSeatChosenInThePickerAndDeletedMeanwhileLeavesTheSeatShown()
    {
        BancoSedi banco;
        banco.altreSedi();
        Componen w(banco.test.context());
        w.show();
        press(&w, u"cmdNext"_s);
        banco.test.dialogRunner.expect(u"FrmEleSedi"_s, [&banco](QDialog &picker) {
            control<QListWidget>(&picker, u"lstSedi"_s)->setCurrentRow(4);
            banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE NumDoma=7 AND SedeInteressata=5"_s);
            press(&picker, u"cmdSele2"_s);
        });
        press(&w, u"cmdVai"_s);
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(sedeMostrata(&w), u"2"_s);
        QCOMPARE(w.statoNavigazione(), StatoNavigazione::Tutti);
        press(&w, u"cmdLast"_s);
        QCOMPARE(sedeMostrata(&w), u"4"_s);
    }

    void seatsThatFailToLoadShowTheLoadingBoxAndAreNeverSaved()
    {
        BancoSedi banco;
        banco.db.execute(u"DROP VIEW QryComuniProv"_s);
        const RoutineError errore = errorOf(
            [&banco] { leggiSedi(banco.test.context().DE().CorsiDB(), banco.test.context().domanda()); });
        QVERIFY(errore.number() != 0);
        const QStringList prima = banco.fotografia();
        banco.test.prompt.expect(u"Errore in Componen.Load - "_s + QString::number(errore.number()) +
                                 u" - "_s + errore.description());
        Componen w(banco.test.context());
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().front().title, QString());
        static_cast<QDialog &>(w).reject(); // the title bar, before the window closes itself
        w.show();
        QTRY_VERIFY(w.chiusa());
        QCOMPARE(banco.test.prompt.shown().size(), 1);
        QCOMPARE(banco.fotografia(), prima);
    }

    void aFailingTypeListShowsTheUnexpectedErrorBoxWithoutATitle()
    {
        BancoSedi banco;
        banco.db.execute(u"DROP TABLE TipoCompo"_s);
        const RoutineError errore = errorOf([&banco] { vociTipoCompo(banco.test.context().DE().CorsiDB()); });
        QVERIFY(errore.number() != 0);
        banco.test.prompt.expect(unexpectedErrorText(errore), Prompt::Answer::Cancel);
        try {
            Componen w(banco.test.context());
            QFAIL("Cancel did not end the program");
        } catch (const ProgramExited &) {
        }
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, QString());
        QCOMPARE(banco.test.prompt.shown().front().buttons, Prompt::Buttons::RetryCancel);
    }

    void opensOnTheFirstSeat()
    {
        BancoSedi banco;
        banco.altreSedi();
        Componen w(banco.test.context());
        w.show();
        QCOMPARE(w.windowTitle(), u"Sez. 2 - Sedi Interessate"_s);
        QCOMPARE(control<QLabel>(&w, u"lblProposta"_s)->text(), u"7"_s);
        QCOMPARE(control<QComboBox>(&w, u"cmbTipoCompo"_s)->currentText(), u"SL  SEDE LEGALE"_s);
        QCOMPARE(control<QLabel>(&w, u"lblProv"_s)->text(), u"TO"_s);
        QCOMPARE(box(&w, u"txtCap"_s)->text(), u"10121"_s);
        // The second seat is abroad: no municipality, code, CAP or province in edit mode.
        press(&w, u"cmdNext"_s);
        QCOMPARE(box(&w, u"txtStatoEstero"_s)->text(), u"FRANCIA"_s);
        QCOMPARE(control<QComboBox>(&w, u"cmbTipoCompo"_s)->currentIndex(), 0);
        QVERIFY(box(&w, u"txtComDes"_s)->text().isEmpty());
        QVERIFY(control<QLabel>(&w, u"lblProv"_s)->text().isEmpty());
    }

    void theButtonsWithOnlyAPictureSayWhatTheyDo()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        QMap<QString, QString> suggerimenti;
        const auto pulsanti = w.findChildren<ImageButton *>();
        for (const ImageButton *pulsante : pulsanti) {
            if (pulsante->text().isEmpty())
                suggerimenti.insert(pulsante->objectName(), pulsante->toolTip());
        }
        QCOMPARE(suggerimenti, (QMap<QString, QString>{{u"cmdFirst"_s, u"Primo"_s},
                                                       {u"cmdPrevious"_s, u"Precedente"_s},
                                                       {u"cmdNext"_s, u"Successivo"_s},
                                                       {u"cmdLast"_s, u"Ultimo"_s},
                                                       {u"cmdVai"_s, u"Elenco Sedi Interessate"_s},
                                                       {u"cmdAiuto"_s, u"Aiuto"_s},
                                                       {u"cmdSalva"_s, u"Salva"_s},
                                                       {u"cmdEsci"_s, u"Esci"_s}}));
    }

    void readOnlyWritesNothing()
    {
        BancoSedi banco;
        banco.db.execute(u"UPDATE CorsiSediInteressate SET StatoEstero='FRANCIA' WHERE SedeInteressata=1"_s);
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(
            u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei Componenti"_s);
        Componen w(banco.test.context());
        w.show();
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Anagrafica Componenti"_s);
        for (const QString &nome : {u"txtTel"_s, u"txtFax"_s, u"txtRiferimento"_s, u"txtPostaElettronica"_s,
                                    u"txtCap"_s, u"cmdSalva"_s})
            QVERIFY2(!control<QWidget>(&w, nome)->isEnabled(), qPrintable(nome));
        // Read-only shows the municipality and the foreign state together.
        QCOMPARE(box(&w, u"txtComDes"_s)->text(), u"TORINO"_s);
        QCOMPARE(box(&w, u"txtStatoEstero"_s)->text(), u"FRANCIA"_s);
        box(&w, u"txtTel"_s)->setText(u"999"_s);
        press(&w, u"cmdNext"_s);
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"011 1"_s);
    }

    void noSeatClosesTheWindowWithItsMessageAlone_data()
    {
        QTest::addColumn<bool>("stampata");
        QTest::newRow("editable") << false;
        QTest::newRow("printed: no read-only warning after the message") << true;
    }
    void noSeatClosesTheWindowWithItsMessageAlone()
    {
        QFETCH(bool, stampata);
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiSediInteressate"_s);
        banco.test.context().domanda().DomandaStampataCorrente = stampata;
        banco.test.prompt.expect(
            u"Nessun Componente per l'Operatore selezionato.\r\nImpossibile gestire la proposta corsi"_s);
        Componen w(banco.test.context());
        w.show();
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, u"Componenti"_s);
        w.show();
        QTRY_VERIFY(w.chiusa());
    }

    void checks_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("riferimento");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("empty reference")
            << QString() << QString() << u"Inserire la persona di riferimento."_s << u"Controllo dati"_s;
        QTest::newRow("invalid e-mail comes first")
            << u"abc"_s << QString() << EMail::primaRegolaViolata(u"abc"_s, EMail::Vuoto::Segnala)
            << u"Indirizzo e-mail"_s;
    }
    void checks()
    {
        QFETCH(QString, email);
        QFETCH(QString, riferimento);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        box(&w, u"txtPostaElettronica"_s)->setText(email);
        box(&w, u"txtRiferimento"_s)->setText(riferimento);
        box(&w, u"txtTel"_s)->setText(u"555"_s);
        banco.test.prompt.expect(messaggio);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().front().title, titolo);
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"011 1"_s);
    }

    void blanksPassTheChecksAndAreSaved()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        box(&w, u"txtPostaElettronica"_s)->setText(u"  "_s);
        box(&w, u"txtRiferimento"_s)->setText(u" "_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QCOMPARE(banco.snapshot(1, u"Email"_s).toString(), u"  "_s);
        QCOMPARE(banco.snapshot(1, u"Riferimento"_s).toString(), u" "_s);
        QVERIFY(!w.chiusa());
    }

    void exitChangeCheck_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<bool>("domanda");
        QTest::newRow("nothing changed") << QString() << QString() << false;
        QTest::newRow("CAP changed") << u"txtCap"_s << u"10128"_s << true;
        QTest::newRow("telephone changed") << u"txtTel"_s << u"1"_s << true;
        QTest::newRow("e-mail typed over Null") << u"txtPostaElettronica"_s << u"a@b.it"_s << true;
    }
    void exitChangeCheck()
    {
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(bool, domanda);
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        if (!campo.isEmpty())
            box(&w, campo)->setText(valore);
        if (domanda) {
            banco.test.prompt.expect(Uscita, Prompt::Answer::Cancel);
            press(&w, u"cmdEsci"_s);
            QVERIFY(!w.chiusa());
            banco.test.prompt.expect(Uscita, Prompt::Answer::No);
        }
        press(&w, u"cmdEsci"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(w.chiusa());
        QCOMPARE(banco.snapshot(1, u"Cap"_s).toString(), u"10121"_s);
        QCOMPARE(banco.snapshot(1, u"Tel"_s).toString(), u"011 1"_s);
    }

    void exitYesWithEmptyReferenceStays()
    {
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        box(&w, u"txtTel"_s)->setText(u"1"_s);
        box(&w, u"txtRiferimento"_s)->clear();
        banco.test.prompt.expect(Uscita, Prompt::Answer::Yes);
        banco.test.prompt.expect(u"Inserire la persona di riferimento."_s);
        static_cast<QDialog &>(w).reject(); // the title bar
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(!w.chiusa());
    }

    void deletedRow_data()
    {
        QTest::addColumn<bool>("reinserire");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void deletedRow()
    {
        QFETCH(bool, reinserire);
        BancoSedi banco;
        Componen w(banco.test.context());
        w.show();
        press(&w, u"cmdNext"_s);
        box(&w, u"txtTel"_s)->setText(u"42"_s);
        banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=2"_s);
        banco.test.prompt.expect(Cancellato, reinserire ? Prompt::Answer::Yes : Prompt::Answer::No);
        if (reinserire)
            banco.test.prompt.expect(u"Componente reinserito."_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        if (reinserire) {
            QCOMPARE(banco.snapshot(2, u"Tel"_s).toString(), u"42"_s);
            QCOMPARE(banco.snapshot(2, u"Denominazione"_s).toString(), u"SEDE OPERATIVA"_s);
            QCOMPARE(sedeMostrata(&w), u"2"_s);
        } else {
            QCOMPARE(banco.snapshot(2, u"Tel"_s), QVariant());
            QCOMPARE(sedeMostrata(&w), u"1"_s);
            QCOMPARE(w.statoNavigazione(), StatoNavigazione::Unico);
        }
    }

    void declinedReinsertionWithNoSeatLeftCloses()
    {
        BancoSedi banco;
        banco.db.execute(u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=2"_s);
        Componen w(banco.test.context());
        w.show();
        banco.db.execute(u"DELETE FROM CorsiSediInteressate"_s);
        banco.test.prompt.expect(Cancellato, Prompt::Answer::No);
        banco.test.prompt.expect(
            u"Nessun Componente per l'Operatore selezionato.\r\nImpossibile gestire la proposta corsi"_s);
        press(&w, u"cmdSalva"_s);
        QVERIFY(banco.test.prompt.allShown());
        QVERIFY(w.chiusa());
        QCOMPARE(banco.db.scalar(u"SELECT COUNT(*) FROM CorsiSediInteressate"_s).toInt(), 0);
    }

    void jumpThroughThePicker_data()
    {
        QTest::addColumn<int>("riga");
        QTest::addColumn<bool>("conferma");
        QTest::addColumn<QString>("sede");
        QTest::addColumn<int>("stato");
        QTest::newRow("chosen last") << 4 << true << u"5"_s << int(StatoNavigazione::Ultimo);
        QTest::newRow("chosen middle") << 2 << true << u"3"_s << int(StatoNavigazione::Tutti);
        QTest::newRow("Annulla stays") << 4 << false << u"2"_s << int(StatoNavigazione::Tutti);
    }
    void jumpThroughThePicker()
    {
        QFETCH(int, riga);
        QFETCH(bool, conferma);
        QFETCH(QString, sede);
        QFETCH(int, stato);
        BancoSedi banco;
        banco.altreSedi();
        Componen w(banco.test.context());
        w.show();
        press(&w, u"cmdNext"_s);
        banco.test.dialogRunner.expect(u"FrmEleSedi"_s, [&](QDialog &picker) {
            auto *lista = control<QListWidget>(&picker, u"lstSedi"_s);
            QCOMPARE(lista->currentRow(), 1);
            lista->setCurrentRow(riga);
            press(&picker, conferma ? u"cmdSele2"_s : u"cmdEsci2"_s);
        });
        press(&w, u"cmdVai"_s);
        QVERIFY(banco.test.dialogRunner.allRun());
        QCOMPARE(sedeMostrata(&w), sede);
        QCOMPARE(int(w.statoNavigazione()), stato);
    }
};

QTEST_MAIN(TestComponen)
#include "tst_Componen.moc"
