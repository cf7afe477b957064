#include "reminders/CStoreWatch.h"

#include "pim/CPimStore.h"
#include <QFileInfo>
#include <QFileSystemWatcher>

CStoreWatch::CStoreWatch(std::shared_ptr<CPimStore> pStore, QObject* pParent)
    : QObject(pParent), m_pStore(std::move(pStore))
{
    m_nDataVersion = m_pStore->DataVersion();
    m_pWatcher = new QFileSystemWatcher(this);
    m_pWatcher->addPath(QFileInfo(m_pStore->Path()).absolutePath());
    WatchWal();
    connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this, &CStoreWatch::OnFileEvent);
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CStoreWatch::OnFileEvent);
}

CStoreWatch::~CStoreWatch() = default;

void CStoreWatch::WatchWal()
{
    const QString strWal = m_pStore->Path() + QStringLiteral("-wal");
    if (QFileInfo::exists(strWal) && !m_pWatcher->files().contains(strWal))
        m_pWatcher->addPath(strWal);
}

void CStoreWatch::OnFileEvent()
{
    WatchWal();
    const int64_t nVersion = m_pStore->DataVersion();
    if (nVersion < 0 || nVersion == m_nDataVersion)
        return;
    m_nDataVersion = nVersion;
    emit Changed();
}
