#include "FixtureDatabase.h"
#include "TestContext.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/state/AttesaControllo.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"
#include "document/VerifDomanda.h"

#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Titolo = u"Stampa non disponibile"_s;

const QString Regola1 =
    u"Nella Scheda Operatore deve essere inserita la DENOMINAZIONE DELL'OPERATORE . Correggere la "
    u"situazione, e ritentare la stampa."_s;
const QString Regola2 = u"Nella Scheda Operatore deve essere indicato il COMPONENTE RESPONSABILE DELLA "
                        u"CORRISPONDENZA. Correggere la situazione, e ritentare la stampa."_s;
const QString Regola3 = u"Nella Scheda Operatore deve essere inserito il LEGALE RAPPRESENTANTE O PROCURATORE "
                        u"FIRMATARIO DELLA CONVENZIONE. Correggere la situazione, e ritentare la stampa."_s;
const QString Regola4 =
    u"Nella Scheda Operatore deve essere inserito il LUOGO DI NASCITA DEL LEGALE RAPPRESENTANTE "
    u"O PROCURATORE FIRMATARIO DELLA CONVENZIONE. Correggere la situazione, e ritentare la "
    u"stampa."_s;
const QString Regola5 =
    u"Nella Scheda Operatore deve essere inserita una data valida come DATA DI NASCITA DEL "
    u"LEGALE RAPPRESENTANTE O PROCURATORE FIRMATARIO DELLA CONVENZIONE. Correggere la "
    u"situazione, e ritentare la stampa."_s;
const QString Regola6 = u"Nella Scheda Operatore il gruppo di dati CCIAA va lasciato completamente vuoto o "
                        u"compilato per intero. Correggere la situazione, e ritentare la stampa."_s;
const QString Regola7 =
    u"Nella Scheda Operatore la data della eventuale domanda precedente, se indicata, deve "
    u"essere valida. Correggere la situazione, e ritentare la stampa."_s;
const QString Regola8 =
    u"Nella Scheda Operatore, per i dati riguardanti l'eventuale domanda precedente è "
    u"obbligatorio compilare tutti i campi o non compilarne nessuno. Correggere la situazione, "
    u"e ritentare la stampa"_s;
const QString Regola10 = u"Nella Scheda Sede Legale deve essere inserita la DENOMINAZIONE DELLA SEDE LEGALE. "
                         u"Correggere la situazione, e ritentare la stampa."_s;
const QString Regola11 =
    u"Nella Scheda Sede Legale il CAP se specificato deve essere di 5 cifre. Correggere la "
    u"situazione, e ritentare la stampa."_s;
const QString Regola13 = u"Nella Scheda Sede Legale se il CAP è specificato deve esserlo anche il COMUNE di "
                         u"ubicazione della sede. Correggere la situazione, e ritentare la stampa."_s;
const QString Regola15 = u"Nella Sede Legale deve essere indicata la PERSONA DI RIFERIMENTO. Correggere la "
                         u"situazione, e ritentare la stampa."_s;
const QString Regola16 =
    u"Nella Sede Legale deve essere indicato il NUMERO DI TELEFONO. Correggere la situazione, "
    u"e ritentare la stampa."_s;
const QString SenzaChiocciola = u"L'indirizzo e-mail deve contenere il carattere '@'."_s;
const QString SenzaPunto =
    u"L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella "
    u"forma '@.'"_s;
const QString Passata17 =
    u"Nella Scheda Sede Interessata, per le sedi qui elencate, il CAP se specificato deve "
    u"essere di 5 cifre. Correggere la situazione, e ritentare la stampa: \r\n\r\n"_s;
const QString Passata19 =
    u"Nella Scheda Sede Interessata, per le sedi qui elencate, se il CAP è specificato deve "
    u"esserlo anche il COMUNE di ubicazione della sede. Correggere la situazione, e ritentare "
    u"la stampa: \r\n\r\n"_s;
const QString Passata21 =
    u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicata la "
    u"PERSONA DI RIFERIMENTO. Correggere la situazione, e ritentare la stampa: \r\n\r\n"_s;
const QString Passata22 =
    u"Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicato il "
    u"NUMERO DI TELEFONO. Correggere la situazione, e ritentare la stampa: \r\n\r\n"_s;
