#include "courses/NavigaCorsi.h"

#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"
#include "courses/CourseStore.h"

using namespace Qt::StringLiterals;
using namespace kx;

std::optional<DirezioneNavigazione> direzioneNavigazione(const QString &testo)
{
    static const QList<std::pair<QString, DirezioneNavigazione>> direzioni{
        {u"Primo"_s, DirezioneNavigazione::Primo},
        {u"Precedente"_s, DirezioneNavigazione::Precedente},
        {u"Successivo"_s, DirezioneNavigazione::Successivo},
        {u"Ultimo"_s, DirezioneNavigazione::Ultimo},
        {u"Vai"_s, DirezioneNavigazione::Vai},
    };
    for (const auto &[nome, direzione] : direzioni)
        if (nome == testo)
            return direzione;
    return std::nullopt;
}

PassoNavigazione passoNavigazione(DirezioneNavigazione direzione, int posizione, int righe)
{
    const int ultima = righe - 1;
    switch (direzione) {
    case DirezioneNavigazione::Primo:
        return {0, StatoNavigazione::Primo};
    case DirezioneNavigazione::Ultimo:
        return {ultima, StatoNavigazione::Ultimo};
    case DirezioneNavigazione::Precedente:
        if (posizione - 2 < 0)
            return {0, StatoNavigazione::Primo};
        return {posizione - 1, StatoNavigazione::Intermedio};
    case DirezioneNavigazione::Successivo:
        if (posizione + 2 > ultima)
            return {ultima, StatoNavigazione::Ultimo};
        return {posizione + 1, StatoNavigazione::Intermedio};
    case DirezioneNavigazione::Vai:
        break;
    }
    throw RoutineError(ErrorCode::InvalidProcedureCall);
}

StatoNavigazione statoNavigazione(int posizione, int righe, bool piuCorsi)
{
    if (!piuCorsi)
        return StatoNavigazione::Disabilitata;
    if (posizione - 1 < 0)
        return StatoNavigazione::Primo;
    if (posizione + 1 > righe - 1)
        return StatoNavigazione::Ultimo;
    return StatoNavigazione::Intermedio;
}

ElencoCorsi elencoCorsi(CourseStore &store, qint32 numDoma, qint32 sede, const QString &corsoCorrente)
{
    ElencoCorsi elenco;
    const QList<CourseRow> corsi = store.seatCourses(numDoma, sede);
    elenco.voci.reserve(corsi.size());
    for (const CourseRow &corso : corsi) {
        if (corso.corso() == corsoCorrente)
            elenco.selezionata = int(elenco.voci.size());
        elenco.voci.append(corso.corso() + u' ' + NonNull(corso.value(u"CorsiProp.DenCorso"_s)));
    }
    if (elenco.selezionata < 0 && !elenco.voci.isEmpty())
        elenco.selezionata = 0;
    return elenco;
}

QString codiceVoceCorso(const QString &voce)
{
    return voce.section(u' ', 0, 0);
}
