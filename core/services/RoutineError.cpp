#include "core/services/RoutineError.h"

using namespace Qt::StringLiterals;

namespace kx {

RoutineError::RoutineError(int number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what(QByteArray::number(number) + ' ' + m_description.toUtf8())
{
}

RoutineError::RoutineError(int number) : RoutineError(number, standardDescription(number)) {}

QString RoutineError::standardDescription(int number)
{
    switch (number) {
    case ErrorCode::InvalidProcedureCall:
        return u"Chiamata di routine o argomento non validi"_s;
    case ErrorCode::Overflow:
        return u"Overflow"_s;
    case ErrorCode::SubscriptOutOfRange:
        return u"Indice non compreso nell'intervallo"_s;
    case ErrorCode::TypeMismatch:
        return u"Tipo non corrispondente"_s;
    case ErrorCode::FileNotFound:
        return u"Impossibile trovare il file"_s;
    case ErrorCode::FileAlreadyOpen:
        return u"File già aperto"_s;
    case ErrorCode::FileAlreadyExists:
        return u"File già esistente"_s;
    case ErrorCode::PermissionDenied:
        return u"Autorizzazione negata"_s;
    case ErrorCode::PathFileAccessError:
        return u"Errore di accesso al percorso/file"_s;
    case ErrorCode::PathNotFound:
        return u"Impossibile trovare il percorso"_s;
    case ErrorCode::ObjectNotSet:
        return u"Variabile oggetto o variabile del blocco With non impostata"_s;
    case ErrorCode::InvalidUseOfNull:
        return u"Utilizzo non valido di Null"_s;
    case ErrorCode::ServerUnavailable:
        return u"Il computer server remoto non esiste o non è disponibile"_s;
    case ErrorCode::InvalidArgument:
        return u"Argomenti di tipo errato, non compresi nell'intervallo consentito o in conflitto tra loro."_s;
    case ErrorCode::NoCurrentRecord:
        return u"Il valore di BOF o EOF è True oppure il record corrente è stato eliminato. "
               u"L'operazione richiesta richiede un record corrente."_s;
    case ErrorCode::FileInUse:
        return u"Impossibile utilizzare il file; file già in uso."_s;
    case ErrorCode::DatabaseDamaged:
        return u"Il file della base dati è danneggiato."_s;
    case ErrorCode::OperationNotAllowed:
        return u"Operazione non consentita in questo contesto."_s;
    case ErrorCode::ItemNotFound:
        return u"Impossibile trovare l'elemento nell'insieme corrispondente al nome o al numero richiesto."_s;
    case ErrorCode::ObjectClosed:
        return u"Operazione non consentita se l'oggetto è chiuso."_s;
    case ErrorCode::ObjectOpen:
        return u"Operazione non consentita se l'oggetto è aperto."_s;
    case ErrorCode::ProviderNotFound:
        return u"Impossibile trovare il provider. Potrebbe non essere installato correttamente."_s;
    case ErrorCode::ConnectionClosed:
        return u"Impossibile utilizzare la connessione per eseguire l'operazione. "
               u"La connessione è chiusa o non è valida in questo contesto."_s;
    case ErrorCode::RowDeletedMeanwhile:
        return u"Impossibile trovare la riga per l'aggiornamento. "
               u"Alcuni valori potrebbero essere stati modificati dall'ultima lettura."_s;
    case ErrorCode::MultipleStepErrors:
        return u"Operazione in più passaggi generata da errori. Controllare i valori di stato."_s;
    case ErrorCode::TableNotFound:
        return u"Impossibile trovare la tabella o la query di input."_s;
    case ErrorCode::SyntaxError:
        return u"Errore di sintassi nell'istruzione SQL."_s;
    case ErrorCode::ParameterMissing:
        return u"Nessun valore specificato per alcuni parametri necessari."_s;
    default:
        return u"Errore definito dall'applicazione o dall'oggetto"_s;
    }
}

} // namespace kx
