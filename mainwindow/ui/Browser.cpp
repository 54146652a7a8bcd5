#include "mainwindow/ui/Browser.h"

#include "core/config/IniFile.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/SystemInfo.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/ui/Immagini.h"
#include "mainwindow/RichiestaAssistenza.h"
#include "ui_Browser.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

using namespace Qt::StringLiterals;
using namespace kx;

Browser::Browser(Context &context)
    : QWidget(nullptr, Qt::Window), m_context(context), m_ui(std::make_unique<Ui::Browser>())
{
    m_ui->setupUi(this);
    QPalette banda = m_ui->Shape1->palette();
    banda.setColor(QPalette::Window, Qt::white);
    m_ui->Shape1->setPalette(banda);
    m_ui->Image1->setPixmap(Immagini::logo(u"imgTUZ"_s, m_ui->Image1->minimumSize()));
    Immagini::setBackground(this);
    connect(m_ui->Command2, &QPushButton::clicked, this, &Browser::Command2_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &QWidget::close);
}

Browser::~Browser() = default;

void Browser::Form_Load()
{
    if (!QFileInfo(m_context.programFolder().resolve(NomeFileIni)).isFile()) {
        m_context.prompt.critical(u"Errore di inizializzazione"_s, u"Impossibile trovare il file "_s +
                                                                       NomeFileIni + u"."_s + u"\r\n"_s +
                                                                       u"La procedura verrà terminata."_s);
        m_context.programExit.exit();
    }
    m_context.fileIni().setNomeFile(QDir(m_context.programFolder().path()).filePath(NomeFileIni));
    m_sistema = DescrizioneSistema(m_context.systemInfo);
    m_browser = DescrizioneBrowser(m_context.systemInfo);
    m_ui->Label1->setText(u"Verifica che la connessione a internet sia attiva e premi il pulsante LogIn"_s);
}

void Browser::Command2_Click()
{
    m_ui->Label1->setText(u"Creazione Backup base dati in corso........"_s);
    m_ui->Label1->repaint();
    const CurrentApplication &domanda = m_context.domanda();
    const QString archivio = QDir(m_context.programFolder().path())
                                 .filePath(NomeArchivioAssistenza(m_context.clock.now().date(), domanda));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool archiviato =
        CreaArchivioAssistenza(m_context, archivio, [] { QGuiApplication::restoreOverrideCursor(); });
    if (!archiviato) {
        m_ui->Label1->setText(
            u"Verifica che la connessione a internet sia attiva e premi il pulsante LogIn"_s);
        return;
    }
    m_ui->txtArchivio->setText(QDir::toNativeSeparators(archivio));

    m_ui->Label1->setText(u"Collegamento in corso........"_s);
    DatiAssistenza dati;
    dati.eMail = EMailRichiedente(m_context);
    dati.gruppo = domanda.GrupOpeCorrente;
    dati.operatore = domanda.OperatoreCorrente;
    dati.denominazione = domanda.DenominazioneOpCorrente;
    dati.sistema = m_sistema;
    dati.browser = m_browser;
    dati.memoria = DescrizioneMemoria(m_context.systemInfo.memoryInfo());
    dati.archivio = archivio;
    const bool aperta = apriPagina(
        m_context, IndirizzoRichiesta(m_context.installazione().IndirizzoAssistenza, CampiRichiesta(dati)));
    m_ui->Label1->setText(aperta ? u"Collegamento effettuato"_s : u"Pagina non aperta"_s);
}

std::function<void()> voceBrowser(Context &context)
{
    auto aperta = std::make_shared<QPointer<Browser>>();
    return [&context, aperta] {
        if (*aperta) {
            (*aperta)->raise();
            (*aperta)->activateWindow();
            return;
        }
        auto window = std::make_unique<Browser>(context);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Form_Load();
        window->adjustSize();
        if (const QScreen *screen = window->screen())
            window->move(screen->availableGeometry().center() - window->rect().center());
        *aperta = window.get();
        window.release()->show();
    };
}
