#include "refdata/ui/frmConferma.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/text/TextFile.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "refdata/ScaricoOperatori.h"
#include "ui_frmConferma.h"

#include <QApplication>
#include <QFontDatabase>

using namespace Qt::StringLiterals;
using namespace kx;

frmConferma::frmConferma(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmConferma>())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, 15000);
    Immagini::setBackground(this);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_ui->Lista->setFont(fixed);
    m_ui->Label3->setFont(fixed);
    m_ui->Label3->setText(ScaricoOperatori::IntestazioneConferma);
    m_ui->txtEMail->setText(context.userSettings().value(UserKeys::EMail, u"Indirizzo e-mail..."_s));

    QStringList records;
    try {
        records = TextFile::readLines(context.programFolder().resolve(u"Oper.tx1"_s));
    } catch (const RoutineError &) {
        // No operator file, no lines: the user can only cancel.
    }
    for (const QString &record : std::as_const(records))
        m_ui->Lista->addItem(ScaricoOperatori::rigaConferma(record));

    connect(m_ui->cmdConferma, &ImageButton::clicked, this, &frmConferma::cmdConferma_Click);
    connect(m_ui->cmdAnnulla, &ImageButton::clicked, this, &frmConferma::cmdAnnulla_Click);
}

frmConferma::~frmConferma() = default;

void frmConferma::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        m_ui->txtEMail->selectAll();
    }
}

void frmConferma::cmdConferma_Click()
{
    ControllaEMail(m_context, m_ui->txtEMail);
    if (!m_context.preferenze().EMailValida)
        return;
    m_context.userSettings().setValue(UserKeys::EMail, m_ui->txtEMail->text());
    accept();
}

void frmConferma::cmdAnnulla_Click()
{
    ScaricoOperatori::cancellaFileTx1(m_context.programFolder());
    m_ui->Lista->clear();
    reject();
}
