#include "BancoDocumento.h"
#include "core/data/Recordset.h"
#include "document/ComposizioneDocumento.h"

#include <QTest>

using namespace kx;
using namespace Qt::StringLiterals;

namespace {

const QString TitoloCreato = u"Compilazione File di stampa"_s;

QString messaggioCreato(const QString &pdf)
{
    return u"E' stato creato il file "_s + pdf + u'.';
}

/** The placeholders still standing in a page's text. */
QStringList segnapostiRimasti(const QString &testo)
{
    static const QRegularExpression segnaposto(u"<[A-Za-z_0-9]+>"_s);
    QStringList rimasti;
    for (auto it = segnaposto.globalMatch(testo); it.hasNext();)
        rimasti.append(it.next().captured());
    return rimasti;
}

/** The texts in order, each found after the one before it. */
bool inOrdine(const QString &testo, const QStringList &parti)
{
    qsizetype da = 0;
    for (const QString &parte : parti) {
        da = testo.indexOf(parte, da);
        if (da < 0)
            return false;
        da += parte.size();
    }
    return true;
}

} // namespace

class TestComposizioneDocumento : public QObject
{
    Q_OBJECT

private slots:
    void theWholeApplicationGivesOnePagePerSummarySeatAndCourse()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        const QString pdf = banco.pdf(u"BOZZA"_s);
        banco.test.prompt.expect(messaggioCreato(pdf));
        QList<int> pagineIniziate;
        ComposizioneDocumento run(context);
        run.inizioPagina = [&](int numero) { pagineIniziate.append(numero); };

        QVERIFY(run.esegui());

        QCOMPARE(banco.test.prompt.shown().last().title, TitoloCreato);
        QCOMPARE(banco.test.prompt.shown().last().icon, Prompt::Icon::Information);
        QCOMPARE(pagineIniziate, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(paginePdf(pdf), 8);
        QVERIFY(eseguiStrumento(u"pdfinfo"_s, {pdf}).contains(TitoloDocumentoPdf));
        QVERIFY2(banco.pagineTemporanee().isEmpty(), qPrintable(banco.pagineTemporanee().join(u' ')));

        QStringList testi;
        for (int k = 1; k <= 8; ++k) {
            const QString testo = testoPaginaPdf(pdf, k);
            testi.append(testo);
            QVERIFY2(testo.contains(u"( "_s + QString::number(k) + u')'), qPrintable(testo));
            QVERIFY2(inOrdine(testo, {u"204"_s, u"15/03/2021"_s, u"BOZZA"_s, u"(ver. 1.0.5)"_s}),
                     qPrintable(testo));
            QVERIFY2(segnapostiRimasti(testo).isEmpty(), qPrintable(segnapostiRimasti(testo).join(u' ')));
        }
        QVERIFY2(inOrdine(testi[0],
                          {u"Sedi interessate"_s, u"2"_s, u"Corsi proposti"_s, u"3"_s, u"1.234.567,50"_s}),
                 qPrintable(testi[0]));
        QVERIFY2(testi[1].contains(u"DICHIARA"_s), qPrintable(testi[1]));
        QVERIFY2(inOrdine(testi[2], {u"Gruppo e codice operatore"_s, u"B"_s, u"17"_s, u"PARTITA IVA"_s,
                                     u"01234567890"_s, u"Mario Rossi"_s, u"05/03/1960"_s,
                                     u"IT60X0542811101000000123456"_s, u"ENTE FORMAZIONE ESEMPIO"_s,
                                     u"Istruzione post-secondaria"_s, u"8542"_s}),
                 qPrintable(testi[2]));
        QVERIFY2(inOrdine(testi[3], {u"SEDE INTERESSATA"_s, u"Sede Legale Ente"_s, u"Roma"_s, u"H501"_s,
                                     u"Bacino Centro"_s, u"Anna Bianchi"_s}),
                 qPrintable(testi[3]));
        QVERIFY2(inOrdine(testi[4], {u"Unita Locale Milano"_s, u"Milano"_s, u"F205"_s}),
                 qPrintable(testi[4]));
        const QList<QStringList> corsi{{u"Corso 1/0001"_s, u"234567,5"_s},
                                       {u"Corso 1/0002"_s, u"1000000"_s},
                                       {u"Corso 2/0001"_s, u"0"_s}};
        for (int c = 0; c < corsi.size(); ++c)
            QVERIFY2(inOrdine(testi[5 + c],
                              {u"SCHEDA CORSO"_s, u"Q01 - "_s + corsi[c][0], u"Costo totale"_s, corsi[c][1]}),
                     qPrintable(testi[5 + c]));
    }

