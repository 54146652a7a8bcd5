#pragma once

namespace kx {
class Context;
} // namespace kx

/**
 * Brings the seats of every application not printed in final form in line with the registry: each
 * component of its operator and each occasional seat its components use gets its row (a new one
 * with empty contact person and e-mail), whose name, type, municipality and address follow the
 * registry, and whose postal code, telephone and fax, and for a component foreign state and city,
 * are filled only where the row has none; an occasional seat has no foreign state or city. Contact
 * person and e-mail are never touched, and no seat is removed.
 *
 * The refresh is one transaction of its own (a savepoint inside a caller's): an error undoes all of
 * it, then shows "Errore in AggiornaSediInteressate - " + number + " - " + description.
 */
void AggiornaSediInteressate(kx::Context &context);
