#include "pim/VariantTime.h"

#include "calendar/CivilDays.h"
#include <cmath>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Day number (days since 1970-01-01) of the automation date 0.0, 1899-12-30.
constexpr int64_t kEpochDays = DaysFromCivil(1899, 12, 30);
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;

}  // namespace

int VariantTimeToSystemTime(DATE dtVariant, SYSTEMTIME* pSt)
{
    if (pSt == nullptr || !std::isfinite(dtVariant))
        return FALSE;
    // The integer part counts days (towards zero), the fraction is always the time of
    // day forward from that day's midnight, also for negative values.
    double dDays = std::trunc(dtVariant);
    if (dDays < -800000.0 || dDays > 3000000.0)
        return FALSE;
    int64_t nDays = static_cast<int64_t>(dDays);
    int64_t nSeconds = std::llround(std::fabs(dtVariant - dDays) * kSecondsPerDay);
    if (nSeconds >= kSecondsPerDay) {
        nSeconds -= kSecondsPerDay;
        ++nDays;
    }
    const CivilDate date = CivilFromDays(kEpochDays + nDays);
    if (date.y < kMinYear || date.y > kMaxYear)
        return FALSE;
    pSt->wYear = static_cast<uint16_t>(date.y);
    pSt->wMonth = static_cast<uint16_t>(date.m);
    pSt->wDay = static_cast<uint16_t>(date.d);
    pSt->wDayOfWeek = static_cast<uint16_t>(WeekdayFromDays(kEpochDays + nDays));
    pSt->wHour = static_cast<uint16_t>(nSeconds / 3600);
    pSt->wMinute = static_cast<uint16_t>(nSeconds / 60 % 60);
    pSt->wSecond = static_cast<uint16_t>(nSeconds % 60);
    pSt->wMilliseconds = 0;
    return TRUE;
}

int SystemTimeToVariantTime(const SYSTEMTIME* pSt, DATE* pdtVariant)
{
    if (pSt == nullptr || pdtVariant == nullptr)
        return FALSE;
    const SYSTEMTIME& st = *pSt;
    if (st.wYear < kMinYear || st.wYear > kMaxYear || st.wMonth < 1 || st.wMonth > 12
        || st.wDay < 1 || st.wDay > DaysInMonth(st.wYear, st.wMonth) || st.wHour > 23
        || st.wMinute > 59 || st.wSecond > 59)
        return FALSE;
    const int64_t nDays = DaysFromCivil(st.wYear, st.wMonth, st.wDay) - kEpochDays;
    const double dTime = (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / kSecondsPerDay;
    // Before 1899-12-30 the day counts down while the time still counts up.
    *pdtVariant = nDays >= 0 ? nDays + dTime : nDays - dTime;
    return TRUE;
}
