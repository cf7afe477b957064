#include "ical/CICalItemReader.h"

#include "ical/CICalZones.h"
#include "ical/ICalTimes.h"
#include "ical/ICalStamp.h"
#include "ical/ICalUid.h"
#include "pim/CItemWriter.h"
#include "pim/CLocalZone.h"
#include "pim/CNotesData.h"
#include "pim/CRecurrence.h"
#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QRegularExpression>
#include <algorithm>

namespace {

const char kInkProperty[] = "X-QUILLDAY-INK";

int ImportanceOfPriority(int nPriority)
{
    if (nPriority >= 1 && nPriority <= 4)
        return olImportanceHigh;
    if (nPriority >= 6 && nPriority <= 9)
        return olImportanceLow;
    return olImportanceNormal;
}

// Properties that carry nothing the store would lose.
bool IsHarmless(icalproperty_kind kind, icalproperty* p)
{
    switch (kind) {
    case ICAL_CREATED_PROPERTY:
    case ICAL_LASTMODIFIED_PROPERTY:
    case ICAL_DTSTAMP_PROPERTY:
    case ICAL_SEQUENCE_PROPERTY:
        return true;
    case ICAL_CLASS_PROPERTY:
        return icalproperty_get_class(p) == ICAL_CLASS_PUBLIC;
    case ICAL_TRANSP_PROPERTY:
        return icalproperty_get_transp(p) == ICAL_TRANSP_OPAQUE;
    default:
        return false;
    }
}

// Properties of VEVENT (bEvent) or VTODO that the reader maps to the store.
bool IsRead(icalproperty_kind kind, bool bEvent)
{
    switch (kind) {
    case ICAL_UID_PROPERTY:
    case ICAL_SUMMARY_PROPERTY:
    case ICAL_DESCRIPTION_PROPERTY:
    case ICAL_DTSTART_PROPERTY:
    case ICAL_DURATION_PROPERTY:
    case ICAL_RRULE_PROPERTY:
    case ICAL_EXDATE_PROPERTY:
    case ICAL_RECURRENCEID_PROPERTY:
        return true;
    case ICAL_DTEND_PROPERTY:
    case ICAL_LOCATION_PROPERTY:
        return bEvent;
    case ICAL_DUE_PROPERTY:
    case ICAL_COMPLETED_PROPERTY:
    case ICAL_PERCENTCOMPLETE_PROPERTY:
    case ICAL_PRIORITY_PROPERTY:
        return !bEvent;
    default:
        return false;
    }
}

// Statuses that the store's fields express: cancelled items are handled apart, a
// completed to-do is complete, an open one is not.
bool IsStatusRead(icalproperty_status status, bool bEvent)
{
    if (status == ICAL_STATUS_CANCELLED || status == ICAL_STATUS_NONE)
        return true;
    return bEvent ? status == ICAL_STATUS_CONFIRMED
                  : status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_NEEDSACTION;
}

QString PropertyName(icalproperty* p)
{
    const icalproperty_kind kind = icalproperty_isa(p);
    if (kind == ICAL_X_PROPERTY)
        return Utf8Text(icalproperty_get_property_name(p));
    return Utf8Text(icalproperty_kind_to_string(kind));
}

// "FREQ=MONTHLY;BYDAY=2MO,4TU" (several weekdays, each with its ordinal) is one series for
// each weekday, which the store holds exactly: "2MO" and "4TU". A COUNT counts them all
// together and cannot be split.
bool SplitOrdinalDays(const icalrecurrencetype& rule, int64_t nStart, QVector<ICalRulePart>* pParts)
{
    if (pParts == nullptr || rule.count > 0 || rule.by_set_pos[0] != ICAL_RECURRENCE_ARRAY_MAX
        || (rule.freq != ICAL_MONTHLY_RECURRENCE && rule.freq != ICAL_YEARLY_RECURRENCE))
        return false;
    QVector<ICalRulePart> parts;
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int nPosition = icalrecurrencetype_day_position(rule.by_day[i]);
        if (nPosition == 0)
            return false;
        icalrecurrencetype one = rule;
        one.by_day[0] = rule.by_day[i];
        one.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        ICalRulePart part;
        part.strName = QString::number(nPosition)
                     + QLatin1String(icalrecur_weekday_to_string(icalrecurrencetype_day_day_of_week(rule.by_day[i])));
        if (!CRecurrence::FromIcal(one, nStart, &part.rule))
            return false;
        if (std::none_of(parts.cbegin(), parts.cend(), [&](const auto& p) { return p.strName == part.strName; }))
            parts.push_back(part);
    }
    if (parts.size() < 2)
        return false;
    *pParts = parts;
    return true;
}

