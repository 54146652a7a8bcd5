#include "courses/ui/SelComp.h"

#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CourseEditorState.h"
#include "core/state/CurrentApplication.h"
#include "core/ui/HelpContext.h"
#include "core/ui/Immagini.h"
#include "core/ui/ListaSelezione.h"
#include "courses/SceltaSede.h"
#include "courses/ui/Corsi.h"
#include "ui_SelComp.h"

#include <QGuiApplication>

using namespace Qt::StringLiterals;
using namespace kx;

SelComp::SelComp(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::SelComp>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    setHelpContext(m_context, this, Corsi::ArgomentoAiuto);
    m_sedi = new ListaSelezione(m_ui->cmbCompo, [] {});
    connect(m_ui->cmdConfer, &QAbstractButton::clicked, this, &SelComp::cmdConfer_Click);
    connect(m_ui->cmdAnnul, &QAbstractButton::clicked, this, &QDialog::reject);

    const qint32 numDoma = m_context.domanda().NumDomaCorrente;
    Connection &db = m_context.DE().CorsiDB();
    m_sedi->riempi(runWithRetry(m_context, QString(), [&] { return vociSediCorsi(db, numDoma); }));
    if (const auto preselezione =
            runWithRetry(m_context, QString(), [&] { return sedeConCorsi(db, numDoma); }))
        m_sedi->selezionaTesto(*preselezione);
}

SelComp::~SelComp() = default;

void SelComp::apri(Context &context)
{
    SelComp finestra(context);
    context.dialogRunner.run(finestra);
}

void SelComp::cmdConfer_Click()
{
    const std::optional<SedeScelta> scelta = sedeDaVoce(m_sedi->testo());
    if (!scelta)
        return;
    m_context.corsi().impostaSede(m_context.domanda().NumDomaCorrente, scelta->sede, scelta->descrizione);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Corsi::apri(m_context, this);
}
