#pragma once

#include <QString>
#include <optional>

namespace kx {

/**
 * The approved course the reference picker chose; IdAttivita -1 when nothing was chosen. The
 * progressive numbers are kept as the grid shows them (ProgrAttivita is a text, ProgrAccorp may be
 * Null); a number that is Null is nothing here, and an empty label in the editor.
 */
struct CorsoApprovato
{
    qint32 IdAttivita = -1;
    QString ProgrAttivita;
    QString DenCorso;
    std::optional<qint32> Componente;
    std::optional<qint32> TotIter;
    std::optional<qint32> DurataAnnOre;
    std::optional<qint32> Durata;
    QString TipoConv;
    QString ProgrAccorp;

    bool scelto() const { return IdAttivita != -1; }
};

/**
 * The seat and course the course editor works on, read by its pickers, the reassignment and the
 * print dialogs. The filters are the old criterion texts; our own statements bind the values.
 */
struct CourseEditorState
{
    /** Seat code as text: below 1000 a component, 1000 or more an occasional seat. */
    QString SedeCorrente;
    QString DesSedeCorrente;
    /** "NumDoma=n AND SedeInteressata=s". */
    QString FiltroSedeCorrente;
    /** Code of the course on screen; empty while a new course is pending. */
    QString CorsoCorrente;
    /** FiltroSedeCorrente and " AND Corso = 'code'". */
    QString FiltroCorsoCorrente;
    /** Code of the financial cycle chosen in the editor, which the reference picker filters on. */
    QString CicloFinanziarioCorrente;
    CorsoApprovato CorsoApprovatoScelto;
    /** The course code the course list starts from and returns: the list's choice, or left alone. */
    QString CorsoScelto;

    /** Makes the seat current, with its filter; the course on screen is forgotten. */
    void impostaSede(qint32 numDoma, const QString &sede, const QString &descrizione)
    {
        SedeCorrente = sede;
        DesSedeCorrente = descrizione;
        FiltroSedeCorrente = QStringLiteral("NumDoma=") + QString::number(numDoma) +
                             QStringLiteral(" AND SedeInteressata=") + sede;
        impostaCorso(QString());
    }

    /** Makes the course current, with its filter; an empty code for a course not yet stored. */
    void impostaCorso(const QString &corso)
    {
        CorsoCorrente = corso;
        FiltroCorsoCorrente = FiltroSedeCorrente + QStringLiteral(" AND Corso = '") + corso + u'\'';
    }

    /** True when the seat is an occasional one: a code of four or more characters. */
    bool sedeOccasionale() const { return SedeCorrente.size() > 3; }
};

} // namespace kx
