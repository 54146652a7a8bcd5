#include "document/ui/ViewStam.h"

#include "core/state/Context.h"
#include "core/state/PrintRequest.h"
#include "core/ui/Immagini.h"
#include "ui_ViewStam.h"

#include <QCoreApplication>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace kx;

ViewStam::ViewStam(Context &context, std::optional<ChiaveCorso> corso, QWidget *parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::ViewStam>()), m_composizione(context, std::move(corso))
{
    m_ui->setupUi(this);
    Immagini::setBackground(this);
    m_ui->cmAnnStamp->setIcon(Immagini::picture(u"imgAnnulla"_s));
    m_ui->Label4->setText(u"Stampa "_s + context.stampa().TipoStampa + u" in corso ..."_s);
    m_composizione.inizioPagina = [this](int numero) { inizioPagina(numero); };
    m_composizione.inizioPdf = [this] { inizioPdf(); };
    connect(m_ui->cmAnnStamp, &QAbstractButton::clicked, this, &ViewStam::reject);
}

ViewStam::~ViewStam() = default;

void ViewStam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_avviato)
        return;
    m_avviato = true;
    QTimer::singleShot(0, this, &ViewStam::esegui);
}

void ViewStam::esegui()
{
    m_pdfCreato = m_composizione.esegui();
    if (isVisible())
        done(m_pdfCreato ? Accepted : Rejected);
}

void ViewStam::inizioPagina(int numero)
{
    QCoreApplication::processEvents();
    m_ui->lblPag->setText(QString::number(numero));
    m_ui->lblPag->repaint();
    if (m_osservatore)
        m_osservatore(numero);
}

void ViewStam::inizioPdf()
{
    m_ui->Label3->hide();
    m_ui->lblPag->setAlignment(Qt::AlignCenter);
    m_ui->lblPag->setText(u"Creazione del file PDF in corso..."_s);
    m_ui->lblPag->repaint();
}

void ViewStam::reject()
{
    m_composizione.annulla();
    QDialog::reject();
}
