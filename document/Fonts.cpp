#include "document/Fonts.h"

using namespace Qt::StringLiterals;

namespace kx {

QString famigliaCarattere(const QString &nome)
{
    const QString chiave = nome.trimmed();
    if (chiave.compare(u"Arial"_s, Qt::CaseInsensitive) == 0)
        return u"Liberation Sans"_s;
    if (chiave.compare(u"Times New Roman"_s, Qt::CaseInsensitive) == 0)
        return u"Liberation Serif"_s;
    return nome;
}

} // namespace kx
