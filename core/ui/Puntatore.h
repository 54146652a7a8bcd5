#pragma once

#include <QCursor>
#include <QGuiApplication>

/** The busy pointer (hourglass) while it lives, whatever way the work ends. */
class PuntatoreOccupato
{
public:
    PuntatoreOccupato() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~PuntatoreOccupato() { QGuiApplication::restoreOverrideCursor(); }
    PuntatoreOccupato(const PuntatoreOccupato &) = delete;
    PuntatoreOccupato &operator=(const PuntatoreOccupato &) = delete;
};

/** The default pointer, however many hourglasses were asked for: before a box the user must read. */
inline void puntatoreNormale()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}
