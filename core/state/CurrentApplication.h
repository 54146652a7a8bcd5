#pragma once

#include <QString>

namespace kx {

/** The application every window works on, and its operator. */
struct CurrentApplication
{
    qint32 NumDomaCorrente = 0;
    QString GrupOpeCorrente;
    QString OperatoreCorrente = QStringLiteral("0");
    QString DenominazioneOpCorrente;
    QString ProvCorrente;
    QString DesProvCorrente;
    bool DomandaStampataCorrente = false;
    /** Selects the rows of the current application; with none it selects nothing. */
    QString FiltroDomandaCorrente = QStringLiteral("GrupOpe='' AND Operatore=0 AND NumDoma=0");
};

} // namespace kx
