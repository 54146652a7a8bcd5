#include "courses/CorsoRiferimento.h"

#include "core/data/Recordset.h"
#include "core/services/Services.h"
#include "core/state/CurrentApplication.h"
#include "core/text/TextRoutines.h"

#include <limits>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** Grid columns of the nine fields. */
enum Colonna
{
    ColIdAttivita = 0,
    ColProgrAttivita = 4,
    ColProgrAccorp = 6,
    ColDenCorso = 9,
    ColComponente = 10,
    ColDurataAnnOre = 41,
    ColTotIter = 43,
    ColDurata = 44,
    ColTipoConv = 56,
};

std::optional<qint32> numero(const QVariant &valore)
{
    if (valore.isNull())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = valore.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(n);
}

QString testo(const std::optional<qint32> &n)
{
    return n ? QString::number(*n) : QString();
}

} // namespace

QString filtroCorsiApprovati(const CurrentApplication &domanda, const CourseEditorState &corsi)
{
    const QString filtro = u"GrupOpe='"_s + RaddoppiaApici(domanda.GrupOpeCorrente) + u"' AND Operatore="_s +
                           QString::number(domanda.OperatoreCorrente.toInt()) + u" AND CicloFin='"_s +
                           RaddoppiaApici(corsi.CicloFinanziarioCorrente) + u'\'';
    const QString sede = QString::number(corsi.SedeCorrente.toInt());
    if (corsi.sedeOccasionale())
        return filtro + u" AND SedeOcca="_s + sede;
    return filtro + u" AND Componente="_s + sede;
}

CorsoApprovato corsoApprovatoDaRiga(const Recordset &rs)
{
    CorsoApprovato corso;
    corso.IdAttivita = numero(rs.value(ColIdAttivita)).value_or(-1);
    corso.ProgrAttivita = NonNull(rs.value(ColProgrAttivita));
    corso.DenCorso = NonNull(rs.value(ColDenCorso));
    corso.Componente = numero(rs.value(ColComponente));
    corso.TotIter = numero(rs.value(ColTotIter));
    corso.DurataAnnOre = numero(rs.value(ColDurataAnnOre));
    corso.Durata = numero(rs.value(ColDurata));
    corso.TipoConv = NonNull(rs.value(ColTipoConv));
    corso.ProgrAccorp = NonNull(rs.value(ColProgrAccorp));
    return corso;
}

QString testoCorsoRiferimento(const QString &progrAttivita, const QString &progrAccorp,
                              const QString &componente, const QString &denCorso)
{
    return progrAttivita + u" - "_s + progrAccorp + u" - "_s + componente + u" - "_s + denCorso.left(35);
}

TestiRiferimento testiRiferimento(const CorsoApprovato &corso)
{
    return {
        .txtCorsoRifB111 = testoCorsoRiferimento(corso.ProgrAttivita, corso.ProgrAccorp,
                                                 testo(corso.Componente), corso.DenCorso),
        .lblidattivita_CorsoRifB111 = QString::number(corso.IdAttivita),
        .lblTotOreIter = testo(corso.TotIter),
        .lblDurataAnnuale = testo(corso.DurataAnnOre),
        .lblDurataTotIter = testo(corso.Durata),
        .lblTipoConv = corso.TipoConv,
    };
}

std::optional<TestiRiferimento> scegliCorsoRiferimento(Prompt &prompt, CourseEditorState &corsi,
                                                       const QString &cicloMostrato,
                                                       const std::function<void()> &apriPicker)
{
    if (cicloMostrato.isEmpty()) {
        prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), TestoSelezionareCiclo);
        return std::nullopt;
    }
    corsi.CorsoApprovatoScelto = CorsoApprovato();
    apriPicker();
    if (!corsi.CorsoApprovatoScelto.scelto())
        return std::nullopt;
    return testiRiferimento(corsi.CorsoApprovatoScelto);
}

EsitoCambioCiclo cambioCicloFinanziario(Prompt &prompt, CourseEditorState &corsi,
                                        const QString &cicloMostrato, QString &txtCorsoRifB111)
{
    const QString codice = CampoSeparato(cicloMostrato, u" "_s, 0);
    if (codice != corsi.CicloFinanziarioCorrente && !txtCorsoRifB111.isEmpty()) {
        if (prompt.ask(Prompt::Icon::None, Prompt::Buttons::YesNo, u"Conferma variazione"_s,
                       TestoCambioCiclo) != Prompt::Answer::Yes)
            return EsitoCambioCiclo::Rifiutato;
        txtCorsoRifB111.clear();
    }
    corsi.CicloFinanziarioCorrente = codice;
    return EsitoCambioCiclo::Accettato;
}
