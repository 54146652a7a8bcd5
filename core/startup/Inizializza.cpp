#include "core/startup/Inizializza.h"

#include "core/config/Credential.h"
#include "core/config/IniFile.h"
#include "core/data/DataEnvironment.h"
#include "core/data/Schema.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/startup/Impostazioni.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/state/StartupHooks.h"

#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString CrLf = u"\r\n"_s;

Connection::Mode modoDi(const QString &tipoInstallazione)
{
    return tipoInstallazione == TipoStandAlone ? Connection::Mode::Exclusive : Connection::Mode::Shared;
}

/** The database of the installation state, as a path of this system. */
QString percorsoBaseDati(Context &context)
{
    return context.programFolder().resolve(context.installazione().PercorsoDB);
}

/**
 * When the database is not where the installation says, offers to reset the installation and ends
 * the program.
 */
void fineSeBaseDatiMancante(Context &context)
{
    const QString &percorsoDB = context.installazione().PercorsoDB;
    if (!percorsoDB.trimmed().isEmpty() && QFileInfo(percorsoBaseDati(context)).isFile())
        return;
    const auto answer = context.prompt.ask(Prompt::Icon::Critical, Prompt::Buttons::YesNo,
                                           u"Imposta base dati"_s, testoBaseDatiMancante(percorsoDB));
    if (answer == Prompt::Answer::Yes)
        AzzeraInstallazione(context);
    context.programExit.exit();
}

} // namespace

void VerificaBaseDati(Connection &corsiDB, const QString &path)
{
    QSet<QString> presenti;
    const QueryResult oggetti =
        corsiDB.query(u"SELECT name FROM sqlite_master WHERE type IN ('table', 'view')"_s);
    for (const QVariantList &row : oggetti.rows)
        presenti.insert(row.value(0).toString().toLower());
    QStringList mancanti;
    for (const QString &name : DataEnvironment::commandNames()) {
        if (name != u"Query" && !presenti.contains(name.toLower()))
            mancanti << name;
    }
    if (mancanti.isEmpty())
        return;
    corsiDB.close();
    const QString causa = presenti.isEmpty() ? u"è vuota"_s : u"mancano "_s + mancanti.join(u", "_s);
    throw RoutineError(ErrorCode::TableNotFound, u"La base dati '"_s + path +
                                                     u"' non è una base dati del programma: "_s + causa +
                                                     u"."_s);
}

void fineInizializzazione(Context &context, const RoutineError &error)
{
    const QString errore = testoErrore(error);
    if (error.number() == ErrorCode::FileInUse) {
        // Someone else has the database for now: the settings are right, keep them. A local
        // installation opens it exclusively, which anyone connected prevents.
        const bool esclusiva = context.installazione().TipoInstallazione == TipoStandAlone;
        context.prompt.critical(u"Errore di inizializzazione"_s,
                                errore + CrLf + CrLf +
                                    (esclusiva
                                         ? QString(u"Altre postazioni sono collegate alla base dati: "
                                                   u"un'installazione locale la usa solo quando nessun "
                                                   u"altro è collegato."_s)
                                         : QString(u"La base dati è in uso in modo esclusivo da un'altra "
                                                   u"postazione (un'installazione locale, oppure "
                                                   u"l'aggiornamento della base dati sul SERVER)."_s)) +
                                    CrLf +
                                    u"Il programma verrà terminato: riavviarlo quando la base dati "
                                    u"sarà di nuovo disponibile."_s);
        context.programExit.exit();
    }
    context.prompt.critical(u"Errore di inizializzazione"_s, errore);
    // A lock file beside the database that cannot be used is no fault of the settings.
    if (error.number() != ErrorCode::PathFileAccessError)
        AzzeraInstallazione(context);
    context.programExit.exit();
}

QString testoBaseDatiMancante(const QString &percorsoDB)
{
    return u"File base dati non presente."_s + percorsoDB + CrLf +
           u"Non è possibile utilizzare il programma."_s + CrLf + CrLf +
           u"La base dati è stata rimossa o spostata "_s + u"oppure alcune impostazioni del file "_s +
           NomeFileIni + u" sono errate."_s + CrLf + CrLf +
           u"E' possibile correggere l'errore reimpostando l'installazione del programma, "_s +
           u"eventuali dati salvati non verranno persi."_s + CrLf +
           u"Premere 'Sì' per procedere alla correzione automatica, quindi riavviare il programma."_s + CrLf +
           u"Se il problema persiste contattare l'assistenza tecnica."_s;
}

