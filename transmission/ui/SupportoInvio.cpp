#include "transmission/ui/SupportoInvio.h"

#include "core/state/CurrentApplication.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

void mostraDomandaSelezionata(QWidget *frmOperPres, const kx::CurrentApplication &domanda)
{
    const auto etichetta = [frmOperPres](const QString &nome) {
        return frmOperPres->findChild<QLabel *>(nome);
    };
    etichetta(u"lblGrOpePres"_s)->setText(domanda.GrupOpeCorrente);
    etichetta(u"lblOpePres"_s)->setText(domanda.OperatoreCorrente.trimmed());
    etichetta(u"lblDenOpePres"_s)->setText(domanda.DenominazioneOpCorrente);
    etichetta(u"lblProposta"_s)->setText(QString::number(domanda.NumDomaCorrente));
}

namespace {
constexpr char ProprietaOccupata[] = "finestraOccupata";
} // namespace

FinestraOccupata::FinestraOccupata(QWidget *finestra) : m_finestra(finestra)
{
    finestra->setProperty(ProprietaOccupata, true);
    for (QAbstractButton *pulsante : finestra->findChildren<QAbstractButton *>()) {
        if (!pulsante->isEnabled())
            continue;
        pulsante->setEnabled(false);
        m_disabilitati.append(pulsante);
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

FinestraOccupata::~FinestraOccupata()
{
    if (m_finestra)
        m_finestra->setProperty(ProprietaOccupata, false);
    for (const QPointer<QAbstractButton> &pulsante : std::as_const(m_disabilitati)) {
        if (pulsante)
            pulsante->setEnabled(true);
    }
    puntatoreNormale();
}

bool FinestraOccupata::occupata(const QWidget *finestra)
{
    return finestra->property(ProprietaOccupata).toBool();
}
