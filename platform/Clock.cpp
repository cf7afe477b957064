#include "platform/Clock.h"

#include "platform/IsoDate.h"
#include <QDate>
#include <QDateTime>

namespace {

std::optional<SYSTEMTIME> g_fixedLocalTime;

SYSTEMTIME SystemTimeFromQt(const QDateTime& dt)
{
    SYSTEMTIME st;
    const QDate date = dt.date();
    const QTime time = dt.time();
    st.wYear = static_cast<uint16_t>(date.year());
    st.wMonth = static_cast<uint16_t>(date.month());
    st.wDayOfWeek = static_cast<uint16_t>(date.dayOfWeek() % 7);  // Qt: 7 = Sunday
    st.wDay = static_cast<uint16_t>(date.day());
    st.wHour = static_cast<uint16_t>(time.hour());
    st.wMinute = static_cast<uint16_t>(time.minute());
    st.wSecond = static_cast<uint16_t>(time.second());
    st.wMilliseconds = static_cast<uint16_t>(time.msec());
    return st;
}

// QUILLDAY_NOW as "YYYY-MM-DDTHH:MM:SS" (local wall time); nothing when unset or unreadable.
std::optional<SYSTEMTIME> EnvironmentLocalTime()
{
    const QString text = qEnvironmentVariable("QUILLDAY_NOW");
    if (text.isEmpty())
        return std::nullopt;
    if (text.size() != 19 || text[10] != u'T')
        return std::nullopt;
    const std::optional<QDate> date = ParseIsoDate(QStringView(text).left(10));
    const std::optional<QTime> time = ParseIsoTime(QStringView(text).mid(11));
    if (!date || !time)
        return std::nullopt;
    // Wall time as given: no zone conversion, so a time skipped by daylight saving stays.
    return SystemTimeFromQt(QDateTime(*date, *time, Qt::UTC));
}

// The fixed local time, if the clock stands still.
std::optional<SYSTEMTIME> FixedLocalTime()
{
    return g_fixedLocalTime ? g_fixedLocalTime : EnvironmentLocalTime();
}

// QUILLDAY_CLOCK_OFFSET in milliseconds; 0 when unset or unreadable.
int64_t ClockOffsetMs()
{
    bool bOk = false;
    const qint64 nSeconds = qEnvironmentVariable("QUILLDAY_CLOCK_OFFSET").toLongLong(&bOk);
    return bOk ? nSeconds * 1000 : 0;
}

QDateTime RunningClock()
{
    return QDateTime::fromMSecsSinceEpoch(QDateTime::currentMSecsSinceEpoch() + ClockOffsetMs());
}

}  // namespace

void GetLocalTime(SYSTEMTIME* pSt)
{
    if (!pSt)
        return;
    if (const std::optional<SYSTEMTIME> st = FixedLocalTime()) {
        *pSt = *st;
        return;
    }
    *pSt = SystemTimeFromQt(RunningClock());
}

int64_t GetUtcTime()
{
    if (const std::optional<SYSTEMTIME> st = FixedLocalTime()) {
        const QDateTime local(QDate(st->wYear, st->wMonth, st->wDay), QTime(st->wHour, st->wMinute, st->wSecond),
                              Qt::LocalTime);
        return local.toSecsSinceEpoch();
    }
    return RunningClock().toSecsSinceEpoch();
}

bool IsClockFixed()
{
    return FixedLocalTime().has_value();
}

void SetFixedLocalTime(std::optional<SYSTEMTIME> st)
{
    if (st) {
        // Keep the weekday consistent with the date, as the real clock would.
        const QDate date(st->wYear, st->wMonth, st->wDay);
        if (date.isValid())
            st->wDayOfWeek = static_cast<uint16_t>(date.dayOfWeek() % 7);
    }
    g_fixedLocalTime = st;
}
