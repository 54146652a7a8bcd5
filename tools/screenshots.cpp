// Renders the program's pictures and windows into PNG files, to look at them without a display:
//   xvfb-run build/bin/screenshots <folder>
// (under a display it also saves the file chooser and help over the first-run dialog), or saves what
// the display shows, to see the running program under xvfb:
//   build/bin/screenshots --schermo <file.png>
#include "applications/ui/Componen.h"
#include "applications/ui/FrmEleSedi.h"
#include "applications/ui/FrmSedeLeg.h"
#include "applications/ui/FrmnReg.h"
#include "applications/ui/Operator.h"
#include "applications/ui/Seldoma.h"
#include "applications/ui/TabComu.h"
#include "applications/ui/TabNaz.h"
#include "applications/ui/frmRiepDomanda.h"
#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/net/ServerRequest.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/HelpTopics.h"
#include "core/state/InstallationState.h"
#include "core/state/Preferences.h"
#include "core/state/PrintRequest.h"
#include "core/state/ResponsabileSpostamento.h"
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
#include "courses/ui/CompoRes.h"
#include "courses/ui/Corsi.h"
#include "courses/ui/EleCorsi.h"
#include "courses/ui/Riass.h"
#include "courses/ui/SelComp.h"
#include "courses/ui/TabCorsiApprovati.h"
#include "document/ui/StBozza.h"
#include "mainwindow/AggiornaBaseDati.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/Browser.h"
#include "mainwindow/ui/Main.h"
#include "mainwindow/ui/frmBackup.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/TabelleDecodifica.h"
#include "refdata/ui/FrmCorsiApprovatiScaricati.h"
#include "refdata/ui/FrmScaricoDB.h"
#include "refdata/ui/TabelleDecodificaUi.h"
#include "refdata/ui/frmConferma.h"
#include "refdata/ui/frmInstOper.h"
#include "refdata/ui/frmMailAggAlbis2.h"
#include "transmission/EsportazioneZeltoVordan.h"
#include "transmission/ui/Invia.h"
#include "transmission/ui/Trasmis.h"
#include "transmission/ui/frmInet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
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
    if (versione == u"SERVER") {
        // The wait panel of the registry update, while the decode tables load.
        main.pnlAttesa(true, DidascaliaAttesaAggiornamento);
        main.LblCont()->setText(u"Caricamento: Asse - 2"_s);
        QCoreApplication::processEvents();
        main.grab().save(folder + u"/Main-aggiornamento.png"_s);
        main.pnlAttesa(false, DidascaliaAttesaAggiornamento);
    }
    main.hide();
    context.DE().CorsiDB().close();
}

/** Shows the e-mail prompt as confirmed with the stored address; any other window just opens. */
class PromptConfermato final : public DialogRunner
{
public:
    int run(QDialog &dialog) override
    {
        dialog.show();
        if (auto *conferma = dialog.findChild<QAbstractButton *>(u"imgConferma"_s))
            conferma->click();
        return dialog.result();
    }
};

/**
 * The application windows on a database of three operators and their applications: Seldoma,
 * FrmnReg waiting for OK and then asking a local stand-in of the number service that answers after a
 * while, and frmRiepDomanda of the new application.
 */
