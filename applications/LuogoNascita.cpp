#include "applications/LuogoNascita.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Recordset.h"
#include "core/services/Services.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The text without the blanks at its ends; other white space is part of the name. */
QString senzaSpazi(const QString &testo)
{
    qsizetype inizio = 0;
    qsizetype fine = testo.size();
    while (inizio < fine && testo.at(inizio) == u' ')
        ++inizio;
    while (fine > inizio && testo.at(fine - 1) == u' ')
        --fine;
    return testo.mid(inizio, fine - inizio);
}

bool stessoNome(const QVariant &valore, const QString &nome)
{
    return valore.toString().compare(nome, Qt::CaseInsensitive) == 0;
}

void provinciaEstera(LuogoNascita &luogo)
{
    luogo.provincia.clear();
    luogo.provinciaAbilitata = false;
    luogo.provinciaDigitabile = false;
}

} // namespace

EsitoLuogoNascita VerificaLuogoNascita(LuogoNascita &luogo, const RicercheLuogo &ricerche, Prompt &prompt,
                                       bool solaLettura)
{
    EsitoLuogoNascita esito;
    if (luogo.testo == luogo.iniziale && !luogo.riverifica)
        return esito;
    const QString nome = senzaSpazi(luogo.testo);
    if (nome.isEmpty())
        return esito;

    if (const std::optional<QString> prov = ricerche.comune(nome)) {
        luogo.riverifica = false;
        luogo.provincia = ricerche.siglaProvincia(*prov);
        luogo.provinciaDigitabile = false;
        if (!solaLettura)
            luogo.provinciaAbilitata = true;
        return esito;
    }
    if (ricerche.statoEstero(nome)) {
        luogo.riverifica = false;
        provinciaEstera(luogo);
        return esito;
    }

    esito.domande = true;
    const Prompt::Answer mantenere =
        prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::YesNo, TitoloVerificaLuogo,
                   u"Il comune/stato estero inserito non è stato trovato nell'elenco\r\n"
                   u"dei comuni italiani/stati esteri. Mantenere la denominazione inserita ?"_s);
    if (mantenere != Prompt::Answer::Yes) {
        luogo.riverifica = true;
        esito.fuoco = EsitoLuogoNascita::Fuoco::LuogoNascita;
        return esito;
    }
    luogo.riverifica = false;
    const Prompt::Answer estero =
        prompt.ask(Prompt::Icon::Information, Prompt::Buttons::YesNo, TitoloVerificaLuogo,
                   u"La denominazione inserita corrisponde ad uno stato estero?\r\n"
                   u"Rispondendo NO la denominazione sarà considerata un comune italiano."_s);
    if (estero == Prompt::Answer::Yes) {
        provinciaEstera(luogo);
    } else if (!solaLettura) {
        // A municipality missing from the table: its province can only be typed.
        luogo.provincia.clear();
        luogo.provinciaAbilitata = true;
        luogo.provinciaDigitabile = true;
        esito.fuoco = EsitoLuogoNascita::Fuoco::Provincia;
    }
    return esito;
}

void LuogoNascitaCambiato(LuogoNascita &luogo, bool solaLettura)
{
    if (!luogo.testo.isEmpty())
        return;
    luogo.provincia.clear();
    luogo.provinciaDigitabile = false;
    if (!solaLettura)
        luogo.provinciaAbilitata = true;
}

bool ComuneSceltoInLuogo(LuogoNascita &luogo, const std::array<QString, 4> &comune, bool solaLettura)
{
    if (comune[0].isEmpty())
        return false;
    luogo.testo = comune[1];
    luogo.provincia = comune[2];
    luogo.provinciaDigitabile = false;
    if (!solaLettura)
        luogo.provinciaAbilitata = true;
    return true;
}

bool StatoSceltoInLuogo(LuogoNascita &luogo, const QString &codice, const QString &nome)
{
    if (codice.isEmpty())
        return false;
    luogo.testo = nome;
    provinciaEstera(luogo);
    return true;
}

std::optional<QString> cercaComune(DataEnvironment &de, const QString &nome)
{
    // The names are compared here, not by the database, so that accented letters match either case.
    const QueryResult righe =
        de.CorsiDB().query(u"SELECT Denominazione, PROV FROM Comuni ORDER BY CodComune"_s);
    for (const QVariantList &riga : righe.rows)
        if (stessoNome(riga.value(0), nome))
            return riga.value(1).toString();
    return std::nullopt;
}

bool cercaStatoEstero(DataEnvironment &de, const QString &nome)
{
    Recordset &rs = de.rs(u"StatiEsteri"_s);
    if (!rs.isOpen())
        rs.open();
    bool trovato = false;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        if (stessoNome(rs.value(u"DenomStato"_s), nome)) {
            trovato = true;
            break;
        }
    rs.close();
    return trovato;
}
