#pragma once

namespace kx {
struct Services;
} // namespace kx

/**
 * Key filters of text boxes: each takes the code of the typed character and returns the character
 * to put in its place, 0 to swallow the key.
 */

/** Digits, "," and Backspace pass, "." becomes ",", Enter is swallowed; anything else beeps and says so. */
int TastoNumerico(const kx::Services &services, int key);
/** The character in capitals, accented letters included, as upperCaseCp1252 gives it. */
int TastoMaiuscolo(int key);

/** The characters a numeric box keeps from pasted text, "." turned into ",". */
bool tastoNumericoAmmesso(int key);
