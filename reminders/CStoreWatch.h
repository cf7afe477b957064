#pragma once
// Tells when another process committed to the store, without polling: the store's -wal
// file (written at every commit) and its folder (where the -wal file comes and goes) are
// watched, and a change is confirmed with the connection's PRAGMA data_version, which
// this process's own commits leave alone.
#include <QObject>
#include <cstdint>
#include <memory>

class CPimStore;
class QFileSystemWatcher;

class CStoreWatch : public QObject {
    Q_OBJECT
public:
    explicit CStoreWatch(std::shared_ptr<CPimStore> pStore, QObject* pParent = nullptr);
    ~CStoreWatch() override;

signals:
    void Changed();

private:
    void OnFileEvent();
    void WatchWal();

    std::shared_ptr<CPimStore> m_pStore;
    QFileSystemWatcher* m_pWatcher = nullptr;
    int64_t m_nDataVersion = -1;
};
