// Renders the program's pictures and windows into PNG files, to look at them without a display:
//   xvfb-run build/bin/screenshots <folder>
// (under a display it also saves the file chooser and help over the first-run dialog), or saves what
// the display shows, to see the running program under xvfb:
//   build/bin/screenshots --schermo <file.png>
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/ui/Avvio.h"
#include "core/ui/FrmProxy.h"
#include "core/ui/Frm_Impostazioni.h"
#include "core/ui/Immagini.h"
#include "core/ui/MDI_Main.h"
#include "core/ui/SplashScreen.h"
#include "core/ui/SystemServices.h"
#include "core/ui/frmMailAggInst.h"
#include "core/ui/frmOpzioni.h"
#include "core/ui/frmServerClient.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/Main.h"
#include "refdata/TabelleDecodifica.h"
#include "refdata/ui/TabelleDecodificaUi.h"
#include "refdata/ui/frmConferma.h"
#include "refdata/ui/frmInstOper.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

void savePictureSheet(const QString &folder)
{
    const QStringList names = Immagini::buttonPictures();
    const int columns = 6;
    const int cell = 150;
    const int rows = int((names.size() + columns - 1) / columns);
    QImage sheet(columns * cell, rows * 110, QImage::Format_ARGB32);
    {
        QPainter p(&sheet);
        p.drawPixmap(0, 0, Immagini::background(u"imgSfondoForm"_s, sheet.size()));
        for (int i = 0; i < names.size(); ++i) {
            const int x = (i % columns) * cell;
            const int y = (i / columns) * 110;
            p.drawPixmap(x + 20, y + 10, Immagini::picture(names[i], 48));
            p.drawPixmap(x + 80, y + 10, Immagini::picture(names[i] + u'D', 48));
            p.drawPixmap(x + 20, y + 64, Immagini::picture(names[i], 24));
            p.drawPixmap(x + 50, y + 64, Immagini::picture(names[i], 16));
            p.drawText(QRect(x, y + 90, cell, 18), Qt::AlignCenter, names[i]);
        }
        p.drawPixmap(sheet.width() - 40, sheet.height() - 40, Immagini::handPicture());
    }
    sheet.save(folder + u"/Immagini.png"_s);
    for (const QString &name : Immagini::backgrounds())
        Immagini::background(name, QSize(640, 420)).save(folder + u'/' + name + u".png"_s);
}

void save(QWidget &window, const QString &folder)
{
    window.show();
    QCoreApplication::processEvents();
    window.grab().save(folder + u'/' + window.objectName() + u".png"_s);
    window.hide();
}

