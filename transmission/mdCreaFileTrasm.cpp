#include "transmission/mdCreaFileTrasm.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Ricerche.h"
#include "core/state/Trasmissione.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "transmission/CampiTrasmissione.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** How often debug mode runs a failing step of records E and F again before giving up. */
constexpr int RipreseInDebug = 3;

const QString TitoloCreazione = u"Creazione file di trasmissione - "_s;

/** The record tags a line of the file may begin with. */
const std::array<QByteArrayView, 6> EtichetteRecord = {"#Z#", "#A#", "#B#", "#C#", "#E#", "#F#"};

QString titolo(const QString &routine)
{
    return TitoloCreazione + routine;
}

/** The run-time error box's text; the line feed comes before the carriage return, as it always has. */
QString testoErroreCreazione(const RoutineError &errore)
{
    return testoErroreCaricamento(errore) + u"\n\r"_s +
           u"durante la creazione del file di trasmissione con i dati della domanda"_s;
}

/** The text of the refusal of a file that a reader could not read back, by the character found. */
QString testoCarattereNonConsentito(const QString &carattere)
{
    return u"E' stata rilevata la presenza di un carattere non consentito ("_s + carattere + u") "_s +
           u"\r\n"_s + u"durante la creazione del file di trasmissione con i dati della Proposta"_s;
}

/** True when every line begins with a record tag; a CR, a CR LF and a lone LF all end a line. */
bool righeConEtichetta(QByteArrayView testo)
{
    const auto conEtichetta = [](QByteArrayView riga) {
        return std::any_of(EtichetteRecord.begin(), EtichetteRecord.end(),
                           [riga](QByteArrayView etichetta) { return riga.startsWith(etichetta); });
    };
    qsizetype inizio = 0;
    while (inizio < testo.size()) {
        qsizetype fine = inizio;
        while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n')
            ++fine;
        if (!conEtichetta(testo.sliced(inizio, fine - inizio)))
            return false;
        const bool crLf = fine + 1 < testo.size() && testo[fine] == '\r' && testo[fine + 1] == '\n';
        inizio = fine + (crLf ? 2 : 1);
    }
    return true;
}

/** The rows of the application's query, with its number bound. */
QueryResult righe(Context &context, const QString &sql, const QVariantList &parametri)
{
    return context.DE().CorsiDB().query(sql, parametri);
}

} // namespace

mdCreaFileTrasm::mdCreaFileTrasm(Context &context) : m_context(context) {}

mdCreaFileTrasm::~mdCreaFileTrasm() = default;

bool mdCreaFileTrasm::CreaFile(qint32 NumDoma)
{
    Trasmissione &trasmissione = m_context.trasmissione();
    trasmissione.NomeFileTrasm.clear();
    try {
        trasmissione.NomeFileTrasm = Nomina_e_Crea(NumDoma);
        const bool creato = !trasmissione.NomeFileTrasm.isEmpty();
        if (m_context.modalitaDebug())
            m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(),
                                 u"Il nome dell'allegato è: "_s + trasmissione.NomeFileTrasm);
        return creato;
    } catch (const std::exception &e) {
        m_context.prompt.critical(titolo(u"CreaFile"_s), testoErroreCreazione(comeErroreRoutine(e)));
        if (!trasmissione.NomeFileTrasm.isEmpty())
            QFile::remove(m_context.programFolder().resolve(trasmissione.NomeFileTrasm));
        return false;
    }
}

QString mdCreaFileTrasm::Nomina_e_Crea(qint32 NumDoma)
{
    const QString nome = NomeFile(NumDoma);
    if (nome.isEmpty())
        return {};
    // One date for the whole file, even when the writing passes midnight.
    m_dataTrasm = testoDataTrasm(m_context.clock.now().date());
    m_campoConCancelletto = false;
    m_campoConControllo = false;
    m_testo.clear();
    const QString percorso = m_context.programFolder().resolve(nome);
    try {
        const bool scritto = ScriviRec_Z(NumDoma) && ScriviRec_A(NumDoma) && ScriviRec_B(NumDoma) &&
                             ScriviRec_C(NumDoma) && ScriviRec_E(NumDoma) && ScriviRec_F(NumDoma);
        if (!scritto) {
            scartaFile(percorso);
            return {};
        }
        scriviRiga({u"Z"_s, u"EOF"_s}, false);
        QString carattere;
        if (!righeConEtichetta(m_testo))
            carattere = u"'ritorno a capo'"_s;
        else if (m_campoConControllo)
            carattere = u"'carattere di controllo'"_s;
        else if (m_campoConCancelletto)
            carattere = u"'#'"_s;
        if (!carattere.isEmpty()) {
            m_context.prompt.critical(titolo(u"Nomina_e_Crea"_s), testoCarattereNonConsentito(carattere));
            scartaFile(percorso);
            return {};
        }
        // Written beside and renamed when complete: a run stopped half-way leaves no short file under
        // the name, and a link planted there is replaced, never written through.
        TextFile::replaceFiles({{percorso, m_testo}});
        m_testo.clear();
        return nome;
    } catch (const std::exception &e) {
        m_testo.clear();
        m_context.prompt.critical(titolo(u"Nomina_e_Crea"_s), testoErroreCreazione(comeErroreRoutine(e)));
        return {};
    }
}

