#include "TestContext.h"
#include "WindowTesting.h"
#include "core/config/PreferenceRules.h"
#include "core/config/UserSettings.h"
#include "core/state/InstallationState.h"
#include "core/state/Preferences.h"
#include "core/ui/FrmProxy.h"
#include "core/ui/ImageButton.h"
#include "core/ui/frmMailAggInst.h"
#include "core/ui/frmOpzioni.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Spazi = u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s;
const QByteArray Ini = "[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n"
                       "[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\nNumDoma=3\r\n";

void type(QWidget *window, const QString &name, const QString &text)
{
    auto *edit = control<QLineEdit>(window, name);
    edit->selectAll();
    // Key by key, as typed; QTest's key table knows ASCII only, so other letters go as their text.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private slots:
    // The e-mail prompt -------------------------------------------------------------------------

    void mailPromptStoresAValidAddress()
    {
        TestContext test;
        frmMailAggInst window(test.context());
        window.show();
        auto *txtEMail = control<QLineEdit>(&window, u"txtEMail"_s);
        QCOMPARE(txtEMail->text(), u"Indirizzo e-mail..."_s);
        QCOMPARE(txtEMail->selectedText(), u"Indirizzo e-mail..."_s);
        QCOMPARE(control<QLabel>(&window, u"Label1"_s)->text(), u"Inserire l'indirizzo e-mail"_s);

        test.prompt.expect(Spazi);
        press(&window, u"imgConferma"_s);
        QVERIFY(window.isVisible());
        QVERIFY(!test.context().preferenze().EMailValida);

        // What the user types after the box stays when the focus comes back to the box.
        type(&window, u"txtEMail"_s, u"mario.rossi@esempio.it"_s);
        txtEMail->clearFocus();
        txtEMail->setFocus();
        QCOMPARE(txtEMail->text(), u"mario.rossi@esempio.it"_s);

        press(&window, u"imgConferma"_s);
        QVERIFY(test.context().preferenze().EMailValida);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(test.context().userSettings().value(u"E-Mail"_s, {}), u"mario.rossi@esempio.it"_s);
        QVERIFY(test.prompt.allShown());
    }

    void enterInTheAddressConfirmsIt()
    {
        TestContext test;
        frmMailAggInst window(test.context());
        window.show();
        auto *txtEMail = control<QLineEdit>(&window, u"txtEMail"_s);
        txtEMail->clear();
        QTest::keyClicks(txtEMail, u"mario.rossi@esempio.it"_s);

        QTest::keyClick(txtEMail, Qt::Key_Return);

        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!window.isVisible());
        QCOMPARE(test.context().userSettings().value(u"E-Mail"_s, {}), u"mario.rossi@esempio.it"_s);
    }

    void mailPromptCancelledKeepsTheStoredAddress()
    {
        TestContext test;
        test.context().userSettings().setValue(u"E-Mail"_s, u"vecchio@esempio.it"_s);
        frmMailAggInst window(test.context());
        window.show();
        QCOMPARE(control<QLineEdit>(&window, u"txtEMail"_s)->text(), u"vecchio@esempio.it"_s);
        type(&window, u"txtEMail"_s, u"sbagliato"_s);
        test.prompt.expect(u"L'indirizzo e-mail deve contenere il carattere '@'."_s);
        press(&window, u"imgConferma"_s);
        press(&window, u"imgAnnulla"_s);
        QVERIFY(!test.context().preferenze().EMailValida);
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(test.context().userSettings().value(u"E-Mail"_s, {}), u"vecchio@esempio.it"_s);
    }

    // The options window ------------------------------------------------------------------------

    void optionsLoadTheSettings()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        test.context().userSettings().setValue(u"ServerMail"_s, u"smtp.mio.it"_s);
        test.context().userSettings().setValue(u"OptCambia"_s, u"2"_s);
        frmOpzioni window(test.context());
        window.show();
        QVERIFY(control<QRadioButton>(&window, u"optLocale"_s)->isChecked());
        QCOMPARE(control<QLineEdit>(&window, u"txtDatabase"_s)->text(), u"KX58TORVA.mdb"_s);
        QVERIFY(control<QRadioButton>(&window, u"optMioServ"_s)->isChecked());
        QCOMPARE(control<QLineEdit>(&window, u"txtMioServ"_s)->text(), u"smtp.mio.it"_s);
        QVERIFY(control<QLineEdit>(&window, u"txtMioServ"_s)->isVisible());
        QCOMPARE(control<QCheckBox>(&window, u"ckCambia"_s)->checkState(), Qt::PartiallyChecked);
        QCOMPARE(control<QLabel>(&window, u"lblUltimoAgg"_s)->text(),
                 u"Data ultimo aggiornamento:  __/__/____"_s);

        // Nothing changed: Annulla closes without a question.
        press(&window, u"cmdAnnulla"_s);
        QVERIFY(!window.isVisible());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), Ini);
    }

    void optionsClickingTheSelectedOptionsChangesNothing()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        test.context().userSettings().setValue(u"ServerMail"_s, PreferenceRules::ServerPostaConsigliato);
        frmOpzioni window(test.context());
        window.show();
        QVERIFY(control<QRadioButton>(&window, u"optServTUZ"_s)->isChecked());
        press(&window, u"optLocale"_s);
        press(&window, u"optServTUZ"_s);
        press(&window, u"cmdAnnulla"_s);
        QVERIFY(!window.isVisible());
        QVERIFY(test.prompt.shown().isEmpty());
    }

    void optionsOwnServerShowsItsBox()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, "[Installazione]\r\nTipo=Multiutenza\r\n");
        frmOpzioni window(test.context());
        window.show();
        QVERIFY(control<QRadioButton>(&window, u"optMultiutenza"_s)->isChecked());
        auto *txtMioServ = control<QLineEdit>(&window, u"txtMioServ"_s);
        QVERIFY(!txtMioServ->isVisible());
        press(&window, u"optMioServ"_s);
        QVERIFY(txtMioServ->isVisible());
        press(&window, u"optServTUZINT"_s);
        QVERIFY(!txtMioServ->isVisible());
        QCOMPARE(control<QRadioButton>(&window, u"optServTUZ"_s)->text(),
                 PreferenceRules::ServerPostaConsigliato + u" (consigliato)"_s);
        QCOMPARE(control<QRadioButton>(&window, u"optServTUZINT"_s)->text(),
                 PreferenceRules::ServerPostaSecondario);
    }

    void optionsSaveAnEffectWithoutTouchingTheIniFile()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        test.context().userSettings().setValue(u"E-Mail"_s, u"a@b.it"_s);
        frmOpzioni window(test.context());
        window.show();
        QVERIFY(!control<QLineEdit>(&window, u"txtMioServ"_s)->isVisible());
        press(&window, u"ckSottolinea"_s);
        press(&window, u"ckCambia"_s);
        press(&window, u"optServTUZ"_s);
        press(&window, u"cmdSalva"_s);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        UserSettings &settings = test.context().userSettings();
        QCOMPARE(settings.value(u"OptSottolinea"_s, {}), u"1"_s);
        QCOMPARE(settings.value(u"OptAumenta"_s, {}), u"0"_s);
        QCOMPARE(settings.value(u"OptCambia"_s, {}), u"0"_s);
        QCOMPARE(settings.value(u"ServerMail"_s, {}), PreferenceRules::ServerPostaConsigliato);
        QVERIFY(test.context().preferenze().EffettoSottolinea);
        QVERIFY(!test.context().preferenze().EffettoAumenta);
        QVERIFY(!test.context().preferenze().EffettoCambiaColore);
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), Ini);
    }

    void optionsCheckEverythingBeforeWriting_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("ownServer");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("message");
        QTest::newRow("default e-mail text") << u"Indirizzo e-mail..."_s << false << u"altro.mdb"_s << Spazi;
        QTest::newRow("own server empty") << u"a@b.it"_s << true << u"altro.mdb"_s
                                          << u"Indicare l'indirizzo del proprio server di posta."_s;
        QTest::newRow("database missing")
            << u"a@b.it"_s << false << u"manca.mdb"_s
            << u"File base dati non presente.manca.mdb\r\nIndicare il percorso di "
               u"una base dati esistente."_s;

        QTest::newRow("a path the INI file cannot hold")
            << u"a@b.it"_s << false << u"Łódź/altro.mdb"_s
            << u"Il percorso Łódź/altro.mdb contiene caratteri che il file KX58TORVA.INI non può conservare: "
               u"Łź\r\nScegliere una base dati in una cartella il cui percorso non contenga questi caratteri."_s;
    }

    void optionsCheckEverythingBeforeWriting()
    {
        QFETCH(QString, email);
        QFETCH(bool, ownServer);
        QFETCH(QString, database);
        QFETCH(QString, message);
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        test.writeFile(u"altro.mdb"_s, "x");
        test.context().userSettings().setValue(u"E-Mail"_s, email);
        frmOpzioni window(test.context());
        window.show();
        type(&window, u"txtDatabase"_s, database);
        if (ownServer)
            press(&window, u"optMioServ"_s);
        test.prompt.expect(message);
        press(&window, u"cmdSalva"_s);
        QVERIFY(window.isVisible());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), Ini);
        QCOMPARE(test.context().userSettings().value(u"E-Mail"_s, {}), email);
        QVERIFY(test.prompt.allShown());

        // Closing now asks; No leaves everything as it was.
        test.prompt.expect(u"Salvare le modifiche effettuate?"_s, Prompt::Answer::No);
        window.close();
        QVERIFY(!window.isVisible());
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), Ini);
    }

    void optionsChangeOfDatabaseEndsTheProgram()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        test.writeFile(u"altro.mdb"_s, "x");
        test.context().userSettings().setValue(u"E-Mail"_s, u"a@b.it"_s);
        test.fileDialogs.chosenPath = test.path(u"altro.mdb"_s);
        frmOpzioni window(test.context());
        window.show();
        press(&window, u"cmdSfoglia"_s);
        QCOMPARE(test.fileDialogs.lastStartPath, test.folder());
        QCOMPARE(test.fileDialogs.lastFilter, u"Database Microsoft Access (*.mdb)"_s);
        press(&window, u"ckAumenta"_s);
        test.prompt.expect(
            u"Sono state modificate delle impostazioni di installazione.\r\nE' necessario riavviare "
            u"l'applicativo."_s);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, press(&window, u"cmdSalva"_s));
        QByteArray expected = Ini;
        expected.replace("Database=KX58TORVA.mdb",
                         QByteArray("Database=" + test.path(u"altro.mdb"_s).toUtf8()));
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), expected);
        QCOMPARE(test.context().userSettings().value(u"OptAumenta"_s, u"unsaved"_s), u"unsaved"_s);
    }

    void optionsAnnullaYesSaves()
    {
        TestContext test;
        test.writeFile(u"KX58TORVA.INI"_s, Ini);
        frmOpzioni window(test.context());
        window.show();
        press(&window, u"optMultiutenza"_s);
        type(&window, u"txtEMail"_s, u"m@n.it"_s);
        test.writeFile(u"KX58TORVA.mdb"_s, "x");
        test.prompt.expect(u"Salvare le modifiche effettuate?"_s, Prompt::Answer::Yes);
        test.prompt.expect(
            u"Sono state modificate delle impostazioni di installazione.\r\nE' necessario riavviare "
            u"l'applicativo."_s);
        QVERIFY_THROWS_EXCEPTION(ProgramExited, press(&window, u"cmdAnnulla"_s));
        QByteArray expected = Ini;
        expected.replace("Tipo=StandAlone", "Tipo=Multiutenza");
        QCOMPARE(test.readFile(u"KX58TORVA.INI"_s), expected);
        QCOMPARE(test.context().userSettings().value(u"E-Mail"_s, {}), u"m@n.it"_s);
    }

    // The proxy window --------------------------------------------------------------------------

    void proxyWithoutHostUsesTheSystemSettings()
    {
        TestContext test;
        FrmProxy window(test.context());
        window.show();
        QVERIFY(control<QRadioButton>(&window, u"optProxy_1"_s)->isChecked());
        QVERIFY(!control<QLineEdit>(&window, u"txtproxy"_s)->isEnabled());
        QVERIFY(!control<QLineEdit>(&window, u"TxtPorta"_s)->isEnabled());
        press(&window, u"ImgOk"_s);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(test.context().userSettings().value(u"Proxy"_s, u"-"_s), QString());
        QCOMPARE(test.context().userSettings().value(u"Porta"_s, u"-"_s), QString());
    }

    void proxyStored_data()
    {
        QTest::addColumn<bool>("systemChosen");
        QTest::addColumn<QString>("proxy");
        QTest::addColumn<QString>("porta");
        QTest::newRow("saved without changes is kept") << false << u"proxy.ente.it"_s << u"8080"_s;
        QTest::newRow("dropped for the system's settings") << true << QString() << QString();
    }

    void proxyStored()
    {
        QFETCH(bool, systemChosen);
        QFETCH(QString, proxy);
        QFETCH(QString, porta);
        TestContext test;
        test.context().userSettings().setValue(u"Proxy"_s, u"proxy.ente.it"_s);
        test.context().userSettings().setValue(u"Porta"_s, u"8080"_s);
        FrmProxy window(test.context());
        window.show();
        QVERIFY(control<QRadioButton>(&window, u"optProxy_0"_s)->isChecked());
        QVERIFY(control<QLineEdit>(&window, u"txtproxy"_s)->isEnabled());
        if (systemChosen) {
            press(&window, u"optProxy_1"_s);
            QVERIFY(!control<QLineEdit>(&window, u"txtproxy"_s)->isEnabled());
            QCOMPARE(control<QLineEdit>(&window, u"txtproxy"_s)->text(), u"proxy.ente.it"_s);
        }
        press(&window, u"ImgOk"_s);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(test.context().userSettings().value(u"Proxy"_s, u"-"_s), proxy);
        QCOMPARE(test.context().userSettings().value(u"Porta"_s, u"-"_s), porta);
    }

    void proxyOwnIsChecked_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        QTest::newRow("port asked first")
            << QString() << QString() << u"Specificare una porta per il server Proxy"_s;
        QTest::newRow("host") << QString() << u"8080"_s << u"Specificare un server Proxy"_s;
        const QString porta = u"La porta del server Proxy deve essere un numero intero da 1 a 65535"_s;
        QTest::newRow("port not a number") << u"p"_s << u"80a"_s << porta;
        QTest::newRow("port zero") << u"p"_s << u"0"_s << porta;
        QTest::newRow("port too large") << u"p"_s << u"65536"_s << porta;
        QTest::newRow("port with a sign") << u"p"_s << u"+80"_s << porta;
        QTest::newRow("port with a blank") << u"p"_s << u"80 "_s << porta;
        QTest::newRow("valid") << u"p"_s << u"65535"_s << QString();
    }

    void proxyOwnIsChecked()
    {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, message);
        TestContext test;
        FrmProxy window(test.context());
        window.show();
        press(&window, u"optProxy_0"_s);
        QVERIFY(control<QLineEdit>(&window, u"TxtPorta"_s)->isEnabled());
        type(&window, u"txtproxy"_s, host);
        type(&window, u"TxtPorta"_s, port);
        if (!message.isEmpty())
            test.prompt.expect(message);
        press(&window, u"ImgOk"_s);
        QCOMPARE(window.isVisible(), !message.isEmpty());
        QCOMPARE(test.context().userSettings().value(u"Porta"_s, u"-"_s), message.isEmpty() ? port : u"-"_s);
        if (!message.isEmpty())
            QCOMPARE(test.prompt.shown().back().title, u"PROXY"_s);
    }

    void proxyExitWritesNothing()
    {
        TestContext test;
        FrmProxy window(test.context());
        window.show();
        press(&window, u"optProxy_0"_s);
        type(&window, u"txtproxy"_s, u"p"_s);
        press(&window, u"ImgAnn"_s);
        QCOMPARE(test.context().userSettings().value(u"Proxy"_s, u"-"_s), u"-"_s);
    }

    void eachWindowHasItsCaptionAndHelpTopic_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("installing");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("topic");
        QTest::newRow("e-mail prompt") << u"frmMailAggInst"_s << false << u"Indirizzo e-mail"_s << 18000;
        QTest::newRow("options") << u"frmOpzioni"_s << false << u"Opzioni"_s << 18700;
        QTest::newRow("proxy") << u"FrmProxy"_s << false << u"Impostazione Proxy"_s << 12000;
        QTest::newRow("proxy while installing") << u"FrmProxy"_s << true << u"Impostazione Proxy"_s << 15000;
    }

    void eachWindowHasItsCaptionAndHelpTopic()
    {
        QFETCH(QString, window);
        QFETCH(bool, installing);
        QFETCH(QString, caption);
        QFETCH(int, topic);
        TestContext test;
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        test.context().installazione().FileAiuto = test.path(u"KX58TORVA.htm"_s);
        test.context().installazione().InstallazioneInCorso = installing;
        std::unique_ptr<QDialog> dialog;
        if (window == u"frmMailAggInst")
            dialog = std::make_unique<frmMailAggInst>(test.context());
        else if (window == u"frmOpzioni")
            dialog = std::make_unique<frmOpzioni>(test.context());
        else
            dialog = std::make_unique<FrmProxy>(test.context());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QCOMPARE(dialog->objectName(), window);
        QCOMPARE(dialog->windowTitle(), caption);
        QTest::keyClick(dialog.get(), Qt::Key_F1);
        QCOMPARE(test.help.topics, QList<int>{topic});
    }

    void analizzaConnessione_data()
    {
        QTest::addColumn<int>("flags");
        QTest::addColumn<QStringList>("boxes");
        const QString modem = u"La connessione ad Internet avviene tramite Modem."_s;
        const QString proxy = u"La connessione ad Internet avviene tramite un Server Proxy. "_s;
        QTest::newRow("neither") << 0 << QStringList();
        QTest::newRow("modem") << int(NetworkStatus::Modem) << QStringList{modem};
        QTest::newRow("both") << int(NetworkStatus::Modem | NetworkStatus::Proxy)
                              << QStringList{modem, proxy};
    }

    void analizzaConnessione()
    {
        QFETCH(int, flags);
        QFETCH(QStringList, boxes);
        TestContext test;
        test.networkStatus.flags = flags;
        for (const QString &box : boxes)
            test.prompt.expect(box);
        FrmProxy window(test.context());
        window.show();
        press(&window, u"CmdControlla"_s);
        QVERIFY(test.prompt.allShown());
    }
};

QTEST_MAIN(TestPreferences)
#include "tst_Preferences.moc"
