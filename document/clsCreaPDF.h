#pragma once

#include <QSet>
#include <QString>

namespace kx {

class Context;
class PageEngine;
class PdfComposer;

/** The title of every application document. */
inline const QString TitoloDocumentoPdf = QStringLiteral("Proposta Corsi ZORIVA - 2010 - primi anni");

/**
 * The output end of the application document. Each page builder saves its page as the page file
 * "Pagina<n>.tmp" in the program folder; at the end of a run `CreatePDF` joins the pages 1 to
 * `TotPagine` into one PDF at `FilePDF` and deletes their page files. Only page files saved by this
 * object since the last composition are taken: a stale file of an earlier run never slips in. Each
 * file is written whole in place of its name, so that a link planted there is replaced, not followed.
 */
class clsCreaPDF
{
public:
    /** The context gives the program folder, the boxes, the clock and the operator's name. */
    explicit clsCreaPDF(Context &context) : m_context(context) {}

    /** Saves the active page of the engine as the page file of that number (errors go to the caller). */
    void SaveTmpRTF(PageEngine &ObjDocument, qint16 NumPagina);

    const QString &FilePDF() const { return m_filePDF; }
    void setFilePDF(const QString &strValore) { m_filePDF = strValore; }
    qint16 TotPagine() const { return m_totPagine; }
    void setTotPagine(qint16 intValore) { m_totPagine = intValore; }

    /**
     * Composes the PDF (A4, the title above, the operator as author and the clock's time when it
     * starts as date) and deletes the page files. Returns true when the PDF was written. A refusal
     * (no name, no pages) shows its box; any other failure shows the generic error box, leaves no PDF
     * (an existing one of the same name stays as it was) and deletes this run's page files.
     */
    bool CreatePDF();

    /**
     * Deletes the page files saved since the last composition, for a run that ends without its PDF;
     * the files that cannot be deleted are named, all of them, in one generic error box.
     */
    void CancellaPagine();

    /** The page file of a page: "Pagina" followed by the number and ".tmp", in the program folder. */
    QString percorsoPagina(int numero) const;

private:
    void AccodaPagina(PdfComposer &composer, const QString &path);
    /** Deletes the file when it is there; false when it stays. */
    bool CancellaFileTmp(const QString &path);
    void componi();

    Context &m_context;
    QString m_filePDF;
    qint16 m_totPagine = 0;
    QSet<int> m_pagineSalvate;
};

} // namespace kx
