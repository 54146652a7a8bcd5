#pragma once

#include <QString>

namespace kx {
class Context;
class ProgressoAvvio;
class RoutineError;
} // namespace kx

namespace kx {

/** The windows of the start-up; the program gives its own, a test may give stand-ins. */
class StartupWindows
{
public:
    virtual ~StartupWindows() = default;
    /** SplashScreen, modeless, painted at once. */
    virtual void mostraSplash() = 0;
    /** Closes the splash; nothing when it is closed already. */
    virtual void chiudiSplash() = 0;
    /** Frm_Impostazioni, modally; returns when it has closed (its exit ends the program). */
    virtual void mostraImpostazioni() = 0;
    /** The start-up window Avvio, hidden until an installer shows it as its progress window. */
    virtual ProgressoAvvio &avvio() = 0;
    /** The frame window MDI_Main, modeless; its activation shows the main window. */
    virtual void mostraFrame() = 0;
    /** Destroys the start-up window; the program lives on in the frame and the main window. */
    virtual void distruggiAvvio() = 0;
};

} // namespace kx

/**
 * The program's start: splash, INI check, first-run dialogs, database, reference data, the fixed
 * correction of course hours, the current application, then the frame window. Every failure on the
 * way shows its box and ends the program.
 */
void AvvioProgramma(kx::Context &context, kx::StartupWindows &windows);

/**
 * The INI file must exist; an installation without a type runs the first-run dialogs and writes their
 * choice; an invalid type resets the installation and ends the program.
 */
void VerificaFileIni(kx::Context &context, kx::StartupWindows &windows);

/**
 * The correction of course hours applied at every start. The joined codes compare without regard to
 * ASCII case, as the text columns do, through upper(): so the statement finds the courses it still has
 * to correct through the index IndiceCorrezioneOre instead of reading every course.
 */
inline constexpr const char *CorrezioneOreCorsi =
    "UPDATE CorsiProp SET OreSpesa=200, TotOreIter=200 WHERE (OreSpesa > 200 OR TotOreIter > 200) "
    "AND upper(CodAsse || '.' || CodMisura || '.' || CodAzione) = 'III.G.06.01'";

/** The index of the correction, as the schema makes it; a database made before it gets it at start-up. */
inline constexpr const char *IndiceCorrezioneOre =
    "CREATE INDEX IF NOT EXISTS CorsiPropAzioneCorsi ON CorsiProp "
    "(upper(CodAsse || '.' || CodMisura || '.' || CodAzione)) WHERE OreSpesa > 200 OR TotOreIter > 200";
