#pragma once

namespace kx {

/** The outcome of the request for a new application's number, read by the command that asked for it. */
struct NuovaDomanda
{
    /** True once the new Domande row exists and NumDomaCorrente holds its number. */
    bool NumeroDomandaOttenuto = false;
};

} // namespace kx