void saveApplications(const QString &folder)
{
    QTcpServer numberService;
    numberService.listen(QHostAddress::LocalHost);
    QObject::connect(&numberService, &QTcpServer::newConnection, &numberService, [&numberService] {
        QTcpSocket *socket = numberService.nextPendingConnection();
        QTimer::singleShot(1500, socket, [socket] {
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 4\r\nConnection: close\r\n\r\n2001");
            socket->disconnectFromHost();
        });
    });

    QTemporaryDir programFolder;
    QFile ini(programFolder.filePath(u"KX58TORVA.INI"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write("[BaseDati]\r\nNumDoma=1002\r\n[CONNESSIONE]\r\nNREG=http://127.0.0.1:" +
              QByteArray::number(numberService.serverPort()) + "/nreg/nuovadomanda.php\r\n");
    ini.close();
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);

    SystemServices system({}, {});
    PromptConfermato dialogRunner;
    const Services base = system.services();
    const Services services{base.prompt,      base.programExit, dialogRunner,       base.fileDialogs,
                            base.help,        base.urlOpener,   base.logViewer,     base.clock,
                            base.commandLine, base.beeper,      base.networkStatus, base.systemInfo};
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services);
    context.fileIni().setNomeFile(programFolder.filePath(u"KX58TORVA.INI"_s));
    context.installazione().IndirizzoServer = u"http://127.0.0.1"_s;
    context.userSettings().setValue(UserKeys::EMail, u"mario.rossi@esempio.it"_s);
    Connection &corsiDB = context.DE().CorsiDB();
    corsiDB.open(database, Connection::Mode::Exclusive);
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('000', 'XX', 'SUPER-PROVINCIA', '00');"
        u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 12, 'Centro di Formazione "
        u"Professionale Valdoria'), ('A', 13, 'Istituto Tecnico Monteverde'), ('B', 5, 'Scuola Edile Sud');"
        u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione) VALUES "
        u"('A', 12, 1, 'SL', 'Sede legale'), ('A', 12, 2, 'SO', 'Sede di Borgo Nuovo');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, DomandaStampata, "
        u"DomandaTrasmessa) VALUES (1001, 'A', 12, '000', 1, 'Centro di Formazione Professionale Valdoria', "
        u"1, 1),"
        u"(1002, 'A', 12, '000', 2, 'Centro di Formazione Professionale Valdoria', 0, 0);"
        u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo) VALUES "
        u"(1002, 1, 'A', 12, 'SL'), (1002, 2, 'A', 12, 'SO');"
        u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, Corso, TotaleSpesa) VALUES "
        u"(1002, 1, '0001', 48250.5), (1002, 1, '0002', 12000), (1002, 2, '0001', 1234567.89)"_s);
    CaricaDomandaCorrente(context);

    Seldoma seldoma(context);
    save(seldoma, folder);

    FrmnReg frmnReg(context, impostazioniTrasmissione(context.programFolder()));
    frmnReg.show();
    QCoreApplication::processEvents();
    frmnReg.grab().save(folder + u"/FrmnReg-attesa.png"_s);
    QTimer::singleShot(1000, &frmnReg,
                       [&frmnReg, &folder] { frmnReg.grab().save(folder + u"/FrmnReg-richiesta.png"_s); });
    frmnReg.findChild<QAbstractButton *>(u"CmdnReg"_s)->click();
    frmnReg.hide();

    ImpostaDomandaCorrente(context, 1002);
    frmRiepDomanda riepilogo(context);
    save(riepilogo, folder);
    corsiDB.close();
}

/**
 * The approved-courses windows over a database with two operators and their courses: the download
 * while it receives, the alternative login and the viewer of the downloaded courses.
 */
void saveApprovedCourses(const QString &folder)
{
    QTemporaryDir programFolder;
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);
    SystemServices services({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services.services());
    Connection &connection = context.DE().CorsiDB();
    connection.open(database, Connection::Mode::Exclusive);
    connection.execute(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES "
                       u"('A', 12, 'CENTRO FORMAZIONE EMILIA'), ('B', 7, 'ISTITUTO ROMAGNA LAVORO')"_s);
    connection.execute(u"INSERT INTO TipoCompo (TipoCompo, Descrizione) VALUES ('SL', 'SEDE LEGALE')"_s);
    connection.execute(
        u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, Cap, "
        u"Indirizzo) VALUES ('A', 12, 1, 'SL', 'SEDE CENTRALE', '40121', 'VIA INDIPENDENZA 1')"_s);
    const QStringList corsi{u"OPERATORE SOCIO SANITARIO"_s, u"TECNICO DELLA LOGISTICA"_s,
                            u"ADDETTO ALLA CONTABILITA'"_s};
    for (int i = 0; i < corsi.size(); ++i) {
        connection.execute(
            u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, AnnoInizio, "
            u"Componente, DenCorso, DurataAnnOre, TotIter, Durata, CicloFin) "
            u"VALUES (?, 'A', 12, ?, '2019', 1, ?, 600, 1200, 2, '2014-2020')"_s,
            {190001 + i, u"2019-%1"_s.arg(i + 1), corsi[i]});
    }
    StatoScaricoCorsi stato{u"A"_s, 12, QString()};

    FrmScaricoDB scarico(context, stato);
    scarico.findChild<QWidget *>(u"PanAttesa"_s)->show();
    scarico.findChild<QLabel *>(u"LblInf2"_s)->setText(u"... Downloading in corso ... "_s);
    scarico.findChild<QProgressBar *>(u"PrgBar"_s)->setValue(40);
    save(scarico, folder);
    QString idAlbis;
    frmMailAggAlbis2 alternativa(u"https://identita.regione.example/albis/login.php"_s, idAlbis);
    save(alternativa, folder);
    FrmCorsiApprovatiScaricati corsiScaricati(context, stato);
    save(corsiScaricati, folder);
    connection.close();
}

