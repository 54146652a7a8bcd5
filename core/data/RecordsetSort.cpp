#include "core/data/RecordsetSort.h"

#include "core/data/CompactRow.h"
#include "core/text/Values.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <optional>

namespace kx {

namespace {

const QCollator &collator()
{
    static const QCollator italian = [] {
        QCollator c(QLocale(QLocale::Italian, QLocale::Italy));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return italian;
}

/** One sort key of one row, ready to compare. */
struct SortValue
{
    int kind = 0; // 0 Null, 1 number, 2 text
    double number = 0;
    std::optional<QCollatorSortKey> text;
};

int compareSortValues(const SortValue &a, const SortValue &b)
{
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == 1)
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    if (a.kind == 2)
        return a.text->compare(*b.text);
    return 0;
}

} // namespace

void sortView(std::vector<int> &view, const std::vector<CompactRow> &rows,
              const std::vector<SortColumn> &keys)
{
    if (keys.empty() || view.size() < 2)
        return;
    const size_t keyCount = keys.size();
    std::vector<SortValue> values(view.size() * keyCount);
    for (size_t position = 0; position < view.size(); ++position) {
        const CompactRow &row = rows[view[position]];
        for (size_t k = 0; k < keyCount; ++k) {
            const QVariant value = row.at(keys[k].column);
            SortValue &sortValue = values[position * keyCount + k];
            if (isNullValue(value))
                continue;
            if (value.typeId() == QMetaType::QString) {
                sortValue.kind = 2;
                sortValue.text = collator().sortKey(value.toString());
            } else {
                sortValue.kind = 1;
                sortValue.number = value.toDouble();
            }
        }
    }
    std::vector<int> order(view.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (size_t k = 0; k < keyCount; ++k) {
            int result = compareSortValues(values[a * keyCount + k], values[b * keyCount + k]);
            if (keys[k].descending)
                result = -result;
            if (result != 0)
                return result < 0;
        }
        return false;
    });
    std::vector<int> sorted(view.size());
    for (size_t i = 0; i < order.size(); ++i)
        sorted[i] = view[order[i]];
    view = std::move(sorted);
}

} // namespace kx
