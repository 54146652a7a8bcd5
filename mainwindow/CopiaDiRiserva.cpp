#include "mainwindow/CopiaDiRiserva.h"

#include "core/data/Connection.h"
#include "core/files/ProgramFolder.h"
#include "core/services/RoutineError.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The number of the copy a marker names (1 to 3), or 0 for any other name. */
int copiaDelMarker(const QString &marker)
{
    const QString upper = marker.toUpper();
    for (int n = 1; n <= 3; ++n) {
        if (upper == u"00"_s + QString::number(n) + u".LST"_s)
            return n;
    }
    return 0;
}

QString nomeNumerato(const QString &pattern, int n)
{
    return pattern.arg(n, 3, 10, QLatin1Char('0'));
}

/** The error of the file operation that just failed: permission denied (70) or path/file access (75). */
RoutineError erroreDelSistema()
{
    return RoutineError(errno == EACCES || errno == EPERM ? ErrorCode::PermissionDenied
                                                          : ErrorCode::PathFileAccessError);
}

void rimuovi(const QString &path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        throw erroreDelSistema();
}

/** Fails when the file cannot be opened so: the engine would say it less plainly. */
void apribile(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0644);
    if (fd < 0)
        throw erroreDelSistema();
    ::close(fd);
}

void copia(const QString &database, const QString &copy)
{
    const QString temporary = copy + u".tmp"_s;
    apribile(database, O_RDONLY);
    // A new file of our own: whatever stood under the name, a link included, is not written through.
    rimuovi(temporary);
    apribile(temporary, O_WRONLY | O_CREAT | O_EXCL);
    try {
        // Other installations may be writing: the engine's snapshot, not the file's bytes.
        Connection connection;
        connection.open(database, Connection::Mode::Shared);
        connection.backupTo(temporary);
        connection.close();
        if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(copy).constData()) != 0)
            throw erroreDelSistema();
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

void scriviMarker(const QString &path)
{
    try {
        TextFile::replaceFiles({{path, "\"ultimo backup\"\r\n"}});
    } catch (const TextFile::FileWriteError &error) {
        errno = error.systemError();
        throw erroreDelSistema();
    }
}

} // namespace

void CopiaDiRiserva(Context &context)
{
    const QDir cartella(context.programFolder().path());
    try {
        const QStringList markers = cartella.entryList({u"00?.lst"_s}, QDir::Files, QDir::Name);
        const QString marker = markers.isEmpty() ? QString() : markers.first();
        const int ultima = copiaDelMarker(marker);
        const int n = ultima % 3 + 1;
        if (ultima != 0)
            rimuovi(cartella.filePath(marker));
        copia(context.programFolder().resolve(context.installazione().PercorsoDB),
              cartella.filePath(nomeNumerato(u"backup.%1"_s, n)));
        scriviMarker(cartella.filePath(nomeNumerato(u"%1.lst"_s, n)));
    } catch (const RoutineError &error) {
        if (error.number() == ErrorCode::PermissionDenied)
            return;
        context.prompt.warn(u"Errore nella copia di riserva"_s,
                            u"Errore "_s + (error.number() >= 0 ? u" "_s : QString()) +
                                QString::number(error.number()) + u" -> "_s + error.description());
    }
}
