#include "reminders/CReminderSchedule.h"

#include "pim/CItemTable.h"
#include "pim/CLocalZone.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CReminderRows.h"
#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kSecondsPerMinute = 60;
constexpr int64_t kSecondsPerDay = 86400;
// Wall minutes: more than a zone's offset ever changes by, so that a range of instants read
// as wall times loses nothing around a change to or from daylight time.
constexpr int64_t kWallMargin = 3 * 60;
// Next looks ahead in spans that start at a day and grow fourfold.
constexpr int64_t kFirstSpan = kSecondsPerDay;
constexpr int kSpanGrowth = 4;

int64_t WallOf(int64_t nUtc)
{
    return CLocalZone::WallFromUtc(nUtc);
}

// The last instant a reminder can fall due: the store holds no time past 1 January 4501.
int64_t LastInstant()
{
    static const int64_t s_nLast = CLocalZone::UtcFromWall(kNoDateMinutes) - 1;
    return s_nLast;
}

// An appointment's reminder for an occurrence (or single item) starting at nStartWall
// (local wall minutes) = nStartUtc.
CReminder AppointmentReminder(const CItemRecord& r, int64_t nOccurrence, int64_t nStartWall, int64_t nStartUtc,
                              int64_t nDuration)
{
    CReminder rem;
    rem.key = {nStartUtc - int64_t(r.nReminderMinutes) * kSecondsPerMinute, r.nOid, nOccurrence};
    rem.nRingAt = rem.key.nDue;
    rem.nEventAt = nStartUtc;
    rem.nItemType = olAppointmentItem;
    rem.nStart = nStartWall;
    rem.nEnd = nStartWall + nDuration;
    rem.bAllDay = r.bAllDay;
    rem.strSubject = r.strSubject;
    rem.strLocation = r.strLocation;
    return rem;
}

// The instant and local wall time of a series' occurrence at nZoneWall (its zone's wall
// minutes; local ones for a series without a zone).
void OccurrenceStart(const CItemRecord& series, int64_t nZoneWall, int64_t* pnWall, int64_t* pnUtc)
{
    if (series.strTzid.isEmpty()) {
        *pnWall = nZoneWall;
        *pnUtc = CLocalZone::UtcFromWall(nZoneWall);
        return;
    }
    *pnUtc = CSeriesZone::ToUtc(series.strTzid, nZoneWall);
    *pnWall = CLocalZone::WallFromUtc(*pnUtc);
}

int64_t ZoneWallOf(const QString& strZone, int64_t nUtc)
{
    return strZone.isEmpty() ? WallOf(nUtc) : CSeriesZone::FromUtc(strZone, nUtc);
}

}  // namespace

bool RingsBefore(const CReminder& a, const CReminder& b)
{
    if (a.nRingAt != b.nRingAt)
        return a.nRingAt < b.nRingAt;
    if (a.key.nOid != b.key.nOid)
        return a.key.nOid < b.key.nOid;
    return a.key.nOccurrence < b.key.nOccurrence;
}

CReminderSchedule::CReminderSchedule(std::shared_ptr<CPimStore> pStore, int nTaskMinute)
    : m_pStore(std::move(pStore)), m_nTaskMinute(std::clamp(nTaskMinute, 0, int(kMinutesPerDay) - 1))
{
}

int64_t CReminderSchedule::TaskDueAt(int64_t nDueDay) const
{
    return CLocalZone::UtcFromWall(nDueDay + m_nTaskMinute);
}

bool CReminderSchedule::ActiveSeries(int64_t nFrom, QVector<CItemRecord>* pSeries)
{
    return CReminderRows::Series(*m_pStore, WallOf(nFrom) - kWallMargin, pSeries);
}

bool CReminderSchedule::AddAppointments(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut)
{
    QVector<CItemRecord> rows;
    if (!CReminderRows::Appointments(*m_pStore, WallOf(nFrom) - kWallMargin, WallOf(nTo) + kWallMargin, &rows))
        return false;
    for (const CItemRecord& r : std::as_const(rows)) {
        const int64_t nStartUtc = CLocalZone::UtcFromWall(r.nStart);
        CReminder rem = AppointmentReminder(r, r.bOccurrence ? r.nOriginalStart : 0, r.nStart, nStartUtc,
                                            r.nEnd - r.nStart);
        if (rem.key.nDue >= nFrom && rem.key.nDue <= nTo)
            pOut->push_back(std::move(rem));
    }
    return true;
}

// The occurrences whose reminders fall due in [nFrom, nTo]: those starting that many
// minutes later, found in the series' own wall time and then checked as instants.
void CReminderSchedule::AddSeries(const CItemRecord& series, int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut)
{
    const int64_t nLead = int64_t(series.nReminderMinutes) * kSecondsPerMinute;
    const int64_t nLo = ZoneWallOf(series.strTzid, nFrom + nLead) - kWallMargin;
    const int64_t nHi = std::min(ZoneWallOf(series.strTzid, nTo + nLead) + kWallMargin, kNoDateMinutes);
    CRecurrenceMath math(series.rule, series.nPatternStart, series.nLastStart);
    math.Seek(nLo, nHi);
    const int64_t nDuration = CItemTable::Duration(series);
    for (int64_t nZoneWall = 0; math.Next(&nZoneWall);) {
        int64_t nWall = 0, nUtc = 0;
        OccurrenceStart(series, nZoneWall, &nWall, &nUtc);
        const int64_t nDue = nUtc - nLead;
        if (nDue < nFrom || nDue > nTo || CItemTable::FindException(*m_pStore, series.nOid, nZoneWall) != 0)
            continue;
        pOut->push_back(AppointmentReminder(series, nZoneWall, nWall, nUtc, nDuration));
    }
}

