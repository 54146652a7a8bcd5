#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/frmRiepDomanda.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/state/CurrentApplication.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Inviata = u"Domanda già inviata alla Provincia\r\nNon sarà possibile effettuare modifiche"_s;

/**
 * Application 7 of operator A-12 with three seats, application 8 with courses of its own that must
 * not count; the courses of application 7 are the test's.
 */
struct Banco
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Banco()
    {
        db.insert(u"Domande"_s, {u"NumDoma"_s, u"GrupOpe"_s, u"Operatore"_s, u"DomandaStampata"_s},
                  {{7, u"A"_s, 12, 0}, {8, u"A"_s, 12, 0}});
        db.insert(u"CorsiSediInteressate"_s, {u"NumDoma"_s, u"SedeInteressata"_s},
                  {{7, 1}, {7, 2}, {7, 1000}, {8, 1}});
        db.insert(u"CorsiProp"_s, {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"TotaleSpesa"_s},
                  {{8, 1, u"0001"_s, 99999.0}});
        CurrentApplication &domanda = test.context().domanda();
        domanda.NumDomaCorrente = 7;
        domanda.GrupOpeCorrente = u"A"_s;
        domanda.OperatoreCorrente = u"12"_s;
        domanda.DenominazioneOpCorrente = u"Ente Uno"_s;
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
    }
    ~Banco()
    {
        if (test.context().DE().CorsiDB().isOpen())
            test.context().DE().CorsiDB().close();
    }

    QString testo(QWidget *w, const QString &name) { return control<QLineEdit>(w, name)->text(); }
};

} // namespace

class TestRiepilogo : public QObject
{
    Q_OBJECT

private slots:
    void countsAndTotal_data()
    {
        QTest::addColumn<QList<QVariantList>>("corsi");
        QTest::addColumn<QString>("sedi");
        QTest::addColumn<QString>("numeroCorsi");
        QTest::addColumn<QString>("totale");

        QTest::newRow("no course") << QList<QVariantList>{} << u"0"_s << u"0"_s << u"0,00"_s;
        QTest::newRow("courses in two of three seats") << QList<QVariantList>{{7, 1, u"0001"_s, 1000.25},
                                                                              {7, 1, u"0002"_s, 234.25},
                                                                              {7, 1000, u"0001"_s, 1234567.0}}
                                                       << u"2"_s << u"3"_s << u"1.235.801,50"_s;
        QTest::newRow("a course without amount")
            << QList<QVariantList>{{7, 2, u"0001"_s, QVariant()}} << u"1"_s << u"1"_s << u"0,00"_s;
    }

    void countsAndTotal()
    {
        QFETCH(QList<QVariantList>, corsi);
        QFETCH(QString, sedi);
        QFETCH(QString, numeroCorsi);
        QFETCH(QString, totale);

        Banco banco;
        if (!corsi.isEmpty())
            banco.db.insert(u"CorsiProp"_s,
                            {u"NumDoma"_s, u"SedeInteressata"_s, u"Corso"_s, u"TotaleSpesa"_s}, corsi);
        frmRiepDomanda w(banco.test.context());

        QCOMPARE(banco.testo(&w, u"txtNumIdSEDE"_s), sedi);
        QCOMPARE(banco.testo(&w, u"txtNumCarCORSI"_s), numeroCorsi);
        QCOMPARE(banco.testo(&w, u"txtTotCOMPL"_s), totale);
    }

    void showsTheApplicationReadOnly()
    {
        Banco banco;
        frmRiepDomanda w(banco.test.context());
        w.show();
        QApplication::setActiveWindow(&w);

        QCOMPARE(w.windowTitle(), u"Riepilogo dati della domanda (schede allegate e totale finanziato)"_s);
        QCOMPARE(control<QLabel>(&w, u"lblProposta"_s)->text(), u"7"_s);
        QCOMPARE(control<QLabel>(&w, u"lblGrOpe"_s)->text(), u"A"_s);
        QCOMPARE(control<QLabel>(&w, u"lblOpe"_s)->text(), u"12"_s);
        QCOMPARE(control<QLabel>(&w, u"lblDenOpe"_s)->text(), u"Ente Uno"_s);
        for (const QString &box : {u"txtNumIdSEDE"_s, u"txtNumCarCORSI"_s, u"txtTotCOMPL"_s})
            QVERIFY(!control<QLineEdit>(&w, box)->isEnabled());
        QCOMPARE(control<QLineEdit>(&w, u"txtTotCOMPL"_s)->alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignRight);
        QCOMPARE(control<QLineEdit>(&w, u"txtNumIdSEDE"_s)->alignment() & Qt::AlignHorizontal_Mask,
                 Qt::AlignHCenter);
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(&w, u"cmdEsci"_s));
        QVERIFY(banco.test.prompt.shown().isEmpty());
    }

    void aPrintedApplicationIsAnnouncedFirst()
    {
        Banco banco;
        banco.test.context().domanda().DomandaStampataCorrente = true;
        banco.test.prompt.expect(Inviata);
        frmRiepDomanda w(banco.test.context());
        QVERIFY(banco.test.prompt.allShown());
        const ShownBox box = banco.test.prompt.shown().front();
        QCOMPARE(box.title, u"Riepilogo Domanda"_s);
        QCOMPARE(box.icon, Prompt::Icon::Warning);
        QCOMPARE(banco.testo(&w, u"txtNumIdSEDE"_s), u"0"_s);
    }

    void leaving_data()
    {
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<bool>("apertoFiltrato");

        QTest::newRow("Conferma dati") << u"CmdConferma"_s << true;
        QTest::newRow("Esci dalla Scheda Riepilogo") << u"cmdEsci"_s << false;
    }

    void leaving()
    {
        QFETCH(QString, pulsante);
        QFETCH(bool, apertoFiltrato);

        Banco banco;
        frmRiepDomanda w(banco.test.context());
        w.show();
        press(&w, pulsante);

        QVERIFY(!w.isVisible());
        Recordset &rs = banco.test.context().DE().rs(u"QryDomande"_s);
        QCOMPARE(rs.isOpen(), apertoFiltrato);
        QCOMPARE(rs.filter(), apertoFiltrato ? u"NumDoma=7"_s : QString());
        QCOMPARE(banco.db.count(u"Domande"_s), 2);
        QCOMPARE(banco.db.count(u"CorsiProp"_s), 1);
    }

    void helpWithoutHelpFile()
    {
        Banco banco;
        frmRiepDomanda w(banco.test.context());
        w.show();
        banco.test.prompt.expect(u"File di Aiuto non presente"_s);
        press(&w, u"cmdAiuto"_s);
        QVERIFY(w.isVisible());
    }
};

QTEST_MAIN(TestRiepilogo)
#include "tst_frmRiepDomanda.moc"
