#include "core/data/RecordsetColumns.h"

#include "core/services/RoutineError.h"
#include "core/text/Values.h"

#include <QLocale>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

ColumnAffinity affinityOf(const QString &declaredType)
{
    const QString type = declaredType.toUpper();
    if (type.contains(u"INT"_s))
        return ColumnAffinity::Integer;
    if (type.contains(u"CHAR"_s) || type.contains(u"CLOB"_s) || type.contains(u"TEXT"_s))
        return ColumnAffinity::Text;
    if (type.contains(u"REAL"_s) || type.contains(u"FLOA"_s) || type.contains(u"DOUB"_s))
        return ColumnAffinity::Real;
    return ColumnAffinity::Other;
}

QString lastSegment(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? name : name.mid(dot + 1);
}

std::optional<double> numberFromText(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok && trimmed.contains(u',') && !trimmed.contains(u'.'))
        number = QLocale::c().toDouble(QString(trimmed).replace(u',', u'.'), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

RoutineError conversionError(const QString &field, const QVariant &value)
{
    return RoutineError(ErrorCode::MultipleStepErrors,
                        RoutineError::standardDescription(ErrorCode::MultipleStepErrors) + u" (campo "_s +
                            field + u", valore '"_s + value.toString() + u"')"_s);
}

} // namespace

QVariant valueForColumn(const RecordsetColumn &column, const QVariant &value)
{
    if (isNullValue(value))
        return QVariant();
    const int type = value.typeId();
    const bool isText = type == QMetaType::QString || type == QMetaType::QByteArray;
    switch (column.affinity) {
    case ColumnAffinity::Text:
        if (type == QMetaType::Bool)
            return value.toBool() ? u"-1"_s : u"0"_s;
        if (type == QMetaType::Double || type == QMetaType::Float)
            return QString::number(value.toDouble(), 'g', 15);
        if (type == QMetaType::QString)
            return value;
        return value.toString();
    case ColumnAffinity::Integer:
    case ColumnAffinity::Real: {
        double number = 0;
        // The plain numbers are told from their type: asking the converters costs more than the write.
        const bool plainNumber = type == QMetaType::Int || type == QMetaType::LongLong ||
                                 type == QMetaType::UInt || type == QMetaType::Double;
        if (isText) {
            const auto read = numberFromText(value.toString());
            if (!read)
                throw conversionError(column.name, value);
            number = *read;
        } else if (type == QMetaType::Bool) {
            return qlonglong(value.toBool() ? 1 : 0);
        } else if (plainNumber || value.canConvert<double>()) {
            if (type != QMetaType::Double && type != QMetaType::Float)
                return column.affinity == ColumnAffinity::Real ? QVariant(value.toDouble())
                                                               : QVariant(value.toLongLong());
            number = value.toDouble();
        } else {
            throw conversionError(column.name, value);
        }
        if (column.affinity == ColumnAffinity::Integer && number == std::floor(number) &&
            std::fabs(number) < 9.0e18)
            return qlonglong(number);
        return number;
    }
    case ColumnAffinity::Other:
        if (value.typeId() == QMetaType::Bool)
            return qlonglong(value.toBool() ? 1 : 0);
        return value;
    }
    return value;
}

QString bareName(QString name)
{
    name = name.trimmed();
    if ((name.startsWith(u'[') && name.endsWith(u']')) || (name.startsWith(u'"') && name.endsWith(u'"')))
        name = name.mid(1, name.size() - 2);
    return name;
}

