#include "document/Fonts.h"
#include "document/PageContent.h"
#include "document/PageTemplate.h"
#include "document/RtfReader.h"
#include "document/RtfWriter.h"

#include <QTest>
#include <QTextBlock>
#include <QTextTable>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

/** A page with what a form page holds: a heading table, runs of every kind, header and footer. */
const QString PaginaCompleta =
    u"<html><head><meta charset=\"utf-8\"><meta name=\"margini\" content=\"15 20 25 30\"></head>"
    u"<body style=\"font-family:Arial; font-size:10pt\">"
    u"<p align=\"right\">Intestazione <b>à</b></p>" +
    SeparatoreParti +
    u"<p align=\"center\" style=\"font-size:14pt\"><b>PROPOSTA CORSI</b></p>"
    u"<p align=\"justify\">Testo <i>corsivo</i>, <u>sottolineato</u>, <s>barrato</s>, "
    u"<span style=\"color:#c00000\">rosso</span>, "
    u"<span style=\"font-family:'Times New Roman'; font-size:9pt\">Times 9</span>: à € ’ ☒ ☐ “x” "
    u"{graffe} \\barra\\ 日本</p>"
    u"<table border=\"1\" width=\"100%\" cellpadding=\"3\" cellspacing=\"0\">"
    u"<tr><td width=\"30%\" bgcolor=\"#d9d9d9\">Numero</td><td width=\"70%\">&lt;NumDoma&gt;</td></tr>"
    u"<tr><td colspan=\"2\" align=\"center\">Riga unita</td></tr>"
    u"<tr><td>Sede</td><td><p>uno</p><p>due</p></td></tr>"
    u"</table>"
    u"<p style=\"page-break-before:always\">Dopo la tabella <a name=\"segno\">qui</a></p>"
    u"<table width=\"50%\"><tr><td>senza</td><td>bordi</td></tr></table>"
    u"<p></p>" +
    SeparatoreParti + u"<p align=\"center\">Piede</p></body></html>"_s;

struct Tratto
{
    QString testo;
    QString famiglia;
    qreal punti;
    bool grassetto;
    bool corsivo;
    bool sottolineato;
    bool barrato;
    QColor colore;
    QStringList segnalibri;
    bool operator==(const Tratto &) const = default;
};

QString famiglia(const QTextCharFormat &f, const QTextDocument &d)
{
    const QStringList famiglie = f.fontFamilies().toStringList();
    return famigliaCarattere(famiglie.isEmpty() ? d.defaultFont().family() : famiglie.first());
}

/** Each block of the document with its alignment and runs, tables' cells included, as text. */
QStringList descrizione(const QTextDocument &d)
{
    QStringList righe;
    for (QTextBlock b = d.begin(); b.isValid(); b = b.next()) {
        QString riga =
            QString::number(int(b.blockFormat().alignment() &
                                (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify))) +
            u'|';
        if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            riga += u"[pagina]"_s;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            riga +=
                u"{%1|%2|%3|%4%5%6%7|%8|%9}"_s.arg(it.fragment().text(), famiglia(f, d))
                    .arg(f.fontPointSize() > 0 ? f.fontPointSize() : d.defaultFont().pointSizeF())
                    .arg(f.fontWeight() >= QFont::Bold ? u"b"_s : QString(),
                         f.fontItalic() ? u"i"_s : QString(), f.fontUnderline() ? u"u"_s : QString(),
                         f.fontStrikeOut() ? u"s"_s : QString(),
                         f.foreground().style() == Qt::NoBrush ? QString() : f.foreground().color().name(),
                         f.anchorNames().join(u','));
        }
        righe.append(riga);
    }
    return righe;
}

QList<QTextTable *> tabelle(const QTextDocument &d)
{
    QList<QTextTable *> trovate;
    for (QTextFrame *frame : d.rootFrame()->childFrames())
        if (auto *t = qobject_cast<QTextTable *>(frame))
            trovate.append(t);
    return trovate;
}

void caricaPagina(PageContent &pagina)
{
    caricaModelloDaTesto(PaginaCompleta, pagina);
}

