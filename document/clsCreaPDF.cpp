#include "document/clsCreaPDF.h"

#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextFile.h"
#include "document/PageEngine.h"
#include "document/PdfComposer.h"
#include "document/RtfReader.h"
#include "document/RtfWriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

RoutineError erroreFile(int numero, const QString &path, const QString &motivo = QString())
{
    QString descrizione = RoutineError::standardDescription(numero) + u": "_s + path;
    if (!motivo.isEmpty())
        descrizione += u" ("_s + motivo + u")"_s;
    return RoutineError(numero, descrizione);
}

/** The error number of a file that could not be opened or written, from the system's reason. */
int numeroErroreFile(int errnum)
{
    switch (errnum) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrorCode::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return ErrorCode::PathNotFound;
    default:
        return ErrorCode::PathFileAccessError;
    }
}

/** Puts the whole file in place of the name, never through a link planted there. */
void sostituisci(const QString &path, const QByteArray &bytes)
{
    try {
        TextFile::replaceFiles({{path, bytes}});
    } catch (const TextFile::FileWriteError &error) {
        throw erroreFile(numeroErroreFile(error.systemError()), path);
    }
}

} // namespace

QString clsCreaPDF::percorsoPagina(int numero) const
{
    return m_context.programFolder().resolve(u"Pagina"_s + QString::number(numero) + u".tmp"_s);
}

void clsCreaPDF::SaveTmpRTF(PageEngine &ObjDocument, qint16 NumPagina)
{
    sostituisci(percorsoPagina(NumPagina), scriviRtf(ObjDocument.activeDocument().content()));
    m_pagineSalvate.insert(NumPagina);
}

bool clsCreaPDF::CreatePDF()
{
    if (m_filePDF.isEmpty()) {
        m_context.prompt.warn(u"Errore"_s,
                              u"Il nome del file PDF non è stato impostato.\rImpossibile creare il PDF!"_s);
        return false;
    }
    if (m_totPagine <= 0) {
        m_context.prompt.warn(
            u"Errore"_s,
            u"Il numero delle pagine create non è stato impostato.\rImpossibile creare il PDF!"_s);
        return false;
    }
    bool scritto = true;
    try {
        componi();
    } catch (const RoutineError &error) {
        m_context.prompt.warn(u"Errore generico"_s, testoErroreCaricamento(error));
        scritto = false;
    }
    if (scritto)
        for (int pagina = 1; pagina <= m_totPagine; ++pagina)
            m_pagineSalvate.insert(pagina);
    CancellaPagine();
    return scritto;
}

void clsCreaPDF::CancellaPagine()
{
    QList<int> pagine = m_pagineSalvate.values();
    std::sort(pagine.begin(), pagine.end());
    m_pagineSalvate.clear();
    QStringList rimasti;
    for (int pagina : std::as_const(pagine)) {
        if (!CancellaFileTmp(percorsoPagina(pagina)))
            rimasti.append(percorsoPagina(pagina));
    }
    if (rimasti.isEmpty())
        return;
    // Every file left is named, so that the user can find and remove them all.
    QString elenco = rimasti.first();
    if (rimasti.size() > 1) {
        elenco =
            QString::number(rimasti.size()) + u" file nella cartella "_s + QFileInfo(elenco).path() + u':';
        for (const QString &path : std::as_const(rimasti))
            elenco += u' ' + QFileInfo(path).fileName();
    }
    m_context.prompt.warn(u"Errore generico"_s,
                          testoErroreCaricamento(erroreFile(ErrorCode::PermissionDenied, elenco)));
}

void clsCreaPDF::componi()
{
    const MetadatiPdf metadati{TitoloDocumentoPdf, m_context.domanda().DenominazioneOpCorrente,
                               m_context.clock.now()};
    for (int pagina = 1; pagina <= m_totPagine; ++pagina) {
        if (m_pagineSalvate.contains(pagina))
            continue;
        const QString path = percorsoPagina(pagina);
        if (!QFileInfo::exists(path))
            throw erroreFile(ErrorCode::FileNotFound, path);
        throw RoutineError(ErrorCode::FileNotFound,
                           u"La pagina "_s + QString::number(pagina) +
                               u" non è stata creata da questa stampa: il file "_s + path +
                               u" appartiene a una stampa precedente e non è stato usato"_s);
    }

    QByteArray documento;
    QBuffer pdf(&documento);
    pdf.open(QIODevice::WriteOnly);
    {
        PdfComposer composer(pdf, metadati);
        for (int pagina = 1; pagina <= m_totPagine; ++pagina)
            AccodaPagina(composer, percorsoPagina(pagina));
        if (!composer.fine())
            throw erroreFile(ErrorCode::PathFileAccessError, m_filePDF);
    }
    sostituisci(m_filePDF, documento);
}

void clsCreaPDF::AccodaPagina(PdfComposer &composer, const QString &path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int causa = errno;
        throw erroreFile(file.exists() ? numeroErroreFile(causa) : ErrorCode::FileNotFound, path);
    }
    PageContent pagina;
    QString motivo;
    if (!leggiRtf(file.readAll(), pagina, &motivo))
        throw erroreFile(ErrorCode::PathFileAccessError, path, motivo);
    composer.aggiungiPagina(pagina);
}

bool clsCreaPDF::CancellaFileTmp(const QString &path)
{
    return !QFileInfo::exists(path) || QFile::remove(path);
}

} // namespace kx