void RecordsetColumns::reset(const QList<ColumnInfo> &columns, bool withRowid, const PrimaryKey &primaryKey)
{
    m_columns.clear();
    m_columns.reserve(columns.size());
    for (const ColumnInfo &info : columns)
        m_columns.push_back({info, affinityOf(info.declaredType)});
    m_visibleCount = int(m_columns.size());
    m_rowidColumn = -1;
    if (withRowid) {
        m_rowidColumn = m_visibleCount - 1;
        --m_visibleCount;
    }
    m_resolved.clear();
    m_resolvedAsWritten.clear();

    m_keys.clear();
    m_identityColumns.clear();
    for (int i = 0; i < m_visibleCount; ++i) {
        const QString &table = m_columns[i].table;
        if (table.isEmpty() || m_keys.contains(table.toLower()))
            continue;
        const QStringList key = primaryKey(table);
        m_keys.insert(table.toLower(), key);
        std::vector<int> keyColumns;
        for (const QString &origin : key) {
            const int column = columnOf(table, origin);
            if (column < 0) {
                keyColumns.clear();
                break;
            }
            keyColumns.push_back(column);
        }
        m_identityColumns.insert(m_identityColumns.end(), keyColumns.begin(), keyColumns.end());
    }
    if (m_rowidColumn >= 0)
        m_identityColumns.push_back(m_rowidColumn);
    if (m_identityColumns.empty()) {
        for (int i = 0; i < m_visibleCount; ++i)
            m_identityColumns.push_back(i);
    }
}

void RecordsetColumns::clear()
{
    reset({}, false, {});
}

bool RecordsetColumns::hasTable(const QString &table) const
{
    return m_keys.contains(table.toLower());
}

QStringList RecordsetColumns::keyOf(const QString &table) const
{
    return m_keys.value(table.toLower());
}

int RecordsetColumns::resolve(const QString &field) const
{
    const auto written = m_resolvedAsWritten.constFind(field);
    if (written != m_resolvedAsWritten.constEnd())
        return *written;
    const QString name = bareName(field);
    const QString key = name.toLower();
    const auto cached = m_resolved.constFind(key);
    if (cached != m_resolved.constEnd()) {
        m_resolvedAsWritten.insert(field, *cached);
        return *cached;
    }

    int found = -1;
    for (int i = 0; i < m_visibleCount && found < 0; ++i) {
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            found = i;
    }
    const QString column = lastSegment(name);
    if (found < 0 && name.contains(u'.')) {
        // "Table.Column": the column of that origin table, or one whose own name says so.
        const QStringList qualifiers = name.split(u'.').mid(0, name.count(u'.'));
        for (int i = 0; i < m_visibleCount && found < 0; ++i) {
            const RecordsetColumn &c = m_columns[i];
            const bool sameColumn = c.origin.compare(column, Qt::CaseInsensitive) == 0 ||
                                    lastSegment(c.name).compare(column, Qt::CaseInsensitive) == 0;
            if (sameColumn && c.table.compare(qualifiers.last(), Qt::CaseInsensitive) == 0)
                found = i;
        }
        for (int i = 0; i < m_visibleCount && found < 0; ++i) {
            const RecordsetColumn &c = m_columns[i];
            if (lastSegment(c.name).compare(column, Qt::CaseInsensitive) == 0 &&
                c.name.contains(qualifiers.last() + u'.', Qt::CaseInsensitive))
                found = i;
        }
    }
    if (found < 0) {
        // A plain name that one column, and only one, carries as the last part of its dotted name.
        int candidate = -1;
        int candidates = 0;
        for (int i = 0; i < m_visibleCount; ++i) {
            if (lastSegment(m_columns[i].name).compare(column, Qt::CaseInsensitive) == 0) {
                candidate = i;
                ++candidates;
            }
        }
        if (candidates == 1 && !name.contains(u'.'))
            found = candidate;
    }
    if (found < 0) {
        throw RoutineError(ErrorCode::ItemNotFound,
                           RoutineError::standardDescription(ErrorCode::ItemNotFound) + u" ("_s + field +
                               u")"_s);
    }
    m_resolved.insert(key, found);
    m_resolvedAsWritten.insert(field, found);
    return found;
}

int RecordsetColumns::columnOf(const QString &table, const QString &origin) const
{
    int fallback = -1;
    for (int i = 0; i < m_visibleCount; ++i) {
        const RecordsetColumn &c = m_columns[i];
        if (c.table.compare(table, Qt::CaseInsensitive) != 0 ||
            c.origin.compare(origin, Qt::CaseInsensitive) != 0)
            continue;
        if (c.name.compare(origin, Qt::CaseInsensitive) == 0)
            return i;
        if (fallback < 0)
            fallback = i;
    }
    return fallback;
}

} // namespace kx
