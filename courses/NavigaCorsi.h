#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class CourseStore;

/**
 * How the course editor moves among the seat's courses. The rows are the seat's courses as the editor
 * last read them, in code order; a position is an index among them. The state of the five navigation
 * buttons follows from probing the rows around the target, never from counting them.
 */

/** Which of the navigation buttons may be pressed on the course shown. */
enum class StatoNavigazione
{
    /** NavigazionePrimo: next, last and go-to. */
    Primo,
    /** NavigazioneUltimo: first, previous and go-to. */
    Ultimo,
    /** NavigazioneIntermedio: all five. */
    Intermedio,
    /** NavigazioneDisabilitata: none. */
    Disabilitata
};

enum class DirezioneNavigazione
{
    Primo,
    Precedente,
    Successivo,
    Ultimo,
    Vai
};

/** The direction of NavigaCorsi's text ("Primo" ... "Vai"), compared exactly; nothing for another text. */
std::optional<DirezioneNavigazione> direzioneNavigazione(const QString &testo);

/** Where a step lands and the buttons it leaves. */
struct PassoNavigazione
{
    int posizione = 0;
    StatoNavigazione stato = StatoNavigazione::Disabilitata;
};

/**
 * One of the four step moves from the course at `posizione` among `righe` rows. "Precedente" looks two
 * rows back: before the first, the previous course is the first; otherwise it is one in the middle.
 * "Successivo" looks two rows forward in the same way. "Vai" is not a step: it throws.
 */
PassoNavigazione passoNavigazione(DirezioneNavigazione direzione, int posizione, int righe);

/**
 * AggiornaNavigazione: the buttons for the course at `posizione`. A seat that stores at most one
 * course (`piuCorsi` false: counted in the table, not among the rows) disables all five; otherwise one
 * row back and then two forward tell the first, the last or one in the middle.
 */
StatoNavigazione statoNavigazione(int posizione, int righe, bool piuCorsi);

/** The course list EleCorsi: its items and the one to select. */
struct ElencoCorsi
{
    /** Code, one blank, course name, in code order. */
    QStringList voci;
    /** The course on screen, or the first item when it is not listed; -1 for an empty list. */
    int selezionata = -1;
};

/** The seat's courses as stored now, the course on screen selected. */
ElencoCorsi elencoCorsi(CourseStore &store, qint32 numDoma, qint32 sede, const QString &corsoCorrente);

/** The course code of a list item: its text up to the first blank. */
QString codiceVoceCorso(const QString &voce);

/** The box of a course chosen in the list that another installation has deleted since. */
inline const QString TestoCorsoNonPresente = QStringLiteral("Il corso selezionato non è più presente.");
