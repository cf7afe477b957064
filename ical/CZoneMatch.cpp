#include "ical/CZoneMatch.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>
#include <QVector>
#include <cstdint>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kDaysCompared = 2 * 366;

// Noon UTC of 1 January of the year, in seconds since 1970.
int64_t NoonOfNewYear(int nYear)
{
    return QDateTime(QDate(nYear, 1, 1), QTime(12, 0), QTimeZone::utc()).toSecsSinceEpoch();
}

int FileOffset(icaltimezone* pZone, int64_t nUtc)
{
    icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(nUtc), 0, icaltimezone_get_utc_timezone());
    int nDaylight = 0;
    return icaltimezone_get_utc_offset_of_utc_time(pZone, &t, &nDaylight);
}

int SystemOffset(const QTimeZone& zone, int64_t nUtc)
{
    return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(nUtc, QTimeZone::utc()));
}

// "America/New_York" names "New York".
QString CityOf(const QByteArray& id)
{
    return QString::fromLatin1(id.mid(id.lastIndexOf('/') + 1)).replace(u'_', u' ');
}

}  // namespace

QString CZoneMatch::SystemZoneLike(icaltimezone* pFileZone, const QString& strTzid, int nYear)
{
    if (pFileZone == nullptr || nYear < 1900 || nYear > 9000)
        return QString();
    const int64_t nFirst = NoonOfNewYear(nYear);
    QVector<int> offsets(kDaysCompared);
    for (int i = 0; i < kDaysCompared; ++i)
        offsets[i] = FileOffset(pFileZone, nFirst + i * kSecondsPerDay);
    // Midwinter and midsummer of both years sort out most zones cheaply.
    const int kProbes[] = {14, 196, 366 + 14, 366 + 196};
    QVector<QByteArray> matches;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        const QTimeZone zone(id);
        bool bSame = zone.isValid();
        for (int i = 0; bSame && i < int(std::size(kProbes)); ++i)
            bSame = SystemOffset(zone, nFirst + kProbes[i] * kSecondsPerDay) == offsets[kProbes[i]];
        for (int i = 0; bSame && i < kDaysCompared; ++i)
            bSame = SystemOffset(zone, nFirst + i * kSecondsPerDay) == offsets[i];
        if (bSame)
            matches << id;
    }
    if (matches.isEmpty())
        return QString();
    for (const QByteArray& id : std::as_const(matches)) {
        if (strTzid.contains(CityOf(id), Qt::CaseInsensitive))
            return QString::fromLatin1(id);
    }
    const QByteArray local = QTimeZone::systemTimeZoneId();
    return QString::fromLatin1(matches.contains(local) ? local : matches.front());
}
