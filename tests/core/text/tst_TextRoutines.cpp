#include "TestContext.h"
#include "core/services/RoutineError.h"
#include "core/text/EMail.h"
#include "core/text/InputFilters.h"
#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"

#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

using Routine = std::function<QString()>;

/** The result of a routine, or "error N" when it fails. */
QString outcome(const Routine &routine)
{
    try {
        return routine();
    } catch (const RoutineError &error) {
        return u"error "_s + QString::number(error.number());
    }
}

const QVariant Null;

} // namespace

Q_DECLARE_METATYPE(Routine)

class TestTextRoutines : public QObject
{
    Q_OBJECT

private slots:
    void routines_data()
    {
        QTest::addColumn<Routine>("routine");
        QTest::addColumn<QString>("expected");

        QTest::newRow("RiempiSpazi number") << Routine([] { return RiempiSpazi(7, 3); }) << u"  7"_s;
        QTest::newRow("RiempiSpazi text at width")
            << Routine([] { return RiempiSpazi(u"abc"_s, 3); }) << u"abc"_s;
        QTest::newRow("RiempiSpazi longer text")
            << Routine([] { return RiempiSpazi(u"abcd"_s, 3); }) << u"abcd"_s;
        QTest::newRow("RiempiSpazi Null") << Routine([] { return RiempiSpazi(Null, 3); }) << u"error 94"_s;
        QTest::newRow("RiempiSpazi decimal comma, no thousands")
            << Routine([] { return RiempiSpazi(1234.5, 8); }) << u"  1234,5"_s;

        QTest::newRow("Allinea dx") << Routine([] { return Allinea(u"ab"_s, 5, u"dx"_s); }) << u"   ab"_s;
        QTest::newRow("Allinea sx") << Routine([] { return Allinea(u"ab"_s, 5, u"sx"_s); }) << u"ab   "_s;
        QTest::newRow("Allinea other mode")
            << Routine([] { return Allinea(u"ab"_s, 5, u"DX"_s); }) << QString();
        QTest::newRow("Allinea too long")
            << Routine([] { return Allinea(u"abcdef"_s, 5, u"dx"_s); }) << u"error 5"_s;

        QTest::newRow("AllineaDestra counts trimmed")
            << Routine([] { return AllineaDestra(u" 42 "_s, 5); }) << u"    42 "_s;
        QTest::newRow("AllineaDestra too long")
            << Routine([] { return AllineaDestra(u"123456"_s, 5); }) << u"error 5"_s;

        QTest::newRow("RiempiCarattere zeros")
            << Routine([] { return RiempiCarattere(u"12"_s, 4, u"0"_s); }) << u"0012"_s;
        QTest::newRow("RiempiCarattere at width")
            << Routine([] { return RiempiCarattere(u"1234"_s, 4, u"0"_s); }) << u"1234"_s;
        QTest::newRow("RiempiCarattere wide fill stops")
            << Routine([] { return RiempiCarattere(u"1"_s, 4, u"ab"_s); }) << u"abab1"_s;

        QTest::newRow("TroncaTesto same length")
            << Routine([] { return TroncaTesto(u"0123456789"_s, 10); }) << u"0123456789"_s;
        QTest::newRow("TroncaTesto shorter")
            << Routine([] { return TroncaTesto(u"0123456789"_s, 9); }) << u"012345678..."_s;

        QTest::newRow("EliminaACapo")
            << Routine([] { return EliminaACapo(u"a\r\nb\nc\rd"_s); }) << u"a  b c d"_s;
        QTest::newRow("EliminaACapo too long")
            << Routine([] { return EliminaACapo(QString(32768, u'x')); }) << u"error 6"_s;

        QTest::newRow("RaddoppiaApici")
            << Routine([] { return RaddoppiaApici(u"L'Aquila d'Abruzzo"_s); }) << u"L''Aquila d''Abruzzo"_s;
        QTest::newRow("RaddoppiaApici Null") << Routine([] { return RaddoppiaApici(Null); }) << u"error 94"_s;
        QTest::newRow("RaddoppiaApici too long")
            << Routine([] { return RaddoppiaApici(QString(32768, u'x')); }) << u"error 6"_s;

        QTest::newRow("Sostituisci every occurrence")
            << Routine([] { return Sostituisci(u"aaaa"_s, u"aa"_s, u"b"_s); }) << u"bb"_s;
        QTest::newRow("Sostituisci absent")
            << Routine([] { return Sostituisci(u"abc"_s, u"x"_s, u"y"_s); }) << u"abc"_s;
        QTest::newRow("Sostituisci empty search")
            << Routine([] { return Sostituisci(u"abc"_s, QString(), u"y"_s); }) << u"abc"_s;

        QTest::newRow("CampoSeparato trims")
            << Routine([] { return CampoSeparato(u"a ; b ;c"_s, u";"_s, 1); }) << u"b"_s;
        QTest::newRow("CampoSeparato first")
            << Routine([] { return CampoSeparato(u"tok;OK"_s, u";"_s, 0); }) << u"tok"_s;
        QTest::newRow("CampoSeparato empty text")
            << Routine([] { return CampoSeparato(QString(), u";"_s, 7); }) << QString();
        QTest::newRow("CampoSeparato trims blanks only")
            << Routine([] { return CampoSeparato(u"a;\tb \r\n"_s, u";"_s, 1); }) << u"\tb \r\n"_s;
        QTest::newRow("CampoSeparato beyond")
            << Routine([] { return CampoSeparato(u"a;b"_s, u";"_s, 2); }) << u"error 9"_s;

        QTest::newRow("TestoDopoTrattino list item")
            << Routine([] { return TestoDopoTrattino(u"A      -   123"_s); }) << u"123"_s;
        QTest::newRow("TestoDopoTrattino letter")
            << Routine([] { return TestoDopoTrattino(u"A - B"_s); }) << u"B"_s;
        QTest::newRow("TestoDopoTrattino drops the next character")
            << Routine([] { return TestoDopoTrattino(u"A -B"_s); }) << QString();
        QTest::newRow("TestoDopoTrattino no dash")
            << Routine([] { return TestoDopoTrattino(u"abc"_s); }) << u"bc"_s;
        QTest::newRow("TestoDopoTrattino empty")
            << Routine([] { return TestoDopoTrattino(Null); }) << QString();
        QTest::newRow("TestoDopoTrattino dash last")
            << Routine([] { return TestoDopoTrattino(u"abc-"_s); }) << u"error 5"_s;

        QTest::newRow("NonNull Null") << Routine([] { return NonNull(Null); }) << QString();
        QTest::newRow("NonNull text keeps blanks") << Routine([] { return NonNull(u" a "_s); }) << u" a "_s;
        QTest::newRow("NonNull decimal point") << Routine([] { return NonNull(1234.5); }) << u"1234.5"_s;
        QTest::newRow("NonNull yes/no") << Routine([] { return NonNull(true); }) << u"True"_s;
        QTest::newRow("NonNull integer") << Routine([] { return NonNull(qint64(42)); }) << u"42"_s;
    }