/** Opens no browser: the assistance request is shown as it looks once the page has been asked for. */
class NoBrowser final : public UrlOpener
{
public:
    bool open(const QUrl &) override { return true; }
};

/** The backup window on both tabs, and the assistance request after "Accedi". */
void saveMaintenance(const QString &folder)
{
    QTemporaryDir programFolder;
    QFile ini(programFolder.filePath(u"KX58TORVA.INI"_s));
    ini.open(QIODevice::WriteOnly);
    ini.write(
        "[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=KX58TORVA.mdb\r\n"
        "FileBackup=/home/utente/Copie/KX58TORVA.zip\r\n");
    ini.close();
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);

    SystemServices system({}, {});
    NoBrowser noBrowser;
    const Services services{system.prompt,      system.programExit, system.dialogRunner,  system.fileDialogs,
                            system.help,        noBrowser,          system.logViewer,     system.clock,
                            system.commandLine, system.beeper,      system.networkStatus, system.systemInfo};
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services);
    context.fileIni().setNomeFile(programFolder.filePath(u"KX58TORVA.INI"_s));

    {
        frmBackup backup(context, nullptr);
        save(backup, folder);
        backup.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(1);
        backup.setObjectName(u"frmBackup-Recupero"_s);
        save(backup, folder);
    }

    context.DE().CorsiDB().open(database, Connection::Mode::Exclusive);
    CurrentApplication &domanda = context.domanda();
    domanda.NumDomaCorrente = 2021001;
    domanda.GrupOpeCorrente = u"A"_s;
    domanda.OperatoreCorrente = u"0012"_s;
    Browser browser(context);
    browser.Form_Load();
    browser.adjustSize();
    save(browser, folder);
    browser.findChild<QPushButton *>(u"Command2"_s)->click();
    browser.setObjectName(u"Browser-Accedi"_s);
    save(browser, folder);
    context.DE().CorsiDB().close();
}

/** Answers every box with OK, for the windows that announce something as they open. */
class PromptOk final : public Prompt
{
public:
    Answer ask(Icon, Buttons, const QString &, const QString &) override { return Answer::Ok; }
};

/** The system's services with every box answered by `prompt`. */
Services answeredBy(Prompt &prompt, const Services &base)
{
    return {prompt,           base.programExit, base.dialogRunner,  base.fileDialogs,
            base.help,        base.urlOpener,   base.logViewer,     base.clock,
            base.commandLine, base.beeper,      base.networkStatus, base.systemInfo};
}

/** A program folder with a new, empty database open exclusively, and a context whose boxes say OK. */
struct ScenaDatabase
{
    static Connection &apri(Context &context, const QString &database)
    {
        createEmptyDatabase(database);
        Connection &corsiDB = context.DE().CorsiDB();
        corsiDB.open(database, Connection::Mode::Exclusive);
        return corsiDB;
    }

    QTemporaryDir programFolder;
    SystemServices system{QStringList(), std::function<void()>()};
    PromptOk prompt;
    Context context{programFolder.path(), programFolder.filePath(u"FP.ini"_s),
                    answeredBy(prompt, system.services())};
    Connection &corsiDB = apri(context, programFolder.filePath(u"KX58TORVA.mdb"_s));
};

