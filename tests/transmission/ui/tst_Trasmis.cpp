#include "core/state/Preferences.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/ui/ImageButton.h"
#include "tests/transmission/ui/BancoInvio.h"
#include "transmission/ui/Invia.h"
#include "transmission/ui/Trasmis.h"

#include <QDialog>
#include <QLabel>
#include <QTest>

using namespace kx;

namespace {

const QString DomandaVersione =
    u"Si desidera controllare se questa versione dell'applicativo è abilitata alla trasmissione? Qualunque "
    u"sia "
    u"l'esito del controllo, sarà comunque possibile effettuare la copia su dischetto. Per effettuare il "
    u"controllo è necessario che sia attiva la connessione ad Internet."_s;
const QString Abilitata = u"La presente versione dell'applicativo è abilitata alla trasmissione."_s;
const QString NonAbilitata = u"La presente versione dell'applicativo non è abilitata alla trasmissione. "
                             u"Scaricare ed installare il più "
                             u"presto possibile la versione più recente. Continuare l'operazione di copia?"_s;
const QString AttivazioneInternet = u"Attivazione collegamento con Internet\r\nProcedere solo dopo aver "
                                    u"aperto la connessione \r\ncon il vostro "
                                    u"Provider"_s;

struct BancoTrasmis : BancoInvio
{
    std::unique_ptr<Trasmis> finestra;
    /** What the print dialogs found when they were opened. */
    QString richiestaVista;
    bool eseguitaVista = false;
    int stampe = 0;

    /** The print dialogs' stand-in: a definitive run made, or closed before any. */
    void stampa(bool eseguita, const std::function<void()> &durante = {})
    {
        test.context().serviziStampa().selBozza = [this, eseguita, durante] {
            ++stampe;
            richiestaVista = test.context().stampa().RichiestaStampa;
            eseguitaVista = test.context().stampa().StampaDefinitivaEseguita;
            if (durante)
                durante();
            if (eseguita)
                test.context().stampa().StampaDefinitivaEseguita = true;
        };
    }

    Trasmis &apri()
    {
        finestra = std::make_unique<Trasmis>(test.context());
        finestra->show();
        return *finestra;
    }

    ImageButton *pulsante(const QString &nome) { return control<ImageButton>(finestra.get(), nome); }
    QString esci() { return control<QLabel>(finestra.get(), u"lblEsci"_s)->text(); }

    /** The e-mail prompt confirmed with the address, or cancelled with an empty one. */
    void email(const QString &indirizzo)
    {
        test.dialogRunner.expect(u"frmMailAggInst"_s, [indirizzo](QDialog &prompt) {
            if (indirizzo.isEmpty()) {
                press(&prompt, u"imgAnnulla"_s);
                return;
            }
            control<QLineEdit>(&prompt, u"txtEMail"_s)->setText(indirizzo);
            press(&prompt, u"imgConferma"_s);
        });
    }

    QString copiaEffettuata()
    {
        return u"Copia dei dati effettuata.\r\nCopiato file \r\n"_s + NomeFile +
               u"\r\nnella cartella \r\n"_s + QDir::toNativeSeparators(test.path(u"Trasmissioni"_s));
    }

    /** A record of the file written, as a list of its fields. */
    QByteArray riga(const QByteArray &inizio)
    {
        for (const QByteArray &r : righe()) {
            if (r.startsWith(inizio))
                return r;
        }
        return {};
    }
};

} // namespace

class TestTrasmis : public QObject
{
    Q_OBJECT

private slots:
    void inviaShowsTheApplicationAndOpensTrasmis()
    {
        BancoInvio banco;
        Invia finestra(banco.test.context());
        finestra.show();
        QCOMPARE(finestra.windowTitle(), u"Invio domanda"_s);
        QCOMPARE(control<QLabel>(&finestra, u"lblGrOpePres"_s)->text(), u"A"_s);
        QCOMPARE(control<QLabel>(&finestra, u"lblOpePres"_s)->text(), u"27"_s);
        QCOMPARE(control<QLabel>(&finestra, u"lblDenOpePres"_s)->text(), u"ENTE DI FORMAZIONE SANTA LUCÌA"_s);
        QCOMPARE(control<QLabel>(&finestra, u"lblProposta"_s)->text(), u"812"_s);
        QCOMPARE(control<QLabel>(&finestra, u"Label4"_s)->text(),
                 u"2.  Copia del file di trasmissione della domanda   (opzionale)"_s);
        press(&finestra, u"cmdAiuto"_s);
        QCOMPARE(banco.test.help.topics, QList<int>{9000});
        bool trasmisAperta = false;
        banco.test.dialogRunner.expect(u"Trasmis"_s, [&](QDialog &trasmis) {
            trasmisAperta = trasmis.isVisible();
            QCOMPARE(control<QLabel>(&trasmis, u"lblProposta"_s)->text(), u"812"_s);
            press(&trasmis, u"cmdEsci"_s);
        });
        press(&finestra, u"cmdConf"_s);
        QVERIFY(trasmisAperta);
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(!finestra.isVisible());
    }

