#pragma once

#include "courses/CourseRecord.h"
#include "courses/CourseStore.h"

#include <QStringList>
#include <optional>

/**
 * The courses of one seat as the editor walks them: their codes in code order and the one on screen.
 * Only the course on screen is read whole, so a seat with many courses opens as fast as one with a
 * few. The codes are those read at the opening or at the last requery().
 */
class SeatCourses
{
public:
    SeatCourses(CourseStore &store, qint32 numDoma, qint32 sede);

    /** Reads the codes again; stays on the same course while it is stored, else on the first. */
    void requery();

    int count() const { return int(m_codici.size()); }
    bool isEmpty() const { return m_codici.isEmpty(); }
    const QStringList &codes() const { return m_codici; }
    /** Position of the course on screen; -1 when there is none. */
    int position() const { return m_posizione; }
    /** Code of the course on screen; empty when there is none. */
    QString code() const { return m_codici.value(m_posizione); }
    CourseKey key() const { return {m_numDoma, m_sede, code()}; }

    /** Makes the course at the position current and reads it; false when there is no such position. */
    bool moveTo(int position);
    /** Makes the course of that code current; false, and nothing moved, when the seat has no such code. */
    bool find(const QString &code);

    /** The course on screen as read when it became current (or refreshed); nothing when it is gone. */
    const std::optional<CourseRow> &row() const { return m_riga; }
    /** Reads the course on screen again, with the view's descriptions as stored now. */
    void refresh();

private:
    CourseStore &m_store;
    qint32 m_numDoma;
    qint32 m_sede;
    QStringList m_codici;
    int m_posizione = -1;
    std::optional<CourseRow> m_riga;
};

/**
 * The course to show once a course is deleted: the next one in code order, else the one before it;
 * nothing when it was the seat's only course (or is not among the codes).
 */
std::optional<QString> neighbourAfterDelete(const QStringList &codes, const QString &code);
