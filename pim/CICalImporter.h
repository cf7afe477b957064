#pragma once
// iCalendar import: VEVENTs become appointments, VTODOs tasks, all in one transaction.
// The file is read as a stream of components twice (CICalStream), so that memory does not
// grow with its size: first for its structure (an error fails the whole file before
// anything is written) and its time zones, then one component at a time, each parsed by
// libical. Components the store cannot represent are skipped and counted by reason.
#include "pim/CICalStream.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <libical/ical.h>
#include <memory>

class CPimStore;
class QIODevice;
struct CItemRecord;
struct CRecurrenceRule;

class CICalImporter {
public:
    explicit CICalImporter(std::shared_ptr<CPimStore> pStore);
    ~CICalImporter();

    // FALSE, with nothing added and *pstrError telling why, when the file cannot be read,
    // is not iCalendar, or the store cannot take it.
    BOOL ImportFile(const QString& strPath, QString* pstrError);
    BOOL ImportText(const QByteArray& text, QString* pstrError);
    // The same from an open device that can seek (a file or a buffer).
    BOOL ImportDevice(QIODevice* pDevice, QString* pstrError);

    int Appointments() const { return m_nAppointments; }
    int Tasks() const { return m_nTasks; }
    // "<what was skipped and why>: <count>", one line per reason.
    QStringList SkippedSummary() const;

private:
    struct Override {
        QString strUid;
        QByteArray text;
    };
    void LoadZone(const QByteArray& block);
    bool ImportBlock(const ICalBlock& b, const QByteArray& block);
    // A write or read of the store failed: SQLite's reason is kept, the import ends.
    bool StoreFailed();
    bool ImportEvent(icalcomponent* pComp, const QByteArray& blockText);
    bool ImportTodo(icalcomponent* pComp);
    bool ImportOverrides();
    bool ImportOverride(const Override& override);
    bool ReadTime(icalproperty* pProp, icaltimetype t, int64_t* pnWall, bool* pbDate) const;
    bool ReadEventTimes(icalcomponent* pComp, CItemRecord* pRecord) const;
    bool ReadExdates(icalcomponent* pComp, QVector<int64_t>* pDates) const;
    bool ReadRule(icalproperty* pProp, int64_t nStart, CRecurrenceRule* pRule) const;
    void ReadCommon(icalcomponent* pComp, CItemRecord* pRecord) const;
    void Skip(const QString& strReason);
    void Clear();

    std::shared_ptr<CPimStore> m_pStore;
    QHash<QByteArray, icaltimezone*> m_zones;  // VTIMEZONEs of the file by TZID
    QHash<QString, int32_t> m_series;          // UID -> OID of the series imported
    QVector<Override> m_overrides;
    QMap<QString, int> m_skipped;
    int m_nAppointments = 0;
    int m_nTasks = 0;
    bool m_bFailed = false;
};