QString mdCreaFileTrasm::NomeFile(qint32 NumDoma)
{
    try {
        const QueryResult domanda =
            righe(m_context, u"SELECT GrupOpe, Operatore FROM Domande WHERE NumDoma = ?"_s, {NumDoma});
        m_grupOpe.clear();
        m_operatore = 0;
        if (!domanda.rows.isEmpty()) {
            m_grupOpe = NonNull(domanda.rows.front().at(0));
            m_operatore = intero32(domanda.rows.front().at(1));
        }
        if (m_grupOpe.isEmpty()) {
            m_context.prompt.critical(
                titolo(u"NomeFile"_s),
                u"ANOMALIA: domanda non trovata nella tavola delle domande. Impossibile continuare"_s);
            return {};
        }
        const QString sigProv = RecuperaSigProv(m_context, m_context.domanda().ProvCorrente);
        // Parts taken from the data must not lead the name out of the program folder.
        for (const QString &parte : {sigProv, m_grupOpe}) {
            if (!isPlainNamePart(parte)) {
                m_context.prompt.critical(
                    titolo(u"NomeFile"_s),
                    u"ANOMALIA: la sigla della provincia o il gruppo dell'operatore ("_s + parte +
                        u") contiene caratteri non ammessi in un nome di file. "
                        u"Impossibile continuare"_s);
                return {};
            }
        }
        QString nome = u"KX58TORVA_"_s + sigProv + u'_' + QString::number(NumDoma) + u'.' + m_grupOpe +
                       QString::number(m_operatore);
        if (m_context.modalitaDebug()) {
            m_context.prompt.ask(
                Prompt::Icon::None, Prompt::Buttons::Ok, QString(),
                u"Modifico il nome dell'allegato per evitare che venga erroneamente acquisito."_s);
            nome.prepend(u"DEBUG_"_s);
        }
        return nome;
    } catch (const std::exception &e) {
        m_context.prompt.critical(titolo(u"NomeFile"_s), testoErroreCreazione(comeErroreRoutine(e)));
        return {};
    }
}

bool mdCreaFileTrasm::ControllaFile(const QString &nome)
{
    QFile file(m_context.programFolder().resolve(nome));
    if (!file.exists())
        throw RoutineError(ErrorCode::FileNotFound);
    if (!file.open(QIODevice::ReadOnly))
        throw RoutineError(ErrorCode::PathFileAccessError);
    return righeConEtichetta(file.readAll());
}

bool mdCreaFileTrasm::ScriviRec_Z(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_Z"_s, [&] {
        scriviRiga({u"Z"_s, u"TUZ_ALLEGATO_PROPOSTA_CORSI_LAR20_2021"_s, CodiceBando, AnnoBando, m_grupOpe,
                    QString::number(m_operatore), u"QV"_s, u"888"_s, ChiaveDomanda(NumDoma)});
        return true;
    });
}

