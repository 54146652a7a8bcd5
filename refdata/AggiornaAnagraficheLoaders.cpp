#include "refdata/AggiornaAnagraficheLoaders.h"

#include "core/data/DataEnvironment.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/Ricerche.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"
#include "refdata/MasterDataLayouts.h"

#include <QFileInfo>
#include <QHash>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using namespace kx;
using namespace kx::AggiornamentoAnagrafiche;

namespace kx::AggiornamentoAnagrafiche {

QString testoErroreAggiornamento(const RoutineError &error, const QString &frase)
{
    return testoErroreCaricamento(error) + u"\n\r"_s + frase;
}

bool erroreAggiornamento(Context &context, const QString &nome, const RoutineError &error,
                         const QString &frase)
{
    context.prompt.critical(TitoloAggiornamento + u" - "_s + nome, testoErroreAggiornamento(error, frase));
    return false;
}

} // namespace kx::AggiornamentoAnagrafiche

namespace {

const QString FinoMessaggio = u"Impossibile continuare l'operazione di aggiornamento."_s;

/** How a column of an existing row is written. */
enum class Scrittura
{
    /** A column of the key: found by it, so written only where it may differ (see ScrittoreRighe). */
    Chiave,
    Sempre,
    /** Only when the file holds a value for it: an empty field leaves the stored one. */
    SeNelFile,
    /** Only when the row holds none (Null or the empty text). */
    SeVuotaNellaRiga,
};

/** How a loader writes the rows of its layout: the key, the rules for an existing row, a new row's extras. */
struct RegoleAggiornamento
{
    const Tracciato &tracciato;
    QString tabella;
    QStringList chiave;
    /** Columns not named here are always written. */
    QHash<QString, Scrittura> regole;
    QList<std::pair<QString, QVariant>> nuovaRiga;
};

/**
 * Writes one record: one UPDATE by key with every rule in it, and an INSERT when no row has the key.
 * Every value is converted before the first statement, so a failing field changes nothing.
 *
 * A key column is written back only where it can differ from what the row holds: a number found by
 * equality is the same number, while a group letter found without regard to case takes the file's
 * case with a statement of its own, run only where the table's spelling, read once before the first
 * line, differs from the file's. Rewriting the whole key would rewrite the key's index entry of every
 * row. Each statement is prepared once for every line.
 */
class ScrittoreRighe
{
public:
    explicit ScrittoreRighe(RegoleAggiornamento regole) : m_regole(std::move(regole))
    {
        const QString tabella = quotedIdentifier(m_regole.tabella);
        QStringList condizioni;
        for (const QString &chiave : std::as_const(m_regole.chiave)) {
            condizioni.append(quotedIdentifier(chiave) + u" = ?"_s);
            m_chiave.append(campoDi(m_regole.tracciato, chiave));
        }
        const QString doveChiave = u" WHERE "_s + condizioni.join(u" AND "_s);

        QStringList assegnazioni;
        QStringList colonne;
        for (const CampoTracciato &campo : m_regole.tracciato.campi) {
            const QString colonna = quotedIdentifier(campo.colonna);
            colonne.append(colonna);
            const bool inChiave = m_regole.chiave.contains(campo.colonna);
            m_scritture.append(inChiave ? Scrittura::Chiave : scrittura(campo));
            switch (m_scritture.back()) {
            case Scrittura::Chiave:
                if (campo.conversione == Conversione::Testo) {
                    m_maiuscole.append({m_chiave.indexOf(&campo),
                                        u"UPDATE "_s + tabella + u" SET "_s + colonna + u" = ?"_s +
                                            doveChiave + u" AND "_s + colonna + u" <> ? COLLATE BINARY"_s});
                }
                break;
            case Scrittura::Sempre:
                assegnazioni.append(colonna + u" = ?"_s);
                break;
            case Scrittura::SeNelFile:
                assegnazioni.append(colonna + u" = COALESCE(?, "_s + colonna + u')');
                break;
            case Scrittura::SeVuotaNellaRiga:
                assegnazioni.append(colonna + u" = CASE WHEN IFNULL("_s + colonna +
                                    u", '') = '' THEN ? ELSE "_s + colonna + u" END"_s);
                break;
            }
        }
        for (const auto &costante : std::as_const(m_regole.nuovaRiga))
            colonne.append(quotedIdentifier(costante.first));
        m_update = assegnazioni.isEmpty()
                       ? QString()
                       : u"UPDATE "_s + tabella + u" SET "_s + assegnazioni.join(u", "_s) + doveChiave;
        m_esiste = u"SELECT COUNT(*) FROM "_s + tabella + doveChiave;
        m_insert = u"INSERT INTO "_s + tabella + u" ("_s + colonne.join(u", "_s) + u") VALUES ("_s +
                   QStringList(colonne.size(), u"?"_s).join(u", "_s) + u')';
    }

