#pragma once

/**
 * How many rounds derive a database's key from the program's password in a test process. Every test
 * opens hundreds of connections, and at the program's rounds deriving their keys is nearly all of a
 * test's time; a test's temporary database guards nothing, so every test process starts with a few
 * rounds. The connection's own tests go back to the program's rounds, which are the library's own.
 */
namespace KeyDerivation {

/** Databases made and opened from now on use the library's rounds, as the program's do. */
void useProgramRounds();

} // namespace KeyDerivation
