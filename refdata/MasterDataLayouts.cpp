#include "refdata/MasterDataLayouts.h"

#include "core/data/NumericText.h"
#include "core/services/RoutineError.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

CampoTracciato testo(int campo, const QString &colonna, int larghezza)
{
    return {campo, colonna, Conversione::Testo, larghezza, 0};
}

CampoTracciato numero(int campo, const QString &colonna)
{
    return {campo, colonna, Conversione::Numero};
}

} // namespace

const Tracciato &TracciatoOper()
{
    static const Tracciato tracciato{
        u"oper.tx1"_s,
        u"CorsiOper"_s,
        {
            testo(0, u"GrupOpe"_s, 1),
            numero(1, u"Operatore"_s),
            testo(2, u"Denominazione"_s, 100),
            testo(3, u"TipoOper"_s, 2),
            testo(4, u"CodFisc"_s, 16),
            testo(5, u"PIva"_s, 11),
            testo(6, u"LegNome"_s, 35),
            testo(7, u"LegComNasc"_s, 30),
            testo(8, u"LegProvNasc"_s, 2),
            {9, u"LegGGNasc"_s, Conversione::Testo, 2, 0},
            {9, u"LegMMNasc"_s, Conversione::Testo, 2, 2},
            {9, u"LegAAAANasc"_s, Conversione::Testo, 4, 4},
            testo(10, u"ProvCCIAA"_s, 2),
            testo(11, u"CodCCIAA"_s, 7),
            testo(12, u"AnnoCCIAA"_s, 4),
            numero(13, u"AttEcono"_s),
        },
        {
            {u"Corrispondenza"_s, 0},
            {u"ContABI"_s, u""_s},
            {u"ContDesBanca"_s, u""_s},
            {u"ContCAB"_s, u""_s},
            {u"ContAge"_s, u""_s},
            {u"ContIndirAge"_s, u""_s},
            {u"ContNumCC"_s, u""_s},
            {u"ContIntCC"_s, u""_s},
            {u"ContCIN"_s, u""_s},
        },
        14,
    };
    return tracciato;
}

const Tracciato &TracciatoCompo()
{
    static const Tracciato tracciato{
        u"compo.tx1"_s,
        u"CorsiCompo"_s,
        {
            testo(0, u"GrupOpe"_s, 1),
            numero(1, u"Operatore"_s),
            numero(2, u"Componente"_s),
            testo(3, u"TipoCompo"_s, 2),
            testo(4, u"Denominazione"_s, 100),
            testo(5, u"CodComune"_s, 6),
            testo(6, u"Cap"_s, 5),
            testo(7, u"Indirizzo"_s, 50),
            testo(9, u"Tel"_s, 10),
            testo(11, u"Fax"_s, 10),
            testo(12, u"StatoEstero"_s, 30),
            testo(13, u"CittaEstero"_s, 30),
        },
        {{u"Email"_s, u""_s}, {u"Riferimento"_s, u""_s}},
        14,
    };
    return tracciato;
}

const Tracciato &TracciatoSediOcc()
{
    // Every occasional seat is of the type "UO", which the seat windows and the snapshots rely on.
    static const Tracciato tracciato{
        u"sediocc.tx1"_s,
        u"CorsiSediOcc"_s,
        {
            numero(0, u"SedeOcc"_s),
            testo(1, u"Denominazione"_s, 100),
            testo(2, u"Indirizzo"_s, 50),
            testo(3, u"CodComune"_s, 6),
            testo(4, u"Cap"_s, 5),
            testo(6, u"Tel"_s, 10),
            testo(8, u"Fax"_s, 10),
        },
        {{u"TipoCompo"_s, u"UO"_s}},
        9,
    };
    return tracciato;
}

const Tracciato &TracciatoSediOccUtil()
{
    static const Tracciato tracciato{
        u"sediutil.tx1"_s,
        u"CorsiSediOccUtil"_s,
        {
            testo(0, u"GrupOpe"_s, 1),
            numero(1, u"Operatore"_s),
            numero(2, u"Componente"_s),
            numero(3, u"SedeOcc"_s),
        },
        {{u"Email"_s, u""_s}, {u"Riferimento"_s, u""_s}},
        4,
    };
    return tracciato;
}

void verificaRecord(const Tracciato &tracciato, const CampiRecord &Campi, int campiLetti)
{
    if (campiLetti < tracciato.campiRecord)
        throw RoutineError(ErrorCode::TypeMismatch);
    for (int i = 0; i < campiLetti && i < int(Campi.size()); ++i) {
        for (const QChar c : Campi[std::size_t(i)]) {
            // The control characters (category Cc) are exactly these two ranges.
            const char16_t u = c.unicode();
            if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
                throw RoutineError(ErrorCode::TypeMismatch);
        }
    }
}

QVariant valoreCampo(const CampoTracciato &campo, const CampiRecord &Campi)
{
    const QString &field = Campi.at(std::size_t(campo.campo));
    if (campo.conversione == Conversione::Numero)
        return numericValueFromText(field, NumericColumn::Integer);
    return trimBlanks(field.mid(campo.inizio, campo.larghezza));
}

const CampoTracciato *campoDi(const Tracciato &tracciato, const QString &colonna)
{
    for (const CampoTracciato &campo : tracciato.campi) {
        if (campo.colonna.compare(colonna, Qt::CaseInsensitive) == 0)
            return &campo;
    }
    return nullptr;
}

} // namespace kx
