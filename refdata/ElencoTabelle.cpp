#include "refdata/ElencoTabelle.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

ChiaveTabella testo(const QString &colonna)
{
    return {colonna, true};
}

ChiaveTabella numero(const QString &colonna)
{
    return {colonna, false};
}

/** A table both runs load with the same number of columns. */
TabellaDecodifica entrambe(const QString &nome, const QList<ChiaveTabella> &chiavi, int colonne)
{
    return {nome, chiavi, colonne, colonne};
}

} // namespace

const QList<TabellaDecodifica> &ElencoTabelleDecodifica()
{
    static const QList<TabellaDecodifica> elenco = {
        entrambe(u"Asse"_s, {testo(u"CodAsse"_s)}, 2),
        entrambe(u"Misura"_s, {testo(u"CodAsse"_s), testo(u"CodMisura"_s)}, 3),
        entrambe(u"Azione"_s, {testo(u"CodAsse"_s), testo(u"CodMisura"_s), testo(u"CodAzione"_s)}, 4),
        entrambe(u"Percorsi"_s, {numero(u"CodPerc"_s)}, 3),
        entrambe(u"AzioneDenomCorso"_s,
                 {testo(u"CodAsse"_s), testo(u"CodMisura"_s), testo(u"CodAzione"_s), numero(u"CodDenom"_s)},
                 5),
        entrambe(u"AzionePercorsi"_s,
                 {testo(u"CodAsse"_s), testo(u"CodMisura"_s), testo(u"CodAzione"_s), numero(u"CodPerc"_s)},
                 4),
        entrambe(u"AttEcono"_s, {numero(u"AttEcono"_s)}, 2),
        entrambe(u"Destin"_s, {numero(u"CodDest"_s)}, 2),
        entrambe(u"AzioneDestin"_s,
                 {testo(u"CodAsse"_s), testo(u"CodMisura"_s), testo(u"CodAzione"_s), numero(u"CodDest"_s)},
                 4),
        entrambe(u"Bacino"_s, {numero(u"CodBacino"_s)}, 4),
        entrambe(u"Certif"_s, {numero(u"CodCert"_s)}, 2),
        entrambe(u"Comuni"_s, {testo(u"CodComune"_s)}, 7),
        entrambe(u"Comuni_Quartieri"_s, {testo(u"ComIstat"_s), numero(u"Cod_Quartiere"_s)}, 3),
        // Not at start-up: the update of the base data alone brings the schools.
        {u"Istituti"_s, {numero(u"CodIsti"_s)}, 0, 2},
        entrambe(u"Regioni"_s, {testo(u"Regione"_s)}, 2),
        entrambe(u"Province"_s, {testo(u"Prov"_s)}, 4),
        entrambe(u"Prov_Asse"_s, {testo(u"Prov"_s), testo(u"CodAsse"_s)}, 2),
        entrambe(u"Prov_Misura"_s, {testo(u"Prov"_s), testo(u"CodAsse"_s), testo(u"CodMisura"_s)}, 3),
        entrambe(u"Prov_Azione"_s,
                 {testo(u"Prov"_s), testo(u"CodAsse"_s), testo(u"CodMisura"_s), testo(u"CodAzione"_s)}, 4),
        entrambe(u"ProvinceLoghiIndir"_s, {testo(u"Prov"_s)}, 7),
        entrambe(u"StatiEsteri"_s, {testo(u"CodStato"_s)}, 3),
        entrambe(u"TipoCompo"_s, {testo(u"TipoCompo"_s)}, 2),
        entrambe(u"TipoOper"_s, {testo(u"GrupOpe"_s), testo(u"TipoOper"_s)}, 3),
        // No key: loaded whole in either mode. The start-up writes the first 12 columns only.
        {u"MassimaliPar"_s, {}, 12, 14},
        entrambe(u"CentroCostoSpesa"_s, {numero(u"CodCentro"_s), numero(u"CodSpesa"_s)}, 3),
    };
    return elenco;
}

} // namespace kx