void saveWindows(const QString &folder)
{
    QTemporaryDir programFolder;
    QFile ini(programFolder.filePath(u"KX58TORVA.INI"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write(
        "[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n"
        "[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
    ini.close();
    QFile help(programFolder.filePath(u"KX58TORVA.htm"_s));
    help.open(QIODevice::WriteOnly);
    help.close();

    SystemServices services({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services.services());
    context.fileIni().setNomeFile(programFolder.filePath(u"KX58TORVA.INI"_s));

    SplashScreen splash;
    save(splash, folder);

    Frm_Impostazioni impostazioni(context);
    impostazioni.findChild<QLineEdit *>(u"txtDatabase"_s)->setText(u"/srv/dati/KX58TORVA.mdb"_s);
    save(impostazioni, folder);

    frmServerClient serverClient(context);
    save(serverClient, folder);

    Avvio avvio;
    avvio.file(u"/srv/dati/Comuni.txt"_s);
    avvio.tabella(u"Comuni"_s);
    avvio.record(u"1250"_s);
    save(avvio, folder);

    MDI_Main frame(context, {});
    save(frame, folder);

    // Stored preferences, so that the options show every control.
    UserSettings &settings = context.userSettings();
    settings.setValue(UserKeys::EMail, u"mario.rossi@esempio.it"_s);
    settings.setValue(UserKeys::ServerMail, u"smtp.esempio.it"_s);
    settings.setValue(UserKeys::LastUpdate, u"01/03/2021"_s);
    settings.setValue(UserKeys::Proxy, u"proxy.esempio.it"_s);
    settings.setValue(UserKeys::Porta, u"8080"_s);

    frmMailAggInst mail(context);
    save(mail, folder);

    frmOpzioni opzioni(context);
    save(opzioni, folder);

    FrmProxy proxy(context);
    save(proxy, folder);

    frmInstOper instOper(context);
    for (const auto &[gruppo, operatore] :
         {std::pair{u"A"_s, u"12"_s}, {u"B"_s, u"7"_s}, {u"C"_s, u"1043"_s}}) {
        instOper.findChild<QLineEdit *>(u"TxtGrup"_s)->setText(gruppo);
        instOper.findChild<QLineEdit *>(u"TxtOper"_s)->setText(operatore);
        instOper.findChild<QAbstractButton *>(u"CmdIns"_s)->click();
    }
    save(instOper, folder);

    QFile oper(programFolder.filePath(u"oper.tx1"_s));
    oper.open(QIODevice::WriteOnly);
    oper.write("#A#,#12#,#CENTRO FORMAZIONE EMILIA#,#01#,#01234560377#,#01234560377#\r\n"
               "#B#,#7#,#ISTITUTO ROMAGNA LAVORO PER LA FORMAZIONE PROFESSIONALE#,#02#,#07654320401#\r\n");
    oper.close();
    frmConferma conferma(context);
    save(conferma, folder);
}

void sendMouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF at(4, 4);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

/** The start-up window, seen at the moment it counts record `quando` of a table, forwarded to. */
class AvvioFotografato final : public ProgressoAvvio
{
public:
    AvvioFotografato(Avvio &avvio, QString tabella, QString quando, QString file)
        : m_avvio(avvio), m_tabella(std::move(tabella)), m_quando(std::move(quando)), m_file(std::move(file))
    {
    }
    void mostra(const QString &titolo, const QString &attesa) override { m_avvio.mostra(titolo, attesa); }
    void file(const QString &path) override { m_avvio.file(path); }
    void tabella(const QString &name) override
    {
        m_corrente = name;
        m_avvio.tabella(name);
    }
    void record(const QString &count) override
    {
        m_avvio.record(count);
        if (m_corrente == m_tabella && count == m_quando)
            m_avvio.grab().save(m_file);
    }

private:
    Avvio &m_avvio;
    QString m_tabella;
    QString m_quando;
    QString m_file;
    QString m_corrente;
};

/** Avvio-Comuni.png: the start-up window while the first start of the demo loads the municipalities. */
void saveAvvioLoading(const QString &folder)
{
    QTemporaryDir programFolder;
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);
    QFile::copy(QStringLiteral(KX_TABELLE_DEMO) + u"/Comuni.txt"_s, programFolder.filePath(u"Comuni.txt"_s));
    QFile flag(programFolder.filePath(u"installa.tab"_s));
    flag.open(QIODevice::WriteOnly);
    flag.close();

    SystemServices services({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services.services());
    context.DE().CorsiDB().open(database, Connection::Mode::Shared);
    Avvio avvio;
    AvvioFotografato fotografato(avvio, u"Comuni"_s, u"4000"_s, folder + u"/Avvio-Comuni.png"_s);
    InstallaTabelleDecodifica(context, fotografato, operazioniTabelleProgramma());
    avvio.hide();
    context.DE().CorsiDB().close();
}

/**
 * The main window on an application of the given role as Main-<role>.png; on a SERVER with the
 * calendar open and the mouse over the section-3 entry.
 */
void saveMain(const QString &folder, const QString &versione)
{
    QTemporaryDir programFolder;
    QFile ini(programFolder.filePath(u"KX58TORVA.INI"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Installazione]\r\nTipo=StandAlone\r\nVersione=" + versione.toLatin1() +
              "\r\n[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n");
    ini.close();
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);

    SystemServices services({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services.services());
    context.fileIni().setNomeFile(programFolder.filePath(u"KX58TORVA.INI"_s));
    context.DE().CorsiDB().open(database, Connection::Mode::Exclusive);
    CurrentApplication &domanda = context.domanda();
    domanda.NumDomaCorrente = 2021001;
    domanda.GrupOpeCorrente = u"A"_s;
    domanda.OperatoreCorrente = u"0012"_s;
    domanda.DenominazioneOpCorrente = u"Centro di Formazione Professionale Valdoria"_s;

    Main main(context, finestreNonDisponibili(context.prompt));
    main.Form_Load();
    main.show();
    main.Form_Activate();
    if (versione == u"SERVER") {
        sendMouse(main.findChild<QLabel *>(u"lblCalendario"_s), QEvent::MouseButtonRelease, Qt::LeftButton);
        sendMouse(main.findChild<QWidget *>(u"cmdCorsi"_s), QEvent::MouseMove, Qt::NoButton);
    }
    QCoreApplication::processEvents();
    main.grab().save(folder + u"/Main-"_s + versione + u".png"_s);
    main.hide();
    context.DE().CorsiDB().close();
}

/** Saves the whole screen once the modal window that `show` opens is up, then closes that window. */
void saveScreenDuring(const QString &file, const std::function<void()> &show,
                      const std::function<void()> &alsoShow = {})
{
    QTimer::singleShot(300, [&] {
        if (alsoShow)
            alsoShow();
        QTimer::singleShot(300, [&] {
            QGuiApplication::primaryScreen()->grabWindow(0).save(file);
            // Closed without the questions their own close buttons ask.
            QWidget *modal = QApplication::activeModalWidget();
            for (QWidget *window : QApplication::topLevelWidgets()) {
                if (window != modal)
                    window->hide();
            }
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->done(QDialog::Rejected);
        });
    });
    show();
}

/**
 * Scenes that need a display (xvfb-run): the file chooser and help opened over the first-run
 * dialog, as the user sees them.
 */
void saveScenes(const QString &folder)
{
    QTemporaryDir programFolder;
    QFile ini(programFolder.filePath(u"KX58TORVA.INI"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Installazione]\r\nVersione=SERVER\r\n[Help]\r\nFILEHELP=KX58TORVA.htm\r\n");
    ini.close();
    QFile::copy(QCoreApplication::applicationDirPath() + u"/KX58TORVA.htm"_s,
                programFolder.filePath(u"KX58TORVA.htm"_s));

    SystemServices services({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services.services());
    context.fileIni().setNomeFile(programFolder.filePath(u"KX58TORVA.INI"_s));
    context.installazione().CartellaProgramma = programFolder.path() + u'/';

    Frm_Impostazioni impostazioni(context);
    impostazioni.show();
    saveScreenDuring(folder + u"/SceltaFile.png"_s, [&] {
        context.fileDialogs.openFileName(u"Seleziona base dati"_s, programFolder.path(), u"*.mdb"_s);
    });
    impostazioni.hide();

    Frm_Impostazioni modale(context);
    saveScreenDuring(
        folder + u"/AiutoSuDialogo.png"_s, [&] { modale.exec(); },
        [&] { MostraAiuto(context, ArgomentoAiutoInstallazione); });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installQtTranslations(app);
    // The scenes close their windows one after the other; the program goes on.
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc > 2 && QByteArrayView(argv[1]) == "--schermo")
        return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"screenshots"_s;
    QDir().mkpath(folder);
    savePictureSheet(folder);
    saveWindows(folder);
    if (QGuiApplication::platformName() != u"offscreen")
        saveScenes(folder);
    saveAvvioLoading(folder);
    saveMain(folder, u"SERVER"_s);
    saveMain(folder, u"CLIENT"_s);
    return 0;
}
