#pragma once

#include "core/services/Services.h"
#include "courses/CourseForm.h"

#include <QString>

/** The first check of a course that fails, and how the editor shows it. */
struct CourseCheck
{
    bool ok = true;
    /** 1 to 14 for the failed check; 0 when every check passed. */
    int step = 0;
    QString message;
    /** The box's title: "Verifica dati", or the program's title for a limit of the course name. */
    QString title;
    kx::Prompt::Icon icon = kx::Prompt::Icon::None;
    /** The control that gets the focus (when it is enabled); empty when the focus stays. */
    QString focus;
    /** The tab brought to the front: 0 "Sez.3.1", 1 "Sez.3.2"; -1 when it stays. */
    int tab = -1;
    /** The busy pointer goes back to normal before the box. */
    bool pointer = false;
};

/**
 * The checks a course passes before it is stored, in their order; the first that fails is returned.
 * An application printed in final form passes at once. Pupils are read as a 16-bit and hours as a
 * 32-bit whole number, the Italian way.
 */
CourseCheck validateCourse(const CourseForm &form);

/**
 * The pupil and hour limits that some course names set; the message of the first one broken, or an
 * empty text when the course keeps them.
 */
QString courseLimits(const QString &name, int pupils, qint32 hours);
