#include "ical/CICalExporter.h"
#include "ical/CAnniversaryEvents.h"

#include "pim/CItemRecord.h"
#include "pim/CItemTable.h"
#include "pim/CLocalZone.h"
#include "pim/CNotesData.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/CSeriesZone.h"
#include "pim/CSqlStatement.h"
#include "ical/ICalStamp.h"
#include "ical/ICalTimes.h"
#include "ical/ICalUid.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <cstdlib>

namespace {

const char kHeader[] = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday//Quillday 1.0//EN\r\n"
                       "CALSCALE:GREGORIAN\r\n";
const char kFooter[] = "END:VCALENDAR\r\n";
const char kInkProperty[] = "X-QUILLDAY-INK";

icaltimetype IcalTime(int64_t nWall, bool bDate)
{
    const WallFields f = FieldsOfWall(nWall);
    icaltimetype t = icaltime_null_time();
    t.year = f.nYear;
    t.month = f.nMonth;
    t.day = f.nDay;
    t.is_date = bDate ? 1 : 0;
    t.hour = bDate ? 0 : f.nHour;
    t.minute = bDate ? 0 : f.nMinute;
    return t;
}

// A time of a series in its own terms: UTC as such, a zone's wall time with its TZID,
// local wall time floating.
icalproperty* Zoned(icalproperty* pProp, const QString& strZone)
{
    if (!strZone.isEmpty() && strZone != QLatin1String("UTC"))
        icalproperty_add_parameter(pProp, icalparameter_new_tzid(strZone.toUtf8().constData()));
    return pProp;
}

icaltimetype SeriesTime(int64_t nZoneWall, bool bDate, const QString& strZone)
{
    icaltimetype t = IcalTime(nZoneWall, bDate);
    if (!bDate && strZone == QLatin1String("UTC"))
        t.zone = icaltimezone_get_utc_timezone();
    return t;
}

// The zone's definition from the system's zone database, under the zone's own name.
icalcomponent* ZoneComponent(const QString& strZone)
{
    icaltimezone* pZone = icaltimezone_get_builtin_timezone(strZone.toUtf8().constData());
    icalcomponent* pBuiltin = pZone ? icaltimezone_get_component(pZone) : nullptr;
    if (pBuiltin == nullptr)
        return nullptr;
    icalcomponent* pComp = icalcomponent_new_clone(pBuiltin);
    if (icalproperty* pId = icalcomponent_get_first_property(pComp, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(pId, strZone.toUtf8().constData());
    return pComp;
}

// The end of a zoned series' first occurrence in its zone's wall minutes: the start there
// plus the time that passes between the stored local start and end. The zone may change
// its offset within the occurrence where the local zone does not.
int64_t ZonedFirstEnd(const CItemRecord& r)
{
    const int64_t nSeconds = CLocalZone::UtcFromWall(r.nEnd) - CLocalZone::UtcFromWall(r.nStart);
    return CSeriesZone::FromUtc(r.strTzid, CSeriesZone::ToUtc(r.strTzid, r.nPatternStart) + nSeconds);
}

// A UID that reads back as itself. A store from before imports kept it so may hold one
// that does not; one of white space only is replaced by one derived from the item.
QString UidToWrite(const CItemRecord& r)
{
    const QString strUid = ICalUidAsRead(r.strUid);
    return strUid.isEmpty() ? ICalDerivedUid(QByteArray::number(r.nOid) + ' ' + r.strUid.toUtf8()) : strUid;
}

QByteArray Utf8(const QString& str)
{
    return str.toUtf8();
}

}  // namespace

CICalExporter::CICalExporter(std::shared_ptr<CPimStore> pStore) : m_pStore(std::move(pStore)) {}

BOOL CICalExporter::ExportFile(const QString& strPath, QString* pstrError)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        *pstrError = QStringLiteral("cannot write %1: %2").arg(strPath, WriteFailure(file));
        return FALSE;
    }
    const bool bExported = Export(&file, pstrError);
    // Flushed here, while the new file still holds its room: QSaveFile's commit takes a
    // failed last write for success (and would replace the old file with a short one).
    if (bExported && file.flush() && file.commit())
        return TRUE;
    if (!bExported && file.error() == QFileDevice::NoError)
        return FALSE;
    *pstrError = QStringLiteral("cannot write %1: %2").arg(strPath, WriteFailure(file));
    file.cancelWriting();
    return FALSE;
}

