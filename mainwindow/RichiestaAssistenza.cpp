#include "mainwindow/RichiestaAssistenza.h"

#include "core/config/IniKeys.h"
#include "core/config/UserSettings.h"
#include "core/data/DataEnvironment.h"
#include "core/services/RoutineError.h"
#include "core/services/SystemInfo.h"
#include "core/services/VersioneProgramma.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/InstallationState.h"
#include "core/text/Cp1252.h"
#include "core/text/TextRoutines.h"
#include "mainwindow/SalvataggioDati.h"

#include <optional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

const QString Rientro = u"     "_s;
const QString CrLf = u"\r\n"_s;
const QString Sconosciuto = u"?"_s;

QString oSconosciuto(const QString &value)
{
    return value.trimmed().isEmpty() ? Sconosciuto : value.trimmed();
}

/** The kilobytes of a line "Key:   value kB" of /proc/meminfo. */
std::optional<quint64> valoreMemoria(const QByteArray &memInfo, const QByteArray &key)
{
    for (const QByteArray &line : memInfo.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0 || line.left(colon).trimmed() != key)
            continue;
        QByteArray value = line.mid(colon + 1).trimmed();
        if (value.endsWith("kB"))
            value = value.chopped(2).trimmed();
        bool ok = false;
        const quint64 kilobyte = value.toULongLong(&ok);
        if (ok)
            return kilobyte;
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<quint64> somma(std::optional<quint64> a, std::optional<quint64> b)
{
    if (!a || !b)
        return std::nullopt;
    return *a + *b;
}

QString rigaMemoria(const QString &etichetta, std::optional<quint64> kilobyte)
{
    return Rientro + etichetta + u" = "_s +
           (kilobyte ? QString::number(MegabyteArrotondati(*kilobyte)) + u"MB"_s : Sconosciuto);
}

} // namespace

QString NomeArchivioAssistenza(const QDate &giorno, const CurrentApplication &domanda)
{
    return u"KX58TORVA_"_s + giorno.toString(u"dd-MM-yyyy"_s) + u'_' + domanda.GrupOpeCorrente +
           domanda.OperatoreCorrente + u'-' +
           RiempiCarattere(QString::number(domanda.NumDomaCorrente), 4, u"0"_s) + u".zip"_s;
}

QString DescrizioneSistema(const SystemInfo &sistema)
{
    return Rientro + u"LINUX "_s + oSconosciuto(sistema.distribution()) + u"   "_s + CrLf + Rientro +
           u"Versione: "_s + oSconosciuto(sistema.kernelRelease());
}

QString DescrizioneBrowser(const SystemInfo &sistema)
{
    const QString browser = sistema.defaultBrowser().trimmed();
    return Rientro +
           (browser.isEmpty() ? u"Browser predefinito non trovato"_s : u"Browser predefinito "_s + browser);
}

quint64 MegabyteArrotondati(quint64 kilobyte)
{
    const quint64 megabyte = kilobyte / 1024;
    const quint64 resto = kilobyte % 1024;
    if (resto > 512 || (resto == 512 && megabyte % 2 == 1))
        return megabyte + 1;
    return megabyte;
}

QString DescrizioneMemoria(const QByteArray &memInfo)
{
    const auto totale = valoreMemoria(memInfo, "MemTotal");
    const auto disponibile = valoreMemoria(memInfo, "MemAvailable");
    const auto swapTotale = valoreMemoria(memInfo, "SwapTotal");
    const auto swapLibero = valoreMemoria(memInfo, "SwapFree");
    return QStringList{rigaMemoria(u"Total RAM"_s, totale), rigaMemoria(u"Available RAM"_s, disponibile),
                       rigaMemoria(u"Total Virtual Memory"_s, somma(totale, swapTotale)),
                       rigaMemoria(u"Available Virtual Memory"_s, somma(disponibile, swapLibero))}
        .join(CrLf);
}

QList<CampoRichiesta> CampiRichiesta(const DatiAssistenza &dati)
{
    return {
        {u"fr"_s, dati.eMail},        {u"su"_s, u"KX58TORVA (ver. "_s + versioneProgramma() + u")"_s},
        {u"g"_s, dati.gruppo},        {u"c"_s, dati.operatore},
        {u"d"_s, dati.denominazione}, {u"cp"_s, QString()},
        {u"so"_s, dati.sistema},      {u"h"_s, EMailAssistenzaTUZ},
        {u"ie"_s, dati.browser},      {u"mem"_s, dati.memoria},
        {u"tel"_s, QString()},        {u"rif"_s, QString()},
        {u"prb"_s, QString()},        {u"ap"_s, u"KX58TORVA"_s},
        {u"file"_s, dati.archivio},
    };
}

QString TestoRichiesta(const QList<CampoRichiesta> &campi)
{
    QStringList coppie;
    for (const CampoRichiesta &campo : campi)
        coppie << campo.chiave + u'=' + campo.valore;
    return coppie.join(u'&');
}

QByteArray RichiestaCodificata(const QList<CampoRichiesta> &campi)
{
    QByteArrayList coppie;
    for (const CampoRichiesta &campo : campi)
        coppie << campo.chiave.toLatin1() + '=' + Cp1252::encode(campo.valore).toPercentEncoding();
    return coppie.join('&');
}

QUrl IndirizzoRichiesta(const QString &server, const QList<CampoRichiesta> &campi)
{
    QString base = server.trimmed();
    while (base.endsWith(u'/'))
        base.chop(1);
    return QUrl::fromEncoded(base.toUtf8() + PaginaAssistenza.toLatin1() + RichiestaCodificata(campi),
                             QUrl::StrictMode);
}

QString EMailRichiedente(Context &context)
{
    const QString eMail = context.userSettings().value(UserKeys::EMail, QString());
    return eMail.isEmpty() ? u"Indirizzo e-mail..."_s : eMail;
}

bool CreaArchivioAssistenza(Context &context, const QString &archivio,
                            const std::function<void()> &fineAttesa)
{
    bool riuscito = false;
    try {
        riuscito = ArchiviaBaseDati(context.DE().CorsiDB(), archivio);
    } catch (const RoutineError &) {
        riuscito = false;
    }
    if (fineAttesa)
        fineAttesa();
    if (!riuscito)
        context.prompt.critical(u"Errore"_s,
                                u"Creazione dell'archivio non riuscita. Impossibile preparare la "
                                u"richiesta di assistenza."_s);
    return riuscito;
}
