#include "refdata/CaricaTabella.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/data/NumericText.h"
#include "core/files/ProgramFolder.h"
#include "core/files/TextRecords.h"
#include "core/services/ErrorBoxes.h"
#include "core/state/Context.h"
#include "core/state/StartupHooks.h"
#include "core/text/TextFile.h"
#include "core/text/TextRoutines.h"

#include <QFileInfo>
#include <optional>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

const QString Titolo = u"Installazione/Aggiornamento tabelle di decodifica"_s;
/** The "Resume" retries of one failed step before the failure takes the normal way. */
constexpr int RipreseDebug = 3;
/** A field is cut to this many characters before it is stripped and written. */
constexpr qsizetype LunghezzaCampo = 500;

enum class TipoColonna
{
    Testo,
    Intero,
    Reale
};

/** How SQLite reads a declared type; a type that is neither number kind takes the text as it is. */
TipoColonna tipoDichiarato(const QString &dichiarato)
{
    const QString tipo = dichiarato.toUpper();
    if (tipo.contains(u"INT"_s))
        return TipoColonna::Intero;
    if (tipo.contains(u"CHAR"_s) || tipo.contains(u"CLOB"_s) || tipo.contains(u"TEXT"_s))
        return TipoColonna::Testo;
    if (tipo.contains(u"REAL"_s) || tipo.contains(u"FLOA"_s) || tipo.contains(u"DOUB"_s) ||
        tipo.contains(u"NUM"_s) || tipo.contains(u"DEC"_s))
        return TipoColonna::Reale;
    return TipoColonna::Testo;
}

/** The value a field writes into a column. */
QVariant valoreCampo(const QString &campo, TipoColonna tipo)
{
    if (campo.compare(u"NULL"_s, Qt::CaseInsensitive) == 0)
        return QVariant();
    const QString testo = trimBlanks(campo.left(LunghezzaCampo));
    switch (tipo) {
    case TipoColonna::Intero:
        return numericValueFromText(testo, NumericColumn::Integer);
    case TipoColonna::Reale:
        return numericValueFromText(testo, NumericColumn::Real);
    case TipoColonna::Testo:
        break;
    }
    return testo;
}

QString testoErrore(const RoutineError &error, const QString &tabella, qint64 record)
{
    return testoErroreCaricamento(error) + u"\r\n"_s + u"durante l'aggiornamento della tabella "_s + tabella +
           u", record "_s + QString::number(record) + u"."_s + u"\n\r"_s + u"Impossibile continuare."_s;
}

class Caricatore
{
public:
    Caricatore(Context &context, ProgressoCaricamento &progresso, SeCaricamentoFallisce seFallisce,
               const QString &path, const QString &tabella, int colonne, const QList<ChiaveTabella> &chiavi,
               bool &installa)
        : m_context(context), m_connection(context.DE().CorsiDB()), m_progresso(progresso),
          m_seFallisce(seFallisce), m_path(context.programFolder().resolve(path)), m_tabella(tabella),
          m_colonne(colonne), m_chiavi(chiavi), m_installa(installa)
    {
    }