const QString DomandaIban =
    u"Nella sezione 1.3 della scheda Operatore non è stato indicato il codice IBAN.\r\n"
    u"Il il dato non è obbligatorio ma se si desidera specificarlo deve essere fatto prima "
    u"di effettuare la stampa definitiva.\r\nBloccare la stampa?"_s;
const QString StampaAnnullata =
    u"Stampa annullata per consentire la compilazione del codice IBAN nella sezione 1.3 "
    u"- Dati Operatore."_s;

/** The main window's panel and bar as the check drives them, with the boxes shown and the pointer. */
class AttesaRegistrata final : public AttesaControllo
{
public:
    explicit AttesaRegistrata(const ScriptedPrompt &prompt) : m_prompt(prompt) {}

    QStringList chiamate;

    void limitiPB1(int minimo, int massimo) override { chiamate << u"PB1 %1..%2"_s.arg(minimo).arg(massimo); }
    void valorePB1(int valore) override { chiamate << u"PB1 = %1"_s.arg(valore); }
    void mostraAttesa(bool visibile) override
    {
        chiamate << u"%1 dopo %2 box, %3"_s.arg(visibile ? u"mostra"_s : u"nasconde"_s)
                        .arg(m_prompt.shown().size())
                        .arg(QGuiApplication::overrideCursor() ? u"clessidra"_s : u"freccia"_s);
    }

private:
    const ScriptedPrompt &m_prompt;
};

/** Column values of a row of the fixture: the column's name, then its value. */
using Valori = QList<std::pair<QString, QVariant>>;
/** Column values of seats, by seat code. */
using Sedi = QList<std::pair<int, Valori>>;

/**
 * Application 7 of operator A-12, complete: its operator card with the IBAN, its legal seat 1, the
 * components 2 and 3 and the occasional seat 1001 with three courses; the connection open.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};
    AttesaRegistrata attesa{test.prompt};

    Banco()
    {
        db.insert(u"Domande"_s,
                  {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DenominazioneOp"_s, u"Corrispondenza"_s,
                   u"LegNome"_s, u"LegComNasc"_s, u"LegGGNasc"_s, u"LegMMNasc"_s, u"LegAAAANasc"_s,
                   u"ProvCCIAA"_s, u"CodCCIAA"_s, u"AnnoCCIAA"_s, u"ContIBAN"_s},
                  {{7, u"A"_s, 12, u"Centro Formazione Valdoria"_s, 2, u"Mario Rossi"_s, u"TORINO"_s, u"5"_s,
                    u"6"_s, u"1960"_s, u"TO"_s, u"123456"_s, u"1990"_s, u"IT60X0542811101000000123456"_s}});
        db.insert(u"CorsiCompo"_s, {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"Denominazione"_s},
                  {{u"A"_s, 12, 2, u"COMPONENTE DI RIVOLI"_s}, {u"A"_s, 12, 3, u"COMPONENTE DI PINEROLO"_s}});
        const QStringList colonne{u"NumDoma"_s,   u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s,
                                  u"TipoCompo"_s, u"Denominazione"_s,   u"Cap"_s,     u"CodComune"_s,
                                  u"Email"_s,     u"Riferimento"_s,     u"Tel"_s};
        db.insert(u"CorsiSediInteressate"_s, colonne,
                  {{7, 1, u"A"_s, 12, u"SL"_s, u"SEDE LEGALE VALDORIA"_s, u"10100"_s, u"L219"_s,
                    u"info@valdoria.it"_s, u"Anna Bianchi"_s, u"011 5551234"_s},
                   {7, 2, u"A"_s, 12, u"SO"_s, u"SEDE DI RIVOLI"_s, u"10098"_s, u"H355"_s,
                    u"rivoli@valdoria.it"_s, u"Luca Verdi"_s, u"011 5559876"_s},
                   {7, 3, u"A"_s, 12, u"SO"_s, u"SEDE DI PINEROLO"_s, u"10064"_s, u"G674"_s, QVariant(),
                    u"Sara Neri"_s, u"0121 555111"_s},
                   {7, 1001, u"A"_s, 12, u"UO"_s, u"PALESTRA COMUNALE"_s, QVariant(), QVariant(), QVariant(),
                    u"Piero Gialli"_s, u"011 5550000"_s}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s},
                  {{7, 2, u"0001"_s}, {7, 3, u"0001"_s}, {7, 1001, u"0001"_s}});
        Context &context = test.context();
        context.DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        context.domanda().NumDomaCorrente = 7;
        context.domanda().GrupOpeCorrente = u"A"_s;
        context.domanda().OperatoreCorrente = u"12"_s;
    }
    ~Banco()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    void aggiorna(const QString &tabella, const QString &dove, const Valori &valori)
    {
        for (const auto &[colonna, valore] : valori)
            db.execute(u"UPDATE "_s + tabella + u" SET "_s + colonna + u" = ? WHERE "_s + dove, {valore});
    }
    void scheda(const Valori &valori) { aggiorna(u"Domande"_s, u"NumDoma = 7"_s, valori); }
    void sede(int codice, const Valori &valori)
    {
        aggiorna(u"CorsiSediInteressate"_s, u"NumDoma = 7 AND SedeInteressata = "_s + QString::number(codice),
                 valori);
    }

    bool verifica() { return VerifDomanda(test.context(), attesa); }

    /** The check fails with that box only, or passes with none when the text is empty. */
    void attende(const QString &messaggio)
    {
        if (messaggio.isEmpty()) {
            QVERIFY(verifica());
            QVERIFY(test.prompt.shown().isEmpty());
            return;
        }
        test.prompt.expect(messaggio);
        QVERIFY(!verifica());
        QCOMPARE(test.prompt.shown().size(), 1);
        QCOMPARE(test.prompt.shown().first().title, Titolo);
        QCOMPARE(test.prompt.shown().first().icon, Prompt::Icon::Critical);
        QCOMPARE(test.prompt.shown().first().buttons, Prompt::Buttons::Ok);
    }
};

} // namespace

