#include "core/ui/frmMailAggInst.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/state/Context.h"
#include "core/state/Preferences.h"
#include "core/ui/FieldRoutines.h"
#include "core/ui/HelpContext.h"
#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;
using namespace kx;

frmMailAggInst::frmMailAggInst(Context &context, QWidget *parent)
    : QDialog(parent), m_context(context), m_txtEMail(new QLineEdit(this))
{
    setObjectName(u"frmMailAggInst"_s);
    setWindowTitle(u"Indirizzo e-mail"_s);
    setHelpContext(context, this, 18000);
    Immagini::setBackground(this, u"imgSfondo"_s);

    auto *label = new QLabel(u"Inserire l'indirizzo e-mail"_s, this);
    label->setObjectName(u"Label1"_s);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    m_txtEMail->setObjectName(u"txtEMail"_s);
    m_txtEMail->setMinimumWidth(300);

    auto *imgConferma = new ImageButton(u"imgConferma"_s, this);
    imgConferma->setToolTip(u"Conferma"_s);
    auto *imgAnnulla = new ImageButton(u"imgAnnulla"_s, this);
    imgAnnulla->setToolTip(u"Annulla"_s);

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setHorizontalSpacing(12);
    layout->addWidget(label, 0, 0, 1, 3);
    layout->addWidget(m_txtEMail, 1, 0);
    layout->addWidget(imgConferma, 1, 1);
    layout->addWidget(imgAnnulla, 1, 2);

    // The stored address is shown once, when the window opens: a box that takes the focus for a
    // moment must not overwrite what the user has typed since.
    m_txtEMail->setText(context.userSettings().value(UserKeys::EMail, u"Indirizzo e-mail..."_s));
    m_txtEMail->selectAll();
    m_txtEMail->setFocus();

    connect(imgConferma, &ImageButton::clicked, this, &frmMailAggInst::conferma);
    connect(imgAnnulla, &ImageButton::clicked, this, &QDialog::reject);
}

void frmMailAggInst::conferma()
{
    ControllaEMail(m_context, m_txtEMail);
    if (!m_context.preferenze().EMailValida)
        return;
    m_context.userSettings().setValue(UserKeys::EMail, m_txtEMail->text());
    accept();
}
