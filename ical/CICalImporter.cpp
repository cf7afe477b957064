#include "ical/CICalImporter.h"

#include "ical/CBoundedQueue.h"
#include "pim/CItemRecord.h"
#include "pim/CItemTable.h"
#include "pim/CItemWriter.h"
#include "pim/CLocalZone.h"
#include "pim/CNotesData.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/CSqlStatement.h"
#include "ical/ICalTimes.h"
#include "ical/ICalStamp.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <ctime>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

namespace {

const char kInkProperty[] = "X-QUILLDAY-INK";
// Items read ahead of the store, at most: batches of items, handed over at once.
constexpr qsizetype kBatchItems = 32;
constexpr size_t kQueuedBatches = 4;

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

QString DayText(int64_t nWall)
{
    const WallFields f = FieldsOfWall(nWall);
    return QStringLiteral("%1-%2-%3").arg(f.nYear, 4, 10, QLatin1Char('0')).arg(f.nMonth, 2, 10, QLatin1Char('0'))
        .arg(f.nDay, 2, 10, QLatin1Char('0'));
}

// The fields of a rule that its kind uses (the others keep whatever the start gave).
CRecurrenceRule Used(CRecurrenceRule rule)
{
    const int nType = rule.nType;
    if (nType != olRecursWeekly && nType != olRecursMonthNth && nType != olRecursYearNth)
        rule.nDayOfWeekMask = 0;
    if (nType != olRecursMonthly && nType != olRecursYearly)
        rule.nDayOfMonth = 0;
    if (nType != olRecursMonthNth && nType != olRecursYearNth)
        rule.nInstance = 0;
    if (nType != olRecursYearly && nType != olRecursYearNth)
        rule.nMonthOfYear = 0;
    return rule;
}

// The rule as an export writes a task's: an end by count becomes the day of its last
// occurrence, so that it means the same from any of its occurrences.
CRecurrenceRule TaskRuleAsWritten(const CItemRecord& r)
{
    CRecurrenceRule rule = Used(r.rule);
    if (rule.nOccurrences > 0) {
        rule.nOccurrences = 0;
        rule.nPatternEnd = WallDayStart(r.nLastStart);
    }
    return rule;
}

bool SameItemFields(const CItemRecord& a, const CItemRecord& b)
{
    const bool bTask = a.nItemType == olTaskItem;
    return a.nItemType == b.nItemType && a.strSubject == b.strSubject && a.strLocation == b.strLocation
        && a.nStart == b.nStart && a.nEnd == b.nEnd && a.bAllDay == b.bAllDay && a.bReminderSet == b.bReminderSet
        && (!a.bReminderSet || a.nReminderMinutes == b.nReminderMinutes) && a.nImportance == b.nImportance
        && a.bComplete == b.bComplete && a.nDateCompleted == b.nDateCompleted && a.notes == b.notes
        && a.strTzid == b.strTzid
        && (bTask ? TaskRuleAsWritten(a) == TaskRuleAsWritten(b)
                  : Used(a.rule) == Used(b.rule) && (!a.rule.IsRecurring() || (a.nPatternStart == b.nPatternStart
                                                                   && a.nLastStart == b.nLastStart)));
}

// "FREQ=MONTHLY;BYDAY=2MO,4TU" (several weekdays, each with its ordinal) is one series for
// each weekday, which the store holds exactly: "2MO" and "4TU". A COUNT counts them all
// together and cannot be split.
bool SplitOrdinalDays(const icalrecurrencetype& rule, int64_t nStart, QVector<CICalImporter::RulePart>* pParts)
{
    if (pParts == nullptr || rule.count > 0 || rule.by_set_pos[0] != ICAL_RECURRENCE_ARRAY_MAX
        || (rule.freq != ICAL_MONTHLY_RECURRENCE && rule.freq != ICAL_YEARLY_RECURRENCE))
        return false;
    QVector<CICalImporter::RulePart> parts;
    for (int i = 0; i < ICAL_BY_DAY_SIZE && rule.by_day[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
        const int nPosition = icalrecurrencetype_day_position(rule.by_day[i]);
        if (nPosition == 0)
            return false;
        icalrecurrencetype one = rule;
        one.by_day[0] = rule.by_day[i];
        one.by_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        CICalImporter::RulePart part;
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

}  // namespace

struct CICalImporter::Wanted {
    CItemRecord record;
    QVector<CItemRecord> exceptions;  // ascending original start
};

struct CICalImporter::Prepared {
    QStringList skipped;    // "<UID>: <reason>", in file order
    QVector<Wanted> items;  // the item, then any completed occurrences of a recurring task
};

CICalImporter::CICalImporter(std::shared_ptr<CPimStore> pStore) : m_pStore(std::move(pStore)) {}

CICalImporter::~CICalImporter()
{
    Clear();
}

void CICalImporter::Clear()
{
    m_zones.Clear();
    m_overrides.clear();
}

QStringList CICalImporter::DroppedSummary() const
{
    QStringList lines;
    for (auto it = m_dropped.constBegin(); it != m_dropped.constEnd(); ++it)
        lines << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    return lines;
}

QString CICalImporter::CountsLine() const
{
    return QStringLiteral("%1 added, %2 updated, %3 unchanged, %4 skipped.")
        .arg(Added())
        .arg(Updated())
        .arg(Unchanged())
        .arg(Skipped());
}

QStringList CICalImporter::LeftOut() const
{
    QStringList lines;
    for (const QString& strLine : m_skipped)
        lines << QStringLiteral("Skipped ") + strLine;
    for (const QString& strLine : DroppedSummary())
        lines << QStringLiteral("Dropped ") + strLine;
    return lines;
}

QString CICalImporter::SkipLine(const QString& strUid, const QString& strReason)
{
    return QStringLiteral("%1: %2").arg(strUid.isEmpty() ? QStringLiteral("(no UID)") : strUid, strReason);
}

void CICalImporter::Drop(const QString& strWhat, int nCount)
{
    m_dropped[strWhat] += nCount;
}

BOOL CICalImporter::ImportFile(const QString& strPath, QString* pstrError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pstrError = QStringLiteral("cannot read %1: %2").arg(strPath, file.errorString());
        return FALSE;
    }
    return ImportDevice(&file, pstrError);
}

BOOL CICalImporter::ImportText(const QByteArray& text, QString* pstrError)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ImportDevice(&buffer, pstrError);
}

void CICalImporter::LoadZone(const QByteArray& block)
{
    if (!m_zones.Load(block))
        Drop(QStringLiteral("unreadable VTIMEZONE"));
}

bool CICalImporter::StoreFailed()
{
    m_pStore->NoteError();
    m_bFailed = true;
    return false;
}

BOOL CICalImporter::ImportDevice(QIODevice* pDevice, QString* pstrError)
{
    Clear();
    m_skipped.clear();
    m_dropped.clear();
    m_nAppointments = m_nTasks = m_nUpdated = m_nUnchanged = 0;
    m_bFailed = false;
    CICalStream stream(pDevice);
    // First the whole structure, so that a damaged file adds nothing; the zones, which
    // components before them may use; and where each series' changed occurrences are.
    const bool bRead = stream.Scan(
        [this](const ICalBlock& b, const QByteArray& block) {
            if (b.name == "VTIMEZONE")
                LoadZone(block);
            else if (b.bOverride)
                m_overrides[QString::fromLatin1(b.name) + u' ' + b.strUid].blocks.push_back(b);
            return true;
        },
        pstrError, "VTIMEZONE");
    if (!bRead)
        return Clear(), FALSE;
    if (!m_pStore->Begin()) {
        Clear();
        *pstrError = QStringLiteral("the store is busy or read-only");
        return FALSE;
    }
    m_pStore->SetBulkChanges(true);
    // A big transaction in a bounded page cache: what does not fit goes to the WAL instead
    // of growing the process with the file.
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-16384", nullptr, nullptr, nullptr);
    QString strReadError;
    const bool bScanned = ReadAndStore(stream, &strReadError);
    const bool bOk = bScanned && !m_bFailed && m_pStore->Commit();
    if (!bOk && !m_bFailed)
        m_pStore->NoteError();
    m_pStore->SetBulkChanges(false);
    if (!bOk)
        m_pStore->Rollback();
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
    Clear();
    if (!bOk) {
        m_nAppointments = m_nTasks = m_nUpdated = m_nUnchanged = 0;
        *pstrError = !bScanned ? strReadError
                               : QStringLiteral("store %1: %2").arg(m_pStore->Path(), m_pStore->LastError());
        return FALSE;
    }
    return TRUE;
}

// The file's items are read and checked in a thread of their own while this thread stores
// them, in file order: the store is only ever used from here. False when the file could
// not be read to its end; a failed store write ends the reading too.
bool CICalImporter::ReadAndStore(CICalStream& stream, QString* pstrReadError)
{
    // Both threads convert local times: the local zone is read once, before they start.
    CLocalZone::WallFromUtc(std::time(nullptr));
    // Items are handed over in batches, so that the threads seldom wait for each other.
    CBoundedQueue<QVector<Prepared>> queue(kQueuedBatches);
    bool bScanned = false;
    std::thread reader([&] {
        QVector<Prepared> batch;
        bScanned = stream.Scan(
            [&](const ICalBlock& b, const QByteArray& block) {
                if (b.name == "VTIMEZONE" || b.bOverride)  // overrides are read with their series
                    return true;
                batch.push_back(Prepared());
                Prepare(stream, b, block, &batch.back());
                return batch.size() < kBatchItems || queue.Push(std::exchange(batch, {}));
            },
            pstrReadError);
        if (bScanned) {
            batch.push_back(UnusedOverrides());
            queue.Push(std::move(batch));
        }
        queue.Close();
    });
    QVector<Prepared> batch;
    while (queue.Pop(&batch)) {
        for (Prepared& prepared : batch) {
            if (!StorePrepared(prepared)) {
                queue.Abort();
                break;
            }
        }
    }
    reader.join();
    return bScanned;
}

// Changed occurrences whose series is not in the file, in file order.
CICalImporter::Prepared CICalImporter::UnusedOverrides() const
{
    QMap<qint64, QString> unusedByPlace;
    for (auto it = m_overrides.constBegin(); it != m_overrides.constEnd(); ++it) {
        for (qsizetype i = 0; !it->bUsed && i < it->blocks.size(); ++i)
            unusedByPlace.insert(it->blocks[i].nBegin, it->blocks[i].strUid);
    }
    Prepared unused;
    for (const QString& strUid : std::as_const(unusedByPlace))
        unused.skipped << SkipLine(strUid, QStringLiteral("changed occurrence whose series is not in the file"));
    return unused;
}

bool CICalImporter::StorePrepared(Prepared& prepared)
{
    m_skipped << prepared.skipped;
    for (Wanted& wanted : prepared.items) {
        if (!Store(wanted))
            return false;
    }
    return true;
}

// Counts what the store has no place for; false (with the reason) when a property that
// decides the item's times could not be read or cannot be held.
bool CICalImporter::CheckProperties(icalcomponent* pComp, QString* pstrWhy)
{
    const bool bEvent = icalcomponent_isa(pComp) == ICAL_VEVENT_COMPONENT;
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_ANY_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_ANY_PROPERTY)) {
        const icalproperty_kind kind = icalproperty_isa(p);
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
        const icaltriggertype trigger = pTrigger ? icalproperty_get_trigger(pTrigger) : icaltriggertype();
        icalparameter* pRelated = pTrigger ? icalproperty_get_first_parameter(pTrigger, ICAL_RELATED_PARAMETER) : nullptr;
        if (pTrigger == nullptr || !icaltime_is_null_time(trigger.time) || icaldurationtype_as_int(trigger.duration) > 0
            || (pRelated && icalparameter_get_related(pRelated) == ICAL_RELATED_END))
            Drop(QStringLiteral("VALARM trigger (not a time before the start)"));
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

void CICalImporter::ReadCommon(icalcomponent* pComp, CItemRecord* r)
{
    r->strUid = Utf8Text(icalcomponent_get_uid(pComp));
    // The version: LAST-MODIFIED where given, else DTSTAMP.
    icalproperty* pStamp = icalcomponent_get_first_property(pComp, ICAL_LASTMODIFIED_PROPERTY);
    if (pStamp != nullptr)
        r->strStamp = Utf8Text(icaltime_as_ical_string(UtcStamp(icalproperty_get_lastmodified(pStamp))));
    else if ((pStamp = icalcomponent_get_first_property(pComp, ICAL_DTSTAMP_PROPERTY)) != nullptr)
        r->strStamp = Utf8Text(icaltime_as_ical_string(UtcStamp(icalproperty_get_dtstamp(pStamp))));
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
    if (pTrigger != nullptr) {
        const icaltriggertype trigger = icalproperty_get_trigger(pTrigger);
        const int nSeconds = icaldurationtype_as_int(trigger.duration);
        if (icaltime_is_null_time(trigger.time) && nSeconds <= 0)
            r->nReminderMinutes = -nSeconds / 60;
    }
}

bool CICalImporter::ReadEventTimes(icalcomponent* pComp, CItemRecord* r, QString* pstrWhy) const
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
        r->nEnd = r->nStart + icaldurationtype_as_int(icalproperty_get_duration(pDuration)) / 60;
    } else {
        r->nEnd = bDate ? r->nStart + kMinutesPerDay : r->nStart;
    }
    if (bDate)  // the store keeps the last day itself, iCalendar the day after it
        r->nEnd = std::max(r->nStart, WallDayStart(r->nEnd - 1));
    r->nEnd = std::max(r->nEnd, r->nStart);
    if (!IsImportYear(r->nEnd))
        return *pstrWhy = QStringLiteral("an end outside %1..%2").arg(kMinYear).arg(kMaxYear), false;
    return true;
}

