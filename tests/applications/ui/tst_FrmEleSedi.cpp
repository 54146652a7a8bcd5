#include "TestContext.h"
#include "WindowTesting.h"
#include "applications/ui/FrmEleSedi.h"
#include "tests/applications/BancoSedi.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace kx;

namespace {

QListWidget *lista(QWidget *w)
{
    return control<QListWidget>(w, u"lstSedi"_s);
}

} // namespace

class TestFrmEleSedi : public QObject
{
    Q_OBJECT

private slots:
    void preselectsTheSeatShown()
    {
        BancoSedi banco;
        SceltaSede scelta{u"2"_s, true};
        FrmEleSedi w(banco.test.context(), scelta);
        w.show();
        QCOMPARE(w.windowTitle(), u"Elenco Sedi Interessate"_s);
        QCOMPARE(lista(&w)->count(), 2);
        QCOMPARE(lista(&w)->currentRow(), 1);
        QVERIFY(lista(&w)->font().fixedPitch() || QFontInfo(lista(&w)->font()).fixedPitch());
        QVERIFY(lista(&w)->item(0)->text().startsWith(u"1     - SEDE LEGALE"_s));
    }

    void confermaAndDoubleClickChoose_data()
    {
        QTest::addColumn<bool>("doppioClic");
        QTest::newRow("Conferma") << false;
        QTest::newRow("double click") << true;
    }
    void confermaAndDoubleClickChoose()
    {
        QFETCH(bool, doppioClic);
        BancoSedi banco;
        SceltaSede scelta{u"1"_s, true};
        FrmEleSedi w(banco.test.context(), scelta);
        w.show();
        lista(&w)->setCurrentRow(1);
        if (doppioClic)
            emit lista(&w)->itemDoubleClicked(lista(&w)->item(1));
        else
            press(&w, u"cmdSele2"_s);
        QCOMPARE(scelta.SedeScelta, u"2"_s);
        QVERIFY(scelta.SedeSceltaConfermata);
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }

    void annullaKeepsThePreset()
    {
        BancoSedi banco;
        SceltaSede scelta{u"1"_s, true};
        QPushButton vai;
        vai.setDown(true);
        FrmEleSedi w(banco.test.context(), scelta, &vai);
        w.show();
        lista(&w)->setCurrentRow(1);
        press(&w, u"cmdEsci2"_s);
        QCOMPARE(scelta.SedeScelta, u"1"_s);
        QVERIFY(!vai.isDown());
    }

    void noSelectionIsNoChoice_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("righe");
        QTest::newRow("seat shown missing")
            << u"DELETE FROM CorsiSediInteressate WHERE SedeInteressata=1"_s << 1;
        QTest::newRow("empty list") << u"DELETE FROM CorsiSediInteressate"_s << 0;
    }
    void noSelectionIsNoChoice()
    {
        QFETCH(QString, sql);
        QFETCH(int, righe);
        BancoSedi banco;
        banco.db.execute(sql);
        SceltaSede scelta{u"1"_s, false};
        FrmEleSedi w(banco.test.context(), scelta);
        w.show();
        QCOMPARE(lista(&w)->count(), righe);
        QVERIFY(lista(&w)->selectedItems().isEmpty());
        press(&w, u"cmdSele2"_s);
        QCOMPARE(scelta.SedeScelta, u"1"_s);
        QVERIFY(!scelta.SedeSceltaConfermata);
    }
};

QTEST_MAIN(TestFrmEleSedi)
#include "tst_FrmEleSedi.moc"
