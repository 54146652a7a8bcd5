#pragma once

namespace kx {
class Context;
} // namespace kx

/**
 * The rotating copy of the database made when a SERVER ends: "backup.001" to "backup.003" in the
 * program folder, the marker "00N.lst" naming the copy written last. The old marker goes first, the
 * new one comes only after a good copy. The copy is a consistent snapshot of the database, written
 * under a temporary name and renamed onto its place, so a failed copy leaves the previous one whole.
 * Permission denied ends it silently; any other failure is reported. Nothing is passed on.
 */
void CopiaDiRiserva(kx::Context &context);
