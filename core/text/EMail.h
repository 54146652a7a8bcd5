#pragma once

#include <QString>

/**
 * The syntax rules of an e-mail address, tried in order; the first that fails gives its message.
 * The empty-address rule belongs to the check of a text box only.
 */
namespace EMail {

enum class Vuoto
{
    Segnala,
    NonSegnalare
};

/** The message of the first failing rule, or the empty text when the address passes them all. */
QString primaRegolaViolata(const QString &address, Vuoto empty);

} // namespace EMail

/** The check of an address given as text: the message of the first failing rule, or "". */
QString VerificaEMail(const QString &address);
