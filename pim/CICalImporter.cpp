#include "pim/CICalImporter.h"

#include "pim/CICalStream.h"
#include "pim/CZoneRuleCheck.h"

#include "pim/CItemRecord.h"
#include "pim/CItemWriter.h"
#include "pim/CLocalZone.h"
#include "pim/CNotesData.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QBuffer>
#include <QFile>
#include <cstring>
#include <string>

namespace {

constexpr int kMinYear = 1900;
constexpr int kMaxYear = 4500;
const char kInkProperty[] = "X-QUILLDAY-INK";

QString Text(const char* psz)
{
    return psz ? QString::fromUtf8(psz) : QString();
}

bool InRange(int64_t nWall)
{
    const int nYear = FieldsOfWall(nWall).nYear;
    return nYear >= kMinYear && nYear <= kMaxYear;
}

int ImportanceOfPriority(int nPriority)
{
    if (nPriority >= 1 && nPriority <= 4)
        return olImportanceHigh;
    if (nPriority >= 6 && nPriority <= 9)
        return olImportanceLow;
    return olImportanceNormal;
}

}  // namespace

CICalImporter::CICalImporter(std::shared_ptr<CPimStore> pStore) : m_pStore(std::move(pStore)) {}

CICalImporter::~CICalImporter()
{
    Clear();
}

void CICalImporter::Clear()
{
    for (icaltimezone* pZone : std::as_const(m_zones))
        icaltimezone_free(pZone, 1);
    m_zones.clear();
    m_series.clear();
    m_overrides.clear();
}

QStringList CICalImporter::SkippedSummary() const
{
    QStringList lines;
    for (auto it = m_skipped.constBegin(); it != m_skipped.constEnd(); ++it)
        lines << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    return lines;
}

void CICalImporter::Skip(const QString& strReason)
{
    ++m_skipped[strReason];
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
    icalcomponent* pComp = CICalStream::Parse(block);
    // libical expands every change of a zone's offset: a rule without a sane bound is refused.
    QString strWhy;
    if (pComp != nullptr && !CZoneRuleCheck::Check(pComp, &strWhy)) {
        icalcomponent_free(pComp);
        Skip(QStringLiteral("time zones (%1)").arg(strWhy));
        return;
    }
    icalproperty* pId = pComp ? icalcomponent_get_first_property(pComp, ICAL_TZID_PROPERTY) : nullptr;
    const QByteArray tzid = pId ? QByteArray(icalproperty_get_tzid(pId)) : QByteArray();
    icaltimezone* pZone = tzid.isEmpty() ? nullptr : icaltimezone_new();
    if (pZone && icaltimezone_set_component(pZone, pComp)) {
        if (icaltimezone* pOld = m_zones.value(tzid))
            icaltimezone_free(pOld, 1);
        m_zones.insert(tzid, pZone);
        return;
    }
    if (pZone)
        icaltimezone_free(pZone, 1);
    if (pComp)
        icalcomponent_free(pComp);
    Skip(QStringLiteral("time zones (unreadable VTIMEZONE)"));
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
    m_nAppointments = m_nTasks = 0;
    m_bFailed = false;
    CICalStream stream(pDevice);
    // First the whole structure, so that a damaged file adds nothing, and the zones, which
    // components before them may use.
    const bool bRead = stream.Scan(
        [this](const ICalBlock& b, const QByteArray& block) {
            if (b.name == "VTIMEZONE")
                LoadZone(block);
            return true;
        },
        pstrError);
    if (!bRead)
        return FALSE;
    if (!m_pStore->Begin()) {
        *pstrError = QStringLiteral("the store is busy or read-only");
        return FALSE;
    }
    m_pStore->SetBulkChanges(true);
    // A big transaction in a bounded page cache: what does not fit goes to the WAL instead
    // of growing the process with the file.
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-16384", nullptr, nullptr, nullptr);
    QString strReadError;
    const bool bScanned = stream.Scan([this](const ICalBlock& b, const QByteArray& block) { return ImportBlock(b, block); },
                                      &strReadError);
    const bool bOk = bScanned && !m_bFailed && ImportOverrides() && m_pStore->Commit();
    if (!bOk && !m_bFailed)
        m_pStore->NoteError();
    m_pStore->SetBulkChanges(false);
    if (!bOk)
        m_pStore->Rollback();
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
    Clear();
    if (!bOk) {
        m_nAppointments = m_nTasks = 0;
        *pstrError = !bScanned ? strReadError
                               : QStringLiteral("store %1: %2").arg(m_pStore->Path(), m_pStore->LastError());
        return FALSE;
    }
    return TRUE;
}

