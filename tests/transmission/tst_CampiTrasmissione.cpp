#include "TestContext.h"
#include "core/services/RoutineError.h"
#include "transmission/CampiTrasmissione.h"

#include <QTest>
#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

class TestCampiTrasmissione : public QObject
{
    Q_OBJECT

private slots:
    void aLineIsTheFieldsBetweenHashesInWindows1252WithCrLf()
    {
        QCOMPARE(rigaRecord({u"A"_s, u""_s, u"CITTÀ, UNO"_s, u"€"_s}),
                 QByteArray("#A#,##,#CITT\xC0, UNO#,#\x80#\r\n"));
        QCOMPARE(rigaRecord({u"Z"_s, u"EOF"_s}), QByteArray("#Z#,#EOF#\r\n"));
    }

    void onlyAHashIsAFieldTheFormatCannotCarry()
    {
        QVERIFY(contieneCancelletto({u"A"_s, u"SEDE #2"_s}));
        QVERIFY(!contieneCancelletto({u"A"_s, u"VIA ROMA, 1"_s, u""_s}));
    }

    void aControlCharacterOtherThanALineBreakIsAFieldTheFormatCannotCarry_data()
    {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<bool>("rifiutato");
        QTest::newRow("NUL") << QString(u"ROSSI"_s + QChar(0) + u"X"_s) << true;
        QTest::newRow("tab") << u"VIA\tPO"_s << true;
        QTest::newRow("escape") << u"A\x1B"_s << true;
        QTest::newRow("C1 control") << QString(u"A"_s + QChar(0x85)) << true;
        QTest::newRow("CR and LF are left to the line check") << u"UNO\r\nDUE"_s << false;
        QTest::newRow("plain text") << u"CITTÀ, UNO €"_s << false;
    }
    void aControlCharacterOtherThanALineBreakIsAFieldTheFormatCannotCarry()
    {
        QFETCH(QString, campo);
        QFETCH(bool, rifiutato);
        QCOMPARE(contieneControllo({u"A"_s, campo}), rifiutato);
    }

