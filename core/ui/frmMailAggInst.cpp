#include "core/ui/frmMailAggInst.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "ui_frmMailAggInst.h"

using namespace Qt::StringLiterals;
using namespace kx;

frmMailAggInst::frmMailAggInst(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_ui(std::make_unique<Ui::frmMailAggInst>())
{
    m_ui->setupUi(this);
    setHelpContext(context, this, 18000);
    Immagini::setBackground(this, u"imgSfondo"_s);

    // The stored address is shown once, when the window opens: a box that takes the focus for a
    // moment must not overwrite what the user has typed since.
    m_ui->txtEMail->setText(context.userSettings().value(UserKeys::EMail, u"Indirizzo e-mail..."_s));
    m_ui->txtEMail->selectAll();
    m_ui->txtEMail->setFocus();

    connect(m_ui->imgConferma, &ImageButton::clicked, this, &frmMailAggInst::imgConferma_Click);
    // The picture buttons are no default button: Enter in the address confirms as they do.
    connect(m_ui->txtEMail, &QLineEdit::returnPressed, this, &frmMailAggInst::imgConferma_Click);
    connect(m_ui->imgAnnulla, &ImageButton::clicked, this, &QDialog::reject);
}

frmMailAggInst::~frmMailAggInst() = default;

void frmMailAggInst::imgConferma_Click()
{
    ControllaEMail(m_context, m_ui->txtEMail);
    if (!m_context.preferenze().EMailValida)
        return;
    m_context.userSettings().setValue(UserKeys::EMail, m_ui->txtEMail->text());
    accept();
}
