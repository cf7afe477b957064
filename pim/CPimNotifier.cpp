#include "pim/CPimNotifier.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {

// The periodic check that catches what the file watch misses (a -wal file created
// after the watch was set up, a checkpoint, a file system without change events).
constexpr int kCheckIntervalMs = 400;

}  // namespace

CPimNotifier::CPimNotifier(const QString& strStorePath, std::function<int64_t()> fnDataVersion, QObject* pParent)
    : QObject(pParent), m_strStorePath(strStorePath), m_fnDataVersion(std::move(fnDataVersion))
{
    m_nLastDataVersion = m_fnDataVersion ? m_fnDataVersion() : -1;
    m_timer.setInterval(kCheckIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CPimNotifier::CheckExternalChanges);
}

CPimNotifier::~CPimNotifier() = default;

QMetaObject::Connection CPimNotifier::RegisterReceiver(QObject* pReceiver,
                                                       std::function<void(DWORD, int32_t, int)> fn)
{
    // Watching starts with the first receiver, and only inside an application with an
    // event loop (command-line modes that only write never start it).
    if (QCoreApplication::instance() != nullptr && !m_timer.isActive()) {
        m_nLastDataVersion = m_fnDataVersion ? m_fnDataVersion() : -1;
        WatchWalFile();
        m_timer.start();
    }
    return connect(this, &CPimNotifier::PimChanged, pReceiver,
                   [fn = std::move(fn)](DWORD nType, int32_t nOid, int nItemType) { fn(nType, nOid, nItemType); });
}

void CPimNotifier::WatchWalFile()
{
    const QString strWal = m_strStorePath + QStringLiteral("-wal");
    if (!QFileInfo::exists(strWal))
        return;
    if (m_pWatcher == nullptr) {
        m_pWatcher = new QFileSystemWatcher(this);
        connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CPimNotifier::CheckExternalChanges);
    }
    if (!m_pWatcher->files().contains(strWal))
        m_pWatcher->addPath(strWal);
}

void CPimNotifier::PostChange(DWORD nType, int32_t nOid, int nItemType)
{
    m_pending.push_back({nType, nOid, nItemType});
    if (!m_bDeliveryPosted) {
        m_bDeliveryPosted = true;
        QMetaObject::invokeMethod(this, &CPimNotifier::DeliverPending, Qt::QueuedConnection);
    }
}

void CPimNotifier::CheckExternalChanges()
{
    if (m_timer.isActive())
        WatchWalFile();  // the -wal file may have been created or replaced since
    const int64_t nVersion = m_fnDataVersion ? m_fnDataVersion() : -1;
    if (nVersion < 0 || nVersion == m_nLastDataVersion)
        return;
    m_nLastDataVersion = nVersion;
    // Another connection committed: which items it changed is not known here.
    PostChange(0x406, 0, 0);
}

void CPimNotifier::DeliverPending()
{
    m_bDeliveryPosted = false;
    const QVector<Pending> pending = std::exchange(m_pending, {});
    for (const Pending& p : pending)
        emit PimChanged(p.nType, p.nOid, p.nItemType);
}
