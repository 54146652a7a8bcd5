#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QUrl>
#include <functional>

namespace kx {
class Context;
class SystemInfo;
struct CurrentApplication;
} // namespace kx

/** The page of the help desk's server that takes an assistance request, before its query. */
inline const QString PaginaAssistenza = QStringLiteral("/cgi-bin/fp/upload/form_allegato_bin_upload.cgi?");

/**
 * The archive of an assistance request, in the program folder: "KX58TORVA_", the day as dd-mm-yyyy,
 * "_", group and operator as they are, "-" and the application number with at least four digits.
 */
QString NomeArchivioAssistenza(const QDate &giorno, const kx::CurrentApplication &domanda);

/** Two lines: "LINUX", the distribution and three blanks; "Versione: " and the kernel's release. */
QString DescrizioneSistema(const kx::SystemInfo &sistema);
/** The default web browser's desktop entry, or that none was found. */
QString DescrizioneBrowser(const kx::SystemInfo &sistema);
/**
 * Four lines from the text of /proc/meminfo: memory, memory available, memory and swap, memory
 * available and swap free, each in whole megabytes; "?" for a count that cannot be read.
 */
QString DescrizioneMemoria(const QByteArray &memInfo);
/** Kilobytes as whole megabytes, a half rounded to the even neighbour. */
quint64 MegabyteArrotondati(quint64 kilobyte);

/** What an assistance request tells the help desk besides the program's own details. */
struct DatiAssistenza
{
    QString eMail;
    QString gruppo;
    QString operatore;
    QString denominazione;
    QString sistema;
    QString browser;
    QString memoria;
    QString archivio;
};

/** One key of the request's query and its value, as it reads before encoding. */
struct CampoRichiesta
{
    QString chiave;
    QString valore;
};

/** The query's keys and values in the order the help desk's page reads them. */
QList<CampoRichiesta> CampiRichiesta(const DatiAssistenza &dati);
/** The query as it reads: each key, "=" and its value, joined by "&". */
QString TestoRichiesta(const QList<CampoRichiesta> &campi);
/**
 * The query as it is sent: each value as its Windows-1252 bytes, percent-encoded but for letters,
 * digits and "-._~".
 */
QByteArray RichiestaCodificata(const QList<CampoRichiesta> &campi);
/** The address of the page on the given server (scheme and host) with the encoded query. */
QUrl IndirizzoRichiesta(const QString &server, const QList<CampoRichiesta> &campi);

/** The user's e-mail address from the per-user settings, or the page's placeholder when none is set. */
QString EMailRichiedente(kx::Context &context);

/**
 * Makes the request's archive of the open database (a consistent snapshot; the connection stays
 * open), then runs `fineAttesa`. On failure says so in its box and returns false.
 */
bool CreaArchivioAssistenza(kx::Context &context, const QString &archivio,
                            const std::function<void()> &fineAttesa = {});