Q_DECLARE_METATYPE(Valori)

class TestVerifDomanda : public QObject
{
    Q_OBJECT

private slots:
    void theOperatorCard_data()
    {
        QTest::addColumn<Valori>("valori");
        QTest::addColumn<QString>("messaggio");
        const QVariant null;
        QTest::newRow("complete") << Valori{} << QString();
        QTest::newRow("1 no name") << Valori{{u"DenominazioneOp"_s, u""_s}} << Regola1;
        QTest::newRow("1 Null name") << Valori{{u"DenominazioneOp"_s, null}} << Regola1;
        QTest::newRow("1 a name of blanks is filled") << Valori{{u"DenominazioneOp"_s, u"  "_s}} << QString();
        QTest::newRow("1 before 3") << Valori{{u"DenominazioneOp"_s, null}, {u"LegNome"_s, null}} << Regola1;
        QTest::newRow("2 Null") << Valori{{u"Corrispondenza"_s, null}} << Regola2;
        QTest::newRow("2 zero passes") << Valori{{u"Corrispondenza"_s, 0}} << QString();
        QTest::newRow("3 no representative") << Valori{{u"LegNome"_s, u""_s}} << Regola3;
        QTest::newRow("4 no birth place") << Valori{{u"LegComNasc"_s, null}} << Regola4;
        QTest::newRow("5 no birth date passes")
            << Valori{{u"LegGGNasc"_s, null}, {u"LegMMNasc"_s, u""_s}, {u"LegAAAANasc"_s, null}} << QString();
        QTest::newRow("5 31 February")
            << Valori{{u"LegGGNasc"_s, u"31"_s}, {u"LegMMNasc"_s, u"2"_s}} << Regola5;
        QTest::newRow("5 no day") << Valori{{u"LegGGNasc"_s, null}} << Regola5;
        QTest::newRow("5 month 13") << Valori{{u"LegMMNasc"_s, u"13"_s}} << Regola5;
        QTest::newRow("5 two-digit year") << Valori{{u"LegAAAANasc"_s, u"60"_s}} << QString();
        QTest::newRow("5 29 February of a leap year")
            << Valori{{u"LegGGNasc"_s, u"29"_s}, {u"LegMMNasc"_s, u"02"_s}, {u"LegAAAANasc"_s, u"1964"_s}}
            << QString();
        QTest::newRow("6 all empty") << Valori{{u"ProvCCIAA"_s, null},
                                               {u"CodCCIAA"_s, u""_s},
                                               {u"AnnoCCIAA"_s, null}}
                                     << QString();
        QTest::newRow("6 one filled") << Valori{{u"CodCCIAA"_s, null}, {u"AnnoCCIAA"_s, null}} << Regola6;
        QTest::newRow("6 two filled") << Valori{{u"AnnoCCIAA"_s, u""_s}} << Regola6;
        QTest::newRow("6 blanks are filled")
            << Valori{{u"ProvCCIAA"_s, u" "_s}, {u"CodCCIAA"_s, u" "_s}, {u"AnnoCCIAA"_s, u" "_s}}
            << QString();
        QTest::newRow("7 31 February")
            << Valori{{u"GGPrece"_s, u"31"_s}, {u"MMPrece"_s, u"2"_s}, {u"AAAAPrece"_s, u"2019"_s}}
            << Regola7;
        QTest::newRow("8 only the number") << Valori{{u"DomPrece"_s, u"123"_s}} << Regola8;
        QTest::newRow("8 a blank is filled") << Valori{{u"Direttiva"_s, u" "_s}} << Regola8;
        QTest::newRow("8 all seven") << Valori{{u"DomPrece"_s, u"123"_s},      {u"GGPrece"_s, u"1"_s},
                                               {u"MMPrece"_s, u"3"_s},         {u"AAAAPrece"_s, u"2019"_s},
                                               {u"DomPROV"_s, u"TO"_s},        {u"Direttiva"_s, u"D1"_s},
                                               {u"AnnoDirettiva"_s, u"2019"_s}}
                                     << QString();
    }

