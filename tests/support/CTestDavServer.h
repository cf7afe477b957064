#pragma once
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <utility>

// A real CalDAV server on 127.0.0.1, on a free port, with its storage in a temporary
// folder: Radicale with a password user, or Xandikos (which has no login of its own).
class CTestDavServer
{
public:
    enum class Kind { Radicale, Xandikos };
    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "pa55 wörd";

    explicit CTestDavServer(Kind kind) : m_kind(kind) {}
    ~CTestDavServer() { Kill(); }

    // Starts the server (again, on the same port and folder) and waits until it answers.
    bool Start();
    void Kill();              // SIGKILL, like a crash
    QUrl Root() const;        // http://127.0.0.1:PORT/
    QUrl NewCalendar(const QString& strName);   // made with MKCOL; empty URL on failure
    QUrl StartWithCalendar(const QString& strName) { return Start() ? NewCalendar(strName) : QUrl(); }
    QString Error() const { return m_strError; }
    // Writes resources (file name and text) straight into the storage of that calendar,
    // much faster than a request each; call it before the calendar's first listing.
    bool WriteResources(const QString& strName, const QList<std::pair<QString, QByteArray>>& resources);

private:
    bool WaitUntilListening();

    Kind m_kind;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_nPort = 0;
    QString m_strError;
};
