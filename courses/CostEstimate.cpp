#include "courses/CostEstimate.h"

#include "core/text/ItalianNumbers.h"
#include "courses/CourseNames.h"

#include <cmath>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

QString categoriaSingolo(const QString &nome)
{
    if (nome == NomiCorso::Handicap)
        return u"a) Interventi per l'integrazione dei disabili"_s;
    if (NomiCorso::larsa(nome))
        return u"b) Laboratori di recupero e sviluppo degli apprendimenti (LaRSA)"_s;
    if (nome == NomiCorso::SostegnoIndividuale)
        return u"c) Sostegni"_s;
    return {};
}

QString categoriaGruppo(const QString &nome)
{
    if (NomiCorso::larsa(nome))
        return u"e) Laboratori di recupero esviluppo degli apprendimenti (LaRSA)"_s;
    if (nome == NomiCorso::SostegnoIndividuale)
        return u"f) Sostegni"_s;
    if (NomiCorso::laboratorio(nome))
        return u"d) Servizi di accompagnamento per giovani stranieri"_s;
    return {};
}

} // namespace

PreventivoSpesa estimate(const QString &name, const QString &pupilsText, const QString &hoursText)
{
    if (name.isEmpty() || pupilsText.isEmpty() || hoursText.isEmpty())
        return {};
    const auto allievi = ItalianNumbers::readInt16(pupilsText);
    const auto ore = ItalianNumbers::readInt32(hoursText);
    if (!allievi || *allievi <= 0 || !ore || *ore == 0)
        return {};

    PreventivoSpesa p;
    p.lblOre = hoursText;
    double totale = 0;
    if (*allievi == 1) {
        // The single-pupil rate multiplies the hours as typed, fraction included.
        const auto oreEsatte = ItalianNumbers::read(hoursText);
        if (!oreEsatte)
            return {};
        p.lblDescAttivita = u"ATTIVITA' INDIVIDUALI"_s;
        p.lbl_abcdef = categoriaSingolo(name);
        p.lblParametro = u"36,5"_s;
        p.parametro = 36.5;
        p.lblAllievi = u"1"_s;
        totale = *oreEsatte * 36.5;
    } else {
        p.lblDescAttivita = u"ATTIVITA' RIVOLTE AI GRUPPI"_s;
        p.lbl_abcdef = categoriaGruppo(name);
        const QString numero = QString::number(*allievi);
        if (*allievi <= 5) {
            p.lblParametro = u"12,5"_s;
            p.parametro = 12.5;
            p.lblAllievi = numero;
            totale = double(*ore) * 12.5 * *allievi;
        } else {
            const bool medio = *allievi <= 8;
            p.lblParametro = medio ? u"71"_s : u"83"_s;
            p.parametro = medio ? 71 : 83;
            p.lblAllievi = u'(' + numero + u')';
            totale = double(*ore) * p.parametro;
        }
    }
    p.lblTotale = ItalianNumbers::formatAmount(totale);
    p.totale = std::round(totale * 100.0) / 100.0;
    return p;
}