    void theButtonsFollowThePrintedFlag_data()
    {
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<QString>("invio");
        QTest::addColumn<QString>("salva");
        QTest::addColumn<QString>("esci");

        QTest::newRow("not printed") << false << u"imgSendD"_s << u"imgSalvaD"_s
                                     << u"Annulla Invio Proposta"_s;
        QTest::newRow("printed") << true << u"imgSend"_s << u"imgSalva"_s << u"Esci"_s;
    }

    void theButtonsFollowThePrintedFlag()
    {
        QFETCH(bool, stampata);
        QFETCH(QString, invio);
        QFETCH(QString, salva);
        QFETCH(QString, esci);

        BancoTrasmis banco;
        if (stampata)
            banco.stampata();
        Trasmis &finestra = banco.apri();
        QCOMPARE(finestra.windowTitle(), u"Stampa Definitivo / Invio Domanda"_s);
        QCOMPARE(finestra.TrasDoma(), stampata);
        QCOMPARE(banco.pulsante(u"cmdSend"_s)->isEnabled(), stampata);
        QCOMPARE(banco.pulsante(u"cmdSalva"_s)->isEnabled(), stampata);
        QCOMPARE(banco.pulsante(u"cmdSend"_s)->shownPicture(), invio);
        QCOMPARE(banco.pulsante(u"cmdSalva"_s)->shownPicture(), salva);
        QCOMPARE(banco.pulsante(u"cmdStampa"_s)->shownPicture(), u"imgStampa"_s);
        QCOMPARE(banco.pulsante(u"cmdEsci"_s)->shownPicture(), u"imgExit"_s);
        QCOMPARE(banco.pulsante(u"cmdAiuto"_s)->shownPicture(), u"imgHelp"_s);
        QCOMPARE(banco.esci(), esci);
    }

    void aFirstDefinitivePrintMarksTheApplication()
    {
        BancoTrasmis banco;
        banco.stampa(true);
        banco.apri();
        press(banco.finestra.get(), u"cmdStampa"_s);
        QCOMPARE(banco.richiestaVista, u"Stampa Definitivo"_s);
        QVERIFY(!banco.eseguitaVista);
        QCOMPARE(banco.flag(), std::make_pair(true, false));
        QVERIFY(banco.test.context().domanda().DomandaStampataCorrente);
        QCOMPARE(banco.pulsante(u"cmdSend"_s)->shownPicture(), u"imgSend"_s);
        QCOMPARE(banco.pulsante(u"cmdSalva"_s)->shownPicture(), u"imgSalva"_s);
        QCOMPARE(banco.esci(), u"Esci"_s);
    }

    void aCancelledPrintMarksNothing()
    {
        BancoTrasmis banco;
        banco.stampa(false);
        banco.apri();
        press(banco.finestra.get(), u"cmdStampa"_s);
        QCOMPARE(banco.stampe, 1);
        QCOMPARE(banco.flag(), std::make_pair(false, false));
        QVERIFY(!banco.test.context().domanda().DomandaStampataCorrente);
        QVERIFY(!banco.pulsante(u"cmdSend"_s)->isEnabled());
        QCOMPARE(banco.esci(), u"Annulla Invio Proposta"_s);
    }

