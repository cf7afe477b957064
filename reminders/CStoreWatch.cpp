#include "reminders/CStoreWatch.h"

#include "pim/CPimStore.h"
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <iterator>

namespace {

// Milliseconds after an unconfirmed event (each after the one before) at which the data
// version is checked again.
constexpr int kRecheckDelaysMs[] = {50, 250, 1000};

}  // namespace

CStoreWatch::CStoreWatch(std::shared_ptr<CPimStore> pStore, QObject* pParent)
    : QObject(pParent), m_pStore(std::move(pStore))
{
    m_nDataVersion = m_pStore->DataVersion();
    m_pWatcher = new QFileSystemWatcher(this);
    m_pWatcher->addPath(QFileInfo(m_pStore->Path()).absolutePath());
    WatchWal();
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CStoreWatch::OnFileEvent);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CStoreWatch::OnFileEvent);
    m_pRecheck = new QTimer(this);
    m_pRecheck->setSingleShot(true);
    connect(m_pRecheck, &QTimer::timeout, this, &CStoreWatch::OnRecheck);
}

CStoreWatch::~CStoreWatch() = default;

void CStoreWatch::WatchWal()
{
    const QString strWal = m_pStore->Path() + QStringLiteral("-wal");
    if (QFileInfo::exists(strWal) && !m_pWatcher->files().contains(strWal))
        m_pWatcher->addPath(strWal);
}

bool CStoreWatch::Confirm()
{
    const int64_t nVersion = m_pStore->DataVersion();
    if (nVersion < 0 || nVersion == m_nDataVersion)
        return false;
    m_nDataVersion = nVersion;
    m_pRecheck->stop();
    emit Changed();
    return true;
}

void CStoreWatch::OnFileEvent()
{
    WatchWal();
    if (Confirm())
        return;
    m_nRecheck = 0;
    m_pRecheck->start(kRecheckDelaysMs[0]);
}

void CStoreWatch::OnRecheck()
{
    if (Confirm() || ++m_nRecheck >= int(std::size(kRecheckDelaysMs)))
        return;
    m_pRecheck->start(kRecheckDelaysMs[m_nRecheck]);
}