    void everyPageFitsOneSheetWithEveryValueAtItsFullLength()
    {
        BancoDocumento banco;
        banco.allungaValori();
        const QString pdf = banco.pdf(u"BOZZA"_s);
        banco.test.prompt.expect(messaggioCreato(pdf));

        QVERIFY(ComposizioneDocumento(banco.test.context()).esegui());

        QCOMPARE(paginePdf(pdf), 8);
        const QString caratteri = eseguiStrumento(u"pdffonts"_s, {pdf});
        for (const QString &faccia :
             {u"LiberationSans "_s, u"LiberationSans-Bold"_s, u"LiberationSerif "_s, u"DejaVuSans"_s})
            QVERIFY2(caratteri.contains(faccia), qPrintable(caratteri));
    }

    void aRunOverEverySeatLeavesTheLastSeatAndClosedViews()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        context.corsi().DesSedeCorrente = u"non toccata"_s;
        banco.test.prompt.expect(messaggioCreato(banco.pdf(u"BOZZA"_s)));
        QVERIFY(ComposizioneDocumento(context).esegui());

        QCOMPARE(context.corsi().SedeCorrente, u"2"_s);
        QCOMPARE(context.corsi().FiltroSedeCorrente, u"NumDoma=204 AND SedeInteressata=2"_s);
        QCOMPARE(context.corsi().DesSedeCorrente, u"non toccata"_s);
        for (const QString &vista :
             {u"QryDomande"_s, u"QrySediIntCorsi"_s, u"QryCorsi"_s, u"QryDomandeSedLeg"_s}) {
            Recordset &rs = context.DE().rs(vista);
            QVERIFY2(!rs.isOpen(), qPrintable(vista));
            QVERIFY2(rs.filter().isEmpty(), qPrintable(vista));
        }
        QCOMPARE(context.stampa().TipoStampa, u"BOZZA"_s);
    }

    void withOneSeatChosenAllSeatsButOnlyItsCoursesArePrinted()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        context.stampa().TipoStampa = u"ORIGINALE"_s;
        context.corsi().SedeCorrente = u"1"_s;
        context.corsi().FiltroSedeCorrente = u"NumDoma=204 AND SedeInteressata=1"_s;
        const QString pdf = banco.pdf(u"ORIGINALE"_s);
        banco.test.prompt.expect(messaggioCreato(pdf));

        QVERIFY(ComposizioneDocumento(context).esegui());

        QCOMPARE(paginePdf(pdf), 3 + 2 + 2);
        QVERIFY(testoPaginaPdf(pdf, 5).contains(u"Unita Locale Milano"_s));
        QVERIFY(testoPaginaPdf(pdf, 6).contains(u"Corso 1/0001"_s));
        QVERIFY(testoPaginaPdf(pdf, 7).contains(u"Corso 1/0002"_s));
        QVERIFY(testoPaginaPdf(pdf, 7).contains(u"ORIGINALE"_s));
        QCOMPARE(context.corsi().SedeCorrente, u"1"_s);
    }

    void theSingleCourseDraftIsOnePageOfThatCourse()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        context.stampa().TipoStampa = TipiStampa::BozzaCorso;
        const QString pdf = banco.pdf(u"BOZZA CORSO"_s);
        banco.test.prompt.expect(messaggioCreato(pdf));

        QVERIFY(ComposizioneDocumento(context, ChiaveCorso{204, u"1"_s, u"0002"_s}).esegui());

        QCOMPARE(paginePdf(pdf), 1);
        const QString testo = testoPaginaPdf(pdf, 1);
        QVERIFY2(inOrdine(testo, {u"BOZZA CORSO"_s, u"Corso 1/0002"_s, u"( 1)"_s}), qPrintable(testo));
        QVERIFY(banco.pagineTemporanee().isEmpty());
    }

    void theSingleCourseDraftOfACourseNoLongerStoredMakesNoPdf()
    {
        BancoDocumento banco;
        Context &context = banco.test.context();
        context.stampa().TipoStampa = TipiStampa::BozzaCorso;
        banco.test.prompt.expect(u"Errore  3021 --> "_s + RoutineError::standardDescription(3021));

        QVERIFY(!ComposizioneDocumento(context, ChiaveCorso{204, u"1"_s, u"0009"_s}).esegui());

        QCOMPARE(banco.test.prompt.shown().last().title, u"Errore generico"_s);
        QVERIFY(!QFile::exists(banco.pdf(u"BOZZA CORSO"_s)));
        QVERIFY(banco.pagineTemporanee().isEmpty());
    }

    void thePdfNameEndsWithThePrintType_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("nome");
        QTest::newRow("draft") << u"BOZZA"_s << u"KX58TORVA-B17-XY-Domanda204-BOZZA.pdf"_s;
        QTest::newRow("definitive") << u"ORIGINALE"_s << u"KX58TORVA-B17-XY-Domanda204-ORIGINALE.pdf"_s;
        QTest::newRow("single-course draft, its blank kept")
            << u"BOZZA CORSO"_s << u"KX58TORVA-B17-XY-Domanda204-BOZZA CORSO.pdf"_s;
    }
    void thePdfNameEndsWithThePrintType()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, nome);
        QCOMPARE(nomeFilePdf(u"B"_s, u"17"_s, u"XY"_s, 204, tipo), nome);
    }

    void theVersionText()
    {
        QCOMPARE(testoVersione(u"1.0.5"_s), u"(ver. 1.0.5)"_s);
        BancoDocumento banco;
        banco.test.context().impostaVersione(u"2.10.0"_s);
        QCOMPARE(ComposizioneDocumento(banco.test.context()).TestoVersione, u"(ver. 2.10.0)"_s);
    }

    void aCancelAtAPageLeavesTheFilesBeforeItAndNoPdf_data()
    {
        QTest::addColumn<int>("pagina");
        QTest::newRow("at the summary") << 1;
        QTest::newRow("at the operator page") << 3;
        QTest::newRow("at the first course") << 6;
    }
    void aCancelAtAPageLeavesTheFilesBeforeItAndNoPdf()
    {
        QFETCH(int, pagina);
        BancoDocumento banco;
        ComposizioneDocumento run(banco.test.context());
        QList<int> pagineIniziate;
        run.inizioPagina = [&](int numero) {
            pagineIniziate.append(numero);
            if (numero == pagina)
                run.annulla();
        };

        QVERIFY(!run.esegui());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!QFile::exists(banco.pdf(u"BOZZA"_s)));
        QStringList attese;
        for (int k = 1; k < pagina; ++k)
            attese.append(u"Pagina"_s + QString::number(k) + u".tmp"_s);
        QCOMPARE(banco.pagineTemporanee(), attese);
        QCOMPARE(pagineIniziate.last(), 8);
    }

    void aMissingTemplateStopsTheRunBeforeTheFirstPage_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("modello");
        QTest::newRow("the operator page's") << u"BOZZA"_s << u"_JW63PELO-03.dat"_s;
        QTest::newRow("the course page's, for a draft of one course")
            << u"BOZZA CORSO"_s << u"_JW63PELO-05.dat"_s;
    }
    void aMissingTemplateStopsTheRunBeforeTheFirstPage()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, modello);
        BancoDocumento banco;
        QVERIFY(QFile::remove(banco.test.path(modello)));
        banco.test.context().stampa().TipoStampa = tipo;
        banco.test.prompt.expect(u"Errore  53 --> "_s + RoutineError::standardDescription(53) + u": "_s +
                                 banco.test.path(modello));
        bool iniziata = false;
        ComposizioneDocumento run(banco.test.context(), ChiaveCorso{204, u"1"_s, u"0001"_s});
        run.inizioPagina = [&](int) { iniziata = true; };

        QVERIFY(!run.esegui());

        const ShownBox box = banco.test.prompt.shown().last();
        QCOMPARE(box.title, u"Errore generico"_s);
        QCOMPARE(box.icon, Prompt::Icon::Warning);
        QVERIFY(!iniziata);
        QVERIFY(banco.pagineTemporanee().isEmpty());
        QVERIFY(!QFile::exists(banco.pdf(tipo)));
    }

    void aPdfNameLeavingTheProgramFolderRefusesTheRun_data()
    {
        QTest::addColumn<QString>("grupOpe");
        QTest::addColumn<QString>("sigProv");
        QTest::addColumn<QString>("dato");
        QTest::addColumn<QString>("fuori");
        QTest::newRow("group") << u"A/../../x"_s << u"XY"_s << u"A/../../x"_s
                               << u"x17-XY-Domanda204-BOZZA.pdf"_s;
        QTest::newRow("province") << u"B"_s << u"/../../x"_s << u"/../../x"_s << u"x-Domanda204-BOZZA.pdf"_s;
    }
    void aPdfNameLeavingTheProgramFolderRefusesTheRun()
    {
        QFETCH(QString, grupOpe);
        QFETCH(QString, sigProv);
        QFETCH(QString, dato);
        QFETCH(QString, fuori);
        BancoDocumento banco;
        banco.test.context().domanda().GrupOpeCorrente = grupOpe;
        banco.db.execute(u"UPDATE Province SET SigProv = '"_s + sigProv + u'\'');
        const QString esterno = QFileInfo(banco.test.folder()).path() + u'/' + fuori;
        banco.test.prompt.expect(u"Errore  5 --> Il dato \""_s + dato +
                                 u"\" non può far parte del nome del file PDF"_s);
        bool iniziata = false;
        ComposizioneDocumento run(banco.test.context());
        run.inizioPagina = [&](int) { iniziata = true; };

        const bool creato = run.esegui();
        const bool scrittoFuori = QFile::remove(esterno);

        QVERIFY(!creato);
        QVERIFY(!scrittoFuori);
        QVERIFY(banco.test.prompt.allShown());
        QCOMPARE(banco.test.prompt.shown().last().title, u"Errore generico"_s);
        QVERIFY(!iniziata);
        QVERIFY(banco.pagineTemporanee().isEmpty());
    }

    void aClosedViewEndsTheCompositionWithoutPdfOrSuccessBox()
    {
        BancoDocumento banco;
        ComposizioneDocumento run(banco.test.context());
        // The seats' view closed under the run while the first seat's courses print, as another routine
        // closing it would: the run cannot go on to the next seat.
        run.inizioPagina = [&](int numero) {
            if (numero == 6)
                banco.test.context().DE().rs(u"QrySediIntCorsi"_s).close();
        };

        QVERIFY(!run.esegui());

        QVERIFY(banco.test.prompt.shown().isEmpty());
        QVERIFY(!QFile::exists(banco.pdf(u"BOZZA"_s)));
        QVERIFY2(banco.pagineTemporanee().isEmpty(), qPrintable(banco.pagineTemporanee().join(u' ')));
    }
};

QTEST_MAIN(TestComposizioneDocumento)
#include "tst_ComposizioneDocumento.moc"
