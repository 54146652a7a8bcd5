#pragma once

#include "core/ui/Puntatore.h"

#include <QList>
#include <QPointer>

class QAbstractButton;
class QWidget;

namespace kx {
struct CurrentApplication;
} // namespace kx

/** What the send windows share: the frame of the application shown, and the busy state. */

/**
 * Fills the frame frmOperPres with the current application: group, operator number without blanks
 * around it, operator name and application number.
 */
void mostraDomandaSelezionata(QWidget *frmOperPres, const kx::CurrentApplication &domanda);

/**
 * While it lives, the window's buttons are disabled and the pointer is the hourglass: a request or
 * an export that lets events run meanwhile cannot be started twice, and the window, asking
 * occupata(), does not close under it. At its end the buttons it disabled are enabled again and the
 * default pointer comes back.
 */
class FinestraOccupata
{
public:
    explicit FinestraOccupata(QWidget *finestra);
    ~FinestraOccupata();
    FinestraOccupata(const FinestraOccupata &) = delete;
    FinestraOccupata &operator=(const FinestraOccupata &) = delete;

    /** True while the window has a FinestraOccupata. */
    static bool occupata(const QWidget *finestra);

private:
    QPointer<QWidget> m_finestra;
    QList<QPointer<QAbstractButton>> m_disabilitati;
};
