#include "FakeServerServices.h"

#include "FakeCourseRegistry.h"
#include "FakeServer.h"
#include "core/services/VersioneProgramma.h"

#include <QFile>
#include <QMutex>
#include <QSaveFile>
#include <QUrlQuery>
#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

/** One operator of the demo registry with its seats. */
struct DemoOperator
{
    QStringList oper;
    QList<QStringList> compo;
};

const QList<DemoOperator> &demoRegistry()
{
    static const QList<DemoOperator> registry{
        {{u"A"_s, u"12"_s, u"CENTRO FORMAZIONE EMILIA"_s, u"01"_s, u"01234560377"_s, u"01234560377"_s,
          u"ROSSI MARIO"_s, u"BOLOGNA"_s, u"BO"_s, u"01021960"_s, u"BO"_s, u"1234567"_s, u"1990"_s,
          u"8042"_s},
         {{u"A"_s, u"12"_s, u"1"_s, u"SL"_s, u"SEDE LEGALE"_s, u"037006"_s, u"40121"_s,
           u"VIA INDIPENDENZA 1"_s, QString(), u"051123456"_s, QString(), u"051123457"_s, QString(),
           QString()},
          {u"A"_s, u"12"_s, u"2"_s, u"SO"_s, u"SEDE OPERATIVA BOLOGNA NORD"_s, u"037006"_s, u"40128"_s,
           u"VIA DI CORTICELLA 180"_s, QString(), u"051654321"_s, QString(), QString(), QString(),
           QString()}}},
        {{u"B"_s, u"7"_s, u"ISTITUTO ROMAGNA LAVORO"_s, u"02"_s, u"07654320401"_s, u"07654320401"_s,
          u"BIANCHI ANNA"_s, u"FORLI'"_s, u"FC"_s, u"15061975"_s, u"FC"_s, u"7654321"_s, u"2001"_s,
          u"8559"_s},
         {{u"B"_s, u"7"_s, u"1"_s, u"SL"_s, u"SEDE CENTRALE"_s, u"040012"_s, u"47121"_s,
           u"CORSO GARIBALDI 5"_s, QString(), u"0543123456"_s, QString(), QString(), QString(), QString()}}},
    };
    return registry;
}

ScriptedReply serverError(const QString &text)
{
    return ScriptedReply::text(text.toLatin1());
}

/** The "g=" and "c=" pairs of the body, in order; the reply bundles the operators they name. */
ScriptedReply operatorDownload(const RecordedRequest &request)
{
    const QList<std::pair<QString, QString>> pairs =
        QUrlQuery(QString::fromLatin1(request.body)).queryItems(QUrl::FullyDecoded);
    BundleFile oper{u"oper.tx1"_s, {}};
    BundleFile compo{u"compo.tx1"_s, {}};
    for (qsizetype i = 0; i + 1 < pairs.size(); i += 2) {
        const QString group = pairs[i].second;
        const QString number = pairs[i + 1].second;
        const auto found =
            std::find_if(demoRegistry().begin(), demoRegistry().end(),
                         [&](const DemoOperator &o) { return o.oper[0] == group && o.oper[1] == number; });
        if (found == demoRegistry().end())
            return serverError(u"ERRORE: operatore "_s + group + u' ' + number +
                               u" non presente in anagrafe");
        oper.records.append(found->oper);
        compo.records.append(found->compo);
    }
    if (oper.records.isEmpty())
        return serverError(u"ERRORE: nessun operatore richiesto"_s);
    return ScriptedReply::text(
        downloadBundle({oper, compo, {u"sediocc.tx1"_s, {}}, {u"sediutil.tx1"_s, {}}}));
}

ScriptedReply identityPage(const RecordedRequest &)
{
    ScriptedReply reply;
    reply.headers = {"Content-Type: text/html; charset=windows-1252"};
    reply.body =
        QByteArray("<html><body><p>Risposta: OK;") + DemoAlbisId + ";4711000000001;A123</p></body></html>";
    return reply;
}

/** An approved course of the demo registry: its 43 fields, seat 1 of the operator. */
QStringList demoCourse(int idAttivita, const QString &group, const QString &number, const QString &name)
{
    QStringList fields(43);
    fields[0] = QString::number(idAttivita);
    fields[2] = group;
    fields[3] = number;
    fields[4] = u"2019-"_s + QString::number(idAttivita % 1000);
    fields[5] = u"2019"_s;
    fields[7] = u"1"_s;
    fields[8] = u"2020"_s;
    fields[9] = u"1"_s;
    fields[12] = name;
    fields[15] = u"03"_s;
    fields[26] = u"600"_s;
    fields[27] = u"15"_s;
    fields[28] = u"1200"_s;
    fields[29] = u"2"_s;
    fields[31] = u"AF"_s;
    fields[41] = u"037"_s;
    fields[42] = u"2014-2020"_s;
    return fields;
}

