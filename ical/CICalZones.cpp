#include "ical/CICalZones.h"

#include "ical/CICalStream.h"
#include "ical/CZoneMatch.h"
#include "ical/CZoneRuleCheck.h"
#include "ical/ICalTimes.h"
#include "pim/CItemRecord.h"
#include "pim/CLocalZone.h"
#include "pim/CSeriesZone.h"
#include "pim/WallTime.h"
#include <QStringList>

CICalZones::~CICalZones()
{
    Clear();
}

void CICalZones::Clear()
{
    for (icaltimezone* pZone : std::as_const(m_zones))
        icaltimezone_free(pZone, 1);
    m_blocks.clear();
    m_zones.clear();
    m_refusedZones.clear();
    m_matches.clear();
}

void CICalZones::LoadCopy(const CICalZones& zones)
{
    Clear();
    for (const QByteArray& block : zones.m_blocks)
        Load(block);
}

bool CICalZones::Load(const QByteArray& block)
{
    const bool bTaken = Take(block);
    if (bTaken)
        m_blocks.push_back(block);
    return bTaken;
}

bool CICalZones::Take(const QByteArray& block)
{
    icalcomponent* pComp = CICalStream::Parse(block);
    // libical expands every change of a zone's offset: a rule without a sane bound is refused.
    icalproperty* pId = pComp ? icalcomponent_get_first_property(pComp, ICAL_TZID_PROPERTY) : nullptr;
    const QByteArray tzid = pId ? QByteArray(icalproperty_get_tzid(pId)) : QByteArray();
    QString strWhy;
    if (pComp != nullptr && !CZoneRuleCheck::Check(pComp, &strWhy)) {
        icalcomponent_free(pComp);
        m_refusedZones.insert(tzid, strWhy);
        return true;
    }
    icaltimezone* pZone = tzid.isEmpty() ? nullptr : icaltimezone_new();
    if (pZone && icaltimezone_set_component(pZone, pComp)) {
        if (icaltimezone* pOld = m_zones.value(tzid))
            icaltimezone_free(pOld, 1);
        m_zones.insert(tzid, pZone);
        return true;
    }
    if (pZone)
        icaltimezone_free(pZone, 1);
    if (pComp)
        icalcomponent_free(pComp);
    return false;
}

icaltimezone* CICalZones::FileZone(const char* pszTzid) const
{
    return pszTzid ? m_zones.value(QByteArray(pszTzid)) : nullptr;
}

// A time as an instant (UTC seconds), or a date as wall minutes of its day.
bool CICalZones::ReadInstant(icalproperty* pProp, icaltimetype t, int64_t* pnUtc, bool* pbDate,
                                int64_t* pnDateWall, QString* pstrWhy) const
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return *pstrWhy = QStringLiteral("a date or time that cannot be read"), false;
    *pbDate = t.is_date != 0;
    if (t.is_date) {
        *pnDateWall = WallOfFields(t);
        return true;
    }
    if (icaltime_is_utc(t)) {
        *pnUtc = UtcOfFields(t);
        return true;
    }
    const char* pszTzid = TzidOf(pProp);
    if (pszTzid == nullptr) {  // floating: the local wall time
        *pnUtc = CLocalZone::UtcFromWall(WallOfFields(t));
        return true;
    }
    if (icaltimezone* pZone = FileZone(pszTzid)) {
        *pnUtc = icaltime_as_timet_with_zone(t, pZone);
        return true;
    }
    const QString strZone = KnownZone(Utf8Text(pszTzid));
    if (!strZone.isEmpty()) {
        *pnUtc = CSeriesZone::ToUtc(strZone, WallOfFields(t));
        return true;
    }
    return *pstrWhy = UnknownZone(pszTzid), false;
}

// Why a TZID that is neither the file's nor the system's cannot be read.
QString CICalZones::UnknownZone(const char* pszTzid) const
{
    const auto itRefused = m_refusedZones.constFind(QByteArray(pszTzid));
    if (itRefused != m_refusedZones.constEnd())
        return QStringLiteral("time zone %1 was refused: %2").arg(Utf8Text(pszTzid), *itRefused);
    return QStringLiteral("time zone %1 is neither defined in the file nor known here").arg(Utf8Text(pszTzid));
}

