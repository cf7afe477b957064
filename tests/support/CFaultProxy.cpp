#include "tests/support/CFaultProxy.h"

#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

namespace {

constexpr qint64 kChunk = 1024 * 1024;

// The end of an HTTP message's head (after its blank line), or -1.
qsizetype HeadEnd(const QByteArray& message)
{
    const qsizetype nAt = message.indexOf("\r\n\r\n");
    return nAt < 0 ? -1 : nAt + 4;
}

// The head's lines but those named, with the lines added before the blank line.
QByteArray Rehead(const QByteArray& head, const QList<QByteArray>& drop, const QByteArray& add)
{
    QByteArray out;
    for (const QByteArray& line : head.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        const QByteArray name = trimmed.left(trimmed.indexOf(':')).toLower();
        if (!out.isEmpty() && drop.contains(name))
            continue;
        out += trimmed + "\r\n";
    }
    return out + add + "\r\n";
}

qint64 ContentLength(const QByteArray& head)
{
    for (const QByteArray& line : head.split('\n')) {
        if (line.toLower().startsWith("content-length:"))
            return line.mid(15).trimmed().toLongLong();
    }
    return 0;
}

} // namespace

CFaultProxy::~CFaultProxy()
{
    quit();
    wait();
}

bool CFaultProxy::Begin(const QString& strCertFile, const QString& strKeyFile)
{
    m_strCertFile = strCertFile;
    m_strKeyFile = strKeyFile;
    start();
    m_listening.acquire();
    return m_nPort != 0;
}

QUrl CFaultProxy::Through(const QUrl& url) const
{
    QUrl through = url;
    through.setPort(m_nPort);
    if (!m_strCertFile.isEmpty())
        through.setScheme(QStringLiteral("https"));
    return through;
}

void CFaultProxy::Inject(EFault fault, const QByteArray& match)
{
    QMutexLocker lock(&m_mutex);
    m_fault = fault;
    m_match = match;
    m_nHits = 0;
    m_requests.clear();
}

int CFaultProxy::Hits() const
{
    QMutexLocker lock(&m_mutex);
    return m_nHits;
}

QList<QByteArray> CFaultProxy::Requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

CFaultProxy::EFault CFaultProxy::FaultFor(const QByteArray& request)
{
    QMutexLocker lock(&m_mutex);
    m_requests << request.left(request.indexOf("\r\n"));
    if (m_fault == EFault::None || !request.contains(m_match))
        return EFault::None;
    ++m_nHits;
    return m_fault;
}

void CFaultProxy::run()
{
    QSslServer server;
    if (!m_strCertFile.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        const QList<QSslCertificate> certs = QSslCertificate::fromPath(m_strCertFile);
        QFile key(m_strKeyFile);
        if (!certs.isEmpty() && key.open(QIODevice::ReadOnly)) {
            tls.setLocalCertificate(certs[0]);
            tls.setPrivateKey(QSslKey(key.readAll(), QSsl::Rsa));
        }
        server.setSslConfiguration(tls);
    }
    // Without a certificate, a server of plain connections.
    QTcpServer plain;
    QTcpServer& listener = m_strCertFile.isEmpty() ? plain : server;
    if (listener.listen(QHostAddress::LocalHost, 0))
        m_nPort = listener.serverPort();
    QObject::connect(&listener, &QTcpServer::pendingConnectionAvailable, &listener, [&] {
        while (QTcpSocket* pClient = listener.nextPendingConnection())
            Serve(pClient);
    });
    m_listening.release();
    exec();
}

// Reads one whole request (head and the body its length announces), then answers it.
void CFaultProxy::Serve(QTcpSocket* pClient)
{
    auto pRequest = std::make_shared<QByteArray>();
    QObject::connect(pClient, &QTcpSocket::readyRead, pClient, [this, pClient, pRequest] {
        *pRequest += pClient->readAll();
        const qsizetype nHead = HeadEnd(*pRequest);
        if (nHead < 0 || pRequest->size() < nHead + ContentLength(pRequest->left(nHead)))
            return;
        const QByteArray request = *pRequest;
        pRequest->clear();
        Answer(pClient, request);
    });
    QObject::connect(pClient, &QTcpSocket::disconnected, pClient, &QObject::deleteLater);
}