// Why the file could not be written: a full disk by name (Qt may call it "Unknown
// error"), else Qt's text.
QString CICalExporter::WriteFailure(const QFileDevice& file)
{
    const QStorageInfo disk(QFileInfo(file.fileName()).absolutePath());
    if (disk.isValid() && disk.bytesAvailable() == 0)
        return QStringLiteral("the disk is full");
    return file.errorString();
}

void CICalExporter::ReadRow(const CSqlStatement& st, CItemRecord* pRecord)
{
    QString strDamage;
    if (CItemTable::Read(st, 0, pRecord, &strDamage))
        return;
    const QString strItem = pRecord->bOccurrence
                              ? QStringLiteral("OID %1 (changed occurrence, row %2)").arg(pRecord->nOid).arg(pRecord->nExceptionId)
                              : QStringLiteral("OID %1").arg(pRecord->nOid);
    m_damaged << QStringLiteral("%1: %2 out of range, written as the nearest values the store allows").arg(strItem, strDamage);
}

BOOL CICalExporter::Export(QIODevice* pOut, QString* pstrError)
{
    m_nAppointments = m_nTasks = m_nSpecialDays = 0;
    m_damaged.clear();
    if (m_bDaysOnly) {
        if (pOut->write(kHeader) > 0 && WriteSpecialDays(pOut) && pOut->write(kFooter) > 0)
            return TRUE;
        *pstrError = QStringLiteral("the calendar could not be written");
        return FALSE;
    }
    if (!m_pStore->BeginRead()) {
        *pstrError = QStringLiteral("the store cannot be read");
        return FALSE;
    }
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE series IS NULL ORDER BY oid";
    CSqlStatement st(m_pStore->Db(), sql);
    bool bOk = st.IsValid() && pOut->write(kHeader) > 0 && WriteZones(pOut);
    int rc = SQLITE_ROW;
    while (bOk && (rc = st.Step()) == SQLITE_ROW) {
        CItemRecord r;
        ReadRow(st, &r);
        bOk = WriteItem(pOut, r);
    }
    bOk = bOk && rc == SQLITE_DONE && WriteSpecialDays(pOut) && pOut->write(kFooter) > 0;
    // A read of the store that failed is the last call on the connection.
    const int nCode = sqlite3_errcode(m_pStore->Db());
    const bool bReadFailed = !bOk && nCode != SQLITE_OK && nCode != SQLITE_ROW && nCode != SQLITE_DONE;
    if (bReadFailed)
        m_pStore->NoteError();
    m_pStore->Commit();
    if (!bOk)
        *pstrError = bReadFailed ? m_pStore->ReadFailureText() : QStringLiteral("the calendar could not be written");
    return bOk ? TRUE : FALSE;
}

BOOL CICalExporter::ExportItem(int64_t nOid, QIODevice* pOut, QString* pstrError)
{
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE oid=? AND series IS NULL";
    CSqlStatement st(m_pStore->Db(), sql);
    st.Bind(1, nOid);
    if (!st.IsValid() || st.Step() != SQLITE_ROW) {
        *pstrError = QStringLiteral("item %1 is not in the store").arg(nOid);
        return FALSE;
    }
    CItemRecord r;
    ReadRow(st, &r);
    bool bOk = pOut->write(kHeader) > 0;
    if (bOk && !r.bAllDay && !r.strTzid.isEmpty() && r.strTzid != QLatin1String("UTC")) {
        icalcomponent* pZone = ZoneComponent(r.strTzid);
        bOk = pZone == nullptr || Write(pOut, pZone);
    }
    bOk = bOk && WriteItem(pOut, r) && pOut->write(kFooter) > 0;
    if (!bOk)
        *pstrError = QStringLiteral("the item could not be written");
    return bOk ? TRUE : FALSE;
}

// One VTIMEZONE for each zone an event or a series is in.
bool CICalExporter::WriteZones(QIODevice* pOut)
{
    CSqlStatement st(m_pStore->Db(), "SELECT DISTINCT tzid FROM items WHERE series IS NULL AND all_day=0"
                                     " AND tzid NOT IN ('','UTC') ORDER BY tzid");
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        icalcomponent* pZone = ZoneComponent(st.Text(0));
        if (pZone != nullptr && !Write(pOut, pZone))
            return false;
    }
    return rc == SQLITE_DONE;
}