bool CICalImporter::ImportBlock(const ICalBlock& b, const QByteArray& block)
{
    if (b.name == "VTIMEZONE")
        return true;
    if (b.name != "VEVENT" && b.name != "VTODO") {
        Skip(QStringLiteral("%1 components (not events or to-dos)").arg(QString::fromLatin1(b.name)));
        return true;
    }
    icalcomponent* pComp = CICalStream::Parse(block);
    if (pComp == nullptr) {
        Skip(QStringLiteral("components libical could not read"));
        return true;
    }
    const bool bOk = b.name == "VEVENT" ? ImportEvent(pComp, block) : ImportTodo(pComp);
    icalcomponent_free(pComp);
    return bOk;
}

// A date, a UTC time, a time in a named zone, or a floating time, as local wall minutes.
bool CICalImporter::ReadTime(icalproperty* pProp, icaltimetype t, int64_t* pnWall, bool* pbDate) const
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return false;
    *pbDate = t.is_date != 0;
    if (t.is_date) {
        *pnWall = WallFromFields(t.year, t.month, t.day);
        return InRange(*pnWall);
    }
    icaltimezone* pZone = nullptr;
    if (!icaltime_is_utc(t)) {
        icalparameter* pTzid = icalproperty_get_first_parameter(pProp, ICAL_TZID_PARAMETER);
        const char* pszTzid = pTzid ? icalparameter_get_tzid(pTzid) : nullptr;
        if (pszTzid != nullptr) {
            pZone = m_zones.value(QByteArray(pszTzid));
            if (pZone == nullptr)
                pZone = icaltimezone_get_builtin_timezone(pszTzid);
        }
    }
    if (icaltime_is_utc(t))
        *pnWall = CLocalZone::WallFromUtc(icaltime_as_timet(t));
    else if (pZone != nullptr)
        *pnWall = CLocalZone::WallFromUtc(icaltime_as_timet_with_zone(t, pZone));
    else  // floating, or a zone nobody defines: taken as local wall time
        *pnWall = WallFromFields(t.year, t.month, t.day, t.hour, t.minute);
    return InRange(*pnWall);
}

void CICalImporter::ReadCommon(icalcomponent* pComp, CItemRecord* r) const
{
    r->strUid = Text(icalcomponent_get_uid(pComp));
    icalproperty* pStamp = icalcomponent_get_first_property(pComp, ICAL_DTSTAMP_PROPERTY);
    if (pStamp != nullptr)
        r->strStamp = Text(icaltime_as_ical_string(icalproperty_get_dtstamp(pStamp)));
    r->strSubject = Text(icalcomponent_get_summary(pComp));
    CNotesData notes;
    notes.m_strText = Text(icalcomponent_get_description(pComp));
    r->notes = notes.ToBytes();
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_X_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_X_PROPERTY)) {
        // Our own notes with their pen strokes, when the file came from us.
        const char* pszName = icalproperty_get_x_name(p);
        CNotesData ink;
        if (pszName && qstricmp(pszName, kInkProperty) == 0
            && ink.FromBytes(QByteArray::fromBase64(QByteArray(icalproperty_get_x(p)))) && !ink.IsEmpty())
            r->notes = ink.ToBytes();
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

bool CICalImporter::ReadEventTimes(icalcomponent* pComp, CItemRecord* r) const
{
    icalproperty* pStart = icalcomponent_get_first_property(pComp, ICAL_DTSTART_PROPERTY);
    bool bDate = false, bEndDate = false;
    if (pStart == nullptr || !ReadTime(pStart, icalproperty_get_dtstart(pStart), &r->nStart, &bDate))
        return false;
    r->bAllDay = bDate;
    icalproperty* pEnd = icalcomponent_get_first_property(pComp, ICAL_DTEND_PROPERTY);
    icalproperty* pDuration = icalcomponent_get_first_property(pComp, ICAL_DURATION_PROPERTY);
    if (pEnd != nullptr) {
        if (!ReadTime(pEnd, icalproperty_get_dtend(pEnd), &r->nEnd, &bEndDate))
            return false;
    } else if (pDuration != nullptr) {
        r->nEnd = r->nStart + icaldurationtype_as_int(icalproperty_get_duration(pDuration)) / 60;
    } else {
        r->nEnd = bDate ? r->nStart + kMinutesPerDay : r->nStart;
    }
    if (bDate)  // the store keeps the last day itself, iCalendar the day after it
        r->nEnd = std::max(r->nStart, WallDayStart(r->nEnd - 1));
    r->nEnd = std::max(r->nEnd, r->nStart);
    return InRange(r->nEnd);
}

// An RRULE whose UNTIL is in UTC ends at the same instant in local wall time.
bool CICalImporter::ReadRule(icalproperty* pProp, int64_t nStart, CRecurrenceRule* pRule) const
{
    icalrecurrencetype rule = icalproperty_get_rrule(pProp);
    if (!icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until) && !rule.until.is_date) {
        const WallFields f = FieldsOfWall(CLocalZone::WallFromUtc(icaltime_as_timet(rule.until)));
        rule.until = icaltime_null_time();
        rule.until.year = f.nYear;
        rule.until.month = f.nMonth;
        rule.until.day = f.nDay;
        rule.until.hour = f.nHour;
        rule.until.minute = f.nMinute;
    }
    return CRecurrence::FromIcal(rule, nStart, pRule);
}

