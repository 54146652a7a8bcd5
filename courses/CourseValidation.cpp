#include "courses/CourseValidation.h"

#include "core/text/ItalianNumbers.h"
#include "core/text/TextRoutines.h"
#include "courses/ClassificationLists.h"
#include "courses/CourseNames.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString VerificaDati = u"Verifica dati"_s;

CourseCheck fallito(int step, const QString &message, const QString &focus, int tab, bool pointer)
{
    return {false, step, message, VerificaDati, Prompt::Icon::Critical, focus, tab, pointer};
}

} // namespace

CourseCheck validateCourse(const CourseForm &form)
{
    if (form.DomandaStampata)
        return {};

    // An empty list or box fails; a text of blanks does not.
    const struct
    {
        bool vuoto;
        const char16_t *messaggio;
        const char16_t *campo;
    } obbligatori[] = {
        {form.Sede.size() > 3 && form.cmbCompoResp.isEmpty(),
         u"Per i corsi svolti da una Sede Occasionale è obbligatorio specificare il Componente Responsabile",
         u"cmbCompoResp"},
        {form.CmbCicloFin.isEmpty(), u"Selezionare il Ciclo Finanziario", u"CmbCicloFin"},
        {form.cmbAsse.isEmpty(), u"Inserire un ASSE-MISURA", u"cmbAsse"},
        {form.cmbMisura.isEmpty(), u"Inserire una LINEA D'INTERVENTO", u"cmbMisura"},
        {form.cmbAzione.isEmpty(), u"Inserire un'AZIONE", u"cmbAzione"},
        {form.cmbDenCorso.isEmpty(), u"Inserire la Denominazione del Corso", u"cmbDenCorso"},
        {form.cmbDest.isEmpty(), u"Inserire i DESTINATARI prevalenti", u"cmbDest"},
    };
    int step = 0;
    for (const auto &campo : obbligatori) {
        ++step;
        if (campo.vuoto)
            return fallito(step, QString::fromUtf16(campo.messaggio), QString::fromUtf16(campo.campo), 0,
                           true);
    }

    const auto allievi = ItalianNumbers::readInt16(form.txtNumAll);
    if (!allievi || *allievi <= 0)
        return fallito(8, u"Inserire il N. ALLIEVI PREVISTI"_s, u"txtNumAll"_s, 0, true);

    const QString codiceAzione = actionCode(form.cmbAsse, form.cmbMisura, form.cmbAzione);
    if (codiceAzione == AzioneRiferimentoB111 && trimBlanks(form.lblidattivita_CorsoRifB111).isEmpty())
        return fallito(9, u"Specificare il Corso di Riferimento per l'azione "_s + codiceAzione,
                       u"cmdCorsoRifB111"_s, 1, true);

    const auto ore = ItalianNumbers::readInt32(form.txtDurataOre);
    if (!ore || *ore <= 0)
        return fallito(10, u"Indicare il Totale Ore dell'Iter Complessivo."_s, u"txtDurataOre"_s, 1, true);

    const QString limite = courseLimits(form.cmbDenCorso, *allievi, *ore);
    if (!limite.isEmpty())
        return {false, 11, limite, TitoloProgramma, Prompt::Icon::None, QString(), -1, false};

    if (*ore > 200)
        return fallito(12, u"Il totale ore puo' valere al massimo 200."_s, u"txtDurataOre"_s, 1, true);
    if (form.cmbDurata.isEmpty())
        return fallito(13, u"Indicare la Durata Totale Iter in anni."_s, QString(), 1, true);
    if (form.txtCorsoRifB111.isEmpty())
        return fallito(14, u"Selezionare il corso di riferimento."_s, QString(), -1, false);
    return {};
}

QString courseLimits(const QString &name, int pupils, qint32 hours)
{
    if (name == NomiCorso::Handicap) {
        if (pupils != 1)
            return u"Per le integrazioni di persone portatrici di handicap deve essere inserito un solo allievo."_s;
        if (hours > 200)
            return u"Per le integrazioni di persone portatrici di handicap la durata massima è pari a 200 ore."_s;
    } else if (NomiCorso::laboratorio(name)) {
        if (pupils == 1)
            return u"Per i Laboratori di lingua italiana ed i Laboratori di cittadinanza attiva deve essere "
                   u"previsto più di un allievo."_s;
        if (hours > 80)
            return u"Per i Laboratori di lingua italiana ed i Laboratori di cittadinanza attiva la durata "
                   u"massima è pari a 80 ore."_s;
    } else if (NomiCorso::larsa(name)) {
        if (hours > 200)
            return u"Per i LARSA la durata massima è pari a 200 ore."_s;
    } else if (name == NomiCorso::SostegnoIndividuale) {
        if (hours > 200)
            return u"Per le Azioni di sostegno individuale la durata massima è pari a 200 ore."_s;
    }
    return {};
}
