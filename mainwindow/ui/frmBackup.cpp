#include "mainwindow/ui/frmBackup.h"

#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "mainwindow/SalvataggioDati.h"
#include "ui_frmBackup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 11000;
constexpr int TabSalvataggio = 0;
constexpr int TabRecupero = 1;
const QString TitoloScelta = u"File di Archivio"_s;

/** The busy pointer and the active tab's two buttons disabled, for as long as the work lasts. */
class Occupato
{
public:
    Occupato(QWidget *conferma, QWidget *esci) : m_conferma(conferma), m_esci(esci)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_conferma->setEnabled(false);
        m_esci->setEnabled(false);
    }
    ~Occupato()
    {
        QGuiApplication::restoreOverrideCursor();
        m_conferma->setEnabled(true);
        m_esci->setEnabled(true);
    }
    Occupato(const Occupato &) = delete;
    Occupato &operator=(const Occupato &) = delete;

private:
    QWidget *m_conferma;
    QWidget *m_esci;
};

/** Runs the work on a thread of its own; the window keeps answering until it is done. */
void inDisparte(const std::function<void()> &lavoro)
{
    std::exception_ptr errore;
    std::atomic<bool> finito = false;
    std::thread filo([&] {
        try {
            lavoro();
        } catch (...) {
            errore = std::current_exception();
        }
        finito = true;
    });
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!finito)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (!finito);
    filo.join();
    if (errore)
        std::rethrow_exception(errore);
}

QWidget *finestraMain()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == u"Main")
            return window;
    }
    return nullptr;
}

} // namespace

frmBackup::frmBackup(Context &context, QWidget *main)
    : QWidget(nullptr, Qt::Window), m_context(context), m_main(main), m_ui(std::make_unique<Ui::frmBackup>())
{
    m_ui->setupUi(this);
    connect(m_ui->SSTab1, &QTabWidget::currentChanged, this, &frmBackup::SSTab1_Click);
    connect(m_ui->cmdSfogliaBak, &QPushButton::clicked, this, &frmBackup::cmdSfogliaBak_Click);
    connect(m_ui->cmdSfogliaZip, &QPushButton::clicked, this, &frmBackup::cmdSfogliaZip_Click);
    connect(m_ui->cmdConfermaBak, &ImageButton::clicked, this, &frmBackup::cmdConfermaBak_Click);
    connect(m_ui->cmdConfermaZip, &ImageButton::clicked, this, &frmBackup::cmdConfermaZip_Click);
    connect(m_ui->cmdEsci_0, &ImageButton::clicked, this, &QWidget::close);
    connect(m_ui->cmdEsci_1, &ImageButton::clicked, this, &QWidget::close);
    Form_Load();
}

frmBackup::~frmBackup() = default;

void frmBackup::Form_Load()
{
    if (m_main)
        m_main->setEnabled(false);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);

    Connection &corsiDB = m_context.DE().CorsiDB();
    if (corsiDB.isOpen())
        corsiDB.close();

    const QString fileBackup = m_context.fileIni().Leggi(IniKeys::FileBackup);
    if (!fileBackup.isEmpty()) {
        m_cartellaIniziale = CartellaDi(fileBackup);
        m_ui->txtFileBak->setText(fileBackup);
        m_ui->txtFileZip->setText(fileBackup);
    } else {
        m_cartellaIniziale = m_context.programFolder().path();
        m_ui->txtFileBak->clear();
        m_ui->txtFileZip->clear();
    }
    m_nomeProposto = NomeProposto(m_cartellaIniziale);
}

void frmBackup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_main)
        move(m_main->frameGeometry().center() - rect().center());
}