// The RRULE in the series' terms: its zone's wall time, with UNTIL read in the same terms.
bool CICalImporter::ReadRule(icalcomponent* pComp, CItemRecord* r, QVector<RulePart>* pParts, QString* pstrWhy) const
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
    if (!bTask && !r->bAllDay) {
        r->strTzid = m_zones.ZoneOfStart(pStart, start, pstrWhy);
        if (r->strTzid.isEmpty() && !pstrWhy->isEmpty())
            return false;
        if (!r->strTzid.isEmpty())
            nZoneStart = r->strTzid == QLatin1String("UTC") ? WallOfFields(start)
                                                           : CSeriesZone::FromUtc(r->strTzid, CSeriesZone::ToUtc(r->strTzid, WallOfFields(start)));
    }
    if (nZoneStart >= kNoDateMinutes)
        return *pstrWhy = QStringLiteral("a recurring to-do without a date"), false;
    icalrecurrencetype rule = icalproperty_get_rrule(pRule);
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
    if (!CRecurrence::FromIcal(rule, nZoneStart, &r->rule)
        && (bTask || !SplitOrdinalDays(rule, nZoneStart, pParts))) {
        char* psz = icalrecurrencetype_as_string_r(&rule);
        *pstrWhy = QStringLiteral("recurrence rule the store cannot hold exactly (%1)").arg(Utf8Text(psz));
        icalmemory_free_buffer(psz);
        return false;
    }
    return true;
}

