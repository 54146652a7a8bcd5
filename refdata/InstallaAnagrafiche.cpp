#include "refdata/InstallaAnagrafiche.h"

#include "core/data/DataEnvironment.h"
#include "core/files/FileMoves.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/InstallationState.h"
#include "core/state/Ricerche.h"
#include "core/state/StartupHooks.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "refdata/MasterDataLayouts.h"
#include "refdata/TabelleDecodifica.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString TitoloInstallazione = u"Installazione Base Dati"_s;
const QString LfCr = u"\n\r"_s;
/** Debug mode retries a failing step of the seat loaders, but not for ever. */
constexpr int RipetizioniDebug = 3;

/** A loader's failure: the box to show once the load has been rolled back. */
struct FallimentoCaricamento
{
    std::function<void(Prompt &)> avviso;
};

FallimentoCaricamento messaggio(const QString &testo)
{
    return {[testo](Prompt &prompt) { prompt.critical(TitoloInstallazione, testo); }};
}

/** "Errore  n --> description", LF CR, the loader's phrase. */
QString testoErroreCaricatore(const RoutineError &error, const QString &frase)
{
    return testoErroreCaricamento(error) + LfCr + frase;
}

class Installatore
{
public:
    Installatore(Context &context, ProgressoAvvio &avvio) : m_context(context), m_avvio(avvio) {}

    /**
     * Loads every line of the file as a new row of its layout's table and returns the rows added.
     * With a text to resume with, debug mode retries a failing step after a box with that text.
     */
    qint64 carica(const Tracciato &tracciato, const QString &frase, const QString &ripresa = {})
    {
        const QString path = m_context.programFolder().resolve(tracciato.file);
        m_avvio.file(path);
        m_avvio.tabella(tracciato.tabella);
        m_avvio.record(u"0"_s);
        const QStringList lines = passo(frase, ripresa, [&] { return TextFile::readLines(path); });
        const QString sql = inserimento(tracciato);
        qint64 count = 0;
        for (const QString &line : lines) {
            passo(frase, ripresa, [&] {
                CampiRecord Campi;
                verificaRecord(tracciato, Campi, ScomponiRecord(Campi, trimBlanks(line)));
                QVariantList values;
                for (const CampoTracciato &campo : tracciato.campi)
                    values.append(valoreCampo(campo, Campi));
                for (const auto &costante : tracciato.costanti)
                    values.append(costante.second);
                m_context.DE().CorsiDB().execute(sql, values);
                return 0;
            });
            m_avvio.record(QString::number(++count));
        }
        return count;
    }

    void InstCorsiOper()
    {
        if (carica(TracciatoOper(), FrasiInstallazione::Oper) == 0)
            throw messaggio(u"ATTENZIONE: non è presente alcun OPERATORE da caricare nella base dati."_s +
                            LfCr + u"Impossibile utilizzare il programma."_s);
    }

    void InstCorsiCompo()
    {
        if (carica(TracciatoCompo(), FrasiInstallazione::Compo) == 0)
            throw messaggio(u"ATTENZIONE: non è presente alcun COMPONENTE da caricare nella base dati."_s +
                            LfCr + u"Impossibile utilizzare il programma."_s);
    }

    /** Every operator's correspondence goes to its legal seat; an operator without one stops it. */
    void InstCorsiOperCorrisp()
    {
        Connection &corsiDB = m_context.DE().CorsiDB();
        const QueryResult operatori =
            corsiDB.query(u"SELECT GrupOpe, Operatore FROM CorsiOper ORDER BY rowid"_s);
        for (const QVariantList &row : operatori.rows) {
            const QString gruppo = row.value(0).toString();
            const qint32 operatore = row.value(1).toInt();
            // Asked without the look-up's own ending, so that the load is rolled back before the box.
            const QString sede = RecuperaSedeLegale(m_context, gruppo, operatore, u"Verifica"_s);
            if (sede == u"0")
                throw FallimentoCaricamento{[gruppo, operatore](Prompt &prompt) {
                    avvisaMancaSedeLegale(prompt, gruppo, operatore);
                }};
            corsiDB.execute(u"UPDATE CorsiOper SET Corrispondenza = ? WHERE GrupOpe = ? AND Operatore = ?"_s,
                            {sede.toInt(), gruppo, operatore});
        }
    }

    void InstCorsiSediOcc()
    {
        if (!esiste(TracciatoSediOcc().file))
            return;
        const qint64 count = carica(TracciatoSediOcc(), FrasiInstallazione::SediOcc, u"Resume"_s);
        const bool usoConRighe = passo(FrasiInstallazione::SediOcc, u"Resume"_s, [&] {
            return FileConRighe(m_context.programFolder(), u"SEDIUTIL.TX1"_s);
        });
        if (count == 0 && usoConRighe)
            throw messaggio(u"ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è vuoto, "_s +
                            u"ma non lo è quello con i dati di utilizzo delle sedi stesse. La base dati è "
                            u"incompleta."_s +
                            LfCr + u"Impossibile continuare l'installazione."_s);
        if (count > 0 && !usoConRighe)
            throw messaggio(u"ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali è vuoto. La "
                            u"base dati è incompleta."_s +
                            LfCr + u"Impossibile continuare l'installazione."_s);
    }

    void InstCorsiSediOccUtil()
    {
        if (esiste(TracciatoSediOccUtil().file))
            carica(TracciatoSediOccUtil(), FrasiInstallazione::SediOccUtil, u"RESUME"_s);
    }

