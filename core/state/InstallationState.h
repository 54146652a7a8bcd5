#pragma once

#include <QString>

/** The help desk's assistance server, scheme and host: the upload page of a request is there. */
inline const QString IndirizzoAssistenzaTUZ = QStringLiteral("https://assistenza.tuz-valdoria.example");
/** The help desk's e-mail address, sent with every assistance request. */
inline const QString EMailAssistenzaTUZ = QStringLiteral("assistenza@tuz-valdoria.example");

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
    /** Where assistance requests go: the help desk's server, or a test or demo server in its place. */
    QString IndirizzoAssistenza = IndirizzoAssistenzaTUZ;
    bool InstallazioneInCorso = false;
    bool PrimaInstallazione = false;
    /** How the operator selection ended: "annulla" after its ANNULLA, empty otherwise. */
    QString EsitoInstOper;
};

} // namespace kx