void frmBackup::closeEvent(QCloseEvent *event)
{
    if (m_occupata) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmBackup::Form_Unload()
{
    if (m_chiusa)
        return;
    m_chiusa = true;
    // The installation's own mode and the commands bound again; a failure is told and ends the program.
    RiapriDBNormaleOTermina(m_context);
    if (m_main)
        m_main->setEnabled(true);
}

void frmBackup::SSTab1_Click(int tab)
{
    if (tab == TabSalvataggio) {
        m_nomeProposto = NomeProposto(m_cartellaIniziale);
        m_ui->cmdSfogliaBak->setFocus();
        return;
    }
    if (tab != TabRecupero)
        return;
    const QString fileBak = m_ui->txtFileBak->text();
    if (!fileBak.isEmpty()) {
        m_cartellaIniziale = CartellaDi(fileBak);
        m_ui->txtFileZip->setText(fileBak);
        m_nomeProposto = QFileInfo(m_context.programFolder().resolve(fileBak)).isFile() ? fileBak : QString();
    } else {
        m_cartellaIniziale = m_context.programFolder().path();
        m_ui->txtFileZip->clear();
        m_nomeProposto.clear();
    }
    m_ui->optSost->setChecked(true);
    m_ui->cmdSfogliaZip->setFocus();
}

void frmBackup::cmdSfogliaBak_Click()
{
    QString proposto = m_nomeProposto.isEmpty() ? m_cartellaIniziale : m_nomeProposto;
    for (;;) {
        const QString scelto = m_context.fileDialogs.saveFileName(TitoloScelta, proposto, FiltroArchivi());
        if (scelto.isEmpty())
            return;
        // The archive replaced is the one made for the name, which may differ from the name typed.
        const QString archivio = m_context.programFolder().resolve(NomeArchivioBackup(scelto));
        if (!QFileInfo::exists(archivio) ||
            m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloScelta,
                                 DomandaSostituzioneArchivio(archivio)) == Prompt::Answer::Yes) {
            m_ui->txtFileBak->setText(scelto);
            return;
        }
        proposto = scelto;
    }
}

void frmBackup::cmdSfogliaZip_Click()
{
    const QString scelto = m_context.fileDialogs.openFileName(
        TitoloScelta, m_nomeProposto.isEmpty() ? m_cartellaIniziale : m_nomeProposto, FiltroArchivi());
    if (!scelto.isEmpty())
        m_ui->txtFileZip->setText(scelto);
}

void frmBackup::cmdConfermaBak_Click()
{
    Esito esito;
    {
        const Occupato occupato(m_ui->cmdConfermaBak, m_ui->cmdEsci_0);
        esito = Backup(m_context, m_ui->txtFileBak->text());
    }
    if (esito.esito == EsitoOperazione::Riuscita)
        m_ui->txtFileBak->setText(esito.archivio);
    MostraEsitoBackup(m_context.prompt, esito);
    if (esito.esito == EsitoOperazione::NomeMancante)
        m_ui->cmdSfogliaBak->setFocus();
    else if (esito.esito == EsitoOperazione::Errore)
        close();
}

void frmBackup::cmdConfermaZip_Click()
{
    Esito esito;
    {
        const Occupato occupato(m_ui->cmdConfermaZip, m_ui->cmdEsci_1);
        // The window answers while the archive is read; nothing else in it may start meanwhile.
        m_ui->SSTab1->setEnabled(false);
        m_occupata = true;
        esito = Ripristino(m_context, m_ui->txtFileZip->text(), m_ui->optAll->isChecked(), inDisparte);
        m_occupata = false;
        m_ui->SSTab1->setEnabled(true);
    }
    MostraEsitoRipristino(m_context.prompt, esito);
    if (esito.esito == EsitoOperazione::NomeMancante)
        m_ui->cmdSfogliaZip->setFocus();
    else if (esito.esito == EsitoOperazione::Errore)
        close();
}

std::function<void()> voceFrmBackup(Context &context)
{
    auto aperta = std::make_shared<QPointer<frmBackup>>();
    return [&context, aperta] {
        if (*aperta) {
            (*aperta)->raise();
            (*aperta)->activateWindow();
            return;
        }
        auto *window = new frmBackup(context, finestraMain());
        window->setAttribute(Qt::WA_DeleteOnClose);
        *aperta = window;
        window->show();
    };
}
