#pragma once
// iCalendar export of the whole store in one read transaction: appointments as VEVENTs
// (a series with RRULE, EXDATE for deleted occurrences and one VEVENT with RECURRENCE-ID
// per changed occurrence), tasks as VTODOs. A series that repeats in a zone is written
// in that zone (TZID, with a VTIMEZONE from the system's zone database) or in UTC; other
// times as floating local times (the store keeps wall time), all-day events and task
// dates as DATE values, COMPLETED in UTC. Notes go out as DESCRIPTION, and whole (with their pen strokes) as X-QUILLDAY-INK.
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <libical/ical.h>
#include <memory>

class CPimStore;
class SpecialDayList;
class CSqlStatement;
class QFileDevice;
class QIODevice;
struct CItemRecord;

class CICalExporter {
public:
    explicit CICalExporter(std::shared_ptr<CPimStore> pStore);

    // Writes the file atomically; FALSE with *pstrError when it cannot.
    BOOL ExportFile(const QString& strPath, QString* pstrError);
    BOOL Export(QIODevice* pOut, QString* pstrError);
    // One single or series (with its changed occurrences and its zone) as a calendar of
    // its own, as a calendar server keeps it. The caller holds a read of the store.
    BOOL ExportItem(int64_t nOid, QIODevice* pOut, QString* pstrError);

    // Special days go out too, after the items, as yearly all-day events
    // (CAnniversaryEvents); with bOnly nothing else goes out and the store is not read.
    void SetSpecialDays(const SpecialDayList* pDays, bool bOnly) { m_pSpecialDays = pDays; m_bDaysOnly = bOnly; }
    int SpecialDays() const { return m_nSpecialDays; }

    int Appointments() const { return m_nAppointments; }
    int Tasks() const { return m_nTasks; }
    // One line per row whose values were out of their ranges (a damaged store) and were
    // written brought into them (CItemTable::Read).
    QStringList Damaged() const { return m_damaged; }

private:
    static QString WriteFailure(const QFileDevice& file);
    void ReadRow(const CSqlStatement& st, CItemRecord* pRecord);
    bool WriteZones(QIODevice* pOut);
    bool WriteItem(QIODevice* pOut, const CItemRecord& record);
    bool WriteSeriesExceptions(QIODevice* pOut, const CItemRecord& series, icalcomponent* pMaster);
    icalcomponent* EventOf(const CItemRecord& record, bool bOverride);
    icalcomponent* TodoOf(const CItemRecord& record);
    void AddCommon(icalcomponent* pComp, const CItemRecord& record);
    static void AddNotesAndAlarm(icalcomponent* pComp, const CItemRecord& record);
    static bool Write(QIODevice* pOut, icalcomponent* pComp);
    bool WriteSpecialDays(QIODevice* pOut);

    std::shared_ptr<CPimStore> m_pStore;
    int m_nAppointments = 0;
    int m_nTasks = 0;
    int m_nSpecialDays = 0;
    const SpecialDayList* m_pSpecialDays = nullptr;
    bool m_bDaysOnly = false;
    QStringList m_damaged;
};
