#include "FileSizeLimit.h"
#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/state/InstallationState.h"
#include "core/ui/Frm_Impostazioni.h"
#include "core/ui/ImageButton.h"
#include "core/ui/frmServerClient.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QByteArray IniConVersione =
    "[Installazione]\r\nTipo=\r\nVersione=SERVER\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
    "[BaseDati]\r\nDatabase=\r\nNFileDB=\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n";
const QByteArray IniSenzaVersione =
    "[Installazione]\r\nTipo=\r\nVersione=\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n";

/** A program folder with its INI file and help file, the INI file's name given to the shared object. */
void prepara(TestContext &test, const QByteArray &ini, bool helpFile = true)
{
    test.writeFile(u"KX58TORVA.INI"_s, ini);
    if (helpFile)
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
    test.context().fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
}

/** One of the two first-run dialogs, by its name. */
std::unique_ptr<QDialog> crea(TestContext &test, const QString &window)
{
    if (window == u"Frm_Impostazioni")
        return std::make_unique<Frm_Impostazioni>(test.context());
    return std::make_unique<frmServerClient>(test.context());
}

} // namespace

class TestFirstRunDialogs : public QObject
{
    Q_OBJECT

private slots:
    void loadSaysWhenTheHelpFileIsMissing()
    {
        TestContext test;
        prepara(test, IniConVersione, false);
        test.prompt.expect(u"File di Aiuto non presente"_s);
        Frm_Impostazioni dialog(test.context());
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().front().title, u"Imposta Aiuto"_s);
        QCOMPARE(test.prompt.shown().front().icon, Prompt::Icon::Warning);
        QCOMPARE(test.context().installazione().FileAiuto, u"KX58TORVA.htm"_s);
        QCOMPARE(dialog.windowTitle(), u"Impostazioni modalità di funzionamento"_s);