    void scrivi(Connection &corsiDB, const CampiRecord &Campi) const
    {
        if (m_corsiDB != &corsiDB)
            prepara(corsiDB);
        const QList<CampoTracciato> &campi = m_regole.tracciato.campi;
        // The key first: a key that is not a number stops the line before anything else.
        QVariantList chiave;
        chiave.reserve(m_chiave.size());
        for (const CampoTracciato *campo : m_chiave)
            chiave.append(valoreCampo(*campo, Campi));
        // A column the file gives no value stands as Null, which the UPDATE reads as "keep".
        QVariantList valori;
        QVariantList nuovi;
        valori.reserve(campi.size() + chiave.size());
        nuovi.reserve(campi.size() + m_regole.nuovaRiga.size());
        for (qsizetype i = 0; i < campi.size(); ++i) {
            const CampoTracciato &campo = campi[i];
            switch (m_scritture[i]) {
            case Scrittura::Chiave:
                nuovi.append(chiave.at(m_chiave.indexOf(&campo)));
                break;
            case Scrittura::SeNelFile:
                if (campo.conversione == Conversione::Numero &&
                    trimBlanks(Campi.at(std::size_t(campo.campo))).isEmpty()) {
                    // A new row still needs it converted, and fails on it.
                    valori.append(QVariant());
                    nuovi.append(QVariant());
                } else {
                    const QVariant valore = valoreCampo(campo, Campi);
                    valori.append(valore.toString().isEmpty() ? QVariant() : valore);
                    nuovi.append(valore);
                }
                break;
            default:
                valori.append(valoreCampo(campo, Campi));
                nuovi.append(valori.back());
                break;
            }
        }
        valori.append(chiave);
        const bool esiste = m_update.isEmpty() ? corsiDB.scalar(m_esiste, chiave).toLongLong() > 0
                                               : m_updatePronto->execute(valori) > 0;
        const QString confronto = chiaveConfronto(chiave);
        if (esiste) {
            const QVariantList grafia = m_grafie.value(confronto);
            for (qsizetype i = 0; i < m_maiuscole.size(); ++i) {
                const qsizetype posizione = m_maiuscole[i].first;
                if (grafia.isEmpty() || grafia.at(posizione).toString() != chiave.at(posizione).toString()) {
                    m_maiuscolePronte[std::size_t(i)]->execute(QVariantList{chiave.at(posizione)} + chiave +
                                                               QVariantList{chiave.at(posizione)});
                }
            }
            if (!m_maiuscole.isEmpty())
                m_grafie.insert(confronto, chiave);
            return;
        }
        for (qsizetype i = 0; i < campi.size(); ++i) {
            if (!nuovi[i].isValid())
                nuovi[i] = valoreCampo(campi[i], Campi);
        }
        for (const auto &costante : std::as_const(m_regole.nuovaRiga))
            nuovi.append(costante.second);
        m_insertPronto->execute(nuovi);
        if (!m_maiuscole.isEmpty())
            m_grafie.insert(confronto, chiave);
    }

private:
    /**
     * The statements, prepared for this connection, and the spelling of the key of every row the
     * table holds when there is a text in the key.
     */
    void prepara(Connection &corsiDB) const
    {
        m_corsiDB = &corsiDB;
        m_updatePronto =
            m_update.isEmpty() ? nullptr : std::make_unique<PreparedStatement>(corsiDB, m_update);
        m_insertPronto = std::make_unique<PreparedStatement>(corsiDB, m_insert);
        m_maiuscolePronte.clear();
        for (const auto &maiuscola : m_maiuscole)
            m_maiuscolePronte.push_back(std::make_unique<PreparedStatement>(corsiDB, maiuscola.second));
        m_grafie.clear();
        if (m_maiuscole.isEmpty())
            return;
        QStringList colonne;
        for (const QString &colonna : std::as_const(m_regole.chiave))
            colonne.append(quotedIdentifier(colonna));
        const QueryResult chiavi = corsiDB.query(u"SELECT "_s + colonne.join(u", "_s) + u" FROM "_s +
                                                 quotedIdentifier(m_regole.tabella));
        for (const QVariantList &chiave : chiavi.rows)
            m_grafie.insert(chiaveConfronto(chiave), chiave);
    }

