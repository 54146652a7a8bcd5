#pragma once

#include "core/data/Connection.h"

#include <QString>

namespace kx {

/**
 * The lock an open connection holds on the side file beside its database ("<file>.lck"): a read
 * lock for a shared opening, the write lock for an exclusive one, on the byte that stands for the
 * database. It is an open file description lock, so two locks of one process conflict as two
 * programs' would. The lock and its descriptor go with the object.
 *
 * Several accounts may share one database: the side file is made with the database's permission bits,
 * and a shared opening that may not write it holds its read lock through a read-only descriptor.
 */
class DatabaseLock
{
public:
    /**
     * Takes the lock; fails with 3045 while another connection holds a conflicting one, and with 75
     * naming the side file and the cause when the file cannot be used (a folder, not readable, or not
     * writable for an exclusive opening).
     */
    DatabaseLock(const QString &databasePath, Connection::Mode mode);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    /** True when another connection holds a lock on the side file; our own read lock does not count. */
    bool othersHoldIt() const;

private:
    int m_fd = -1;
};

} // namespace kx