bool CICalImporter::ReadExdates(icalcomponent* pComp, QVector<int64_t>* pDates) const
{
    for (icalproperty* p = icalcomponent_get_first_property(pComp, ICAL_EXDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pComp, ICAL_EXDATE_PROPERTY)) {
        int64_t nWall = 0;
        bool bDate = false;
        if (!ReadTime(p, icalproperty_get_exdate(p), &nWall, &bDate))
            return false;
        pDates->push_back(nWall);
    }
    return true;
}

bool CICalImporter::ImportEvent(icalcomponent* pComp, const QByteArray& blockText)
{
    if (icalcomponent_get_first_property(pComp, ICAL_RECURRENCEID_PROPERTY) != nullptr) {
        m_overrides.push_back({Text(icalcomponent_get_uid(pComp)), blockText});
        return true;  // applied once every series of the file is in
    }
    CItemRecord r;
    r.nItemType = olAppointmentItem;
    ReadCommon(pComp, &r);
    r.strLocation = Text(icalcomponent_get_location(pComp));
    QVector<int64_t> exdates;
    if (!ReadEventTimes(pComp, &r) || !ReadExdates(pComp, &exdates))
        return Skip(QStringLiteral("events without a readable start or end")), true;
    if (icalcomponent_count_properties(pComp, ICAL_RDATE_PROPERTY) > 0
        || icalcomponent_count_properties(pComp, ICAL_RRULE_PROPERTY) > 1)
        return Skip(QStringLiteral("events with RDATE or several RRULEs")), true;
    icalproperty* pRule = icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY);
    if (pRule != nullptr && !ReadRule(pRule, r.nStart, &r.rule))
        return Skip(QStringLiteral("events with an unsupported recurrence rule")), true;
    const HRESULT hr = CItemWriter::InsertNew(*m_pStore, &r);
    if (hr == E_INVALIDARG)
        return Skip(QStringLiteral("events whose recurrence has no occurrence or too many")), true;
    if (FAILED(hr))
        return StoreFailed();
    ++m_nAppointments;
    if (!r.rule.IsRecurring())
        return true;
    m_series.insert(r.strUid, r.nOid);
    for (int64_t nDate : std::as_const(exdates)) {
        CItemRecord gone = r;
        gone.nOid = r.nOid;
        gone.nOriginalStart = nDate;
        gone.nStart = nDate;
        gone.nEnd = nDate + (r.nEnd - r.nStart);
        gone.bDeletedOccurrence = true;
        gone.notes.clear();
        if (FAILED(CItemWriter::InsertException(*m_pStore, &gone)))
            return StoreFailed();
    }
    return true;
}

bool CICalImporter::ImportOverrides()
{
    for (const Override& o : std::as_const(m_overrides)) {
        if (!ImportOverride(o))
            return false;
    }
    return true;
}

