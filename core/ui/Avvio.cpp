#include "core/ui/Avvio.h"

#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "core/ui/Frm_Impostazioni.h"
#include "core/ui/Immagini.h"
#include "core/ui/MDI_Main.h"
#include "core/ui/SplashScreen.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

/** Lets the window repaint while the installers keep the thread busy. */
void ridisegna()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

Avvio::Avvio(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"Avvio"_s);
    setWindowTitle(u"  Installazione"_s);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setFixedSize(520, 230);
    Immagini::setBackground(this);

    m_lblTitolo = label(this, u"lblTitolo"_s, u"INSTALLAZIONE"_s);
    QFont big = m_lblTitolo->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    m_lblTitolo->setFont(big);
    m_lblTitolo->setAlignment(Qt::AlignCenter);
    QPalette titleColour = m_lblTitolo->palette();
    titleColour.setColor(QPalette::WindowText, QColor(0x1f, 0x4e, 0x79));
    m_lblTitolo->setPalette(titleColour);

    m_label4 = label(this, u"Label4"_s, u"Attendere ...."_s);
    m_label4->setAlignment(Qt::AlignCenter);
    m_lblFile = label(this, u"lblFile"_s, u"------"_s);
    m_lblFile->setTextInteractionFlags(Qt::NoTextInteraction);
    m_lblFile->setMinimumWidth(360);
    m_lblTabe = label(this, u"lblTabe"_s, u"------"_s);
    m_lblNRec = label(this, u"lblNRec"_s, QString());
    QFont bold = m_lblFile->font();
    bold.setBold(true);
    for (QLabel *value : {m_lblFile, m_lblTabe, m_lblNRec})
        value->setFont(bold);

    auto *details = new QGridLayout;
    details->setHorizontalSpacing(12);
    details->addWidget(label(this, u"Label2"_s, u"file:"_s), 0, 0, Qt::AlignRight);
    details->addWidget(m_lblFile, 0, 1);
    details->addWidget(label(this, u"Label3"_s, u"tabella:"_s), 1, 0, Qt::AlignRight);
    details->addWidget(m_lblTabe, 1, 1);
    details->addWidget(label(this, u"Label6"_s, u"Record   N° :"_s), 2, 0, Qt::AlignRight);
    details->addWidget(m_lblNRec, 2, 1);
    details->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_lblTitolo);
    layout->addWidget(m_label4);
    layout->addSpacing(12);
    layout->addLayout(details);
    layout->addStretch();
}

void Avvio::mostra(const QString &titolo, const QString &attesa)
{
    m_lblTitolo->setText(titolo);
    m_label4->setText(attesa);
    show();
    raise();
    ridisegna();
}

void Avvio::file(const QString &path)
{
    m_lblFile->setText(path);
    ridisegna();
}

void Avvio::tabella(const QString &name)
{
    m_lblTabe->setText(name);
    ridisegna();
}

void Avvio::record(const QString &count)
{
    m_lblNRec->setText(count);
    ridisegna();
}

AvvioWindows::AvvioWindows(Context &context) : m_context(context), m_avvio(std::make_unique<Avvio>()) {}

AvvioWindows::~AvvioWindows() = default;

void AvvioWindows::mostraSplash()
{
    m_splash = std::make_unique<SplashScreen>();
    m_splash->show();
    ridisegna();
}

void AvvioWindows::chiudiSplash()
{
    m_splash.reset();
}

void AvvioWindows::mostraImpostazioni()
{
    Frm_Impostazioni dialog(m_context);
    m_context.dialogRunner.run(dialog);
}

ProgressoAvvio &AvvioWindows::avvio()
{
    return *m_avvio;
}

void AvvioWindows::mostraFrame()
{
    m_frame = std::make_unique<MDI_Main>(m_context, [this] {
        chiudiSplash();
        ridisegna();
    });
    m_frame->show();
}

void AvvioWindows::distruggiAvvio()
{
    m_avvio.reset();
}