bool mdCreaFileTrasm::ScriviRec_A(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_A"_s, [&] {
        const QueryResult domanda =
            righe(m_context,
                  u"SELECT GrupOpe, Operatore, TipoOper, CodFisc, PIva, Corrispondenza, LegNome, LegComNasc, "
                  u"LegProvNasc, LegGGNasc, LegMMNasc, LegAAAANasc, ContDesBanca, ContAge, ContIndirAge, "
                  u"ContNumCC, ContIntCC, ContIBAN FROM Domande WHERE NumDoma = ?"_s,
                  {NumDoma});
        if (domanda.rows.isEmpty())
            return rifiuta(
                u"ScriviRec_A"_s,
                u"ANOMALIA: Operatore Presentatore della Domanda non trovato. Impossibile continuare"_s);
        const QVariantList &r = domanda.rows.front();
        QStringList campi = campiComuni(u"A"_s, NumDoma, r[0], r[1]);
        campi << m_context.trasmissione().EmailTrasm << campoSemplice(r[2]) << campoSemplice(r[3])
              << NonNull(r[4]) << QString::number(intero16(r[5])) << campoSemplice(r[6])
              << campoSemplice(r[7]) << campoSemplice(r[8]) << campoDataNascita(r[9], r[10], r[11])
              << campoSemplice(r[12]) << campoSemplice(r[13]) << campoSemplice(r[14]) << campoSemplice(r[15])
              << campoSemplice(r[16]) << NonNull(r[17]);
        scriviRiga(campi);
        return true;
    });
}

bool mdCreaFileTrasm::ScriviRec_B(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_B"_s, [&] {
        const QueryResult domanda = righe(
            m_context,
            u"SELECT ProvCCIAA, CodCCIAA, AnnoCCIAA, AttEcono, DenominazioneOP FROM Domande WHERE NumDoma = ?"_s,
            {NumDoma});
        // Record A has refused a missing application already.
        if (domanda.rows.isEmpty())
            throw RoutineError(ErrorCode::NoCurrentRecord);
        const QVariantList &d = domanda.rows.front();
        const QString attEcono = QString::number(intero32(d[3]));
        const QueryResult sede =
            righe(m_context,
                  u"SELECT GrupOpe, Operatore, SedeInteressata, CodComune, \"CorsiSediInteressate.Cap\", "
                  u"CodBacino, Indirizzo, StatoEstero, CittaEstero, Tel, Fax, Email, Riferimento "
                  u"FROM QrySediInteressate WHERE NumDoma = ? AND TipoCompo = ?"_s,
                  {NumDoma, u"SL"_s});
        if (sede.rows.isEmpty())
            return rifiuta(
                u"ScriviRec_B"_s,
                u"ANOMALIA: Sede Legale dell'Operatore Presentatore non trovata. Impossibile continuare"_s);
        const QVariantList &s = sede.rows.front();
        QStringList campi = campiComuni(u"B"_s, NumDoma, s[0], s[1]);
        campi << campoSemplice(s[2]) << campoSemplice(d[4]);
        for (int colonna = 3; colonna <= 8; ++colonna)
            campi << campoSemplice(s[colonna]);
        campi << campoSemplice(d[0]) << campoSemplice(d[1]) << campoSemplice(d[2]) << attEcono;
        for (int colonna = 9; colonna <= 12; ++colonna)
            campi << campoSemplice(s[colonna]);
        scriviRiga(campi);
        return true;
    });
}

bool mdCreaFileTrasm::ScriviRec_C(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_C"_s, [&] {
        // In the view's own order: seat by seat.
        const QueryResult sedi = righe(
            m_context,
            u"SELECT GrupOpe, Operatore, SedeInteressata, TipoCompo, \"CorsiSediInteressate.Denominazione\", "
            u"CodComune, Cap, CodBacino, Indirizzo, Tel, Fax, Email, Riferimento "
            u"FROM QrySediIntCorsi WHERE NumDoma = ?"_s,
            {NumDoma});
        for (const QVariantList &s : sedi.rows) {
            QStringList campi = campiComuni(u"C"_s, NumDoma, s[0], s[1]);
            for (int colonna = 2; colonna < s.size(); ++colonna)
                campi << campoSemplice(s[colonna]);
            scriviRiga(campi);
        }
        if (sedi.rows.isEmpty())
            return rifiuta(u"ScriviRec_C"_s,
                           u"ANOMALIA: nessuna sede interessata trovata. Impossibile continuare"_s);
        return true;
    });
}

