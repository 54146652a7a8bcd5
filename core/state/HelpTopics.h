#pragma once

namespace kx {
class Context;
} // namespace kx

/** Opens a topic of the help file, or says that the help file is missing. */
void MostraAiuto(kx::Context &context, int topic);
