#include "BancoDocumento.h"
#include "core/data/Recordset.h"
#include "document/ComposizioneDocumento.h"
#include "document/OperazioniPagina.h"
#include "document/PageContent.h"
#include "document/PageTemplate.h"
#include "document/RtfReader.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <map>
#include <memory>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

enum class Pagina
{
    Riepilogo,
    Seconda,
    Operatore,
    Sede,
    Corso
};

const QStringList Intestazione{u"NumDoma"_s, u"Data"_s, u"ver"_s, u"TIPOSTAMPA"_s};

QStringList segnapostiPropri(Pagina pagina)
{
    switch (pagina) {
    case Pagina::Riepilogo:
        return {u"n3"_s, u"n4"_s, u"n5"_s};
    case Pagina::Seconda:
        return {};
    case Pagina::Operatore: {
        QStringList nomi{u"n1"_s, u"CodFisc_Literal"_s, u"CodFisc"_s};
        for (int n = 3; n <= 31; ++n)
            if (n != 10)
                nomi.append(u'n' + QString::number(n));
        return nomi;
    }
    case Pagina::Sede:
        return {u"n1"_s, u"ck1"_s, u"ck2"_s, u"ck3"_s, u"n2"_s, u"n3"_s,  u"n4"_s,
                u"n5"_s, u"n6"_s,  u"n7"_s,  u"n8"_s,  u"n9"_s, u"n10"_s, u"n11"_s};
    case Pagina::Corso:
        return {u"n1"_s,  u"n2"_s,  u"n3"_s,  u"cicloFin"_s, u"n6"_s,  u"n4"_s,  u"n9"_s,  u"n21"_s, u"n18"_s,
                u"n20"_s, u"n24"_s, u"n25"_s, u"n26"_s,      u"n27"_s, u"n28"_s, u"n29"_s, u"n30"_s};
    }
    return {};
}

QString modello(Pagina pagina)
{
    const QString modelli[] = {ModelliPagina::Riepilogo, ModelliPagina::SecondaPagina,
                               ModelliPagina::Operatore, ModelliPagina::Sede, ModelliPagina::Corso};
    return modelli[int(pagina)];
}

/**
 * A probe in place of the page's template: each placeholder on a line of its own as "[name:<name>]",
 * in the template's own Courier New 12, so that each value and its format can be read back.
 */
QByteArray sonda(Pagina pagina)
{
    QString corpo;
    for (const QString &nome : Intestazione + segnapostiPropri(pagina))
        corpo += u"<p>["_s + nome + u":&lt;"_s + nome + u"&gt;]</p>"_s;
    return (u"<html><head><meta charset=\"utf-8\"></head><body style=\"font-family:'Courier New'; "
            u"font-size:12pt\"><p>testata</p>"_s +
            SeparatoreParti + u"<p><a name=\"segno1\">uno</a> <a name=\"segno2\">due</a></p>"_s + corpo +
            SeparatoreParti + u"<p></p></body></html>"_s)
        .toUtf8();
}

/** What a page shows in place of a placeholder, and how. */
struct Riempimento
{
    QString valore;
    QString famiglia;
    double punti = 0;
    bool grassetto = false;
};

/** One page built from its probe on the fixture, after the given changes to the data. */
struct PaginaCostruita
{
    explicit PaginaCostruita(Pagina pagina, const QStringList &modifiche = {},
                             const QStringList &messaggi = {})
    {
        for (const QString &sql : modifiche)
            banco.db.execute(sql);
        for (const QString &messaggio : messaggi)
            banco.test.prompt.expect(messaggio);
        banco.test.writeFile(modello(pagina), sonda(pagina));
        Context &context = banco.test.context();
        ComposizioneDocumento run(context);
        run.WordApp().start();
        run.ContatorePagine = 4;
        Recordset &domande = context.DE().rs(u"QryDomande"_s);
        Recordset &sedi = context.DE().rs(u"QrySediIntCorsi"_s);
        Recordset &corsi = context.DE().rs(u"QryCorsi"_s);
        switch (pagina) {
        case Pagina::Riepilogo:
            run.CreaPaginaRiepilogo();
            break;
        case Pagina::Seconda:
            run.CreaSecondaPagina();
            break;
        case Pagina::Operatore:
            suRiga(
                domande, u"NumDoma=204"_s, [&] { run.CreaPaginaOperatore(); }, u"NumDoma"_s, u"204"_s);
            break;
        case Pagina::Sede:
            suRiga(
                sedi, u"NumDoma=204 AND SedeInteressata=1"_s, [&] { run.CreaPaginaSede(sedi); },
                u"SedeInteressata"_s, u"1"_s);
            break;
        case Pagina::Corso:
            suRiga(
                corsi, u"NumDoma=204 AND SedeInteressata=1 AND Corso='0001'"_s,
                [&] { run.CreaPaginaCorso(corsi); }, u"Corso"_s, u"0001"_s);
            break;
        }
        QVERIFY(banco.test.prompt.allShown());
        QFile file(banco.test.path(u"Pagina4.tmp"_s));
        salvata = file.open(QIODevice::ReadOnly);
        if (salvata)
            QVERIFY(leggiRtf(file.readAll(), contenuto));
    }