    void aReprintWritesNothing()
    {
        BancoTrasmis banco;
        // Printed as far as the program knows; the row says otherwise, so a write would show.
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.stampa(true);
        banco.apri();
        press(banco.finestra.get(), u"cmdStampa"_s);
        QVERIFY(banco.eseguitaVista);
        QCOMPARE(banco.flag(), std::make_pair(false, false));
        QVERIFY(!banco.pulsante(u"cmdSend"_s)->isEnabled());
    }

    void aRowDeletedDuringThePrintIsReportedAndNothingChanges()
    {
        BancoTrasmis banco;
        banco.stampa(true, [&banco] { banco.db.execute(u"DELETE FROM Domande WHERE NumDoma = 812"_s); });
        banco.apri();
        banco.test.prompt.expect(u"Errore "_s + QString::number(ErrorCode::RowDeletedMeanwhile) + u"\r\n"_s +
                                 RoutineError::standardDescription(ErrorCode::RowDeletedMeanwhile));
        press(banco.finestra.get(), u"cmdStampa"_s);
        QCOMPARE(banco.test.prompt.shown().first().title, u"Errore"_s);
        QVERIFY(!banco.test.context().domanda().DomandaStampataCorrente);
        QVERIFY(!banco.pulsante(u"cmdSend"_s)->isEnabled());
        QCOMPARE(banco.esci(), u"Annulla Invio Proposta"_s);
        QVERIFY(banco.finestra->isVisible());
    }

    void theInternetSendAsksFirst_data()
    {
        QTest::addColumn<bool>("procedi");
        QTest::newRow("Cancel") << false;
        QTest::newRow("OK") << true;
    }

    void theInternetSendAsksFirst()
    {
        QFETCH(bool, procedi);
        BancoTrasmis banco;
        banco.stampata();
        banco.apri();
        banco.test.prompt.expect(AttivazioneInternet, procedi ? Prompt::Answer::Ok : Prompt::Answer::Cancel);
        if (procedi)
            banco.test.dialogRunner.expect(u"frmInet"_s, [](QDialog &inet) { press(&inet, u"Cmd_Esci"_s); });
        press(banco.finestra.get(), u"cmdSend"_s);
        QCOMPARE(banco.test.prompt.shown().first().title, u"Trasmissione dati"_s);
        QCOMPARE(banco.test.prompt.shown().first().buttons, Prompt::Buttons::OkCancel);
        QVERIFY(banco.test.dialogRunner.allRun());
        QVERIFY(banco.finestra->isVisible());
        QVERIFY(banco.server.requests().isEmpty());
    }

    void anUploadFromTheSendWindowLeavesItAsItWas()
    {
        BancoTrasmis banco;
        banco.stampata();
        banco.apri();
        banco.test.prompt.expect(AttivazioneInternet);
        banco.test.prompt.expect(u"Trasmissione alla Regione completata con successo"_s);
        banco.test.dialogRunner.expect(u"frmInet"_s, [](QDialog &inet) { press(&inet, u"Cmd_Send"_s); });
        press(banco.finestra.get(), u"cmdSend"_s);
        QCOMPARE(banco.flag(), std::make_pair(true, true));
        QVERIFY(banco.finestra->isVisible());
        QVERIFY(banco.pulsante(u"cmdSend"_s)->isEnabled());
        QVERIFY(banco.pulsante(u"cmdSalva"_s)->isEnabled());
        QCOMPARE(banco.esci(), u"Esci"_s);
    }

    void aSaveWithoutTheGateWritesAndCopiesTheFile()
    {
        BancoTrasmis banco;
        banco.stampata();
        banco.apri();
        banco.test.prompt.expect(DomandaVersione, Prompt::Answer::No);
        banco.email(u"luisa.bianchi@ente.it"_s);
        banco.test.prompt.expect(banco.copiaEffettuata());
        press(banco.finestra.get(), u"cmdSalva"_s);

        QVERIFY(banco.server.requests().isEmpty());
        QCOMPARE(banco.test.prompt.shown().last().title, u"Copia su floppy disk"_s);
        QVERIFY(banco.fileNellaCartella());
        QCOMPARE(banco.test.readFile(u"Trasmissioni/"_s + BancoTrasmissione::NomeFile),
                 banco.test.readFile(BancoTrasmissione::NomeFile));
        QVERIFY(banco.riga("#A#").contains("#luisa.bianchi@ente.it#"));
        QCOMPARE(banco.flag(), std::make_pair(true, false));
        QVERIFY(banco.pulsante(u"cmdSalva"_s)->isEnabled());
        QVERIFY(banco.finestra->isVisible());
    }

