#include "transmission/EsportazioneZeltoVordan.h"

#include "core/data/Connection.h"
#include "core/data/DataEnvironment.h"
#include "core/net/ServerRequest.h"
#include "core/services/ErrorBoxes.h"
#include "core/services/RoutineError.h"
#include "core/state/Context.h"
#include "core/state/CurrentApplication.h"
#include "core/state/Trasmissione.h"
#include "core/text/Values.h"
#include "courses/CourseRecord.h"
#include "transmission/DatasetZelto.h"
#include "transmission/IndirizziFissi.h"
#include "transmission/SoapClient.h"

#include <QCoreApplication>
#include <optional>

using namespace Qt::StringLiterals;
using namespace kx;

namespace {

/** The given columns of the application's courses, bound to its operator and number. */
QueryResult corsiDellaDomanda(Connection &CorsiDB, const CurrentApplication &domanda, const QString &colonne)
{
    return CorsiDB.query(
        u"SELECT "_s + colonne + u" FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND NumDoma = ?"_s,
        {domanda.GrupOpeCorrente, domanda.OperatoreCorrente.toInt(), domanda.NumDomaCorrente});
}

} // namespace

QString servizioVordan(Context &context)
{
    const QString indirizzo = context.trasmissione().ServizioVordan;
    return indirizzo.isEmpty() ? IndirizzoServizioVordan : indirizzo;
}

void AssegnaGuidMancanti(Connection &CorsiDB, const CurrentApplication &domanda)
{
    Transaction transazione(CorsiDB);
    const QueryResult corsi = corsiDellaDomanda(CorsiDB, domanda, u"Guid, NumDoma, SedeInteressata, Corso"_s);
    for (const QVariantList &corso : corsi.rows) {
        if (!isNullValue(corso.at(0)) && !corso.at(0).toString().isEmpty())
            continue;
        const int scritte = CorsiDB.execute(
            u"UPDATE CorsiProp SET Guid = ? WHERE NumDoma = ? AND SedeInteressata = ? AND Corso = ? "
            u"AND (Guid IS NULL OR Guid = '')"_s,
            {newCourseGuid(), corso.at(1), corso.at(2), corso.at(3)});
        if (scritte != 1)
            throw RoutineError(ErrorCode::RowDeletedMeanwhile);
    }
    transazione.commit();
}

qint32 InviaPercorsiVordan(Context &context, const QString &proxy, const QString &porta,
                           const std::function<void(int)> &avanzamento)
{
    std::optional<RoutineError> fallimento;
    try {
        SoapClient client(impostazioniTrasmissione(context.programFolder()));
        // The proxy is set before the description is read: a user who needs it for the calls needs it
        // for the description as well.
        if (!proxy.isEmpty()) {
            client.setProperty(u"ProxyServer"_s, proxy);
            client.setProperty(u"ProxyPort"_s, porta);
            client.setProperty(u"UseProxy"_s, true);
        }
        client.initialise(servizioVordan(context) + u"?WSDL"_s);
        Connection &CorsiDB = context.DE().CorsiDB();
        AssegnaGuidMancanti(CorsiDB, context.domanda());
        const QueryResult corsi = corsiDellaDomanda(CorsiDB, context.domanda(), u"Guid"_s);
        const qsizetype numeroCorsi = corsi.rows.size();
        for (qsizetype posizione = 1; posizione <= numeroCorsi; ++posizione) {
            const QVariant guid = corsi.rows.at(posizione - 1).at(0);
            if (isNullValue(guid))
                throw RoutineError(ErrorCode::InvalidUseOfNull);
            client.call(u"AggiornaPercorsiVordan"_s, CreaXmlCorso(CorsiDB, guid.toString()));
            QCoreApplication::processEvents();
            if (avanzamento)
                avanzamento(int(posizione * 100 / numeroCorsi));
        }
    } catch (const std::exception &e) {
        fallimento = comeErroreRoutine(e);
        // A failure without a number of its own must not read as success.
        if (fallimento->number() == ErrorCode::None)
            fallimento = RoutineError(ErrorCode::Unspecified, fallimento->description());
    }
    if (!fallimento) {
        context.prompt.inform(QString(), u"Operazione eseguita correttamente."_s);
        return ErrorCode::None;
    }
    context.prompt.critical(QString(), fallimento->description());
    return fallimento->number();
}
