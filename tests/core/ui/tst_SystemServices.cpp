#include "TestContext.h"
#include "core/ui/SystemServices.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>

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
    void initTestCase() { usaItaliano(*qApp); }

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

    void thePageOpensWhenTheDesktopsOpenerTakesIt_data()
    {
        QTest::addColumn<QByteArray>("opener");
        QTest::addColumn<bool>("opened");
        QTest::newRow("a browser took it")
            << QByteArray("echo \"$1\" > \"$(dirname \"$0\")/aperto\"") << true;
        QTest::newRow("no browser") << QByteArray(
                                           "echo \"xdg-open: no method available for opening '$1'\" >&2\n"
                                           "exit 3")
                                    << false;
        QTest::newRow("a browser still running in the foreground")
            << QByteArray("echo \"$1\" > \"$(dirname \"$0\")/aperto\"\nsleep 10") << true;
    }
    void thePageOpensWhenTheDesktopsOpenerTakesIt()
    {
        QFETCH(QByteArray, opener);
        QFETCH(bool, opened);
        QTemporaryDir bin;
        QFile script(bin.filePath(u"xdg-open"_s));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + opener + '\n');
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        const QUrl url(u"http://127.0.0.1:8088/richiesta?fr=a@b.it&d=Centro Formazione"_s);

        const bool result = DesktopUrlOpener().open(url);
        qputenv("PATH", path);

        QCOMPARE(result, opened);
        if (opened) {
            QFile aperto(bin.filePath(u"aperto"_s));
            QVERIFY(aperto.open(QIODevice::ReadOnly));
            QCOMPARE(aperto.readAll(), url.toString(QUrl::FullyEncoded).toUtf8() + '\n');
        }
    }

    void theFileChooserShowsSizesAndDatesTheItalianWay()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(u"KX58TORVA.mdb"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'x'));
        file.close();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(
            file.setFileTime(QDateTime(QDate(2021, 3, 9), QTime(16, 5)), QFileDevice::FileModificationTime));
        file.close();
        QStringList row;
        QTimer::singleShot(0, [&] {
            auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            auto *details = chooser->findChild<QTreeView *>(u"treeView"_s);
            if (!QTest::qWaitFor([&] { return details->model()->rowCount(details->rootIndex()) > 0; }))
                return chooser->reject();
            const QModelIndex name = details->model()->index(0, 0, details->rootIndex());
            for (int column = 0; column < 4; ++column)
                row << name.siblingAtColumn(column).data().toString();
            chooser->reject();
        });
        QtFileDialogs().openFileName(u"Seleziona base dati"_s, folder.path(), u"*.mdb"_s);

        QCOMPARE(row.value(0), u"KX58TORVA.mdb"_s);
        QCOMPARE(row.value(1), u"2,00 kB"_s);
        QCOMPARE(row.value(3), u"09/03/21 16:05"_s);
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

    void aBoxIsAsWideAsItsTitleNeeds_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("icon");
        QTest::newRow("a short text")
            << u"Inserimento Corso"_s << u"Corso inserito"_s << int(Prompt::Icon::Information);
        QTest::newRow("without icon") << u"Aggiornamento Base Dati"_s << u"OK"_s << int(Prompt::Icon::None);
        QTest::newRow("a long title") << u"Trasmissione al sistema VORDAN completata con successo"_s
                                      << u"Fatto."_s << int(Prompt::Icon::Information);
    }
    void aBoxIsAsWideAsItsTitleNeeds()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(int, icon);
        int width = 0;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            width = box->width();
            shown = box->windowTitle();
            box->accept();
        });
        MessageBoxPrompt().ask(Prompt::Icon(icon), Prompt::Buttons::Ok, title, text);
        QCOMPARE(shown, title);
        // The frame writes the title in bold beside its icon and its three buttons, each about as wide
        // as one and a half lines of the title.
        QFont bold = QApplication::font("QMdiSubWindowTitleBar");
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        QVERIFY2(width >= metrics.horizontalAdvance(title) + 6 * metrics.height(),
                 qPrintable(QString::number(width)));
    }

    void aFieldShowsAValueTooLongForTheBoxWhole()
    {
        const QString address =
            u"http://127.0.0.1:8088/assistenza/richiesta.php?fr=mario.rossi%40esempio.it"
            u"&gr=A&op=12&den=CENTRO%20FORMAZIONE%20EMILIA&so=Debian%20GNU%2FLinux%2012"
            u"&br=Browser%20predefinito%20non%20trovato&mem=16%20GB&arc=%2Fhome%2Fmario%2F"
            u"KX58TORVA_20210301_A12-2021001.zip"_s;
        QString value;
        QString text;
        bool readOnly = false;
        bool inside = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->text();
            if (auto *field = box->findChild<QLineEdit *>()) {
                value = field->text();
                readOnly = field->isReadOnly();
                const QRect where(field->mapTo(box, QPoint(0, 0)), field->size());
                inside = field->isVisible() && box->rect().contains(where);
                field->selectAll();
                field->copy();
            }
            box->accept();
        });
        MessageBoxPrompt().showWithField(Prompt::Icon::Warning, u"Pagina non aperta"_s,
                                         u"Copiare l'indirizzo seguente in un browser:"_s, address);
        QCOMPARE(text, u"Copiare l'indirizzo seguente in un browser:"_s);
        QCOMPARE(value, address);
        QVERIFY(readOnly);
        QVERIFY(inside);
        QCOMPARE(QGuiApplication::clipboard()->text(), address);
    }
};

QTEST_MAIN(TestSystemServices)
#include "tst_SystemServices.moc"