bool CICalExporter::Write(QIODevice* pOut, icalcomponent* pComp)
{
    char* psz = icalcomponent_as_ical_string_r(pComp);
    const bool bOk = psz != nullptr && pOut->write(psz) >= 0;
    std::free(psz);
    icalcomponent_free(pComp);
    return bOk;
}

bool CICalExporter::WriteSpecialDays(QIODevice* pOut)
{
    if (m_pSpecialDays == nullptr)
        return true;
    icalcomponent* pDays = icalcomponent_new_vcalendar();
    m_nSpecialDays = CAnniversaryEvents::AddAll(pDays, *m_pSpecialDays);
    bool bOk = true;
    for (icalcomponent* pEvent = icalcomponent_get_first_component(pDays, ICAL_VEVENT_COMPONENT); bOk && pEvent != nullptr;
         pEvent = icalcomponent_get_first_component(pDays, ICAL_VEVENT_COMPONENT)) {
        icalcomponent_remove_component(pDays, pEvent);
        bOk = Write(pOut, pEvent);
    }
    icalcomponent_free(pDays);
    return bOk;
}

bool CICalExporter::WriteItem(QIODevice* pOut, const CItemRecord& r)
{
    CItemRecord record = r;
    if (!CItemTable::LoadNotes(*m_pStore, r.nOid, &record.notes))
        return false;
    if (r.nItemType == olTaskItem) {
        ++m_nTasks;
        return Write(pOut, TodoOf(record));
    }
    ++m_nAppointments;
    icalcomponent* pEvent = EventOf(record, false);
    if (!r.rule.IsRecurring())
        return Write(pOut, pEvent);
    return WriteSeriesExceptions(pOut, record, pEvent);
}

// The series with its EXDATEs first, then one VEVENT per changed occurrence.
bool CICalExporter::WriteSeriesExceptions(QIODevice* pOut, const CItemRecord& series, icalcomponent* pMaster)
{
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE series=?1 ORDER BY orig_start, oid";
    CSqlStatement st(m_pStore->Db(), sql);
    st.Bind(1, int64_t(series.nOid));
    QVector<CItemRecord> changed;
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord e;
        ReadRow(st, &e);
        if (e.bDeletedOccurrence)
            icalcomponent_add_property(pMaster, Zoned(icalproperty_new_exdate(SeriesTime(e.nOriginalStart, series.bAllDay,
                                                                                         series.strTzid)),
                                                      series.strTzid));
        else
            changed.push_back(e);
    }
    bool bOk = rc == SQLITE_DONE && Write(pOut, pMaster);
    for (CItemRecord& e : changed) {
        bOk = bOk && CItemTable::LoadNotes(*m_pStore, e.nExceptionId, &e.notes);
        e.bAllDay = e.bAllDay || series.bAllDay;
        e.strTzid = series.strTzid;
        bOk = bOk && Write(pOut, EventOf(e, true));
    }
    return bOk;
}

void CICalExporter::AddCommon(icalcomponent* pComp, const CItemRecord& r)
{
    icalcomponent_add_property(pComp, icalproperty_new_uid(Utf8(UidToWrite(r)).constData()));
    icalcomponent_add_property(pComp, icalproperty_new_dtstamp(UtcStamp(icaltime_from_string(Utf8(r.strStamp).constData()))));
    if (r.nSequence > 0)
        icalcomponent_add_property(pComp, icalproperty_new_sequence(r.nSequence));
    if (!r.strSubject.isEmpty())
        icalcomponent_add_property(pComp, icalproperty_new_summary(Utf8(r.strSubject).constData()));
}

