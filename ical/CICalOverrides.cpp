#include "ical/CICalOverrides.h"

#include "ical/CICalItemReader.h"
#include "ical/CICalStream.h"
#include "ical/CICalZones.h"
#include "ical/ICalTimes.h"
#include "pim/CItemTable.h"
#include "pim/CItemWriter.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QMap>
#include <QSet>
#include <algorithm>

namespace {

QString DayText(int64_t nWall)
{
    const WallFields f = FieldsOfWall(nWall);
    return QStringLiteral("%1-%2-%3").arg(f.nYear, 4, 10, QLatin1Char('0')).arg(f.nMonth, 2, 10, QLatin1Char('0'))
        .arg(f.nDay, 2, 10, QLatin1Char('0'));
}

}  // namespace

QVector<icalcomponent*> CICalOverrides::Parse(const QVector<QByteArray>& texts, const QString& strUid,
                                              ICalPrepared* pOut)
{
    QVector<icalcomponent*> overrides;
    for (const QByteArray& text : texts) {
        QString strWhy = QStringLiteral("libical could not read it");
        if (icalcomponent* p = CICalStream::Parse(text, &strWhy))
            overrides << p;
        else
            pOut->skipped << ICalSkipLine(strUid, QStringLiteral("changed occurrence: %1").arg(strWhy));
    }
    return overrides;
}

void CICalOverrides::PrepareEvents(const QVector<CItemRecord>& series, const QVector<int64_t>& exdates,
                                   const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut)
{
    QVector<QMap<int64_t, CItemRecord>> exceptions(series.size());
    for (int64_t nDate : exdates) {
        const int i = SeriesOf(series, nDate);
        if (i < 0)
            continue;  // excludes nothing
        const CItemRecord& r = series[i];
        CItemRecord gone = r;
        gone.bOccurrence = true;
        gone.bDeletedOccurrence = true;
        gone.nOriginalStart = nDate;
        gone.nStart = CSeriesZone::ToLocal(r.strTzid, nDate);
        gone.nEnd = gone.nStart + CItemTable::Duration(r);
        gone.notes.clear();
        gone.rule = CRecurrenceRule();
        exceptions[i].insert(nDate, gone);
    }
    for (icalcomponent* p : overrides) {
        // The series that has the occurrence; the first tells when none has it.
        icalproperty* pId = icalcomponent_get_first_property(p, ICAL_RECURRENCEID_PROPERTY);
        int64_t nOriginal = 0;
        QString strWhy;
        const int i = m_zones.ReadSeriesTime(pId, icalproperty_get_recurrenceid(pId), series.front(), &nOriginal, &strWhy)
                    ? std::max(SeriesOf(series, nOriginal), 0) : 0;
        CItemRecord e;
        if (ReadEventOverride(p, series[i], &e, &strWhy))
            exceptions[i].insert(e.nOriginalStart, e);
        else
            pOut->skipped << ICalSkipLine(strUid, QStringLiteral("changed occurrence: %1").arg(strWhy));
    }
    for (int i = 0; i < series.size(); ++i)
        pOut->items.push_back({series[i], exceptions[i].values()});
}

// The one of the series with an occurrence at nOriginal (their wall minutes), or -1.
int CICalOverrides::SeriesOf(const QVector<CItemRecord>& series, int64_t nOriginal) const
{
    for (int i = 0; i < series.size(); ++i) {
        if (series[i].rule.IsRecurring() && IsOccurrence(series[i], nOriginal))
            return i;
    }
    return -1;
}

void CICalOverrides::PrepareTodo(const CItemRecord& task, const QVector<int64_t>& exdates,
                                 const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut)
{
    CItemRecord r = task;
    QVector<CItemRecord> copies;
    if (r.rule.IsRecurring()) {
        QStringList refused;
        ApplyTodoChanges(task, exdates, overrides, &copies, &r, &refused);
        for (const QString& s : std::as_const(refused))
            pOut->skipped << ICalSkipLine(strUid, s);
    } else if (!overrides.isEmpty()) {
        pOut->skipped << ICalSkipLine(strUid, QStringLiteral("changed occurrences of a to-do that does not recur"));
    }
    pOut->items.push_back({r, {}});
    for (CItemRecord& copy : copies) {
        if (FAILED(CItemWriter::Normalize(&copy, true)))
            pOut->skipped << ICalSkipLine(copy.strUid, QStringLiteral("completed occurrence with dates the store cannot hold"));
        else
            pOut->items.push_back({copy, {}});
    }
}

bool CICalOverrides::IsOccurrence(const CItemRecord& series, int64_t nOriginal) const
{
    CRecurrenceMath math(series.rule, series.nPatternStart, series.nLastStart);
    math.Seek(nOriginal, nOriginal);
    int64_t nFound = 0;
    return math.Next(&nFound) && nFound == nOriginal;
}