    void esegui()
    {
        if (!QFileInfo(m_path).isFile())
            return;
        if (passo([this] { return FileVuoto(m_context.programFolder(), m_path); })) {
            chiediSeContinuare();
            return;
        }
        passo([this] { leggiColonne(); });
        // The files may come from any system: LF alone ends a line as well.
        const QStringList righe =
            passo([this] { return TextFile::readLines(m_path, TextFile::LineEnds::Any); });
        if (!righe.isEmpty()) {
            if (righe.first() == u"INSTALLAZIONE")
                m_installa = true;
            else if (righe.first() == u"AGGIORNAMENTO")
                m_installa = false;
        }
        // A table without a key cannot be matched record by record: a file that holds rows replaces
        // it whole, one with its header line alone changes nothing in update mode.
        const bool sostituisci = m_installa || (m_chiavi.isEmpty() && righe.size() > 1);
        passo([this] { m_transazione.emplace(m_connection); });
        if (sostituisci)
            passo([this] { m_connection.execute(u"DELETE FROM "_s + quotedIdentifier(m_tabella)); });
        m_progresso.inizio(m_path, m_tabella);
        for (qsizetype i = 1; i < righe.size(); ++i) {
            passo([&] { scriviRecord(righe.at(i), sostituisci); });
            ++m_caricati;
            m_progresso.record(m_tabella, m_caricati);
        }
        passo([this] { m_transazione->commit(); });
        m_transazione.reset();
    }

private:
    void chiediSeContinuare()
    {
        const auto risposta = m_context.prompt.ask(
            Prompt::Icon::None, Prompt::Buttons::YesNo, Titolo,
            u"ATTENZIONE: il file "_s + m_path +
                u" è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle (scegliendo No il "
                u"programma uscirà a Windows) ?"_s);
        if (risposta == Prompt::Answer::Yes)
            return;
        if (m_connection.isOpen())
            m_connection.close();
        m_context.programExit.exit();
    }

    /** The columns written, with the statements that write them. */
    void leggiColonne()
    {
        // A table that does not exist fails here with the engine's own error.
        const QList<ColumnInfo> colonne =
            m_connection.query(u"SELECT * FROM "_s + quotedIdentifier(m_tabella) + u" LIMIT 0"_s).columns;
        if (m_colonne > colonne.size() || m_chiavi.size() > m_colonne)
            throw RoutineError(ErrorCode::ItemNotFound);
        m_scritte.clear();
        m_tipi.clear();
        QStringList nomi;
        QStringList segnaposto;
        QStringList assegnazioni;
        for (int i = 0; i < m_colonne; ++i) {
            const QString &nome = colonne.at(i).name;
            m_tipi.append(tipoDichiarato(colonne.at(i).declaredType));
            if (nome.compare(u"LOGO"_s, Qt::CaseInsensitive) == 0)
                continue;
            m_scritte.append(i);
            nomi.append(quotedIdentifier(nome));
            segnaposto.append(u"?"_s);
            assegnazioni.append(quotedIdentifier(nome) + u" = ?"_s);
        }
        const QString tabella = quotedIdentifier(m_tabella);
        m_insert = u"INSERT INTO "_s + tabella + u" ("_s + nomi.join(u", "_s) + u") VALUES ("_s +
                   segnaposto.join(u", "_s) + u")"_s;
        m_update = u"UPDATE "_s + tabella + u" SET "_s + assegnazioni.join(u", "_s) + u" WHERE rowid = ?"_s;
        QStringList condizioni;
        for (const ChiaveTabella &chiave : m_chiavi)
            condizioni.append(quotedIdentifier(chiave.colonna) + u" = ?"_s);
        m_trova = u"SELECT rowid FROM "_s + tabella + u" WHERE "_s + condizioni.join(u" AND "_s) +
                  u" ORDER BY rowid LIMIT 1"_s;
    }

    void scriviRecord(const QString &riga, bool sostituisci)
    {
        ScomponiRecord(m_campi, trimBlanks(riga));
        QVariantList valori;
        valori.reserve(m_scritte.size() + 1);
        for (const int campo : std::as_const(m_scritte))
            valori.append(valoreCampo(m_campi.at(campo), m_tipi.at(campo)));
        if (sostituisci) {
            m_connection.execute(m_insert, valori);
            return;
        }
        // Key j is column j; the key is matched as it is written, cut and stripped.
        QVariantList chiave;
        for (qsizetype j = 0; j < m_chiavi.size(); ++j)
            chiave.append(valoreCampo(m_campi.at(j), m_tipi.at(j)));
        const QVariant rowid = m_connection.scalar(m_trova, chiave);
        if (!rowid.isValid() || rowid.isNull()) {
            m_connection.execute(m_insert, valori);
            return;
        }
        valori.append(rowid);
        m_connection.execute(m_update, valori);
    }

