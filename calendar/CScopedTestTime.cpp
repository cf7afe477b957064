#include "calendar/CScopedTestTime.h"
#include "calendar/ZoneRules.h"
#include "platform/Clock.h"
#include <cstdlib>
#include <ctime>

CScopedTestTime::CScopedTestTime(const char* pszZone)
    : m_nOldUseDST(g_bUseDST)
{
    if (const char* pszOld = std::getenv("TZ"))
        m_oldZone = pszOld;
    UseZone(pszZone);
}

CScopedTestTime::~CScopedTestTime()
{
    if (m_bClockFixed)
        SetFixedLocalTime(std::nullopt);
    UseZone(m_oldZone ? m_oldZone->c_str() : nullptr);
    g_bUseDST = m_nOldUseDST;
}

void CScopedTestTime::SetNow(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                             int nMilliseconds)
{
    SetFixedLocalTime(MakeSystemTime(nYear, nMonth, nDay, nHour, nMinute, nSecond, nMilliseconds));
    m_bClockFixed = true;
}

SYSTEMTIME CScopedTestTime::MakeSystemTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond,
                                           int nMilliseconds)
{
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(nYear);
    st.wMonth = static_cast<uint16_t>(nMonth);
    st.wDay = static_cast<uint16_t>(nDay);
    st.wHour = static_cast<uint16_t>(nHour);
    st.wMinute = static_cast<uint16_t>(nMinute);
    st.wSecond = static_cast<uint16_t>(nSecond);
    st.wMilliseconds = static_cast<uint16_t>(nMilliseconds);
    return st;
}

// Null unsets TZ.
void CScopedTestTime::UseZone(const char* pszZone)
{
    if (pszZone)
        setenv("TZ", pszZone, 1);
    else
        unsetenv("TZ");
    tzset();
    ResetTimeZoneCache();
}