bool CICalImporter::ReadEvent(icalcomponent* pComp, CItemRecord* r, QVector<RulePart>* pParts, QString* pstrWhy) const
{
    r->nItemType = olAppointmentItem;
    r->strLocation = Utf8Text(icalcomponent_get_location(pComp));
    return ReadEventTimes(pComp, r, pstrWhy) && ReadRule(pComp, r, pParts, pstrWhy);
}

bool CICalImporter::ReadTodo(icalcomponent* pComp, CItemRecord* r, QString* pstrWhy) const
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
    if (pStart && !pDue && pDuration)
        r->nEnd = r->nStart + icaldurationtype_as_int(icalproperty_get_duration(pDuration)) / 60;
    r->nStart = pStart ? WallDayStart(r->nStart) : kNoDateMinutes;
    r->nEnd = (pDue || (pStart && pDuration)) ? WallDayStart(r->nEnd) : kNoDateMinutes;
    r->nDateCompleted = pDone ? WallDayStart(r->nDateCompleted) : kNoDateMinutes;
    icalproperty* pPercent = icalcomponent_get_first_property(pComp, ICAL_PERCENTCOMPLETE_PROPERTY);
    r->bComplete = icalcomponent_get_status(pComp) == ICAL_STATUS_COMPLETED || pDone != nullptr
                || (pPercent && icalproperty_get_percentcomplete(pPercent) >= 100);
    icalproperty* pPriority = icalcomponent_get_first_property(pComp, ICAL_PRIORITY_PROPERTY);
    r->nImportance = ImportanceOfPriority(pPriority ? icalproperty_get_priority(pPriority) : 0);
    return ReadRule(pComp, r, nullptr, pstrWhy);
}