    void theOperatorCard()
    {
        QFETCH(Valori, valori);
        QFETCH(QString, messaggio);
        Banco banco;
        banco.scheda(valori);
        banco.attende(messaggio);
    }

    void theIbanQuestion_data()
    {
        QTest::addColumn<QString>("richiesta");
        QTest::addColumn<QVariant>("iban");
        QTest::addColumn<bool>("blocca");
        QTest::newRow("draft, Yes stops") << u"Stampa Bozza"_s << QVariant() << true;
        QTest::newRow("draft, No goes on") << u"Stampa Bozza"_s << QVariant(u""_s) << false;
        QTest::newRow("definitive, Yes stops") << u"Stampa Definitivo"_s << QVariant(u""_s) << true;
        QTest::newRow("definitive, No goes on") << u"Stampa Definitivo"_s << QVariant() << false;
    }

    void theIbanQuestion()
    {
        QFETCH(QString, richiesta);
        QFETCH(QVariant, iban);
        QFETCH(bool, blocca);
        Banco banco;
        banco.test.context().stampa().RichiestaStampa = richiesta;
        banco.scheda({{u"ContIBAN"_s, iban}});
        // The legal seat's rules come after the question.
        banco.sede(1, {{u"Tel"_s, QVariant()}});
        banco.test.prompt.expect(DomandaIban, blocca ? Prompt::Answer::Yes : Prompt::Answer::No);
        banco.test.prompt.expect(blocca ? StampaAnnullata : Regola16);
        QVERIFY(!banco.verifica());
        QVERIFY(banco.test.prompt.allShown());
        const ShownBox &domanda = banco.test.prompt.shown().first();
        QCOMPARE(domanda.title, u"Avviso assenza codice IBAN"_s);
        QCOMPARE(domanda.icon, Prompt::Icon::None);
        QCOMPARE(domanda.buttons, Prompt::Buttons::YesNo);
        QCOMPARE(banco.test.prompt.shown().last().title, Titolo);
    }

    void anIbanOfBlanksAsksNothing()
    {
        Banco banco;
        banco.scheda({{u"ContIBAN"_s, u"   "_s}});
        banco.attende(QString());
    }

