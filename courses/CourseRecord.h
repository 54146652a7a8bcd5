#pragma once

#include "courses/CourseForm.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <optional>

/** The 26 columns the editor writes into a CorsiProp row, in the order it writes them. */
const QStringList &courseColumns();

/**
 * A course as the editor writes it: one value per column of courseColumns(), in that order (Null
 * for an empty responsible component or no approved reference).
 */
struct CourseRecord
{
    QVariantList values;

    /** The value of one of the 26 columns by name. */
    QVariant value(const QString &column) const;
};

/**
 * The record of the form. Pupils and hours are whole numbers (16 and 32 bits), read once: the
 * pupils give NumAll, CodPerc, CodSpesa and AllieviSpesa alike, and the cost block is the estimate
 * of the form's name, pupils and hours. A value that does not convert (an empty target group, pupils,
 * hours or duration, a number out of its width, a blank estimate) throws RoutineError 13 or 6.
 */
CourseRecord buildCourseRecord(const CourseForm &form);

/** The box of a seat that has used up its course codes; its title is the insertion's. */
inline const QString TestoCodiciEsauriti = QStringLiteral(
    "Raggiunto il numero massimo di corsi (9999) per la sede. Impossibile assegnare un nuovo codice corso.");

/**
 * The code of a seat's next course: the highest of its codes read as a number (its leading digits),
 * plus one, four digits with leading zeros; "0001" for a seat without courses. Nothing when the seat
 * has reached "9999": codes are four characters wide wherever they are read.
 */
std::optional<QString> nextCourseCode(const QStringList &storedCodes);

/** A new course's identifier in the course registry: a UUID in capitals with braces, 38 characters. */
QString newCourseGuid();

/**
 * One stored course as QryCorsi shows it, its values found by column name (as the view names them,
 * "CorsiProp.DenCorso" for the course name) without regard to case.
 */
class CourseRow
{
public:
    CourseRow() = default;
    CourseRow(std::shared_ptr<const QHash<QString, int>> columns, QVariantList values);

    /** The value of a column; Null for a column the row does not have. */
    QVariant value(const QString &column) const;
    /** The key of the row. */
    QString corso() const { return value(QStringLiteral("Corso")).toString(); }

private:
    std::shared_ptr<const QHash<QString, int>> m_columns;
    QVariantList m_values;
};

/**
 * True when the form shows the stored row unchanged, comparing the twelve fields a user can change:
 * responsible component, cycle, axis, measure, action, course name, target group, pupils, free-text
 * and approved reference, hours and duration. Codes and names exactly, numbers as numbers; a box
 * that does not read as a number counts as changed, so that the checks report it. A pending new
 * course has no stored row: the window counts it as changed without calling this.
 */
bool courseUnchanged(const CourseForm &form, const CourseRow &row);
