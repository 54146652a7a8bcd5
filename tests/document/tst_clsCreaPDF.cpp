#include "OrdinaryUser.h"
#include "TestContext.h"
#include "core/state/CurrentApplication.h"
#include "document/OperazioniPagina.h"
#include "document/PageEngine.h"
#include "document/PageTemplate.h"
#include "document/clsCreaPDF.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

const QString Modello =
    u"<html><head><meta charset=\"utf-8\"></head><body style=\"font-family:Arial; "
    u"font-size:10pt\"><p align=\"right\">Intestazione di prova</p>"_s +
    SeparatoreParti +
    u"<table border=\"1\" width=\"100%\" cellspacing=\"0\"><tr><td width=\"30%\">Domanda</td>"
    u"<td>&lt;NumDoma&gt;</td></tr></table>"
    u"<p>Contenuto della pagina &lt;n&gt; - àèì € &lt;ver&gt; &lt;ck&gt;</p>" +
    SeparatoreParti + u"<p></p></body></html>"_s;

QString esegui(const QString &programma, const QStringList &argomenti)
{
    QProcess processo;
    processo.start(programma, argomenti);
    if (!processo.waitForFinished(60000) || processo.exitCode() != 0)
        return u"(fallito: "_s + QString::fromLocal8Bit(processo.readAllStandardError()) + u')';
    return QString::fromUtf8(processo.readAllStandardOutput());
}

QString testoPagina(const QString &pdf, int pagina)
{
    const QString k = QString::number(pagina);
    return esegui(u"pdftotext"_s, {u"-f"_s, k, u"-l"_s, k, u"-layout"_s, pdf, u"-"_s});
}

/** A run's program folder with the page template, an engine and the run's PDF object. */
struct Corsa
{
    Corsa() : engine(test.context()), documento(test.context())
    {
        test.writeFile(u"_JW63PELO-01.dat"_s, Modello.toUtf8());
        test.context().domanda().DenominazioneOpCorrente = u"ENTE DI FORMAZIONE & C."_s;
        engine.start();
    }

    /** Builds and saves page `numero` as a page builder does. */
    void pagina(int numero)
    {
        engine.open(test.path(u"_JW63PELO-01.dat"_s));
        SostituisciSegnaposto(engine, u"204"_s, u"<NumDoma>"_s, u"Arial"_s, 10, true, false);
        SostituisciSegnaposto(engine, QString::number(numero), u"<n>"_s, QString(), 0, false, false);
        SostituisciSegnaposto(engine, u"(ver. 1.0.5)"_s, u"<ver>"_s, u"Times New Roman"_s, 10, false, false);
        ImpostaCasella(engine, u"<ck>"_s, numero % 2 == 0);
        ScriviNumeroPagina(engine, VistaPagina::PiePagina, u" "_s + QString::number(numero),
                           AllineamentoParagrafo::Centrato, QString());
        documento.SaveTmpRTF(engine, qint16(numero));
        engine.closeAll();
    }
    void pagine(int quante)
    {
        for (int numero = 1; numero <= quante; ++numero)
            pagina(numero);
    }
    QStringList fileTemporanei() const
    {
        return QDir(test.folder()).entryList({u"Pagina*.tmp"_s}, QDir::Files, QDir::Name);
    }

    TestContext test;
    PageEngine engine;
    clsCreaPDF documento;
};

} // namespace