// The year of a rule's last occurrence from nStart (wall minutes); kMaxYear when it has
// no end or the store cannot hold it.
int LastYearOf(const icalrecurrencetype& rule, int64_t nStart)
{
    if (!icaltime_is_null_time(rule.until))
        return rule.until.year;
    CRecurrenceRule held;
    int64_t nFirst = 0, nLast = 0;
    if (rule.count > 0 && CRecurrence::FromIcal(rule, nStart, &held) && CRecurrence::Span(held, nStart, &nFirst, &nLast)
        && nLast < kNoDateMinutes)
        return FieldsOfWall(nLast).nYear;
    return kMaxYear;
}

// Occurrences compared to tell whether a week start changes a rule: more than 70 of its
// cycles of weeks.
constexpr int kWeekStartCompared = 500;

// Whether the rule gives the same occurrences from start with weeks that start on Monday,
// as the store counts them: WKST decides which weeks an INTERVAL counts only for some rules
// (every second week on Tuesday and Sunday, not every second Wednesday).
bool SameWithMondayWeeks(const icalrecurrencetype& rule, icaltimetype start)
{
    icalrecurrencetype monday = rule;
    monday.week_start = ICAL_MONDAY_WEEKDAY;
    start.zone = nullptr;
    icalrecur_iterator* pAsGiven = icalrecur_iterator_new(rule, start);
    icalrecur_iterator* pMonday = icalrecur_iterator_new(monday, start);
    bool bSame = pAsGiven != nullptr && pMonday != nullptr;
    for (int i = 0; bSame && i < kWeekStartCompared; ++i) {
        const icaltimetype a = icalrecur_iterator_next(pAsGiven);
        const icaltimetype b = icalrecur_iterator_next(pMonday);
        bSame = icaltime_compare(a, b) == 0;
        if (icaltime_is_null_time(a) || icaltime_is_null_time(b))
            break;
    }
    if (pAsGiven)
        icalrecur_iterator_free(pAsGiven);
    if (pMonday)
        icalrecur_iterator_free(pMonday);
    return bSame;
}

// A weekly rule with an INTERVAL and a week start other than Monday, held with weeks from
// Monday where that gives the same occurrences; false with the reason where it does not.
bool TakeMondayWeeks(icalrecurrencetype* pRule, icaltimetype start, QString* pstrWhy)
{
    if (pRule->freq != ICAL_WEEKLY_RECURRENCE || pRule->interval <= 1 || pRule->week_start == ICAL_MONDAY_WEEKDAY
        || pRule->week_start == ICAL_NO_WEEKDAY || icaltime_is_null_time(start))
        return true;
    if (SameWithMondayWeeks(*pRule, start)) {
        pRule->week_start = ICAL_MONDAY_WEEKDAY;
        return true;
    }
    char* psz = icalrecurrencetype_as_string_r(pRule);
    *pstrWhy = QStringLiteral("recurrence rule whose WKST changes which weeks its INTERVAL counts; the store counts "
                              "weeks from Monday (%1)").arg(Utf8Text(psz));
    icalmemory_free_buffer(psz);
    return false;
}

// A DURATION in minutes; false with the reason when it is longer than any item may be.
bool ReadDurationMinutes(icalproperty* pDuration, int64_t* pnMinutes, QString* pstrWhy)
{
    const int64_t nSeconds = DurationSeconds(icalproperty_get_duration(pDuration));
    if (nSeconds < -kMaxSpanSeconds || nSeconds > kMaxSpanSeconds)
        return *pstrWhy = QStringLiteral("DURATION %1 is longer than the years %2..%3")
                              .arg(Utf8Text(icalproperty_get_value_as_string(pDuration)))
                              .arg(kMinYear)
                              .arg(kMaxYear),
               false;
    *pnMinutes = nSeconds / 60;
    return true;
}

