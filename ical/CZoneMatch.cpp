#include "ical/CZoneMatch.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <optional>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// The database lists changes up to 2037; later years follow each zone's yearly rule.
constexpr int kLastListedYear = 2037;
// Years a zone can be compared in (QDateTime and libical both hold them).
constexpr int kFirstComparedYear = 1900;
constexpr int kLastComparedYear = 9000;

int64_t NewYear(int nYear)
{
    return QDateTime(QDate(nYear, 1, 1), QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
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

void CZoneMatch::YearsToCompare(int nFirstYear, int nLastYear, int* pnFrom, int* pnTo)
{
    *pnFrom = std::clamp(nFirstYear, kFirstComparedYear, kLastComparedYear);
    const int nRepeating = std::max(*pnFrom, kLastListedYear + 1) + 1;
    *pnTo = std::clamp(std::min(nLastYear, nRepeating), *pnFrom, kLastComparedYear);
}

int CZoneMatch::FileOffset(int64_t nUtc) const
{
    icaltimetype t = icaltime_from_timet_with_zone(static_cast<time_t>(nUtc), 0, icaltimezone_get_utc_timezone());
    int nDaylight = 0;
    return icaltimezone_get_utc_offset_of_utc_time(m_pFileZone, &t, &nDaylight);
}

// Sampled each day at 00:00 UTC; a change between two samples is found to the second.
const CZoneMatch::YearOffsets& CZoneMatch::FileYear(int nYear)
{
    auto it = m_fileYears.constFind(nYear);
    if (it != m_fileYears.constEnd())
        return *it;
    YearOffsets year;
    const int64_t nBegin = NewYear(nYear), nEnd = NewYear(nYear + 1);
    year.nStartOffset = FileOffset(nBegin);
    int nOffset = year.nStartOffset;
    for (int64_t nDay = nBegin; nDay < nEnd; nDay += kSecondsPerDay) {
        const int64_t nNext = std::min(nDay + kSecondsPerDay, nEnd - 1);
        const int nNextOffset = FileOffset(nNext);
        if (nNextOffset == nOffset)
            continue;
        int64_t nLo = nDay, nHi = nNext;  // nLo has the old offset, nHi the new one
        while (nHi - nLo > 1) {
            const int64_t nMid = nLo + (nHi - nLo) / 2;
            (FileOffset(nMid) == nOffset ? nLo : nHi) = nMid;
        }
        year.changes.push_back({nHi, nNextOffset});
        nOffset = nNextOffset;
    }
    return *m_fileYears.insert(nYear, year);
}

CZoneMatch::YearOffsets CZoneMatch::SystemYear(const QTimeZone& zone, int nYear)
{
    YearOffsets year;
    const int64_t nBegin = NewYear(nYear), nEnd = NewYear(nYear + 1);
    year.nStartOffset = SystemOffset(zone, nBegin);
    int nOffset = year.nStartOffset;
    const QTimeZone::OffsetDataList transitions = zone.transitions(QDateTime::fromSecsSinceEpoch(nBegin + 1, QTimeZone::utc()),
                                                                   QDateTime::fromSecsSinceEpoch(nEnd - 1, QTimeZone::utc()));
    for (const QTimeZone::OffsetData& t : transitions) {
        // A change of name or of daylight time alone keeps the offset.
        if (t.offsetFromUtc == nOffset)
            continue;
        year.changes.push_back({t.atUtc.toSecsSinceEpoch(), t.offsetFromUtc});
        nOffset = t.offsetFromUtc;
    }
    return year;
}

// Whether the zone equals the file's in each year; the first that differs in *pnDiffering.
bool CZoneMatch::SameInYears(const QByteArray& id, int nFrom, int nTo, int* pnDiffering)
{
    QHash<int, bool>& same = m_same[id];
    std::optional<QTimeZone> zone;  // read from the database only when a year is new
    for (int nYear = nFrom; nYear <= nTo; ++nYear) {
        auto it = same.constFind(nYear);
        if (it == same.constEnd()) {
            if (!zone)
                zone.emplace(id);
            // The offset at the year's start sorts out most zones before their changes are read.
            const YearOffsets& file = FileYear(nYear);
            const bool bSame = zone->isValid() && SystemOffset(*zone, NewYear(nYear)) == file.nStartOffset
                            && SystemYear(*zone, nYear) == file;
            it = same.insert(nYear, bSame);
        }
        if (!*it)
            return *pnDiffering = nYear, false;
    }
    return true;
}

QVector<QByteArray> CZoneMatch::Candidates(const QStringList& preferred, const QString& strTzid) const
{
    QVector<QByteArray> first, rest;
    for (const QString& strZone : preferred)
        first << strZone.toUtf8();
    const QByteArray local = QTimeZone::systemTimeZoneId();
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        if (strTzid.contains(CityOf(id), Qt::CaseInsensitive))
            first << id;
        else if (id == local)
            rest.prepend(id);
        else
            rest << id;
    }
    return first + rest;
}

QString CZoneMatch::ZoneFor(int nFirstYear, int nLastYear, const QStringList& preferred, const QString& strTzid,
                            QString* pstrWhy)
{
    int nFrom = 0, nTo = 0;
    YearsToCompare(nFirstYear, nLastYear, &nFrom, &nTo);
    const QString strKey = QStringLiteral("%1 %2 %3").arg(nFrom).arg(nTo).arg(preferred.join(u' '));
    auto it = m_found.constFind(strKey);
    if (it == m_found.constEnd()) {
        QString strZone;
        int nDiffering = 0;
        for (const QByteArray& id : Candidates(preferred, strTzid)) {
            if (SameInYears(id, nFrom, nTo, &nDiffering)) {
                strZone = QString::fromUtf8(id);
                break;
            }
        }
        it = m_found.insert(strKey, strZone);
    }
    if (it->isEmpty()) {
        QString strNamed;
        int nDiffering = 0;
        if (!preferred.isEmpty() && !SameInYears(preferred.front().toUtf8(), nFrom, nTo, &nDiffering))
            strNamed = QStringLiteral(" (%1 differs from it in %2)").arg(preferred.front()).arg(nDiffering);
        *pstrWhy = QStringLiteral("no zone of this system's database has the offsets that the file gives time zone %1 "
                                  "in every year %2..%3%4")
                       .arg(strTzid)
                       .arg(nFrom)
                       .arg(nTo)
                       .arg(strNamed);
    }
    return *it;
}