std::unique_ptr<PageContent> rilettura(const QByteArray &rtf)
{
    auto pagina = std::make_unique<PageContent>();
    QString errore;
    if (!leggiRtf(rtf, *pagina, &errore))
        qWarning() << errore;
    return pagina;
}

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void aRoundTripKeepsTextRunsAndAlignment()
    {
        PageContent originale;
        caricaPagina(originale);
        originale.setup.paperWidth = 16838; // A4 landscape
        originale.setup.paperHeight = 11906;
        const auto letta = rilettura(scriviRtf(originale));
        QCOMPARE(descrizione(*letta->body), descrizione(*originale.body));
        QCOMPARE(descrizione(*letta->header), descrizione(*originale.header));
        QCOMPARE(descrizione(*letta->footer), descrizione(*originale.footer));
        QVERIFY(letta->body->toPlainText().contains(u"à € ’ ☒ ☐ “x” {graffe} \\barra\\ 日本"_s));
        QCOMPARE(letta->setup, originale.setup);
        QCOMPARE(letta->setup.marginLeft, 1701);
    }

    void aRoundTripKeepsTablesWidthsAndBorders()
    {
        PageContent originale;
        caricaPagina(originale);
        const auto letta = rilettura(scriviRtf(originale));
        const auto prima = tabelle(*originale.body);
        const auto dopo = tabelle(*letta->body);
        QCOMPARE(dopo.size(), 2);
        QCOMPARE(dopo.size(), prima.size());
        QTextTable &moduli = *dopo[0];
        QCOMPARE(moduli.rows(), 3);
        QCOMPARE(moduli.columns(), 2);
        const auto larghezze = moduli.format().columnWidthConstraints();
        QCOMPARE(larghezze.size(), 2);
        QCOMPARE(qRound(larghezze[0].rawValue()), 30);
        QCOMPARE(qRound(larghezze[1].rawValue()), 70);
        QVERIFY(moduli.format().border() > 0);
        QCOMPARE(moduli.format().cellPadding(), prima[0]->format().cellPadding());
        QCOMPARE(moduli.cellAt(1, 0).columnSpan(), 2);
        QCOMPARE(moduli.cellAt(0, 0).format().background().color(), QColor(u"#d9d9d9"_s));
        QCOMPARE(moduli.cellAt(0, 1).firstCursorPosition().block().text(), u"<NumDoma>"_s);
        QCOMPARE(moduli.cellAt(2, 1).lastCursorPosition().block().text(), u"due"_s);
        QCOMPARE(dopo[1]->format().border(), 0);
        QCOMPARE(qRound(dopo[1]->format().width().rawValue()), 50);
    }

    void whatTheReaderReadsIsWrittenAgainUnchanged()
    {
        PageContent originale;
        caricaPagina(originale);
        const QByteArray prima = scriviRtf(*rilettura(scriviRtf(originale)));
        const QByteArray seconda = scriviRtf(*rilettura(prima));
        QCOMPARE(QString::fromLatin1(seconda).split(u'\n'), QString::fromLatin1(prima).split(u'\n'));
    }

    void theFileIsPlainRtfInCodePage1252()
    {
        PageContent pagina;
        caricaPagina(pagina);
        const QByteArray rtf = scriviRtf(pagina);
        QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
        for (const char c : rtf)
            QVERIFY2(uchar(c) < 0x80, "every byte outside ASCII is escaped");
        QVERIFY(rtf.contains("\\'e0"));    // à
        QVERIFY(rtf.contains("\\'80"));    // €
        QVERIFY(rtf.contains("\\'92"));    // ’
        QVERIFY(rtf.contains("\\u9746?")); // ☒
        QVERIFY(rtf.contains("Arial;"));
        QVERIFY(rtf.contains("\\paperw11906\\paperh16838"));
        QVERIFY(rtf.contains("{\\*\\bkmkstart segno}"));
        QVERIFY(rtf.endsWith("}\n"));
    }

    void fontsAreReadAsTheirLiberationTwins_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("famiglia");
        QTest::newRow("Arial") << u"Arial"_s << u"Liberation Sans"_s;
        QTest::newRow("ARIAL") << u"ARIAL"_s << u"Liberation Sans"_s;
        QTest::newRow("times new roman") << u"times new roman"_s << u"Liberation Serif"_s;
        QTest::newRow("another font is kept") << u"DejaVu Sans"_s << u"DejaVu Sans"_s;
    }
    void fontsAreReadAsTheirLiberationTwins()
    {
        QFETCH(QString, nome);
        QFETCH(QString, famiglia);
        QCOMPARE(famigliaCarattere(nome), famiglia);
        const QByteArray rtf =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil " + nome.toLatin1() + ";}}{\\f0 x}}";
        PageContent pagina;
        QVERIFY(leggiRtf(rtf, pagina));
        QTextCursor cursore(pagina.body.get());
        cursore.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(cursore.charFormat().fontFamilies().toStringList(), QStringList{famiglia});
        QCOMPARE(QFontInfo(QFont(famiglia)).family(), famiglia);
    }

    void unknownGroupsAreSkipped()
    {
        const QByteArray rtf = "{\\rtf1\\ansi{\\*\\generator Ignoto 1.0;}{\\info{\\title titolo}}"
                               "{\\stylesheet{\\s0 Normal;}}{\\*\\ignoto {annidato} testo}"
                               "\\pard uno\\par {\\field{\\*\\fldinst PAGE}{\\fldrslt due}}\\par tre}";
        PageContent pagina;
        QString errore;
        QVERIFY2(leggiRtf(rtf, pagina, &errore), qPrintable(errore));
        QCOMPARE(pagina.body->toPlainText(), u"uno\ndue\ntre"_s);
    }

    void aBrokenFileGivesAnErrorNeverACrashOrAHang_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        PageContent pagina;
        caricaPagina(pagina);
        const QByteArray buono = scriviRtf(pagina);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not RTF") << QByteArray("<html><body>x</body></html>");
        QTest::newRow("truncated in half") << buono.left(buono.size() / 2);
        QTest::newRow("truncated in a control word") << buono.left(buono.indexOf("\\paperw") + 4);
        QTest::newRow("truncated in a hex escape") << QByteArray("{\\rtf1 a\\'e");
        QTest::newRow("last brace missing") << buono.left(buono.lastIndexOf('}'));
        QTest::newRow("one brace too many") << buono + "}";
        QTest::newRow("closing brace first") << QByteArray("{\\rtf1 }} x {");
        QTest::newRow("text after the end") << buono + "testo";
        QTest::newRow("huge number") << QByteArray("{\\rtf1\\fs99999999999999999999 x}");
        QTest::newRow("number beyond 32 bits") << QByteArray("{\\rtf1\\fs4294967296 x}");
        QTest::newRow("huge font size") << QByteArray("{\\rtf1\\fs70000 x}");
        QTest::newRow("huge paper") << QByteArray("{\\rtf1\\paperw2000000 x}");
        QTest::newRow("negative margin") << QByteArray("{\\rtf1\\margl-5 x}");
        QTest::newRow("deep nesting")
            << QByteArray("{\\rtf1" + QByteArray(100000, '{') + QByteArray(100000, '}') + "}");
        QTest::newRow("endless opening braces") << QByteArray("{\\rtf1" + QByteArray(1000000, '{'));
        QTest::newRow("bad hex escape") << QByteArray("{\\rtf1 \\'zz}");
        QTest::newRow("over-long control word") << QByteArray("{\\rtf1 \\" + QByteArray(100, 'a') + " x}");
        QTest::newRow("cells going backwards")
            << QByteArray("{\\rtf1\\trowd\\cellx2000\\cellx1000 a\\cell b\\cell\\row}");
        QTest::newRow("a row without cells") << QByteArray("{\\rtf1\\trowd a\\cell\\row}");
        QTest::newRow("more cells than defined")
            << QByteArray("{\\rtf1\\trowd\\cellx1000 a\\cell b\\cell\\row}");
        QByteArray colonne = "{\\rtf1\\trowd";
        for (int i = 1; i <= 100; ++i)
            colonne += "\\cellx" + QByteArray::number(i * 100);
        QTest::newRow("a hundred columns") << colonne + " a\\cell\\row}";
        QTest::newRow("huge unicode") << QByteArray("{\\rtf1\\u70000? x}");
    }
    void aBrokenFileGivesAnErrorNeverACrashOrAHang()
    {
        QFETCH(QByteArray, rtf);
        PageContent pagina;
        QString errore;
        QVERIFY(!leggiRtf(rtf, pagina, &errore));
        QVERIFY(!errore.isEmpty());
    }
};

QTEST_MAIN(TestRtf)
#include "tst_Rtf.moc"
