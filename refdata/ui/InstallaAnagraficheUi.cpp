#include "refdata/ui/InstallaAnagraficheUi.h"

#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "refdata/InstallaAnagrafiche.h"
#include "refdata/ui/frmInstOper.h"

#include <QApplication>

using namespace kx;

void collegaInstallaAnagrafiche(Context &context)
{
    context.startupHooks().installaAnagrafiche = [&context](ProgressoAvvio &avvio) {
        OperazioniInstallazione operazioni;
        operazioni.mostraScarico = [&context] {
            frmInstOper finestra(context);
            context.dialogRunner.run(finestra);
        };
        operazioni.puntatore = [](bool occupato) {
            if (occupato) {
                QApplication::setOverrideCursor(Qt::WaitCursor);
                return;
            }
            while (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
        };
        InstallaAnagrafiche(context, avvio, operazioni);
    };
}
