#pragma once

#include <QString>

namespace kx {

/** The approved course the reference picker chose; -1 and "" everywhere when nothing was chosen. */
struct CorsoApprovato
{
    qint32 IdAttivita = -1;
    qint16 ProgrAttivita = -1;
    QString DenCorso;
    qint16 Componente = -1;
    qint32 TotIter = -1;
    qint32 DurataAnnOre = -1;
    qint16 Durata = -1;
    QString TipoConv;
    qint16 ProgrAccorp = -1;

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
