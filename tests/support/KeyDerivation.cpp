#include "KeyDerivation.h"

#include <QtGlobal>
#include <sqlite3.h>

namespace {

/** The rounds of every database made or opened afterwards in the process. */
void setDefaultRounds(const char *pragma)
{
    sqlite3 *db = nullptr;
    const bool set = sqlite3_open(":memory:", &db) == SQLITE_OK &&
                     sqlite3_exec(db, pragma, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    if (!set)
        qFatal("the rounds of the key derivation cannot be set");
}

// Linked into every test executable: set before main, before any database is made.
const bool quickRounds = (setDefaultRounds("PRAGMA cipher_default_kdf_iter = 2"), true);

} // namespace

namespace KeyDerivation {

void useProgramRounds()
{
    // SQLCipher 3's own default.
    setDefaultRounds("PRAGMA cipher_default_kdf_iter = 64000");
}

} // namespace KeyDerivation
