#pragma once

#include <QString>
#include <functional>

namespace kx {

class Context;
class ProgressoAvvio;

/** The effects of a decode-table run that the context's services do not cover. */
struct OperazioniTabelle
{
    /** Shows the busy pointer (true) or the normal one again (false); nothing when not set. */
    std::function<void(bool occupato)> puntatore;
    /** Deletes a file and tells whether it could; QFile::remove when not set. */
    std::function<bool(const QString &path)> cancellaFile;
};

/** The flag files of the program folder that ask for a run. */
inline const QString FlagInstalla = QStringLiteral("installa.tab");
inline const QString FlagAggiorna = QStringLiteral("aggiorna.tab");
/** The subfolder that receives the processed table files. */
inline const QString CartellaCaricati = QStringLiteral("CAR");

/**
 * The decode-table run of the start-up. Only when exactly one flag file lies in the program folder:
 * it deletes it (a flag file that cannot be deleted is reported and nothing is loaded), shows the
 * start-up window with "INSTALLAZIONE TABELLE" or "AGGIORNAMENTO TABELLE", and loads every table of
 * the list but Istituti through InstTabDecodifica, in install mode for "installa.tab" and update mode
 * for "aggiorna.tab", moving each processed file into CAR. Both flag files: a warning, nothing loaded.
 * A failed move is passed on to the caller.
 */
void InstallaTabelleDecodifica(Context &context, ProgressoAvvio &Avvio,
                               const OperazioniTabelle &operazioni = {});

/**
 * The same run for the update of the base data: every table of the list through AggTabDecodifica,
 * with its progress line in LblCont.
 */
void AggiornaTabelleDecodifica(Context &context, const std::function<void(const QString &)> &LblCont,
                               const OperazioniTabelle &operazioni = {});

} // namespace kx
