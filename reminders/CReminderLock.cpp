#include "reminders/CReminderLock.h"

#include <QFile>
#include <QSocketNotifier>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <unistd.h>

CReminderLock::CReminderLock(const QString& strStorePath, QObject* pParent)
    : QObject(pParent), m_strPath(LockPathOf(strStorePath))
{
}

CReminderLock::~CReminderLock()
{
    StopWatching();
    if (m_nFd >= 0)
        close(m_nFd);
}

QString CReminderLock::LockPathOf(const QString& strStorePath)
{
    return strStorePath + QStringLiteral("-reminders.lock");
}

bool CReminderLock::TryLock()
{
    m_bHeld = m_nFd >= 0 && flock(m_nFd, LOCK_EX | LOCK_NB) == 0;
    return m_bHeld;
}

bool CReminderLock::Take()
{
    if (m_bHeld)
        return true;
    if (m_nFd < 0)
        m_nFd = open(QFile::encodeName(m_strPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Watching starts before the first try, so that a holder ending in between is seen.
    if (m_nFd >= 0 && m_nWatchFd < 0) {
        m_nWatchFd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_nWatchFd >= 0
            && inotify_add_watch(m_nWatchFd, QFile::encodeName(m_strPath).constData(), IN_CLOSE) >= 0) {
            m_pNotifier = new QSocketNotifier(m_nWatchFd, QSocketNotifier::Read, this);
            connect(m_pNotifier, &QSocketNotifier::activated, this, &CReminderLock::OnFileEvent);
        }
    }
    if (TryLock())
        StopWatching();
    return m_bHeld;
}

void CReminderLock::OnFileEvent()
{
    char buffer[4096];
    while (read(m_nWatchFd, buffer, sizeof buffer) > 0) {
    }
    if (!TryLock())
        return;
    StopWatching();
    emit Acquired();
}

void CReminderLock::StopWatching()
{
    delete m_pNotifier;
    m_pNotifier = nullptr;
    if (m_nWatchFd >= 0)
        close(m_nWatchFd);
    m_nWatchFd = -1;
}
