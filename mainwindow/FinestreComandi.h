#pragma once

#include <functional>

namespace kx {
class AttesaControllo;
class Prompt;
} // namespace kx

namespace kx {

/**
 * The windows and routines of other subsystems that the main window's commands open, one entry each.
 * A modal entry returns when its window has closed; frmBackup and Browser return at once. A subsystem
 * that builds its window replaces its entry; tests put stand-ins in.
 */
struct FinestreComandi
{
    std::function<void()> Seldoma;
    std::function<void()> Operator;
    std::function<void()> Componen;
    std::function<void()> frmRiepDomanda;
    std::function<void()> SelComp;
    std::function<void()> Riass;
    std::function<void()> SelBozza;
    std::function<void()> Invia;
    /**
     * The completeness check before a print, with the window's wait panel: true when the application
     * may be printed.
     */
    std::function<bool(AttesaControllo &)> VerifDomanda;
    /** The download of the approved courses, FrmScaricoDB. */
    std::function<void()> FrmScaricoDB;
    /** The import of the downloaded approved courses: true on success. */
    std::function<bool()> ImportaCorsiApprovati;
    /** The viewer of the downloaded approved courses. */
    std::function<void()> FrmCorsiApprovatiScaricati;
    std::function<void()> frmBackup;
    std::function<void()> Browser;
    /** The registry update, after the command's check that an application is current. */
    std::function<void()> AggiornaBaseDati;
};

/**
 * Every entry a window not available yet: one information box "Funzione non ancora disponibile."
 * titled with the window's name, then a return as if it closed without changes (VerifDomanda and
 * ImportaCorsiApprovati give false).
 */
FinestreComandi finestreNonDisponibili(Prompt &prompt);

} // namespace kx