class TestClsCreaPDF : public QObject
{
    Q_OBJECT

private slots:
    void aPdfWithoutNameOrPagesIsRefused_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<int>("pagine");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("no name")
            << QString() << 3 << u"Il nome del file PDF non è stato impostato.\rImpossibile creare il PDF!"_s;
        QTest::newRow("no name and no pages")
            << QString() << 0 << u"Il nome del file PDF non è stato impostato.\rImpossibile creare il PDF!"_s;
        QTest::newRow("no pages")
            << u"prova.pdf"_s << 0
            << u"Il numero delle pagine create non è stato impostato.\rImpossibile creare il PDF!"_s;
    }
    void aPdfWithoutNameOrPagesIsRefused()
    {
        QFETCH(QString, nome);
        QFETCH(int, pagine);
        QFETCH(QString, messaggio);
        Corsa corsa;
        corsa.pagine(3);
        corsa.documento.setFilePDF(nome.isEmpty() ? nome : corsa.test.path(nome));
        corsa.documento.setTotPagine(qint16(pagine));
        corsa.test.prompt.expect(messaggio);
        QVERIFY(!corsa.documento.CreatePDF());
        QCOMPARE(corsa.test.prompt.shown().size(), 1);
        QCOMPARE(corsa.test.prompt.shown().first().title, u"Errore"_s);
        QCOMPARE(corsa.test.prompt.shown().first().icon, Prompt::Icon::Warning);
        QCOMPARE(corsa.fileTemporanei(), (QStringList{u"Pagina1.tmp"_s, u"Pagina2.tmp"_s, u"Pagina3.tmp"_s}));
        QCOMPARE(QDir(corsa.test.folder()).entryList({u"*.pdf"_s}), QStringList());
    }

    void eightPagesMakeOnePdfInPageOrder()
    {
        Corsa corsa;
        corsa.test.writeFile(u"Pagina9.tmp"_s, "{\\rtf1 di una corsa precedente}");
        corsa.test.writeFile(u"Domanda.pdf"_s, "un PDF precedente");
        corsa.pagine(8);
        const QString pdf = corsa.test.path(u"Domanda.pdf"_s);
        corsa.documento.setFilePDF(pdf);
        corsa.documento.setTotPagine(8);
        QVERIFY(corsa.documento.CreatePDF());
        QVERIFY(corsa.test.prompt.shown().isEmpty());

        const QString info = esegui(u"pdfinfo"_s, {pdf});
        QVERIFY2(
            info.contains(QRegularExpression(u"Title:\\s+Proposta Corsi ZORIVA - 2010 - primi anni\n"_s)),
            qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+8\n"_s)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+595 x 842 pts \\(A4\\)"_s)),
                 qPrintable(info));
        for (int k = 1; k <= 8; ++k) {
            const QString testo = testoPagina(pdf, k);
            const QString casella = k % 2 == 0 ? u"\u2612"_s : u"\u2610"_s;
            QVERIFY2(testo.contains(u"Contenuto della pagina "_s + QString::number(k) +
                                    u" - àèì € (ver. 1.0.5) "_s + casella),
                     qPrintable(testo));
            QVERIFY2(testo.contains(u"Intestazione di prova"_s), qPrintable(testo));
            QVERIFY2(testo.contains(u"( "_s + QString::number(k) + u")"_s), qPrintable(testo));
            QVERIFY2(testo.contains(u"Domanda"_s) && testo.contains(u"204"_s), qPrintable(testo));
        }
        const QString fonts = esegui(u"pdffonts"_s, {pdf});
        QVERIFY2(fonts.contains(QRegularExpression(u"LiberationSans-Bold\\s.*\\syes\\s"_s)),
                 qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression(u"LiberationSans\\s.*\\syes\\s"_s)), qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression(u"LiberationSerif\\s.*\\syes\\s"_s)), qPrintable(fonts));
        QVERIFY2(fonts.contains(QRegularExpression(u"DejaVuSans\\s.*\\syes\\s"_s)), qPrintable(fonts));

        const QString xmp = esegui(u"pdfinfo"_s, {u"-meta"_s, pdf});
        QVERIFY2(xmp.contains(u"<rdf:li>ENTE DI FORMAZIONE &amp; C.</rdf:li>"_s), qPrintable(xmp));
        QVERIFY2(xmp.contains(u"<xmp:CreateDate>2021-03-15T10:30:00"_s), qPrintable(xmp));
        QVERIFY2(xmp.contains(u"Proposta Corsi ZORIVA - 2010 - primi anni"_s), qPrintable(xmp));

        QCOMPARE(corsa.fileTemporanei(), QStringList{u"Pagina9.tmp"_s});
        QCOMPARE(corsa.test.readFile(u"Pagina9.tmp"_s), QByteArray("{\\rtf1 di una corsa precedente}"));
        QCOMPARE(QDir(corsa.test.folder()).entryList({u"*.pdf*"_s, u"*.tmp"_s, u"Domanda*"_s}, QDir::Files),
                 (QStringList{u"Domanda.pdf"_s, u"Pagina9.tmp"_s}));
    }

    void aPageLongerThanOneSheetRepeatsItsFooter()
    {
        Corsa corsa;
        QString lungo = Modello;
        lungo.replace(u"<p>Contenuto"_s, QString(u"<p>riga</p>"_s).repeated(120) + u"<p>Contenuto"_s);
        corsa.test.writeFile(u"_JW63PELO-01.dat"_s, lungo.toUtf8());
        corsa.pagine(1);
        const QString pdf = corsa.test.path(u"Lungo.pdf"_s);
        corsa.documento.setFilePDF(pdf);
        corsa.documento.setTotPagine(1);
        QVERIFY(corsa.documento.CreatePDF());
        const auto pagine = QRegularExpression(u"Pages:\\s+(\\d+)\n"_s).match(esegui(u"pdfinfo"_s, {pdf}));
        const int fogli = pagine.captured(1).toInt();
        QVERIFY2(fogli >= 2, qPrintable(pagine.captured()));
        for (int foglio = 1; foglio <= fogli; ++foglio)
            QVERIFY(testoPagina(pdf, foglio).contains(u"( 1)"_s));
        QVERIFY(testoPagina(pdf, fogli).contains(u"Contenuto della pagina 1"_s));
        QVERIFY(!testoPagina(pdf, 1).contains(u"Contenuto della pagina 1"_s));
    }

    void aStalePageFileOfAnEarlierRunIsRefused()
    {
        Corsa corsa;
        {
            Corsa precedente;
            precedente.pagine(3);
            corsa.test.writeFile(u"Pagina2.tmp"_s, precedente.test.readFile(u"Pagina2.tmp"_s));
        }
        corsa.pagina(1);
        corsa.pagina(3);
        corsa.documento.setFilePDF(corsa.test.path(u"Domanda.pdf"_s));
        corsa.documento.setTotPagine(3);
        corsa.test.prompt.expect(
            u"Errore  53 --> La pagina 2 non è stata creata da questa stampa: il file "_s +
            corsa.test.path(u"Pagina2.tmp"_s) + u" appartiene a una stampa precedente e non è stato usato"_s);
        QVERIFY(!corsa.documento.CreatePDF());
        QCOMPARE(corsa.test.prompt.shown().first().title, u"Errore generico"_s);
        QCOMPARE(corsa.test.prompt.shown().first().icon, Prompt::Icon::Warning);
        QVERIFY(!QFile::exists(corsa.test.path(u"Domanda.pdf"_s)));
        QCOMPARE(corsa.fileTemporanei(), QStringList{u"Pagina2.tmp"_s});
    }

    void aLinkPlantedAtAFileOfTheRunIsReplacedNotFollowed_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::newRow("at the PDF's name") << u"Domanda.pdf"_s;
        QTest::newRow("at a page file's name") << u"Pagina2.tmp"_s;
    }
    void aLinkPlantedAtAFileOfTheRunIsReplacedNotFollowed()
    {
        QFETCH(QString, nome);
        QTemporaryDir altrove;
        const QString bersaglio = altrove.filePath(u"bersaglio"_s);
        QFile file(bersaglio);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("da non toccare") > 0);
        file.close();
        Corsa corsa;
        QVERIFY(QFile::link(bersaglio, corsa.test.path(nome)));

        corsa.pagine(3);
        corsa.documento.setFilePDF(corsa.test.path(u"Domanda.pdf"_s));
        corsa.documento.setTotPagine(3);
        QVERIFY(corsa.documento.CreatePDF());

        QVERIFY(corsa.test.prompt.shown().isEmpty());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("da non toccare"));
        QVERIFY(!QFileInfo(corsa.test.path(nome)).isSymLink());
        const QString info = esegui(u"pdfinfo"_s, {corsa.test.path(u"Domanda.pdf"_s)});
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+3\n"_s)), qPrintable(info));
        QCOMPARE(corsa.fileTemporanei(), QStringList());
    }

    void pageFilesThatCannotBeDeletedAreAllNamed_data()
    {
        QTest::addColumn<int>("pagine");
        QTest::addColumn<QString>("elenco");
        QTest::newRow("one") << 1 << u"%1/Pagina1.tmp"_s;
        QTest::newRow("three") << 3 << u"3 file nella cartella %1: Pagina1.tmp Pagina2.tmp Pagina3.tmp"_s;
    }
    void pageFilesThatCannotBeDeletedAreAllNamed()
    {
        QFETCH(int, pagine);
        QFETCH(QString, elenco);
        Corsa corsa;
        corsa.pagine(pagine);
        const QString cartella = corsa.test.folder();
        const QFile::Permissions permessi = QFile::permissions(cartella);
        QVERIFY(QFile::setPermissions(cartella, QFile::ReadOwner | QFile::ExeOwner));
        corsa.test.prompt.expect(u"Errore  70 --> Autorizzazione negata: "_s + elenco.arg(cartella));
        asOrdinaryUser(cartella, [&] { corsa.documento.CancellaPagine(); });
        QVERIFY(QFile::setPermissions(cartella, permessi));
        QVERIFY(corsa.test.prompt.allShown());
        QCOMPARE(corsa.test.prompt.shown().size(), 1);
        QCOMPARE(corsa.test.prompt.shown().first().title, u"Errore generico"_s);
        QCOMPARE(corsa.fileTemporanei().size(), pagine);
    }

    void aFailedCompositionLeavesNoPdfAndDeletesTheRunsPages()
    {
        Corsa corsa;
        corsa.test.writeFile(u"Domanda.pdf"_s, "il PDF di prima");
        corsa.pagine(4);
        corsa.test.writeFile(u"Pagina2.tmp"_s, "{\\rtf1 troncato");
        QVERIFY(QFile::remove(corsa.test.path(u"Pagina4.tmp"_s)));
        corsa.documento.setFilePDF(corsa.test.path(u"Domanda.pdf"_s));
        corsa.documento.setTotPagine(4);
        corsa.test.prompt.expect(u"Errore  75 --> Errore di accesso al percorso/file: "_s +
                                 corsa.test.path(u"Pagina2.tmp"_s) + u" (Il file RTF è troncato)"_s);
        QVERIFY(!corsa.documento.CreatePDF());
        QVERIFY(corsa.test.prompt.allShown());
        QCOMPARE(corsa.test.prompt.shown().size(), 1);
        QCOMPARE(corsa.test.readFile(u"Domanda.pdf"_s), QByteArray("il PDF di prima"));
        QCOMPARE(QDir(corsa.test.folder()).entryList(QDir::Files).filter(u"Domanda"_s),
                 QStringList{u"Domanda.pdf"_s});
        QCOMPARE(corsa.fileTemporanei(), QStringList());
    }

    void aFolderWithoutWritePermissionGivesTheBox()
    {
        Corsa corsa;
        corsa.pagine(2);
        QVERIFY(QDir(corsa.test.folder()).mkdir(u"chiusa"_s));
        const QString chiusa = corsa.test.path(u"chiusa"_s);
        QVERIFY(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::ExeOwner));
        const QString pdf = chiusa + u"/Domanda.pdf"_s;
        corsa.documento.setFilePDF(pdf);
        corsa.documento.setTotPagine(2);
        corsa.test.prompt.expect(u"Errore  70 --> Autorizzazione negata: "_s + pdf);
        bool creato = true;
        asOrdinaryUser(corsa.test.folder(), [&] { creato = corsa.documento.CreatePDF(); });
        QVERIFY(!creato);
        QVERIFY(corsa.test.prompt.allShown());
        QVERIFY(!QFile::exists(pdf));
        QCOMPARE(corsa.fileTemporanei(), QStringList());
        QVERIFY(QFile::setPermissions(chiusa, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

QTEST_MAIN(TestClsCreaPDF)
#include "tst_clsCreaPDF.moc"
