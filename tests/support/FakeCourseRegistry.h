#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>
#include <memory>

class FakeServer;
struct RecordedRequest;
struct ScriptedReply;

/**
 * The external course registry's SOAP service as the tests and the demo meet it: its description
 * (GET ...?WSDL, document/literal, one operation AggiornaPercorsiVordan with one text parameter whose
 * endpoint is the address the request came to) and that operation, which records each argument as the
 * service reads it (unescaped) and can answer one call with a fault. Its replies keep the connection
 * open for the next request.
 *
 * A server with the registry installed also serves as a forward proxy: a request in absolute form
 * ("POST http://host:port/path") reaches the route of its path, and the description then names the
 * host the client asked for, so the calls go through the proxy too.
 */
class FakeCourseRegistry
{
public:
    /** The arguments of the calls the registry accepted, in order. */
    QStringList documents() const;
    /** Every call of the operation, faults included. */
    int calls() const;
    /** The call number `n` (from 1) gets a SOAP fault with this text; 0 for none. */
    void failAtCall(int n, const QString &faultText);

    /** Called on the server's thread. */
    ScriptedReply answer(const RecordedRequest &request);

private:
    mutable QMutex m_mutex;
    QStringList m_documents;
    int m_calls = 0;
    int m_faultAt = 0;
    QString m_faultText;
};

/** The registry on the server's path of the registry service, replacing what was there. */
std::shared_ptr<FakeCourseRegistry> installCourseRegistry(FakeServer &server);

/** The address of a path on a loopback port where nothing listens: the registry unreachable. */
QString unreachableUrl(const QString &path);