    /**
     * A key as the engine compares it, ASCII letters without case; two keys the engine may take for
     * one share it (a spelling found under it is then checked against the file's as it stands).
     */
    static QString chiaveConfronto(const QVariantList &chiave)
    {
        QString testo;
        for (const QVariant &valore : chiave) {
            QString parte = valore.toString();
            for (QChar &c : parte) {
                if (c.unicode() < 0x80)
                    c = c.toLower();
            }
            testo += parte;
            testo += u'\x1f';
        }
        return testo;
    }

    Scrittura scrittura(const CampoTracciato &campo) const
    {
        return m_regole.regole.value(campo.colonna, Scrittura::Sempre);
    }

    RegoleAggiornamento m_regole;
    /** The rule of each column of the layout, in its order. */
    QList<Scrittura> m_scritture;
    QList<const CampoTracciato *> m_chiave;
    /** For each text column of the key: its place in the key and the statement that sets its case. */
    QList<std::pair<qsizetype, QString>> m_maiuscole;
    QString m_update;
    QString m_esiste;
    QString m_insert;
    mutable Connection *m_corsiDB = nullptr;
    mutable std::unique_ptr<PreparedStatement> m_updatePronto;
    mutable std::unique_ptr<PreparedStatement> m_insertPronto;
    mutable std::vector<std::unique_ptr<PreparedStatement>> m_maiuscolePronte;
    mutable QHash<QString, QVariantList> m_grafie;
};

/** A loader's name, its error phrase and the box of its empty file (none when an empty file is fine). */
struct Caricatore
{
    QString nome;
    QString frase;
    QString fileVuoto;
    /** The layout every record of the file must fill. */
    const Tracciato &tracciato;
};

/**
 * Reads every line of the file, trims and splits it, and hands it to the step. An empty file shows
 * the loader's box when it has one; any error shows its error box. True when every line was done.
 */
template<typename Passo>
bool caricaRighe(Context &context, const Caricatore &caricatore, const QString &file, Passo &&passo)
{
    qsizetype letti = 0;
    try {
        const QStringList righe = TextFile::readLines(context.programFolder().resolve(file));
        CampiRecord Campi;
        for (const QString &riga : righe) {
            verificaRecord(caricatore.tracciato, Campi, ScomponiRecord(Campi, trimBlanks(riga)));
            passo(Campi);
            ++letti;
        }
    } catch (const std::exception &caught) {
        return erroreAggiornamento(context, caricatore.nome, comeErroreRoutine(caught), caricatore.frase);
    }
    if (letti == 0 && !caricatore.fileVuoto.isEmpty()) {
        context.prompt.critical(TitoloAggiornamento, caricatore.fileVuoto);
        return false;
    }
    return true;
}

const QString VuotoOper =
    u"ATTENZIONE: il file Oper.TX1 contenente le anagrafiche degli Operatori da aggiornare "
    u"risulta vuoto. Impossibile continuare l'operazione di aggiornamento."_s;
const QString VuotoCompo =
    u"ATTENZIONE: il file Compo.TX1 contenente le anagrafiche dei Componenti da "
    u"aggiornare risulta vuoto. Impossibile continuare l'operazione di aggiornamento."_s;

const QString IncongruenzaUso =
    u"ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali da parte degli operatori è vuoto, "
    u"mentre non lo è il file con i dati anagrafici delle sedi stesse. Vi è quindi una incongruenza nei dati."
    u"\n\r"_s +
    FinoMessaggio;
const QString IncongruenzaSedi =
    u"ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è vuoto, mentre non lo è quello con i "
    u"dati di utilizzo delle sedi stesse. Vi è quindi una incongruenza nei dati.\n\r"_s +
    FinoMessaggio;

bool esiste(const Context &context, const QString &file)
{
    return QFileInfo(context.programFolder().resolve(file)).isFile();
}

} // namespace

