#include "TestContext.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "refdata/CorsiApprovati.h"
#include "refdata/ScaricoCorsiApprovati.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

class tst_ScaricoCorsiApprovati : public QObject
{
    Q_OBJECT

private slots:
    void tokenDaRisposta_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<QString>("token");
        QTest::newRow("the service's reply")
            << u"Risposta: OK;4711000000000000042;4711000000001;A123"_s << u"4711000000000000042"_s;
        QTest::newRow("marker in small letters") << u"risposta: ok;123;456"_s << u"123"_s;
        QTest::newRow("other text before the marker")
            << u"Benvenuto; Risposta: OK;999"_s << u"Risposta: OK"_s;
        QTest::newRow("blanks around the token") << u"RISPOSTA: OK;  12 34  ;x"_s << u"12 34"_s;
        QTest::newRow("token is the last piece") << u"RISPOSTA: OK;777"_s << u"777"_s;
        QTest::newRow("no second piece") << u"RISPOSTA: OK"_s << QString();
        QTest::newRow("empty second piece") << u"RISPOSTA: OK;;5"_s << QString();
        QTest::newRow("no marker") << u"Risposta: KO;123"_s << QString();
        QTest::newRow("marker without its blank") << u"RISPOSTA:OK;123"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void tokenDaRisposta()
    {
        QFETCH(QString, risposta);
        QFETCH(QString, token);
        QCOMPARE(kx::tokenDaRisposta(risposta), token);
    }

    void paginaNonRaggiungibile_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<bool>("irraggiungibile");
        QTest::newRow("one wording") << u"Impossibile visualizzare la pagina\nCause"_s << true;
        QTest::newRow("the other wording") << u"Non riesco a visualizzare questa pagina"_s << true;
        QTest::newRow("a login page") << u"Accesso al servizio"_s << false;
    }
    void paginaNonRaggiungibile()
    {
        QFETCH(QString, testo);
        QFETCH(bool, irraggiungibile);
        QCOMPARE(kx::paginaNonRaggiungibile(testo), irraggiungibile);
    }

    void rispostaNonValida_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("nonValida");
        const QString bundle = u"CorsiApprovati.tx1\r\n#1#,#A#\r\nEOF\r\n"_s;
        QTest::newRow("a bundle") << bundle << 200 << false;
        QTest::newRow("a tag inside a record")
            << u"CorsiApprovati.tx1\r\n#1#,#<h1>#\r\nEOF\r\n"_s << 200 << false;
        QTest::newRow("an HTML page") << u"<HTML><BODY>Errore interno</BODY></HTML>"_s << 200 << true;
        QTest::newRow("a tag further down") << bundle + u"<hr>\r\n"_s << 200 << true;
        QTest::newRow("a server error without HTML") << bundle << 500 << true;
        QTest::newRow("not found") << u"x"_s << 404 << true;
    }
    void rispostaNonValida()
    {
        QFETCH(QString, risposta);
        QFETCH(int, status);
        QFETCH(bool, nonValida);
        QCOMPARE(kx::rispostaNonValida(risposta, status), nonValida);
    }

    void erroreDaRisposta()
    {
        QCOMPARE(kx::erroreDaRisposta(u"Attenzione: eRRore grave\r\naltro"_s), u"eRRore grave\r\naltro"_s);
        QCOMPARE(kx::erroreDaRisposta(u"tutto bene"_s), QString());
    }

    void corpoRichiesta()
    {
        QCOMPARE(corpoRichiestaCorsi(u"A"_s, 12, u"4711000000000000042"_s),
                 QByteArray("gruppo=A&codice=12&albis_id=4711000000000000042"));
        // A pasted token cannot add pairs of its own.
        QCOMPARE(corpoRichiestaCorsi(u"B"_s, 7, u"1&gruppo=C"_s),
                 QByteArray("gruppo=B&codice=7&albis_id=1%26gruppo%3DC"));
    }

    void voceOperatore()
    {
        const QString voce = kx::voceOperatore(u"A"_s, 12, u"CENTRO - FORMAZIONE"_s);
        QCOMPARE(voce, u"A - 12 - CENTRO - FORMAZIONE"_s);
        const auto scelto = operatoreDaVoce(voce);
        QVERIFY(scelto);
        QCOMPARE(scelto->grupOpe, u"A"_s);
        QCOMPARE(scelto->operatore, 12);
        QVERIFY(!operatoreDaVoce(u"A - dodici - X"_s));
        QVERIFY(!operatoreDaVoce(QString()));
    }

    void scritturaConSezioneCorsi()
    {
        TestContext test;
        const QString risposta = u"CorsiApprovati.tx1\r\n#1#,#A#,#àè#\r\n#2#,#B#\r\nEOF\r\n"_s;
        const EsitoPacchetto esito =
            scriviCorsiScaricati(test.context().programFolder(), QString(), risposta);
        QVERIFY(esito.riuscito());
        QCOMPARE(test.readFile(NomeFileCorsiApprovati), QByteArray("#1#,#A#,#\xE0\xE8#\r\n#2#,#B#\r\n"));
        QVERIFY(!QFileInfo::exists(test.path(u"$tmpDenOp.tx1"_s)));
    }

    void scritturaSenzaSezioneCorsi()
    {
        TestContext test;
        const QString risposta = u"altro.tx1\r\n#9#\r\nEOF"_s;
        QVERIFY(scriviCorsiScaricati(test.context().programFolder(), QString(), risposta).riuscito());
        QCOMPARE(test.readFile(NomeFileCorsiApprovati), QByteArray("altro.tx1\r\n#9#\r\nEOF\r\n"));
        QCOMPARE(test.readFile(u"altro.tx1"_s), QByteArray("#9#\r\n"));
    }

    void pacchettoRifiutatoNonLasciaNulla()
    {
        TestContext test;
        test.writeFile(NomeFileCorsiApprovati, "#vecchio#\r\n");
        const QString risposta = u"CorsiApprovati.tx1\r\n#1#\r\nEOF\r\n..\\KX58TORVA.INI\r\n#x#\r\n"_s;
        const EsitoPacchetto esito =
            scriviCorsiScaricati(test.context().programFolder(), QString(), risposta);
        QCOMPARE(esito.stato, EsitoPacchetto::Stato::Rifiutato);
        QCOMPARE(QDir(test.folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_ScaricoCorsiApprovati)
#include "tst_ScaricoCorsiApprovati.moc"