    /** Builds the page on the one row of the view that the filter leaves; the page must not move it. */
    static void suRiga(Recordset &vista, const QString &filtro, const std::function<void()> &costruisci,
                       const QString &colonna, const QString &atteso)
    {
        vista.open();
        vista.setFilter(filtro);
        costruisci();
        QVERIFY(vista.isOpen());
        QCOMPARE(vista.value(colonna).toString(), atteso);
        vista.close();
    }

    /** The value in place of the placeholder and the format of its first character. */
    Riempimento riempimento(const QString &nome) const
    {
        QTextDocument &body = *contenuto.body;
        const QString inizio = u'[' + nome + u':';
        const QTextCursor trovato = body.find(inizio);
        if (trovato.isNull())
            return {u"(manca)"_s, QString(), 0, false};
        const QTextCursor fine = body.find(u"]"_s, trovato.selectionEnd());
        QTextCursor valore(&body);
        valore.setPosition(trovato.selectionEnd());
        valore.setPosition(fine.selectionStart(), QTextCursor::KeepAnchor);
        QTextCursor primo(&body);
        primo.setPosition(trovato.selectionEnd() + 1);
        const QTextCharFormat formato = primo.charFormat();
        return {valore.selectedText(), formato.fontFamilies().toStringList().value(0),
                formato.fontPointSize(), formato.fontWeight() >= QFont::Bold};
    }
    QString valore(const QString &nome) const { return riempimento(nome).valore; }

    BancoDocumento banco;
    PageContent contenuto;
    bool salvata = false;
};

QString erroreStampa(int numero)
{
    return QString::number(numero) + u"\r\n"_s + RoutineError::standardDescription(numero);
}

const QString Modello = u"Courier New"_s;
const QString Arial = u"Liberation Sans"_s;
const QString Times = u"Liberation Serif"_s;

} // namespace

class TestPagineDocumento : public QObject
{
    Q_OBJECT

    /** The pages built on the unchanged fixture, each once for every row that reads it. */
    std::map<Pagina, std::unique_ptr<PaginaCostruita>> m_pagine;
    const PaginaCostruita &costruitaUnaVolta(Pagina pagina)
    {
        auto &costruita = m_pagine[pagina];
        if (!costruita)
            costruita = std::make_unique<PaginaCostruita>(pagina);
        return *costruita;
    }

private slots:
    void cleanupTestCase() { m_pagine.clear(); }

    void theProgramsTemplatesHoldEachOfTheirPlaceholdersOnce_data()
    {
        QTest::addColumn<Pagina>("pagina");
        QTest::addColumn<QStringList>("testiFissi");
        QTest::newRow("summary") << Pagina::Riepilogo << QStringList{u"Riepilogo"_s};
        QTest::newRow("second") << Pagina::Seconda << QStringList{u"DICHIARA"_s};
        QTest::newRow("operator, its bank block numbered 1.3")
            << Pagina::Operatore << QStringList{u"1.3 Coordinate bancarie"_s, u"1.4 Sede legale"_s};
        QTest::newRow("seat, its boxes labelled")
            << Pagina::Sede
            << QStringList{u"<ck1> Sede legale"_s, u"<ck2> Unità locale"_s, u"<ck3> Sede occasionale"_s};
        QTest::newRow("course") << Pagina::Corso << QStringList{u"Preventivo di spesa"_s};
    }
    void theProgramsTemplatesHoldEachOfTheirPlaceholdersOnce()
    {
        QFETCH(Pagina, pagina);
        QFETCH(QStringList, testiFissi);
        PageContent contenuto;
        caricaModello(cartellaModelli() + u'/' + modello(pagina), contenuto);
        QCOMPARE(contenuto.setup.paperWidth, PageSetup().paperWidth);
        QCOMPARE(contenuto.setup.paperHeight, PageSetup().paperHeight);
        static const QRegularExpression segnaposto(u"<([^<>\\s]+)>"_s);
        QStringList trovati;
        const QString testo = contenuto.body->toPlainText();
        for (auto it = segnaposto.globalMatch(testo); it.hasNext();)
            trovati.append(it.next().captured(1));
        QStringList attesi = Intestazione + segnapostiPropri(pagina);
        trovati.sort();
        attesi.sort();
        QCOMPARE(trovati, attesi);
        for (const QString &fisso : testiFissi)
            QVERIFY2(testo.simplified().contains(fisso), qPrintable(fisso));
        QVERIFY(!contenuto.header->toPlainText().contains(u'<'));
        QVERIFY(contenuto.footer->toPlainText().isEmpty());
    }

