#include "core/data/EngineErrors.h"

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace kx {

namespace {

/** What a failure that its code tells all about means, for the user. */
QString failureDescription(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return u"Impossibile aggiornare; attualmente bloccato."_s;
    case SQLITE_READONLY:
        return u"Impossibile aggiornare. Database o oggetto di sola lettura."_s;
    case SQLITE_NOTADB:
        return u"Formato di database non riconosciuto."_s;
    case SQLITE_IOERR:
        return u"Errore di lettura o scrittura sul disco della base dati."_s;
    case SQLITE_FULL:
        return u"Spazio su disco esaurito: la base dati non può essere aggiornata."_s;
    case SQLITE_CANTOPEN:
        return u"Impossibile aprire il file della base dati o creare un file temporaneo nella sua cartella: "
               u"il file o la cartella non esistono, oppure manca l'autorizzazione."_s;
    case SQLITE_PERM:
        return u"Autorizzazione negata dal motore di database."_s;
    case SQLITE_NOMEM:
        return u"Memoria insufficiente"_s;
    case SQLITE_TOOBIG:
        return u"Valore troppo grande per il campo."_s;
    default:
        // The engine's own text is English: only its code goes into the box.
        return u"Errore del motore di database (codice "_s + QString::number(resultCode) + u")."_s;
    }
}

} // namespace

RoutineError engineError(int resultCode, const QString &message, bool deleting)
{
    int rc = resultCode;
    if ((rc & 0xff) == SQLITE_CONSTRAINT && message.startsWith(u"FOREIGN KEY"_s))
        rc = SQLITE_CONSTRAINT_FOREIGNKEY;
    switch (rc) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return RoutineError(
            ErrorCode::Unspecified,
            u"Le modifiche richieste alla tabella non sono state apportate perché creerebbero "
            u"valori duplicati nell'indice, nella chiave primaria o nella relazione. Modificare "
            u"i dati nel campo o nei campi che contengono dati duplicati, rimuovere l'indice o "
            u"ridefinirlo per consentire voci duplicate e riprovare."_s);
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return RoutineError(ErrorCode::Unspecified,
                            deleting ? u"Impossibile eliminare o modificare il record perché la tabella "
                                       u"contiene record correlati."_s
                                     : u"Impossibile aggiungere o modificare il record perché è necessario "
                                       u"un record correlato nella tabella collegata."_s);
    case SQLITE_CONSTRAINT_NOTNULL: {
        const QString field = message.section(u": "_s, 1).section(u'.', -1);
        return RoutineError(ErrorCode::Unspecified,
                            u"Il campo '"_s + field +
                                u"' non può contenere un valore Null perché la proprietà Richiesto per "
                                u"questo campo è impostata a True. Immettere un valore in questo campo."_s);
    }
    case SQLITE_CONSTRAINT_CHECK:
        return RoutineError(ErrorCode::Unspecified,
                            u"Uno o più valori non sono consentiti dalla regola di convalida impostata per "
                            u"il campo."_s);
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        return RoutineError(ErrorCode::Unspecified,
                            u"Il motore di database ha rifiutato i valori del record ("_s + message +
                                u")."_s);
    case SQLITE_ERROR:
        if (message.startsWith(u"no such table"_s) || message.startsWith(u"no such view"_s)) {
            return RoutineError(ErrorCode::TableNotFound,
                                u"Impossibile trovare la tabella o la query di input '"_s +
                                    message.section(u": "_s, 1) + u"'."_s);
        }
        if (message.startsWith(u"no such column"_s)) {
            return RoutineError(ErrorCode::ParameterMissing,
                                RoutineError::standardDescription(ErrorCode::ParameterMissing) + u" ("_s +
                                    message + u")"_s);
        }
        return RoutineError(ErrorCode::SyntaxError,
                            RoutineError::standardDescription(ErrorCode::SyntaxError) + u" ("_s + message +
                                u")"_s);
    case SQLITE_CORRUPT:
        return RoutineError(ErrorCode::DatabaseDamaged);
    default:
        return RoutineError(ErrorCode::Unspecified, failureDescription(rc));
    }
}

} // namespace kx
