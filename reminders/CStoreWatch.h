#pragma once
// Tells when another process committed to the store, without polling: the store's -wal
// file (written at every commit) and its folder (where the -wal file comes and goes) are
// watched, and a change is confirmed with the connection's PRAGMA data_version, which
// this process's own commits leave alone. A writer makes its commit visible in the -shm
// index (shared memory, which no file event reports) just after its last write to the
// -wal file: an event not confirmed at once is checked again a few times shortly after.
#include <QObject>
#include <cstdint>
#include <memory>

class CPimStore;
class QFileSystemWatcher;
class QTimer;

class CStoreWatch : public QObject {
    Q_OBJECT
public:
    explicit CStoreWatch(std::shared_ptr<CPimStore> pStore, QObject* pParent = nullptr);
    ~CStoreWatch() override;

signals:
    void Changed();

private:
    void OnFileEvent();
    void OnRecheck();
    // Emits Changed when the data version moved; true then.
    bool Confirm();
    void WatchWal();

    std::shared_ptr<CPimStore> m_pStore;
    QFileSystemWatcher* m_pWatcher = nullptr;
    QTimer* m_pRecheck = nullptr;
    int m_nRecheck = 0;  // the checks after the last event so far
    int64_t m_nDataVersion = -1;
};
