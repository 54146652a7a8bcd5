#include "core/services/SystemErrors.h"

#include <QFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace kx {

QString descrizioneErroreSistema(int errnum)
{
    switch (errnum) {
    case EACCES:
    case EPERM:
        return u"autorizzazione negata"_s;
    case ENOENT:
        return u"file o cartella inesistente"_s;
    case EISDIR:
        return u"è una cartella"_s;
    case ENOTDIR:
        return u"un elemento del percorso non è una cartella"_s;
    case EROFS:
        return u"il file system è di sola lettura"_s;
    case ENOSPC:
        return u"spazio su disco esaurito"_s;
    case EDQUOT:
        return u"quota disco superata"_s;
    case EFBIG:
        return u"file troppo grande"_s;
    case ENAMETOOLONG:
        return u"nome di file troppo lungo"_s;
    case EBUSY:
    case ETXTBSY:
        return u"file in uso"_s;
    case EIO:
        return u"errore di lettura o scrittura sul disco"_s;
    case EMFILE:
    case ENFILE:
        return u"troppi file aperti"_s;
    default:
        return QString::fromLocal8Bit(std::strerror(errnum));
    }
}

QString causaFileInutilizzabile(const QString &path, bool scrittura)
{
    const int fd = ::open(QFile::encodeName(path).constData(), (scrittura ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return descrizioneErroreSistema(errno);
    ::close(fd);
    return {};
}

QString causaCartellaNonScrivibile(const QString &folder)
{
    errno = 0;
    QTemporaryFile probe(folder + u"/.prova-scrittura-XXXXXX"_s);
    if (probe.open())
        return {};
    return errno != 0 ? descrizioneErroreSistema(errno) : probe.errorString();
}

} // namespace kx
