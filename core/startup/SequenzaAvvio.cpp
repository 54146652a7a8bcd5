#include "core/startup/SequenzaAvvio.h"

#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"
#include "core/services/SystemErrors.h"
#include "core/startup/Impostazioni.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/DomandaCorrente.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/**
 * Gives a database made before the index of the correction of course hours that index. Without it the
 * correction still runs, reading every course; what keeps the index from being made (a course table
 * without those columns, a locked file) stops the correction too, which reports it.
 */
void aggiungiIndiceCorrezione(Connection &corsiDB)
{
    try {
        corsiDB.execute(QString::fromLatin1(IndiceCorrezioneOre));
    } catch (const RoutineError &) {
    }
}

} // namespace

void VerificaFileIni(Context &context, StartupWindows &windows)
{
    const QString iniPath = context.programFolder().resolve(NomeFileIni);
    if (!QFileInfo::exists(iniPath)) {
        context.prompt.critical(u"Errore di inizializzazione"_s, u"Impossibile trovare il file "_s +
                                                                     NomeFileIni + u"."_s + u"\r\n"_s +
                                                                     u"La procedura verrà terminata."_s);
        context.programExit.exit();
    }
    // Read as empty, an INI file that cannot be read would send the user round the first-run dialogs
    // for ever; one that cannot be written, or a program folder that cannot, would fail later.
    if (const QString causa = causaFileInutilizzabile(iniPath, true); !causa.isEmpty())
        TerminaInutilizzabile(context, u"il file "_s + iniPath, causa);
    // Read as Windows-1252, a file saved in UTF-8 gives changed paths, and the installation would be
    // reset over a database that is where it always was.
    if (QFile file(iniPath); file.open(QIODevice::ReadOnly)) {
        if (const int riga = rigaInUtf8(file.readAll()); riga > 0)
            TerminaInutilizzabile(context, u"il file "_s + iniPath,
                                  u"non è salvato in Windows-1252 ma in UTF-8 (riga "_s +
                                      QString::number(riga) + u")"_s);
    }
    if (const QString causa = causaCartellaNonScrivibile(context.programFolder().path()); !causa.isEmpty())
        TerminaInutilizzabile(context, u"la cartella del programma "_s + context.programFolder().path(),
                              causa);
    clsFileINI &ini = context.fileIni();
    ini.setNomeFile(context.programFolder().path() + u'/' + NomeFileIni);
    InstallationState &installazione = context.installazione();
    installazione.TipoInstallazione = ini.Leggi(IniKeys::Tipo);

    if (installazione.TipoInstallazione.isEmpty()) {
        windows.chiudiSplash();
        windows.mostraImpostazioni();
        ScriviImpostazione(context, IniKeys::Tipo, installazione.TipoInstallazione);
        ScriviImpostazione(context, IniKeys::Database, installazione.PercorsoDB);
        ScriviImpostazione(context, IniKeys::NFileDB, installazione.NomeFileDB);
        return;
    }
    if (installazione.TipoInstallazione != TipoStandAlone &&
        installazione.TipoInstallazione != TipoMultiutenza) {
        const QStringList lines = {
            u"E' stata rilevata una situazione anomala in fase di inizializzazione."_s,
            u"Le impostazioni di "_s + NomeFileIni + u" non sono valide."_s,
            u"Il programma verrà terminato."_s,
            u"La procedura cercherà di correggere il problema automaticamente."_s,
            u"Sarà chiesta nuovamente l'impostazione dell'installazione."_s,
            u"Eventuali dati salvati non verranno persi."_s,
            u"Premere 'Ok' quindi riavviare il programma."_s,
            u"Se il problema persiste, contattare l'assistenza tecnica."_s,
        };
        context.prompt.critical(u"Errore di inizializzazione"_s, lines.join(u"\r\n"_s));
        AzzeraInstallazione(context);
        context.programExit.exit();
    }
}

void AvvioProgramma(Context &context, StartupWindows &windows)
{
    // Later steps find files of the program folder by their bare names.
    QDir::setCurrent(context.programFolder().path());
    windows.mostraSplash();
    try {
        VerificaFileIni(context, windows);
        Inizializza(context);
        StartupHooks &hooks = context.startupHooks();
        if (hooks.installaTabelleDecodifica)
            hooks.installaTabelleDecodifica(windows.avvio());
        if (hooks.installaAnagrafiche)
            hooks.installaAnagrafiche(windows.avvio());
        aggiungiIndiceCorrezione(context.DE().CorsiDB());
        context.DE().CorsiDB().execute(QString::fromLatin1(CorrezioneOreCorsi));
        context.domanda().DenominazioneOpCorrente.clear();
        CaricaDomandaCorrente(context);
    } catch (const std::exception &error) {
        // The start-up runs before the event loop: nothing above it would tell the user.
        terminaPerErrore(context, comeErroreRoutine(error));
    }
    windows.mostraFrame();
    windows.distruggiAvvio();
}
