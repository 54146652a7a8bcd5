#include "refdata/ui/frmMailAggAlbis2.h"

#include "core/ui/ImageButton.h"
#include "core/ui/Immagini.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "ui_frmMailAggAlbis2.h"

using namespace Qt::StringLiterals;
using namespace kx;

frmMailAggAlbis2::frmMailAggAlbis2(const QString &indirizzoLogin, QString &IdAlbis, QWidget *parent)
    : QDialog(parent), m_IdAlbis(IdAlbis), m_ui(std::make_unique<Ui::frmMailAggAlbis2>())
{
    m_ui->setupUi(this);
    Immagini::setBackground(this, u"imgSfondo"_s);
    m_ui->txtEMail->setText(indirizzoLogin);
    connect(m_ui->imgConferma, &ImageButton::clicked, this, &frmMailAggAlbis2::imgConferma_Click);
}

frmMailAggAlbis2::~frmMailAggAlbis2() = default;

void frmMailAggAlbis2::imgConferma_Click()
{
    m_IdAlbis = tokenDaRisposta(m_ui->TxtRisposta->toPlainText());
    accept();
}
