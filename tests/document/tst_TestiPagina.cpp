#include "core/services/RoutineError.h"
#include "document/TestiPagina.h"

#include <QLocale>
#include <QTest>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

/** The error number a call throws, 0 when it throws none. */
template<typename Step> int numeroErrore(Step &&step)
{
    try {
        step();
    } catch (const RoutineError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

class TestTestiPagina : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The forms must not follow the system: an English locale would write "1,234.5".
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void theFieldToTextRule_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("testo");
        QTest::newRow("Null") << QVariant() << QString();
        QTest::newRow("a text keeps its blanks") << QVariant(u"  Roma "_s) << u"  Roma "_s;
        QTest::newRow("the empty text") << QVariant(QString()) << QString();
        QTest::newRow("a whole number gets its sign place") << QVariant(7) << u" 7"_s;
        QTest::newRow("zero") << QVariant(0) << u" 0"_s;
        QTest::newRow("a negative number") << QVariant(-3) << u"-3"_s;
        QTest::newRow("a fraction with a point") << QVariant(2.5) << u" 2.5"_s;
        QTest::newRow("a negative fraction") << QVariant(-0.25) << u"-0.25"_s;
        QTest::newRow("a large amount without grouping") << QVariant(1234567.5) << u" 1234567.5"_s;
    }
    void theFieldToTextRule()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, testo);
        QCOMPARE(TestoDaCampo(valore), testo);
    }

    void theDirectForm_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("testo");
        QTest::newRow("a fraction with a comma") << QVariant(1234.5) << u"1234,5"_s;
        QTest::newRow("a whole amount stored as a fraction") << QVariant(52560.0) << u"52560"_s;
        QTest::newRow("a whole number") << QVariant(200) << u"200"_s;
        QTest::newRow("a text as it stands") << QVariant(u"0001"_s) << u"0001"_s;
        QTest::newRow("a negative number") << QVariant(-12.75) << u"-12,75"_s;
    }
    void theDirectForm()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, testo);
        QCOMPARE(testoDiretto(valore), testo);
    }

    void theDirectFormOfNullIsInvalidUseOfNull()
    {
        QCOMPARE(numeroErrore([] { testoDiretto(QVariant()); }), ErrorCode::InvalidUseOfNull);
    }

    void theAmountForm_data()
    {
        QTest::addColumn<double>("valore");
        QTest::addColumn<QString>("testo");
        QTest::newRow("millions") << 1234567.5 << u"1.234.567,50"_s;
        QTest::newRow("zero") << 0.0 << u"0,00"_s;
        QTest::newRow("below one") << 0.5 << u"0,50"_s;
        QTest::newRow("thousands") << 52560.0 << u"52.560,00"_s;
    }
    void theAmountForm()
    {
        QFETCH(double, valore);
        QFETCH(QString, testo);
        QCOMPARE(testoImporto(valore), testo);
    }

    void theTaxCodeRule_data()
    {
        QTest::addColumn<QVariant>("codFisc");
        QTest::addColumn<QVariant>("pIva");
        QTest::addColumn<QString>("etichetta");
        QTest::addColumn<QString>("valore");
        const QVariant cf(u"RSSMRA60C05H501U"_s);
        const QVariant iva(u"01234567890"_s);
        QTest::newRow("tax code only") << cf << QVariant() << u"CODICE FISCALE"_s << cf.toString();
        QTest::newRow("both: the VAT number wins") << cf << iva << u"PARTITA IVA"_s << iva.toString();
        QTest::newRow("VAT number only") << QVariant(QString()) << iva << u"PARTITA IVA"_s << iva.toString();
        QTest::newRow("neither") << QVariant() << QVariant(QString()) << u"CODICE FISCALE/P.IVA"_s
                                 << QString();
        QTest::newRow("blanks count as present")
            << QVariant(u"  "_s) << QVariant() << u"CODICE FISCALE"_s << u"  "_s;
    }
    void theTaxCodeRule()
    {
        QFETCH(QVariant, codFisc);
        QFETCH(QVariant, pIva);
        QFETCH(QString, etichetta);
        QFETCH(QString, valore);
        const IdentificativoFiscale scelto = identificativoFiscale(codFisc, pIva);
        QCOMPARE(scelto.etichetta, etichetta);
        QCOMPARE(scelto.valore, valore);
    }

    void theBirthDate_data()
    {
        QTest::addColumn<QVariant>("giorno");
        QTest::addColumn<QVariant>("mese");
        QTest::addColumn<QVariant>("anno");
        QTest::addColumn<QString>("testo");
        QTest::newRow("as stored") << QVariant(u"05"_s) << QVariant(u"03"_s) << QVariant(u"1960"_s)
                                   << u"05/03/1960"_s;
        QTest::newRow("no zeros added")
            << QVariant(u"5"_s) << QVariant(u"3"_s) << QVariant(u"1960"_s) << u"5/3/1960"_s;
        QTest::newRow("the year alone")
            << QVariant() << QVariant(QString()) << QVariant(u"1960"_s) << u"//1960"_s;
        QTest::newRow("nothing") << QVariant() << QVariant() << QVariant(QString()) << QString();
    }
    void theBirthDate()
    {
        QFETCH(QVariant, giorno);
        QFETCH(QVariant, mese);
        QFETCH(QVariant, anno);
        QFETCH(QString, testo);
        QCOMPARE(dataNascita(giorno, mese, anno), testo);
    }

    void theClassification_data()
    {
        QTest::addColumn<QVariant>("asse");
        QTest::addColumn<QVariant>("misura");
        QTest::addColumn<QVariant>("azione");
        QTest::addColumn<QString>("testo");
        const QVariant a(u"III"_s), m(u"G"_s), z(u"06.01"_s), n;
        QTest::newRow("all three") << a << m << z << u"III ,  G ,  06.01"_s;
        QTest::newRow("no measure") << a << n << z << u"III ,  06.01"_s;
        QTest::newRow("no axis") << n << m << z << u"G ,  06.01"_s;
        QTest::newRow("no action: the separator stays") << a << m << n << u"III ,  G ,  "_s;
        QTest::newRow("the action alone") << n << n << z << u"06.01"_s;
    }
    void theClassification()
    {
        QFETCH(QVariant, asse);
        QFETCH(QVariant, misura);
        QFETCH(QVariant, azione);
        QFETCH(QString, testo);
        QCOMPARE(classificazioneCorso(asse, misura, azione), testo);
    }

    void noClassificationIsInvalidUseOfNull()
    {
        QCOMPARE(numeroErrore([] { classificazioneCorso(QVariant(), QVariant(), QVariant()); }),
                 ErrorCode::InvalidUseOfNull);
    }

    void thePupilsOfTheCourse_data()
    {
        QTest::addColumn<QVariant>("allieviSpesa");
        QTest::addColumn<QVariant>("numAll");
        QTest::addColumn<QString>("allievi");
        QTest::addColumn<QString>("tipologia");
        QTest::newRow("the estimate's pupils")
            << QVariant(15) << QVariant(12) << u"15"_s << u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
        QTest::newRow("none in the estimate")
            << QVariant(0) << QVariant(12) << u"(12)"_s << u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
        QTest::newRow("a negative estimate")
            << QVariant(-1) << QVariant(12) << u"(12)"_s << u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
        QTest::newRow("one pupil") << QVariant() << QVariant(1) << u"(1)"_s << u"ATTIVITA' INDIVIDUALI"_s;
        QTest::newRow("no pupils at all")
            << QVariant() << QVariant() << u"()"_s << u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
    }
    void thePupilsOfTheCourse()
    {
        QFETCH(QVariant, allieviSpesa);
        QFETCH(QVariant, numAll);
        QFETCH(QString, allievi);
        QFETCH(QString, tipologia);
        QCOMPARE(allieviPreventivo(allieviSpesa, numAll), allievi);
        QCOMPARE(tipologiaCorso(numAll), tipologia);
    }
};

QTEST_GUILESS_MAIN(TestTestiPagina)
#include "tst_TestiPagina.moc"
