#include "tests/support/CTestDavServer.h"

#include "sync/CDavClient.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

quint16 FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

bool CTestDavServer::Start()
{
    if (m_nPort == 0)
        m_nPort = FreePort();
    const QString strData = m_dir.filePath("data");
    QStringList args;
    QString strProgram;
    if (m_kind == Kind::Radicale) {
        const QString strUsers = m_dir.filePath("users");
        if (!QFile::exists(strUsers)) {
            const int nRc = QProcess::execute("htpasswd", {"-bcB", strUsers, kUser, QString::fromUtf8(kPassword)});
            if (nRc != 0) {
                m_strError = "htpasswd failed";
                return false;
            }
        }
        strProgram = "radicale";
        args << "--server-hosts" << QString("127.0.0.1:%1").arg(m_nPort)
             << "--storage-filesystem-folder" << strData << "--auth-type" << "htpasswd"
             << "--auth-htpasswd-filename" << strUsers << "--auth-htpasswd-encryption" << "bcrypt";
    } else {
        strProgram = "xandikos";
        args << "-d" << strData << "-l" << "127.0.0.1" << "-p" << QString::number(m_nPort)
             << "--autocreate" << "--current-user-principal" << QString("/%1/").arg(kUser);
    }
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(strProgram, args);
    if (!m_process.waitForStarted(10000)) {
        m_strError = strProgram + " did not start: " + m_process.errorString();
        return false;
    }
    return WaitUntilListening();
}

bool CTestDavServer::WaitUntilListening()
{
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running) {
            m_strError = "the server ended at start";
            return false;
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_nPort);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(100);
    }
    m_strError = "the server did not listen within 20 s";
    return false;
}

void CTestDavServer::Kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}

QUrl CTestDavServer::Root() const
{
    return QUrl(QString("http://127.0.0.1:%1/").arg(m_nPort));
}

QUrl CTestDavServer::NewCalendar(const QString& strName)
{
    const QByteArray body =
        "<?xml version=\"1.0\"?><D:mkcol xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
        "<D:set><D:prop><D:resourcetype><D:collection/><C:calendar/></D:resourcetype>"
        "<D:displayname>" + strName.toUtf8() + "</D:displayname></D:prop></D:set></D:mkcol>";
    // Xandikos keeps the calendars in a "calendars" home below the principal.
    const QString strPath = m_kind == Kind::Xandikos ? QString("/%1/calendars/%2/") : QString("/%1/%2/");
    const QUrl url = Root().resolved(QUrl(strPath.arg(kUser, strName)));
    CDavClient client(kUser, QString::fromUtf8(kPassword));
    const DavReply reply = client.Send("MKCOL", url, body);
    if (reply.nStatus != 201) {
        m_strError = QString("MKCOL answered %1 %2").arg(reply.nStatus).arg(reply.strError);
        return {};
    }
    return url;
}

// Radicale reads a calendar's folder as it is; Xandikos reads what is committed to the
// calendar's git repository.
bool CTestDavServer::WriteResources(const QString& strName, const QList<std::pair<QString, QByteArray>>& resources)
{
    const QString strFolder = m_kind == Kind::Radicale ? QString("collection-root/%1/%2").arg(kUser, strName)
                                                       : QString("%1/calendars/%2").arg(kUser, strName);
    const QDir folder(m_dir.filePath("data/" + strFolder));
    for (const auto& [strFile, text] : resources) {
        QFile file(folder.filePath(strFile));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
            m_strError = "cannot write " + file.fileName();
            return false;
        }
    }
    if (m_kind == Kind::Radicale)
        return true;
    QProcess git;
    git.setWorkingDirectory(folder.path());
    git.start("git", {"add", "--all"});
    bool bOk = git.waitForFinished(120000) && git.exitCode() == 0;
    git.start("git", {"-c", "user.name=test", "-c", "user.email=test@127.0.0.1", "commit", "--quiet", "-m", "resources"});
    bOk = bOk && git.waitForFinished(120000) && git.exitCode() == 0;
    if (!bOk)
        m_strError = "git could not commit the resources in " + folder.path();
    return bOk;
}