/** The operator card on both tabs, editable (Operator-1, Operator-2) and read-only (-sola-lettura). */
void saveOperator(const QString &folder)
{
    ScenaDatabase scena;
    Context &context = scena.context;
    Connection &corsiDB = scena.corsiDB;
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('001', 'VD', 'VALDORIA', '01'), ('002', 'MV', 'MONTEVERDE', '01');"
        u"INSERT INTO TipoOper VALUES ('A', '03', 'ENTE DI FORMAZIONE ACCREDITATO');"
        u"INSERT INTO AttEcono VALUES (85, 'ISTRUZIONE'), (94, 'ATTIVITA ASSOCIATIVE');"
        u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 12, 'CENTRO DI FORMAZIONE "
        u"PROFESSIONALE VALDORIA');"
        u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, Indirizzo) "
        u"VALUES "
        u"('A', 12, 1, 'SL', 'SEDE LEGALE', 'VIA ROMA 1'), ('A', 12, 2, 'SO', 'SEDE DI BORGO NUOVO', "
        u"'PIAZZA GARIBALDI 4');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp, TipoOper, "
        u"CodFisc, "
        u"PIva, Corrispondenza, LegNome, LegComNasc, LegProvNasc, LegGGNasc, LegMMNasc, LegAAAANasc, "
        u"ContIBAN, "
        u"ContDesBanca, ContAge, ContIndirAge, ContNumCC, ContIntCC, ProvCCIAA, CodCCIAA, AnnoCCIAA, "
        u"AttEcono, "
        u"DomPrece, GGPrece, MMPrece, AAAAPrece, DomPROV, Direttiva, AnnoDirettiva) VALUES (1002, 'A', 12, "
        u"'001', 1, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA', '03', '80012345678', '01234567890', 1, "
        u"'ROSSI MARIO', 'MONTEVERDE', 'MV', '04', '07', '1961', 'IT60X0542811101000000123456', 'BANCA "
        u"VALDORIANA', '12', 'VIA DEI MILLE 3', '000123456', 'CENTRO DI FORMAZIONE', 'VD', '123456', '1985', "
        u"85, '2019/44', '15', '03', '2019', 'REGIONE VALDORIA', 'BANDO FORMAZIONE CONTINUA', '2018')"_s);
    ImpostaDomandaCorrente(context, 1002);

    for (const bool stampata : {false, true}) {
        context.domanda().DomandaStampataCorrente = stampata;
        Operator operatore(context);
        auto *schede = operatore.findChild<QTabWidget *>(u"SSTab1"_s);
        for (int scheda = 0; scheda < 2; ++scheda) {
            schede->setCurrentIndex(scheda);
            operatore.show();
            QCoreApplication::processEvents();
            operatore.grab().save(folder + u"/Operator-"_s + QString::number(scheda + 1) +
                                  (stampata ? u"-sola-lettura"_s : QString()) + u".png"_s);
        }
        operatore.hide();
    }
    // A list open, as the screen shows it (the open list is a window of its own).
    if (QGuiApplication::platformName() != u"offscreen") {
        context.domanda().DomandaStampataCorrente = false;
        Operator operatore(context);
        operatore.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(1);
        operatore.show();
        auto *attivita = operatore.findChild<QComboBox *>(u"cmbAEco"_s);
        attivita->showPopup();
        QEventLoop attesa;
        QTimer::singleShot(300, &attesa, &QEventLoop::quit);
        attesa.exec();
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + u"/Operator-lista-aperta.png"_s);
        attivita->hidePopup();
        operatore.hide();
    }

    // The two pickers of the birth place, each after a search (TabComu, TabNaz).
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('018', 'PV', 'PAVIA', '03'), ('062', 'BN', 'BENEVENTO', '15'),"
        u"('058', 'RM', 'ROMA', '12');"
        u"INSERT INTO Comuni (CodComune, Denominazione, PROV, Cap) VALUES ('058091', 'Roma', '058', '00118'),"
        u"('018144', 'Sant''Angelo Lomellina', '018', '27030'), ('062071', 'Sant''Angelo a Cupolo', '062', "
        u"'82010'), ('058001', 'Affile', '058', '00021'), ('018128', 'Romagnese', '018', '27050');"
        u"INSERT INTO StatiEsteri (CodStato, DenomStato) VALUES ('Z110', 'FRANCIA'), ('Z102', 'AUSTRIA'),"
        u"('Z313', 'COSTA D''AVORIO'), ('Z133', 'SVIZZERA'), ('Z404', 'STATI UNITI D''AMERICA');"_s);
    const auto pickerDopoRicerca = [&folder](QDialog &picker, const QString &ricerca, const QString &testo) {
        picker.show();
        picker.findChild<QLineEdit *>(ricerca)->setText(testo);
        picker.findChild<QPushButton *>(u"cmdCerca2"_s)->click();
        QCoreApplication::processEvents();
        picker.grab().save(folder + u"/"_s + picker.objectName() + u".png"_s);
        picker.reject();
    };
    {
        TabComu picker(context);
        pickerDopoRicerca(picker, u"txtRicComu"_s, u"SANT'ANGELO L"_s);
    }
    {
        TabNaz picker(context);
        pickerDopoRicerca(picker, u"txtRicNaz"_s, u"SVI"_s);
    }
    corsiDB.close();
}

