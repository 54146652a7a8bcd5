#include "applications/ui/FrmEleSedi.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "ui_FrmEleSedi.h"

#include <QFontDatabase>
#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

FrmEleSedi::FrmEleSedi(Context &context, SceltaSede &scelta, QAbstractButton *cmdVai, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::FrmEleSedi>()), m_context(context), m_scelta(scelta),
      m_cmdVai(cmdVai)
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(context, this, 4000);
    m_ui->lstSedi->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_ui->lstSedi->clear();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();

    const ElencoSedi elenco = runWithRetry(context, u"FrmEleSedi_Load"_s, [&] {
        return caricaElencoSedi(context.DE().CorsiDB(), context.domanda(), scelta.SedeScelta);
    });
    m_ui->lstSedi->addItems(elenco.righe);
    if (elenco.selezionata >= 0)
        m_ui->lstSedi->setCurrentRow(elenco.selezionata);

    connect(m_ui->cmdSele2, &QAbstractButton::clicked, this, &FrmEleSedi::cmdSele2_Click);
    connect(m_ui->cmdEsci2, &QAbstractButton::clicked, this, &FrmEleSedi::cmdEsci2_Click);
    connect(m_ui->lstSedi, &QListWidget::itemDoubleClicked, m_ui->cmdSele2, &QAbstractButton::click);
}

FrmEleSedi::~FrmEleSedi() = default;

void FrmEleSedi::cmdSele2_Click()
{
    // With no line selected nothing was chosen: the caller stays on the seat it shows.
    const QListWidgetItem *riga = m_ui->lstSedi->currentItem();
    if (riga && riga->isSelected()) {
        m_scelta.SedeScelta = sedeDellaRiga(riga->text());
        m_scelta.SedeSceltaConfermata = true;
    }
    accept();
}

void FrmEleSedi::cmdEsci2_Click()
{
    if (m_cmdVai)
        m_cmdVai->setDown(false);
    reject();
}
