#include "pim/WallTime.h"

#include "calendar/CivilDays.h"
#include "pim/VariantTime.h"

namespace {

constexpr int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

bool DateToWall(DATE dt, int64_t* pnWall)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dt, &st))
        return false;
    *pnWall = WallFromFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
    return true;
}

DATE WallToDate(int64_t nWall)
{
    const int64_t nDays = FloorDiv(nWall, kMinutesPerDay);
    const double dTime = static_cast<double>(nWall - nDays * kMinutesPerDay) / kMinutesPerDay;
    return nDays >= 0 ? static_cast<double>(nDays) + dTime : static_cast<double>(nDays) - dTime;
}

int64_t WallFromFields(int nYear, int nMonth, int nDay, int nHour, int nMinute)
{
    return (DaysFromCivil(nYear, nMonth, nDay) - kEpochDays) * kMinutesPerDay + nHour * 60 + nMinute;
}

WallFields FieldsOfWall(int64_t nWall)
{
    const int64_t nDays = FloorDiv(nWall, kMinutesPerDay);
    const int64_t nMinutes = nWall - nDays * kMinutesPerDay;
    const CivilDate date = CivilFromDays(nDays + kEpochDays);
    WallFields f;
    f.nYear = static_cast<int>(date.y);
    f.nMonth = date.m;
    f.nDay = date.d;
    f.nHour = static_cast<int>(nMinutes / 60);
    f.nMinute = static_cast<int>(nMinutes % 60);
    f.nDayOfWeek = WeekdayFromDays(nDays + kEpochDays);
    return f;
}

int64_t WallDayStart(int64_t nWall)
{
    return FloorDiv(nWall, kMinutesPerDay) * kMinutesPerDay;
}

SYSTEMTIME SystemTimeOfWall(int64_t nWall)
{
    const WallFields f = FieldsOfWall(nWall);
    SYSTEMTIME st{};
    st.wYear = static_cast<uint16_t>(f.nYear);
    st.wMonth = static_cast<uint16_t>(f.nMonth);
    st.wDay = static_cast<uint16_t>(f.nDay);
    st.wDayOfWeek = static_cast<uint16_t>(f.nDayOfWeek);
    st.wHour = static_cast<uint16_t>(f.nHour);
    st.wMinute = static_cast<uint16_t>(f.nMinute);
    return st;
}
