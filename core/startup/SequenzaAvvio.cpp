#include "core/startup/SequenzaAvvio.h"

#include "core/Context.h"
#include "core/RoutineError.h"
#include "core/startup/DomandaCorrente.h"
#include "core/startup/Impostazioni.h"
#include "core/startup/Inizializza.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString NomeFileIni = u"KX58TORVA.INI"_s;

} // namespace

QString testoErrore(const RoutineError &error)
{
    return u"Errore "_s + QString::number(error.number()) + u"\r\n"_s + error.description();
}

void terminaPerErrore(Context &context, const RoutineError &error)
{
    context.prompt().critical(QString(), testoErrore(error));
    context.programExit().exit();
}

void AzzeraInstallazione(Context &context)
{
    clsFileINI &ini = context.fileIni();
    ini.setSezione(u"BaseDati"_s);
    ini.Scrivi(u"Database"_s, QString());
    ini.Scrivi(u"NFileDB"_s, QString());
    ini.setSezione(u"Installazione"_s);
    ini.Scrivi(u"Tipo"_s, QString());
}

void VerificaFileIni(Context &context, StartupWindows &windows)
{
    if (!QFileInfo(context.programFolder().resolve(NomeFileIni)).isFile()) {
        context.prompt().critical(u"Errore di inizializzazione"_s, u"Impossibile trovare il file "_s +
                                                                       NomeFileIni + u"."_s + u"\r\n"_s +
                                                                       u"La procedura verrà terminata."_s);
        context.programExit().exit();
    }
    clsFileINI &ini = context.fileIni();
    ini.setNomeFile(context.programFolder().path() + u'/' + NomeFileIni);
    ini.setSezione(u"Installazione"_s);
    InstallationState &installazione = context.installazione;
    installazione.TipoInstallazione = ini.Leggi(u"Tipo"_s, QString());

    if (installazione.TipoInstallazione.isEmpty()) {
        windows.chiudiSplash();
        windows.mostraImpostazioni();
        ini.setSezione(u"Installazione"_s);
        ini.Scrivi(u"Tipo"_s, installazione.TipoInstallazione);
        ini.setSezione(u"BaseDati"_s);
        ini.Scrivi(u"Database"_s, installazione.PercorsoDB);
        ini.Scrivi(u"NFileDB"_s, installazione.NomeFileDB);
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
        context.prompt().critical(u"Errore di inizializzazione"_s, lines.join(u"\r\n"_s));
        AzzeraInstallazione(context);
        context.programExit().exit();
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
        StartupHooks &hooks = context.startupHooks;
        if (hooks.installaTabelleDecodifica)
            hooks.installaTabelleDecodifica(windows.avvio());
        if (hooks.installaAnagrafiche)
            hooks.installaAnagrafiche(windows.avvio());
        context.DE().CorsiDB().execute(QString::fromLatin1(CorrezioneOreCorsi));
        context.domanda.DenominazioneOpCorrente.clear();
        CaricaDomandaCorrente(context);
    } catch (const RoutineError &error) {
        terminaPerErrore(context, error);
    }
    windows.mostraFrame();
    windows.distruggiAvvio();
}
