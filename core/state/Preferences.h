#pragma once

namespace kx {

/** What the user chose in the options and the e-mail prompt, for the rest of the session. */
struct Preferences
{
    /** Verdict of the last e-mail check. */
    bool EMailValida = false;
    /** Mouse-over effects of the main window's captions. */
    bool EffettoSottolinea = false;
    bool EffettoAumenta = false;
    bool EffettoCambiaColore = true;
};

} // namespace kx
