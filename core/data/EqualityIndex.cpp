#include "core/data/EqualityIndex.h"

#include "core/data/CompactRow.h"
#include "core/data/FilterExpression.h"

#include <algorithm>

namespace kx {

std::vector<int> EqualityIndex::candidates(const std::vector<CompactRow> &rows, int column,
                                           const QVariant &value)
{
    auto found = m_columns.find(column);
    if (found == m_columns.end()) {
        ColumnIndex index;
        index.reserve(qsizetype(rows.size()));
        for (int row = 0; row < int(rows.size()); ++row) {
            for (const QString &key : equalityKeys(rows[row].at(column)))
                index[key].append(row);
        }
        found = m_columns.insert(column, std::move(index));
    }
    std::vector<int> result;
    for (const QString &key : equalityKeys(value)) {
        const auto bucket = found->constFind(key);
        if (bucket != found->constEnd())
            result.insert(result.end(), bucket->cbegin(), bucket->cend());
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

void EqualityIndex::rowWritten(int row, const QVariantList &before, const QVariantList &after)
{
    // Iterating goes through every bucket of the hash, also when no column is indexed.
    if (m_columns.isEmpty())
        return;
    for (auto index = m_columns.begin(); index != m_columns.end(); ++index) {
        const int column = index.key();
        if (!before.isEmpty()) {
            for (const QString &key : equalityKeys(before.at(column))) {
                const auto bucket = index->find(key);
                if (bucket == index->end())
                    continue;
                bucket->removeOne(row);
                if (bucket->isEmpty())
                    index->erase(bucket);
            }
        }
        for (const QString &key : equalityKeys(after.at(column)))
            (*index)[key].append(row);
    }
}

} // namespace kx
