#pragma once

#include <QString>
#include <functional>

namespace kx {

class Context;
class ProgressoAvvio;

/** The effects of the first installation that the context's services do not cover. */
struct OperazioniInstallazione
{
    /** Shows the operator download window modally and returns when it has closed. */
    std::function<void()> mostraScarico;
    /** Shows the busy pointer (true) or the normal one again (false); nothing when not set. */
    std::function<void(bool occupato)> puntatore;
};

/** The phrase of each loader's error box, after the error. */
namespace FrasiInstallazione {
inline const QString Oper = QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I");
inline const QString Compo = QStringLiteral("durante il caricamento dei dati anagrafici dei COMPONENTI");
inline const QString SediOcc =
    QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI");
inline const QString SediOccUtil =
    QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI");
} // namespace FrasiInstallazione

/**
 * The first installation of the operators' registry, at every start. A registry that holds rows is
 * left alone (both first-installation flags false). An empty one: the start-up window shows
 * "INSTALLAZIONE", the download window lets the user fetch the master-data files; without "oper.tx1"
 * and "compo.tx1", or with only one of "sediocc.tx1" and "sediutil.tx1", the program ends after its
 * message. Otherwise the decode tables get their second chance to load, then operators, components,
 * their legal seats, occasional seats and their use are loaded in one transaction, and the four
 * files go into "CAR" as ".car" files.
 *
 * Any failure of the load rolls the four tables back before its message, and the program ends: the
 * next start finds the registry empty and installs again from the files, which stay in place.
 */
void InstallaAnagrafiche(Context &context, ProgressoAvvio &Avvio, const OperazioniInstallazione &operazioni);

} // namespace kx
