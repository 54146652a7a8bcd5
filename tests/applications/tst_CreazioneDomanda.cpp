#include "FixtureDatabase.h"
#include "TestContext.h"
#include "applications/CreazioneDomanda.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * A database with operator A-12 (every registry column holding its own value), its components 1 and
 * 2, the occasional seat 1000 used by both and 1001 used by component 2; operator A-13 with a
 * component and a use of 1001 that must not leak into A-12's applications.
 */
struct Registro
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    Connection corsiDB;
    QStringList colonneOperatore;

    Registro()
    {
        for (const ColumnInfo &column : db.query(u"SELECT * FROM CorsiOper WHERE 0"_s).columns)
            colonneOperatore << column.name;
        QVariantList riga{u"A"_s, 12};
        for (qsizetype p = 2; p < colonneOperatore.size(); ++p)
            riga << u"v%1"_s.arg(p);
        db.insert(u"CorsiOper"_s, colonneOperatore, {riga});
        db.insert(u"CorsiOper"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Denominazione"_s},
                  {{u"A"_s, 13, u"Altro"_s}});
        db.insert(
            u"CorsiCompo"_s,
            {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"TipoCompo"_s, u"Denominazione"_s,
             u"Indirizzo"_s, u"StatoEstero"_s, u"Email"_s, u"Riferimento"_s},
            {{u"A"_s, 12, 1, u"SL"_s, u"Sede legale"_s, u"Via Roma 1"_s, u""_s, u"sl@ente.it"_s, u"Rossi"_s},
             {u"A"_s, 12, 2, u"SO"_s, u"Sede due"_s, u"Via Po 2"_s, u""_s, u"so@ente.it"_s, u"Bianchi"_s},
             {u"A"_s, 13, 1, u"SL"_s, u"Altra"_s, u"Via Lontana"_s, u""_s, u""_s, u""_s}});
        db.insert(u"CorsiSediOcc"_s, {u"SedeOcc"_s, u"Denominazione"_s, u"Indirizzo"_s, u"TipoCompo"_s},
                  {{1000, u"Aula comunale"_s, u"Piazza 3"_s, u"UO"_s},
                   {1001, u"Palestra"_s, u"Viale 4"_s, u"UO"_s}});
        db.insert(u"CorsiSediOccUtil"_s,
                  {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s, u"Email"_s, u"Riferimento"_s},
                  {{u"A"_s, 12, 1, 1000, u"x@y.it"_s, u"Verdi"_s},
                   {u"A"_s, 12, 2, 1000, u"z@y.it"_s, u"Neri"_s},
                   {u"A"_s, 12, 2, 1001, u""_s, u""_s},
                   {u"A"_s, 13, 1, 1001, u""_s, u""_s}});
        corsiDB.open(db.path(), Connection::Mode::Shared);
    }
    ~Registro()
    {
        if (corsiDB.isOpen())
            corsiDB.close();
    }

    void crea(int numDoma, const QString &grupOpe = u"A"_s, int operatore = 12)
    {
        CreaDomanda(corsiDB, test.prompt, {numDoma, grupOpe, operatore, u"000"_s});
    }

    int domanda(int numDoma)
    {
        return db.scalar(u"SELECT Domanda FROM Domande WHERE NumDoma=?"_s, {numDoma}).toInt();
    }
};

} // namespace

class TestCreazioneDomanda : public QObject
{
    Q_OBJECT

private slots:
    void requestBody_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QByteArray>("corpo");

