#include "TestContext.h"
#include "core/services/RoutineError.h"
#include "document/OperazioniPagina.h"
#include "document/PageEngine.h"
#include "document/PageTemplate.h"
#include "document/RtfWriter.h"
#include "document/clsCreaPDF.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

/** A template whose body is the given HTML, with an empty header and a footer line. */
QByteArray modello(const QString &corpo)
{
    return (u"<html><head><meta charset=\"utf-8\"></head>"
            u"<body style=\"font-family:Arial; font-size:11pt\">"_s +
            SeparatoreParti + u"<p>" + corpo + u"</p>" + SeparatoreParti + u"<p></p></body></html>"_s)
        .toUtf8();
}

/** A page engine, started, on a page opened from the template. */
struct Pagina
{
    explicit Pagina(const QString &corpo) : engine(test.context())
    {
        test.writeFile(u"_modello.dat"_s, modello(corpo));
        engine.start();
        engine.open(test.path(u"_modello.dat"_s));
    }
    QString testo() { return engine.activeDocument().content().body->toPlainText(); }
    QString piede() { return engine.activeDocument().content().footer->toPlainText(); }
    /** The format of the body's text at the first occurrence of `cosa`. */
    QTextCharFormat formatoDi(const QString &cosa)
    {
        QTextDocument &body = *engine.activeDocument().content().body;
        QTextCursor cursore = body.find(cosa);
        cursore.setPosition(cursore.selectionStart() + 1);
        return cursore.charFormat();
    }
    void sostituisci(const QString &valore, const QString &segnaposto, const QString &font = QString(),
                     qint16 dimensione = 0, bool grassetto = false)
    {
        SostituisciSegnaposto(engine, valore, segnaposto, font, dimensione, grassetto, false);
    }

    TestContext test;
    PageEngine engine;
};

using Riempimenti = QList<QPair<QString, QString>>;

} // namespace

class TestOperazioniPagina : public QObject
{
    Q_OBJECT

private slots:
    void eachCallReplacesOneOccurrenceFromTheCursorWrappingToTheStart_data()
    {
        QTest::addColumn<QString>("corpo");
        QTest::addColumn<Riempimenti>("riempimenti");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("one occurrence per call, the next call the next one")
            << u"&lt;x&gt; &lt;x&gt; &lt;x&gt;"_s << Riempimenti{{u"<x>"_s, u"A"_s}, {u"<x>"_s, u"B"_s}}
            << u"A B <x>"_s;
        QTest::newRow("a placeholder before the cursor is found by wrapping")
            << u"&lt;a&gt; &lt;b&gt;"_s << Riempimenti{{u"<b>"_s, u"B"_s}, {u"<a>"_s, u"A"_s}} << u"A B"_s;
        QTest::newRow("from the cursor on before wrapping")
            << u"&lt;x&gt; &lt;y&gt; &lt;x&gt; &lt;x&gt;"_s
            << Riempimenti{{u"<x>"_s, u"1"_s}, {u"<y>"_s, u"Y"_s}, {u"<x>"_s, u"2"_s}} << u"1 Y 2 <x>"_s;
        QTest::newRow("a placeholder missing from the page changes nothing")
            << u"&lt;a&gt; testo"_s << Riempimenti{{u"<zz>"_s, u"Z"_s}} << u"<a> testo"_s;
        QTest::newRow("<n1> never matches inside <n10>")
            << u"&lt;n10&gt; &lt;n1&gt;"_s << Riempimenti{{u"<n1>"_s, u"uno"_s}} << u"<n10> uno"_s;
        QTest::newRow("a value is inserted literally")
            << u"&lt;a&gt;."_s << Riempimenti{{u"<a>"_s, u"A & <b>"_s}} << u"A & <b>."_s;
        QTest::newRow("a value that looks like a placeholder is never replaced later")
            << u"&lt;n1&gt; &lt;n30&gt;"_s << Riempimenti{{u"<n1>"_s, u"<n30>"_s}, {u"<n30>"_s, u"X"_s}}
            << u"<n30> X"_s;
        QTest::newRow("adjacent placeholders")
            << u"&lt;a&gt;&lt;b&gt;"_s << Riempimenti{{u"<b>"_s, u"BB"_s}, {u"<a>"_s, u"AA"_s}} << u"AABB"_s;
        QTest::newRow("an empty value removes the placeholder")
            << u"[&lt;a&gt;]"_s << Riempimenti{{u"<a>"_s, QString()}} << u"[]"_s;
    }
    void eachCallReplacesOneOccurrenceFromTheCursorWrappingToTheStart()
    {
        QFETCH(QString, corpo);
        QFETCH(Riempimenti, riempimenti);
        QFETCH(QString, atteso);
        Pagina pagina(corpo);
        for (const auto &[segnaposto, valore] : riempimenti)
            pagina.sostituisci(valore, segnaposto);
        QCOMPARE(pagina.testo(), atteso);
    }

