#include "core/services/ErrorBoxes.h"

#include "core/services/SystemErrors.h"

#include <QDir>
#include <new>
#include <system_error>

using namespace Qt::StringLiterals;

namespace kx {

QString testoErrore(const RoutineError &error)
{
    return u"Errore "_s + QString::number(error.number()) + u"\r\n"_s + error.description();
}

bool apriPagina(const Services &services, const QUrl &url, const std::function<void()> &primaDelMessaggio)
{
    if (services.urlOpener.open(url))
        return true;
    if (primaDelMessaggio)
        primaDelMessaggio();
    const QString indirizzo =
        url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString(QUrl::FullyEncoded);
    services.prompt.showWithField(Prompt::Icon::Warning, u"Pagina non aperta"_s,
                                  u"Impossibile aprire la pagina: nessun browser predefinito è impostato per "
                                  u"questo utente.\r\nCopiare l'indirizzo seguente in un browser:"_s,
                                  indirizzo);
    return false;
}

QString testoErroreRoutine(const QString &routine, const RoutineError &error)
{
    return routine + u" - "_s + QString::number(error.number()) + u" - "_s + error.description();
}

QString testoErroreCaricamento(const RoutineError &error)
{
    const QString segno = error.number() < 0 ? QString() : u" "_s;
    return u"Errore "_s + segno + QString::number(error.number()) + u" --> "_s + error.description();
}

QString unexpectedErrorText(const RoutineError &error)
{
    return testoErrore(error) + u"\r\n\r\n"_s + u"Si è verificato un errore imprevisto,"_s +
           u"scegliere riprova per ritentare l'operazione."_s;
}

void terminaBaseDatiDanneggiata(const Services &services, const RoutineError &error)
{
    services.prompt.critical(u"Base dati danneggiata"_s,
                             testoErrore(error) + u"\r\nLa procedura verrà terminata."_s);
    services.programExit.exit();
}

void offerRetryOrExit(const Services &services, const QString &routine, const RoutineError &error)
{
    if (error.number() == ErrorCode::DatabaseDamaged)
        terminaBaseDatiDanneggiata(services, error);
    const auto answer = services.prompt.ask(Prompt::Icon::Warning, Prompt::Buttons::RetryCancel, routine,
                                            unexpectedErrorText(error));
    if (answer != Prompt::Answer::Retry)
        services.programExit.exit();
}

RoutineError comeErroreRoutine(const std::exception &error)
{
    if (const auto *routine = dynamic_cast<const RoutineError *>(&error))
        return *routine;
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return RoutineError(ErrorCode::None, u"Memoria insufficiente"_s);
    if (const auto *system = dynamic_cast<const std::system_error *>(&error))
        return RoutineError(ErrorCode::None, descrizioneErroreSistema(system->code().value()));
    return RoutineError(ErrorCode::None, QString::fromLocal8Bit(error.what()));
}

void terminaPerErrore(const Services &services, const RoutineError &error)
{
    if (error.number() == ErrorCode::DatabaseDamaged)
        terminaBaseDatiDanneggiata(services, error);
    services.prompt.critical(QString(), testoErrore(error));
    services.programExit.exit();
}

} // namespace kx

namespace kx {

QString testoErroreAggiornamento(const RoutineError &error)
{
    return testoErrore(error) +
           u"\r\n\r\nSi è verificato un errore inaspettato durante l'aggiornamento del record.\r\n"_s +
           u"Scegliere riprova per cercare di ripetere l'operazione, altrimenti annullare."_s;
}

} // namespace kx
