#include "core/data/DatabaseLock.h"

#include "core/services/RoutineError.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

} // namespace

DatabaseLock::DatabaseLock(const QString &databasePath, Connection::Mode mode)
{
    const QByteArray lockPath = QFile::encodeName(databasePath + u".lck"_s);
    m_fd = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        throw RoutineError(ErrorCode::Unspecified, u"Impossibile aprire il file di blocco '"_s +
                                                       databasePath + u".lck': "_s +
                                                       QString::fromLocal8Bit(strerror(errno)));
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