/** The legal seat, the involved seats editable and read-only, and the seat list. */
void saveSeats(const QString &folder)
{
    ScenaDatabase scena;
    Context &context = scena.context;
    Connection &corsiDB = scena.corsiDB;
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('001', 'VD', 'VALDORIA', '01');"
        u"INSERT INTO Comuni (CodComune, Denominazione, PROV, Cap) VALUES ('A001', 'VALDORIA', '001', "
        u"'10100');"
        u"INSERT INTO TipoCompo VALUES ('SL', 'SEDE LEGALE'), ('SO', 'SEDE OPERATIVA'), ('UO', 'SEDE "
        u"OCCASIONALE');"
        u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 12, 'CENTRO DI FORMAZIONE "
        u"PROFESSIONALE VALDORIA');"
        u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione) VALUES "
        u"('A', 12, 1, 'SL', 'SEDE LEGALE'), ('A', 12, 2, 'SO', 'SEDE DI BORGO NUOVO');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp) VALUES (1002, "
        u"'A', "
        u"12, '001', 1, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA');"
        u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
        u"Denominazione, CodComune, Cap, Indirizzo, StatoEstero, CittaEstero, Tel, Fax, Email, Riferimento) "
        u"VALUES (1002, 1, 'A', 12, 'SL', 'SEDE LEGALE', 'A001', '10121', 'VIA ROMA 1', '', '', '0111234', "
        u"'0115678', 'sede@centro.it', 'ROSSI MARIO'), (1002, 2, 'A', 12, 'SO', 'SEDE DI BORGO NUOVO', "
        u"'A001', '10122', 'PIAZZA GARIBALDI 4', '', '', '011999', '', '', 'BIANCHI ANNA')"_s);
    ImpostaDomandaCorrente(context, 1002);
    {
        FrmSedeLeg sede(context);
        sede.show();
        QCoreApplication::processEvents();
        sede.grab().save(folder + u"/FrmSedeLeg.png"_s);
        sede.hide();
    }
    for (const bool stampata : {false, true}) {
        context.domanda().DomandaStampataCorrente = stampata;
        Componen sedi(context);
        sedi.show();
        QCoreApplication::processEvents();
        sedi.grab().save(folder + u"/Componen"_s + (stampata ? u"-sola-lettura"_s : QString()) + u".png"_s);
        sedi.hide();
    }
    SceltaSede scelta{u"2"_s, true};
    FrmEleSedi elenco(context, scelta);
    elenco.show();
    QCoreApplication::processEvents();
    elenco.grab().save(folder + u"/FrmEleSedi.png"_s);
    elenco.hide();
    corsiDB.close();
}

/** Chooses the entry of a list that begins with the text, as a click does. */
void chooseEntry(QComboBox *list, const QString &start)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).startsWith(start)) {
            list->setCurrentIndex(i);
            emit list->activated(i);
            return;
        }
    }
}

