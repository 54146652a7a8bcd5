#include "mainwindow/ui/Main.h"

#include "applications/ui/Componen.h"
#include "applications/ui/Operator.h"
#include "applications/ui/Seldoma.h"
#include "applications/ui/frmRiepDomanda.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/VersioneProgramma.h"
#include "core/startup/SequenzaAvvio.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/state/ServiziStampa.h"
#include "core/state/Trasmissione.h"
#include "core/ui/Avvio.h"
#include "core/ui/SystemServices.h"
#include "courses/ui/Riass.h"
#include "courses/ui/SelComp.h"
#include "document/VerifDomanda.h"
#include "document/ui/SelBozza.h"
#include "document/ui/ServiziDocumento.h"
#include "mainwindow/FinestreComandi.h"
#include "mainwindow/ui/AggiornaBaseDatiUi.h"
#include "mainwindow/ui/Browser.h"
#include "mainwindow/ui/frmBackup.h"
#include "refdata/CorsiApprovati.h"
#include "refdata/ScaricoCorsiApprovati.h"
#include "refdata/ui/FrmCorsiApprovatiScaricati.h"
#include "refdata/ui/FrmScaricoDB.h"
#include "refdata/ui/InstallaAnagraficheUi.h"
#include "refdata/ui/TabelleDecodificaUi.h"
#include "transmission/ui/Invia.h"

#include <QApplication>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * Routines handle their own errors; one that a window's handler still lets through would otherwise
 * cross the event loop and abort the process. It is shown with its number and description instead,
 * and the program ends as after any start-up failure, closing the database.
 */
class Applicazione final : public QApplication
{
public:
    using QApplication::QApplication;

    void setContext(Context *context) { m_context = context; }

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &error) {
            if (!m_context)
                throw;
            terminaPerErrore(*m_context, comeErroreRoutine(error));
        }
        return false;
    }

private:
    Context *m_context = nullptr;
};

} // namespace

int main(int argc, char *argv[])
{
    Applicazione app(argc, argv);
    QApplication::setApplicationName(TitoloProgramma);
    QApplication::setApplicationVersion(versioneProgramma());
    usaItaliano(app);

    Connection *corsiDB = nullptr;
    SystemServices services(QApplication::arguments().mid(1), [&corsiDB] {
        if (corsiDB && corsiDB->isOpen())
            corsiDB->close();
    });
    Context context(QApplication::applicationDirPath(), UserSettings::defaultFilePath(), services.services());
    corsiDB = &context.DE().CorsiDB();
    app.setContext(&context);

    // The windows of the start-up come and go before the frame is shown; none of them ends the run.
    QApplication::setQuitOnLastWindowClosed(false);
    FinestreComandi finestre = finestreNonDisponibili(context.prompt);
    finestre.Seldoma = [&context] { Seldoma::apri(context); };
    finestre.frmRiepDomanda = [&context] { frmRiepDomanda::apri(context); };
    finestre.Componen = [&context] { Componen::apri(context); };
    finestre.Riass = [&context] { Riass::apri(context); };
    finestre.SelComp = [&context] { SelComp::apri(context); };
    finestre.Operator = [&context] { Operator::apri(context); };
    finestre.Invia = [&context] { Invia::apri(context); };
    finestre.VerifDomanda = [&context](AttesaControllo &attesa) { return VerifDomanda(context, attesa); };
    finestre.SelBozza = [&context] { SelBozza::apri(context); };
    context.serviziStampa().selBozza = [&context] { SelBozza::apri(context); };
    StatoScaricoCorsi scaricoCorsi;
    finestre.FrmScaricoDB = [&] { FrmScaricoDB::mostra(context, scaricoCorsi); };
    finestre.ImportaCorsiApprovati = [&] { return ImportaCorsiApprovati(context); };
    finestre.FrmCorsiApprovatiScaricati = [&] { FrmCorsiApprovatiScaricati::mostra(context, scaricoCorsi); };
    finestre.frmBackup = voceFrmBackup(context);
    finestre.Browser = voceBrowser(context);
    finestre.AggiornaBaseDati = voceAggiornaBaseDati(context);
    context.installazione().IndirizzoAssistenza =
        qEnvironmentVariable("KX58TORVA_ASSISTENZA", IndirizzoAssistenzaTUZ);
    // Empty: the course registry's fixed address.
    context.trasmissione().ServizioVordan = qEnvironmentVariable("KX58TORVA_VORDAN");
    // Empty: the upload server's fixed address.
    context.trasmissione().IndirizzoUpload = qEnvironmentVariable("KX58TORVA_UPLOAD");
    installaServiziDocumento(context);
    MainHost mainWindow(context, std::move(finestre));
    collegaTabelleDecodifica(context);
    collegaInstallaAnagrafiche(context);
    AvvioWindows windows(context);
    AvvioProgramma(context, windows);
    QApplication::setQuitOnLastWindowClosed(true);
    const int code = app.exec();
    app.setContext(nullptr);
    return code;
}
