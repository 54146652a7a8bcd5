#pragma once

namespace kx {
class Context;
} // namespace kx

/** Sets the start-up's hook of the first installation: InstallaAnagrafiche with the download window. */
void collegaInstallaAnagrafiche(kx::Context &context);
