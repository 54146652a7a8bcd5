#pragma once

#include "applications/SezioneFrame.h"
#include "courses/CourseRecord.h"

#include <QList>
#include <QString>

namespace kx {
class Connection;
} // namespace kx

/** The key of a course: application, seat and four-digit code. */
struct CourseKey
{
    qint32 numDoma = 0;
    qint32 sede = 0;
    QString corso;
};

/** What an insertion stored: the new course's code and registry identifier, or that the seat is full. */
struct InsertedCourse
{
    /** The seat already holds "9999": nothing was written (TestoCodiciEsauriti). */
    bool codiciEsauriti = false;
    QString corso;
    QString guid;
};

/**
 * The proposed courses of a seat in CorsiProp, read through QryCorsi. Every write is one statement
 * by key with bound values, or one transaction; failures throw RoutineError with the old engine's
 * numbers, so the editor's recovery can branch on them.
 */
class CourseStore
{
public:
    explicit CourseStore(kx::Connection &db);

    /** The seat's courses with the view's descriptions, in code order. */
    QList<CourseRow> seatCourses(qint32 numDoma, qint32 sede);
    /** The codes of the seat's stored courses, in code order. */
    QStringList seatCodes(qint32 numDoma, qint32 sede);
    /** One course as stored now; nothing when it is gone. */
    std::optional<CourseRow> find(const CourseKey &key);
    /** The stored courses of the seat. */
    int count(qint32 numDoma, qint32 sede);
    /** True while the application and its seat exist, so that a deleted course can be stored again. */
    bool seatExists(qint32 numDoma, qint32 sede);
    /**
     * Where the course of that Guid is stored in the application now (another installation may have
     * moved it to another seat or code); nothing when it is nowhere.
     */
    std::optional<CourseKey> findGuid(qint32 numDoma, const QString &guid);

    /**
     * The seat's next course code from the codes stored now (nextCourseCode); nothing when the seat
     * holds "9999". Inside the caller's transaction when it has one, as a move between seats does.
     */
    std::optional<QString> nextCode(qint32 numDoma, qint32 sede);

    /**
     * Stores a new course of the record's application and seat: the seat's next code and the record
     * in one immediate transaction, so that two installations adding at once get two codes. The row
     * gets a new Guid; the record's own Corso is not used.
     */
    InsertedCourse insert(const CourseRecord &record);

    /**
     * Writes the record's 26 columns over the course `letta`, as the editor read it: the row of its key
     * whose Guid is still the one read (a stored Null Guid matches any), so that a course another
     * installation stored under the same code is never written over. Every other column, Guid
     * included, keeps its value. In one transaction: with `Scrittura::SeInvariata` the 26 columns must
     * still hold what was read, otherwise RigaModificataAltrove. No such row fails with the row-deleted
     * error (ErrorCode::RowDeletedMeanwhile). Either failure writes nothing.
     */
    void update(const CourseRow &letta, const CourseRecord &record, Scrittura scrittura);

    /**
     * Deletes the course `letta` with its yearly costs, found as update() finds it; one already gone
     * (or replaced by another course of the same code) fails with 3021.
     */
    void remove(const CourseRow &letta);

    /**
     * Stores again a course that another installation deleted: its key and 26 columns from the
     * record, and its Guid (none for a course that never had one).
     */
    void reinsert(const CourseRecord &record, const QString &guid);

private:
    kx::Connection &m_db;
};
