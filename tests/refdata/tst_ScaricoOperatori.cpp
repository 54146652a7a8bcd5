#include "TestContext.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "refdata/ScaricoOperatori.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;
using namespace kx::ScaricoOperatori;

namespace {

EsitoPacchetto scritti(const QStringList &files)
{
    EsitoPacchetto esito;
    esito.files = files;
    return esito;
}

} // namespace

class TestScaricoOperatori : public QObject
{
    Q_OBJECT

private slots:
    void listItem_data()
    {
        QTest::addColumn<QString>("gruppo");
        QTest::addColumn<QString>("operatore");
        QTest::addColumn<QString>("voce");
        QTest::newRow("A 12") << u"A"_s << u"12"_s << u"A      -    12"_s;
        QTest::newRow("five digits") << u"B"_s << u"12345"_s << u"B      - 12345"_s;
        QTest::newRow("empty number") << u"C"_s << QString() << u"C      -      "_s;
        // A clicked item's number field comes back with its blanks and gets more in front.
        QTest::newRow("clicked number") << u"A"_s << u"   12"_s << u"A      -       12"_s;
    }

    void listItem()
    {
        QFETCH(QString, gruppo);
        QFETCH(QString, operatore);
        QFETCH(QString, voce);
        QCOMPARE(voceElenco(gruppo, operatore), voce);
    }

    void clickGivesBackTheInputs()
    {
        QCOMPARE(inputDaVoce(u"A      -    12"_s), (std::pair{u"A"_s, u"   12"_s}));
        QCOMPARE(inputDaVoce(u"B      - 12345"_s), (std::pair{u"B"_s, u"12345"_s}));
    }

    void requestBody_data()
    {
        QTest::addColumn<QStringList>("voci");
        QTest::addColumn<QByteArray>("corpo");
        QTest::newRow("two operators")
            << QStringList{u"A      -    12"_s, u"B      -     7"_s} << QByteArray("g=A&c=12&g=B&c=7");
        QTest::newRow("empty list") << QStringList{} << QByteArray();
        QTest::newRow("empty number") << QStringList{u"C      -      "_s} << QByteArray("g=C&c=");
        // A typed "&" or "=" stays inside its value instead of adding a pair.
        QTest::newRow("form characters")
            << QStringList{u"A      -  1&g=Z"_s} << QByteArray("g=A&c=1%26g%3DZ");
    }

    void requestBody()
    {
        QFETCH(QStringList, voci);
        QFETCH(QByteArray, corpo);
        QCOMPARE(corpoRichiesta(voci), corpo);
    }

    void fourFilesAreCountedInAnyCase_data()
    {
        QTest::addColumn<QString>("risposta");
        QTest::addColumn<bool>("valida");
        const QString quattro = u"oper.tx1\r\ncompo.tx1\r\nsediocc.tx1\r\nsediutil.tx1\r\n"_s;
        QTest::newRow("four") << quattro << true;
        QTest::newRow("three") << u"oper.tx1 compo.tx1 sediocc.tx1"_s << false;
        QTest::newRow("five") << quattro + u"CorsiApprovati.tx1"_s << false;
        QTest::newRow("capitals") << u"OPER.TX1 COMPO.TX1 SEDIOCC.Tx1 SEDIUTIL.tX1"_s << true;
        QTest::newRow("none") << u"<html>errore</html>"_s << false;
    }

    void fourFilesAreCountedInAnyCase()
    {
        QFETCH(QString, risposta);
        QFETCH(bool, valida);
        QCOMPARE(contaFileValida(risposta), valida);
    }

    void completeBundle_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("completo");
        QTest::newRow("four") << QStringList{u"OPER.TX1"_s, u"COMPO.TX1"_s, u"SEDIOCC.TX1"_s,
                                             u"SEDIUTIL.TX1"_s}
                              << false << true;
        QTest::newRow("no seats") << QStringList{u"oper.tx1"_s, u"compo.tx1"_s} << false << true;
        QTest::newRow("no oper") << QStringList{u"compo.tx1"_s, u"sediocc.tx1"_s, u"sediutil.tx1"_s,
                                                u"x.tx1"_s}
                                 << false << false;
        QTest::newRow("no compo") << QStringList{u"oper.tx1"_s, u"sediocc.tx1"_s, u"sediutil.tx1"_s} << false
                                  << false;
        QTest::newRow("seats unpaired")
            << QStringList{u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s, u"x.tx1"_s} << false << false;
        QTest::newRow("refused") << QStringList{} << true << false;
    }

    void completeBundle()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, refused);
        QFETCH(bool, completo);
        EsitoPacchetto esito = scritti(files);
        if (refused)
            esito.stato = EsitoPacchetto::Stato::Rifiutato;
        QCOMPARE(pacchettoCompleto(esito), completo);
    }

    void extractsPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("piece");
        const QString record = u"#A#,#12#,#NOME#"_s;
        QTest::newRow("before the first") << record << 1 << QString();
        QTest::newRow("field 0") << record << 2 << u"A"_s;
        QTest::newRow("between fields") << record << 3 << u","_s;
        QTest::newRow("field 1") << record << 4 << u"12"_s;
        QTest::newRow("last field") << record << 6 << u"NOME"_s;
        QTest::newRow("past the end") << record << 10 << u"NOME"_s;
        QTest::newRow("unclosed end") << u"#A#,#NOM"_s << 10 << u"NO"_s;
        QTest::newRow("empty") << QString() << 2 << QString();
    }

    void extractsPieces()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, piece);
        QCOMPARE(EstraiToken(text, u"#"_s, n), piece);
    }

    void confirmationLine_data()
    {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("riga");
        const QString cf = u"01234560377"_s;
        QTest::newRow("A 12") << u"12"_s << u"CENTRO"_s << u"A12       01234560377   CENTRO"_s;
        QTest::newRow("42 characters")
            << u"12"_s << QString(42, u'N') << u"A12       01234560377   "_s + QString(42, u'N');
        QTest::newRow("43 characters") << u"12"_s << QString(42, u'N') + u"Z"_s
                                       << u"A12       01234560377   "_s + QString(42, u'N') + u"..."_s;
        // A number longer than its column is shown whole and pushes the rest along.
        QTest::newRow("long number") << u"12345678"_s << u"CENTRO"_s << u"A12345678   01234560377   CENTRO"_s;
    }

    void confirmationLine()
    {
        QFETCH(QString, numero);
        QFETCH(QString, nome);
        QFETCH(QString, riga);
        const QString record =
            u"#A#,#"_s + numero + u"#,#"_s + nome + u"#,#01#,#01234560377#,#01234560377#"_s;
        QCOMPARE(rigaConferma(record), riga);
    }

    void deletesEveryTx1InAnyCase()
    {
        TestContext test;
        for (const QString &name : {u"oper.tx1"_s, u"COMPO.TX1"_s, u"CorsiApprovati.tx1"_s, u"Sedi.Tx1"_s,
                                    u"Comuni.txt"_s, u"KX58TORVA.INI"_s, u"oper.tx1.bak"_s})
            test.writeFile(name, "x");
        cancellaFileTx1(test.context().programFolder());
        QDir folder(test.folder());
        QCOMPARE(folder.entryList(QDir::Files, QDir::Name),
                 (QStringList{u"Comuni.txt"_s, u"KX58TORVA.INI"_s, u"oper.tx1.bak"_s}));
    }
};

QTEST_GUILESS_MAIN(TestScaricoOperatori)
#include "tst_ScaricoOperatori.moc"
