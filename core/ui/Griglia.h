#pragma once

class QAbstractItemView;
class QTableView;

namespace kx {

/**
 * The look every grid of the program shares: rows one text line high, whatever the style's default
 * row height.
 */
void impostaGriglia(QTableView &griglia);

/** Where an entry's text begins inside a list, from the list's left edge: headings align to it. */
int inizioTestoVoci(const QAbstractItemView &lista);

} // namespace kx
