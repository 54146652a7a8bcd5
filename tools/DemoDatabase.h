#pragma once

#include <QString>

/**
 * Adds to an empty program database the application a demo starts on and the financial cycles. Its
 * number is the one the demo's INI file names, its operator the demo server's A 12: the application
 * holds that operator's data and both of its seats as the server's registry gives them, as a new
 * application of A 12 would, so that it prints and sends whole. The operators' registry stays empty:
 * the demo's first start downloads it. Throws RoutineError on failure.
 */
void addDemoApplication(const QString &path);