/**
 * The course reassignment with one course of a seat chosen for an occasional seat, and CompoRes; on
 * the same application the course list and the approved-course picker.
 */
void saveReassignment(const QString &folder)
{
    ScenaDatabase scena;
    Context &context = scena.context;
    Connection &corsiDB = scena.corsiDB;
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('001', 'VD', 'VALDORIA', '01');"
        u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 12, 'CENTRO DI FORMAZIONE "
        u"PROFESSIONALE VALDORIA');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp) VALUES (1002, "
        u"'A', 12, '001', 1, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA');"
        u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
        u"Denominazione, Indirizzo) VALUES (1002, 1, 'A', 12, 'SL', 'SEDE LEGALE', 'VIA ROMA 1'), "
        u"(1002, 2, 'A', 12, 'SO', 'SEDE DI BORGO NUOVO', 'PIAZZA GARIBALDI 4'), "
        u"(1002, 1005, 'A', 12, 'UO', 'PALESTRA COMUNALE', 'VIA DELLO SPORT 8');"
        u"INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, Componente, SedeOcc) VALUES ('A', 12, 1, 1005), "
        u"('A', 12, 2, 1005);"
        u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, DenCorso) VALUES "
        u"(1002, 2, 'A', 12, '0001', 'OPERATORE DELLA RISTORAZIONE'), "
        u"(1002, 2, 'A', 12, '0002', 'TECNICHE DI SALDATURA'), (1002, 1, 'A', 12, '0001', 'CONTABILITA')"_s);
    ImpostaDomandaCorrente(context, 1002);
    {
        Riass riass(context);
        riass.show();
        QCoreApplication::processEvents();
        chooseEntry(riass.findChild<QComboBox *>(u"cmbSedeDa"_s), u"  2 -"_s);
        riass.findChild<QAbstractButton *>(u"OpzCorso"_s)->click();
        chooseEntry(riass.findChild<QComboBox *>(u"cmbCorso"_s), u"0002"_s);
        chooseEntry(riass.findChild<QComboBox *>(u"cmbSedeA"_s), u" 1005 -"_s);
        QCoreApplication::processEvents();
        riass.grab().save(folder + u"/Riass.png"_s);
        riass.hide();
    }
    context.responsabileSpostamento().SedeOccDestinazione = u"1005"_s;
    {
        CompoRes compoRes(context);
        save(compoRes, folder);
    }

    // The course list of seat 2 on its second course, and the approved-course picker after a search.
    corsiDB.executeScript(
        u"INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione) VALUES "
        u"('A', 12, 2, 'SO', 'SEDE DI BORGO NUOVO');"
        u"INSERT INTO CorsiSediOcc (SedeOcc, Denominazione) VALUES (1005, 'PALESTRA COMUNALE');"
        u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, ProgrAccorp, DenCorso, "
        u"Componente, SedeOcca, DurataAnnOre, TotIter, Durata, TipoConv, CicloFin, ProvviProgAtt) VALUES "
        u"(190001, 'A', 12, '2019-1', 1, 'OPERATORE SOCIO SANITARIO', 2, NULL, 600, 1200, 2, 'AF', "
        u"'2014-2020', '2019-P1'), "
        u"(190002, 'A', 12, '2019-2', NULL, 'TECNICO DELLA LOGISTICA', 2, NULL, 500, 1000, 2, 'AF', "
        u"'2014-2020', NULL), "
        u"(190003, 'A', 12, '2019-3', 2, 'OPERATORE DELL''ACCOGLIENZA TURISTICA', 2, 1005, 300, 300, 1, "
        u"'CO', '2014-2020', NULL)"_s);
    context.corsi().impostaSede(1002, u"2"_s, u"SEDE DI BORGO NUOVO"_s);
    context.corsi().impostaCorso(u"0002"_s);
    context.corsi().CicloFinanziarioCorrente = u"2014-2020"_s;
    {
        EleCorsi elenco(context);
        save(elenco, folder);
    }
    TabCorsiApprovati picker(context);
    picker.show();
    picker.findChild<QLineEdit *>(u"txtRicDenom"_s)->setText(u"LOGISTICA"_s);
    picker.findChild<QAbstractButton *>(u"cmdCerca2"_s)->click();
    QCoreApplication::processEvents();
    picker.grab().save(folder + u"/TabCorsiApprovati.png"_s);
    picker.reject();
    corsiDB.close();
}

