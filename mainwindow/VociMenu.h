#pragma once

#include <QList>
#include <QString>

namespace kx {

/** A menu entry of the main window: its picture button, the caption label beside it, its help text. */
struct VoceMenu
{
    QString pulsante;
    QString etichetta;
    /** The text for the status bar; empty where the label's own caption is shown (Label16). */
    QString testoStato;
};

/** The fifteen entries, in the order of the commands. */
const QList<VoceMenu> &vociMenu();

/** A web link of the main window: its caption-less label, the description asked about, the address. */
struct Collegamento
{
    QString etichetta;
    QString descrizione;
    QString indirizzo;
};

const QList<Collegamento> &collegamenti();

/** Windows colour values, red in the lowest byte: the highlighted caption and the others. */
inline constexpr int ColoreEvidenziato = 255;
inline constexpr int ColoreNormale = 16711680;

/** The labels the highlight never touches; the names are compared exactly. */
bool etichettaIntoccabile(const QString &name);

/**
 * Whether a control of the main window points with the hand: a name beginning with "CMD" or "LABEL"
 * in any case, but for the fixed texts Label1, Label3, Label4 and Label5, and lblAggiorna.
 */
bool haCursoreMano(const QString &name);

/** The caption of the main window for a role; the role is "SERVER" or "CLIENT". */
QString titoloMain(const QString &versione);

/** The operator's name in the header: "-  " and the name, cut to 24 characters and "..." when longer. */
QString denominazioneIntestazione(const QString &denominazione);

} // namespace kx