    void theLegalSeat_data()
    {
        QTest::addColumn<Valori>("valori");
        QTest::addColumn<QString>("messaggio");
        const QVariant null;
        QTest::newRow("10 no name") << Valori{{u"Denominazione"_s, null}} << Regola10;
        QTest::newRow("no CAP skips the municipality")
            << Valori{{u"Cap"_s, u""_s}, {u"CodComune"_s, null}} << QString();
        QTest::newRow("11 four digits") << Valori{{u"Cap"_s, u"1010"_s}} << Regola11;
        QTest::newRow("12 five letters") << Valori{{u"Cap"_s, u"ABCDE"_s}} << Regola11;
        QTest::newRow("12 a blank inside") << Valori{{u"Cap"_s, u"10 00"_s}} << Regola11;
        QTest::newRow("13 no municipality") << Valori{{u"CodComune"_s, u""_s}} << Regola13;
        QTest::newRow("14 no e-mail passes") << Valori{{u"Email"_s, null}} << QString();
        QTest::newRow("14 malformed e-mail")
            << Valori{{u"Email"_s, u"info.valdoria.it"_s}} << SenzaChiocciola;
        QTest::newRow("15 no contact") << Valori{{u"Riferimento"_s, u""_s}} << Regola15;
        QTest::newRow("16 no telephone") << Valori{{u"Tel"_s, null}} << Regola16;
        QTest::newRow("10 before 16") << Valori{{u"Denominazione"_s, u""_s}, {u"Tel"_s, null}} << Regola10;
    }

    void theLegalSeat()
    {
        QFETCH(Valori, valori);
        QFETCH(QString, messaggio);
        Banco banco;
        banco.sede(1, valori);
        banco.attende(messaggio);
    }

    void theSeatsWithCourses_data()
    {
        QTest::addColumn<Sedi>("sedi");
        QTest::addColumn<QString>("messaggio");
        const QVariant null;
        QTest::newRow("17 two seats in row order")
            << Sedi{{3, {{u"Cap"_s, u"100640"_s}}}, {2, {{u"Cap"_s, u"1009"_s}}}}
            << Passata17 + u"- A 12 - 2 - SEDE DI RIVOLI\r\n- A 12 - 3 - SEDE DI PINEROLO\r\n"_s;
        QTest::newRow("18 letters in five characters")
            << Sedi{{3, {{u"Cap"_s, u"1006A"_s}}}}
            << Passata17 + u"- A 12 - 3 - COMPONENTE DI PINEROLO\r\n"_s;
        QTest::newRow("17 before 18") << Sedi{{2, {{u"Cap"_s, u"1009A"_s}}}, {3, {{u"Cap"_s, u"ABC"_s}}}}
                                      << Passata17 + u"- A 12 - 3 - SEDE DI PINEROLO\r\n"_s;
        QTest::newRow("19 no municipality")
            << Sedi{{2, {{u"CodComune"_s, null}}}} << Passata19 + u"- A 12 - 2 - COMPONENTE DI RIVOLI\r\n"_s;
        QTest::newRow("19 no CAP skips the municipality")
            << Sedi{{2, {{u"CodComune"_s, null}, {u"Cap"_s, u""_s}}}} << QString();
        QTest::newRow("20 without a header")
            << Sedi{{2, {{u"Email"_s, u"rivoli@valdoria"_s}}}, {3, {{u"Email"_s, u"pinerolo"_s}}}}
            << u"- Sede Int. A 12 - 2: "_s + SenzaPunto + u"\r\n- Sede Int. A 12 - 3: "_s + SenzaChiocciola +
                   u"\r\n"_s;
        QTest::newRow("21 with the seat code")
            << Sedi{{1001, {{u"Riferimento"_s, null}}}, {3, {{u"Riferimento"_s, u""_s}}}}
            << Passata21 + u"- A 12 - 3 - SEDE DI PINEROLO\r\n- A 12 - 1001 - PALESTRA COMUNALE\r\n"_s;
        QTest::newRow("22 no telephone")
            << Sedi{{2, {{u"Tel"_s, null}}}} << Passata22 + u"- A 12 - 2 - SEDE DI RIVOLI\r\n"_s;
        QTest::newRow("a seat breaking 21 and 22 is listed once")
            << Sedi{{2, {{u"Riferimento"_s, null}, {u"Tel"_s, null}}}, {3, {{u"Tel"_s, u""_s}}}}
            << Passata21 + u"- A 12 - 2 - SEDE DI RIVOLI\r\n"_s;
        QTest::newRow("blanks are filled")
            << Sedi{{2, {{u"Riferimento"_s, u" "_s}, {u"Tel"_s, u" "_s}}}} << QString();
    }