bool CReminderSchedule::AddTasks(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut)
{
    // Due dates are days; a day earlier than the wall range covers any time of day kept.
    const int64_t nLo = WallOf(nFrom) - kWallMargin - m_nTaskMinute - kMinutesPerDay;
    const int64_t nHi = std::min(WallOf(nTo) + kWallMargin - m_nTaskMinute, kNoDateMinutes - 1);
    QVector<CItemRecord> rows;
    if (!CReminderRows::Tasks(*m_pStore, nLo, nHi, &rows))
        return false;
    for (const CItemRecord& r : std::as_const(rows)) {
        const int64_t nDay = WallDayStart(r.nEnd);
        CReminder rem;
        rem.key = {TaskDueAt(nDay), r.nOid, 0};
        if (rem.key.nDue < nFrom || rem.key.nDue > nTo)
            continue;
        rem.nRingAt = rem.key.nDue;
        rem.nEventAt = CLocalZone::UtcFromWall(nDay + kMinutesPerDay);
        rem.nItemType = olTaskItem;
        rem.nStart = rem.nEnd = nDay;
        rem.bAllDay = true;
        rem.strSubject = r.strSubject;
        pOut->push_back(std::move(rem));
    }
    return true;
}

bool CReminderSchedule::Collect(int64_t nFrom, int64_t nTo, const QVector<CItemRecord>& series,
                                QVector<CReminder>* pOut)
{
    if (!AddAppointments(nFrom, nTo, pOut))
        return false;
    for (const CItemRecord& s : series)
        AddSeries(s, nFrom, nTo, pOut);
    return AddTasks(nFrom, nTo, pOut);
}

bool CReminderSchedule::DueBetween(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut)
{
    nTo = std::min(nTo, LastInstant());
    QVector<CItemRecord> series;
    if (nFrom > nTo)
        return true;
    if (!ActiveSeries(nFrom, &series) || !Collect(nFrom, nTo, series, pOut))
        return false;
    std::sort(pOut->begin(), pOut->end(), RingsBefore);
    return true;
}

bool CReminderSchedule::Next(int64_t nAfter, int nCount, QVector<CReminder>* pOut)
{
    QHash<CReminderKey, int64_t> rung;
    QVector<CItemRecord> series;
    QVector<CSnoozedReminder> snoozed;
    if (!CReminderLog::Rung(*m_pStore, nAfter, std::numeric_limits<int64_t>::max(), &rung)
        || !ActiveSeries(nAfter, &series) || !CReminderLog::Snoozed(*m_pStore, &snoozed))
        return false;
    QVector<CReminder> found;
    const int64_t nLast = LastInstant();
    int64_t nSpan = kFirstSpan;
    for (int64_t nFrom = nAfter; nFrom <= nLast && found.size() < nCount; nSpan *= kSpanGrowth) {
        const int64_t nTo = nLast - nFrom < nSpan ? nLast : nFrom + nSpan - 1;
        QVector<CReminder> part;
        if (!Collect(nFrom, nTo, series, &part))
            return false;
        for (CReminder& r : part) {
            if (!rung.contains(r.key))
                found.push_back(std::move(r));
        }
        nFrom = nTo + 1;
    }
    // Every span holds later reminders than the one before: sorting what was found and the
    // snoozed ones gives the first nCount of all.
    for (const CSnoozedReminder& s : std::as_const(snoozed)) {
        CReminder r;
        if (s.nUntil >= nAfter && Resolve(s, &r))
            found.push_back(std::move(r));
    }
    std::sort(found.begin(), found.end(), RingsBefore);
    if (found.size() > nCount)
        found.resize(nCount);
    *pOut += found;
    return true;
}

bool CReminderSchedule::Resolve(const CSnoozedReminder& snoozed, CReminder* pOut)
{
    const CReminderKey& key = snoozed.key;
    CItemRecord item;
    if (!CItemTable::Load(*m_pStore, key.nOid, &item) || item.bOccurrence)
        return false;
    if (item.nItemType == olTaskItem) {
        if (!item.bReminderSet || item.bComplete || item.nEnd >= kNoDateMinutes)
            return false;
        const int64_t nDay = WallDayStart(item.nEnd);
        *pOut = CReminder{};
        pOut->nItemType = olTaskItem;
        pOut->nStart = pOut->nEnd = nDay;
        pOut->nEventAt = CLocalZone::UtcFromWall(nDay + kMinutesPerDay);
        pOut->bAllDay = true;
        pOut->strSubject = item.strSubject;
    } else if (key.nOccurrence == 0) {
        if (!item.bReminderSet)
            return false;
        const int64_t nUtc = CLocalZone::UtcFromWall(item.nStart);
        *pOut = AppointmentReminder(item, 0, item.nStart, nUtc, item.nEnd - item.nStart);
    } else {
        if (const int64_t nRow = CItemTable::FindException(*m_pStore, key.nOid, key.nOccurrence)) {
            CItemRecord changed;
            if (!CItemTable::Load(*m_pStore, nRow, &changed) || changed.bDeletedOccurrence || !changed.bReminderSet)
                return false;
            const int64_t nUtc = CLocalZone::UtcFromWall(changed.nStart);
            *pOut = AppointmentReminder(changed, key.nOccurrence, changed.nStart, nUtc, changed.nEnd - changed.nStart);
        } else {
            if (!item.bReminderSet || !item.rule.IsRecurring())
                return false;
            int64_t nWall = 0, nUtc = 0;
            OccurrenceStart(item, key.nOccurrence, &nWall, &nUtc);
            *pOut = AppointmentReminder(item, key.nOccurrence, nWall, nUtc, CItemTable::Duration(item));
        }
    }
    pOut->key = key;
    pOut->nRingAt = snoozed.nUntil;
    pOut->bSnoozed = true;
    return true;
}
