#include "core/data/Schema.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"

#include <QFile>
#include <QHash>

using namespace Qt::StringLiterals;

namespace kx {

QString databaseSchema()
{
    QFile file(u":/data/schema.sql"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void createEmptyDatabase(const QString &path)
{
    const QString schema = databaseSchema();
    if (schema.isEmpty())
        throw RoutineError(ErrorCode::FileNotFound, u"Lo schema della base dati non è disponibile."_s);
    Connection::createDatabase(path, schema);
}

bool updateIndexesAndViews(Connection &connection)
{
    const QString schema = databaseSchema();
    if (schema.isEmpty())
        return false;
    try {
        QHash<QString, QString> stored;
        for (const QVariantList &object :
             connection.query(u"SELECT lower(name), sql FROM sqlite_master WHERE type IN ('index', 'view')"_s)
                 .rows)
            stored.insert(object.value(0).toString(), object.value(1).toString());
        QStringList changes;
        for (const QStringList &object : Connection::schemaObjects(schema)) {
            const QString &type = object.at(0);
            const QString &name = object.at(1);
            const QString &sql = object.at(2);
            if (type == u"index"_s && !sql.isEmpty() && !stored.contains(name.toLower())) {
                changes.append(sql);
            } else if (type == u"view"_s && stored.value(name.toLower()) != sql) {
                changes.append(u"DROP VIEW IF EXISTS "_s + quotedIdentifier(name));
                changes.append(sql);
            }
        }
        if (changes.isEmpty())
            return true;
        Transaction transaction(connection);
        for (const QString &change : std::as_const(changes))
            connection.execute(change);
        transaction.commit();
        return true;
    } catch (const RoutineError &) {
        return false;
    }
}

} // namespace kx
