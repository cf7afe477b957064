#include "pim/CICalImporter.h"

#include "pim/CItemRecord.h"
#include "pim/CItemWriter.h"
#include "pim/CLocalZone.h"
#include "pim/CNotesData.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QFile>
#include <cstring>
#include <string>

namespace {

constexpr int kMinYear = 1900;
constexpr int kMaxYear = 4500;
const char kInkProperty[] = "X-QUILLDAY-INK";

// A content line's name is the part before ':' or ';'; BEGIN and END lines are never folded.
bool LineIs(const char* p, qsizetype n, const char* pszKey, QByteArray* pValue)
{
    const qsizetype k = qsizetype(std::strlen(pszKey));
    if (n < k || qstrnicmp(p, pszKey, k) != 0)
        return false;
    *pValue = QByteArray(p + k, n - k).trimmed().toUpper();
    return true;
}

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
    return ImportText(file.readAll(), pstrError);
}

// Top-level components of every VCALENDAR, checked for balanced BEGIN/END lines.
bool CICalImporter::Split(const QByteArray& text, QVector<Block>* pBlocks, QString* pstrError) const
{
    QVector<QByteArray> stack;
    int nCalendars = 0;
    qsizetype nBlockBegin = 0;
    for (qsizetype nPos = 0, nLine = 1; nPos < text.size(); ++nLine) {
        qsizetype nEol = text.indexOf('\n', nPos);
        if (nEol < 0)
            nEol = text.size();
        const char* p = text.constData() + nPos;
        qsizetype n = nEol - nPos;
        if (n > 0 && p[n - 1] == '\r')
            --n;
        QByteArray value;
        if (LineIs(p, n, "BEGIN:", &value)) {
            if (stack.isEmpty() && value != "VCALENDAR")
                return *pstrError = QStringLiteral("line %1: not inside a VCALENDAR").arg(nLine), false;
            if (stack.size() == 1)
                nBlockBegin = nPos;
            nCalendars += stack.isEmpty();
            stack.push_back(value);
        } else if (LineIs(p, n, "END:", &value)) {
            if (stack.isEmpty() || stack.back() != value)
                return *pstrError = QStringLiteral("line %1: END:%2 does not close a component")
                                        .arg(nLine).arg(QString::fromLatin1(value)), false;
            stack.pop_back();
            if (stack.size() == 1)
                pBlocks->push_back({value, nBlockBegin, nEol + 1});
        } else if (stack.isEmpty() && !QByteArray(p, n).trimmed().isEmpty()
                   && !(nLine == 1 && QByteArray(p, n).trimmed() == "\xEF\xBB\xBF")) {
            return *pstrError = QStringLiteral("line %1: text outside a VCALENDAR").arg(nLine), false;
        }
        nPos = nEol + 1;
    }
    if (!stack.isEmpty())
        return *pstrError = QStringLiteral("BEGIN:%1 is never closed").arg(QString::fromLatin1(stack.back())), false;
    if (nCalendars == 0)
        return *pstrError = QStringLiteral("no VCALENDAR found: not an iCalendar file"), false;
    return true;
}

void CICalImporter::LoadZones(const QByteArray& text, const QVector<Block>& blocks)
{
    for (const Block& b : blocks) {
        if (b.name != "VTIMEZONE")
            continue;
        const std::string src(text.constData() + b.nBegin, size_t(b.nEnd - b.nBegin));
        icalcomponent* pComp = icalparser_parse_string(src.c_str());
        icalproperty* pId = pComp ? icalcomponent_get_first_property(pComp, ICAL_TZID_PROPERTY) : nullptr;
        const QByteArray tzid = pId ? QByteArray(icalproperty_get_tzid(pId)) : QByteArray();
        icaltimezone* pZone = tzid.isEmpty() ? nullptr : icaltimezone_new();
        if (pZone && icaltimezone_set_component(pZone, pComp)) {
            if (icaltimezone* pOld = m_zones.value(tzid))
                icaltimezone_free(pOld, 1);
            m_zones.insert(tzid, pZone);
            continue;
        }
        if (pZone)
            icaltimezone_free(pZone, 1);
        if (pComp)
            icalcomponent_free(pComp);
        Skip(QStringLiteral("time zones (unreadable VTIMEZONE)"));
    }
}

BOOL CICalImporter::ImportText(const QByteArray& text, QString* pstrError)
{
    Clear();
    m_skipped.clear();
    m_nAppointments = m_nTasks = 0;
    m_bFailed = false;
    QVector<Block> blocks;
    if (!Split(text, &blocks, pstrError))
        return FALSE;
    LoadZones(text, blocks);
    if (!m_pStore->Begin()) {
        *pstrError = QStringLiteral("the store is busy or read-only");
        return FALSE;
    }
    m_pStore->SetBulkChanges(true);
    // A big transaction: keep its pages in memory instead of spilling them to the WAL.
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-262144", nullptr, nullptr, nullptr);
    for (const Block& b : blocks) {
        if (!ImportBlock(text, b))
            break;
    }
    const bool bOk = !m_bFailed && ImportOverrides() && m_pStore->Commit();
    m_pStore->SetBulkChanges(false);
    if (!bOk)
        m_pStore->Rollback();
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
    Clear();
    if (!bOk) {
        m_nAppointments = m_nTasks = 0;
        *pstrError = QStringLiteral("the store could not be written");
        return FALSE;
    }
    return TRUE;
}

bool CICalImporter::ImportBlock(const QByteArray& text, const Block& b)
{
    if (b.name == "VTIMEZONE")
        return true;
    if (b.name != "VEVENT" && b.name != "VTODO") {
        Skip(QStringLiteral("%1 components (not events or to-dos)").arg(QString::fromLatin1(b.name)));
        return true;
    }
    const QByteArray block = text.mid(b.nBegin, b.nEnd - b.nBegin);
    icalcomponent* pComp = icalparser_parse_string(block.constData());
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
        return m_bFailed = true, false;
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
            return m_bFailed = true, false;
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
    icalcomponent* pComp = icalparser_parse_string(o.text.constData());
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
        return m_bFailed = true, false;
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
        return m_bFailed = true, false;
    ++m_nTasks;
    return true;
}
