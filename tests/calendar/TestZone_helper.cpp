#include "TestZone.h"
#include "calendar/ZoneRules.h"
#include <cstdlib>
#include <ctime>

void UseZone(const char* pszZone)
{
    setenv("TZ", pszZone, 1);
    tzset();
    ResetTimeZoneCache();
}

ScopedZone::ScopedZone(const char* pszZone)
    : m_bHadZone(std::getenv("TZ") != nullptr), m_nOldUseDST(g_bUseDST)
{
    if (m_bHadZone)
        m_oldZone = std::getenv("TZ");
    UseZone(pszZone);
}

ScopedZone::~ScopedZone()
{
    if (m_bHadZone)
        setenv("TZ", m_oldZone.constData(), 1);
    else
        unsetenv("TZ");
    tzset();
    ResetTimeZoneCache();
    g_bUseDST = m_nOldUseDST;
}
