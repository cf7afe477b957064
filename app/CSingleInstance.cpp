#include "app/CSingleInstance.h"
#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <unistd.h>

namespace {

constexpr int kAttempts = 40;
constexpr int kAttemptPauseMs = 250;
constexpr int kConnectTimeoutMs = 500;
const char kRaiseRequest[] = "raise\n";
const char kOpenRequest[] = "open ";

}  // namespace

CSingleInstance::CSingleInstance(const QString& strExecutablePath, QObject* pParent)
    : QObject(pParent)
{
    // The path decides the instance; the user id keeps users apart on a shared machine.
    const QByteArray hash = QCryptographicHash::hash(strExecutablePath.toUtf8(), QCryptographicHash::Sha1).toHex();
    m_strName = QStringLiteral("quillday-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(16)));
}

CSingleInstance::~CSingleInstance() = default;

bool CSingleInstance::AskRunningInstance(const QByteArray& request)
{
    QLocalSocket socket;
    socket.connectToServer(m_strName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(request);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool CSingleInstance::Claim(const QString& strOpenItem)
{
    const QByteArray request = strOpenItem.isEmpty() ? QByteArray(kRaiseRequest)
                                                     : kOpenRequest + strOpenItem.toUtf8() + '\n';
    for (int nAttempt = 0; nAttempt < kAttempts; ++nAttempt) {
        if (AskRunningInstance(request))
            return false;
        m_pServer = new QLocalServer(this);
        if (m_pServer->listen(m_strName))
            break;
        delete m_pServer;
        m_pServer = nullptr;
        // The name is taken. An instance that has just begun to listen answers now;
        // a name without a listener is left over from a crashed run: take it over.
        if (nAttempt == 0) {
            if (AskRunningInstance(request))
                return false;
            QLocalServer::removeServer(m_strName);
            continue;
        }
        QThread::msleep(kAttemptPauseMs);
    }
    if (m_pServer != nullptr)
        connect(m_pServer, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    return true;
}

void CSingleInstance::OnNewConnection()
{
    while (QLocalSocket* pSocket = m_pServer->nextPendingConnection()) {
        connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket]() { ReadRequests(pSocket); });
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        ReadRequests(pSocket);
    }
}

void CSingleInstance::ReadRequests(QLocalSocket* pSocket)
{
    while (pSocket->canReadLine()) {
        const QByteArray line = pSocket->readLine().trimmed();
        emit activateRequested();
        if (line.startsWith(kOpenRequest))
            emit openRequested(QString::fromUtf8(line.mid(int(sizeof kOpenRequest) - 1)));
    }
}