    void routines()
    {
        QFETCH(Routine, routine);
        QFETCH(QString, expected);
        QCOMPARE(outcome(routine), expected);
    }

    void contaOccorrenze_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("part");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("textAfter");
        QTest::newRow("capitals") << u"oper.TX1 compo.tx1"_s << u".tx1"_s << 0 << 2
                                  << u"OPER.TX1 COMPO.TX1"_s;
        QTest::newRow("exact") << u"oper.TX1 compo.tx1"_s << u".tx1"_s << 1 << 1 << u"oper.TX1 compo.tx1"_s;
        QTest::newRow("no overlap") << u"aaa"_s << u"aa"_s << 1 << 1 << u"aaa"_s;
        QTest::newRow("empty part") << u"aaa"_s << QString() << 1 << 0 << u"aaa"_s;
    }

    void contaOccorrenze()
    {
        QFETCH(QString, text);
        QFETCH(QString, part);
        QFETCH(int, mode);
        QFETCH(int, count);
        QFETCH(QString, textAfter);
        QCOMPARE(ContaOccorrenze(text, part, mode), count);
        QCOMPARE(text, textAfter);
    }

    void capitals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("capitals");
        QTest::newRow("accented letters") << u"forlì-cesena àèéòù"_s << u"FORLÌ-CESENA ÀÈÉÒÙ"_s;
        QTest::newRow("capital in the code page") << u"ÿœšž"_s << u"ŸŒŠŽ"_s;
        QTest::newRow("capital outside the code page") << u"5µg"_s << u"5µG"_s;
        QTest::newRow("capital of two letters") << u"straße"_s << u"STRAßE"_s;
        QTest::newRow("digits and signs") << u"a1,2€"_s << u"A1,2€"_s;
    }

    /** The key filter and the counting in capitals turn each character the same way. */
    void capitals()
    {
        QFETCH(QString, text);
        QFETCH(QString, capitals);
        QString typed;
        for (const QChar ch : std::as_const(text))
            typed += QChar(char16_t(TastoMaiuscolo(ch.unicode())));
        QCOMPARE(typed, capitals);

        QString counted = text;
        QString part = text.right(1);
        QCOMPARE(ContaOccorrenze(counted, part, 0), int(capitals.count(capitals.right(1))));
        QCOMPARE(counted, capitals);
        QCOMPARE(part, capitals.right(1));
    }

    void nonNullNum_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Null") << Null << u"0"_s;
        QTest::newRow("text") << QVariant(u"12"_s) << u"12"_s;
        QTest::newRow("Italian decimal") << QVariant(u"2,5"_s) << u"2"_s;
        QTest::newRow("half to even up") << QVariant(3.5) << u"4"_s;
        QTest::newRow("number") << QVariant(qint64(-7)) << u"-7"_s;
        QTest::newRow("upper bound") << QVariant(32767) << u"32767"_s;
        QTest::newRow("overflow") << QVariant(32768) << u"error 6"_s;
        QTest::newRow("letters") << QVariant(u"abc"_s) << u"box 0"_s;
        QTest::newRow("empty text") << QVariant(QString()) << u"box 0"_s;
        QTest::newRow("not a number") << QVariant(u"nan"_s) << u"box 0"_s;
        QTest::newRow("infinite") << QVariant(u"inf"_s) << u"box 0"_s;
        QTest::newRow("half to even down") << QVariant(u"-2,5"_s) << u"-2"_s;
        QTest::newRow("lower bound") << QVariant(u"-32.768"_s) << u"-32768"_s;
        QTest::newRow("overflow below") << QVariant(-32768.6) << u"error 6"_s;
    }

    void nonNullNum()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        TestContext test;
        const bool expectsBox = expected.startsWith(u"box"_s);
        if (expectsBox)
            test.prompt.expect(u"ANOMALIA: parametro non numerico"_s);
        const QString result = outcome([&] { return QString::number(NonNull_Num(test.prompt, value)); });
        QCOMPARE(expectsBox ? u"box "_s + result : result, expected);
        QVERIFY(test.prompt.allShown());
        if (expectsBox) {
            QCOMPARE(test.prompt.shown().front().title, u"NonNull_Num (debug)"_s);
            QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Critical);
        }
    }

    void italianNumbers_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("fourth digit typed") << u"1234"_s << 4 << u"1.234"_s << 5;
        QTest::newRow("caret inside stays after its digit") << u"12345"_s << 2 << u"12.345"_s << 2;
        QTest::newRow("caret after third of six") << u"123456"_s << 3 << u"123.456"_s << 3;
        QTest::newRow("caret after fourth of six") << u"123456"_s << 4 << u"123.456"_s << 5;
        QTest::newRow("separator removed before caret") << u"1.2345"_s << 6 << u"12.345"_s << 6;
        QTest::newRow("millions") << u"1234567"_s << 7 << u"1.234.567"_s << 9;
        QTest::newRow("deleting a digit") << u"1.23"_s << 4 << u"123"_s << 3;
        QTest::newRow("caret at start") << u"1234"_s << 0 << u"1.234"_s << 0;
        QTest::newRow("zero typed in front vanishes") << u"01.234"_s << 1 << u"1.234"_s << 0;
        QTest::newRow("caret after a digit past leading zeros") << u"0012"_s << 3 << u"12"_s << 1;
        QTest::newRow("a lone zero stays") << u"0"_s << 1 << u"0"_s << 1;
        QTest::newRow("zeros only") << u"000"_s << 3 << u"0"_s << 1;
        QTest::newRow("blank in front") << u" 1234"_s << 5 << u"1.234"_s << 5;
        QTest::newRow("not a number empties") << u"12a"_s << 3 << QString() << 0;
        QTest::newRow("empty") << QString() << 0 << QString() << 0;
    }

    void italianNumbers()
    {
        QFETCH(QString, typed);
        QFETCH(int, caret);
        QFETCH(QString, shown);
        QFETCH(int, caretAfter);
        const auto formatted = ItalianNumbers::formatWithCaret({typed, caret});
        QCOMPARE(formatted.text, shown);
        QCOMPARE(formatted.caret, caretAfter);
    }

    void readsItalianWhateverTheLocale()
    {
        QCOMPARE(ItalianNumbers::read(u"1.234,5"_s), std::optional<double>(1234.5));
        QCOMPARE(ItalianNumbers::read(u" 12 "_s), std::optional<double>(12));
        QCOMPARE(ItalianNumbers::read(u"abc"_s), std::nullopt);
        QCOMPARE(ItalianNumbers::formatThousands(1234567), u"1.234.567"_s);
    }

    void eMailRules_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("message");
        const QString spazi =
            u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s;
        const QString chiocciola = u"L'indirizzo e-mail deve contenere il carattere '@'."_s;
        const QString punto =
            u"L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non "
            u"nella forma '@.'"_s;
        const QString provider =
            u"Dopo l'ultimo '.' deve essere specificato il provider (es. 'it', 'com', ecc.)"_s;
        const QString userName =
            u"L'indirizzo e-mail deve iniziare con il proprio user-name (es. 'mario.rossi', "
            u"'mrossi', ecc.)"_s;
        QTest::newRow("valid") << u"mario.rossi@esempio.it"_s << QString();
        QTest::newRow("empty") << QString() << chiocciola;
        QTest::newRow("comma") << u"a,b@c.it"_s << u"L'indirizzo e-mail non può contenere virgole."_s;
        QTest::newRow("prompt default fails at blanks") << u"Indirizzo e-mail..."_s << spazi;
        QTest::newRow("leading blank") << u" a@b.it"_s << spazi;
        QTest::newRow("inner blank") << u"a b@c.it"_s << spazi;
        QTest::newRow("tab is not a blank") << u"a\t@b.it"_s << QString();
        QTest::newRow("slash") << u"a/b@c.it"_s
                               << u"L'indirizzo e-mail non può contenere il carattere '/'."_s;
        QTest::newRow("two dots before any at rule")
            << u"a..b"_s << u"L'indirizzo e-mail non può contenere punti consecutivi."_s;
        QTest::newRow("no at") << u"mario.it"_s << chiocciola;
        QTest::newRow("dot right after at") << u"a@.b.it"_s << punto;
        QTest::newRow("no dot after at") << u"a.b@it"_s << punto;
        QTest::newRow("ends with only dot") << u"a@b."_s << provider;
        QTest::newRow("second dot at the end passes") << u"a@b.c."_s << QString();
        QTest::newRow("at first") << u"@b.it"_s << userName;
        QTest::newRow("dot first") << u".a@b.it"_s << userName;
        QTest::newRow("two at") << u"a@b.it@c"_s
                                << u"L'indirizzo e-mail non può contenere più di 1 carattere '@'."_s;
        QTest::newRow("dot beyond 255 checked in full") << (QString(300, u'a') + u"@b.it"_s) << QString();
    }

    void eMailRules()
    {
        QFETCH(QString, address);
        QFETCH(QString, message);
        QCOMPARE(VerificaEMail(address), message);
        if (!address.isEmpty())
            QCOMPARE(EMail::primaRegolaViolata(address, EMail::Vuoto::Segnala), message);
    }

    void emptyAddressInABox()
    {
        QCOMPARE(EMail::primaRegolaViolata(QString(), EMail::Vuoto::Segnala),
                 u"E' indispensabile indicare un indirizzo e-mail."_s);
    }
};

QTEST_GUILESS_MAIN(TestTextRoutines)
#include "tst_TextRoutines.moc"
