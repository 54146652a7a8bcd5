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

QString istruzioneAggiornamento()
{
    QStringList assegnazioni;
    for (const QString &colonna : courseColumns())
        assegnazioni.append(colonna + u" = ?"_s);
    return u"UPDATE CorsiProp SET "_s + assegnazioni.join(u", "_s) +
           u" WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ?"_s;
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

void CourseStore::update(const CourseKey &key, const CourseRecord &record)
{
    if (m_db.execute(istruzioneAggiornamento(), record.values + chiave(key)) == 0)
        throw RoutineError(ErrorCode::RowDeletedMeanwhile);
}

void CourseStore::remove(const CourseKey &key)
{
    if (m_db.execute(u"DELETE FROM CorsiProp WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ?"_s,
                     chiave(key)) == 0)
        throw RoutineError(ErrorCode::NoCurrentRecord);
}

void CourseStore::reinsert(const CourseRecord &record, const QString &guid)
{
    m_db.execute(istruzioneInserimento(),
                 record.values + QVariantList{guid.isEmpty() ? QVariant() : QVariant(guid)});
}
