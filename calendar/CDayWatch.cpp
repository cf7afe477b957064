#include "calendar/CDayWatch.h"
#include "calendar/TimeText.h"
#include "calendar/ZoneRules.h"
#include "platform/Clock.h"
#include <algorithm>

namespace {

constexpr int kMillisecondsPerDay = 24 * 60 * 60 * 1000;
constexpr int kLongestWait = 60 * 1000;
// A check this long after midnight finds the new date even on a clock a little behind
// the timer.
constexpr int kPastMidnight = 200;

}  // namespace

CDayWatch::CDayWatch(std::function<void(const DateTime& oldToday)> onChange)
    : m_onChange(std::move(onChange))
    , m_today(GetToday())
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.callOnTimeout([this]() { Check(); });
}

void CDayWatch::Start()
{
    m_today = GetToday();
    m_bStarted = true;
    Arm();
}

BOOL CDayWatch::Check()
{
    const bool bZoneChanged = RefreshTimeZone();
    const DateTime today = GetToday();
    const DateTime oldToday = m_today;
    m_today = today;
    if (m_bStarted)
        Arm();
    if (!bZoneChanged && today == oldToday)
        return FALSE;
    m_onChange(oldToday);
    return TRUE;
}

int CDayWatch::MillisecondsToNextCheck(const SYSTEMTIME& now)
{
    const int nElapsed = ((now.wHour * 60 + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
    return std::clamp(kMillisecondsPerDay - nElapsed + kPastMidnight, 1, kLongestWait);
}

void CDayWatch::Arm()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_timer.start(MillisecondsToNextCheck(now));
}
