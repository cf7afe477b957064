#pragma once
// Who rings the reminders of a store: the one process (window or background) holding the
// lock file beside the store (STORE-reminders.lock, an flock that the system lets go of
// when its holder ends, however it ends). A process that finds it held waits without
// polling: the file is watched for its holder closing it, and the lock is tried again then.
#include <QObject>
#include <QString>

class QSocketNotifier;

class CReminderLock : public QObject {
    Q_OBJECT
public:
    explicit CReminderLock(const QString& strStorePath, QObject* pParent = nullptr);
    ~CReminderLock() override;

    static QString LockPathOf(const QString& strStorePath);

    // Takes the lock when it is free; otherwise waits for it and emits Acquired once it is
    // taken. True when it is held on return.
    bool Take();
    bool IsHeld() const { return m_bHeld; }

signals:
    void Acquired();

private:
    bool TryLock();
    void OnFileEvent();
    void StopWatching();

    QString m_strPath;
    int m_nFd = -1;
    int m_nWatchFd = -1;
    QSocketNotifier* m_pNotifier = nullptr;
    bool m_bHeld = false;
};
