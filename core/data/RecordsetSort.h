#pragma once

#include <QVariant>
#include <vector>

namespace kx {

class CompactRow;

/** A sort key resolved to its column. */
struct SortColumn
{
    int column = 0;
    bool descending = false;
};

/**
 * Orders a view (row numbers into `rows`) by the keys, keeping the order of rows that compare equal:
 * Null first, then numbers, then texts in Italian order without regard to case.
 */
void sortView(std::vector<int> &view, const std::vector<CompactRow> &rows,
              const std::vector<SortColumn> &keys);

} // namespace kx