// A date, or a time as local wall minutes.
bool CICalZones::ReadLocal(icalproperty* pProp, icaltimetype t, int64_t* pnWall, bool* pbDate, QString* pstrWhy) const
{
    int64_t nUtc = 0;
    if (!ReadInstant(pProp, t, &nUtc, pbDate, pnWall, pstrWhy))
        return false;
    if (!*pbDate)
        *pnWall = icaltime_is_utc(t) || TzidOf(pProp) ? CLocalZone::WallFromUtc(nUtc) : WallOfFields(t);
    if (!IsImportYear(*pnWall))
        return *pstrWhy = QStringLiteral("a date outside %1..%2").arg(kMinYear).arg(kMaxYear), false;
    return true;
}

// The zone a series with this DTSTART repeats in ("" for floating times and dates).
QString CICalZones::ZoneOfStart(icalproperty* pStart, icaltimetype t, int nFirstYear, int nLastYear,
                                QString* pstrWhy) const
{
    if (t.is_date)
        return QString();
    if (icaltime_is_utc(t))
        return QStringLiteral("UTC");
    const char* pszTzid = TzidOf(pStart);
    if (pszTzid == nullptr)
        return QString();
    const QString strTzid = Utf8Text(pszTzid);
    icaltimezone* pZone = FileZone(pszTzid);
    if (pZone == nullptr) {
        const QString strZone = KnownZone(strTzid);
        if (strZone.isEmpty())
            *pstrWhy = QStringLiteral("series in ") + UnknownZone(pszTzid);
        return strZone;
    }
    std::shared_ptr<CZoneMatch>& pMatch = m_matches[QByteArray(pszTzid)];
    if (!pMatch)
        pMatch = std::make_shared<CZoneMatch>(pZone);
    QString strWhy;
    const QString strZone = pMatch->ZoneFor(nFirstYear, nLastYear, NamedZones(pZone, strTzid), strTzid, &strWhy);
    if (strZone.isEmpty())
        *pstrWhy = QStringLiteral("series in time zone %1: %2").arg(strTzid, strWhy);
    return strZone;
}

QStringList CICalZones::NamedZones(icaltimezone* pZone, const QString& strTzid)
{
    QStringList named;
    const auto add = [&](const QString& strName) {
        const QString strZone = KnownZone(strName);
        if (!strZone.isEmpty() && !named.contains(strZone))
            named << strZone;
    };
    add(strTzid);
    icalcomponent* pComp = icaltimezone_get_component(pZone);
    for (icalproperty* p = pComp ? icalcomponent_get_first_property(pComp, ICAL_X_PROPERTY) : nullptr; p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), "X-LIC-LOCATION") == 0)
            add(Utf8Text(icalproperty_get_x(p)));
    }
    if (icalproperty* pLocation = pComp ? icalcomponent_get_first_property(pComp, ICAL_LOCATION_PROPERTY) : nullptr)
        add(Utf8Text(icalproperty_get_location(pLocation)));
    return named;
}

// A time in the series' own terms (its zone's wall minutes). A date on a timed series
// names the occurrence of that day.
bool CICalZones::ReadSeriesTime(icalproperty* pProp, icaltimetype t, const CItemRecord& series,
                                   int64_t* pnZoneWall, QString* pstrWhy) const
{
    int64_t nUtc = 0, nDate = 0;
    bool bDate = false;
    if (!ReadInstant(pProp, t, &nUtc, &bDate, &nDate, pstrWhy))
        return false;
    if (bDate)
        *pnZoneWall = nDate + (series.bAllDay ? 0 : series.nPatternStart - WallDayStart(series.nPatternStart));
    else if (!icaltime_is_utc(t) && TzidOf(pProp) == nullptr)  // floating: taken in the series' terms
        *pnZoneWall = WallOfFields(t);
    else
        *pnZoneWall = series.strTzid.isEmpty() ? CLocalZone::WallFromUtc(nUtc) : CSeriesZone::FromUtc(series.strTzid, nUtc);
    if (series.bAllDay)
        *pnZoneWall = WallDayStart(*pnZoneWall);
    return true;
}