    void eachPlaceholderGetsItsValueFontSizeAndBold_data()
    {
        QTest::addColumn<Pagina>("pagina");
        QTest::addColumn<QString>("segnaposto");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("famiglia");
        QTest::addColumn<double>("punti");
        QTest::addColumn<bool>("grassetto");

        const auto riga = [](const char *nome, Pagina pagina, const QString &segnaposto,
                             const QString &valore, const QString &famiglia = Modello, double punti = 12,
                             bool grassetto = false) {
            QTest::newRow(nome) << pagina << segnaposto << valore << famiglia << punti << grassetto;
        };
        riga("heading: application, bold Arial 10", Pagina::Seconda, u"NumDoma"_s, u"204"_s, Arial, 10, true);
        riga("heading: date", Pagina::Seconda, u"Data"_s, u"15/03/2021"_s, Arial, 10);
        riga("heading: version in Times", Pagina::Seconda, u"ver"_s, u"(ver. 1.0.5)"_s, Times, 10);
        riga("heading: print type, bold", Pagina::Seconda, u"TIPOSTAMPA"_s, u"BOZZA"_s, Arial, 10, true);

        riga("summary: seats with courses", Pagina::Riepilogo, u"n3"_s, u"2"_s);
        riga("summary: courses", Pagina::Riepilogo, u"n4"_s, u"3"_s);
        riga("summary: total", Pagina::Riepilogo, u"n5"_s, u"1.234.567,50"_s);

        riga("operator: group and code", Pagina::Operatore, u"n1"_s, u"B   17"_s);
        riga("operator: label in arial 10", Pagina::Operatore, u"CodFisc_Literal"_s, u"PARTITA IVA"_s, Arial,
             10);
        riga("operator: identifier in arial 10", Pagina::Operatore, u"CodFisc"_s, u"01234567890"_s, Arial,
             10);
        riga("operator: correspondence, a number", Pagina::Operatore, u"n3"_s, u" 2"_s);
        riga("operator: representative", Pagina::Operatore, u"n4"_s, u"Mario Rossi"_s);
        riga("operator: birthplace", Pagina::Operatore, u"n5"_s, u"Roma"_s);
        riga("operator: birth province", Pagina::Operatore, u"n6"_s, u"RM"_s);
        riga("operator: birth date", Pagina::Operatore, u"n7"_s, u"05/03/1960"_s);
        riga("operator: account holder", Pagina::Operatore, u"n8"_s, u"Ente Formazione Esempio"_s);
        riga("operator: bank", Pagina::Operatore, u"n9"_s, u"Banca Esempio"_s);
        riga("operator: IBAN", Pagina::Operatore, u"n31"_s, u"IT60X0542811101000000123456"_s);
        riga("operator: branch", Pagina::Operatore, u"n11"_s, u"Agenzia 3"_s);
        riga("operator: branch address", Pagina::Operatore, u"n12"_s, u"Via della Banca 1"_s);
        riga("operator: account", Pagina::Operatore, u"n13"_s, u"000123456789"_s);
        riga("operator: legal seat's component", Pagina::Operatore, u"n14"_s, u"1"_s);
        riga("operator: registry name trimmed", Pagina::Operatore, u"n15"_s, u"ENTE FORMAZIONE ESEMPIO"_s);
        riga("operator: municipality", Pagina::Operatore, u"n16"_s, u"Roma"_s);
        riga("operator: municipality code", Pagina::Operatore, u"n17"_s, u"H501"_s);
        riga("operator: postcode", Pagina::Operatore, u"n18"_s, u"00100"_s);
        riga("operator: address", Pagina::Operatore, u"n19"_s, u"Via Roma 1"_s);
        riga("operator: foreign state, none", Pagina::Operatore, u"n20"_s, QString());
        riga("operator: foreign city, none", Pagina::Operatore, u"n21"_s, QString());
        riga("operator: chamber province", Pagina::Operatore, u"n22"_s, u"RM"_s);
        riga("operator: chamber number", Pagina::Operatore, u"n23"_s, u"1234567"_s);
        riga("operator: chamber year", Pagina::Operatore, u"n24"_s, u"1999"_s);
        riga("operator: activity trimmed", Pagina::Operatore, u"n25"_s, u"Istruzione post-secondaria"_s);
        riga("operator: activity code", Pagina::Operatore, u"n26"_s, u"8542"_s);
        riga("operator: telephone in the template's font", Pagina::Operatore, u"n27"_s, u"0611111"_s);
        riga("operator: fax in arial 10", Pagina::Operatore, u"n28"_s, u"0622222"_s, Arial, 10);
        riga("operator: e-mail", Pagina::Operatore, u"n29"_s, u"sede@ente.it"_s);
        riga("operator: contact", Pagina::Operatore, u"n30"_s, u"Anna Bianchi"_s);

        riga("seat: code", Pagina::Sede, u"n1"_s, u"1"_s);
        riga("seat: legal seat's box", Pagina::Sede, u"ck1"_s, u"\u2612"_s, u"DejaVu Sans"_s);
        riga("seat: local unit's box", Pagina::Sede, u"ck2"_s, u"\u2610"_s, u"DejaVu Sans"_s);
        riga("seat: occasional seat's box", Pagina::Sede, u"ck3"_s, u"\u2610"_s, u"DejaVu Sans"_s);
        riga("seat: name", Pagina::Sede, u"n2"_s, u"Sede Legale Ente"_s);
        riga("seat: municipality", Pagina::Sede, u"n3"_s, u"Roma"_s);
        riga("seat: municipality code", Pagina::Sede, u"n4"_s, u"H501"_s);
        riga("seat: postcode", Pagina::Sede, u"n5"_s, u"00100"_s);
        riga("seat: area", Pagina::Sede, u"n6"_s, u"Bacino Centro"_s);
        riga("seat: address", Pagina::Sede, u"n7"_s, u"Via Roma 1"_s);
        riga("seat: telephone", Pagina::Sede, u"n8"_s, u"0611111"_s);
        riga("seat: fax", Pagina::Sede, u"n9"_s, u"0622222"_s);
        riga("seat: e-mail", Pagina::Sede, u"n10"_s, u"sede@ente.it"_s);
        riga("seat: contact", Pagina::Sede, u"n11"_s, u"Anna Bianchi"_s);

        riga("course: seat", Pagina::Corso, u"n1"_s, u"1"_s);
        riga("course: responsible component", Pagina::Corso, u"n2"_s, u" 1"_s);
        riga("course: code", Pagina::Corso, u"n3"_s, u"0001"_s);
        riga("course: financial cycle", Pagina::Corso, u"cicloFin"_s, u"CF1 - Ciclo 2021-2023"_s);
        riga("course: classification", Pagina::Corso, u"n6"_s, u"III ,  G ,  06.01"_s);
        riga("course: qualification and name trimmed", Pagina::Corso, u"n4"_s, u"Q01 - Corso 1/0001"_s);
        riga("course: target group", Pagina::Corso, u"n9"_s, u"3 - Giovani"_s);
        riga("course: pupils", Pagina::Corso, u"n21"_s, u"12"_s);
        riga("course: hours", Pagina::Corso, u"n18"_s, u"200"_s);
        riga("course: duration", Pagina::Corso, u"n20"_s, u"1"_s);
        riga("course: no reference course", Pagina::Corso, u"n24"_s, QString());
        riga("course: kind", Pagina::Corso, u"n25"_s, u"ATTIVITA' RIVOLTE AI GRUPPI"_s);
        riga("course: always empty", Pagina::Corso, u"n26"_s, QString());
        riga("course: cost parameter", Pagina::Corso, u"n27"_s, u"12,5"_s);
        riga("course: estimate's hours", Pagina::Corso, u"n28"_s, u"200"_s);
        riga("course: no estimate's pupils", Pagina::Corso, u"n29"_s, u"(12)"_s);
        riga("course: total", Pagina::Corso, u"n30"_s, u"234567,5"_s);
    }
    void eachPlaceholderGetsItsValueFontSizeAndBold()
    {
        QFETCH(Pagina, pagina);
        QFETCH(QString, segnaposto);
        QFETCH(QString, valore);
        QFETCH(QString, famiglia);
        QFETCH(double, punti);
        QFETCH(bool, grassetto);
        const PaginaCostruita &costruita = costruitaUnaVolta(pagina);
        QVERIFY(costruita.salvata);
        const Riempimento r = costruita.riempimento(segnaposto);
        QCOMPARE(r.valore, valore);
        if (valore.isEmpty())
            return;
        QCOMPARE(r.famiglia, famiglia);
        QCOMPARE(r.punti, punti);
        QCOMPARE(r.grassetto, grassetto);
    }

