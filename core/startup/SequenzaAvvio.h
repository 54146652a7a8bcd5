#pragma once

#include <QString>

class Context;
class ProgressoAvvio;
class RoutineError;

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

/**
 * The program's start: splash, INI check, first-run dialogs, database, reference data, the fixed
 * correction of course hours, the current application, then the frame window. Every failure on the
 * way shows its box and ends the program.
 */
void AvvioProgramma(Context &context, StartupWindows &windows);

/**
 * The INI file must exist; an installation without a type runs the first-run dialogs and writes their
 * choice; an invalid type resets the installation and ends the program.
 */
void VerificaFileIni(Context &context, StartupWindows &windows);

/** Empties [BaseDati] Database and NFileDB and [Installazione] Tipo, so the next start asks again. */
void AzzeraInstallazione(Context &context);

/** "Errore " and the number, CR LF, the description: how the start-up and the connection report an error. */
QString testoErrore(const RoutineError &error);

/**
 * The start-up and the frame's activation have no handler of their own: an error that reaches them is
 * shown with its number and description under the program's title, and the program ends.
 */
void terminaPerErrore(Context &context, const RoutineError &error);

/** The correction of course hours applied at every start. */
inline constexpr const char *CorrezioneOreCorsi =
    "UPDATE CorsiProp SET OreSpesa=200, TotOreIter=200 WHERE (OreSpesa > 200 OR TotOreIter > 200) "
    "AND CodAsse || '.' || CodMisura || '.' || CodAzione = 'III.G.06.01' COLLATE NOCASE";
