#pragma once
// A VTIMEZONE from a file, checked before libical uses it: libical expands every change of
// offset of a zone from its first DTSTART on, so a rule such as FREQ=SECONDLY from 1601
// would take without end. A zone is accepted when its rules are the yearly rules real
// zones use (one month, one weekday or up to a week of month days a year) and all its
// observances together change the offset at most kMaxChanges times up to the year 4500;
// otherwise it is refused with the reason.
#include <QString>
#include <libical/ical.h>

class CZoneRuleCheck {
public:
    static constexpr long kMaxChanges = 200000;
    static constexpr int kLastYear = 4500;

    // True when the VTIMEZONE may be handed to libical; else false with *pstrWhy.
    static bool Check(icalcomponent* pZone, QString* pstrWhy);

private:
    // Changes of one STANDARD or DAYLIGHT observance up to kLastYear, or -1 with *pstrWhy
    // when its rule is not one a zone uses.
    static long Changes(icalcomponent* pObservance, QString* pstrWhy);
};
