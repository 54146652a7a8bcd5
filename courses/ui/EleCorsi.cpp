#include "courses/ui/EleCorsi.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "courses/CourseStore.h"
#include "courses/NavigaCorsi.h"
#include "ui_EleCorsi.h"

#include <QGuiApplication>

using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 22000;

} // namespace

EleCorsi::EleCorsi(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::EleCorsi>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();

    const ElencoCorsi elenco = runWithRetry(m_context, QString(), [this] {
        CourseStore store(m_context.DE().CorsiDB());
        const CourseEditorState &corsi = m_context.corsi();
        return elencoCorsi(store, m_context.domanda().NumDomaCorrente, corsi.SedeCorrente.toInt(),
                           corsi.CorsoCorrente);
    });
    m_ui->lstAllCorsi->addItems(elenco.voci);
    m_ui->lstAllCorsi->setCurrentRow(elenco.selezionata);

    connect(m_ui->cmdSele2, &QAbstractButton::clicked, this, &EleCorsi::cmdSele2_Click);
    connect(m_ui->lstAllCorsi, &QListWidget::itemDoubleClicked, this, &EleCorsi::cmdSele2_Click);
    connect(m_ui->cmdEsci2, &QAbstractButton::clicked, this, &QDialog::reject);
}

EleCorsi::~EleCorsi() = default;

void EleCorsi::cmdSele2_Click()
{
    const QListWidgetItem *voce = m_ui->lstAllCorsi->currentItem();
    if (!voce)
        return;
    m_context.corsi().CorsoScelto = codiceVoceCorso(voce->text());
    accept();
}
