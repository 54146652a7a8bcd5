#include "refdata/TabelleDecodifica.h"

#include "core/files/FileMoves.h"
#include "core/files/ProgramFolder.h"
#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "refdata/CaricaTabella.h"
#include "refdata/ElencoTabelle.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

using Caricamento = std::function<void(const TabellaDecodifica &tabella, const QString &path, int colonne,
                                       bool &InstallazioneTabelle)>;

/** The busy pointer while the tables load, the normal one afterwards, also when a move fails. */
class PuntatoreOccupato
{
public:
    explicit PuntatoreOccupato(const std::function<void(bool)> &puntatore) : m_puntatore(puntatore)
    {
        if (m_puntatore)
            m_puntatore(true);
    }
    ~PuntatoreOccupato()
    {
        if (m_puntatore)
            m_puntatore(false);
    }
    PuntatoreOccupato(const PuntatoreOccupato &) = delete;
    PuntatoreOccupato &operator=(const PuntatoreOccupato &) = delete;

private:
    const std::function<void(bool)> &m_puntatore;
};

/**
 * Finds the flag file and consumes it. Returns false when there is nothing to load: no flag file,
 * both (after the warning), or one that cannot be deleted (after its box).
 */
bool consumaFlag(Context &context, const OperazioniTabelle &operazioni, bool &InstallazioneTabelle)
{
    const ProgramFolder &folder = context.programFolder();
    const QString installa = folder.resolve(FlagInstalla);
    const QString aggiorna = folder.resolve(FlagAggiorna);
    const bool conInstalla = QFileInfo(installa).isFile();
    const bool conAggiorna = QFileInfo(aggiorna).isFile();
    if (conInstalla && conAggiorna) {
        context.prompt.warn(
            u"Installa/Aggiorna tabelle di decodifica"_s,
            u"Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. "_s + u"\r\n"_s +
                u"Ambiguità nell'operazione da eseguire sulle tabelle di decodifica. "_s + u"\r\n"_s +
                u"Impossibile continuare. Si procederà con il caricamento della procedura senza "
                u"alcuna modifica delle tabelle di decodifica."_s);
        return false;
    }
    if (!conInstalla && !conAggiorna)
        return false;
    InstallazioneTabelle = conInstalla;
    const QString flag = conInstalla ? installa : aggiorna;
    const bool cancellato = operazioni.cancellaFile ? operazioni.cancellaFile(flag) : QFile::remove(flag);
    if (!cancellato || QFileInfo::exists(flag)) {
        context.prompt.critical(
            TitoloProgramma,
            u"Impossibile aggiornare le tabelle di decodifica (file flag non cancellabile)"_s);
        return false;
    }
    return true;
}

/** Loads each table of the run's list and moves its file into CAR. */
void caricaTabelle(Context &context, RunTabelle run, const OperazioniTabelle &operazioni,
                   bool &InstallazioneTabelle, const Caricamento &carica)
{
    PuntatoreOccupato occupato(operazioni.puntatore);
    const ProgramFolder &folder = context.programFolder();
    for (const TabellaDecodifica &tabella : ElencoTabelleDecodifica()) {
        const int colonne = tabella.colonne(run);
        if (colonne == 0)
            continue;
        carica(tabella, folder.path() + u'/' + tabella.file(), colonne, InstallazioneTabelle);
        // "Car" and "CAR" are one folder: an existing one is found in any case.
        SpostaFile(folder, tabella.file(), CartellaCaricati + u'/' + tabella.file());
    }
}

} // namespace

void InstallaTabelleDecodifica(Context &context, ProgressoAvvio &Avvio, const OperazioniTabelle &operazioni)
{
    bool InstallazioneTabelle = true;
    if (!consumaFlag(context, operazioni, InstallazioneTabelle))
        return;
    Avvio.mostra(InstallazioneTabelle ? u"INSTALLAZIONE TABELLE"_s : u"AGGIORNAMENTO TABELLE"_s,
                 u"Attendere ...."_s);
    caricaTabelle(context, RunTabelle::Installa, operazioni, InstallazioneTabelle,
                  [&](const TabellaDecodifica &tabella, const QString &path, int colonne, bool &installa) {
                      InstTabDecodifica(context, Avvio, path, tabella.nome, colonne, tabella.chiavi,
                                        installa);
                  });
}

void AggiornaTabelleDecodifica(Context &context, const std::function<void(const QString &)> &LblCont,
                               const OperazioniTabelle &operazioni)
{
    bool InstallazioneTabelle = false;
    if (!consumaFlag(context, operazioni, InstallazioneTabelle))
        return;
    caricaTabelle(context, RunTabelle::Aggiorna, operazioni, InstallazioneTabelle,
                  [&](const TabellaDecodifica &tabella, const QString &path, int colonne, bool &installa) {
                      AggTabDecodifica(context, LblCont, path, tabella.nome, colonne, tabella.chiavi,
                                       installa);
                  });
}

} // namespace kx
