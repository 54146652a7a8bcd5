#include "core/files/FileMoves.h"

#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

RoutineError fileError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
        return RoutineError(ErrorCode::PermissionDenied);
    case ENOENT:
    case ENOTDIR:
        return RoutineError(ErrorCode::PathNotFound);
    default:
        return RoutineError(ErrorCode::PathFileAccessError);
    }
}

/** Renames over an existing destination in one step; errno on failure. */
int renameReplacing(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0
                                                                                                    : errno;
}

/** A move across file systems: a full copy beside the destination first, then the same one-step rename. */
void copyAcross(const QString &from, const QString &to)
{
    const QString partial = to + u".tmp"_s;
    QFile::remove(partial);
    if (!QFile::copy(from, partial)) {
        QFile::remove(partial);
        throw RoutineError(ErrorCode::PathFileAccessError);
    }
    if (const int error = renameReplacing(partial, to)) {
        QFile::remove(partial);
        throw fileError(error);
    }
    if (!QFile::remove(from))
        throw RoutineError(ErrorCode::PathFileAccessError);
}

} // namespace

void SpostaFile(const ProgramFolder &folder, const QString &source, const QString &destination)
{
    const QString from = folder.resolve(source);
    if (!QFileInfo(from).isFile())
        return;
    const QString to = folder.resolve(destination);
    const QString toFolder = QFileInfo(to).path();
    if (!QFileInfo::exists(toFolder) && ::mkdir(QFile::encodeName(toFolder).constData(), 0777) != 0)
        throw fileError(errno);
    const int error = renameReplacing(from, to);
    if (error == EXDEV)
        copyAcross(from, to);
    else if (error != 0)
        throw fileError(error);
}

void VisLog(const Services &services, const ProgramFolder &folder, const QString &path)
{
    const QString resolved = folder.resolve(path);
    try {
        if (!QFileInfo(resolved).isFile())
            throw RoutineError(ErrorCode::FileNotFound);
        if (QFile file(resolved); !file.open(QIODevice::ReadOnly))
            throw RoutineError(ErrorCode::PathFileAccessError);
        services.logViewer.show(resolved);
    } catch (const RoutineError &error) {
        services.prompt.critical(
            TitoloProgramma, testoErroreRoutine(u"VisLog"_s, error) + u"\r\n"_s +
                                 u"Impossibile visualizzare il file di log."_s + u"\r\n\r\n"_s +
                                 u"Sarà possibile visualizzarlo in un secondo tempo "_s +
                                 u"entrando in Gestione Risorse, cliccando con il tasto destro del mouse "_s +
                                 u"sul file "_s + resolved +
                                 u", selezionando Apri con... e NotePad dall'elenco "_s +
                                 u"che comparirà a video."_s);
    }
}

void EseguiEAttendi(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QEventLoop wait;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    process.start();
    if (!process.waitForStarted(-1))
        throw RoutineError(ErrorCode::FileNotFound, u"Impossibile avviare il programma "_s + program +
                                                        u": "_s + process.errorString());
    if (process.state() != QProcess::NotRunning)
        wait.exec();
}
