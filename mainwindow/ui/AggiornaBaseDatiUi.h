#pragma once

#include <functional>

namespace kx {
class Context;
} // namespace kx

namespace kx {

/**
 * The registry-update command as the main window's entry: its wait panel and progress line, the
 * operator list frmInstOper, and the update of the base data under the window's caption.
 */
std::function<void()> voceAggiornaBaseDati(Context &context);

} // namespace kx
