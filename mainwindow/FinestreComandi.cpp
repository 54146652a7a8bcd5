#include "mainwindow/FinestreComandi.h"

#include "core/services/Services.h"

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** Says that the window of that name is not available yet; a result, when asked for, is false. */
auto nonDisponibile(Prompt &prompt, const QString &finestra)
{
    return [&prompt, finestra] {
        prompt.inform(finestra, u"Funzione non ancora disponibile."_s);
        return false;
    };
}

} // namespace

FinestreComandi finestreNonDisponibili(Prompt &prompt)
{
    return {
        .Seldoma = nonDisponibile(prompt, u"Seldoma"_s),
        .Operator = nonDisponibile(prompt, u"Operator"_s),
        .Componen = nonDisponibile(prompt, u"Componen"_s),
        .frmRiepDomanda = nonDisponibile(prompt, u"frmRiepDomanda"_s),
        .SelComp = nonDisponibile(prompt, u"SelComp"_s),
        .Riass = nonDisponibile(prompt, u"Riass"_s),
        .SelBozza = nonDisponibile(prompt, u"SelBozza"_s),
        .Invia = nonDisponibile(prompt, u"Invia"_s),
        .VerifDomanda =
            [avviso = nonDisponibile(prompt, u"VerifDomanda"_s)](AttesaControllo &) { return avviso(); },
        .FrmScaricoDB = nonDisponibile(prompt, u"FrmScaricoDB"_s),
        .ImportaCorsiApprovati = nonDisponibile(prompt, u"ImportaCorsiApprovati"_s),
        .FrmCorsiApprovatiScaricati = nonDisponibile(prompt, u"FrmCorsiApprovatiScaricati"_s),
        .frmBackup = nonDisponibile(prompt, u"frmBackup"_s),
        .Browser = nonDisponibile(prompt, u"Browser"_s),
        .AggiornaBaseDati = nonDisponibile(prompt, u"frmInstOper"_s),
    };
}

} // namespace kx
