#include "core/data/EngineErrors.h"
#include "core/services/RoutineError.h"

#include <QTest>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using namespace kx;

class TestEngineErrors : public QObject
{
    Q_OBJECT

private slots:
    void engineFailuresAreToldInItalian_data()
    {
        QTest::addColumn<int>("resultCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        const QString danneggiato = u"Il file della base dati è danneggiato."_s;
        const QString disco = u"Errore di lettura o scrittura sul disco della base dati."_s;
        QTest::newRow("malformed") << SQLITE_CORRUPT << u"database disk image is malformed"_s
                                   << ErrorCode::DatabaseDamaged << danneggiato;
        QTest::newRow("disk I/O") << SQLITE_IOERR << u"disk I/O error"_s << ErrorCode::Unspecified << disco;
        QTest::newRow("disk I/O, writing")
            << SQLITE_IOERR_WRITE << u"disk I/O error"_s << ErrorCode::Unspecified << disco;
        QTest::newRow("disk full") << SQLITE_FULL << u"database or disk is full"_s << ErrorCode::Unspecified
                                   << u"Spazio su disco esaurito: la base dati non può essere aggiornata."_s;
        QTest::newRow("read-only") << SQLITE_READONLY << u"attempt to write a readonly database"_s
                                   << ErrorCode::Unspecified
                                   << u"Impossibile aggiornare. Database o oggetto di sola lettura."_s;
        QTest::newRow("cannot open")
            << SQLITE_CANTOPEN << u"unable to open database file"_s << ErrorCode::Unspecified
            << u"Impossibile aprire il file della base dati o creare un file temporaneo nella sua cartella: "
               u"il file o la cartella non esistono, oppure manca l'autorizzazione."_s;
        QTest::newRow("not a database")
            << SQLITE_NOTADB << u"file is not a database"_s << ErrorCode::Unspecified
            << u"Formato di database non riconosciuto."_s;
        QTest::newRow("locked") << SQLITE_BUSY << u"database is locked"_s << ErrorCode::Unspecified
                                << u"Impossibile aggiornare; attualmente bloccato."_s;
        QTest::newRow("any other") << SQLITE_PROTOCOL << u"locking protocol"_s << ErrorCode::Unspecified
                                   << u"Errore del motore di database (codice 15)."_s;
        QTest::newRow("unknown table")
            << SQLITE_ERROR << u"no such table: Nessuna"_s << ErrorCode::TableNotFound
            << u"Impossibile trovare la tabella o la query di input 'Nessuna'."_s;
    }

    void engineFailuresAreToldInItalian()
    {
        QFETCH(int, resultCode);
        QFETCH(QString, message);
        QFETCH(int, number);
        QFETCH(QString, description);
        const RoutineError error = engineError(resultCode, message);
        QCOMPARE(error.number(), number);
        QCOMPARE(error.description(), description);
    }
};

QTEST_GUILESS_MAIN(TestEngineErrors)
#include "tst_EngineErrors.moc"