/** The send windows: Invia, Trasmis before and after the definitive print, frmInet. */
void saveSendWindows(const QString &folder)
{
    ScenaDatabase scena;
    Context &context = scena.context;
    Connection &corsiDB = scena.corsiDB;
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('001', 'VD', 'VALDORIA', '01');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp) VALUES (1002, "
        u"'A', 12, '001', 1, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA');"_s);
    ImpostaDomandaCorrente(context, 1002);
    context.userSettings().setValue(UserKeys::EMail, u"segreteria@cfp-valdoria.it"_s);
    Invia invia(context);
    save(invia, folder);
    {
        Trasmis trasmis(context);
        trasmis.show();
        QCoreApplication::processEvents();
        trasmis.grab().save(folder + u"/Trasmis-non-stampata.png"_s);
    }
    corsiDB.execute(u"UPDATE Domande SET DomandaStampata = 1 WHERE NumDoma = 1002"_s);
    {
        Trasmis trasmis(context);
        trasmis.show();
        QCoreApplication::processEvents();
        trasmis.grab().save(folder + u"/Trasmis-stampata.png"_s);
    }
    frmInet inet(context, InviaPercorsiVordan);
    save(inet, folder);
    corsiDB.close();
}

/** The print confirmation StBozza for a draft and for the definitive document. */
void savePrintDialogs(const QString &folder)
{
    QTemporaryDir programFolder;
    SystemServices system({}, {});
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), system.services());
    CurrentApplication &domanda = context.domanda();
    domanda.NumDomaCorrente = 2021001;
    domanda.GrupOpeCorrente = u"A"_s;
    domanda.OperatoreCorrente = u"12"_s;
    domanda.DenominazioneOpCorrente = u"CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA"_s;
    for (const auto &[richiesta, file] : {std::pair{u"Stampa Bozza"_s, u"StBozza-Bozza"_s},
                                          {u"Stampa Definitivo"_s, u"StBozza-Definitivo"_s}}) {
        context.stampa().RichiestaStampa = richiesta;
        StBozza conferma(context);
        conferma.setObjectName(file);
        save(conferma, folder);
    }
}

/**
 * The seat choice (SelComp) and the course editor: a stored course on both tabs (Corsi-1, Corsi-2),
 * a new course (Corsi-nuovo), a seat without courses (Corsi-nessuno) and a printed application
 * (Corsi-sola-lettura).
 */
