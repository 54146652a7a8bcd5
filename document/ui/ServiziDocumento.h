#pragma once

namespace kx {
class Context;
} // namespace kx

/**
 * Fills the context's ways into the document run: `documento` (the print window for the print type
 * over the seat of the course editor state, every seat when it is empty) and `bozzaCorso` (the
 * single-course draft of a stored course). Both return once the window has closed.
 */
void installaServiziDocumento(kx::Context &context);