        QTest::newRow("an ordinary address as it stands")
            << u"mario.rossi-2_x@esempio.it"_s
            << QByteArray("gruppo=A&codice=12&compo=&applicativo=KX58TORVA&email=mario.rossi-2_x@esempio.it");
        QTest::newRow("characters that would break the form")
            << u"a&b=c+d%e#f g@x.it"_s
            << QByteArray(
                   "gruppo=A&codice=12&compo=&applicativo=KX58TORVA&email=a%26b%3Dc%2Bd%25e%23f%20g@x.it");
        QTest::newRow("letters outside ASCII as Windows-1252")
            << u"niccolò@città.it"_s
            << QByteArray("gruppo=A&codice=12&compo=&applicativo=KX58TORVA&email=niccol%F2@citt%E0.it");
    }

    void requestBody()
    {
        QFETCH(QString, email);
        QFETCH(QByteArray, corpo);
        QCOMPARE(corpoRichiestaNumero(u"A"_s, u"12"_s, email), corpo);
    }

    void replyNumber_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<int>("numero");

        QTest::newRow("digits") << u"1001"_s << 1001;
        QTest::newRow("blanks around") << u"   1001  "_s << 1001;
        QTest::newRow("largest") << u"2147483647"_s << 2147483647;
        QTest::newRow("zeros in front") << u"0000000042"_s << 42;
        QTest::newRow("zero") << u"0"_s << 0;
        QTest::newRow("negative") << u"-5"_s << 0;
        QTest::newRow("decimal point") << u"1.5"_s << 0;
        QTest::newRow("decimal comma") << u"1,5"_s << 0;
        QTest::newRow("exponent") << u"1e3"_s << 0;
        QTest::newRow("too many digits") << u"99999999999"_s << 0;
        QTest::newRow("beyond 32 bits") << u"2147483648"_s << 0;
        QTest::newRow("plus sign") << u"+7"_s << 0;
        QTest::newRow("blank inside") << u"10 01"_s << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("error marker") << u"ERRORE: operatore sconosciuto"_s << 0;
        QTest::newRow("html page") << u"<html><body>1001</body></html>"_s << 0;
    }

    void replyNumber()
    {
        QFETCH(QString, risposta);
        QFETCH(int, numero);
        QCOMPARE(numeroDomandaRicevuto(risposta).value_or(0), numero);
    }

    void aReplyWithAnErrorStatusIsNeverANumber_data()
    {
        QTest::addColumn<int>("stato");
        QTest::addColumn<int>("numero");
        QTest::newRow("200") << 200 << 2001;
        QTest::newRow("399") << 399 << 2001;
        QTest::newRow("400") << 400 << 0;
        QTest::newRow("500") << 500 << 0;
        QTest::newRow("503") << 503 << 0;
    }

    void aReplyWithAnErrorStatusIsNeverANumber()
    {
        QFETCH(int, stato);
        QFETCH(int, numero);
        QCOMPARE(numeroDomandaRicevuto(u"2001"_s, stato).value_or(0), numero);
    }

    void createsTheApplicationWithTheOperatorsData()
    {
        Registro registro;
        registro.crea(1001);

        const QueryResult domanda = registro.db.query(u"SELECT * FROM Domande WHERE NumDoma=1001"_s);
        QCOMPARE(domanda.rows.size(), 1);
        const QVariantList &riga = domanda.rows.front();
        QCOMPARE(riga[0].toInt(), 1001);
        QCOMPARE(riga[1].toString(), u"A"_s);
        QCOMPARE(riga[2].toInt(), 12);
        QCOMPARE(riga[3].toString(), u"000"_s);
        QCOMPARE(riga[4].toInt(), 1);
        // Column p + 3 holds the registry's column p, up to the next-to-last one.
        const qsizetype n = registro.colonneOperatore.size();
        for (qsizetype p = 2; p <= n - 2; ++p)
            QCOMPARE(riga[p + 3].toString(), u"v%1"_s.arg(p));
        QCOMPARE(domanda.columns[n + 1].name, u"ContIBAN"_s);
        for (const QString &vuota : {u"DomPrece"_s, u"GGPrece"_s, u"MMPrece"_s, u"AAAAPrece"_s, u"DomPROV"_s,
                                     u"Direttiva"_s, u"AnnoDirettiva"_s})
            QCOMPARE(registro.db.scalar(u"SELECT "_s + vuota + u" FROM Domande"_s), QVariant(QString()));
        QCOMPARE(registro.db.scalar(u"SELECT DomandaStampata + DomandaTrasmessa FROM Domande"_s).toInt(), 0);
    }

    void snapshotsTheOperatorsSeatsOnce()
    {
        Registro registro;
        registro.crea(1001);

        const QueryResult sedi = registro.db.query(
            u"SELECT SedeInteressata, GrupOpe, Operatore, TipoCompo, Denominazione, Indirizzo, Email, "
            u"Riferimento, "
            u"StatoEstero FROM CorsiSediInteressate WHERE NumDoma=1001 ORDER BY SedeInteressata"_s);
        const QList<QVariantList> attese{
            {1, u"A"_s, 12, u"SL"_s, u"Sede legale"_s, u"Via Roma 1"_s, u"sl@ente.it"_s, u"Rossi"_s, u""_s},
            {2, u"A"_s, 12, u"SO"_s, u"Sede due"_s, u"Via Po 2"_s, u"so@ente.it"_s, u"Bianchi"_s, u""_s},
            {1000, u"A"_s, 12, u"UO"_s, u"Aula comunale"_s, u"Piazza 3"_s, u""_s, u""_s, u""_s},
            {1001, u"A"_s, 12, u"UO"_s, u"Palestra"_s, u"Viale 4"_s, u""_s, u""_s, u""_s},
        };
        QCOMPARE(sedi.rows.size(), attese.size());
        for (qsizetype i = 0; i < attese.size(); ++i) {
            for (qsizetype c = 0; c < attese[i].size(); ++c)
                QCOMPARE(sedi.rows[i][c].toString(), attese[i][c].toString());
        }
    }

    void anOperatorWithoutOccasionalSeatsGetsItsComponents()
    {
        Registro registro;
        registro.db.execute(u"DELETE FROM CorsiSediOccUtil WHERE Operatore=12"_s);
        registro.crea(1001);
        QCOMPARE(registro.db
                     .scalar(u"SELECT GROUP_CONCAT(SedeInteressata) FROM (SELECT SedeInteressata FROM "
                             u"CorsiSediInteressate ORDER BY 1)"_s)
                     .toString(),
                 u"1,2"_s);
    }

    void sequenceNumbersPerOperator()
    {
        Registro registro;
        registro.db.insert(u"Domande"_s,
                           {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"PROV"_s, u"Domanda"_s},
                           {{900, u"A"_s, 12, u"037"_s, 1}});
        registro.crea(1001);
        registro.crea(1002);
        registro.crea(1003, u"A"_s, 13);
        QCOMPARE(registro.domanda(1001), 2); // the other province's application counts
        QCOMPARE(registro.domanda(1002), 3);
        QCOMPARE(registro.domanda(1003), 1);

        registro.corsiDB.execute(u"DELETE FROM Domande WHERE NumDoma=1002"_s);
        registro.crea(1004);
        QCOMPARE(registro.domanda(1004), 3);
    }

    void aFailureLeavesNoApplication_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<int>("numDoma");
        QTest::addColumn<int>("operatore");

        QTest::newRow("number already taken") << QString() << 900 << 12;
        QTest::newRow("operator gone from the registry") << QString() << 1001 << 99;
        QTest::newRow("seat snapshot refused") << u"CREATE TRIGGER blocca BEFORE INSERT ON "
                                                  u"CorsiSediInteressate WHEN NEW.SedeInteressata >= 1000 "
                                                  u"BEGIN SELECT RAISE(ABORT, 'sede rifiutata'); END"_s
                                               << 1001 << 12;
    }

    void aFailureLeavesNoApplication()
    {
        QFETCH(QString, guasto);
        QFETCH(int, numDoma);
        QFETCH(int, operatore);

        Registro registro;
        registro.db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"Domanda"_s},
                           {{900, u"A"_s, 12, 1}});
        if (!guasto.isEmpty()) {
            registro.db.execute(guasto);
            const RoutineError rifiuto = errorOf([&registro] {
                registro.corsiDB.execute(
                    u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata) VALUES (900, 1000)"_s);
            });
            QVERIFY(rifiuto.number() != 0);
            // Retry repeats the statement in the same transaction; Cancel gives up.
            const QString box =
                MessaggiCreazione::erroreSediInteressate(rifiuto.number(), rifiuto.description());
            QVERIFY(box.startsWith(u"Errore in CompilaU_SediInteressate "_s));
            registro.test.prompt.expect(box, Prompt::Answer::Retry);
            registro.test.prompt.expect(box, Prompt::Answer::Cancel);
        }

        QVERIFY(errorOf([&] { registro.crea(numDoma, u"A"_s, operatore); }).number() != 0);

        QCOMPARE(registro.db.count(u"Domande"_s), 1);
        QCOMPARE(registro.db.count(u"CorsiSediInteressate"_s), 0);
        QVERIFY(registro.test.prompt.allShown());
        if (!guasto.isEmpty()) {
            const ShownBox shown = registro.test.prompt.shown().front();
            QCOMPARE(shown.buttons, Prompt::Buttons::RetryCancel);
            QCOMPARE(shown.icon, Prompt::Icon::Warning);
            QCOMPARE(shown.title, QString());
        }
    }

    void theCreationsMessagesReadAsTheyAreWritten_data()
    {
        const QString server = u"https://servizi.regione.it"_s;
        const QString percorso = u"nreg/nuovadomanda.php"_s;
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("testo");
        QTest::newRow("F1 no number")
            << MessaggiCreazione::numeroNonRitirato(server)
            << u"Ritiro del numero di registrazione nuova domanda dal server "
               u"https://servizi.regione.it non riuscito.\r\nE' pertanto impossibile "
               u"inserire la domanda."_s;
        QTest::newRow("F2 no e-mail") << MessaggiCreazione::emailNecessaria()
                                      << u"E' necessario specificare un indirizzo e-mail per procedere.\r\n"
                                         u"Specificarlo ora?"_s;
        QTest::newRow("F3 declined") << MessaggiCreazione::impossibileContinuare()
                                     << u"E' impossibile continuare.\r\nTrasmissione interrotta."_s;
        QTest::newRow("F4 transfer")
            << MessaggiCreazione::erroreConnessione(server, percorso)
            << u"Si è verificato un errore in fase di connessione con il server https://servizi.regione.it "
               u"(servizio: nreg/nuovadomanda.php), è probabile che si tratti di un errore temporaneo, "
               u"Riprovare?"_s;
        QTest::newRow("F5 certificate")
            << MessaggiCreazione::certificato(server)
            << u"L'errore che si è verificato potrebbe essere causato dalla mancanza di autorizzazione per "
               u"accedere al server https://servizi.regione.it. Per avere l'autorizzazione è necessario: \r\n"
               u"  - avere installato Microsoft Internet Explorer 4.01 o superiore \r\n"
               u"  - avere installato il certificato di autorizzazione per l'accesso al server "
               u"https://servizi.regione.it.\r\n"
               u"Se è necessario reinstallare il certificato di autorizzazione, riscaricarlo da Internet "
               u"dall'indirizzo: \r\n\r\nhttps://servizi.regione.it/fpl/procedure-sw/certificato.html\r\n\r\n"
               u"Per ulteriori chiarimenti, contattare il servizio di assistenza T.U.Z.Impossibile "
               u"continuare "
               u"con l'esecuzione dell'applicativo, il programma verrà terminato."_s;
        QTest::newRow("F7 other failure")
            << MessaggiCreazione::numeroNonValido(server, percorso)
            << u"Numero registrazione Nuova Domanda non valido, o impossibile da recuperare. Si è verificato "
               u"un errore sul server https://servizi.regione.it in fase di acquisizione del numero di "
               u"registrazione per la nuova proposta (servizio:nreg/nuovadomanda.php). Contattare il "
               u"servizio "
               u"di assistenza TUZ riportando questo messaggio"_s;
    }
    void theCreationsMessagesReadAsTheyAreWritten()
    {
        QFETCH(QString, messaggio);
        QFETCH(QString, testo);
        QCOMPARE(messaggio, testo);
    }

    void certificateAddress()
    {
        QCOMPARE(indirizzoCertificato(u"https://servizi.regione.it"_s),
                 u"https://servizi.regione.it/fpl/procedure-sw/certificato.html"_s);
    }
};

QTEST_GUILESS_MAIN(TestCreazioneDomanda)
#include "tst_CreazioneDomanda.moc"