/** "gruppo", "codice" and "albis_id"; a wrong token is refused as the server does. */
ScriptedReply approvedCourses(const RecordedRequest &request)
{
    const QUrlQuery query(QString::fromLatin1(request.body));
    if (query.queryItemValue(u"albis_id"_s) != QLatin1StringView(DemoAlbisId))
        return serverError(u"ERRORE: autenticazione non valida"_s);
    const QString group = query.queryItemValue(u"gruppo"_s);
    const QString number = query.queryItemValue(u"codice"_s);
    BundleFile courses{u"CorsiApprovati.tx1"_s, {}};
    if (group == u"A" && number == u"12") {
        courses.records = {demoCourse(190001, group, number, u"OPERATORE SOCIO SANITARIO"_s),
                           demoCourse(190002, group, number, u"TECNICO DELLA LOGISTICA"_s)};
    } else if (group == u"B" && number == u"7") {
        courses.records = {demoCourse(190101, group, number, u"ADDETTO ALLA RISTORAZIONE"_s)};
    } else {
        return serverError(u"ERRORE: nessun corso finanziato per l'operatore "_s + group + u' ' + number);
    }
    return ScriptedReply::text(downloadBundle({courses}));
}

/** The first number the server issues when it has issued none before. */
constexpr int FirstApplicationNumber = 1001;

/**
 * The number after the last one kept in the file, written back before it is issued; both servers of
 * the demo share the file, so one lock guards every read and write.
 */
int nextNumberFromFile(const QString &numberFile)
{
    static QMutex lock;
    const QMutexLocker locker(&lock);
    QFile kept(numberFile);
    bool valid = false;
    const int last = kept.open(QIODevice::ReadOnly) ? kept.readAll().trimmed().toInt(&valid) : 0;
    const int next = valid ? std::max(last + 1, FirstApplicationNumber) : FirstApplicationNumber;
    QSaveFile file(numberFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::number(next) + '\n');
        file.commit();
    }
    return next;
}

/**
 * Issues one number to each request that names the operator: from 1001 on for this server alone,
 * or, with a number file, after the last number the file keeps, so that no run repeats one.
 */
FakeServer::Handler newApplicationNumber(const QString &numberFile)
{
    return [numberFile, next = std::make_shared<std::atomic<int>>(FirstApplicationNumber)](
               const RecordedRequest &request) {
        const QUrlQuery query(QString::fromLatin1(request.body));
        if (query.queryItemValue(u"gruppo"_s).isEmpty() || query.queryItemValue(u"codice"_s).isEmpty())
            return serverError(u"ERRORE: operatore non indicato"_s);
        const int number = numberFile.isEmpty() ? (*next)++ : nextNumberFromFile(numberFile);
        return ScriptedReply::text(QByteArray::number(number));
    };
}

/** Minimum and latest version, both this program's, and a status that asks for nothing more. */
ScriptedReply versionCheck(const RecordedRequest &request)
{
    if (request.body != "applicativo=KX58TORVA&anno=2021")
        return serverError(u"ERRORE: applicativo sconosciuto"_s);
    return ScriptedReply::text((versioneProgramma() + u'#' + versioneProgramma() + u"#N##").toLatin1());
}

/**
 * The transmission file: its name on the first line, then its lines, each ended by a line feed alone,
 * the last one the end record.
 */
ScriptedReply upload(const RecordedRequest &request)
{
    const QList<QByteArray> lines = request.body.split('\n');
    if (lines.size() < 3 || lines.first().isEmpty())
        return serverError(u"ERRORE: file di trasmissione vuoto"_s);
    if (request.body.contains('\r') || !request.body.endsWith("#Z#,#EOF#\n"))
        return serverError(u"ERRORE: file di trasmissione incompleto"_s);
    return ScriptedReply::text("Trasmissione completata con successo");
}

ScriptedReply assistancePage(const RecordedRequest &)
{
    ScriptedReply reply;
    reply.headers = {"Content-Type: text/html; charset=windows-1252"};
    reply.body = "<html><body><h1>Servizio assistenza</h1><p>Richiesta ricevuta.</p></body></html>";
    return reply;
}

} // namespace

void installRegionalServices(FakeServer &server, const QString &numberFile)
{
    server.route("anagrafe/scarico.php", operatorDownload);
    server.route("albis/login.php", identityPage);
    server.route("corsi/scarico.php", approvedCourses);
    server.route("nreg/nuovadomanda.php", newApplicationNumber(numberFile));
    server.route(VersionCheckPath, versionCheck);
    server.route("assistenza/richiesta.php", assistancePage);
    server.route("cgi-bin/fp/upload/form_allegato_bin_upload.cgi", assistancePage);
    server.route(UploadPath, upload);
    installCourseRegistry(server);
    server.requireBasic(UploadPath, "robot", "%tulip%42&");
}