    void theInsertedRunTakesFontSizeAndBold_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<int>("dimensione");
        QTest::addColumn<bool>("grassetto");
        QTest::addColumn<QString>("famigliaAttesa");
        QTest::addColumn<double>("puntiAttesi");
        QTest::newRow("Arial 10 bold") << u"Arial"_s << 10 << true << u"Arial"_s << 10.0;
        QTest::newRow("Times New Roman 10")
            << u"Times New Roman"_s << 10 << false << u"Times New Roman"_s << 10.0;
        QTest::newRow("the template's font and size for \"\" and 0")
            << QString() << 0 << false << u"Courier New"_s << 14.0;
        QTest::newRow("a negative size keeps the template's")
            << QString() << -3 << true << u"Courier New"_s << 14.0;
    }
    void theInsertedRunTakesFontSizeAndBold()
    {
        QFETCH(QString, font);
        QFETCH(int, dimensione);
        QFETCH(bool, grassetto);
        QFETCH(QString, famigliaAttesa);
        QFETCH(double, puntiAttesi);
        Pagina pagina(u"prima <span style=\"font-family:'Courier New'; font-size:14pt; font-style:italic; "
                      u"font-weight:bold\">&lt;v&gt;</span> dopo"_s);
        pagina.sostituisci(u"VALORE"_s, u"<v>"_s, font, qint16(dimensione), grassetto);
        QCOMPARE(pagina.testo(), u"prima VALORE dopo"_s);
        const QTextCharFormat formato = pagina.formatoDi(u"VALORE"_s);
        QCOMPARE(formato.fontFamilies().toStringList().value(0), famigliaAttesa);
        QCOMPARE(formato.fontPointSize(), puntiAttesi);
        QCOMPARE(formato.fontWeight() >= QFont::Bold, grassetto);
        QVERIFY2(formato.fontItalic(), "the rest of the placeholder's format is kept");
        QCOMPARE(pagina.formatoDi(u"dopo"_s).fontPointSize(), 11.0);
    }

    void aBoxTakesThePlaceOfItsPlaceholder_data()
    {
        QTest::addColumn<bool>("spuntata");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("ticked") << true << u"A \u2612 B <ck2>"_s;
        QTest::newRow("not ticked") << false << u"A \u2610 B <ck2>"_s;
    }
    void aBoxTakesThePlaceOfItsPlaceholder()
    {
        QFETCH(bool, spuntata);
        QFETCH(QString, atteso);
        Pagina pagina(u"A <span style=\"font-size:12pt\">&lt;ck1&gt;</span> B &lt;ck2&gt;"_s);
        ImpostaCasella(pagina.engine, u"<ck1>"_s, spuntata);
        QCOMPARE(pagina.testo(), atteso);
        const QTextCharFormat formato = pagina.formatoDi(atteso.mid(2, 1));
        QCOMPARE(formato.fontFamilies().toStringList(), QStringList{u"DejaVu Sans"_s});
        QCOMPARE(formato.fontPointSize(), 12.0);
    }

    void aBoxWithoutItsPlaceholderChangesNothing()
    {
        Pagina pagina(u"A &lt;ck1&gt; B"_s);
        pagina.sostituisci(u"X"_s, u"<ck1>"_s);
        ImpostaCasella(pagina.engine, u"<ck1>"_s, true);
        ImpostaCasella(pagina.engine, u"<ck3>"_s, false);
        QCOMPARE(pagina.testo(), u"A X B"_s);
    }

    void thePageNumberIsTypedIntoHeaderOrFooter_data()
    {
        QTest::addColumn<int>("vista");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("suffisso");
        QTest::addColumn<QString>("piede");
        QTest::addColumn<QString>("intestazione");
        QTest::newRow("footer") << 10 << u" 4"_s << QString() << u"( 4)"_s << QString();
        QTest::newRow("footer with a suffix") << 10 << u" 4"_s << u"x"_s << u"( 4).x"_s << QString();
        QTest::newRow("header") << 9 << u" 12"_s << QString() << QString() << u"( 12)"_s;
        QTest::newRow("view 8 types nothing") << 8 << u" 4"_s << QString() << QString() << QString();
        QTest::newRow("view 0 types nothing") << 0 << u" 4"_s << u"x"_s << QString() << QString();
    }
    void thePageNumberIsTypedIntoHeaderOrFooter()
    {
        QFETCH(int, vista);
        QFETCH(QString, testo);
        QFETCH(QString, suffisso);
        QFETCH(QString, piede);
        QFETCH(QString, intestazione);
        Pagina pagina(u"corpo"_s);
        ScriviNumeroPagina(pagina.engine, vista, testo, AllineamentoParagrafo::Centrato, suffisso);
        const PageContent &contenuto = pagina.engine.activeDocument().content();
        QCOMPARE(contenuto.footer->toPlainText(), piede);
        QCOMPARE(contenuto.header->toPlainText(), intestazione);
        QCOMPARE(contenuto.body->toPlainText(), u"corpo"_s);
        if (!piede.isEmpty())
            QCOMPARE(contenuto.footer->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                     Qt::AlignHCenter);
    }

    void bookmarksAreCountedAndDeletedFirstToLast()
    {
        Pagina pagina(u"<a name=\"uno\">A</a> &lt;x&gt; <a name=\"due\">B</a> <a name=\"tre\">C</a>"_s);
        PageDocument &documento = pagina.engine.activeDocument();
        QCOMPARE(documento.bookmarks(), (QStringList{u"uno"_s, u"due"_s, u"tre"_s}));
        const int n = documento.bookmarkCount();
        QCOMPARE(n, 3);
        for (int i = 0; i < n; ++i)
            documento.deleteFirstBookmark();
        QVERIFY(documento.bookmarks().isEmpty());
        QVERIFY(!scriviRtf(documento.content()).contains("bkmk"));
        QCOMPARE(pagina.testo(), u"A <x> B C"_s);
        QCOMPARE(errorOf([&] { documento.deleteFirstBookmark(); }).number(), ErrorCode::InvalidProcedureCall);
    }

    void everyOperationAfterTheEngineStoppedFailsWith91_data()
    {
        QTest::addColumn<QString>("operazione");
        for (const char *nome : {"open", "activeDocument", "ScriviNumeroPagina", "ImpostaCasella",
                                 "SaveTmpRTF", "closeAll", "quit"})
            QTest::newRow(nome) << QString::fromLatin1(nome);
    }
    void everyOperationAfterTheEngineStoppedFailsWith91()
    {
        QFETCH(QString, operazione);
        Pagina pagina(u"&lt;a&gt;"_s);
        clsCreaPDF documentoPdf(pagina.test.context());
        pagina.engine.quit();
        QVERIFY(!pagina.engine.running());
        const RoutineError errore = errorOf([&] {
            if (operazione == u"open")
                pagina.engine.open(pagina.test.path(u"_modello.dat"_s));
            else if (operazione == u"activeDocument")
                pagina.engine.activeDocument();
            else if (operazione == u"ScriviNumeroPagina")
                ScriviNumeroPagina(pagina.engine, 10, u" 1"_s, 1, QString());
            else if (operazione == u"ImpostaCasella")
                ImpostaCasella(pagina.engine, u"<a>"_s, true);
            else if (operazione == u"SaveTmpRTF")
                documentoPdf.SaveTmpRTF(pagina.engine, 1);
            else if (operazione == u"closeAll")
                pagina.engine.closeAll();
            else
                pagina.engine.quit();
        });
        QCOMPARE(errore.number(), ErrorCode::ObjectNotSet);
        QVERIFY(!QFile::exists(pagina.test.path(u"Pagina1.tmp"_s)));
    }

    void aReplacementAfterTheEngineStoppedIsDroppedQuietly()
    {
        Pagina pagina(u"&lt;a&gt;"_s);
        pagina.engine.quit();
        pagina.sostituisci(u"A"_s, u"<a>"_s);
        QVERIFY(pagina.test.prompt.shown().isEmpty());
    }

    void inDebugModeAFailingReplacementIsRepeatedThreeTimesAfterItsBox()
    {
        Pagina pagina(u"&lt;a&gt;"_s);
        pagina.test.commandLine.args = QStringList{u"DEBUG"_s};
        pagina.engine.quit();
        const QString descrizione = RoutineError(ErrorCode::ObjectNotSet).description();
        for (int i = 0; i < RipetizioniDebug; ++i)
            pagina.test.prompt.expect(descrizione);
        pagina.sostituisci(u"A"_s, u"<a>"_s);
        QVERIFY(pagina.test.prompt.allShown());
        QCOMPARE(pagina.test.prompt.shown().size(), RipetizioniDebug);
        QCOMPARE(pagina.test.prompt.shown().first().title, QString());
        QCOMPARE(pagina.test.prompt.shown().first().icon, Prompt::Icon::None);
    }

    void theTemplateFileNeverChanges()
    {
        Pagina pagina(u"&lt;a&gt; <a name=\"s\">x</a>"_s);
        const QByteArray prima = pagina.test.readFile(u"_modello.dat"_s);
        pagina.sostituisci(u"A"_s, u"<a>"_s);
        ScriviNumeroPagina(pagina.engine, 10, u" 1"_s, 1, QString());
        pagina.engine.activeDocument().deleteFirstBookmark();
        pagina.engine.closeAll();
        QCOMPARE(pagina.test.readFile(u"_modello.dat"_s), prima);
        QCOMPARE(errorOf([&] { pagina.engine.activeDocument(); }).number(), ErrorCode::ObjectNotSet);
    }

    void aTemplateIsSplitIntoHeaderBodyAndFooter()
    {
        TestContext test;
        test.writeFile(u"_m.dat"_s, (u"<html><head><meta name=\"margini\" content=\"10 20 30 40\"></head>"
                                     u"<body><p>Intestazione</p>"_s +
                                     SeparatoreParti + u"<p>Corpo è</p>"_s + SeparatoreParti +
                                     u"<p>Piede</p></body></html>"_s)
                                        .toUtf8());
        PageEngine engine(test.context());
        engine.start();
        const PageContent &pagina = engine.open(test.path(u"_m.dat"_s)).content();
        QCOMPARE(pagina.header->toPlainText(), u"Intestazione"_s);
        QCOMPARE(pagina.body->toPlainText(), u"Corpo è"_s);
        QCOMPARE(pagina.footer->toPlainText(), u"Piede"_s);
        QCOMPARE(pagina.setup.marginTop, 567);
        QCOMPARE(pagina.setup.marginLeft, 2268);
    }

    void aMissingOrMalformedTemplateFails_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<int>("numero");
        QTest::newRow("missing") << QByteArray() << ErrorCode::FileNotFound;
        QTest::newRow("one marker") << ("<p>a</p>" + SeparatoreParti.toUtf8() + "<p>b</p>")
                                    << ErrorCode::InvalidProcedureCall;
        QTest::newRow("three margins") << QByteArray("<head><meta name=\"margini\" content=\"1 2 3\"></head>")
                                       << ErrorCode::InvalidProcedureCall;
        QTest::newRow("a margin not a number")
            << QByteArray("<head><meta name=\"margini\" content=\"10 nan 10 10\"></head>")
            << ErrorCode::InvalidProcedureCall;
        QTest::newRow("an infinite margin")
            << QByteArray("<head><meta name=\"margini\" content=\"10 10 inf 10\"></head>")
            << ErrorCode::InvalidProcedureCall;
    }
    void aMissingOrMalformedTemplateFails()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(int, numero);
        TestContext test;
        if (!contenuto.isEmpty())
            test.writeFile(u"_m.dat"_s, contenuto);
        PageEngine engine(test.context());
        engine.start();
        QCOMPARE(errorOf([&] { engine.open(test.path(u"_m.dat"_s)); }).number(), numero);
    }
};

QTEST_MAIN(TestOperazioniPagina)
#include "tst_OperazioniPagina.moc"
