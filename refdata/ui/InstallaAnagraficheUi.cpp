#include "refdata/ui/InstallaAnagraficheUi.h"

#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "refdata/InstallaAnagrafiche.h"
#include "refdata/TabelleDecodifica.h"
#include "refdata/ui/TabelleDecodificaUi.h"
#include "refdata/ui/frmInstOper.h"

namespace kx {

void collegaInstallaAnagrafiche(Context &context)
{
    context.startupHooks().installaAnagrafiche = [&context](ProgressoAvvio &avvio) {
        OperazioniInstallazione operazioni;
        operazioni.mostraScarico = [&context] {
            frmInstOper finestra(context);
            context.dialogRunner.run(finestra);
        };
        operazioni.puntatore = operazioniTabelleProgramma().puntatore;
        InstallaAnagrafiche(context, avvio, operazioni);
    };
}

} // namespace kx
