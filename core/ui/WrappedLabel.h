#pragma once

class QLabel;

namespace kx {

/**
 * Keeps a word-wrapped label at least as tall as its text needs at the width its layout gives it,
 * and so the window too. A window's minimum comes from minimum size hints, where a wrapped label
 * counts one line, and Qt caps a new window at two thirds of the screen: on a low screen the layout
 * would otherwise squeeze the label and cut its last lines.
 */
void keepWrappedLabelWhole(QLabel *label);

} // namespace kx
