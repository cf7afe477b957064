#pragma once
// Keeps the window program single-instance: the first launch listens on a local socket
// named after the executable's path; a later launch asks it to raise its window and ends.
#include <QObject>
#include <QString>

class QLocalServer;

class CSingleInstance : public QObject {
    Q_OBJECT
public:
    explicit CSingleInstance(const QString& strExecutablePath, QObject* pParent = nullptr);
    ~CSingleInstance() override;

    // True when this is the only instance (and now listens); false when a running
    // instance was asked to come to the front.
    bool Claim();
    QString GetServerName() const { return m_strName; }

signals:
    // A later launch asked this instance to show itself.
    void activateRequested();

private:
    bool AskRunningInstance();
    void OnNewConnection();

    QString m_strName;
    QLocalServer* m_pServer = nullptr;
};
