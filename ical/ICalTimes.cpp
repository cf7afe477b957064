#include "ical/ICalTimes.h"

#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"

QString Utf8Text(const char* psz)
{
    return psz ? QString::fromUtf8(psz) : QString();
}

bool IsImportYear(int64_t nWall)
{
    const int nYear = FieldsOfWall(nWall).nYear;
    return nYear >= kMinYear && nYear <= kMaxYear;
}

int64_t WallOfFields(const icaltimetype& t)
{
    return WallFromFields(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute);
}

int64_t UtcOfFields(const icaltimetype& t)
{
    return CSeriesZone::ToUtc(QStringLiteral("UTC"), WallOfFields(t));
}

int64_t DurationSeconds(const icaldurationtype& d)
{
    const int64_t nDays = int64_t(d.weeks) * 7 + d.days;
    const int64_t nSeconds = ((nDays * 24 + d.hours) * 60 + d.minutes) * 60 + d.seconds;
    return d.is_neg ? -nSeconds : nSeconds;
}

const char* TzidOf(icalproperty* pProp)
{
    icalparameter* p = pProp ? icalproperty_get_first_parameter(pProp, ICAL_TZID_PARAMETER) : nullptr;
    return p ? icalparameter_get_tzid(p) : nullptr;
}

// A TZID as the system may know it: itself, or a path that ends in a zone id
// ("/mozilla.org/20050126_1/America/New_York").
QString KnownZone(const QString& strTzid)
{
    QString strZone = CSeriesZone::StoreName(strTzid);
    for (qsizetype i = strTzid.indexOf(u'/'); strZone.isEmpty() && i >= 0; i = strTzid.indexOf(u'/', i + 1))
        strZone = CSeriesZone::StoreName(strTzid.mid(i + 1));
    return strZone;
}

int ICalPriorityOf(int nImportance)
{
    return nImportance == olImportanceHigh ? 1 : nImportance == olImportanceLow ? 9 : 5;
}
