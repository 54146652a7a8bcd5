#include "core/ui/Griglia.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>

namespace kx {

void impostaGriglia(QTableView &griglia)
{
    // A line of text with a little air above and below.
    const int altezza = griglia.fontMetrics().height() + 4;
    QHeaderView *righe = griglia.verticalHeader();
    righe->setMinimumSectionSize(altezza);
    righe->setDefaultSectionSize(altezza);
    righe->setSectionResizeMode(QHeaderView::Fixed);
}

int inizioTestoVoci(const QAbstractItemView &lista)
{
    // The item delegate keeps the focus frame's margin and one pixel before the text.
    return lista.frameWidth() + lista.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &lista) + 1;
}

} // namespace kx