        test.prompt.expect(u"File di Aiuto non presente"_s);
        dialog.show();
        press(&dialog, u"cmdHelp"_s);
        QCOMPARE(test.prompt.shown().back().title, u"Aiuto"_s);
        QVERIFY(test.help.topics.isEmpty());
    }

    void controlsShowTheirTexts_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("picture");
        const QString impostazioni = u"Frm_Impostazioni"_s;
        const QString serverClient = u"frmServerClient"_s;
        QTest::newRow("Label1") << impostazioni << u"Label1"_s
                                << u"Scegliere la modalità di funzionamento: Indicare se la procedura sarà "
                                   u"utilitzzata in ambiente locale o in rete (multiutenza). Le impostazioni "
                                   u"potranno anche essere cambiate in un secondo momento."_s
                                << QString();
        QTest::newRow("opt_Locale") << impostazioni << u"opt_Locale"_s << u"Locale"_s << QString();
        QTest::newRow("opt_InRete") << impostazioni << u"opt_InRete"_s << u"In rete"_s << QString();
        QTest::newRow("cmdSfoglia") << impostazioni << u"cmdSfoglia"_s << u"Sfoglia..."_s << QString();
        QTest::newRow("Cmd_Ok") << impostazioni << u"Cmd_Ok"_s << u"Salva"_s << u"imgSalva"_s;
        QTest::newRow("cmdEsci") << impostazioni << u"cmdEsci"_s << u"Esci dall'installazione"_s
                                 << u"imgExit"_s;
        QTest::newRow("cmdHelp") << impostazioni << u"cmdHelp"_s << u"Help"_s << u"imgHelp"_s;
        QTest::newRow("Label2 of the role")
            << serverClient << u"Label2"_s << u"Scegliere il tipo di installazione: SERVER o CLIENT"_s
            << QString();
        QTest::newRow("optServer") << serverClient << u"optServer"_s << u"SERVER"_s << QString();
        QTest::newRow("optClient") << serverClient << u"optClient"_s << u"CLIENT"_s << QString();
        QTest::newRow("cmdOK") << serverClient << u"cmdOK"_s << u"OK"_s << QString();
        QTest::newRow("cmdAnnulla") << serverClient << u"cmdAnnulla"_s << u"Annulla"_s << QString();
    }

    void controlsShowTheirTexts()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QFETCH(QString, picture);
        TestContext test;
        prepara(test, IniConVersione);
        const std::unique_ptr<QDialog> dialog = crea(test, window);
        QWidget *widget = ::control<QWidget>(dialog.get(), control);
        if (auto *label = qobject_cast<QLabel *>(widget))
            QCOMPARE(label->text(), text);
        else
            QCOMPARE(::control<QAbstractButton>(dialog.get(), control)->text(), text);
        if (!picture.isEmpty())
            QCOMPARE(::control<ImageButton>(dialog.get(), control)->pictureName(), picture);
    }

    void f1OpensTopic15000_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("Frm_Impostazioni") << u"Frm_Impostazioni"_s;
        QTest::newRow("frmServerClient") << u"frmServerClient"_s;
    }

    void f1OpensTopic15000()
    {
        QFETCH(QString, window);
        TestContext test;
        prepara(test, IniConVersione);
        // frmServerClient is shown over Frm_Impostazioni, whose load named the help file.
        test.context().installazione().FileAiuto = u"KX58TORVA.htm"_s;
        const std::unique_ptr<QDialog> dialog = crea(test, window);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QTest::keyClick(dialog.get(), Qt::Key_F1);
        QCOMPARE(test.help.topics, QList<int>{15000});
    }

    void helpOpensTopic15000()
    {
        TestContext test;
        prepara(test, IniConVersione);
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        press(&dialog, u"cmdHelp"_s);
        QCOMPARE(test.help.topics, QList<int>{15000});
        QCOMPARE(test.help.lastFile, test.path(u"KX58TORVA.htm"_s));
    }

    void salvaChecks_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing chosen") << QString() << u"Selezionare una base dati."_s;
        QTest::newRow("not an mdb") << u"dati.accdb"_s
                                    << u"Il file selezionato non è un database Microsoft Access."_s;
        QTest::newRow("missing file") << u"manca.mdb"_s << u"File inesistente."_s;
    }

    void salvaChecks()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        TestContext test;
        prepara(test, IniConVersione);
        test.writeFile(u"dati.accdb"_s, "x");
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        if (!chosen.isEmpty()) {
            test.fileDialogs.chosenPath = test.path(chosen);
            press(&dialog, u"cmdSfoglia"_s);
        }
        control<QRadioButton>(&dialog, u"opt_InRete"_s)->setChecked(true);
        test.prompt.expect(message);
        press(&dialog, u"Cmd_Ok"_s);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.prompt.shown().back().title, u"Controllo dati"_s);
        QCOMPARE(test.prompt.shown().back().icon, Prompt::Icon::Critical);
        QVERIFY(dialog.isVisible());
        QCOMPARE(test.context().installazione().TipoInstallazione, u"Multiutenza"_s);
        QVERIFY(test.context().installazione().PercorsoDB.isEmpty());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniConVersione);
    }

    void salvaKeepsTheChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("tipo");
        QTest::newRow("Locale") << u"opt_Locale"_s << u"StandAlone"_s;
        QTest::newRow("In rete") << u"opt_InRete"_s << u"Multiutenza"_s;
    }

    void salvaKeepsTheChoice()
    {
        QFETCH(QString, option);
        QFETCH(QString, tipo);
        TestContext test;
        prepara(test, IniConVersione);
        test.writeFile(u"Base.MDB"_s, "x");
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        QVERIFY(control<QRadioButton>(&dialog, u"opt_Locale"_s)->isChecked());
        test.fileDialogs.chosenPath = test.path(u"Base.MDB"_s);
        press(&dialog, u"cmdSfoglia"_s);
        QCOMPARE(control<QLineEdit>(&dialog, u"txtDatabase"_s)->text(),
                 test.path(u"Base.MDB"_s).left(55) +
                     (test.path(u"Base.MDB"_s).size() > 55 ? u"..."_s : QString()));
        // A cancelled file dialog keeps the earlier choice.
        test.fileDialogs.chosenPath.clear();
        press(&dialog, u"cmdSfoglia"_s);
        control<QRadioButton>(&dialog, option)->setChecked(true);
        press(&dialog, u"Cmd_Ok"_s);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        const InstallationState &state = test.context().installazione();
        QCOMPARE(state.TipoInstallazione, tipo);
        QCOMPARE(state.PercorsoDB, test.path(u"Base.MDB"_s));
        QCOMPARE(state.NomeFileDB, u"Base.MDB"_s);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniConVersione);
    }

    void longPathsAreCutWithTheWholePathInTheTooltip()
    {
        TestContext test;
        prepara(test, IniConVersione);
        const QString name = QString(60, u'b') + u".mdb"_s;
        test.writeFile(name, "x");
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        test.fileDialogs.chosenPath = test.path(name);
        press(&dialog, u"cmdSfoglia"_s);
        auto *box = control<QLineEdit>(&dialog, u"txtDatabase"_s);
        QCOMPARE(box->text(), test.path(name).left(55) + u"..."_s);
        QCOMPARE(box->toolTip(), test.path(name));
        press(&dialog, u"Cmd_Ok"_s);
        QCOMPARE(test.context().installazione().PercorsoDB, test.path(name));
    }

    void theDatabasePathLooksAsReadOnlyAsItIs()
    {
        TestContext test;
        prepara(test, IniConVersione);
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        auto *box = control<QLineEdit>(&dialog, u"txtDatabase"_s);
        QLineEdit scrivibile(&dialog);
        scrivibile.setGeometry(box->geometry().translated(0, box->height() + 10));
        scrivibile.show();

        const auto sfondo = [](QLineEdit *w) {
            return w->grab().toImage().pixelColor(w->width() - 6, w->height() / 2);
        };
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->focusPolicy(), Qt::NoFocus);
        QVERIFY(sfondo(box) != sfondo(&scrivibile));
    }

    void leavingAsksFirst_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("exit button") << u"cmdEsci"_s;
        QTest::newRow("close button") << u"close"_s;
        QTest::newRow("Esc") << u"escape"_s;
    }

    void leavingAsksFirst()
    {
        QFETCH(QString, how);
        TestContext test;
        prepara(test, IniConVersione);
        Frm_Impostazioni dialog(test.context());
        dialog.show();
        const auto leave = [&] {
            if (how == u"close")
                dialog.close();
            else if (how == u"escape")
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                press(&dialog, how);
        };
        const QString question = u"Si è sicuri di voler interrompere l'installazione?"_s;
        test.prompt.expect(question, Prompt::Answer::No);
        leave();
        QVERIFY(dialog.isVisible());
        QCOMPARE(test.prompt.shown().back().title, u"Installazione"_s);
        QCOMPARE(test.prompt.shown().back().buttons, Prompt::Buttons::YesNo);
        QCOMPARE(test.prompt.shown().back().icon, Prompt::Icon::Information);

        test.prompt.expect(question, Prompt::Answer::Yes);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, leave());
        QVERIFY(test.programExit.exited());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniConVersione);
    }

    void roleIsAskedOnlyWhileTheIniFileHasNone()
    {
        TestContext test;
        prepara(test, IniConVersione);
        test.context().installazione().VersioneInstallazione = u"x"_s;
        Frm_Impostazioni withRole(test.context());
        withRole.show();
        QVERIFY(test.dialogRunner.allRun());
        QCOMPARE(test.context().installazione().VersioneInstallazione, u"SERVER"_s);

        TestContext fresh;
        prepara(fresh, IniSenzaVersione);
        bool asked = false;
        fresh.dialogRunner.expect(u"frmServerClient"_s, [&](QDialog &dialog) {
            asked = true;
            QCOMPARE(dialog.windowTitle(), QString(28, u' ') + u"Versione dell'applicativo"_s);
            // Over the first-run dialog that asks.
            const QPoint offset =
                dialog.frameGeometry().center() - dialog.parentWidget()->frameGeometry().center();
            QVERIFY2(qAbs(offset.x()) <= 2 && qAbs(offset.y()) <= 2, "not centred over Frm_Impostazioni");
            QVERIFY(!control<QRadioButton>(&dialog, u"optServer"_s)->isChecked());
            QVERIFY(!control<QRadioButton>(&dialog, u"optClient"_s)->isChecked());
            control<QRadioButton>(&dialog, u"optServer"_s)->setChecked(true);
            press(&dialog, u"cmdOK"_s);
        });
        Frm_Impostazioni withoutRole(fresh.context());
        withoutRole.show();
        QVERIFY(asked);
        QCOMPARE(fresh.context().installazione().VersioneInstallazione, u"SERVER"_s);
    }

    void serverClientChoice_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("files");
        const QStringList master = {u"KX58TORVA.mdb"_s, u"compo.tx1"_s, u"oper.tx1"_s, u"sediocc.tx1"_s,
                                    u"sediutil.tx1"_s};
        QTest::newRow("SERVER keeps the files")
            << u"optServer"_s
            << QByteArray(
                   "[Installazione]\r\nTipo=\r\nVersione=SERVER\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n")
            << master;
        QTest::newRow("CLIENT renames them")
            << u"optClient"_s
            << QByteArray(
                   "[Installazione]\r\nTipo=\r\nVersione=CLIENT\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n")
            << QStringList{u"KX58TORVA.cli"_s, u"compo.cli"_s, u"oper.cli"_s, u"sediocc.cli"_s,
                           u"sediutil.cli"_s};
    }

    void serverClientChoice()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, files);
        TestContext test;
        prepara(test, IniSenzaVersione);
        for (const QString &name :
             {u"KX58TORVA.mdb"_s, u"oper.tx1"_s, u"compo.tx1"_s, u"sediocc.tx1"_s, u"sediutil.tx1"_s})
            test.writeFile(name, "x");
        test.context().installazione().VersioneInstallazione = u"vecchia"_s;

        frmServerClient dialog(test.context());
        QVERIFY(test.context().installazione().VersioneInstallazione.isEmpty());
        dialog.show();
        test.prompt.expect(u"Scegliere la versione dell'applicativo: SERVER o CLIENT"_s);
        press(&dialog, u"cmdOK"_s);
        QCOMPARE(test.prompt.shown().back().title, u"Controllo dati"_s);
        QVERIFY(dialog.isVisible());

        control<QRadioButton>(&dialog, option)->setChecked(true);
        press(&dialog, u"cmdOK"_s);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), ini);
        QStringList present;
        for (const QString &name : files) {
            if (QFileInfo::exists(test.path(name)))
                present << name;
        }
        QCOMPARE(present, files);
    }

    void aRoleThatCannotBeWrittenIsToldWithTheFileAndItsCause()
    {
        TestContext test;
        prepara(test, IniSenzaVersione);
        frmServerClient dialog(test.context());
        dialog.show();
        control<QRadioButton>(&dialog, u"optServer"_s)->setChecked(true);
        test.prompt.expect(u"Impossibile utilizzare il file "_s + test.path(u"KX58TORVA.INI"_s) +
                           u": file troppo grande.\r\nLa procedura verrà terminata."_s);
        bool terminato = false;
        {
            const FileSizeLimit discoPieno(IniSenzaVersione.size());
            try {
                press(&dialog, u"cmdOK"_s);
            } catch (const ProgramExited &) {
                terminato = true;
            }
        }
        QVERIFY(terminato);
        QVERIFY(test.prompt.allShown());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniSenzaVersione);
    }

    void serverClientCancelAsksFirst()
    {
        TestContext test;
        prepara(test, IniSenzaVersione);
        frmServerClient dialog(test.context());
        dialog.show();
        const QString question = u"Si è sicuri di voler interrompere l'installazione?"_s;
        test.prompt.expect(question, Prompt::Answer::No);
        press(&dialog, u"cmdAnnulla"_s);
        QVERIFY(dialog.isVisible());
        test.prompt.expect(question, Prompt::Answer::No);
        dialog.close();
        QVERIFY(dialog.isVisible());
        test.prompt.expect(question, Prompt::Answer::Yes);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, press(&dialog, u"cmdAnnulla"_s));
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), IniSenzaVersione);
    }
};

QTEST_MAIN(TestFirstRunDialogs)
#include "tst_FirstRunDialogs.moc"
