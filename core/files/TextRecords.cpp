#include "core/files/TextRecords.h"

#include "core/files/ProgramFolder.h"
#include "core/services/RoutineError.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Positions were 16-bit numbers: the reader could not step past this one. */
constexpr qsizetype LastPosition = 32767;

/** The name as Windows would have created it: trailing blanks and dots dropped. */
QString windowsFileName(const QString &name)
{
    qsizetype end = name.size();
    while (end > 0 && (name[end - 1] == u' ' || name[end - 1] == u'.'))
        --end;
    return name.left(end);
}

/** A name of one file in the folder; "." and ".." come here empty, their dots dropped. */
bool isBareName(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || u"<>:\"/\\|?*"_s.contains(c))
            return false;
    }
    return true;
}

bool sameOrCompanion(const QString &path, const QString &databasePath)
{
    return !databasePath.isEmpty() && path.startsWith(databasePath, Qt::CaseInsensitive);
}

/** A download brings master-data, approved-courses and decode-table files and flag files only. */
bool isDownloadName(const QString &name)
{
    for (const auto extension : {u".tx1", u".txt", u".tab"}) {
        if (name.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

/** Why the program must not write a file of this name from a download, or "" when it may. */
QString rifiutoNome(const ProgramFolder &folder, const QString &percorsoDB, const QString &bundleName,
                    const QString &name)
{
    const QString fileName = windowsFileName(name);
    const QString refused = u"Il pacchetto scaricato contiene un nome di file non ammesso: "_s + name;
    if (!isBareName(fileName))
        return refused;
    const QString target = folder.resolve(fileName);
    if (target.compare(folder.resolve(NomeFileIni), Qt::CaseInsensitive) == 0)
        return u"Il pacchetto scaricato non può sostituire il file di configurazione "_s + name;
    // The database and the files beside it that carry its name (copy, lock, journal).
    if (sameOrCompanion(target, folder.resolve(NomeFileDBPredefinito)) ||
        (!trimBlanks(percorsoDB).isEmpty() && sameOrCompanion(target, folder.resolve(percorsoDB))))
        return u"Il pacchetto scaricato non può sostituire la base dati: "_s + name;
    // Nothing else of the program folder: not the program, its help, templates or certificate, nor
    // the bundle being read.
    if (!isDownloadName(fileName) || target.compare(folder.resolve(bundleName), Qt::CaseInsensitive) == 0)
        return refused;
    return {};
}

EsitoPacchetto nonScritto(const QString &name, const QString &description)
{
    return {EsitoPacchetto::Stato::NonScritto, name, description, {}};
}

} // namespace

namespace {

/** Empties the slots from `first` on, as a record that does not fill them leaves them. */
void svuotaDa(CampiRecord &Campi, std::size_t first)
{
    for (std::size_t k = first; k < Campi.size(); ++k)
        Campi[k] = QString();
}

/** Puts a field into its slot, reusing the slot's text of the record before: no allocation per field. */
void poniCampo(QString &slot, QStringView field)
{
    slot.resize(field.size());
    std::copy(field.begin(), field.end(), slot.data());
}

} // namespace

int ScomponiRecord(CampiRecord &Campi, const QString &line)
{
    const qsizetype n = line.size();
    if (n > LastPosition) {
        svuotaDa(Campi, 0);
        throw RoutineError(ErrorCode::Overflow);
    }
    qsizetype position = 1; // from 0, past the opening "#"
    std::size_t k = 0;
    while (position < n) {
        // Each field is taken in one piece, not a character at a time.
        const qsizetype closing = line.indexOf(u'#', position);
        if (closing == position) {
            if (k < Campi.size())
                Campi[k] = QString();
        } else {
            if (k >= Campi.size())
                throw RoutineError(ErrorCode::SubscriptOutOfRange);
            // An unclosed field made the old reader run past the end until its position overflowed.
            if (closing < 0) {
                poniCampo(Campi[k], QStringView(line).mid(position));
                svuotaDa(Campi, k + 1);
                throw RoutineError(ErrorCode::Overflow);
            }
            poniCampo(Campi[k], QStringView(line).mid(position, closing - position));
        }
        position = closing + 3;
        ++k;
        if (position >= LastPosition) {
            svuotaDa(Campi, k);
            throw RoutineError(ErrorCode::Overflow);
        }
    }
    svuotaDa(Campi, k);
    return int(k);
}

EsitoPacchetto SeparaFileScaricato(const ProgramFolder &folder, const QString &percorsoDB,
                                   const QString &bundleName)
{
    QStringList lines;
    try {
        lines = TextFile::readLines(folder.resolve(bundleName));
    } catch (const RoutineError &error) {
        return nonScritto(bundleName,
                          u"Impossibile leggere il file "_s + bundleName + u": "_s + error.description());
    }

    // The whole bundle is read first: one unacceptable name and nothing of it is written, so an
    // error page or a hostile reply leaves no stray files behind.
    struct OutputFile
    {
        QString name;
        QStringList records;
    };
    std::vector<OutputFile> files;
    OutputFile *open = nullptr;
    for (const QString &line : std::as_const(lines)) {
        const QString trimmed = trimBlanks(line);
        if (trimmed.isEmpty() || trimmed == u"EOF") {
            open = nullptr;
        } else if (line.startsWith(u'#')) {
            if (open)
                open->records.append(line);
        } else {
            // A name while a file is open starts a new file, so no records land in the wrong one.
            if (const QString refusal = rifiutoNome(folder, percorsoDB, bundleName, line); !refusal.isEmpty())
                return {EsitoPacchetto::Stato::Rifiutato, line, refusal, {}};
            // The same name again, in any case, replaces the file written before, as on Windows.
            const QString name = windowsFileName(line);
            const auto same = std::find_if(files.begin(), files.end(), [&name](const OutputFile &file) {
                return file.name.compare(name, Qt::CaseInsensitive) == 0;
            });
            open = same != files.end() ? &*same : &files.emplace_back(OutputFile{name, {}});
            open->records.clear();
        }
    }

    std::vector<TextFile::FileContents> contents;
    for (const OutputFile &file : files)
        contents.push_back({folder.resolve(file.name), TextFile::joinLines(file.records)});
    try {
        TextFile::replaceFiles(contents);
    } catch (const TextFile::FileWriteError &error) {
        const auto failed = std::find_if(contents.begin(), contents.end(),
                                         [&error](const auto &file) { return file.path == error.path(); });
        const QString name = files[std::size_t(failed - contents.begin())].name;
        return nonScritto(name, u"Impossibile scrivere il file "_s + name + u": "_s + error.description());
    }
    EsitoPacchetto esito;
    for (const OutputFile &file : files)
        esito.files.append(file.name);
    return esito;
}

bool FileVuoto(const ProgramFolder &folder, const QString &path)
{
    if (!QFileInfo(folder.resolve(path)).isFile())
        return true;
    return !FileConRighe(folder, path);
}

bool FileConRighe(const ProgramFolder &folder, const QString &path)
{
    // Any byte makes a line: an unended last line counts too.
    const QString resolved = folder.resolve(path);
    QFile file(resolved);
    if (!QFileInfo(resolved).isFile())
        throw RoutineError(ErrorCode::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::PathFileAccessError);
    char byte;
    return file.getChar(&byte);
}

QString LeggiFileTesto(const ProgramFolder &folder, const QString &name)
{
    QString body = name + u'\n';
    for (const QString &line : TextFile::readLines(folder.resolve(name)))
        body += line + u'\n';
    return body;
}
