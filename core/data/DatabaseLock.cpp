#include "core/data/DatabaseLock.h"

#include "core/services/RoutineError.h"
#include "core/services/SystemErrors.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** A read or write lock on the first byte of the side file: the byte that stands for the database. */
struct flock databaseLock(short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 1;
    return lock;
}

bool writeRefused(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

/**
 * Opens the side file for reading and writing, creating it with the database's permission bits so that
 * every account that may use the database may use the lock too (the creator's umask would narrow them).
 * A shared opening that may not write it opens it for reading: a read lock needs no more.
 * Returns the descriptor, or -1 with errno set.
 */
int openLockFile(const QByteArray &lockPath, const QByteArray &databasePath, Connection::Mode mode)
{
    for (;;) {
        int fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            struct stat database = {};
            // A file system without permissions (a FAT share) has no bits to copy: the file stays as made.
            if (::stat(databasePath.constData(), &database) == 0)
                (void)::fchmod(fd, database.st_mode & 0777);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
        fd = ::open(lockPath.constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && mode == Connection::Mode::Shared && writeRefused(errno))
            fd = ::open(lockPath.constData(), O_RDONLY | O_CLOEXEC);
        // Removed between the two openings: make it again.
        if (fd >= 0 || errno != ENOENT)
            return fd;
    }
}

} // namespace

DatabaseLock::DatabaseLock(const QString &databasePath, Connection::Mode mode)
{
    const QString lockPath = databasePath + u".lck"_s;
    m_fd = openLockFile(QFile::encodeName(lockPath), QFile::encodeName(databasePath), mode);
    if (m_fd < 0) {
        // Not the installation's settings at fault, so a number the start-up does not reset them for.
        const int error = errno;
        const QString cause = descrizioneErroreSistema(error);
        throw RoutineError(ErrorCode::PathFileAccessError,
                           mode == Connection::Mode::Exclusive && writeRefused(error)
                               ? QString(u"Impossibile aprire in modo esclusivo '"_s + databasePath +
                                         u"': il file di blocco '"_s + lockPath +
                                         u"' non può essere scritto ("_s + cause + u")."_s)
                               : QString(u"Impossibile utilizzare il file di blocco '"_s + lockPath +
                                         u"': "_s + cause + u"."_s));
    }
    struct flock lock = databaseLock(mode == Connection::Mode::Exclusive ? F_WRLCK : F_RDLCK);
    if (fcntl(m_fd, F_OFD_SETLK, &lock) != 0) {
        ::close(m_fd);
        throw RoutineError(ErrorCode::FileInUse,
                           mode == Connection::Mode::Exclusive
                               ? u"Impossibile aprire in modo esclusivo '"_s + databasePath +
                                     u"': il file è già in uso da parte di un altro utente."_s
                               : u"Impossibile utilizzare '"_s + databasePath +
                                     u"'; file già in uso in modo esclusivo da un altro utente."_s);
    }
}

DatabaseLock::~DatabaseLock()
{
    ::close(m_fd);
}

bool DatabaseLock::othersHoldIt() const
{
    // Asks whether the write lock could be taken without taking it: taking it, even for a moment,
    // would make another installation's opening fail meanwhile.
    struct flock lock = databaseLock(F_WRLCK);
    return fcntl(m_fd, F_OFD_GETLK, &lock) != 0 || lock.l_type != F_UNLCK;
}

} // namespace kx
