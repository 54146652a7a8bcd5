#include "core/services/Services.h"

using namespace Qt::StringLiterals;

bool ModalitaDebug(const CommandLine &commandLine)
{
    return commandLine.arguments().join(u' ') == u"DEBUG"_s;
}
