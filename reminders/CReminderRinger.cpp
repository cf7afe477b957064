#include "reminders/CReminderRinger.h"

#include "reminders/CReminderSchedule.h"
#include "reminders/IReminderBell.h"
#include <algorithm>

namespace {

// Rows of rung reminders are kept this long after they fell due (and after the mark), for
// reminders that ring late.
constexpr int64_t kKeepRung = 2 * CReminderRinger::kMissedSpan;
constexpr int64_t kSecondsPerMinute = 60;

}  // namespace

CReminderRinger::CReminderRinger(CReminderSchedule& schedule, IReminderBell& bell)
    : m_schedule(schedule), m_bell(bell)
{
}

// The reminders to ring one by one (*pShow) and those only counted in one notice
// (*pSummary).
bool CReminderRinger::Pending(int64_t nNow, int64_t nMark, QVector<CReminder>* pShow, QVector<CReminder>* pSummary)
{
    CPimStore& store = m_schedule.Store();
    const int64_t nDayAgo = nNow - kMissedSpan;
    QVector<CReminder> recent, older;
    QHash<CReminderKey, int64_t> rung;
    if (!m_schedule.DueBetween(nDayAgo, nNow, &recent)
        || (nMark < nDayAgo && !m_schedule.DueBetween(nMark + 1, nDayAgo - 1, &older))
        || !CReminderLog::Rung(store, std::min(nMark + 1, nDayAgo), nNow, &rung))
        return false;
    QVector<CReminder> missed;
    for (CReminder& r : recent) {
        if (rung.contains(r.key) || (r.key.nDue <= nMark && r.nEventAt <= nNow))
            continue;
        // Late because nothing rang it then; one set after its time is not missed.
        r.bMissed = r.key.nDue < nNow - kLateAfter && r.key.nDue > nMark;
        (r.bMissed ? missed : *pShow).push_back(std::move(r));
    }
    // The latest missed ones ring one by one.
    const qsizetype nCounted = std::max<qsizetype>(0, missed.size() - kMaxMissedNotices);
    *pSummary += missed.mid(0, nCounted);
    *pShow += missed.mid(nCounted);
    for (CReminder& r : older) {
        if (!rung.contains(r.key))
            pSummary->push_back(std::move(r));
    }
    return true;
}

bool CReminderRinger::SnoozesDue(int64_t nNow, QVector<CReminder>* pShow)
{
    CPimStore& store = m_schedule.Store();
    QVector<CSnoozedReminder> snoozed;
    if (!CReminderLog::Snoozed(store, &snoozed))
        return false;
    for (const CSnoozedReminder& s : std::as_const(snoozed)) {
        if (s.nUntil > nNow)
            break;  // by the time they ring again
        CReminder r;
        if (!m_schedule.Resolve(s, &r)) {
            CReminderLog::Forget(store, s.key);
            continue;
        }
        r.bMissed = s.nUntil < nNow - kLateAfter;
        pShow->push_back(std::move(r));
    }
    return true;
}

bool CReminderRinger::RingDue(int64_t nNow, int64_t* pnNext)
{
    *pnNext = kNever;
    CPimStore& store = m_schedule.Store();
    int64_t nMark = 0;
    if (!CReminderLog::Mark(store, &nMark))
        nMark = nNow - kLateAfter;  // the first pass on this store: nothing was missed
    QVector<CReminder> show, summary;
    if (!Pending(nNow, nMark, &show, &summary) || !SnoozesDue(nNow, &show))
        return false;
    std::sort(show.begin(), show.end(), RingsBefore);
    bool bAllShown = true, bRecorded = true;
    for (const CReminder& r : std::as_const(show)) {
        if (!m_bell.Ring(r))
            bAllShown = false;
        else
            bRecorded = CReminderLog::Record(store, r.key) && bRecorded;
    }
    if (!summary.isEmpty()) {
        if (!m_bell.RingMissed(int(summary.size())))
            bAllShown = false;
        else {
            for (const CReminder& r : std::as_const(summary))
                bRecorded = CReminderLog::Record(store, r.key) && bRecorded;
        }
    }
    if (bAllShown && bRecorded)
        bRecorded = CReminderLog::SetMark(store, nNow) && CReminderLog::Prune(store, std::min(nMark, nNow) - kKeepRung);
    QVector<CReminder> next;
    if (!m_schedule.Next(nNow + 1, 1, &next))
        return false;
    if (!next.isEmpty())
        *pnNext = next.front().nRingAt;
    return bRecorded;
}

bool CReminderRinger::Snooze(const CReminderKey& key, int64_t nNow, int nMinutes)
{
    return CReminderLog::Record(m_schedule.Store(), key, nNow + int64_t(nMinutes) * kSecondsPerMinute);
}
