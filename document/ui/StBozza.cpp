#include "document/ui/StBozza.h"

#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/state/PrintRequest.h"
#include "core/state/ServiziStampa.h"
#include "core/text/TextRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "core/ui/KeyFilter.h"
#include "document/DialoghiStampa.h"
#include "ui_StBozza.h"

#include <QPrintDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString StampaDefinitivo = u"Stampa Definitivo"_s;

} // namespace

StBozza::StBozza(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::StBozza>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    if (m_context.stampa().RichiestaStampa == StampaDefinitivo) {
        m_argomentoAiuto = 9000;
        setWindowTitle(u"Stampa Originale, Copia"_s);
        m_ui->lblTipoStampa->setText(u"STAMPA DEL MODULO DI DOMANDA ORIGINALE E IN COPIA."_s);
    } else {
        m_argomentoAiuto = 8000;
        setWindowTitle(u"Stampa Bozza"_s);
        m_ui->lblTipoStampa->setText(u"STAMPA DELLA BOZZA DELLA DOMANDA."_s);
    }
    setHelpContext(m_context, this, m_argomentoAiuto);

    const CourseEditorState &sede = m_context.corsi();
    m_sede = sede.SedeCorrente;
    m_desSede = sede.DesSedeCorrente;
    m_filtroSede = sede.FiltroSedeCorrente;

    const CurrentApplication &domanda = m_context.domanda();
    m_ui->lblGrOpePres->setText(domanda.GrupOpeCorrente);
    m_ui->lblOpePres->setText(trimBlanks(domanda.OperatoreCorrente));
    m_ui->lblDenOpePres->setText(domanda.DenominazioneOpCorrente);
    m_ui->lblProposta->setText(QString::number(domanda.NumDomaCorrente));
    m_ui->cmdAiuto->setEnabled(true);
    KeyFilter::install(m_context, m_ui->txtIntervallo, KeyFilter::Kind::Numerico);

    connect(m_ui->cmdSt, &QAbstractButton::clicked, this, &StBozza::cmdSt_Click);
    connect(m_ui->CmdImpStamp, &QAbstractButton::clicked, this, &StBozza::CmdImpStamp_Click);
    connect(m_ui->cmdAiuto, &QAbstractButton::clicked, this,
            [this] { MostraAiuto(m_context, m_argomentoAiuto); });
    connect(m_ui->cmdAnnSt, &QAbstractButton::clicked, this, &QDialog::reject);
}

StBozza::~StBozza() = default;

void StBozza::cmdSt_Click()
{
    PrintRequest &stampa = m_context.stampa();
    if (const std::optional<qint32> intervallo = IntervalloStampaDaTesto(m_ui->txtIntervallo->text()))
        stampa.IntervalloStampa = *intervallo;
    const bool definitivo = stampa.RichiestaStampa == StampaDefinitivo;
    if (!definitivo && stampa.RichiestaStampa != u"Stampa Bozza")
        return;
    stampa.TipoStampa = definitivo ? u"ORIGINALE"_s : u"BOZZA"_s;
    CourseEditorState &sede = m_context.corsi();
    sede.SedeCorrente = m_sede;
    sede.DesSedeCorrente = m_desSede;
    sede.FiltroSedeCorrente = m_filtroSede;
    const std::function<bool()> &documento = m_context.serviziStampa().documento;
    const bool pdfCreato = documento && documento();
    // Only a run that made the document marks it printed: a cancelled or failed one leaves the flag.
    if (definitivo && pdfCreato)
        stampa.StampaDefinitivaEseguita = true;
}

void StBozza::CmdImpStamp_Click()
{
    // The system's printer choice; the program prints to PDF and keeps none of its choices.
    QPrinter stampante;
    QPrintDialog impostazione(&stampante, this);
    impostazione.setObjectName(u"CRStampa"_s);
    m_context.dialogRunner.run(impostazione);
}
