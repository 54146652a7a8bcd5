#pragma once

namespace kx {

class Context;

/** Hands the start-up its first installation of the registry, with the download window. */
void collegaInstallaAnagrafiche(Context &context);

} // namespace kx