// A changed or cancelled occurrence of a stored-to-be series.
bool CICalOverrides::ReadEventOverride(icalcomponent* pComp, const CItemRecord& series, CItemRecord* e,
                                       QString* pstrWhy)
{
    icalproperty* pId = icalcomponent_get_first_property(pComp, ICAL_RECURRENCEID_PROPERTY);
    if (icalproperty_get_first_parameter(pId, ICAL_RANGE_PARAMETER) != nullptr)
        return *pstrWhy = QStringLiteral("a change of this and all later occurrences (RANGE) cannot be held"), false;
    int64_t nOriginal = 0;
    if (!m_zones.ReadSeriesTime(pId, icalproperty_get_recurrenceid(pId), series, &nOriginal, pstrWhy))
        return false;
    if (!series.rule.IsRecurring() || !IsOccurrence(series, nOriginal))
        return *pstrWhy = QStringLiteral("RECURRENCE-ID matches no occurrence of its series"), false;
    if (icalcomponent_get_status(pComp) == ICAL_STATUS_CANCELLED) {
        *e = series;
        e->bDeletedOccurrence = true;
        e->nStart = CSeriesZone::ToLocal(series.strTzid, nOriginal);
        e->nEnd = e->nStart + CItemTable::Duration(series);
        e->notes.clear();
    } else {
        if (!m_reader.CheckProperties(pComp, pstrWhy))
            return false;
        e->strTzid = series.strTzid;
        m_reader.ReadCommon(pComp, e);
        e->nItemType = olAppointmentItem;
        e->strLocation = Utf8Text(icalcomponent_get_location(pComp));
        if (!m_reader.ReadEventTimes(pComp, e, pstrWhy))
            return false;
        if (icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY) != nullptr)
            m_reader.Drop(QStringLiteral("RRULE of a changed occurrence"));
        e->bAllDay = e->bAllDay || series.bAllDay;
    }
    e->bOccurrence = true;
    e->nOriginalStart = nOriginal;
    e->strUid = series.strUid;
    e->rule = CRecurrenceRule();
    e->nPatternStart = e->nLastStart = kNoDateMinutes;
    return true;
}

// A recurring task holds one open occurrence: excluded, cancelled and completed
// occurrences at its front are applied (a completed one becomes a completed task of its
// own); what lies beyond the open occurrence cannot be held and is refused.
bool CICalOverrides::ApplyTodoChanges(const CItemRecord& task, const QVector<int64_t>& exdates,
                                      const QVector<icalcomponent*>& overrides, QVector<CItemRecord>* pCopies,
                                      CItemRecord* pMoved, QStringList* pRefused)
{
    QSet<int64_t> excluded;
    for (int64_t n : exdates)
        excluded.insert(WallDayStart(n));
    QMap<int64_t, icalcomponent*> completed;
    for (icalcomponent* pComp : overrides) {
        icalproperty* pId = icalcomponent_get_first_property(pComp, ICAL_RECURRENCEID_PROPERTY);
        int64_t nDay = 0;
        bool bDate = false;
        QString strWhy;
        if (!m_zones.ReadLocal(pId, icalproperty_get_recurrenceid(pId), &nDay, &bDate, &strWhy)) {
            *pRefused << QStringLiteral("changed occurrence: %1").arg(strWhy);
            continue;
        }
        nDay = WallDayStart(nDay);
        const icalproperty_status status = icalcomponent_get_status(pComp);
        if (status == ICAL_STATUS_CANCELLED)
            excluded.insert(nDay);
        else if (status == ICAL_STATUS_COMPLETED || icalcomponent_get_first_property(pComp, ICAL_COMPLETED_PROPERTY))
            completed.insert(nDay, pComp);
        else
            *pRefused << QStringLiteral("changed occurrence %1: a recurring task keeps one pattern for all its occurrences")
                             .arg(DayText(nDay));
    }
    *pMoved = task;
    const int64_t nAnchor = task.nStart < kNoDateMinutes ? task.nStart : task.nEnd;
    CRecurrenceMath math(task.rule, task.nPatternStart, task.nLastStart);
    math.Seek(nAnchor, kNoDateMinutes - 1);
    int64_t nDay = 0;
    bool bLeft = false;
    while ((bLeft = math.Next(&nDay)) && (excluded.contains(nDay) || completed.contains(nDay))) {
        if (icalcomponent* pComp = completed.value(nDay)) {
            CItemRecord copy;
            QString strWhy;
            const bool bRead = m_reader.CheckProperties(pComp, &strWhy)
                            && (m_reader.ReadCommon(pComp, &copy), m_reader.ReadTodo(pComp, &copy, &strWhy));
            if (!bRead) {
                *pRefused << QStringLiteral("completed occurrence %1: %2").arg(DayText(nDay), strWhy);
            } else {
                copy.rule = CRecurrenceRule();
                copy.bComplete = true;
                copy.strUid = task.strUid + QStringLiteral("/") + DayText(nDay);
                pCopies->push_back(copy);
            }
        }
        excluded.remove(nDay);
        completed.remove(nDay);
    }
    for (int64_t n : std::as_const(excluded))
        *pRefused << QStringLiteral("excluded occurrence %1 lies after the task's open occurrence").arg(DayText(n));
    for (auto it = completed.constBegin(); it != completed.constEnd(); ++it)
        *pRefused << QStringLiteral("completed occurrence %1 lies after the task's open occurrence").arg(DayText(it.key()));
    if (!bLeft) {  // every occurrence is done
        pMoved->bComplete = true;
        pMoved->nDateCompleted = WallDayStart(task.nLastStart);
        return true;
    }
    const int64_t nShift = nDay - WallDayStart(nAnchor);
    pMoved->nStart += pMoved->nStart < kNoDateMinutes ? nShift : 0;
    pMoved->nEnd += pMoved->nEnd < kNoDateMinutes ? nShift : 0;
    return true;
}
