#pragma once
// Keeps the window program single-instance: the first launch listens on a local socket
// named after the executable's path; a later launch asks it to raise its window (and to
// open an item) and ends. A request is one line: "raise", or "open " and the item.
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& strExecutablePath, QObject* pParent = nullptr);
    ~CSingleInstance() override;

    // True when this is the only instance (and now listens); false when a running
    // instance was asked to come to the front, and to open strOpenItem when given.
    bool Claim(const QString& strOpenItem = QString());
    QString GetServerName() const { return m_strName; }

signals:
    // A later launch asked this instance to show itself.
    void activateRequested();
    // ... and to open an item (the text of --open-item).
    void openRequested(const QString& strItem);

private:
    bool AskRunningInstance(const QByteArray& request);
    void OnNewConnection();
    void ReadRequests(QLocalSocket* pSocket);

    QString m_strName;
    QLocalServer* m_pServer = nullptr;
};