// The minutes before the start that a VALARM's TRIGGER gives, when the store can keep
// them: a duration, not after the start, at most kLongestReminderMinutes before it.
bool ReminderMinutes(icalproperty* pTrigger, int* pnMinutes)
{
    const icaltriggertype trigger = icalproperty_get_trigger(pTrigger);
    const int64_t nSeconds = DurationSeconds(trigger.duration);
    if (!icaltime_is_null_time(trigger.time) || nSeconds > 0 || -nSeconds / 60 > kLongestReminderMinutes)
        return false;
    *pnMinutes = static_cast<int>(-nSeconds / 60);
    return true;
}

bool IsRelatedToEnd(icalproperty* pTrigger)
{
    icalparameter* pRelated = icalproperty_get_first_parameter(pTrigger, ICAL_RELATED_PARAMETER);
    return pRelated && icalparameter_get_related(pRelated) == ICAL_RELATED_END;
}

}  // namespace

void CICalItemReader::Drop(const QString& strWhat, int nCount)
{
    m_dropped[strWhat] += nCount;
}

bool CICalItemReader::ReadItem(icalcomponent* pComp, const QByteArray& text, bool bEvent,
                               QVector<CItemRecord>* pSeries, QVector<int64_t>* pExdates, QString* pstrUid,
                               QString* pstrWhy)
{
    if (!CheckProperties(pComp, pstrWhy))
        return false;
    CItemRecord r;
    ReadCommon(pComp, &r);
    *pstrUid = r.strUid.isEmpty() ? *pstrUid : r.strUid;
    if (icalcomponent_get_status(pComp) == ICAL_STATUS_CANCELLED)
        return *pstrWhy = bEvent ? QStringLiteral("cancelled event") : QStringLiteral("cancelled to-do"), false;
    QVector<ICalRulePart> parts;
    if (!(bEvent ? ReadEvent(pComp, &r, &parts, pstrWhy) : ReadTodo(pComp, &r, pstrWhy)))
        return false;
    if (r.strUid.isEmpty())
        r.strUid = ICalDerivedUid(text);
    if (parts.isEmpty())
        parts.push_back({QString(), r.rule});
    for (const ICalRulePart& part : std::as_const(parts)) {
        CItemRecord one = r;
        one.rule = part.rule;
        one.strUid += part.strName.isEmpty() ? QString() : u'/' + part.strName;
        // A weekday of a split rule may have no occurrence before UNTIL: nothing is lost.
        if (SUCCEEDED(CItemWriter::Normalize(&one, true)))
            pSeries->push_back(one);
    }
    if (pSeries->isEmpty())
        return *pstrWhy = QStringLiteral("recurrence with no occurrence or too many"), false;
    if (!ReadExdates(pComp, pSeries->front(), pExdates, pstrWhy))
        return false;
    if (!pExdates->isEmpty() && !pSeries->front().rule.IsRecurring()) {
        Drop(QStringLiteral("EXDATE of an item that does not recur"), int(pExdates->size()));
        pExdates->clear();
    }
    return true;
}

void CICalItemReader::CountSeconds(icalproperty* p)
{
    icalvalue* pValue = icalproperty_get_value(p);
    const icalvalue_kind kind = pValue ? icalvalue_isa(pValue) : ICAL_NO_VALUE;
    bool bSeconds = false;
    if (kind == ICAL_DATETIME_VALUE || kind == ICAL_DATE_VALUE) {
        const icaltimetype t = icalvalue_get_datetime(pValue);
        bSeconds = !t.is_date && t.second != 0;
    } else if (kind == ICAL_DURATION_VALUE) {
        bSeconds = DurationSeconds(icalvalue_get_duration(pValue)) % 60 != 0;
    }
    if (bSeconds)
        Drop(QStringLiteral("seconds of %1 (the store keeps whole minutes)").arg(PropertyName(p)));
}