    void everyPageIsFilledWholeWithItsFooterAndNoBookmark_data()
    {
        QTest::addColumn<Pagina>("pagina");
        QTest::newRow("summary") << Pagina::Riepilogo;
        QTest::newRow("second") << Pagina::Seconda;
        QTest::newRow("operator") << Pagina::Operatore;
        QTest::newRow("seat") << Pagina::Sede;
        QTest::newRow("course") << Pagina::Corso;
    }
    void everyPageIsFilledWholeWithItsFooterAndNoBookmark()
    {
        QFETCH(Pagina, pagina);
        const PaginaCostruita &costruita = costruitaUnaVolta(pagina);
        QVERIFY(costruita.salvata);
        QVERIFY2(!costruita.contenuto.body->toPlainText().contains(u'<'),
                 qPrintable(costruita.contenuto.body->toPlainText()));
        QCOMPARE(costruita.contenuto.footer->toPlainText(), u"( 4)"_s);
        QCOMPARE(costruita.contenuto.footer->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QVERIFY(!costruita.contenuto.body->toHtml().contains(u"name=\"segno"_s));
    }

    void theCasesOfEachPage_data()
    {
        QTest::addColumn<Pagina>("pagina");
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QStringList>("messaggi");
        QTest::addColumn<QStringList>("segnaposti");
        QTest::addColumn<QStringList>("valori");

        const auto caso = [](const char *nome, Pagina pagina, const QStringList &modifiche,
                             const QStringList &segnaposti, const QStringList &valori,
                             const QStringList &messaggi = {}) {
            QTest::newRow(nome) << pagina << modifiche << messaggi << segnaposti << valori;
        };
        const QStringList fiscale{u"CodFisc_Literal"_s, u"CodFisc"_s};
        caso("tax code only", Pagina::Operatore, {u"UPDATE Domande SET PIva = NULL"_s}, fiscale,
             {u"CODICE FISCALE"_s, u"RSSMRA60C05H501U"_s});
        caso("VAT number only", Pagina::Operatore, {u"UPDATE Domande SET CodFisc = ''"_s}, fiscale,
             {u"PARTITA IVA"_s, u"01234567890"_s});
        caso("neither", Pagina::Operatore, {u"UPDATE Domande SET CodFisc = NULL, PIva = ''"_s}, fiscale,
             {u"CODICE FISCALE/P.IVA"_s, QString()});
        caso("a tax code of blanks counts as present", Pagina::Operatore,
             {u"UPDATE Domande SET CodFisc = '   ', PIva = NULL"_s}, fiscale,
             {u"CODICE FISCALE"_s, u"   "_s});
        caso("birth date without leading zeros", Pagina::Operatore,
             {u"UPDATE Domande SET LegGGNasc = '5', LegMMNasc = '3'"_s}, {u"n7"_s}, {u"5/3/1960"_s});
        caso("birth year alone", Pagina::Operatore,
             {u"UPDATE Domande SET LegGGNasc = NULL, LegMMNasc = ''"_s}, {u"n7"_s}, {u"//1960"_s});
        caso("no birth date", Pagina::Operatore,
             {u"UPDATE Domande SET LegGGNasc = NULL, LegMMNasc = NULL, LegAAAANasc = ''"_s}, {u"n7"_s},
             {QString()});
        caso("no correspondence", Pagina::Operatore, {u"UPDATE Domande SET Corrispondenza = NULL"_s},
             {u"n3"_s}, {QString()});
        caso("no activity code: its box, the page still saved", Pagina::Operatore,
             {u"UPDATE Domande SET AttEcono = NULL"_s}, {u"n25"_s, u"n26"_s, u"n27"_s},
             {QString(), QString(), u"0611111"_s}, {erroreStampa(94)});
        caso("a legal seat abroad", Pagina::Operatore,
             {u"UPDATE CorsiSediInteressate SET CodComune = NULL, StatoEstero = 'Francia', CittaEstero = "
              u"'Nizza' "
              u"WHERE SedeInteressata = 1"_s},
             {u"n16"_s, u"n17"_s, u"n20"_s, u"n21"_s}, {QString(), QString(), u"Francia"_s, u"Nizza"_s});

        const QStringList caselle{u"ck1"_s, u"ck2"_s, u"ck3"_s};
        const QString si = u"\u2612"_s;
        const QString no = u"\u2610"_s;
        const auto tipo = [](const QString &valore) {
            return QStringList{u"UPDATE CorsiSediInteressate SET TipoCompo = "_s + valore +
                               u" WHERE SedeInteressata = 1"_s};
        };
        caso("local unit", Pagina::Sede, tipo(u"'UL'"_s), caselle, {no, si, no});
        caso("occasional seat", Pagina::Sede, tipo(u"'UO'"_s), caselle, {no, no, si});
        caso("lower case marks nothing", Pagina::Sede, tipo(u"'sl'"_s), caselle, {no, no, no});
        caso("no type marks nothing, silently", Pagina::Sede, tipo(u"NULL"_s), caselle, {no, no, no});
        caso(
            "a seat without contacts", Pagina::Sede,
            {u"UPDATE CorsiSediInteressate SET Tel = NULL, Fax = NULL, Email = NULL WHERE SedeInteressata = 1"_s},
            {u"n8"_s, u"n9"_s, u"n10"_s, u"n11"_s}, {QString(), QString(), QString(), u"Anna Bianchi"_s});
        caso("no municipality code: passed over without a word", Pagina::Sede,
             {u"UPDATE CorsiSediInteressate SET CodComune = NULL WHERE SedeInteressata = 1"_s},
             {u"n3"_s, u"n4"_s, u"n5"_s}, {QString(), QString(), u"00100"_s});

        const auto corso = [](const QString &assegnazioni) {
            return QStringList{u"UPDATE CorsiProp SET "_s + assegnazioni +
                               u" WHERE SedeInteressata = 1 AND Corso = '0001'"_s};
        };
        caso("no measure", Pagina::Corso, corso(u"CodMisura = NULL"_s), {u"n6"_s}, {u"III ,  06.01"_s});
        caso("no axis", Pagina::Corso, corso(u"CodAsse = NULL"_s), {u"n6"_s}, {u"G ,  06.01"_s});
        caso("no classification at all: its box", Pagina::Corso,
             corso(u"CodAsse = NULL, CodMisura = NULL, CodAzione = NULL"_s), {u"n6"_s, u"n4"_s},
             {QString(), u"Q01 - Corso 1/0001"_s}, {erroreStampa(94)});
        caso("one pupil", Pagina::Corso, corso(u"NumAll = 1"_s), {u"n21"_s, u"n25"_s},
             {u"1"_s, u"ATTIVITA' INDIVIDUALI"_s});
        caso("no pupils: their box, a group activity", Pagina::Corso, corso(u"NumAll = NULL"_s),
             {u"n21"_s, u"n25"_s, u"n29"_s}, {QString(), u"ATTIVITA' RIVOLTE AI GRUPPI"_s, u"()"_s},
             {erroreStampa(94)});
        caso("the estimate's pupils", Pagina::Corso, corso(u"AllieviSpesa = 15"_s), {u"n29"_s}, {u"15"_s});
        caso("no financial cycle", Pagina::Corso, corso(u"CicloFinanziario = NULL"_s), {u"cicloFin"_s},
             {u" - "_s});
        caso("no qualification", Pagina::Corso, corso(u"CodQualif = ''"_s), {u"n4"_s},
             {u" - Corso 1/0001"_s});
        caso("no responsible component", Pagina::Corso, corso(u"CompoResp = NULL"_s), {u"n2"_s}, {QString()});
        caso("a whole total", Pagina::Corso, corso(u"TotaleSpesa = 52560"_s), {u"n30"_s}, {u"52560"_s});
        caso("no total: its box", Pagina::Corso, corso(u"TotaleSpesa = NULL"_s), {u"n30"_s}, {QString()},
             {erroreStampa(94)});
        caso("a reference course no longer stored: its box", Pagina::Corso,
             corso(u"IdAttivita_CorsoRifB111 = 77"_s), {u"n24"_s}, {QString()}, {erroreStampa(3021)});
        caso("a reference course", Pagina::Corso,
             {u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, Componente, ProgrAttivita, "
              u"AnnoInizio, ProgrAccorp, AnnGest, DenCorso) VALUES (77, 'B', 17, 1, 'P1', '2020', 2, '2021', "
              u"'Corso approvato')"_s,
              corso(u"IdAttivita_CorsoRifB111 = 77"_s).first()},
             {u"n24"_s}, {u"B.17.1 - P1 - 2020 - 2 - 2021 - Corso approvato"_s});

        caso("the total of no course", Pagina::Riepilogo, {u"DELETE FROM CorsiProp"_s},
             {u"n3"_s, u"n4"_s, u"n5"_s}, {u"0"_s, u"0"_s, u"0,00"_s});
        caso("a course without amount counts 0", Pagina::Riepilogo,
             {u"UPDATE CorsiProp SET TotaleSpesa = NULL WHERE SedeInteressata = 2"_s}, {u"n5"_s},
             {u"1.234.567,50"_s});
    }
    void theCasesOfEachPage()
    {
        QFETCH(Pagina, pagina);
        QFETCH(QStringList, modifiche);
        QFETCH(QStringList, messaggi);
        QFETCH(QStringList, segnaposti);
        QFETCH(QStringList, valori);
        const PaginaCostruita costruita(pagina, modifiche, messaggi);
        QVERIFY(costruita.salvata);
        for (const ShownBox &box : costruita.banco.test.prompt.shown()) {
            QCOMPARE(box.title, u"Errore in fase di stampa"_s);
            QCOMPARE(box.icon, Prompt::Icon::Critical);
        }
        for (int i = 0; i < segnaposti.size(); ++i)
            QCOMPARE(costruita.valore(segnaposti[i]), valori[i]);
    }

    void aPageWhoseEngineIsGoneEndsWithoutAWordOrAPageFile()
    {
        BancoDocumento banco;
        ComposizioneDocumento run(banco.test.context());
        run.ContatorePagine = 1;
        run.CreaPaginaRiepilogo();
        run.CreaSecondaPagina();
        run.CreaPaginaOperatore();
        run.CreaPaginaSede(banco.test.context().DE().rs(u"QrySediIntCorsi"_s));
        run.CreaPaginaCorso(banco.test.context().DE().rs(u"QryCorsi"_s));
        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(banco.pagineTemporanee().isEmpty());
        QVERIFY(!banco.test.context().DE().rs(u"QryDomandeSedLeg"_s).isOpen());
    }

    void inDebugModeAFailingCourseStepIsTriedABoundedNumberOfTimes()
    {
        BancoDocumento banco;
        banco.test.commandLine.args = {u"DEBUG"_s};
        banco.db.execute(u"UPDATE CorsiProp SET TotaleSpesa = NULL"_s);
        for (int i = 0; i < RipetizioniDebug; ++i)
            banco.test.prompt.expect(RoutineError::standardDescription(94));
        banco.test.prompt.expect(erroreStampa(94));
        ComposizioneDocumento run(banco.test.context());
        run.WordApp().start();
        run.ContatorePagine = 1;
        Recordset &corsi = banco.test.context().DE().rs(u"QryCorsi"_s);
        corsi.open();
        corsi.setFilter(u"NumDoma=204 AND SedeInteressata=2"_s);
        run.CreaPaginaCorso(corsi);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.pagineTemporanee(), QStringList{u"Pagina1.tmp"_s});
    }

    void theOperatorPageLeavesTheLegalSeatViewClosedAndUnfiltered()
    {
        PaginaCostruita costruita(Pagina::Operatore);
        Recordset &sedeLegale = costruita.banco.test.context().DE().rs(u"QryDomandeSedLeg"_s);
        QVERIFY(!sedeLegale.isOpen());
        QVERIFY(sedeLegale.filter().isEmpty());
    }
};

QTEST_MAIN(TestPagineDocumento)
#include "tst_PagineDocumento.moc"