void saveCourseEditor(const QString &folder)
{
    QTemporaryDir programFolder;
    const QString database = programFolder.filePath(u"KX58TORVA.mdb"_s);
    createEmptyDatabase(database);
    SystemServices system({}, {});
    PromptOk prompt;
    const Services services = answeredBy(prompt, system.services());
    Context context(programFolder.path(), programFolder.filePath(u"FP.ini"_s), services);
    Connection &corsiDB = context.DE().CorsiDB();
    corsiDB.open(database, Connection::Mode::Exclusive);
    corsiDB.executeScript(
        u"INSERT INTO Province VALUES ('001', 'VD', 'VALDORIA', '01');"
        u"INSERT INTO Domande (NumDoma, GrupOpe, Operatore, PROV, Domanda, DenominazioneOp) VALUES (1002, "
        u"'A', 12, '001', 1, 'CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA');"
        u"INSERT INTO CorsiSediInteressate (NumDoma, SedeInteressata, GrupOpe, Operatore, TipoCompo, "
        u"Denominazione, Indirizzo) VALUES (1002, 1, 'A', 12, 'SL', 'SEDE LEGALE', 'VIA ROMA 1'), "
        u"(1002, 2, 'A', 12, 'SO', 'SEDE DI BORGO NUOVO', 'PIAZZA GARIBALDI 4');"
        u"INSERT INTO CicloFinanziario VALUES ('2014-2020', 'Programmazione 2014-2020');"
        u"INSERT INTO Asse VALUES ('1', 'Occupazione');"
        u"INSERT INTO Prov_Asse VALUES ('001', '1');"
        u"INSERT INTO Misura VALUES ('1', '8II', 'Orientamento e sostegno all''apprendimento');"
        u"INSERT INTO Prov_Misura VALUES ('001', '1', '8II');"
        u"INSERT INTO Azione VALUES ('1', '8II', '2.04.07', 'Laboratori di recupero e integrazione');"
        u"INSERT INTO Prov_Azione VALUES ('001', '1', '8II', '2.04.07');"
        u"INSERT INTO AzioneDenomCorso VALUES ('1', '8II', '2.04.07', 1, 'LARSA - Formazione / Scuola'), "
        u"('1', '8II', '2.04.07', 2, 'Integrazione di persone portatrici di handicap');"
        u"INSERT INTO Destin VALUES (4, 'Studenti con disabilità');"
        u"INSERT INTO AzioneDestin VALUES ('1', '8II', '2.04.07', 4);"
        u"INSERT INTO CorsiApprovati (IdAttivita, GrupOpe, Operatore, ProgrAttivita, ProgrAccorp, "
        u"Componente, "
        u"DenCorso, TotIter, DurataAnnOre, Durata, TipoConv, CicloFin) VALUES (190001, 'A', 12, '2019-1', 1, "
        u"1, "
        u"'OPERATORE SOCIO SANITARIO', 600, 1200, 2, 'AF', '2014-2020');"
        u"INSERT INTO CorsiProp (NumDoma, SedeInteressata, GrupOpe, Operatore, Corso, CicloFinanziario, "
        u"CodAsse, "
        u"CodMisura, CodAzione, CodQualif, DenCorso, CodDest, CodCert, CodPerc, NumAll, TotOreIter, "
        u"DurataTotIter, CorsoRifC211B, IdAttivita_CorsoRifB111) VALUES (1002, 2, 'A', 12, '0001', "
        u"'2014-2020', '1', '8II', '2.04.07', '', 'LARSA - Formazione / Scuola', 4, 1, 2, 3, 120, 1, '', "
        u"190001), (1002, 2, 'A', 12, '0002', '2014-2020', '1', '8II', '2.04.07', '', "
        u"'Integrazione di persone portatrici di handicap', 4, 1, 1, 1, 200, 1, '', 190001)"_s);
    ImpostaDomandaCorrente(context, 1002);

    SelComp selComp(context);
    save(selComp, folder);

    const auto editore = [&](const QString &sede, const QString &nome,
                             const std::function<void(Corsi &)> &azione) {
        context.corsi().impostaSede(1002, sede, u"SEDE - SO - INDIRIZZO"_s);
        Corsi corsi(context);
        corsi.show();
        QCoreApplication::processEvents();
        if (azione)
            azione(corsi);
        QCoreApplication::processEvents();
        corsi.grab().save(folder + u'/' + nome + u".png"_s);
        corsi.hide();
    };
    const auto scheda = [](Corsi &corsi, int indice) {
        corsi.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(indice);
    };
    editore(u"2"_s, u"Corsi-1"_s, {});
    editore(u"2"_s, u"Corsi-2"_s, [&](Corsi &corsi) { scheda(corsi, 1); });
    editore(u"2"_s, u"Corsi-nuovo"_s,
            [&](Corsi &corsi) { corsi.findChild<QAbstractButton *>(u"cmdInserisci"_s)->click(); });
    editore(u"1"_s, u"Corsi-nessuno"_s, {});
    context.domanda().DomandaStampataCorrente = true;
    editore(u"2"_s, u"Corsi-sola-lettura"_s, {});
    editore(u"2"_s, u"Corsi-sola-lettura-2"_s, [&](Corsi &corsi) { scheda(corsi, 1); });
    corsiDB.close();
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
    usaItaliano(app);
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
    saveApplications(folder);
    saveApprovedCourses(folder);
    saveMaintenance(folder);
    saveOperator(folder);
    saveSeats(folder);
    saveReassignment(folder);
    saveSendWindows(folder);
    savePrintDialogs(folder);
    saveCourseEditor(folder);
    return 0;
}
