#pragma once
// What the sync tests share: a week of items to sync, and a device (a store of its own)
// that syncs with a calendar and shows what it holds.
#include "pim/CPimStore.h"
#include "pim/IPOutlookItem.h"
#include "sync/CSyncEngine.h"
#include "tests/support/CTestDavServer.h"
#include "tests/support/PimTestStore.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <memory>

// Appointments, all-day and multi-day items, a zoned weekly series with a deleted and a
// changed occurrence, and a task: five items, seven rows.
extern const QByteArray kSyncWeek;

// n appointments, one a day from 2026-12-01.
QByteArray ManyItems(int n);

struct SyncDevice
{
    CTestStore store;
    std::shared_ptr<CPimStore> pStore;

    SyncDevice() { CPimStore::Open(store.Path(), &pStore); }

    void Import(const QByteArray& text);
    SyncReport Sync(const QUrl& calendar, const QString& strPassword = QString::fromUtf8(CTestDavServer::kPassword),
                    int nTimeoutMs = 3000);
    // Every stored row as a line: what both devices must agree on.
    QStringList Week();
    int32_t OidOf(const QString& strUid);
    QStringList Subjects();
    void Rename(const QString& strUid, const QString& strSubject);
    void Delete(const QString& strUid);
    // Ticks a task off (a recurring one moves to its next occurrence, leaving a done copy).
    void Complete(const QString& strUid);
    void SetInk(const QString& strUid, const QByteArray& notes);
    QByteArray Ink(const QString& strUid);
    // The stored single or series of that UID; null when there is none.
    std::unique_ptr<IPOutlookItem> Item(const QString& strUid);
};

// A self-signed certificate for 127.0.0.1 and its key, made with openssl in that folder
// (cert.pem, key.pem); its SHA-256 fingerprint as the program shows it, empty on failure.
QString MakeSelfSignedCertificate(const QString& strDir);

QString Why(const SyncReport& report);
void ExpectClean(const SyncReport& report);
