#include "courses/CourseWriter.h"

#include "applications/SezioneFrame.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"
#include "core/services/Services.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString TestoRecordCancellato =
    u"Il record che si sta cercando di aggiornare è stato cancellato da un altro "
    u"operatore.\r\nReinserire il record?"_s;

/** Keeps the busy pointer and the bar for the length of one attempt, whatever way it ends. */
class Occupato
{
public:
    explicit Occupato(const CourseWriter::Hooks &hooks) : m_hooks(hooks)
    {
        if (m_hooks.occupato)
            m_hooks.occupato(true);
    }
    ~Occupato()
    {
        if (m_hooks.occupato)
            m_hooks.occupato(false);
    }
    Occupato(const Occupato &) = delete;
    Occupato &operator=(const Occupato &) = delete;

    void passo(int valore) const
    {
        if (m_hooks.avanzamento)
            m_hooks.avanzamento(valore);
    }

private:
    const CourseWriter::Hooks &m_hooks;
};

} // namespace

QString testoCorsoSpostato(const CourseKey &dove)
{
    return u"Il corso è stato spostato da un altro operatore nella sede "_s + QString::number(dove.sede) +
           u" con il codice "_s + dove.corso + u".\r\nLe modifiche non sono state salvate."_s;
}

CourseWriter::CourseWriter(CourseStore &store, const Services &services, Hooks hooks)
    : m_store(store), m_services(services), m_hooks(std::move(hooks))
{
}

ScritturaCorso CourseWriter::scrivi(const CourseForm &form, bool nuovo, const std::optional<CourseRow> &letta,
                                    Scrittura scrittura)
{
    const Occupato occupato(m_hooks);
    occupato.passo(0);
    const CourseRecord record = buildCourseRecord(form);
    // The record is whole before anything is written: the bar's groups of columns are done.
    for (int passo = 1; passo < Passi; ++passo)
        occupato.passo(passo);
    QString corso = form.lblCorso;
    if (nuovo) {
        const InsertedCourse inserito = m_store.insert(record);
        if (inserito.codiciEsauriti) {
            m_services.prompt.critical(TitoloInserimentoCorso, TestoCodiciEsauriti);
            return {};
        }
        corso = inserito.corso;
    } else {
        if (!letta)
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
        m_store.update(*letta, record, scrittura);
    }
    occupato.passo(Passi);
    return {EsitoScrittura::Memorizzato, corso, false};
}

ScritturaCorso CourseWriter::AggQuery(const CourseForm &form, bool nuovo,
                                      const std::optional<CourseRow> &letta)
{
    Scrittura scrittura = Scrittura::SeInvariata;
    for (;;) {
        try {
            return scrivi(form, nuovo, letta, scrittura);
        } catch (const RigaModificataAltrove &) {
            if (m_services.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloAccessoConcorrente,
                                      TestoRigaModificata) != Prompt::Answer::Yes)
                return {EsitoScrittura::Rifiutato, {}, true};
            scrittura = Scrittura::Sovrascrivi;
        } catch (const std::exception &eccezione) {
            const RoutineError errore = comeErroreRoutine(eccezione);
            if (ModalitaDebug(m_services.commandLine)) {
                if (m_services.prompt.ask(Prompt::Icon::None, Prompt::Buttons::RetryCancel, QString(),
                                          u"Resume"_s) == Prompt::Answer::Retry)
                    continue;
                return {EsitoScrittura::Annullato, {}, false};
            }
            if (errore.number() == ErrorCode::RowDeletedMeanwhile && !nuovo)
                return rigaCancellata(form, letta ? NonNull(letta->value(u"Guid"_s)) : QString());
            if (m_services.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel,
                                      u"AggQuery - "_s + TitoloAccessoConcorrente,
                                      testoErroreAggiornamento(errore)) == Prompt::Answer::Retry)
                continue;
            return {EsitoScrittura::Annullato, {}, false};
        }
    }
}

ScritturaCorso CourseWriter::rigaCancellata(const CourseForm &form, const QString &guid)
{
    const bool sedePresente = runWithRetry(m_services, u"AggQuery"_s, [&] {
        return m_store.seatExists(form.NumDoma, int(form.Sede.toLongLong()));
    });
    if (!sedePresente) {
        m_services.prompt.warn(TitoloAccessoConcorrente, TestoDomandaCancellata);
        return {EsitoScrittura::Annullato, {}, false};
    }
    // A course moved elsewhere is still stored: inserting it again would hold it twice.
    const std::optional<CourseKey> altrove =
        guid.isEmpty()
            ? std::nullopt
            : runWithRetry(m_services, u"AggQuery"_s, [&] { return m_store.findGuid(form.NumDoma, guid); });
    if (altrove) {
        m_services.prompt.warn(TitoloAccessoConcorrente, testoCorsoSpostato(*altrove));
        return {EsitoScrittura::Rifiutato, {}, true};
    }
    if (m_services.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloAccessoConcorrente,
                              TestoRecordCancellato) != Prompt::Answer::Yes)
        return {EsitoScrittura::Rifiutato, {}, true};

    for (;;) {
        try {
            const Occupato occupato(m_hooks);
            m_store.reinsert(buildCourseRecord(form), guid);
            occupato.passo(Passi);
            break;
        } catch (const std::exception &eccezione) {
            const RoutineError errore = comeErroreRoutine(eccezione);
            if (m_services.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel,
                                      u"AggQuery - "_s + TitoloAccessoConcorrente,
                                      testoErroreAggiornamento(errore)) != Prompt::Answer::Retry)
                return {EsitoScrittura::Annullato, {}, false};
        }
    }
    m_services.prompt.inform(TitoloAccessoConcorrente, u"Corso reinserito."_s);
    return {EsitoScrittura::Memorizzato, form.lblCorso, false};
}
