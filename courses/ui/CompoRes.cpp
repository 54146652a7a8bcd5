#include "courses/ui/CompoRes.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/ResponsabileSpostamento.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "courses/Riassegnazione.h"
#include "ui_CompoRes.h"

#include <QComboBox>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

constexpr int ArgomentoAiuto = 23000;

} // namespace

CompoRes::CompoRes(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::CompoRes>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, ArgomentoAiuto);
    m_componenti = new ListaSelezione(m_ui->cmbCompo, [] {});

    const QList<ComponenteResponsabile> componenti = runWithRetry(m_context, QString(), [this] {
        return IniCompo(m_context.DE().CorsiDB(), m_context.domanda(),
                        m_context.responsabileSpostamento().SedeOccDestinazione.toInt());
    });
    for (const ComponenteResponsabile &componente : componenti) {
        m_componenti->riempi({componente.voce});
        m_ui->cmbCompo->setItemData(m_componenti->conteggio() - 1, componente.componente);
    }
    if (!componenti.isEmpty())
        m_componenti->selezionaIndice(0);

    connect(m_ui->cmdConfer, &QAbstractButton::clicked, this, &CompoRes::cmdConfer_Click);
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this, &CompoRes::cmdAnnul_Click);
}

CompoRes::~CompoRes() = default;

void CompoRes::cmdConfer_Click()
{
    if (m_componenti->indice() < 0) {
        m_context.prompt.critical(u"Verifica Dati"_s, u"Selezionare un componente dalla lista."_s);
        return;
    }
    ResponsabileSpostamento &responsabile = m_context.responsabileSpostamento();
    responsabile.CompoRespScelto = m_ui->cmbCompo->currentData().toString();
    responsabile.CompoRespConfermato = true;
    accept();
}

void CompoRes::cmdAnnul_Click()
{
    if (m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::YesNo, u"Verifica Dati"_s,
                             u"Annulla l'operazione di spostamento ?"_s) != Prompt::Answer::Yes)
        return;
    m_context.responsabileSpostamento().CompoRespConfermato = false;
    reject();
}
