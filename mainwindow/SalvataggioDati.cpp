#include "mainwindow/SalvataggioDati.h"

#include "core/config/IniFile.h"
#include "core/config/IniKeys.h"
#include "core/data/Connection.h"
#include "core/data/DatabaseLock.h"
#include "core/files/FileMoves.h"
#include "core/files/ProgramFolder.h"
#include "core/files/ZipArchive.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/Services.h"
#include "core/services/SystemErrors.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString TitoloErrore = u"Errore"_s;
const QString AltreInstallazioni = u"Impossibile recuperare la base dati: altre installazioni sono connesse. "
                                   u"Chiudere tutti i client e ritentare l'operazione."_s;

qsizetype ultimoSeparatore(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

/** The database file the INI file names, as a path of this system. */
QString percorsoBaseDati(Context &context)
{
    return context.programFolder().resolve(context.fileIni().Leggi(IniKeys::Database));
}

RoutineError erroreFile(const QString &path, int error)
{
    const int number = error == EACCES || error == EPERM || error == EROFS ? ErrorCode::PermissionDenied
                       : error == ENOENT || error == ENOTDIR               ? ErrorCode::PathNotFound
                                                                           : ErrorCode::PathFileAccessError;
    return RoutineError(number, RoutineError::standardDescription(number) + u" ("_s + path + u": "_s +
                                    descrizioneErroreSistema(error) + u")"_s);
}

/** A copy of the file at `to`, replacing an older one there only once it is complete. */
void copiaSostituendo(const QString &from, const QString &to)
{
    const QString partial = to + u".tmp"_s;
    QFile::remove(partial);
    QFile source(from);
    if (!source.copy(partial)) {
        QFile::remove(partial);
        throw RoutineError(ErrorCode::PathFileAccessError, u"Impossibile copiare '"_s + from + u"' in '"_s +
                                                               partial + u"': "_s + source.errorString());
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(to).constData()) != 0) {
        const int error = errno;
        QFile::remove(partial);
        throw erroreFile(to, error);
    }
}

/** A folder under the program folder, found whatever the case of its name, made when missing. */
QString cartellaDiLavoro(Context &context, const QString &name)
{
    const QString path = context.programFolder().resolve(name);
    if (!QDir().mkpath(path))
        throw erroreFile(path, errno ? errno : EACCES);
    return path;
}

/** True when the file opens with the program's key and holds the program's tables. */
bool baseDatiDelProgramma(const QString &path)
{
    try {
        Connection connection;
        connection.open(path, Connection::Mode::Exclusive);
        VerificaBaseDati(connection, path);
        connection.close();
        return true;
    } catch (const RoutineError &) {
        return false;
    }
}

/** A new folder of the restore's own beside the database's files, removed when the restore ends. */
class CartellaPrivata
{
public:
    explicit CartellaPrivata(const QString &cartellaProgramma)
    {
        QByteArray modello = QFile::encodeName(cartellaProgramma + u'/' + CartellaEstrazione + u"-XXXXXX"_s);
        if (!::mkdtemp(modello.data()))
            throw erroreFile(cartellaProgramma, errno);
        m_path = QFile::decodeName(modello);
    }
    ~CartellaPrivata() { QDir(m_path).removeRecursively(); }
    CartellaPrivata(const CartellaPrivata &) = delete;
    CartellaPrivata &operator=(const CartellaPrivata &) = delete;

    const QString &path() const { return m_path; }

private:
    QString m_path;
};

/** Room kept free beside the extracted database, for its journal and the work that follows. */
constexpr qint64 MargineSpazio = 32LL * 1024 * 1024;

/** The extraction's outcome: the database file extracted, or why there is none. */
struct Estrazione
{
    QString file;
    QString motivo;
};

/** Only the entry named like the database is extracted, and only when it fits on the disk. */
Estrazione estraiBaseDati(const QString &archivio, const QString &cartella, const QString &nomeDB)
{
    const NamedEntryExtraction estratta = extractNamedEntry(archivio, nomeDB, cartella, MargineSpazio);
    switch (estratta.outcome) {
    case NamedEntryExtraction::Outcome::Extracted:
        if (baseDatiDelProgramma(estratta.path))
            return {estratta.path, {}};
        return {{}, MotivoArchivioNonValido};
    case NamedEntryExtraction::Outcome::NoSpace:
        return {{}, MotivoSpazioInsufficiente};
    case NamedEntryExtraction::Outcome::NotFound:
    case NamedEntryExtraction::Outcome::Failed:
        break;
    }
    return {{}, MotivoArchivioNonValido};
}

Esito ripristina(Context &context, const QString &archivio, bool conservaCopia, const Esecutore &inDisparte)
{
    const QString percorsoDB = percorsoBaseDati(context);
    const QString nomeDB = QFileInfo(percorsoDB).fileName();

    // Never a folder of a known name: a link planted under it would lead the clean-up elsewhere.
    const CartellaPrivata estrazione(context.programFolder().path());
    Estrazione estratta;
    inDisparte([&] { estratta = estraiBaseDati(archivio, estrazione.path(), nomeDB); });
    if (estratta.file.isEmpty())
        return {EsitoOperazione::Fallita, archivio, {}, estratta.motivo};

    std::unique_ptr<DatabaseLock> esclusivo;
    try {
        esclusivo = std::make_unique<DatabaseLock>(percorsoDB, Connection::Mode::Exclusive);
    } catch (const RoutineError &error) {
        if (error.number() != ErrorCode::FileInUse)
            throw;
        return {EsitoOperazione::Rifiutata, archivio, {}, {}};
    }

    // Nobody can open the database until the lock goes: the copy and the replacement see one file.
    const bool esiste = QFileInfo(percorsoDB).isFile();
    if (conservaCopia && esiste)
        copiaSostituendo(percorsoDB, QDir(cartellaDiLavoro(context, CartellaCopiaDB)).filePath(nomeDB));
    const QFile::Permissions permessi = QFile::permissions(percorsoDB);
    SpostaFile(context.programFolder(), estratta.file, percorsoDB);
    if (esiste)
        QFile::setPermissions(percorsoDB, permessi);
    // A journal left by a crash belonged to the file just replaced; the engine would apply it to this one.
    QFile::remove(percorsoDB + u"-journal"_s);
    return {EsitoOperazione::Riuscita, archivio, {}, {}};
}

} // namespace

