#include "TestContext.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/state/Preferences.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/KeyFilter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

Q_DECLARE_METATYPE(KeyFilter::Kind)

class TestFieldWidgets : public QObject
{
    Q_OBJECT

private slots:
    void numericFilterOnTypedKeys()
    {
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, KeyFilter::Kind::Numerico);
        edit.show();
        QSignalSpy returns(&edit, &QLineEdit::returnPressed);

        QTest::keyClicks(&edit, u"12.5"_s);
        QCOMPARE(edit.text(), u"12,5"_s);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), u"12,"_s);
        QTest::keyClick(&edit, Qt::Key_Return);
        QCOMPARE(returns.count(), 0);
        QCOMPARE(test.beeper.beeps, 0);

        test.prompt.expect(u"Carattere non numerico"_s);
        test.prompt.expect(u"Carattere non numerico"_s);
        QTest::keyClick(&edit, 'a');
        QTest::keyClick(&edit, '-');
        QCOMPARE(edit.text(), u"12,"_s);
        QCOMPARE(test.beeper.beeps, 2);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, u"Campo Numerico"_s);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Information);
    }

    void numericFilterLetsEditingAndMovingKeysThrough()
    {
        TestContext test;
        QWidget window;
        auto *edit = new QLineEdit(u"123"_s, &window);
        auto *next = new QLineEdit(&window);
        KeyFilter::install(test.context(), edit, KeyFilter::Kind::Numerico);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        edit->setCursorPosition(0);

        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), u"23"_s);
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(window.focusWidget(), next);
        QCOMPARE(test.beeper.beeps, 0);
    }

    void numericFilterOnPastedText()
    {
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, KeyFilter::Kind::Numerico);
        QApplication::clipboard()->setText(u"1 2a3.4"_s);
        edit.paste();
        QCOMPARE(edit.text(), u"123,4"_s);
        QCOMPARE(edit.cursorPosition(), 5);
        QCOMPARE(test.beeper.beeps, 0);
    }

    void filtersLeaveTheProgramsTextAlone_data()
    {
        QTest::addColumn<KeyFilter::Kind>("kind");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("formatted number")
            << KeyFilter::Kind::Numerico << u"1.234"_s << u"5.6"_s << u"1.2345,6"_s;
        QTest::newRow("negative amount") << KeyFilter::Kind::Numerico << u"-12"_s << u"-3"_s << u"-123"_s;
        QTest::newRow("stored lower case")
            << KeyFilter::Kind::Maiuscolo << u"Forlì"_s << u"-cesena"_s << u"Forlì-CESENA"_s;
    }

    void filtersLeaveTheProgramsTextAlone()
    {
        QFETCH(KeyFilter::Kind, kind);
        QFETCH(QString, set);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, kind);
        edit.setText(set);
        QCOMPARE(edit.text(), set);
        QApplication::clipboard()->setText(pasted);
        edit.end(false);
        edit.paste();
        QCOMPARE(edit.text(), shown);
        QCOMPARE(edit.cursorPosition(), shown.size());
        edit.setText(set);
        QCOMPARE(edit.text(), set);
    }

    void aPasteInsertsWhatFitsInTheRoomLeft_data()
    {
        QTest::addColumn<QString>("prima");
        QTest::addColumn<int>("da");
        QTest::addColumn<int>("selezionati");
        QTest::addColumn<QString>("incollato");
        QTest::addColumn<QString>("dopo");
        QTest::addColumn<int>("cursore");

        // A limit of 5 characters.
        QTest::newRow("at the end") << u"ab"_s << 2 << 0 << u"12345"_s << u"ab123"_s << 5;
        QTest::newRow("in the middle") << u"abcd"_s << 2 << 0 << u"XYZ"_s << u"abXcd"_s << 3;
        QTest::newRow("over a selection") << u"abcd"_s << 1 << 2 << u"WXYZ"_s << u"aWXYd"_s << 4;
        QTest::newRow("what fits whole") << u"ab"_s << 1 << 0 << u"12"_s << u"a12b"_s << 3;
        QTest::newRow("no room left") << u"abcde"_s << 5 << 0 << u"X"_s << u"abcde"_s << 5;
        QTest::newRow("repeated text") << u"abab"_s << 2 << 0 << u"abab"_s << u"abaab"_s << 3;
        QTest::newRow("a longer stored value keeps its length")
            << u"abcdefg"_s << 2 << 2 << u"XYZ"_s << u"abXYefg"_s << 4;
    }
    void aPasteInsertsWhatFitsInTheRoomLeft()
    {
        QFETCH(QString, prima);
        QFETCH(int, da);
        QFETCH(int, selezionati);
        QFETCH(QString, incollato);
        QFETCH(QString, dopo);
        QFETCH(int, cursore);
        QLineEdit edit;
        LimitaDigitazione(&edit, 5);
        edit.setText(prima);
        edit.setSelection(da, selezionati);
        if (selezionati == 0)
            edit.setCursorPosition(da);
        QApplication::clipboard()->setText(incollato);
        edit.paste();
        QCOMPARE(edit.text(), dopo);
        QCOMPARE(edit.cursorPosition(), cursore);
        QVERIFY(edit.isModified());
    }

    void aPasteIsFilteredThenCutToTheRoomLeft()
    {
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, KeyFilter::Kind::Numerico);
        LimitaDigitazione(&edit, 4);
        edit.show();
        QTest::keyClicks(&edit, u"1"_s);
        QApplication::clipboard()->setText(u"2.3a45"_s);
        edit.paste();
        QCOMPARE(edit.text(), u"12,3"_s);
        QTest::keyClicks(&edit, u"9"_s);
        QCOMPARE(edit.text(), u"12,3"_s);
        QCOMPARE(test.beeper.beeps, 0);
    }

    void formattedNumberKeepsItsSeparatorsWhileTyping()
    {
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, KeyFilter::Kind::Numerico);
        edit.show();
        const auto format = [&edit] { FormattaNumero(&edit, u"#,###,##0"_s); };
        QObject::connect(&edit, &QLineEdit::textEdited, &edit, format);

        QTest::keyClicks(&edit, u"1234"_s);
        QCOMPARE(edit.text(), u"1.234"_s);
        QTest::keyClicks(&edit, u"56"_s);
        QCOMPARE(edit.text(), u"123.456"_s);
        QCOMPARE(edit.cursorPosition(), 7);
        edit.setCursorPosition(1);
        QTest::keyClick(&edit, '0');
        QCOMPARE(edit.text(), u"1.023.456"_s);
        QCOMPARE(edit.cursorPosition(), 3);
    }

    void capitalsFilter()
    {
        TestContext test;
        QLineEdit edit;
        KeyFilter::install(test.context(), &edit, KeyFilter::Kind::Maiuscolo);
        edit.show();
        QTest::keyClicks(&edit, u"forl"_s);
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, u"ì"_s, Qt::NoModifier);
        QTest::keyClicks(&edit, u"-cesena 1"_s);
        QCOMPARE(edit.text(), u"FORLÌ-CESENA 1"_s);
        QApplication::clipboard()->setText(u"è"_s);
        edit.paste();
        QCOMPARE(edit.text(), u"FORLÌ-CESENA 1È"_s);
    }

    void formattaNumeroKeepsTheCaret()
    {
        QLineEdit edit;
        edit.setText(u"1234"_s);
        edit.setCursorPosition(4);
        FormattaNumero(&edit, u"#,###,##0"_s);
        QCOMPARE(edit.text(), u"1.234"_s);
        QCOMPARE(edit.cursorPosition(), 5);

        edit.setText(u"12x"_s);
        FormattaNumero(&edit, u"#,###,##0"_s);
        QCOMPARE(edit.text(), QString());
    }

    void controllaCampoObbligatorio()
    {
        TestContext test;
        QWidget window;
        auto *empty = new QLineEdit(&window);
        auto *blanks = new QLineEdit(u"  "_s, &window);
        window.show();
        QVERIFY(ControllaCampoObbligatorio(test.context(), blanks, u"x"_s));

        test.prompt.expect(u"Indicare la denominazione"_s);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QVERIFY(!ControllaCampoObbligatorio(test.context(), empty, u"Indicare la denominazione"_s));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QCOMPARE(test.prompt.shown().back().title, u"Verifica dati"_s);
        QCOMPARE(test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QCOMPARE(window.focusWidget(), empty);
    }

    void controllaEMail()
    {
        TestContext test;
        QWidget window;
        auto *box = new QLineEdit(u"Indirizzo e-mail..."_s, &window);
        auto *other = new QLineEdit(&window);
        window.show();
        other->setFocus();
        test.prompt.expect(
            u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s);
        test.context().preferenze().EMailValida = true;
        ControllaEMail(test.context(), box);
        QVERIFY(!test.context().preferenze().EMailValida);
        QCOMPARE(test.prompt.shown().back().title, u"Indirizzo e-mail"_s);
        QCOMPARE(window.focusWidget(), box);

        box->setText(u"mario.rossi@esempio.it"_s);
        ControllaEMail(test.context(), box);
        QVERIFY(test.context().preferenze().EMailValida);
        QVERIFY(test.prompt.allShown());
    }

    void mostraAiuto()
    {
        TestContext test;
        test.context().installazione().FileAiuto = test.path(u"KX58TORVA.htm"_s);
        test.prompt.expect(u"File di Aiuto non presente"_s);
        MostraAiuto(test.context(), 15000);
        QCOMPARE(test.prompt.shown().back().title, u"Aiuto"_s);
        QVERIFY(test.help.topics.isEmpty());

        test.writeFile(u"kx58torva.HTM"_s, "<html><body><a name=\"15000\">Impostazioni</a></body></html>");
        MostraAiuto(test.context(), 15000);
        QCOMPARE(test.help.topics, QList<int>{15000});
        QCOMPARE(test.help.lastFile, test.path(u"kx58torva.HTM"_s));
    }

    void f1OpensTheWindowsTopic()
    {
        TestContext test;
        test.writeFile(u"aiuto.htm"_s, "<html></html>");
        test.context().installazione().FileAiuto = u"aiuto.htm"_s;
        QWidget window;
        auto *edit = new QLineEdit(&window);
        setHelpContext(test.context(), &window, 18000);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_F1);
        QCOMPARE(test.help.topics, QList<int>{18000});
    }

    void debugMode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("debug");
        QTest::newRow("none") << QStringList() << false;
        QTest::newRow("exactly") << QStringList{u"DEBUG"_s} << true;
        QTest::newRow("lower case") << QStringList{u"debug"_s} << false;
        QTest::newRow("with more") << QStringList{u"DEBUG"_s, u"x"_s} << false;
    }

    void debugMode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, debug);
        TestContext test;
        test.commandLine.args = arguments;
        QCOMPARE(test.context().modalitaDebug(), debug);
    }
};

QTEST_MAIN(TestFieldWidgets)
#include "tst_FieldWidgets.moc"
