#include "core/text/EMail.h"

#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;

namespace EMail {

QString primaRegolaViolata(const QString &address, Vuoto empty)
{
    const QString spazi =
        u"L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente."_s;
    const QString userName = u"L'indirizzo e-mail deve iniziare con il proprio user-name (es. 'mario.rossi', "
                             u"'mrossi', ecc.)"_s;

    if (empty == Vuoto::Segnala && address.isEmpty())
        return u"E' indispensabile indicare un indirizzo e-mail."_s;
    if (address.contains(u','))
        return u"L'indirizzo e-mail non può contenere virgole."_s;
    if (trimBlanks(address) != address || address.contains(u' '))
        return spazi;
    if (address.contains(u'/'))
        return u"L'indirizzo e-mail non può contenere il carattere '/'."_s;
    if (address.contains(u".."))
        return u"L'indirizzo e-mail non può contenere punti consecutivi."_s;

    const qsizetype at = address.indexOf(u'@');
    if (at < 0)
        return u"L'indirizzo e-mail deve contenere il carattere '@'."_s;
    const qsizetype dotAfterAt = address.indexOf(u'.', at + 1);
    if (dotAfterAt < 0 || dotAfterAt == at + 1)
        return u"L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella "
               u"forma '@.'"_s;
    if (dotAfterAt == address.size() - 1)
        return u"Dopo l'ultimo '.' deve essere specificato il provider (es. 'it', 'com', ecc.)"_s;
    if (at == 0 || address.indexOf(u'.') == 0)
        return userName;
    if (address.indexOf(u'@', at + 1) >= 0)
        return u"L'indirizzo e-mail non può contenere più di 1 carattere '@'."_s;
    return {};
}

} // namespace EMail

QString VerificaEMail(const QString &address)
{
    return EMail::primaRegolaViolata(address, EMail::Vuoto::NonSegnalare);
}