    void aValueWithoutAFiniteNumberIsAnOverflow_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::newRow("infinite") << QVariant(std::numeric_limits<double>::infinity());
        QTest::newRow("minus infinite") << QVariant(-std::numeric_limits<double>::infinity());
        QTest::newRow("NaN") << QVariant(std::numeric_limits<double>::quiet_NaN());
    }
    void aValueWithoutAFiniteNumberIsAnOverflow()
    {
        QFETCH(QVariant, valore);
        QCOMPARE(errorOf([&] { campoImporto(valore); }).number(), ErrorCode::Overflow);
        QCOMPARE(errorOf([&] { campoParametro(valore); }).number(), ErrorCode::Overflow);
        QCOMPARE(errorOf([&] { campoSemplice(valore); }).number(), ErrorCode::Overflow);
    }

    void plainFields_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("campo");
        QTest::newRow("Null") << QVariant() << u""_s;
        QTest::newRow("text as stored") << QVariant(u" Via Po, 2 "_s) << u" Via Po, 2 "_s;
        QTest::newRow("whole number") << QVariant(qlonglong(-27)) << u"-27"_s;
        QTest::newRow("whole REAL") << QVariant(1.0) << u"1"_s;
        QTest::newRow("large whole REAL") << QVariant(1234567890123.0) << u"1234567890123"_s;
        QTest::newRow("fraction with a comma") << QVariant(1.5) << u"1,5"_s;
        QTest::newRow("fraction without grouping") << QVariant(12345.25) << u"12345,25"_s;
    }
    void plainFields()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, campo);
        QCOMPARE(campoSemplice(valore), campo);
    }

    void VirgolaInPuntoTurnsTheFirstCommaBeforeTheLastCharacter_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("risultato");
        QTest::newRow("one comma") << u"12,5"_s << u"12.5"_s;
        QTest::newRow("two commas") << u"1,2,3"_s << u"1.2,3"_s;
        QTest::newRow("comma last") << u"12,"_s << u"12,"_s;
        QTest::newRow("empty") << u""_s << u""_s;
        QTest::newRow("no comma") << u"71"_s << u"71"_s;
        QTest::newRow("comma first") << u",5"_s << u".5"_s;
    }
    void VirgolaInPuntoTurnsTheFirstCommaBeforeTheLastCharacter()
    {
        QFETCH(QString, testo);
        QFETCH(QString, risultato);
        QCOMPARE(VirgolaInPunto(testo), risultato);
    }

    void amountsHaveTwoDecimalsAfterAPoint_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("campo");
        QTest::newRow("1825") << QVariant(1825.0) << u"1825.00"_s;
        QTest::newRow("1825.5") << QVariant(1825.5) << u"1825.50"_s;
        QTest::newRow("0") << QVariant(0.0) << u"0.00"_s;
        QTest::newRow("-5") << QVariant(-5.0) << u"-5.00"_s;
        QTest::newRow("stored whole") << QVariant(qlonglong(1825)) << u"1825.00"_s;
        QTest::newRow("rounded to the hundredth") << QVariant(10.126) << u"10.13"_s;
        QTest::newRow("no grouping") << QVariant(1234567.0) << u"1234567.00"_s;
    }
    void amountsHaveTwoDecimalsAfterAPoint()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, campo);
        QCOMPARE(campoImporto(valore), campo);
    }

    void parametersHaveUpTo15DigitsAndAPoint_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("campo");
        QTest::newRow("36.5") << QVariant(36.5) << u"36.5"_s;
        QTest::newRow("83") << QVariant(83.0) << u"83"_s;
        QTest::newRow("12.5") << QVariant(12.5) << u"12.5"_s;
        QTest::newRow("stored whole") << QVariant(qlonglong(71)) << u"71"_s;
        QTest::newRow("15 significant digits") << QVariant(1.0 / 3.0) << u"0.333333333333333"_s;
    }
    void parametersHaveUpTo15DigitsAndAPoint()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, campo);
        QCOMPARE(campoParametro(valore), campo);
    }

    void aNullAmountOrParameterIsError94()
    {
        QCOMPARE(errorOf([] { campoImporto(QVariant()); }).number(), ErrorCode::InvalidUseOfNull);
        QCOMPARE(errorOf([] { campoParametro(QVariant()); }).number(), ErrorCode::InvalidUseOfNull);
    }

    void theBirthDateIsDayMonthYear_data()
    {
        QTest::addColumn<QVariant>("giorno");
        QTest::addColumn<QVariant>("mese");
        QTest::addColumn<QVariant>("anno");
        QTest::addColumn<QString>("campo");
        QTest::newRow("whole date") << QVariant(u"05"_s) << QVariant(u"11"_s) << QVariant(u"1970"_s)
                                    << u"05-11-1970"_s;
        QTest::newRow("all Null") << QVariant() << QVariant() << QVariant() << u""_s;
        QTest::newRow("all empty") << QVariant(u""_s) << QVariant(u""_s) << QVariant(u""_s) << u""_s;
        QTest::newRow("no day") << QVariant() << QVariant(u"11"_s) << QVariant(u"1970"_s) << u"-11-1970"_s;
        QTest::newRow("year only") << QVariant() << QVariant() << QVariant(u"1970"_s) << u"--1970"_s;
    }
    void theBirthDateIsDayMonthYear()
    {
        QFETCH(QVariant, giorno);
        QFETCH(QVariant, mese);
        QFETCH(QVariant, anno);
        QFETCH(QString, campo);
        QCOMPARE(campoDataNascita(giorno, mese, anno), campo);
    }

    void theKeyIsTheNumberPlusOneMillionWithin32Bits()
    {
        QCOMPARE(ChiaveDomanda(812), u"1000812"_s);
        QCOMPARE(ChiaveDomanda(2146483647), u"2147483647"_s);
        QCOMPARE(errorOf([] { ChiaveDomanda(2146483648); }).number(), ErrorCode::Overflow);
    }

    void theDateHasNoSeparators() { QCOMPARE(testoDataTrasm(QDate(2021, 8, 2)), u"20210802"_s); }

    void wholeNumberConversions_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<int>("errore");
        QTest::addColumn<int>("numero");
        QTest::newRow("whole") << QVariant(qlonglong(1)) << 0 << 1;
        QTest::newRow("digits as text") << QVariant(u"12"_s) << 0 << 12;
        QTest::newRow("half to even") << QVariant(2.5) << 0 << 2;
        QTest::newRow("Null") << QVariant() << int(ErrorCode::InvalidUseOfNull) << 0;
        QTest::newRow("not a number") << QVariant(u"uno"_s) << int(ErrorCode::TypeMismatch) << 0;
        QTest::newRow("beyond 16 bits") << QVariant(qlonglong(32768)) << int(ErrorCode::Overflow) << 0;
    }
    void wholeNumberConversions()
    {
        QFETCH(QVariant, valore);
        QFETCH(int, errore);
        QFETCH(int, numero);
        QCOMPARE(errorOf([&] { intero16(valore); }).number(), errore);
        if (errore == 0)
            QCOMPARE(intero16(valore), numero);
    }

    void aReferenceIsTheApprovedCourseKeyOrTheFreeTextWithoutLineBreaks_data()
    {
        QTest::addColumn<QVariant>("idAttivita");
        QTest::addColumn<QVariant>("libero");
        QTest::addColumn<QString>("riferimento");
        QTest::addColumn<QString>("identificativo");
        QTest::newRow("neither") << QVariant() << QVariant() << u""_s << u""_s;
        QTest::newRow("free text of two lines")
            << QVariant() << QVariant(u"UNO\r\nDUE"_s) << u"UNO  DUE"_s << u""_s;
        QTest::newRow("approved course over the free text")
            << QVariant(qlonglong(5001)) << QVariant(u"IGNORATO"_s) << u"CHIAVE 5001"_s << u"5001"_s;
        QTest::newRow("approved course whose name has a line break")
            << QVariant(qlonglong(7)) << QVariant() << u"CHIAVE  7"_s << u"7"_s;
    }
    void aReferenceIsTheApprovedCourseKeyOrTheFreeTextWithoutLineBreaks()
    {
        QFETCH(QVariant, idAttivita);
        QFETCH(QVariant, libero);
        QFETCH(QString, riferimento);
        QFETCH(QString, identificativo);
        const auto chiave = [](qint32 id) {
            return id == 7 ? u"CHIAVE\r\n7"_s : u"CHIAVE "_s + QString::number(id);
        };
        const RiferimentoCorso r = riferimentoCorso(idAttivita, libero, chiave);
        QCOMPARE(r.riferimento, riferimento);
        QCOMPARE(r.identificativo, identificativo);
    }
};

QTEST_GUILESS_MAIN(TestCampiTrasmissione)
#include "tst_CampiTrasmissione.moc"
