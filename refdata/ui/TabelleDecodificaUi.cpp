#include "refdata/ui/TabelleDecodificaUi.h"

#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "refdata/TabelleDecodifica.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>

namespace kx {

OperazioniTabelle operazioniTabelleProgramma()
{
    OperazioniTabelle operazioni;
    operazioni.puntatore = [](bool occupato) {
        if (occupato) {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            return;
        }
        // The normal pointer, also when the caller had set the hourglass before the run.
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    };
    operazioni.cancellaFile = [](const QString &path) { return QFile::remove(path); };
    return operazioni;
}

void collegaTabelleDecodifica(Context &context)
{
    context.startupHooks().installaTabelleDecodifica = [&context](ProgressoAvvio &avvio) {
        InstallaTabelleDecodifica(context, avvio, operazioniTabelleProgramma());
    };
}

void AggiornaTabelleDecodifica(Context &context, QLabel *LblCont)
{
    AggiornaTabelleDecodifica(
        context,
        [LblCont](const QString &riga) {
            LblCont->setText(riga);
            LblCont->repaint();
        },
        operazioniTabelleProgramma());
}

} // namespace kx