bool CICalImporter::ReadExdates(icalcomponent* pComp, const CItemRecord& series, QVector<int64_t>* pDates,
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

bool CICalImporter::IsOccurrence(const CItemRecord& series, int64_t nOriginal) const
{
    CRecurrenceMath math(series.rule, series.nPatternStart, series.nLastStart);
    math.Seek(nOriginal, nOriginal);
    int64_t nFound = 0;
    return math.Next(&nFound) && nFound == nOriginal;
}

// A changed or cancelled occurrence of a stored-to-be series.
bool CICalImporter::ReadEventOverride(icalcomponent* pComp, const CItemRecord& series, CItemRecord* e,
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
        if (!CheckProperties(pComp, pstrWhy))
            return false;
        e->strTzid = series.strTzid;
        ReadCommon(pComp, e);
        e->nItemType = olAppointmentItem;
        e->strLocation = Utf8Text(icalcomponent_get_location(pComp));
        if (!ReadEventTimes(pComp, e, pstrWhy))
            return false;
        if (icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY) != nullptr)
            Drop(QStringLiteral("RRULE of a changed occurrence"));
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
bool CICalImporter::ApplyTodoChanges(const CItemRecord& task, const QVector<int64_t>& exdates,
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
            if (!CheckProperties(pComp, &strWhy) || (ReadCommon(pComp, &copy), !ReadTodo(pComp, &copy, &strWhy))) {
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

// Everything short of the store: reading, checking and shaping the item and its changed
// occurrences. Runs in the reading thread.
void CICalImporter::Prepare(CICalStream& stream, const ICalBlock& master, const QByteArray& block, Prepared* pOut)
{
    if (master.name != "VEVENT" && master.name != "VTODO") {
        const QString strName = QString::fromLatin1(master.name);
        pOut->skipped << SkipLine(master.strUid.isEmpty() ? strName : master.strUid,
                                  QStringLiteral("%1 components are not events or to-dos").arg(strName));
        return;
    }
    const bool bEvent = master.name == "VEVENT";
    QString strUid = master.strUid;
    icalcomponent* pComp = CICalStream::Parse(block);
    if (pComp == nullptr)
        return void(pOut->skipped << SkipLine(strUid, QStringLiteral("libical could not read the component")));
    QVector<CItemRecord> series;
    QVector<int64_t> exdates;
    QString strWhy;
    const bool bRead = ReadMaster(pComp, bEvent, &series, &exdates, &strUid, &strWhy);
    icalcomponent_free(pComp);
    if (!bRead)
        return void(pOut->skipped << SkipLine(strUid, strWhy));
    const QVector<icalcomponent*> overrides = ReadOverrides(stream, master, strUid, pOut);
    if (bEvent)
        PrepareEvents(series, exdates, overrides, strUid, pOut);
    else
        PrepareTodo(series.front(), exdates, overrides, strUid, pOut);
    for (icalcomponent* p : overrides)
        icalcomponent_free(p);
}

// The item itself, normalised as the store keeps it: one record, or one series for each
// weekday of a rule split by weekday. False with *pstrWhy when it cannot be held.
bool CICalImporter::ReadMaster(icalcomponent* pComp, bool bEvent, QVector<CItemRecord>* pSeries,
                               QVector<int64_t>* pExdates, QString* pstrUid, QString* pstrWhy)
{
    if (!CheckProperties(pComp, pstrWhy))
        return false;
    CItemRecord r;
    ReadCommon(pComp, &r);
    *pstrUid = r.strUid.isEmpty() ? *pstrUid : r.strUid;
    if (icalcomponent_get_status(pComp) == ICAL_STATUS_CANCELLED)
        return *pstrWhy = bEvent ? QStringLiteral("cancelled event") : QStringLiteral("cancelled to-do"), false;
    QVector<RulePart> parts;
    if (!(bEvent ? ReadEvent(pComp, &r, &parts, pstrWhy) : ReadTodo(pComp, &r, pstrWhy)))
        return false;
    if (r.strUid.isEmpty())
        r.strUid = CPimStore::NewUid();
    if (parts.isEmpty())
        parts.push_back({QString(), r.rule});
    for (const RulePart& part : std::as_const(parts)) {
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

// The item's changed occurrences (the components with its UID and a RECURRENCE-ID).
QVector<icalcomponent*> CICalImporter::ReadOverrides(CICalStream& stream, const ICalBlock& master,
                                                     const QString& strUid, Prepared* pOut)
{
    QVector<icalcomponent*> overrides;
    const auto it = m_overrides.find(QString::fromLatin1(master.name) + u' ' + master.strUid);
    if (it == m_overrides.end())
        return overrides;
    it->bUsed = true;
    for (const ICalBlock& b : std::as_const(it->blocks)) {
        if (icalcomponent* p = CICalStream::Parse(stream.Read(b)))
            overrides << p;
        else
            pOut->skipped << SkipLine(strUid, QStringLiteral("changed occurrence libical could not read"));
    }
    return overrides;
}

// Each series with its excluded and changed occurrences as exception rows.
void CICalImporter::PrepareEvents(const QVector<CItemRecord>& series, const QVector<int64_t>& exdates,
                                  const QVector<icalcomponent*>& overrides, const QString& strUid, Prepared* pOut)
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
            pOut->skipped << SkipLine(strUid, QStringLiteral("changed occurrence: %1").arg(strWhy));
    }
    for (int i = 0; i < series.size(); ++i)
        pOut->items.push_back({series[i], exceptions[i].values()});
}

// The one of the series with an occurrence at nOriginal (their wall minutes), or -1.
int CICalImporter::SeriesOf(const QVector<CItemRecord>& series, int64_t nOriginal) const
{
    for (int i = 0; i < series.size(); ++i) {
        if (series[i].rule.IsRecurring() && IsOccurrence(series[i], nOriginal))
            return i;
    }
    return -1;
}

// A recurring task with its excluded, cancelled and completed occurrences applied.
void CICalImporter::PrepareTodo(const CItemRecord& task, const QVector<int64_t>& exdates,
                                const QVector<icalcomponent*>& overrides, const QString& strUid, Prepared* pOut)
{
    CItemRecord r = task;
    QVector<CItemRecord> copies;
    if (r.rule.IsRecurring()) {
        QStringList refused;
        ApplyTodoChanges(task, exdates, overrides, &copies, &r, &refused);
        for (const QString& s : std::as_const(refused))
            pOut->skipped << SkipLine(strUid, s);
    } else if (!overrides.isEmpty()) {
        pOut->skipped << SkipLine(strUid, QStringLiteral("changed occurrences of a to-do that does not recur"));
    }
    pOut->items.push_back({r, {}});
    for (CItemRecord& copy : copies) {
        if (FAILED(CItemWriter::Normalize(&copy, true)))
            pOut->skipped << SkipLine(copy.strUid, QStringLiteral("completed occurrence with dates the store cannot hold"));
        else
            pOut->items.push_back({copy, {}});
    }
}

bool CICalImporter::LoadStored(int32_t nOid, CItemRecord* pRecord, QVector<CItemRecord>* pExceptions) const
{
    if (!CItemTable::Load(*m_pStore, nOid, pRecord) || !CItemTable::LoadNotes(*m_pStore, nOid, &pRecord->notes))
        return false;
    if (!pRecord->rule.IsRecurring() || pRecord->nItemType != olAppointmentItem)
        return true;
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE series=?1 ORDER BY orig_start, oid";
    CSqlStatement st(m_pStore->Cached(sql.constData()));
    st.Bind(1, int64_t(nOid));
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord e;
        CItemTable::Read(st, 0, &e);
        pExceptions->push_back(e);
    }
    if (rc != SQLITE_DONE)
        return false;
    for (CItemRecord& e : *pExceptions) {
        if (!e.bDeletedOccurrence && !CItemTable::LoadNotes(*m_pStore, e.nExceptionId, &e.notes))
            return false;
    }
    return true;
}

bool CICalImporter::SameContent(const CItemRecord& stored, const QVector<CItemRecord>& storedExceptions,
                                const Wanted& w) const
{
    if (!SameItemFields(stored, w.record) || storedExceptions.size() != w.exceptions.size())
        return false;
    for (int i = 0; i < storedExceptions.size(); ++i) {
        const CItemRecord& a = storedExceptions[i];
        CItemRecord b = w.exceptions[i];
        CItemWriter::Normalize(&b, false);
        if (a.nOriginalStart != b.nOriginalStart || a.bDeletedOccurrence != b.bDeletedOccurrence)
            return false;
        if (!a.bDeletedOccurrence
            && (a.strSubject != b.strSubject || a.strLocation != b.strLocation || a.nStart != b.nStart
                || a.nEnd != b.nEnd || a.bAllDay != b.bAllDay || a.bReminderSet != b.bReminderSet
                || (a.bReminderSet && a.nReminderMinutes != b.nReminderMinutes) || a.notes != b.notes))
            return false;
    }
    return true;
}

bool CICalImporter::Store(Wanted& w)
{
    CItemRecord& r = w.record;
    const bool bTask = r.nItemType == olTaskItem;
    CSqlStatement find(m_pStore->Cached("SELECT oid,kind FROM items WHERE uid=?1 AND series IS NULL LIMIT 1"));
    find.Bind(1, r.strUid);
    const int rcFind = find.Step();
    if (rcFind != SQLITE_ROW && rcFind != SQLITE_DONE)
        return StoreFailed();
    const int32_t nFound = rcFind == SQLITE_ROW ? static_cast<int32_t>(find.Int(0)) : 0;
    const int nFoundKind = rcFind == SQLITE_ROW ? static_cast<int>(find.Int(1)) : 0;
    find.Reset();
    bool bNew = nFound == 0;
    if (!bNew) {
        if (nFoundKind != r.nItemType)
            return m_skipped << SkipLine(r.strUid, nFoundKind == olTaskItem ? QStringLiteral("the store has a task with this UID")
                                                           : QStringLiteral("the store has an appointment with this UID")),
                   true;
        CItemRecord stored;
        QVector<CItemRecord> storedExceptions;
        if (!LoadStored(nFound, &stored, &storedExceptions))
            return StoreFailed();
        // The newer version wins; a file without a time stamp is compared by content.
        const bool bStamps = !r.strStamp.isEmpty() && !stored.strStamp.isEmpty();
        const int nOrder = r.nSequence != stored.nSequence ? (r.nSequence < stored.nSequence ? -1 : 1)
                         : !bStamps || r.strStamp == stored.strStamp ? 0
                         : r.strStamp < stored.strStamp ? -1 : 1;
        if (nOrder < 0)
            return m_skipped << SkipLine(r.strUid, QStringLiteral("the store holds a newer version (SEQUENCE %1, changed %2)")
                                      .arg(stored.nSequence).arg(stored.strStamp)),
                   true;
        if (nOrder == 0 && SameContent(stored, storedExceptions, w))
            return ++m_nUnchanged, true;
        if (r.strStamp.isEmpty())
            r.strStamp = stored.strStamp;
        r.nOid = nFound;
    }
    const HRESULT hr = CItemWriter::WriteNormalized(*m_pStore, &r);
    if (FAILED(hr))
        return StoreFailed();
    for (CItemRecord& e : w.exceptions) {
        e.nOid = r.nOid;
        if (FAILED(CItemWriter::InsertException(*m_pStore, &e)))
            return StoreFailed();
    }
    if (!bNew)
        ++m_nUpdated;
    else if (bTask)
        ++m_nTasks;
    else
        ++m_nAppointments;
    return true;
}
