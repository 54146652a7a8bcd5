#include "courses/CourseStore.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** INSERT of the 26 columns and Guid. */
QString istruzioneInserimento()
{
    const QStringList &colonne = courseColumns();
    return u"INSERT INTO CorsiProp ("_s + colonne.join(u", "_s) + u", Guid) VALUES ("_s +
           QStringList(colonne.size() + 1, u"?"_s).join(u", "_s) + u')';
}

/**
 * The course the editor read: its key, and its Guid unless another course took the key meanwhile. A
 * stored Null Guid matches as the key alone did; a Null Guid read matches only a stored Null.
 */
const QString CondizioneCorsoLetto =
    u" WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ? AND (Guid IS NULL OR Guid = ?)"_s;

QString istruzioneAggiornamento()
{
    QStringList assegnazioni;
    for (const QString &colonna : courseColumns())
        assegnazioni.append(colonna + u" = ?"_s);
    return u"UPDATE CorsiProp SET "_s + assegnazioni.join(u", "_s) + CondizioneCorsoLetto;
}

/** The key and the Guid of the course as read, the values of CondizioneCorsoLetto. */
QVariantList corsoLetto(const CourseRow &letta)
{
    return {letta.value(u"NumDoma"_s), letta.value(u"SedeInteressata"_s), letta.corso(),
            letta.value(u"Guid"_s)};
}

/** The 26 columns as read through QryCorsi, which names the course's own name "CorsiProp.DenCorso". */
QVariantList colonneLette(const CourseRow &letta)
{
    QVariantList valori;
    for (const QString &colonna : courseColumns())
        valori.append(letta.value(colonna == u"DenCorso"_s ? u"CorsiProp.DenCorso"_s : colonna));
    return valori;
}

QList<CourseRow> righe(const QueryResult &risultato)
{
    auto colonne = std::make_shared<QHash<QString, int>>();
    for (int i = 0; i < risultato.columns.size(); ++i)
        colonne->insert(risultato.columns[i].name.toLower(), i);
    QList<CourseRow> corsi;
    corsi.reserve(risultato.rows.size());
    for (const QVariantList &riga : risultato.rows)
        corsi.append(CourseRow(colonne, riga));
    return corsi;
}

QVariantList chiave(const CourseKey &key)
{
    return {key.numDoma, key.sede, key.corso};
}

} // namespace

CourseStore::CourseStore(Connection &db) : m_db(db) {}

QList<CourseRow> CourseStore::seatCourses(qint32 numDoma, qint32 sede)
{
    return righe(
        m_db.query(u"SELECT * FROM QryCorsi WHERE NumDoma = ? AND SedeInteressata = ? ORDER BY Corso"_s,
                   {numDoma, sede}));
}

QStringList CourseStore::seatCodes(qint32 numDoma, qint32 sede)
{
    QStringList codici;
    const QueryResult risultato =
        m_db.query(u"SELECT Corso FROM CorsiProp WHERE NumDoma = ? AND SedeInteressata = ? ORDER BY Corso"_s,
                   {numDoma, sede});
    codici.reserve(risultato.rows.size());
    for (const QVariantList &riga : risultato.rows)
        codici.append(riga.value(0).toString());
    return codici;
}

std::optional<CourseRow> CourseStore::find(const CourseKey &key)
{
    const QList<CourseRow> trovati = righe(m_db.query(
        u"SELECT * FROM QryCorsi WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ?"_s, chiave(key)));
    if (trovati.isEmpty())
        return std::nullopt;
    return trovati.front();
}

int CourseStore::count(qint32 numDoma, qint32 sede)
{
    return m_db
        .scalar(u"SELECT COUNT(*) FROM CorsiProp WHERE NumDoma = ? AND SedeInteressata = ?"_s,
                {numDoma, sede})
        .toInt();
}

bool CourseStore::seatExists(qint32 numDoma, qint32 sede)
{
    return m_db.scalar(u"SELECT COUNT(*) FROM Domande D JOIN CorsiSediInteressate S ON S.NumDoma = D.NumDoma "
                       u"WHERE D.NumDoma = ? AND S.SedeInteressata = ?"_s,
                       {numDoma, sede})
               .toInt() > 0;
}

std::optional<CourseKey> CourseStore::findGuid(qint32 numDoma, const QString &guid)
{
    const QueryResult trovato =
        m_db.query(u"SELECT SedeInteressata, Corso FROM CorsiProp WHERE NumDoma = ? AND Guid = ? "
                   u"ORDER BY SedeInteressata, Corso LIMIT 1"_s,
                   {numDoma, guid});
    if (trovato.rows.isEmpty())
        return std::nullopt;
    const QVariantList &riga = trovato.rows.front();
    return CourseKey{numDoma, riga.value(0).toInt(), riga.value(1).toString()};
}

std::optional<QString> CourseStore::nextCode(qint32 numDoma, qint32 sede)
{
    // The highest code only: codes are digits, so the one with the greatest number.
    const QVariant ultimo =
        m_db.scalar(u"SELECT Corso FROM CorsiProp WHERE NumDoma = ? AND SedeInteressata = ? "
                    u"ORDER BY CAST(Corso AS INTEGER) DESC LIMIT 1"_s,
                    {numDoma, sede});
    return nextCourseCode(ultimo.isNull() ? QStringList() : QStringList{ultimo.toString()});
}

InsertedCourse CourseStore::insert(const CourseRecord &record)
{
    const QVariant numDoma = record.value(u"NumDoma"_s);
    const QVariant sede = record.value(u"SedeInteressata"_s);
    Transaction transazione(m_db);
    const std::optional<QString> codice = nextCode(numDoma.toInt(), sede.toInt());
    if (!codice)
        return {true, {}, {}};

    InsertedCourse inserito{false, *codice, newCourseGuid()};
    QVariantList valori = record.values;
    valori[courseColumns().indexOf(u"Corso"_s)] = inserito.corso;
    valori.append(inserito.guid);
    m_db.execute(istruzioneInserimento(), valori);
    transazione.commit();
    return inserito;
}

void CourseStore::update(const CourseRow &letta, const CourseRecord &record, Scrittura scrittura)
{
    const QVariantList corso = corsoLetto(letta);
    Transaction transazione(m_db);
    const QueryResult memorizzata = m_db.query(
        u"SELECT "_s + courseColumns().join(u", "_s) + u" FROM CorsiProp"_s + CondizioneCorsoLetto, corso);
    if (memorizzata.rows.isEmpty())
        throw RoutineError(ErrorCode::RowDeletedMeanwhile);
    verificaRiga(scrittura, memorizzata.rows.front(), colonneLette(letta));
    m_db.execute(istruzioneAggiornamento(), record.values + corso);
    transazione.commit();
}

void CourseStore::remove(const CourseRow &letta)
{
    if (m_db.execute(u"DELETE FROM CorsiProp"_s + CondizioneCorsoLetto, corsoLetto(letta)) == 0)
        throw RoutineError(ErrorCode::NoCurrentRecord);
}

void CourseStore::reinsert(const CourseRecord &record, const QString &guid)
{
    m_db.execute(istruzioneInserimento(),
                 record.values + QVariantList{guid.isEmpty() ? QVariant() : QVariant(guid)});
}
