#pragma once
// Change notifications of one store file. Every committed create, change or delete
// (items saved through this process, or commits made by another process on the same
// file) is delivered as the signal PimChanged, always later from the event loop of the
// notifier's thread, never inside the call that saved. Codes: DB_CEOID_CREATED (0x401),
// DB_CEOID_CHANGED (0x406), DB_CEOID_RECORD_DELETED (0x403). For a commit by another
// process the code is DB_CEOID_CHANGED with OID 0 and item type 0, noticed within a
// second (file watch on the -wal file, confirmed with PRAGMA data_version, plus a
// periodic check).
#include "platform/WinTypes.h"
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>
#include <cstdint>
#include <functional>

class QFileSystemWatcher;

class CPimNotifier : public QObject {
    Q_OBJECT
public:
    // fnDataVersion returns the store connection's PRAGMA data_version (or -1).
    CPimNotifier(const QString& strStorePath, std::function<int64_t()> fnDataVersion,
                 QObject* pParent = nullptr);
    ~CPimNotifier() override;

    // Connects a receiver: fn runs on pReceiver's thread for every notification, for as
    // long as pReceiver lives. Returns the connection.
    QMetaObject::Connection RegisterReceiver(QObject* pReceiver,
                                             std::function<void(DWORD nType, int32_t nOid, int nItemType)> fn);

    // Called by the store after each commit of its own; queued for later delivery.
    void PostChange(DWORD nType, int32_t nOid, int nItemType);
    // Checks at once whether another process committed (also run by the timer).
    void CheckExternalChanges();

signals:
    void PimChanged(DWORD nType, int32_t nOid, int nItemType);

private slots:
    void DeliverPending();

private:
    void WatchWalFile();
    struct Pending {
        DWORD nType;
        int32_t nOid;
        int nItemType;
    };
    QString m_strStorePath;
    std::function<int64_t()> m_fnDataVersion;
    int64_t m_nLastDataVersion = -1;
    QVector<Pending> m_pending;
    bool m_bDeliveryPosted = false;
    QFileSystemWatcher* m_pWatcher = nullptr;
    QTimer m_timer;
};
