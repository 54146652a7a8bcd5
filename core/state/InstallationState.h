#pragma once

#include <QString>

namespace kx {

/** The installation settings read at start-up and the flags of a first installation. */
struct InstallationState
{
    QString CartellaProgramma;
    QString TipoInstallazione;
    QString VersioneInstallazione;
    QString PercorsoDB;
    QString NomeFileDB;
    QString FileAiuto;
    QString CredenzialeServer;
    QString IndirizzoServer;
    bool InstallazioneInCorso = false;
    bool PrimaInstallazione = false;
    /** How the operator selection ended: "annulla" after its ANNULLA, empty otherwise. */
    QString EsitoInstOper;
};

} // namespace kx