    /** Runs a step of the load; a failure has the error box, then the retry of debug mode or the end. */
    template<typename Step> auto passo(Step &&step) -> decltype(step())
    {
        for (int ripresa = 0;; ++ripresa) {
            try {
                return step();
            } catch (const std::exception &error) {
                fallito(comeErroreRoutine(error), ripresa);
            }
        }
    }

    void fallito(const RoutineError &error, int ripresa)
    {
        const bool riprendi = m_seFallisce == SeCaricamentoFallisce::RiprovaInDebug &&
                              m_context.modalitaDebug() && ripresa < RipreseDebug;
        if (!riprendi && m_transazione) {
            try {
                m_transazione->rollback();
            } catch (const RoutineError &) {
                // Closing the connection on the way out rolls back what is left.
            }
            m_transazione.reset();
        }
        m_context.prompt.ask(Prompt::Icon::Critical, Prompt::Buttons::Ok, Titolo,
                             testoErrore(error, m_tabella, m_caricati + 1));
        if (!riprendi)
            m_context.programExit.exit();
        m_context.prompt.ask(Prompt::Icon::None, Prompt::Buttons::Ok, QString(), u"Resume"_s);
    }

    Context &m_context;
    Connection &m_connection;
    ProgressoCaricamento &m_progresso;
    SeCaricamentoFallisce m_seFallisce;
    QString m_path;
    QString m_tabella;
    int m_colonne;
    QList<ChiaveTabella> m_chiavi;
    bool &m_installa;

    /** The kind of each of the first columns, and the positions of those written (all but LOGO). */
    QList<TipoColonna> m_tipi;
    QList<int> m_scritte;
    QString m_insert;
    QString m_update;
    QString m_trova;
    CampiRecord m_campi;
    std::optional<Transaction> m_transazione;
    qint64 m_caricati = 0;
};

} // namespace

void ProgressoAvvioTabella::inizio(const QString &path, const QString &tabella)
{
    m_avvio.file(path);
    m_avvio.tabella(tabella);
    m_avvio.record(u"0"_s);
}

void ProgressoAvvioTabella::record(const QString &, qint64 caricati)
{
    m_avvio.record(QString::number(caricati));
}

void ProgressoRigaTabella::inizio(const QString &, const QString &tabella)
{
    record(tabella, 0);
}

void ProgressoRigaTabella::record(const QString &tabella, qint64 caricati)
{
    m_riga(u"Caricamento: "_s + tabella + u" - "_s + QString::number(caricati));
}

void CaricaTabellaDecodifica(Context &context, ProgressoCaricamento &progresso,
                             SeCaricamentoFallisce seFallisce, const QString &path, const QString &tabella,
                             int colonne, const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle)
{
    Caricatore(context, progresso, seFallisce, path, tabella, colonne, chiavi, InstallazioneTabelle).esegui();
}

void InstTabDecodifica(Context &context, ProgressoAvvio &Avvio, const QString &path, const QString &tabella,
                       int colonne, const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle)
{
    ProgressoAvvioTabella progresso(Avvio);
    CaricaTabellaDecodifica(context, progresso, SeCaricamentoFallisce::RiprovaInDebug, path, tabella, colonne,
                            chiavi, InstallazioneTabelle);
}

void AggTabDecodifica(Context &context, const std::function<void(const QString &)> &LblCont,
                      const QString &path, const QString &tabella, int colonne,
                      const QList<ChiaveTabella> &chiavi, bool &InstallazioneTabelle)
{
    ProgressoRigaTabella progresso(LblCont);
    CaricaTabellaDecodifica(context, progresso, SeCaricamentoFallisce::Termina, path, tabella, colonne,
                            chiavi, InstallazioneTabelle);
}

} // namespace kx
