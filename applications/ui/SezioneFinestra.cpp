#include "applications/ui/SezioneFinestra.h"

#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/HelpTopics.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

} // namespace

SezioneFinestra::SezioneFinestra(Context &context, const TestiSezione &testi, QWidget *parent)
    : QDialog(parent), m_context(context), m_testi(testi)
{
}

SezioneFinestra::~SezioneFinestra() = default;

void SezioneFinestra::filtroTasti(QLineEdit *box, std::optional<KeyFilter::Kind> tipo, int limite)
{
    if (tipo)
        KeyFilter::install(m_context, box, *tipo);
    LimitaDigitazione(box, limite);
}

void SezioneFinestra::Form_Load()
{
    m_contestoAiuto = m_testi.argomentoAiuto;
    setHelpContext(m_context, this, m_contestoAiuto);
    setWindowTitle(m_testi.didascalia);
    connect(findChild<QAbstractButton *>(u"cmdSalva"_s), &QAbstractButton::clicked, this,
            &SezioneFinestra::cmdSalva_Click);
    connect(findChild<QAbstractButton *>(u"cmdEsci"_s), &QAbstractButton::clicked, this,
            &SezioneFinestra::cmdEsci_Click);
    connect(findChild<QAbstractButton *>(u"cmdAiuto"_s), &QAbstractButton::clicked, this,
            &SezioneFinestra::cmdAiuto_Click);

    if (apriVista()) {
        caricaVista();
        PulsantiModifica();
    } else {
        puntatoreNormale();
        nessunaRiga();
        // A window that closes without showing a row has nothing to be read-only about.
        if (m_chiusa || m_chiudiAllAttivazione)
            return;
    }
    puntatoreNormale();

    m_solaLettura = m_context.domanda().DomandaStampataCorrente;
    if (m_solaLettura) {
        m_context.prompt.warn(m_testi.titolo, m_testi.avvisoSolaLettura);
        PulsantiSolaLettura();
        AbilitaCampi(false);
    }
}

void SezioneFinestra::PulsantiModifica()
{
    for (const QString &nome : {u"cmdAiuto"_s, u"cmdEsci"_s, u"cmdSalva"_s})
        findChild<QWidget *>(nome)->setEnabled(true);
}

void SezioneFinestra::PulsantiSolaLettura()
{
    findChild<QWidget *>(u"cmdSalva"_s)->setEnabled(false);
    findChild<QWidget *>(u"cmdAiuto"_s)->setEnabled(true);
    findChild<QWidget *>(u"cmdEsci"_s)->setEnabled(true);
}

bool SezioneFinestra::salvaConRecupero(const std::function<void(Scrittura)> &scrivi)
{
    Scrittura scrittura = Scrittura::SeInvariata;
    for (;;) {
        try {
            scrivi(scrittura);
            return true;
        } catch (const RigaModificataAltrove &) {
            if (m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloAccessoConcorrente,
                                     TestoRigaModificata) == Prompt::Answer::Yes) {
                scrittura = Scrittura::Sovrascrivi;
                continue;
            }
            ricaricaRiga();
            return false;
        } catch (const std::exception &eccezione) {
            const RoutineError errore = comeErroreRoutine(eccezione);
            if (errore.number() == ErrorCode::RowDeletedMeanwhile)
                return rigaCancellata();
            const Prompt::Answer risposta =
                m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel,
                                     TitoloAccessoConcorrente, testoErroreAggiornamento(errore));
            if (risposta == Prompt::Answer::Retry)
                continue;
            chiudiVista(false);
            chiudi();
            return false;
        }
    }
}

bool SezioneFinestra::rigaCancellata()
{
    const Prompt::Answer risposta =
        m_context.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloAccessoConcorrente,
                             testoRigaCancellata(m_testi));
    if (risposta == Prompt::Answer::Yes) {
        if (!salvaConRecupero([this](Scrittura) { reinserisci(); }))
            return false;
        m_context.prompt.inform(TitoloAccessoConcorrente, m_testi.reinserito);
        return true;
    }
    ricarica();
    return false;
}

void SezioneFinestra::chiudi()
{
    m_chiusa = true;
    QDialog::done(Accepted);
}

void SezioneFinestra::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_chiudiAllAttivazione)
        QTimer::singleShot(0, this, [this] {
            if (!m_chiusa)
                chiudi();
        });
}

void SezioneFinestra::reject()
{
    if (!m_chiusa)
        cmdEsci_Click();
}

void SezioneFinestra::cmdSalva_Click()
{
    ControllaESalva();
}

void SezioneFinestra::cmdEsci_Click()
{
    if (DatiInvariati()) {
        chiudiVista(false);
        chiudi();
        return;
    }
    const Prompt::Answer risposta = m_context.prompt.ask(
        Prompt::Icon::Information, Prompt::Buttons::YesNoCancel, m_testi.titolo, testoDomandaUscita(m_testi));
    if (risposta == Prompt::Answer::Yes) {
        if (ControllaESalva() && !m_chiusa) {
            chiudiVista(true);
            chiudi();
        }
    } else if (risposta == Prompt::Answer::No) {
        chiudiVista(true);
        chiudi();
    }
}

void SezioneFinestra::cmdAiuto_Click()
{
    MostraAiuto(m_context, m_contestoAiuto);
}