bool AggCorsiOper(Context &context, const QString &file, const QString &tabella, const QString & /*fileLog*/)
{
    const ScrittoreRighe scrittore({TracciatoOper(),
                                    tabella,
                                    {u"GrupOpe"_s, u"Operatore"_s},
                                    {
                                        {u"LegNome"_s, Scrittura::SeNelFile},
                                        {u"LegComNasc"_s, Scrittura::SeNelFile},
                                        {u"LegProvNasc"_s, Scrittura::SeNelFile},
                                        {u"LegGGNasc"_s, Scrittura::SeNelFile},
                                        {u"LegMMNasc"_s, Scrittura::SeNelFile},
                                        {u"LegAAAANasc"_s, Scrittura::SeNelFile},
                                        {u"ProvCCIAA"_s, Scrittura::SeNelFile},
                                        {u"CodCCIAA"_s, Scrittura::SeNelFile},
                                        {u"AnnoCCIAA"_s, Scrittura::SeNelFile},
                                        {u"AttEcono"_s, Scrittura::SeNelFile},
                                    },
                                    {}});
    Connection &corsiDB = context.DE().CorsiDB();
    return caricaRighe(context, {u"AggCorsiOper"_s, FraseOper, VuotoOper, TracciatoOper()}, file,
                       [&](const CampiRecord &Campi) { scrittore.scrivi(corsiDB, Campi); });
}

bool AggCorsiCompo(Context &context, const QString &file, const QString &tabella, const QString & /*fileLog*/)
{
    const ScrittoreRighe scrittore({TracciatoCompo(),
                                    tabella,
                                    {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s},
                                    {
                                        {u"Cap"_s, Scrittura::SeNelFile},
                                        {u"Tel"_s, Scrittura::SeNelFile},
                                        {u"Fax"_s, Scrittura::SeNelFile},
                                        {u"StatoEstero"_s, Scrittura::SeNelFile},
                                        {u"CittaEstero"_s, Scrittura::SeNelFile},
                                    },
                                    {{u"Email"_s, u""_s}, {u"Riferimento"_s, u""_s}}});
    Connection &corsiDB = context.DE().CorsiDB();
    return caricaRighe(context, {u"AggCorsiCompo"_s, FraseCompo, VuotoCompo, TracciatoCompo()}, file,
                       [&](const CampiRecord &Campi) { scrittore.scrivi(corsiDB, Campi); });
}

