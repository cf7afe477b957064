#pragma once
// Test fixtures: the device zone and the shared daylight switch, restored afterwards.
#include <QByteArray>

// Sets TZ (a POSIX rule or a zone name) and makes the next conversion read the zone again.
void UseZone(const char* pszZone);

// Sets the zone for the lifetime of the object and restores the previous TZ and
// g_bUseDST afterwards.
class ScopedZone {
public:
    explicit ScopedZone(const char* pszZone);
    ~ScopedZone();
    ScopedZone(const ScopedZone&) = delete;
    ScopedZone& operator=(const ScopedZone&) = delete;

private:
    QByteArray m_oldZone;
    bool m_bHadZone;
    int m_nOldUseDST;
};
