#pragma once

namespace kx {

/**
 * The main window's wait panel panel_Attesa ("Controllo dati in corso. Attendere...") with its
 * progress bar PB1, as the completeness check before a print drives them. The window implements it;
 * tests record the calls.
 */
class AttesaControllo
{
public:
    virtual ~AttesaControllo() = default;
    /** PB1's minimum and maximum. */
    virtual void limitiPB1(int minimo, int massimo) = 0;
    virtual void valorePB1(int valore) = 0;
    /** Shows or hides panel_Attesa and PB1 together, painted at once. */
    virtual void mostraAttesa(bool visibile) = 0;
};

} // namespace kx