void CICalExporter::AddNotesAndAlarm(icalcomponent* pComp, const CItemRecord& r)
{
    CNotesData notes;
    const bool bOurs = notes.FromBytes(r.notes);
    if (bOurs && !notes.m_strText.isEmpty())
        icalcomponent_add_property(pComp, icalproperty_new_description(Utf8(notes.m_strText).constData()));
    if (!r.notes.isEmpty() && (!bOurs || !notes.m_strokes.isEmpty())) {
        icalproperty* pInk = icalproperty_new_x(r.notes.toBase64().constData());
        icalproperty_set_x_name(pInk, kInkProperty);
        icalcomponent_add_property(pComp, pInk);
    }
    if (!r.bReminderSet)
        return;
    icalcomponent* pAlarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(pAlarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(pAlarm, icalproperty_new_description("Reminder"));
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-r.nReminderMinutes * 60);
    icalcomponent_add_property(pAlarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_component(pComp, pAlarm);
}

// A zoned series is written in its zone (its start is its pattern's), and so are its
// changed occurrences; a single event in its zone at the instant of its local times;
// everything else in local wall time, floating.
icalcomponent* CICalExporter::EventOf(const CItemRecord& r, bool bOverride)
{
    const QString& strZone = r.bAllDay ? QString() : r.strTzid;
    const bool bZonedSeries = !strZone.isEmpty() && !bOverride && r.rule.IsRecurring();
    icalcomponent* p = icalcomponent_new(ICAL_VEVENT_COMPONENT);
    AddCommon(p, r);
    if (bOverride)
        icalcomponent_add_property(p, Zoned(icalproperty_new_recurrenceid(SeriesTime(r.nOriginalStart, r.bAllDay, strZone)),
                                            strZone));
    // iCalendar ends an all-day event at the start of the day after its last day.
    const int64_t nEnd = r.bAllDay ? WallDayStart(r.nEnd) + kMinutesPerDay : r.nEnd;
    int64_t nZoneStart = CSeriesZone::FromLocal(strZone, r.nStart);
    int64_t nZoneEnd = CSeriesZone::FromLocal(strZone, nEnd);
    if (bZonedSeries) {
        nZoneStart = r.nPatternStart;
        nZoneEnd = ZonedFirstEnd(r);
    }
    icalcomponent_add_property(p, Zoned(icalproperty_new_dtstart(SeriesTime(nZoneStart, r.bAllDay, strZone)), strZone));
    icalcomponent_add_property(p, Zoned(icalproperty_new_dtend(SeriesTime(nZoneEnd, r.bAllDay, strZone)), strZone));
    if (!r.strLocation.isEmpty())
        icalcomponent_add_property(p, icalproperty_new_location(Utf8(r.strLocation).constData()));
    if (!bOverride && r.rule.IsRecurring()) {
        icalrecurrencetype rule = CRecurrence::ToIcal(r.rule, r.nPatternStart, r.bAllDay);
        // With a zoned start, UNTIL is the same instant in UTC.
        if (!strZone.isEmpty() && !icaltime_is_null_time(rule.until) && !rule.until.is_date) {
            const int64_t nUtc = CSeriesZone::ToUtc(strZone, WallFromFields(rule.until.year, rule.until.month, rule.until.day,
                                                                            rule.until.hour, rule.until.minute))
                               + rule.until.second;
            rule.until = icaltime_from_timet_with_zone(static_cast<time_t>(nUtc), 0, icaltimezone_get_utc_timezone());
        }
        icalcomponent_add_property(p, icalproperty_new_rrule(rule));
    }
    AddNotesAndAlarm(p, r);
    return p;
}

icalcomponent* CICalExporter::TodoOf(const CItemRecord& r)
{
    icalcomponent* p = icalcomponent_new(ICAL_VTODO_COMPONENT);
    AddCommon(p, r);
    if (r.nStart < kNoDateMinutes)
        icalcomponent_add_property(p, icalproperty_new_dtstart(IcalTime(r.nStart, true)));
    if (r.nEnd < kNoDateMinutes)
        icalcomponent_add_property(p, icalproperty_new_due(IcalTime(r.nEnd, true)));
    icalcomponent_add_property(p, icalproperty_new_priority(ICalPriorityOf(r.nImportance)));
    icalcomponent_add_property(p, icalproperty_new_status(r.bComplete ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
    if (r.bComplete && r.nDateCompleted < kNoDateMinutes) {
        const time_t t = static_cast<time_t>(CLocalZone::UtcFromWall(r.nDateCompleted));
        icalcomponent_add_property(p, icalproperty_new_completed(icaltime_from_timet_with_zone(t, 0, icaltimezone_get_utc_timezone())));
    }
    if (r.rule.IsRecurring()) {
        // The task has moved on from its pattern's start: an end by count becomes the
        // date of its last occurrence, so that the rule means the same from DTSTART.
        CRecurrenceRule rule = r.rule;
        if (rule.nOccurrences > 0) {
            rule.nOccurrences = 0;
            rule.nPatternEnd = WallDayStart(r.nLastStart);
        }
        icalcomponent_add_property(p, icalproperty_new_rrule(CRecurrence::ToIcal(rule, r.nPatternStart, true)));
    }
    AddNotesAndAlarm(p, r);
    return p;
}
