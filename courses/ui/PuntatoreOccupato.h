#pragma once

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