bool CICalItemReader::CheckProperties(icalcomponent* pComp, QString* pstrWhy)
{
    const bool bEvent = icalcomponent_isa(pComp) == ICAL_VEVENT_COMPONENT;
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_ANY_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_ANY_PROPERTY)) {
        const icalproperty_kind kind = icalproperty_isa(p);
        if (IsRead(kind, bEvent))
            CountSeconds(p);
        if (IsRead(kind, bEvent) || IsHarmless(kind, p))
            continue;
        if (kind == ICAL_STATUS_PROPERTY) {
            if (!IsStatusRead(icalproperty_get_status(p), bEvent))
                Drop(QStringLiteral("STATUS:%1").arg(Utf8Text(icalproperty_get_value_as_string(p))));
            continue;
        }
        if (kind == ICAL_XLICERROR_PROPERTY) {
            // libical drops a line it cannot read; one that sets the item's times or
            // pattern leaves an item the file did not mean.
            const QString strError = Utf8Text(icalproperty_get_xlicerror(p));
            // An empty value ("LOCATION:") says nothing that is lost.
            if (strError.startsWith(QLatin1String("No value for")))
                continue;
            static const QRegularExpression timing(QStringLiteral(
                "\\b(DTSTART|DTEND|DUE|DURATION|RRULE|EXDATE|RDATE|EXRULE|RECURRENCE-ID|UID|STATUS|COMPLETED)\\b"));
            const QRegularExpressionMatch m = timing.match(strError);
            if (m.hasMatch())
                return *pstrWhy = QStringLiteral("unreadable %1 (%2)").arg(m.captured(1), strError.simplified()), false;
            Drop(QStringLiteral("unreadable lines"));
            continue;
        }
        if (kind == ICAL_X_PROPERTY && qstricmp(icalproperty_get_x_name(p), kInkProperty) == 0)
            continue;
        if (kind == ICAL_RDATE_PROPERTY)
            return *pstrWhy = QStringLiteral("RDATE (extra occurrences) cannot be held by the store"), false;
        if (kind == ICAL_EXRULE_PROPERTY)
            return *pstrWhy = QStringLiteral("EXRULE (an exclusion rule) cannot be held by the store"), false;
        Drop(PropertyName(p));
    }
    int nAlarms = 0;
    for (icalcomponent* c = icalcomponent_get_first_component(pComp, ICAL_ANY_COMPONENT); c != nullptr;
         c = icalcomponent_get_next_component(pComp, ICAL_ANY_COMPONENT)) {
        if (icalcomponent_isa(c) != ICAL_VALARM_COMPONENT || ++nAlarms > 1) {
            Drop(nAlarms > 1 ? QStringLiteral("VALARM (all but the first)") : Utf8Text(icalcomponent_kind_to_string(icalcomponent_isa(c))));
            continue;
        }
        icalproperty* pTrigger = icalcomponent_get_first_property(c, ICAL_TRIGGER_PROPERTY);
        int nMinutes = 0;
        if (pTrigger == nullptr || !ReminderMinutes(pTrigger, &nMinutes) || IsRelatedToEnd(pTrigger))
            Drop(QStringLiteral("VALARM trigger (not a time before the start, up to a year)"));
        for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p != nullptr;
             p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
            const icalproperty_kind kind = icalproperty_isa(p);
            if (kind != ICAL_TRIGGER_PROPERTY && kind != ICAL_ACTION_PROPERTY && kind != ICAL_DESCRIPTION_PROPERTY
                && kind != ICAL_SUMMARY_PROPERTY && kind != ICAL_UID_PROPERTY)
                Drop(QStringLiteral("VALARM ") + PropertyName(p));
        }
    }
    return true;
}

