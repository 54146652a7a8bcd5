#pragma once

#include "document/PageEngine.h"
#include "document/clsCreaPDF.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>

namespace kx {

class Context;
class Recordset;
class RoutineError;

/** The page templates of the application document, in the program folder. */
namespace ModelliPagina {
inline const QString Riepilogo = QStringLiteral("_JW63PELO-01.dat");
inline const QString SecondaPagina = QStringLiteral("_JW63PELO-02.dat");
inline const QString Operatore = QStringLiteral("_JW63PELO-03.dat");
inline const QString Sede = QStringLiteral("_JW63PELO-04.dat");
inline const QString Corso = QStringLiteral("_JW63PELO-05.dat");
} // namespace ModelliPagina

/** The kinds of document a run composes, printed in every heading and at the end of the PDF's name. */
namespace TipiStampa {
inline const QString Bozza = QStringLiteral("BOZZA");
inline const QString Originale = QStringLiteral("ORIGINALE");
inline const QString BozzaCorso = QStringLiteral("BOZZA CORSO");
} // namespace TipiStampa

/** "(ver. 1.0.5)" for the version "1.0.5": what every page heading shows. */
QString testoVersione(const QString &versione);

/**
 * The PDF's file name: "KX58TORVA-", group and operator, "-", the province's abbreviation,
 * "-Domanda", the application, "-", the print type, ".pdf" (KX58TORVA-B17-XY-Domanda204-BOZZA.pdf).
 */
QString nomeFilePdf(const QString &grupOpe, const QString &operatore, const QString &sigProv, qint32 numDoma,
                    const QString &tipoStampa);

/** The stored course a single-course draft prints. */
struct ChiaveCorso
{
    qint32 numDoma = 0;
    QString sede;
    QString corso;
};

/**
 * One print run of the application document: the pages in their order, each filled from its template
 * and saved as a page file, then joined into one PDF in the program folder. The print window drives
 * it and shows its progress; the cancel stops the engine, after which every page ends quietly and no
 * PDF is made.
 *
 * A whole-application run ("BOZZA", "ORIGINALE") makes the summary, the second page, the operator
 * page, one page per involved seat with courses, then each seat's courses by code; with a seat in
 * the course editor state only that seat's courses. A single-course draft ("BOZZA CORSO") makes the
 * one page of its course.
 */
class ComposizioneDocumento
{
public:
    /**
     * A run for the print type of the context; a single-course draft prints the course of the key, or
     * the current row of rsQryCorsi without one.
     */
    explicit ComposizioneDocumento(Context &context, std::optional<ChiaveCorso> corso = std::nullopt);

    /** At the start of each page, with its number: the window lets its events run and shows it. */
    std::function<void(int numero)> inizioPagina;
    /** Just before the pages are joined into the PDF. */
    std::function<void()> inizioPdf;

    /**
     * The run: true when the PDF was written, which its box then announces. A missing template, a
     * PDF name that would leave the program folder, a failure of the run or a cancel leave no PDF
     * and no page file but those a cancel leaves behind.
     */
    bool esegui();
    /** The cancel: the engine stops (a failure is passed over), so that the run ends page by page. */
    void annulla();

    /** The value being written into the current placeholder; emptied before each fill. */
    QString Elemento;
    /** The page being built, which is the number of pages made so far. */
    qint16 ContatorePagine = 0;
    /** The day of the run, "dd/mm/yyyy". */
    QString DataStampa;
    QString TestoVersione;

    PageEngine &WordApp() { return m_engine; }
    clsCreaPDF &DocumentoPDF() { return m_documentoPdf; }

    /** The page builders: each makes page ContatorePagine from its template and its current data. */
    void CreaPaginaRiepilogo();
    void CreaSecondaPagina();
    /** Reads the current row of rsQryDomande and the application's row of rsQryDomandeSedLeg. */
    void CreaPaginaOperatore();
    void CreaPaginaSede(Recordset &sedi);
    void CreaPaginaCorso(Recordset &corsi);

private:
    using Passo = std::function<void()>;
    /** How a page answers the errors of its steps. */
    enum class ErroriPagina
    {
        /** Summary, second and seat pages: a Null is passed over without a word. */
        Cornice,
        /** Operator page: a Null is reported like any other error. */
        Operatore,
        /** Course page: a Null is reported; in debug mode a failing step is tried again first. */
        Corso
    };

    void pagina(const QString &modello, ErroriPagina errori, const QList<Passo> &propri);
    /** False when the page ends here: the engine is gone. */
    bool eseguiPasso(ErroriPagina errori, const Passo &passo);
    void CompilaIntestazione(const QString &tipoStampa);
    /** The two steps of a fill: the value into Elemento (emptied first), then Elemento into the page. */
    QList<Passo> riempi(const QString &segnaposto, std::function<QString()> valore,
                        const QString &nomeFont = QString(), qint16 dimensione = 0);
    /** The fills of columns through the field-to-text rule, each in the template's font. */
    QList<Passo> riempiCampi(Recordset &recordset,
                             std::initializer_list<std::pair<QString, QString>> segnapostiEColonne);

    bool StampaDomanda();
    void StampaCorsiSede(Recordset &corsi);
    bool StampaBozzaCorso();
    bool componiPdf();
    /** A step of the whole-application run under its error handling; see the .cpp. */
    template<typename Step> auto passoStampa(Step &&step) -> decltype(step());

    QString percorsoModello(const QString &modello) const;
    /**
     * The PDF's path in the program folder; a part of its name taken from the data that could lead
     * the name out of the folder (isPlainNamePart) refuses the run with error 5.
     */
    QString percorsoPdf();
    /** The run's generic box for an error that ends it: no PDF, no page file, the window closes. */
    void erroreGenerico(const RoutineError &error);

    Context &m_context;
    std::optional<ChiaveCorso> m_corso;
    PageEngine m_engine;
    clsCreaPDF m_documentoPdf;
    QString m_percorsoPdf;
};

} // namespace kx
