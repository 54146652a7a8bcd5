#pragma once

class QWidget;

namespace kx {

class Context;

/** Gives a window its help topic: F1 anywhere in it opens that topic of the help file. */
void setHelpContext(Context &context, QWidget *window, int topic);

} // namespace kx
