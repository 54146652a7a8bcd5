#include "document/clsCreaPDF.h"

#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "document/PageEngine.h"
#include "document/PdfComposer.h"
#include "document/RtfReader.h"
#include "document/RtfWriter.h"

#include <QFile>
#include <QSaveFile>
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

} // namespace

QString clsCreaPDF::percorsoPagina(int numero) const
{
    return m_context.programFolder().resolve(u"Pagina"_s + QString::number(numero) + u".tmp"_s);
}

void clsCreaPDF::SaveTmpRTF(PageEngine &ObjDocument, qint16 NumPagina)
{
    const QByteArray rtf = scriviRtf(ObjDocument.activeDocument().content());
    const QString path = percorsoPagina(NumPagina);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit())
        throw erroreFile(numeroErroreFile(errno), path);
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
    const QList<int> pagine = m_pagineSalvate.values();
    m_pagineSalvate.clear();
    try {
        for (int pagina : pagine)
            CancellaFileTmp(percorsoPagina(pagina));
    } catch (const RoutineError &error) {
        m_context.prompt.warn(u"Errore generico"_s, testoErroreCaricamento(error));
    }
}

void clsCreaPDF::componi()
{
    const MetadatiPdf metadati{TitoloDocumentoPdf, m_context.domanda().DenominazioneOpCorrente,
                               m_context.clock.now()};
    for (int pagina = 1; pagina <= m_totPagine; ++pagina)
        if (!m_pagineSalvate.contains(pagina))
            throw erroreFile(ErrorCode::FileNotFound, percorsoPagina(pagina));

    QSaveFile pdf(m_filePDF);
    errno = 0;
    if (!pdf.open(QIODevice::WriteOnly))
        throw erroreFile(numeroErroreFile(errno), m_filePDF);
    {
        PdfComposer composer(pdf, metadati);
        for (int pagina = 1; pagina <= m_totPagine; ++pagina)
            AccodaPagina(composer, percorsoPagina(pagina));
        if (!composer.fine())
            throw erroreFile(ErrorCode::PathFileAccessError, m_filePDF);
    }
    if (!pdf.commit())
        throw erroreFile(numeroErroreFile(errno), m_filePDF);
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

void clsCreaPDF::CancellaFileTmp(const QString &path)
{
    if (QFile::exists(path) && !QFile::remove(path))
        throw erroreFile(ErrorCode::PermissionDenied, path);
}

} // namespace kx
