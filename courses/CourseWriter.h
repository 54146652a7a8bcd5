#pragma once

#include "courses/CourseForm.h"
#include "courses/CourseStore.h"

#include <QString>
#include <functional>

namespace kx {
struct Services;
} // namespace kx

/** What became of a write: callers go on only when the course was stored. */
enum class EsitoScrittura
{
    /** The row holds the form: `corso` is its code. */
    Memorizzato,
    /** Nothing was written and the editor stays as it is (or shows the rows as stored: `ricaricare`). */
    Rifiutato,
    /** The user gave up in the error box: nothing was written and the editor closes. */
    Annullato
};

struct ScritturaCorso
{
    EsitoScrittura esito = EsitoScrittura::Rifiutato;
    QString corso;
    /**
     * Another installation changed, moved or deleted the course and nothing was written (the user
     * chose not to write over it or to store it again): the editor re-reads its rows and shows what
     * is stored.
     */
    bool ricaricare = false;
};

/** Title of the boxes of the insertion and of the box shown once it succeeded. */
inline const QString TitoloInserimentoCorso = QStringLiteral("Inserimento Corso");

/** Warning of a save whose course another installation moved: where the course is stored now. */
QString testoCorsoSpostato(const CourseKey &dove);

/**
 * The course editor's write (AggQuery): the form's record into the seat's courses, a new course with
 * the seat's next code and a Guid of its own, a stored one over the row it was read from. It handles
 * every failure with the user: a course that another installation saved meanwhile is written over
 * only when the user says so, else shown as stored; a course moved meanwhile to another seat or code
 * is reported where it now is and not written; a course deleted meanwhile is offered for insertion
 * again (with its key, columns and Guid) unless its application or seat is gone too; any other
 * failure offers Retry, which writes again from the start (a new course inserts again, never over
 * another row), or Cancel. In "DEBUG" mode a failure first shows "Resume" with Retry and Cancel.
 */
class CourseWriter
{
public:
    /** The progress bar's steps for one write. */
    static constexpr int Passi = 13;

    struct Hooks
    {
        /** The busy pointer and the progress bar at 0 (true), or both gone (false). */
        std::function<void(bool)> occupato;
        /** The progress bar's value, 0 to Passi. */
        std::function<void(int)> avanzamento;
    };

    CourseWriter(CourseStore &store, const kx::Services &services, Hooks hooks);

    /**
     * Writes the form: as a new course when `nuovo`, else over the stored course as the editor read it
     * (`letta`, nothing when it was already gone), whose Guid is kept when it has to be inserted again.
     */
    ScritturaCorso AggQuery(const CourseForm &form, bool nuovo, const std::optional<CourseRow> &letta);

private:
    /** One attempt; throws what failed. */
    ScritturaCorso scrivi(const CourseForm &form, bool nuovo, const std::optional<CourseRow> &letta,
                          Scrittura scrittura);
    ScritturaCorso rigaCancellata(const CourseForm &form, const QString &guid);

    CourseStore &m_store;
    const kx::Services &m_services;
    Hooks m_hooks;
};
