#include "core/text/InputFilters.h"

#include "core/services/Services.h"
#include "core/text/TextRoutines.h"

using namespace Qt::StringLiterals;
using namespace kx;

namespace {
constexpr int Backspace = 8;
constexpr int Enter = 13;
} // namespace

bool tastoNumericoAmmesso(int key)
{
    return key == u',' || key == u'.' || (key >= u'0' && key <= u'9');
}

int TastoNumerico(const Services &services, int key)
{
    if (key == u'.')
        return u',';
    if (key == Backspace || tastoNumericoAmmesso(key))
        return key;
    if (key == Enter)
        return 0;
    services.beeper.beep();
    services.prompt.inform(u"Campo Numerico"_s, u"Carattere non numerico"_s);
    return 0;
}

int TastoMaiuscolo(int key)
{
    return upperCaseCp1252(QString(QChar(char16_t(key)))).front().unicode();
}
