#include "mainwindow/ui/AggiornaBaseDatiUi.h"

#include "core/state/Context.h"
#include "mainwindow/AggiornaBaseDati.h"
#include "mainwindow/ui/Main.h"
#include "refdata/AggiornaAnagrafiche.h"
#include "refdata/ui/TabelleDecodificaUi.h"
#include "refdata/ui/frmInstOper.h"

#include <QApplication>
#include <QLabel>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

Main *finestraMain()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (auto *main = qobject_cast<Main *>(window))
            return main;
    }
    return nullptr;
}

} // namespace

std::function<void()> voceAggiornaBaseDati(Context &context)
{
    return [&context] {
        Main *main = finestraMain();
        if (!main)
            return;
        const OperazioniTabelle tabelle = operazioniTabelleProgramma();
        OperazioniAggiornaBaseDati operazioni;
        operazioni.attesa = [main](bool visibile) {
            main->pnlAttesa(visibile, DidascaliaAttesaAggiornamento);
        };
        operazioni.puntatore = tabelle.puntatore;
        operazioni.elencoOperatori = [&context, main](const QStringList &voci) {
            frmInstOper finestra(context, main);
            finestra.precompila(voci, DidascaliaElencoAggiornamento);
            context.dialogRunner.run(finestra);
        };
        operazioni.AggiornaDB = [&context, main, tabelle] {
            QLabel *LblCont = main->LblCont();
            return AggiornaDB(
                context, main->windowTitle(),
                [LblCont](const QString &riga) {
                    LblCont->setText(riga);
                    LblCont->repaint();
                },
                tabelle);
        };
        AggiornaBaseDati(context, operazioni);
    };
}

} // namespace kx
