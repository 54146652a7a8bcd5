#pragma once

#include "core/services/RoutineError.h"

#include <QString>

namespace kx {

/**
 * The old engine's number and Italian description for a failure of the SQLite engine, from its
 * extended result code and message; `deleting` picks the text for a row that related rows keep.
 */
RoutineError engineError(int resultCode, const QString &message, bool deleting = false);

} // namespace kx
