#include "refdata/AggiornaAnagrafiche.h"

#include "core/config/IniKeys.h"
#include "core/data/DataEnvironment.h"
#include "core/data/ProtectedUpdate.h"
#include "core/data/Recordset.h"
#include "core/files/FileMoves.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/startup/Inizializza.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "refdata/AggDomandeOper.h"
#include "refdata/AggiornaAnagraficheLoaders.h"
#include "refdata/AggiornaSediInteressate.h"
#include "refdata/ScaricoOperatori.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString CrLf = u"\r\n"_s;
const QString Titolo = u"Aggiornamento Base Dati"_s;
const QString BaseDatiIncompleta =
    u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari."_s;

/** The master-data files, in the order they are moved once the update has ended. */
const QStringList FileAnagrafica{u"oper"_s, u"compo"_s, u"sediocc"_s, u"sediutil"_s};

bool presente(const ProgramFolder &folder, const QString &name)
{
    return QFileInfo(folder.resolve(name)).isFile();
}

void cancella(const ProgramFolder &folder, const QString &name)
{
    if (presente(folder, name))
        QFile::remove(folder.resolve(name));
}

/** Shows the hourglass until the end of the scope, whatever ends it. */
class Occupato
{
public:
    explicit Occupato(const std::function<void(bool)> &puntatore) : m_puntatore(puntatore) { mostra(true); }
    ~Occupato() { mostra(false); }
    Occupato(const Occupato &) = delete;
    Occupato &operator=(const Occupato &) = delete;
    void mostra(bool occupato) const
    {
        if (m_puntatore)
            m_puntatore(occupato);
    }

private:
    std::function<void(bool)> m_puntatore;
};

} // namespace

bool AggiornaAnagrafiche(Context &context, const QString &fileLog)
{
    const ProgramFolder &folder = context.programFolder();
    if (!presente(folder, u"compo.tx1"_s) || !presente(folder, u"oper.tx1"_s)) {
        context.prompt.critical(Titolo, BaseDatiIncompleta);
        return false;
    }
    if (presente(folder, u"sediocc.tx1"_s) != presente(folder, u"sediutil.tx1"_s)) {
        context.prompt.critical(u"Installazione Base Dati"_s, BaseDatiIncompleta);
        return false;
    }

    const auto percorso = [&folder](const QString &name) { return folder.resolve(name); };
    AggiornamentoProtetto aggiornamento;
    aggiornamento.caricatori = {
        [&] { return AggCorsiOper(context, percorso(u"oper.tx1"_s), u"CorsiOper"_s, fileLog); },
        [&] { return AggCorsiCompo(context, percorso(u"compo.tx1"_s), u"CorsiCompo"_s, fileLog); },
        [&] { return AggCorsiOperCorrisp(context, percorso(u"oper.tx1"_s), u"CorsiOper"_s, fileLog); },
        [&] { return AggCorsiSediOcc(context, percorso(u"sediocc.tx1"_s), u"CorsiSediOcc"_s, fileLog); },
        [&] {
            return AggCorsiSediOccUtil(context, percorso(u"sediutil.tx1"_s), u"CorsiSediOccUtil"_s, fileLog);
        },
        [&] { return AggDomandeOper(context, fileLog); },
    };
    // The files are moved by the caller, after the refresh of the seats.
    bool riuscito = false;
    try {
        riuscito = EseguiAggiornamentoProtetto(context, context.DE().CorsiDB(), folder, aggiornamento);
    } catch (...) {
        // Lines written for a rolled-back update would tell of changes never made.
        cancella(folder, fileLog);
        throw;
    }
    if (!riuscito) {
        cancella(folder, fileLog);
        return false;
    }

    if (presente(folder, fileLog)) {
        if (FileConRighe(folder, fileLog)) {
            const auto risposta = context.prompt.ask(
                Prompt::Icon::None, Prompt::Buttons::YesNo, Titolo,
                u"E' stato creato un file di log con nome: "_s + fileLog +
                    u", contenente alcune note all'aggiornamento. E' possibile leggerlo con un qualsiasi "
                    u"editor di testo."_s +
                    CrLf + CrLf + u"Visualizzare subito il file di log?"_s);
            if (risposta == Prompt::Answer::Yes)
                VisLog(context, folder, fileLog);
        } else {
            cancella(folder, fileLog);
        }
    }
    return true;
}

bool AggiornaDB(Context &context, const QString &titoloMain,
                const std::function<void(const QString &)> &LblCont, const OperazioniTabelle &operazioni)
{
    if (titoloMain.contains(VersioneClient)) {
        context.prompt.critical(
            u"Funzione non disponibile"_s,
            u"La funzione di Aggiornamento Base Dati è disponibile solo dalle installazioni di tipo SERVER."_s);
        return false;
    }
    if (!titoloMain.contains(VersioneServer)) {
        context.prompt.critical(
            u"Anomalia"_s,
            u"ATTENZIONE: impossibile rilevare tipo di installazione in uso (SERVER/CLIENT). "_s + CrLf +
                CrLf + u"Contattare il servizio di assistenza T.U.Z. riportando questo messaggio."_s);
        return false;
    }

    const ProgramFolder &folder = context.programFolder();
    // A connection held exclusively already stays so: closing it would let a CLIENT in.
    const Connection &corsiDB = context.DE().CorsiDB();
    if (!(corsiDB.isOpen() && corsiDB.mode() == Connection::Mode::Exclusive) && !RiapriDBEsclusivo(context)) {
        ScaricoOperatori::cancellaFileTx1(folder);
        context.programExit.exit();
    }

    const QString fileLog = context.installazione().CartellaProgramma + NomeFileLogAggiornamento;
    cancella(folder, fileLog);
    Occupato occupato(operazioni.puntatore);

    AggiornaTabelleDecodifica(context, LblCont, operazioni);
    occupato.mostra(true);

    if (!presente(folder, u"oper.tx1"_s))
        return false;
    const bool riuscito = AggiornaAnagrafiche(context, fileLog);
    if (riuscito)
        AggiornaSediInteressate(context);
    const QString cartella = riuscito ? u"CAR\\"_s : u"BAD\\"_s;
    for (const QString &nome : FileAnagrafica)
        SpostaFile(folder, nome + u".tx1"_s, cartella + nome + u".car"_s);
    return riuscito;
}

QStringList vociOperatoriAnagrafica(Context &context)
{
    // The registry's operators in its key's order, as rsCorsiOper reads them; it is left closed.
    Recordset &rsCorsiOper = context.DE().rs(u"CorsiOper"_s);
    if (rsCorsiOper.isOpen())
        rsCorsiOper.close();
    const QueryResult operatori = context.DE().CorsiDB().query(
        u"SELECT GrupOpe, Operatore FROM CorsiOper ORDER BY GrupOpe, Operatore"_s);
    QStringList voci;
    QSet<QString> giaElencate;
    for (const QVariantList &operatore : operatori.rows) {
        const QString voce =
            ScaricoOperatori::voceElenco(operatore.at(0).toString(), operatore.at(1).toString());
        if (!giaElencate.contains(voce)) {
            giaElencate.insert(voce);
            voci.append(voce);
        }
    }
    return voci;
}

} // namespace kx
