#pragma once

#include <QString>
#include <array>

namespace kx {

/**
 * What the municipality and foreign-state pickers chose. The caller empties a result before it opens
 * its picker; an empty code afterwards means that nothing was chosen.
 */
struct LuoghiScelti
{
    /** Municipality code, name, province abbreviation, postal code. */
    std::array<QString, 4> ComuneScelto;

    struct Stato
    {
        QString codice;
        QString nome;
    };
    Stato StatoEsteroScelto;
};

} // namespace kx
