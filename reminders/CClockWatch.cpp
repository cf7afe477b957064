#include "reminders/CClockWatch.h"

#include "calendar/ZoneRules.h"
#include "platform/Clock.h"
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// With nothing to wake for, the timer is still armed this far ahead: only an armed timer
// is cancelled when the clock is set.
constexpr int64_t kIdleSeconds = 366 * 86400;
const QString kZoneFolder = QStringLiteral("/etc");
const QString kZoneFile = QStringLiteral("/etc/localtime");
const QString kZoneNameFile = QStringLiteral("/etc/timezone");

}  // namespace

CClockWatch::CClockWatch(QObject* pParent) : QObject(pParent)
{
    m_nTimerFd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_nTimerFd >= 0) {
        m_pNotifier = new QSocketNotifier(m_nTimerFd, QSocketNotifier::Read, this);
        connect(m_pNotifier, &QSocketNotifier::activated, this, &CClockWatch::OnTimer);
    }
    // The zone file is usually a link that is replaced, not written: the folder tells.
    m_pZoneWatch = new QFileSystemWatcher(this);
    m_pZoneWatch->addPath(kZoneFolder);
    for (const QString& strFile : {kZoneFile, kZoneNameFile}) {
        if (QFileInfo::exists(strFile))
            m_pZoneWatch->addPath(strFile);
    }
    connect(m_pZoneWatch, &QFileSystemWatcher::directoryChanged, this, &CClockWatch::OnZoneFiles);
    connect(m_pZoneWatch, &QFileSystemWatcher::fileChanged, this, &CClockWatch::OnZoneFiles);
    m_nWakeAt = std::numeric_limits<int64_t>::max();
    Arm();
}

CClockWatch::~CClockWatch()
{
    if (m_nTimerFd >= 0)
        close(m_nTimerFd);
}

void CClockWatch::WakeAt(int64_t nUtc)
{
    m_nWakeAt = nUtc;
    Arm();
}

// The program's clock may run shifted from the real one: the timer is set at the real
// time that is as far from the real now as nWakeAt is from the program's now.
void CClockWatch::Arm()
{
    if (m_nTimerFd < 0)
        return;
    const int64_t nRealNowMs = QDateTime::currentMSecsSinceEpoch();
    const int64_t nProgramNow = GetUtcTime();
    const bool bIdle = IsClockFixed() || m_nWakeAt - nProgramNow > kIdleSeconds;
    const int64_t nDelayMs = bIdle ? kIdleSeconds * 1000 : std::max<int64_t>(0, (m_nWakeAt - nProgramNow) * 1000);
    // The program's clock counts whole seconds: wake at the start of the due second.
    const int64_t nTargetMs = nRealNowMs + nDelayMs - (bIdle ? 0 : nRealNowMs % 1000);
    itimerspec wake{};
    wake.it_value.tv_sec = static_cast<time_t>(nTargetMs / 1000);
    wake.it_value.tv_nsec = static_cast<long>(nTargetMs % 1000) * 1000000L;
    if (wake.it_value.tv_sec == 0 && wake.it_value.tv_nsec == 0)
        wake.it_value.tv_nsec = 1;  // zero would disarm it
    timerfd_settime(m_nTimerFd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &wake, nullptr);
}

void CClockWatch::OnTimer()
{
    uint64_t nExpirations = 0;
    const ssize_t nRead = read(m_nTimerFd, &nExpirations, sizeof nExpirations);
    if (nRead < 0 && errno == EAGAIN)
        return;
    if (nRead < 0 && errno == ECANCELED) {
        Arm();
        emit ClockChanged();
        return;
    }
    if (GetUtcTime() < m_nWakeAt) {
        Arm();  // the idle timer ran out, or the clock went back a little
        return;
    }
    emit Due();
}

void CClockWatch::OnZoneFiles()
{
    // A replaced file drops out of the watch; a new one is watched again.
    for (const QString& strFile : {kZoneFile, kZoneNameFile}) {
        if (QFileInfo::exists(strFile) && !m_pZoneWatch->files().contains(strFile))
            m_pZoneWatch->addPath(strFile);
    }
    if (RefreshTimeZone()) {
        tzset();
        Arm();
        emit ClockChanged();
    }
}