QString FiltroArchivi()
{
    return u"Backup Predefinito ("_s + NomeBackupPredefinito + u");;WinZip File (*.zip)"_s;
}

QString CartellaDi(const QString &path)
{
    const qsizetype separatore = ultimoSeparatore(path);
    return separatore < 0 ? QString() : path.left(separatore);
}

QString NomeProposto(const QString &cartella)
{
    QString folder = cartella;
    while (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        folder.chop(1);
    return folder + u'/' + NomeBackupPredefinito;
}

QString NomeArchivioBackup(const QString &nome)
{
    const qsizetype inizioNome = ultimoSeparatore(nome) + 1;
    const qsizetype punto = nome.lastIndexOf(u'.');
    // A leading "." starts a hidden file's name, not an extension.
    if (punto <= inizioNome)
        return nome + u".zip"_s;
    if (nome.mid(punto).compare(u".zip"_s, Qt::CaseInsensitive) == 0)
        return nome;
    return nome.left(punto) + u".zip"_s;
}

QString DomandaSostituzioneArchivio(const QString &archivio)
{
    return QFileInfo(archivio).fileName() + u" esiste già.\r\nSostituirlo?"_s;
}

bool ArchiviaBaseDati(Connection &connection, const QString &archivio, QString *errore)
{
    const QTemporaryDir lavoro;
    if (!lavoro.isValid())
        throw RoutineError(ErrorCode::PathFileAccessError,
                           u"Impossibile creare una cartella temporanea: "_s + lavoro.errorString());
    const QString nomeDB = QFileInfo(connection.path()).fileName();
    const QString istantanea = lavoro.filePath(nomeDB);
    connection.backupTo(istantanea);
    return zipOneFile(istantanea, nomeDB, archivio, errore);
}

Esito Backup(Context &context, const QString &nome)
{
    if (nome.trimmed().isEmpty())
        return {EsitoOperazione::NomeMancante, {}, {}, {}};
    const QString archivio = context.programFolder().resolve(NomeArchivioBackup(nome));
    try {
        const bool sostituisce = QFileInfo(archivio).isFile();
        Connection sorgente;
        sorgente.open(percorsoBaseDati(context), Connection::Mode::Shared);
        const bool riuscito = ArchiviaBaseDati(sorgente, archivio);
        sorgente.close();
        if (!riuscito) {
            context.fileIni().Scrivi(IniKeys::FileBackup, QString());
            return {EsitoOperazione::Fallita, archivio, {}, {}};
        }
        if (sostituisce) {
            const QString compagno =
                CartellaDi(archivio) + u'/' + QFileInfo(archivio).completeBaseName() + u".txt"_s;
            if (QFileInfo(compagno).isFile())
                QFile::remove(compagno);
        }
        context.fileIni().Scrivi(IniKeys::FileBackup, archivio);
        return {EsitoOperazione::Riuscita, archivio, {}, {}};
    } catch (const RoutineError &error) {
        return {EsitoOperazione::Errore, archivio, testoErrore(error), {}};
    }
}

Esito Ripristino(Context &context, const QString &archivio, bool conservaCopia, const Esecutore &inDisparte)
{
    if (archivio.trimmed().isEmpty())
        return {EsitoOperazione::NomeMancante, {}, {}, {}};
    const QString percorso = context.programFolder().resolve(archivio);
    try {
        return ripristina(
            context, percorso, conservaCopia,
            inDisparte ? inDisparte : [](const std::function<void()> &lavoro) { lavoro(); });
    } catch (const RoutineError &error) {
        return {EsitoOperazione::Errore, percorso, testoErrore(error), {}};
    }
}

void MostraEsitoBackup(Prompt &prompt, const Esito &esito)
{
    switch (esito.esito) {
    case EsitoOperazione::NomeMancante:
        prompt.critical(TitoloErrore, u"Selezionare prima un nome per l'Archivio di Backup."_s);
        break;
    case EsitoOperazione::Riuscita:
        prompt.inform(QString(), u"Backup eseguito con successo."_s);
        break;
    case EsitoOperazione::Fallita:
    case EsitoOperazione::Rifiutata:
        prompt.critical(QString(), u"Backup fallito"_s);
        break;
    case EsitoOperazione::Errore:
        prompt.critical(TitoloErrore, esito.errore);
        break;
    }
}

void MostraEsitoRipristino(Prompt &prompt, const Esito &esito)
{
    switch (esito.esito) {
    case EsitoOperazione::NomeMancante:
        prompt.critical(TitoloErrore, u"Nessun file da ripristinare selezionato."_s);
        break;
    case EsitoOperazione::Riuscita:
        prompt.inform(QString(), u"Recupero eseguito con successo"_s);
        break;
    case EsitoOperazione::Fallita:
        prompt.critical(QString(), esito.motivo.isEmpty() ? u"Recupero fallito"_s
                                                          : u"Recupero fallito: "_s + esito.motivo);
        break;
    case EsitoOperazione::Rifiutata:
        prompt.critical(TitoloErrore, AltreInstallazioni);
        break;
    case EsitoOperazione::Errore:
        prompt.critical(QString(), esito.errore);
        break;
    }
}