void CICalItemReader::ReadCommon(icalcomponent* pComp, CItemRecord* r)
{
    r->strUid = ICalUidAsRead(Utf8Text(icalcomponent_get_uid(pComp)));
    // The version: LAST-MODIFIED where given, else DTSTAMP.
    icalproperty* pStamp = icalcomponent_get_first_property(pComp, ICAL_LASTMODIFIED_PROPERTY);
    if (pStamp != nullptr)
        r->strStamp = UtcStampText(icalproperty_get_lastmodified(pStamp));
    else if ((pStamp = icalcomponent_get_first_property(pComp, ICAL_DTSTAMP_PROPERTY)) != nullptr)
        r->strStamp = UtcStampText(icalproperty_get_dtstamp(pStamp));
    icalproperty* pSequence = icalcomponent_get_first_property(pComp, ICAL_SEQUENCE_PROPERTY);
    r->nSequence = pSequence ? icalproperty_get_sequence(pSequence) : 0;
    r->strSubject = Utf8Text(icalcomponent_get_summary(pComp));
    CNotesData notes;
    notes.m_strText = Utf8Text(icalcomponent_get_description(pComp));
    r->notes = notes.ToBytes();
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_X_PROPERTY)) {
        // Our own notes with their pen strokes, when the file came from us and their text
        // is still the DESCRIPTION (else it was edited elsewhere, and the text wins).
        const char* pszName = icalproperty_get_x_name(p);
        CNotesData ink;
        if (pszName == nullptr || qstricmp(pszName, kInkProperty) != 0)
            continue;
        if (!ink.FromBytes(QByteArray::fromBase64(QByteArray(icalproperty_get_x(p)))))
            Drop(QStringLiteral("%1 (not readable)").arg(QLatin1String(kInkProperty)));
        else if (ink.m_strText == notes.m_strText)
            r->notes = ink.ToBytes();
        else if (!ink.m_strokes.isEmpty())
            Drop(QStringLiteral("pen strokes of notes whose text was changed elsewhere"));
    }
    r->bNotesLoaded = true;
    icalcomponent* pAlarm = icalcomponent_get_first_component(pComp, ICAL_VALARM_COMPONENT);
    r->bReminderSet = pAlarm != nullptr;
    icalproperty* pTrigger = pAlarm ? icalcomponent_get_first_property(pAlarm, ICAL_TRIGGER_PROPERTY) : nullptr;
    if (pTrigger != nullptr)
        ReminderMinutes(pTrigger, &r->nReminderMinutes);
}

bool CICalItemReader::ReadEventTimes(icalcomponent* pComp, CItemRecord* r, QString* pstrWhy)
{
    icalproperty* pStart = icalcomponent_get_first_property(pComp, ICAL_DTSTART_PROPERTY);
    bool bDate = false, bEndDate = false;
    if (pStart == nullptr)
        return *pstrWhy = QStringLiteral("no DTSTART"), false;
    if (!m_zones.ReadLocal(pStart, icalproperty_get_dtstart(pStart), &r->nStart, &bDate, pstrWhy))
        return false;
    r->bAllDay = bDate;
    icalproperty* pEnd = icalcomponent_get_first_property(pComp, ICAL_DTEND_PROPERTY);
    icalproperty* pDuration = icalcomponent_get_first_property(pComp, ICAL_DURATION_PROPERTY);
    if (pEnd != nullptr) {
        if (!m_zones.ReadLocal(pEnd, icalproperty_get_dtend(pEnd), &r->nEnd, &bEndDate, pstrWhy))
            return false;
    } else if (pDuration != nullptr) {
        int64_t nMinutes = 0;
        if (!ReadDurationMinutes(pDuration, &nMinutes, pstrWhy))
            return false;
        r->nEnd = r->nStart + nMinutes;
    } else {
        r->nEnd = bDate ? r->nStart + kMinutesPerDay : r->nStart;
    }
    if (r->nEnd < r->nStart)
        Drop(pEnd ? QStringLiteral("DTEND before DTSTART (taken as DTSTART)")
                  : QStringLiteral("DURATION below zero (taken as none)"));
    if (bDate)  // the store keeps the last day itself, iCalendar the day after it
        r->nEnd = std::max(r->nStart, WallDayStart(r->nEnd - 1));
    r->nEnd = std::max(r->nEnd, r->nStart);
    if (!IsImportYear(r->nEnd))
        return *pstrWhy = QStringLiteral("an end outside %1..%2").arg(kMinYear).arg(kMaxYear), false;
    return true;
}