bool CICalImporter::ImportOverride(const Override& o)
{
    const int32_t nSeries = m_series.value(o.strUid);
    if (nSeries == 0)
        return Skip(QStringLiteral("changed occurrences without their series")), true;
    icalcomponent* pComp = CICalStream::Parse(o.text);
    if (pComp == nullptr)
        return Skip(QStringLiteral("changed occurrences libical could not read")), true;
    CItemRecord r;
    r.nItemType = olAppointmentItem;
    r.nOid = nSeries;
    ReadCommon(pComp, &r);
    r.strLocation = Text(icalcomponent_get_location(pComp));
    icalproperty* pId = icalcomponent_get_first_property(pComp, ICAL_RECURRENCEID_PROPERTY);
    bool bDate = false;
    const bool bRange = pId && icalproperty_get_first_parameter(pId, ICAL_RANGE_PARAMETER) != nullptr;
    const bool bRead = pId && !bRange && ReadTime(pId, icalproperty_get_recurrenceid(pId), &r.nOriginalStart, &bDate)
                    && ReadEventTimes(pComp, &r);
    icalcomponent_free(pComp);
    if (!bRead)
        return Skip(QStringLiteral("changed occurrences that could not be read")), true;
    if (FAILED(CItemWriter::InsertException(*m_pStore, &r)))
        return StoreFailed();
    return true;
}

bool CICalImporter::ImportTodo(icalcomponent* pComp)
{
    CItemRecord r;
    r.nItemType = olTaskItem;
    ReadCommon(pComp, &r);
    bool bDate = false;
    icalproperty* pStart = icalcomponent_get_first_property(pComp, ICAL_DTSTART_PROPERTY);
    icalproperty* pDue = icalcomponent_get_first_property(pComp, ICAL_DUE_PROPERTY);
    icalproperty* pDone = icalcomponent_get_first_property(pComp, ICAL_COMPLETED_PROPERTY);
    icalproperty* pDuration = icalcomponent_get_first_property(pComp, ICAL_DURATION_PROPERTY);
    if ((pStart && !ReadTime(pStart, icalproperty_get_dtstart(pStart), &r.nStart, &bDate))
        || (pDue && !ReadTime(pDue, icalproperty_get_due(pDue), &r.nEnd, &bDate))
        || (pDone && !ReadTime(pDone, icalproperty_get_completed(pDone), &r.nDateCompleted, &bDate)))
        return Skip(QStringLiteral("to-dos with an unreadable date")), true;
    if (pStart && !pDue && pDuration)
        r.nEnd = r.nStart + icaldurationtype_as_int(icalproperty_get_duration(pDuration)) / 60;
    r.nStart = pStart ? WallDayStart(r.nStart) : kNoDateMinutes;
    r.nEnd = (pDue || (pStart && pDuration)) ? WallDayStart(r.nEnd) : kNoDateMinutes;
    r.nDateCompleted = pDone ? WallDayStart(r.nDateCompleted) : kNoDateMinutes;
    icalproperty* pPercent = icalcomponent_get_first_property(pComp, ICAL_PERCENTCOMPLETE_PROPERTY);
    r.bComplete = icalcomponent_get_status(pComp) == ICAL_STATUS_COMPLETED || pDone != nullptr
               || (pPercent && icalproperty_get_percentcomplete(pPercent) >= 100);
    icalproperty* pPriority = icalcomponent_get_first_property(pComp, ICAL_PRIORITY_PROPERTY);
    r.nImportance = ImportanceOfPriority(pPriority ? icalproperty_get_priority(pPriority) : 0);
    if (icalproperty* pRule = icalcomponent_get_first_property(pComp, ICAL_RRULE_PROPERTY)) {
        const int64_t nAnchor = r.nStart < kNoDateMinutes ? r.nStart : r.nEnd;
        if (nAnchor >= kNoDateMinutes || !ReadRule(pRule, nAnchor, &r.rule))
            return Skip(QStringLiteral("to-dos with an unsupported recurrence rule")), true;
    }
    const HRESULT hr = CItemWriter::InsertNew(*m_pStore, &r);
    if (hr == E_INVALIDARG)
        return Skip(QStringLiteral("to-dos whose recurrence has no occurrence or too many")), true;
    if (FAILED(hr))
        return StoreFailed();
    ++m_nTasks;
    return true;
}