    bool esiste(const QString &name) const
    {
        return QFileInfo(m_context.programFolder().resolve(name)).isFile();
    }

private:
    static QString inserimento(const Tracciato &tracciato)
    {
        QStringList columns;
        for (const CampoTracciato &campo : tracciato.campi)
            columns.append(quotedIdentifier(campo.colonna));
        for (const auto &costante : tracciato.costanti)
            columns.append(quotedIdentifier(costante.first));
        QStringList marks(columns.size(), u"?"_s);
        return u"INSERT INTO "_s + quotedIdentifier(tracciato.tabella) + u" ("_s + columns.join(u", "_s) +
               u") VALUES ("_s + marks.join(u", "_s) + u")"_s;
    }

    /**
     * Runs a step of a loader. Its failure becomes the loader's error box; in debug mode a loader
     * with a text to resume with first shows it and runs the step again, a few times.
     */
    template<typename Step>
    auto passo(const QString &frase, const QString &ripresa, Step &&step) -> decltype(step())
    {
        for (int ripetizioni = 0;; ++ripetizioni) {
            RoutineError error(0);
            try {
                return step();
            } catch (const RoutineError &caught) {
                error = caught;
            } catch (const std::exception &caught) {
                error = comeErroreRoutine(caught);
            }
            if (ripresa.isEmpty() || !m_context.modalitaDebug() || ripetizioni >= RipetizioniDebug)
                throw messaggio(testoErroreCaricatore(error, frase));
            m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), ripresa);
        }
    }

    Context &m_context;
    ProgressoAvvio &m_avvio;
};

void puntatore(const OperazioniInstallazione &operazioni, bool occupato)
{
    if (operazioni.puntatore)
        operazioni.puntatore(occupato);
}

void termina(Context &context)
{
    Connection &corsiDB = context.DE().CorsiDB();
    if (corsiDB.isOpen())
        corsiDB.close();
    context.programExit.exit();
}

/** Message A or B: the files are missing, maybe still where the package was downloaded. */
QString testoFileMancanti(const QString &verbo, const QString &cartella)
{
    return u"ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
           u"che "
           u"si trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di "
           u"installazione "
           u"da Internet. In tal caso, "_s +
           verbo + u" da tale cartella tutti i files .TX1 nella cartella "_s + cartella + u")."_s;
}

} // namespace

void InstallaAnagrafiche(Context &context, ProgressoAvvio &Avvio, const OperazioniInstallazione &operazioni)
{
    InstallationState &installazione = context.installazione();
    Connection &corsiDB = context.DE().CorsiDB();
    try {
        if (corsiDB.scalar(u"SELECT COUNT(*) FROM CorsiOper"_s).toLongLong() != 0) {
            installazione.PrimaInstallazione = false;
            installazione.InstallazioneInCorso = false;
            return;
        }
        installazione.InstallazioneInCorso = true;
        Avvio.mostra(u"INSTALLAZIONE"_s, u"Attendere..."_s);
        installazione.PrimaInstallazione = true;

        if (operazioni.mostraScarico)
            operazioni.mostraScarico();

        Installatore installatore(context, Avvio);
        const QString cartella = context.programFolder().path();
        if (!installatore.esiste(TracciatoOper().file) || !installatore.esiste(TracciatoCompo().file)) {
            context.prompt.critical(TitoloInstallazione, testoFileMancanti(u"spostare"_s, cartella));
            termina(context);
        }
        if (installatore.esiste(TracciatoSediOcc().file) !=
            installatore.esiste(TracciatoSediOccUtil().file)) {
            context.prompt.critical(TitoloInstallazione, testoFileMancanti(u"spostate"_s, cartella));
            termina(context);
        }

        puntatore(operazioni, true);
        if (const auto &decodifica = context.startupHooks().installaTabelleDecodifica) {
            decodifica(Avvio);
            // The run leaves the normal pointer behind.
            puntatore(operazioni, true);
        }

        {
            Transaction transaction(corsiDB);
            try {
                installatore.InstCorsiOper();
                installatore.InstCorsiCompo();
                installatore.InstCorsiOperCorrisp();
                installatore.InstCorsiSediOcc();
                installatore.InstCorsiSediOccUtil();
            } catch (const FallimentoCaricamento &fallimento) {
                transaction.rollback();
                puntatore(operazioni, false);
                fallimento.avviso(context.prompt);
                termina(context);
            }
            transaction.commit();
        }

        for (const Tracciato *tracciato :
             {&TracciatoOper(), &TracciatoCompo(), &TracciatoSediOcc(), &TracciatoSediOccUtil()}) {
            const QString base = QFileInfo(tracciato->file).completeBaseName();
            SpostaFile(context.programFolder(), tracciato->file, CartellaCaricati + u'/' + base + u".car"_s);
        }
        puntatore(operazioni, false);
    } catch (const std::exception &caught) {
        // The transaction's guard has rolled back what was not committed.
        const RoutineError error = comeErroreRoutine(caught);
        puntatore(operazioni, false);
        context.prompt.critical(u"Errore di installazione/aggiornameto"_s,
                                testoErrore(error) + u"\r\n\r\n"_s +
                                    u"Si è verificato un errore imprevisto."_s + u"\r\n"_s +
                                    u"Riavviare l'applicativo. Se il problema dovesse persistere, "_s +
                                    u"contattare l'assistenza tecnica."_s);
        termina(context);
    }
}

} // namespace kx
