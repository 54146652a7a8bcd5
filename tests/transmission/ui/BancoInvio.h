#pragma once

#include "FakeServer.h"
#include "FakeServerServices.h"
#include "WindowTesting.h"
#include "core/config/IniFile.h"
#include "core/config/UserSettings.h"
#include "core/state/InstallationState.h"
#include "core/ui/ImageButton.h"
#include "tests/transmission/BancoTrasmissione.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLineEdit>

/**
 * Application 812, ready to transmit, with the regional server's services on a fake server: the
 * version service answers this program's version, the upload accepts what the account sends.
 */
using kx::ImageButton;

struct BancoInvio : BancoTrasmissione
{
    static inline const QString PercorsoVersione = QString::fromLatin1(VersionCheckPath);

    FakeServer server;

    explicit BancoInvio(FakeServer::Tls tls = FakeServer::Tls::None) : server(tls)
    {
        withoutEnvironmentProxies();
        installRegionalServices(server);
        kx::Context &context = test.context();
        test.writeFile(u"KX58TORVA.INI"_s,
                       "[CONNESSIONE]\r\nVERSIONE=" + server.url(PercorsoVersione).toLatin1() + "\r\n");
        context.fileIni().setNomeFile(test.path(u"KX58TORVA.INI"_s));
        context.installazione().IndirizzoServer = u"http://regione.example"_s;
        context.installazione().CredenzialeServer = u"utente:segreta@"_s;
        context.trasmissione().IndirizzoUpload = server.url(QString::fromLatin1(UploadPath));
        context.trasmissione().EmailTrasm.clear();
        context.domanda().DenominazioneOpCorrente = u"ENTE DI FORMAZIONE SANTA LUCÌA"_s;
        context.userSettings().setValue(u"E-Mail"_s, u"mario.rossi@ente.it"_s);
        test.writeFile(u"KX58TORVA.htm"_s, "<html></html>");
        context.installazione().FileAiuto = u"KX58TORVA.htm"_s;
    }

    /** The version service's reply in place of the current version. */
    void versione(const QByteArray &risposta)
    {
        server.reply(PercorsoVersione.toLatin1(), ScriptedReply::text(risposta));
    }

    /** The application's flags as stored: printed, sent. */
    std::pair<bool, bool> flag()
    {
        const kx::QueryResult riga =
            db.query(u"SELECT DomandaStampata, DomandaTrasmessa FROM Domande WHERE NumDoma = 812"_s);
        return {riga.rows.at(0).at(0).toInt() != 0, riga.rows.at(0).at(1).toInt() != 0};
    }

    void stampata() { db.execute(u"UPDATE Domande SET DomandaStampata = 1 WHERE NumDoma = 812"_s); }

    /** The requests that reached a path. */
    QList<RecordedRequest> richieste(const QString &percorso)
    {
        QList<RecordedRequest> trovate;
        for (const RecordedRequest &richiesta : server.requests()) {
            if (richiesta.path() == percorso.toLatin1())
                trovate.append(richiesta);
        }
        return trovate;
    }

    bool fileNellaCartella() const { return QFile::exists(test.path(NomeFile)); }
    QString copia() const { return test.path(u"Trasmissioni/"_s + NomeFile); }
};