// The RRULE in the series' terms: its zone's wall time, with UNTIL read in the same terms.
bool CICalItemReader::ReadRule(icalcomponent* pComp, CItemRecord* r, QVector<ICalRulePart>* pParts, QString* pstrWhy) const
{
    if (icalcomponent_count_properties(pComp, ICAL_RRULE_PROPERTY) > 1)
        return *pstrWhy = QStringLiteral("several RRULEs cannot be held by the store"), false;
    icalproperty* pRule = icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY);
    if (pRule == nullptr)
        return true;
    const bool bTask = r->nItemType == olTaskItem;
    icalproperty* pStart = icalcomponent_get_first_property(pComp, bTask && r->nStart >= kNoDateMinutes
                                                                       ? ICAL_DUE_PROPERTY : ICAL_DTSTART_PROPERTY);
    const icaltimetype start = pStart == nullptr ? icaltime_null_time()
                             : icalproperty_isa(pStart) == ICAL_DUE_PROPERTY ? icalproperty_get_due(pStart)
                                                                            : icalproperty_get_dtstart(pStart);
    int64_t nZoneStart = bTask ? (r->nStart < kNoDateMinutes ? r->nStart : r->nEnd) : r->nStart;
    icalrecurrencetype rule = icalproperty_get_rrule(pRule);
    if (!bTask && !r->bAllDay) {
        r->strTzid = m_zones.ZoneOfStart(pStart, start, start.year, LastYearOf(rule, WallOfFields(start)), pstrWhy);
        if (r->strTzid.isEmpty() && !pstrWhy->isEmpty())
            return false;
        if (!r->strTzid.isEmpty())
            nZoneStart = r->strTzid == QLatin1String("UTC") ? WallOfFields(start)
                                                           : CSeriesZone::FromUtc(r->strTzid, CSeriesZone::ToUtc(r->strTzid, WallOfFields(start)));
    }
    if (nZoneStart >= kNoDateMinutes)
        return *pstrWhy = QStringLiteral("a recurring to-do without a date"), false;
    if (!icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until) && !rule.until.is_date) {
        const int64_t nUtc = UtcOfFields(rule.until);
        const int64_t nWall = r->strTzid.isEmpty() ? CLocalZone::WallFromUtc(nUtc) : CSeriesZone::FromUtc(r->strTzid, nUtc);
        const WallFields f = FieldsOfWall(nWall);
        rule.until = icaltime_null_time();
        rule.until.year = f.nYear;
        rule.until.month = f.nMonth;
        rule.until.day = f.nDay;
        rule.until.hour = f.nHour;
        rule.until.minute = f.nMinute;
    }
    if (!TakeMondayWeeks(&rule, start, pstrWhy))
        return false;
    if (!CRecurrence::FromIcal(rule, nZoneStart, &r->rule)
        && (bTask || !SplitOrdinalDays(rule, nZoneStart, pParts))) {
        char* psz = icalrecurrencetype_as_string_r(&rule);
        *pstrWhy = QStringLiteral("recurrence rule the store cannot hold exactly (%1)").arg(Utf8Text(psz));
        icalmemory_free_buffer(psz);
        return false;
    }
    return true;
}

bool CICalItemReader::ReadEvent(icalcomponent* pComp, CItemRecord* r, QVector<ICalRulePart>* pParts, QString* pstrWhy)
{
    r->nItemType = olAppointmentItem;
    r->strLocation = Utf8Text(icalcomponent_get_location(pComp));
    if (!ReadEventTimes(pComp, r, pstrWhy))
        return false;
    if (icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY) != nullptr)
        return ReadRule(pComp, r, pParts, pstrWhy);
    // A single timed event keeps the zone of its start where the store can name it; else
    // its instant stays in local time.
    icalproperty* pStart = icalcomponent_get_first_property(pComp, ICAL_DTSTART_PROPERTY);
    const icaltimetype start = icalproperty_get_dtstart(pStart);
    QString strNoZone;
    if (!r->bAllDay)
        r->strTzid = m_zones.ZoneOfStart(pStart, start, start.year, start.year, &strNoZone);
    return true;
}