    void aSaveAfterThePassingGateReplacesAnOlderCopy()
    {
        BancoTrasmis banco;
        banco.stampata();
        QVERIFY(QDir(banco.test.folder()).mkdir(u"Trasmissioni"_s));
        banco.test.writeFile(u"Trasmissioni/"_s + BancoTrasmissione::NomeFile,
                             "copia più vecchia e più lunga\r\n");
        banco.apri();
        banco.test.prompt.expect(DomandaVersione, Prompt::Answer::Yes);
        banco.test.prompt.expect(Abilitata);
        banco.email(u"mario.rossi@ente.it"_s);
        banco.test.prompt.expect(banco.copiaEffettuata());
        press(banco.finestra.get(), u"cmdSalva"_s);
        QCOMPARE(banco.richieste(BancoInvio::PercorsoVersione).size(), 1);
        QCOMPARE(banco.test.readFile(u"Trasmissioni/"_s + BancoTrasmissione::NomeFile),
                 banco.test.readFile(BancoTrasmissione::NomeFile));
    }

    void aFailingGate_data()
    {
        QTest::addColumn<bool>("continua");
        QTest::newRow("Yes: the copy is made") << true;
        QTest::newRow("No: the save ends") << false;
    }

    void aFailingGate()
    {
        QFETCH(bool, continua);
        BancoTrasmis banco;
        banco.stampata();
        banco.versione("1.0.0#1.0.0#A#Servizio sospeso#");
        banco.apri();
        banco.test.prompt.expect(DomandaVersione, Prompt::Answer::Yes);
        banco.test.prompt.expect(u"Servizio sospeso"_s);
        banco.test.prompt.expect(NonAbilitata, continua ? Prompt::Answer::Yes : Prompt::Answer::No);
        if (continua) {
            banco.email(u"mario.rossi@ente.it"_s);
            banco.test.prompt.expect(banco.copiaEffettuata());
        }
        press(banco.finestra.get(), u"cmdSalva"_s);
        QCOMPARE(banco.test.prompt.shown().at(2).icon, Prompt::Icon::Critical);
        QCOMPARE(banco.test.prompt.shown().at(2).buttons, Prompt::Buttons::YesNo);
        QCOMPARE(banco.fileNellaCartella(), continua);
        QCOMPARE(QFile::exists(banco.copia()), continua);
        QVERIFY(banco.test.dialogRunner.allRun());
    }

    void aCancelledAddressWritesNothing()
    {
        BancoTrasmis banco;
        banco.stampata();
        banco.apri();
        banco.test.prompt.expect(DomandaVersione, Prompt::Answer::No);
        banco.email(QString());
        banco.test.prompt.expect(u"E' necessario specificare un indirizzo di posta\r\nelettronica per poter "
                                 u"procedere al salvataggio dei dati."_s);
        press(banco.finestra.get(), u"cmdSalva"_s);
        QCOMPARE(banco.test.prompt.shown().last().title, u"Salvataggio dati"_s);
        QVERIFY(banco.fileTrasmissione().isEmpty());
        QVERIFY(!QDir(banco.test.path(u"Trasmissioni"_s)).exists());
    }

    void aCopyThatCannotBeMadeClosesTheWindow()
    {
        BancoTrasmis banco;
        banco.stampata();
        // A file where the folder should be: the folder cannot be made.
        banco.test.writeFile(u"Trasmissioni"_s, "non una cartella");
        banco.apri();
        banco.test.prompt.expect(DomandaVersione, Prompt::Answer::No);
        banco.email(u"mario.rossi@ente.it"_s);
        banco.test.prompt.expect(u"Errore "_s + QString::number(ErrorCode::PathFileAccessError) + u"\r\n"_s +
                                 RoutineError::standardDescription(ErrorCode::PathFileAccessError));
        press(banco.finestra.get(), u"cmdSalva"_s);
        QCOMPARE(banco.test.prompt.shown().last().title, u"Errore"_s);
        QVERIFY(!banco.finestra->isVisible());
        QCOMPARE(banco.finestra->result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestTrasmis)
#include "tst_Trasmis.moc"
