#include "core/data/Schema.h"

#include "core/data/Connection.h"
#include "core/services/RoutineError.h"

#include <QFile>

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

} // namespace kx