bool CICalItemReader::ReadTodo(icalcomponent* pComp, CItemRecord* r, QString* pstrWhy)
{
    r->nItemType = olTaskItem;
    bool bDate = false;
    icalproperty* pStart = icalcomponent_get_first_property(pComp, ICAL_DTSTART_PROPERTY);
    icalproperty* pDue = icalcomponent_get_first_property(pComp, ICAL_DUE_PROPERTY);
    icalproperty* pDone = icalcomponent_get_first_property(pComp, ICAL_COMPLETED_PROPERTY);
    icalproperty* pDuration = icalcomponent_get_first_property(pComp, ICAL_DURATION_PROPERTY);
    if ((pStart && !m_zones.ReadLocal(pStart, icalproperty_get_dtstart(pStart), &r->nStart, &bDate, pstrWhy))
        || (pDue && !m_zones.ReadLocal(pDue, icalproperty_get_due(pDue), &r->nEnd, &bDate, pstrWhy))
        || (pDone && !m_zones.ReadLocal(pDone, icalproperty_get_completed(pDone), &r->nDateCompleted, &bDate, pstrWhy)))
        return false;
    int64_t nMinutes = 0;
    if (pStart && !pDue && pDuration) {
        if (!ReadDurationMinutes(pDuration, &nMinutes, pstrWhy))
            return false;
        r->nEnd = r->nStart + nMinutes;
    }
    // A task keeps dates: a time of day is counted as lost (the date of its local time kept).
    if (pStart && r->nStart != WallDayStart(r->nStart))
        Drop(QStringLiteral("DTSTART time of day of a to-do (its date kept)"));
    if ((pDue || (pStart && pDuration)) && r->nEnd != WallDayStart(r->nEnd) && r->nEnd < kNoDateMinutes)
        Drop(QStringLiteral("DUE time of day of a to-do (its date kept)"));
    if (pDone && r->nDateCompleted != WallDayStart(r->nDateCompleted))
        Drop(QStringLiteral("COMPLETED time of day (its date kept)"));
    r->nStart = pStart ? WallDayStart(r->nStart) : kNoDateMinutes;
    r->nEnd = (pDue || (pStart && pDuration)) ? WallDayStart(r->nEnd) : kNoDateMinutes;
    r->nDateCompleted = pDone ? WallDayStart(r->nDateCompleted) : kNoDateMinutes;
    icalproperty* pPercent = icalcomponent_get_first_property(pComp, ICAL_PERCENTCOMPLETE_PROPERTY);
    const int nPercent = pPercent ? icalproperty_get_percentcomplete(pPercent) : 0;
    r->bComplete = icalcomponent_get_status(pComp) == ICAL_STATUS_COMPLETED || pDone != nullptr || nPercent >= 100;
    if (nPercent > 0 && nPercent < 100)
        Drop(QStringLiteral("PERCENT-COMPLETE between 0 and 100 (the store keeps done or not)"));
    icalproperty* pPriority = icalcomponent_get_first_property(pComp, ICAL_PRIORITY_PROPERTY);
    const int nPriority = pPriority ? icalproperty_get_priority(pPriority) : 0;
    r->nImportance = ImportanceOfPriority(nPriority);
    if (nPriority != 0 && nPriority != ICalPriorityOf(r->nImportance))
        Drop(QStringLiteral("PRIORITY other than 1, 5 or 9 (taken as the nearest: high 1, normal 5, low 9)"));
    return ReadRule(pComp, r, nullptr, pstrWhy);
}

bool CICalItemReader::ReadExdates(icalcomponent* pComp, const CItemRecord& series, QVector<int64_t>* pDates,
                                  QString* pstrWhy) const
{
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_EXDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_EXDATE_PROPERTY)) {
        int64_t nWall = 0;
        if (!m_zones.ReadSeriesTime(p, icalproperty_get_exdate(p), series, &nWall, pstrWhy))
            return false;
        pDates->push_back(nWall);
    }
    return true;
}
