#pragma once

#include "FakeServices.h"

#include <QString>
#include <QWidget>

/**
 * Presses a button of a window as a click would, but without going through mouse events: a box the
 * test did not expect, or the end of the program, then reaches the test as an exception.
 */
void press(QWidget *window, const QString &name);

/** The child of a window with the given objectName; fails the test naming what is missing. */
template<typename T> T *control(QWidget *window, const QString &name)
{
    T *child = window->findChild<T *>(name);
    if (!child)
        throw UnexpectedCall(
            QStringLiteral("%1 has no control %2 of the expected kind").arg(window->objectName(), name));
    return child;
}