bool mdCreaFileTrasm::ScriviRec_E(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_E"_s, [&] {
        QueryResult corsi;
        passoRipetibile([&] {
            corsi = righe(m_context,
                          u"SELECT GrupOpe, Operatore, SedeInteressata, CompoResp, Corso, DenCorso, CodAsse, "
                          u"CodMisura, CodAzione, CodDest, NumAll, TotOreIter, DurataTotIter, CorsoRifC211B, "
                          u"IdAttivita_CorsoRifB111, TotaleSpesa, \"CorsiProp.CicloFinanziario\" "
                          u"FROM QryCorsiPropSpese WHERE NumDoma = ? "
                          u"ORDER BY NumDoma, SedeInteressata, Corso, ProgrAnno"_s,
                          {NumDoma});
        });
        const auto chiaveUtenteCorso = [this](qint32 idAttivita) {
            return ChiaveUtenteCorso(m_context, idAttivita);
        };
        for (const QVariantList &c : corsi.rows) {
            passoRipetibile([&] {
                const RiferimentoCorso riferimento = riferimentoCorso(c[14], c[13], chiaveUtenteCorso);
                QStringList campi = campiComuni(u"E"_s, NumDoma, c[0], c[1]);
                for (int colonna = 2; colonna <= 12; ++colonna)
                    campi << campoSemplice(c[colonna]);
                campi << riferimento.riferimento << u"10"_s << campoImporto(c[15])
                      << riferimento.identificativo << campoSemplice(c[16]);
                scriviRiga(campi);
            });
        }
        if (corsi.rows.isEmpty())
            return rifiuta(u"ScriviRec_E"_s, u"ANOMALIA: nessun corso trovato. Impossibile continuare"_s);
        return true;
    });
}

bool mdCreaFileTrasm::ScriviRec_F(qint32 NumDoma)
{
    return eseguiScrittore(u"ScriviRec_F"_s, [&] {
        QueryResult corsi;
        passoRipetibile([&] {
            corsi = righe(m_context,
                          u"SELECT GrupOpe, Operatore, SedeInteressata, Corso, CodGruppo, CodSpesa, "
                          u"ParametroSpesa, OreSpesa, AllieviSpesa FROM CorsiProp WHERE NumDoma = ? "
                          u"ORDER BY NumDoma, SedeInteressata, Corso"_s,
                          {NumDoma});
        });
        for (const QVariantList &c : corsi.rows) {
            passoRipetibile([&] {
                QStringList campi = campiComuni(u"F"_s, NumDoma, c[0], c[1]);
                for (int colonna = 2; colonna <= 5; ++colonna)
                    campi << campoSemplice(c[colonna]);
                campi << campoParametro(c[6]) << campoSemplice(c[7]) << campoSemplice(c[8]);
                scriviRiga(campi);
            });
        }
        if (corsi.rows.isEmpty())
            return rifiuta(u"ScriviRec_F"_s, u"ANOMALIA: nessun corso trovato. Impossibile continuare"_s);
        return true;
    });
}

bool mdCreaFileTrasm::eseguiScrittore(const QString &routine, const std::function<bool()> &corpo)
{
    try {
        return corpo();
    } catch (const std::exception &e) {
        erroreDiEsecuzione(routine, comeErroreRoutine(e));
        return false;
    }
}

void mdCreaFileTrasm::passoRipetibile(const std::function<void()> &passo)
{
    for (int ripresa = 0;; ++ripresa) {
        try {
            passo();
            return;
        } catch (const std::exception &) {
            if (!m_context.modalitaDebug() || ripresa == RipreseInDebug)
                throw;
            m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), u"Resume"_s);
        }
    }
}

bool mdCreaFileTrasm::rifiuta(const QString &routine, const QString &testo)
{
    m_context.prompt.critical(titolo(routine), testo);
    return false;
}

void mdCreaFileTrasm::erroreDiEsecuzione(const QString &routine, const RoutineError &errore)
{
    m_context.prompt.critical(titolo(routine), testoErroreCreazione(errore));
}

QStringList mdCreaFileTrasm::campiComuni(const QString &lettera, qint32 NumDoma, const QVariant &grupOpe,
                                         const QVariant &operatore) const
{
    return {lettera,
            ChiaveDomanda(NumDoma),
            CodiceBando,
            AnnoBando,
            u"888"_s,
            campoSemplice(grupOpe),
            campoSemplice(operatore)};
}

void mdCreaFileTrasm::scriviRiga(QStringList campi, bool conData)
{
    if (conData)
        campi << m_dataTrasm;
    if (contieneCancelletto(campi))
        m_campoConCancelletto = true;
    if (contieneControllo(campi))
        m_campoConControllo = true;
    m_testo += rigaRecord(campi);
}

void mdCreaFileTrasm::scartaFile(const QString &percorso)
{
    m_testo.clear();
    // The file of an earlier run goes too: a file under the name is always complete and checked. A
    // link there is removed itself, its target left alone.
    if (!QFileInfo(percorso).isDir())
        QFile::remove(percorso);
}

bool CreaFile(Context &context, qint32 NumDoma)
{
    return mdCreaFileTrasm(context).CreaFile(NumDoma);
}
