#pragma once
#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <QUrl>

class QTcpSocket;

// An HTTP proxy of the tests' own in front of a server on 127.0.0.1, in a thread of its own
// (so that a test may wait for a child process meanwhile). Each request goes to the server
// on a connection of its own; the requests whose text holds a chosen piece are answered
// with a fault instead.
class CFaultProxy : public QThread
{
public:
    enum class EFault {
        None,
        Status503,    // "503 Service Unavailable" without asking the server
        Silent,       // the request is taken and never answered
        CutBody,      // the server's answer cut off halfway through its body (its head when it has no body)
        BrokenXml,    // the server's answer with its XML made malformed
        BrokenICal,   // the server's answer with its calendar data made malformed
        Huge,         // a 207 whose body of 100 MB has no announced length
        NoChange,     // at once, without asking the server, a sync-collection answer that lists
                      // nothing and gives back the request's own sync token
    };
    static constexpr qint64 kHugeBytes = 100 * 1024 * 1024;

    explicit CFaultProxy(const QUrl& server) : m_server(server) {}
    ~CFaultProxy() override;

    // Listens on a free port of 127.0.0.1; false when it cannot. With a certificate and its
    // key (PEM files), it speaks TLS to its clients (and plain HTTP to the server).
    bool Begin(const QString& strCertFile = {}, const QString& strKeyFile = {});
    // The address through the proxy of a server address (https with TLS).
    QUrl Through(const QUrl& url) const;
    // Requests holding `match` (in their request line, headers or body) get the fault
    // from now on; EFault::None ends it.
    void Inject(EFault fault, const QByteArray& match = {});
    // Requests that got the fault so far.
    int Hits() const;
    // The request lines ("REPORT /alice/week/ HTTP/1.1") of the requests taken since Begin
    // or the last Inject.
    QList<QByteArray> Requests() const;

protected:
    void run() override;

private:
    void Serve(QTcpSocket* pClient);
    void Answer(QTcpSocket* pClient, const QByteArray& request);
    void Forward(QTcpSocket* pClient, const QByteArray& request, EFault fault);
    static void SendHuge(QTcpSocket* pClient);
    static void SendNoChange(QTcpSocket* pClient, const QByteArray& request);
    static QByteArray Faulted(const QByteArray& answer, EFault fault);
    EFault FaultFor(const QByteArray& request);

    QUrl m_server;
    QString m_strCertFile;
    QString m_strKeyFile;
    quint16 m_nPort = 0;
    QSemaphore m_listening;
    mutable QMutex m_mutex;
    EFault m_fault = EFault::None;
    QByteArray m_match;
    int m_nHits = 0;
    QList<QByteArray> m_requests;
};
