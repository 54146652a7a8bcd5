#include "WindowTesting.h"
#include "core/state/CourseEditorState.h"
#include "core/state/InstallationState.h"
#include "courses/ui/EleCorsi.h"
#include "tests/courses/BancoCorsi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>

using namespace kx;

namespace {

/** Seat 3 of application 7 holds 0002, 0001 and 0010; seat 2 holds nothing. */
struct Banco : BancoCorsi
{
    Banco()
    {
        db.insert(
            u"CorsiProp"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"DenCorso"_s},
            {{7, 3, u"A"_s, 12, u"0002"_s, u"SECONDO"_s},
             {7, 3, u"A"_s, 12, u"0001"_s, u"PRIMO"_s},
             {7, 3, u"A"_s, 12, u"0010"_s, u"DECIMO"_s}});
    }

    /** The editor on the seat and course, with the caller's code in CorsoScelto. */
    std::unique_ptr<EleCorsi> apri(const QString &sede, const QString &corso)
    {
        CourseEditorState &corsi = test.context().corsi();
        corsi.impostaSede(7, sede, QString());
        corsi.impostaCorso(corso);
        corsi.CorsoScelto = corso;
        auto finestra = std::make_unique<EleCorsi>(test.context());
        finestra->show();
        return finestra;
    }
    const QString &scelto() { return test.context().corsi().CorsoScelto; }
};

QListWidget *lista(QWidget *w)
{
    return control<QListWidget>(w, u"lstAllCorsi"_s);
}

QStringList voci(QWidget *w)
{
    QStringList testi;
    for (int i = 0; i < lista(w)->count(); ++i)
        testi.append(lista(w)->item(i)->text());
    return testi;
}

} // namespace

class TestEleCorsi : public QObject
{
    Q_OBJECT

private slots:
    void theSeatsCoursesWithTheOneOnScreenSelected()
    {
        Banco banco;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto w = banco.apri(u"3"_s, u"0002"_s);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(w->objectName(), u"EleCorsi"_s);
        QCOMPARE(w->windowTitle(), u"Elenco Corsi inseriti"_s);
        QCOMPARE(control<QLabel>(w.get(), u"Label1"_s)->text(),
                 u"Selezionare il corso che si vuole gestire"_s);
        QCOMPARE(voci(w.get()), (QStringList{u"0001 PRIMO"_s, u"0002 SECONDO"_s, u"0010 DECIMO"_s}));
        QCOMPARE(lista(w.get())->currentRow(), 1);
        QVERIFY(lista(w.get())->currentItem()->isSelected());
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdSele2"_s)->text(), u"Conferma"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdEsci2"_s)->text(), u"Annulla"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdSele2"_s)->property("picture").toString(),
                 u"imgConferma"_s);
        QCOMPARE(control<QAbstractButton>(w.get(), u"cmdEsci2"_s)->property("picture").toString(),
                 u"imgAnnulla"_s);

        banco.test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        banco.test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        QCOMPARE(banco.test.help.topics, QList<int>{22000});
    }

    void aCourseAddedSinceTheEditorReadItsRowsIsListed()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s, u"0001"_s);
        QCOMPARE(lista(w.get())->count(), 3);
        banco.db.insert(
            u"CorsiProp"_s,
            {u"NumDoma"_s, u"SedeInteressata"_s, u"GrupOpe"_s, u"Operatore"_s, u"Corso"_s, u"DenCorso"_s},
            {{7, 3, u"A"_s, 12, u"0011"_s, u"AGGIUNTO"_s}});
        auto dopo = banco.apri(u"3"_s, u"0001"_s);
        QCOMPARE(voci(dopo.get()).constLast(), u"0011 AGGIUNTO"_s);
    }

    void confermaAndADoubleClickChooseTheCode_data()
    {
        QTest::addColumn<bool>("doppioClic");
        QTest::newRow("Conferma") << false;
        QTest::newRow("double click") << true;
    }

    void confermaAndADoubleClickChooseTheCode()
    {
        QFETCH(bool, doppioClic);
        Banco banco;
        auto w = banco.apri(u"3"_s, u"0002"_s);
        lista(w.get())->setCurrentRow(2);
        if (doppioClic) {
            QListWidget *l = lista(w.get());
            const QRect riga = l->visualItemRect(l->item(2));
            QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, riga.center());
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, riga.center());
        } else {
            press(w.get(), u"cmdSele2"_s);
        }
        QCOMPARE(banco.scelto(), u"0010"_s);
        QCOMPARE(w->result(), int(QDialog::Accepted));
        QVERIFY(!w->isVisible());
    }

    void annullaLeavesTheCallersCode()
    {
        Banco banco;
        auto w = banco.apri(u"3"_s, u"0002"_s);
        lista(w.get())->setCurrentRow(0);
        press(w.get(), u"cmdEsci2"_s);
        QCOMPARE(banco.scelto(), u"0002"_s);
        QCOMPARE(w->result(), int(QDialog::Rejected));
    }

    void anEmptyListConfirmsNothing()
    {
        Banco banco;
        auto w = banco.apri(u"2"_s, u"0001"_s);
        QCOMPARE(lista(w.get())->count(), 0);
        press(w.get(), u"cmdSele2"_s);
        QVERIFY(w->isVisible());
        QCOMPARE(banco.scelto(), u"0001"_s);
    }
};

QTEST_MAIN(TestEleCorsi)
#include "tst_EleCorsi.moc"