    void theSeatsWithCourses()
    {
        QFETCH(Sedi, sedi);
        QFETCH(QString, messaggio);
        Banco banco;
        for (const auto &[codice, valori] : sedi)
            banco.sede(codice, valori);
        banco.attende(messaggio);
    }

    void aSeatWithoutCoursesIsNotChecked()
    {
        Banco banco;
        banco.db.execute(u"DELETE FROM CorsiProp WHERE SedeInteressata = 2"_s);
        banco.sede(2, {{u"Tel"_s, QVariant()}});
        banco.attende(QString());
    }

    void aPrintedApplicationPassesAtOnce()
    {
        Banco banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.db.execute(u"DELETE FROM Domande"_s);
        QVERIFY(banco.verifica());
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(banco.attesa.chiamate.isEmpty());
    }

    void theProgressDisplay_data()
    {
        QTest::addColumn<bool>("senzaCorsi");
        QTest::addColumn<Valori>("valori");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QStringList>("chiamate");
        QTest::newRow("three courses, passed")
            << false << Valori{} << QString()
            << QStringList{u"PB1 1..8"_s, u"PB1 = 1"_s, u"mostra dopo 0 box, freccia"_s, u"PB1 = 2"_s,
                           u"nasconde dopo 0 box, clessidra"_s};
        QTest::newRow("no course, passed")
            << true << Valori{} << QString()
            << QStringList{u"PB1 1..100"_s, u"PB1 = 1"_s, u"mostra dopo 0 box, freccia"_s, u"PB1 = 2"_s,
                           u"nasconde dopo 0 box, clessidra"_s};
        QTest::newRow("refused on the card")
            << false << Valori{{u"LegNome"_s, QVariant()}} << Regola3
            << QStringList{u"PB1 1..8"_s, u"PB1 = 1"_s, u"mostra dopo 0 box, freccia"_s,
                           u"nasconde dopo 1 box, clessidra"_s};
    }

    void theProgressDisplay()
    {
        QFETCH(bool, senzaCorsi);
        QFETCH(Valori, valori);
        QFETCH(QString, messaggio);
        QFETCH(QStringList, chiamate);
        Banco banco;
        if (senzaCorsi)
            banco.db.execute(u"DELETE FROM CorsiProp"_s);
        banco.scheda(valori);
        banco.attende(messaggio);
        QCOMPARE(banco.attesa.chiamate, chiamate);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void theCourseCountLeavesTheSharedRecordsetClosedAndUnfiltered()
    {
        Banco banco;
        Recordset &rsCorsiProp = banco.test.context().DE().rs(u"CorsiProp"_s);
        rsCorsiProp.setFilter(u"NumDoma=8"_s);
        rsCorsiProp.open();
        QCOMPARE(ContaCorsiProp(banco.test.context().DE(), u"NumDoma=7"_s), 3);
        QVERIFY(!rsCorsiProp.isOpen());
        QVERIFY(rsCorsiProp.filter().isEmpty());

        rsCorsiProp.setFilter(u"NumDoma=8"_s);
        banco.sede(1, {{u"Tel"_s, QVariant()}});
        banco.attende(Regola16);
        QVERIFY(!rsCorsiProp.isOpen());
        QVERIFY(rsCorsiProp.filter().isEmpty());
    }

    void aMissingLegalSeatIsAnUnexpectedError()
    {
        Banco banco;
        banco.db.execute(u"UPDATE CorsiSediInteressate SET TipoCompo = 'SO' WHERE SedeInteressata = 1"_s);
        banco.test.prompt.expect(
            u"Errore 3021\r\nIl valore di BOF o EOF è True oppure il record corrente è stato "
            u"eliminato. L'operazione richiesta richiede un record corrente.\r\n\r\n"
            u"Si è verificato un errore imprevisto,scegliere riprova per ritentare "
            u"l'operazione."_s,
            Prompt::Answer::Cancel);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, banco.verifica());
        QCOMPARE(banco.test.prompt.shown().first().title, u"VerifDomanda"_s);
        QCOMPARE(banco.test.prompt.shown().first().buttons, Prompt::Buttons::RetryCancel);
    }
};

QTEST_MAIN(TestVerifDomanda)
#include "tst_VerifDomanda.moc"