bool AggCorsiOperCorrisp(Context &context, const QString &file, const QString &tabella,
                         const QString & /*fileLog*/)
{
    const CampoTracciato &gruppo = *campoDi(TracciatoOper(), u"GrupOpe"_s);
    const CampoTracciato &operatore = *campoDi(TracciatoOper(), u"Operatore"_s);
    const QString chiave = u" WHERE GrupOpe = ? AND Operatore = ?"_s;
    const QString lettura = u"SELECT Corrispondenza FROM "_s + quotedIdentifier(tabella) + chiave;
    const QString scrittura =
        u"UPDATE "_s + quotedIdentifier(tabella) + u" SET Corrispondenza = ?"_s + chiave;
    Connection &corsiDB = context.DE().CorsiDB();
    return caricaRighe(context, {u"AggCorsiOperCorrisp"_s, FraseOper, VuotoOper, TracciatoOper()}, file,
                       [&](const CampiRecord &Campi) {
                           const QString grupOpe = valoreCampo(gruppo, Campi).toString();
                           const qint32 numero = valoreCampo(operatore, Campi).toInt();
                           const QList<QVariantList> riga = corsiDB.rows(lettura, {grupOpe, numero});
                           if (riga.isEmpty())
                               throw RoutineError(ErrorCode::NoCurrentRecord);
                           const QString corrispondenza = NonNull(riga.front().value(0));
                           if (!corrispondenza.isEmpty() && corrispondenza != u"0")
                               return;
                           const QString sede =
                               RecuperaSedeLegale(context, grupOpe, numero, u"aggiornamento"_s);
                           corsiDB.execute(scrittura, {sede.toInt(), grupOpe, numero});
                       });
}

bool AggCorsiSediOcc(Context &context, const QString &file, const QString &tabella,
                     const QString & /*fileLog*/)
{
    const Caricatore caricatore{u"AggCorsiSediOcc"_s, FraseSediOcc, QString(), TracciatoSediOcc()};
    if (!esiste(context, file))
        return true;
    bool sediConRighe = false;
    bool usoConRighe = false;
    try {
        sediConRighe = FileConRighe(context.programFolder(), file);
        usoConRighe = FileConRighe(context.programFolder(), u"SEDIUTIL.TX1"_s);
    } catch (const std::exception &caught) {
        return erroreAggiornamento(context, caricatore.nome, comeErroreRoutine(caught), caricatore.frase);
    }
    if (sediConRighe && !usoConRighe) {
        context.prompt.critical(TitoloAggiornamento, IncongruenzaUso);
        return false;
    }
    if (!sediConRighe && usoConRighe) {
        context.prompt.critical(TitoloAggiornamento, IncongruenzaSedi);
        return false;
    }
    if (!sediConRighe)
        return true;
    const ScrittoreRighe scrittore({TracciatoSediOcc(),
                                    tabella,
                                    {u"SedeOcc"_s},
                                    {
                                        {u"Indirizzo"_s, Scrittura::SeNelFile},
                                        {u"CodComune"_s, Scrittura::SeNelFile},
                                        {u"Cap"_s, Scrittura::SeNelFile},
                                        {u"Tel"_s, Scrittura::SeVuotaNellaRiga},
                                        {u"Fax"_s, Scrittura::SeVuotaNellaRiga},
                                    },
                                    {{u"TipoCompo"_s, u"UO"_s}}});
    Connection &corsiDB = context.DE().CorsiDB();
    return caricaRighe(context, caricatore, file,
                       [&](const CampiRecord &Campi) { scrittore.scrivi(corsiDB, Campi); });
}

bool AggCorsiSediOccUtil(Context &context, const QString &file, const QString &tabella,
                         const QString & /*fileLog*/)
{
    if (!esiste(context, file))
        return true;
    const ScrittoreRighe scrittore({TracciatoSediOccUtil(),
                                    tabella,
                                    {u"GrupOpe"_s, u"Operatore"_s, u"Componente"_s, u"SedeOcc"_s},
                                    {},
                                    {{u"Email"_s, u""_s}, {u"Riferimento"_s, u""_s}}});
    Connection &corsiDB = context.DE().CorsiDB();
    return caricaRighe(context,
                       {u"AggCorsiSediOccUtil"_s, FraseSediOccUtil, QString(), TracciatoSediOccUtil()}, file,
                       [&](const CampiRecord &Campi) { scrittore.scrivi(corsiDB, Campi); });
}
