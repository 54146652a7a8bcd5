#include "TestContext.h"
#include "core/ui/SystemServices.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The help window of the viewer: the one window named "Aiuto". */
QWidget *helpWindow()
{
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->objectName() == u"Aiuto" && widget->isWindow())
            return widget;
    }
    return nullptr;
}

} // namespace

class TestSystemServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { installQtTranslations(*qApp); }

    void helpViewerOpensTheTopic()
    {
        TestContext test;
        test.writeFile(u"aiuto.htm"_s,
                       "<html><body><p>Indice</p><a name=\"18000\">Indirizzo e-mail</a></body></html>");
        HelpViewer viewer;
        viewer.showTopic(test.path(u"aiuto.htm"_s), 18000);
        auto *browser = qApp->findChild<QTextBrowser *>();
        const auto windows = QApplication::topLevelWidgets();
        auto it = std::find_if(windows.begin(), windows.end(),
                               [](QWidget *w) { return w->objectName() == u"Aiuto"_s; });
        QVERIFY(it != windows.end());
        browser = (*it)->findChild<QTextBrowser *>();
        QVERIFY(browser);
        QCOMPARE(browser->source().fragment(), u"18000"_s);
        QVERIFY(browser->toPlainText().contains(u"Indirizzo e-mail"_s));
    }

    void helpAskedFromAModalDialogBelongsToIt()
    {
        TestContext test;
        test.writeFile(u"aiuto.htm"_s, "<html><body><a name=\"15000\">Installazione</a></body></html>");
        HelpViewer viewer;
        QDialog modal;
        modal.setWindowModality(Qt::ApplicationModal);
        modal.show();
        QCOMPARE(QApplication::activeModalWidget(), &modal);

        viewer.showTopic(test.path(u"aiuto.htm"_s), 15000);

        QWidget *help = helpWindow();
        QVERIFY(help);
        QVERIFY(help->isVisible());
        // A window of the modal dialog's own is not blocked by it, and stays above it.
        QCOMPARE(help->parentWidget(), &modal);
        modal.hide();

        // Asked again from no modal dialog, help is a window of its own.
        viewer.showTopic(test.path(u"aiuto.htm"_s), 15000);
        QVERIFY(helpWindow());
        QCOMPARE(helpWindow()->parentWidget(), nullptr);
    }

    void qtSpeaksItalian()
    {
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"Annulla"_s);
    }

    void theFileChooserIsWideEnoughForItsColumns()
    {
        QtFileDialogs dialogs;
        int width = 0;
        QString title;
        QTimer::singleShot(0, [&] {
            auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            width = chooser->width();
            title = chooser->windowTitle();
            chooser->reject();
        });
        QCOMPARE(dialogs.openFileName(u"Seleziona base dati"_s, QDir::tempPath(), u"*.mdb"_s), QString());
        QCOMPARE(title, u"Seleziona base dati"_s);
        QVERIFY(width >= 800);
    }
};

QTEST_MAIN(TestSystemServices)
#include "tst_SystemServices.moc"