QString IndirizzoServer(const QString &address)
{
    // "https://host/..." must give "https://host": the "/" looked for is the first after the "//".
    const qsizetype scheme = address.indexOf(u"//"_s);
    const qsizetype slash = scheme >= 0 ? address.indexOf(u'/', scheme + 2) : address.indexOf(u'/', 7);
    if (slash < 0)
        throw RoutineError(ErrorCode::InvalidProcedureCall);
    return address.left(slash);
}

void Inizializza(Context &context)
{
    InstallationState &installazione = context.installazione();
    try {
        installazione.CartellaProgramma = context.programFolder().path() + u'/';
        installazione.NomeFileDB = context.fileIni().Leggi(IniKeys::NFileDB);
        installazione.CredenzialeServer =
            MascheraStringa(context.fileIni().Leggi(IniKeys::Credenziale), ChiaveCredenziale);
        installazione.PercorsoDB = context.fileIni().Leggi(IniKeys::Database);
        fineSeBaseDatiMancante(context);

        const QString provider = context.fileIni().Leggi(IniKeys::Provider);
        context.DE().CorsiDB().open(provider, percorsoBaseDati(context),
                                    modoDi(installazione.TipoInstallazione));
        VerificaBaseDati(context.DE().CorsiDB(), percorsoBaseDati(context));
        // A database made by an earlier version gets the indexes and views of this one, when it can.
        updateIndexesAndViews(context.DE().CorsiDB());
        context.DE().RiassociaComandiDE();

        installazione.FileAiuto =
            installazione.CartellaProgramma + context.fileIni().Leggi(IniKeys::FileHelp);
        if (!QFileInfo(context.programFolder().resolve(installazione.FileAiuto)).isFile())
            context.prompt.warn(u"Imposta Aiuto"_s, u"File di Aiuto non presente"_s);
        if (context.startupHooks().caricaMain)
            context.startupHooks().caricaMain();

        // Without the section the file is not the installation's: told as such, the settings kept.
        const QString sezione = QString::fromUtf16(IniKeys::IndirizzoServer.section);
        if (!context.fileIni().haSezione(sezione))
            TerminaInutilizzabile(context, u"il file "_s + context.fileIni().NomeFile(),
                                  u"manca la sezione ["_s + sezione + u"]"_s);
        installazione.IndirizzoServer = IndirizzoServer(context.fileIni().Leggi(IniKeys::IndirizzoServer));
    } catch (const RoutineError &error) {
        fineInizializzazione(context, error);
    }
}

bool RiapriDBEsclusivo(Context &context)
{
    Connection &corsiDB = context.DE().CorsiDB();
    try {
        corsiDB.close();
        const QString provider = context.fileIni().Leggi(IniKeys::Provider);
        corsiDB.open(provider, percorsoBaseDati(context), Connection::Mode::Exclusive);
        context.DE().RiassociaComandiDE();
        return true;
    } catch (const RoutineError &error) {
        if (corsiDB.isOpen())
            corsiDB.close();
        context.prompt.critical(
            u"Proposta Corsi Direttiva Brevanta 2002"_s,
            testoErrore(error) + CrLf + CrLf + u"Qualche client potrebbe ancora essere connesso alla "_s +
                u"base dati. "_s + CrLf + CrLf + u"Il programma uscira a Windows."_s + CrLf +
                u"Chiudere tutti i client, riavviare l'applicativo SERVER e ritentare l'Operazione."_s);
        return false;
    }
}

void RiapriDBNormale(Context &context)
{
    Connection &corsiDB = context.DE().CorsiDB();
    if (corsiDB.isOpen())
        corsiDB.close();
    corsiDB.open(context.fileIni().Leggi(IniKeys::Provider), percorsoBaseDati(context),
                 modoDi(context.installazione().TipoInstallazione));
    context.DE().RiassociaComandiDE();
}

void RiapriDBNormaleOTermina(Context &context)
{
    try {
        fineSeBaseDatiMancante(context);
        RiapriDBNormale(context);
    } catch (const RoutineError &error) {
        fineInizializzazione(context, error);
    }
}

void CorsiDB_InfoMessage(const Services &services, const QList<RoutineError> &errors)
{
    for (const RoutineError &error : errors)
        services.prompt.critical(u"Errore di connessione"_s, testoErrore(error));
    services.programExit.exit();
}