void CFaultProxy::Answer(QTcpSocket* pClient, const QByteArray& request)
{
    const EFault fault = FaultFor(request);
    switch (fault) {
    case EFault::Status503:
        pClient->write("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        pClient->disconnectFromHost();
        return;
    case EFault::Silent:
        return;
    case EFault::Huge:
        SendHuge(pClient);
        return;
    case EFault::NoChange:
        SendNoChange(pClient, request);
        return;
    default:
        Forward(pClient, request, fault);
    }
}

// The request goes to the server on a connection that it closes after answering, asking
// for an answer that is not compressed (so that a fault can change its text); the answer,
// faulted or not, goes back the same way.
void CFaultProxy::Forward(QTcpSocket* pClient, const QByteArray& request, EFault fault)
{
    const qsizetype nHead = HeadEnd(request);
    const QByteArray forward = Rehead(request.left(nHead), {"connection", "accept-encoding"}, "Connection: close\r\n") + request.mid(nHead);
    auto* pServer = new QTcpSocket(pClient);
    auto pAnswer = std::make_shared<QByteArray>();
    QObject::connect(pServer, &QTcpSocket::connected, pServer, [pServer, forward] { pServer->write(forward); });
    QObject::connect(pServer, &QTcpSocket::readyRead, pServer, [pServer, pAnswer] { *pAnswer += pServer->readAll(); });
    QObject::connect(pServer, &QTcpSocket::disconnected, pServer, [pClient, pServer, pAnswer, fault] {
        *pAnswer += pServer->readAll();
        const qsizetype nAnswerHead = HeadEnd(*pAnswer);
        const QByteArray body = Faulted(pAnswer->mid(nAnswerHead), fault);
        if (fault == EFault::CutBody) {
            pClient->write(body.isEmpty() ? pAnswer->left(nAnswerHead / 2) : pAnswer->left(nAnswerHead) + body);
            QObject::connect(pClient, &QTcpSocket::bytesWritten, pClient, [pClient] {
                if (pClient->bytesToWrite() == 0)
                    pClient->abort();
            });
            return;
        }
        pClient->write(Rehead(pAnswer->left(nAnswerHead), {"connection", "content-length"},
                              "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n")
                       + body);
        pClient->disconnectFromHost();
    });
    pServer->connectToHost(m_server.host(), quint16(m_server.port()));
}

QByteArray CFaultProxy::Faulted(const QByteArray& body, EFault fault)
{
    switch (fault) {
    case EFault::CutBody:
        return body.left(body.size() / 2);
    case EFault::BrokenXml:
        return QByteArray(body).replace("</", "<//");
    case EFault::BrokenICal:
        return QByteArray(body).replace("END:VEVENT", "END:VTODO");
    default:
        return body;
    }
}

// A multistatus that goes on for kHugeBytes, written as fast as the client takes it.
void CFaultProxy::SendHuge(QTcpSocket* pClient)
{
    pClient->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml; charset=utf-8\r\nConnection: close\r\n\r\n"
                   "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\">");
    const QByteArray piece = "<response><href>/padding</href></response>";
    QByteArray chunk;
    while (chunk.size() < kChunk)
        chunk += piece;
    auto pnSent = std::make_shared<qint64>(0);
    const auto more = [pClient, chunk, pnSent] {
        if (pClient->bytesToWrite() >= kChunk || pClient->state() != QAbstractSocket::ConnectedState)
            return;
        if (*pnSent >= kHugeBytes) {
            pClient->write("</multistatus>");
            pClient->disconnectFromHost();
            *pnSent = -kHugeBytes * 2;   // done
            return;
        }
        if (*pnSent >= 0) {
            pClient->write(chunk);
            *pnSent += chunk.size();
        }
    };
    QObject::connect(pClient, &QTcpSocket::bytesWritten, pClient, more);
    more();
}

void CFaultProxy::SendNoChange(QTcpSocket* pClient, const QByteArray& request)
{
    static const QRegularExpression token(QStringLiteral("<(?:\\w+:)?sync-token>([^<]*)</"));
    const QByteArray body = "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\"><sync-token>"
                            + token.match(QString::fromUtf8(request)).captured(1).toUtf8() + "</sync-token></multistatus>";
    pClient->write("HTTP/1.1 207 Multi-Status\r\nContent-Type: application/xml; charset=utf-8\r\nContent-Length: "
                   + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    pClient->disconnectFromHost();
}
