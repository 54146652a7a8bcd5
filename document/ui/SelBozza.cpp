#include "document/ui/SelBozza.h"

#include "applications/SediInteressate.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/PrintRequest.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "document/DialoghiStampa.h"
#include "document/ui/StBozza.h"
#include "ui_SelBozza.h"

#include <QApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 8000;

} // namespace

SelBozza::SelBozza(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::SelBozza>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    m_sedi = new ListaSelezione(m_ui->cmbCompoSt, [this] { cmbCompoSt_Click(); });

    if (m_context.stampa().RichiestaStampa == u"Stampa Definitivo") {
        setWindowTitle(u"Stampa Originale, Copia"_s);
        m_ui->lblTipoStampa->setText(u"Stampa del modulo di domanda originale e in copia."_s);
    } else {
        setWindowTitle(u"Stampa Bozza"_s);
        m_ui->lblTipoStampa->setText(u"Stampa della bozza della domanda."_s);
    }

    const QStringList voci = runWithRetry(m_context, QString(), [this] {
        return VociCompoSt(m_context.DE(), m_context.domanda().NumDomaCorrente);
    });
    if (voci.isEmpty()) {
        m_context.prompt.critical(
            u"Stampa Bozza"_s, u"Nessun corso sulla domanda selezionata: impossibile stampare la bozza!"_s);
        m_nessunCorso = true;
    } else {
        m_sedi->riempi(voci);
        m_sedi->selezionaIndice(0);
    }

    connect(m_ui->cmdConfe, &QAbstractButton::clicked, this, &SelBozza::cmdConfe_Click);
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_ui->OpzTuttiComp, &QAbstractButton::clicked, this, &SelBozza::OpzTuttiComp_Click);
    connect(m_ui->OpzSelcomp, &QAbstractButton::clicked, this, &SelBozza::OpzSelcomp_Click);
}

SelBozza::~SelBozza() = default;

void SelBozza::apri(Context &context)
{
    SelBozza finestra(context, QApplication::activeWindow());
    finestra.Form_Activate();
}

void SelBozza::Form_Activate()
{
    hide();
    if (!m_nessunCorso) {
        m_ui->OpzTuttiComp->setChecked(true);
        OpzTuttiComp_Click();
        cmdConfe_Click();
    }
    close();
}

void SelBozza::cmdConfe_Click()
{
    CourseEditorState &sede = m_context.corsi();
    const std::optional<SedeScelta> scelta = sedeDaVoce(m_sedi->testo());
    if (m_ui->OpzSelcomp->isChecked() && scelta) {
        sede.SedeCorrente = scelta->sede;
        sede.DesSedeCorrente = scelta->descrizione;
        sede.FiltroSedeCorrente = u"NumDoma="_s + QString::number(m_context.domanda().NumDomaCorrente) +
                                  u" AND SedeInteressata="_s + scelta->sede;
    } else {
        // Every seat; the run sets the seat filter itself as it goes through them.
        sede.SedeCorrente.clear();
        sede.DesSedeCorrente.clear();
    }
    StBozza conferma(m_context, parentWidget());
    m_context.dialogRunner.run(conferma);
}

void SelBozza::OpzTuttiComp_Click()
{
    m_ui->cmbCompoSt->setEnabled(!m_ui->OpzTuttiComp->isChecked());
    m_ui->cmdConfe->setEnabled(true);
}

void SelBozza::OpzSelcomp_Click()
{
    m_ui->cmbCompoSt->setEnabled(m_ui->OpzSelcomp->isChecked());
    m_ui->cmdConfe->setEnabled(false);
}

void SelBozza::cmbCompoSt_Click()
{
    m_ui->cmdConfe->setEnabled(true);
}
