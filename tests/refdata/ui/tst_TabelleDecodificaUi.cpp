#include "FixtureDatabase.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/data/DataEnvironment.h"
#include "core/state/StartupHooks.h"
#include "core/text/TextFile.h"
#include "core/ui/Avvio.h"
#include "refdata/ui/TabelleDecodificaUi.h"

#include <QGuiApplication>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

struct Cartella
{
    TestContext test;
    FixtureDatabase db{test.path(u"KX58TORVA.mdb"_s)};

    Cartella()
    {
        test.context().DE().CorsiDB().open(db.path(), Connection::Mode::Shared);
        test.writeFile(u"Asse.txt"_s, TextFile::joinLines({u"X"_s, u"#A#,#Uno#"_s, u"#B#,#Due#"_s}));
    }
};

} // namespace

class TestTabelleDecodificaUi : public QObject
{
    Q_OBJECT

private slots:
    void startUpHookLoadsInTheStartUpWindow()
    {
        Cartella c;
        c.test.writeFile(u"aggiorna.tab"_s, {});
        collegaTabelleDecodifica(c.test.context());
        QVERIFY(c.test.context().startupHooks().installaTabelleDecodifica);
        Avvio avvio;
        c.test.context().startupHooks().installaTabelleDecodifica(avvio);
        QVERIFY(avvio.isVisible());
        QCOMPARE(control<QLabel>(&avvio, u"lblTitolo"_s)->text(), u"AGGIORNAMENTO TABELLE"_s);
        QCOMPARE(control<QLabel>(&avvio, u"Label4"_s)->text(), u"Attendere ...."_s);
        QCOMPARE(control<QLabel>(&avvio, u"lblFile"_s)->text(), c.test.path(u"Asse.txt"_s));
        QCOMPARE(control<QLabel>(&avvio, u"lblTabe"_s)->text(), u"Asse"_s);
        QCOMPARE(control<QLabel>(&avvio, u"lblNRec"_s)->text(), u"2"_s);
        QCOMPARE(c.db.count(u"Asse"_s), 2);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void updateKeepsItsLastLineInLblCont()
    {
        Cartella c;
        c.test.writeFile(u"installa.tab"_s, {});
        QLabel LblCont;
        // The caller's hourglass too: the run ends with the normal pointer.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        AggiornaTabelleDecodifica(c.test.context(), &LblCont);
        QCOMPARE(LblCont.text(), u"Caricamento: Asse - 2"_s);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(c.db.count(u"Asse"_s), 2);
    }
};

QTEST_MAIN(TestTabelleDecodificaUi)
#include "tst_TabelleDecodificaUi.moc"
