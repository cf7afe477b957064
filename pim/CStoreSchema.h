#pragma once
// The store file: recognising a store of ours, creating a new one, and bringing an older
// schema up to date. A file that is not ours (wrong header or application id) or has a
// newer schema is refused without being written to.
//
// Schema version 1:
//   items       one row per appointment, task or series, and per stored exception of a
//               series (series = the series' OID, orig_start = the occurrence's own
//               start, deleted = 1 for a deleted occurrence). Times are wall minutes.
//   notes       the notes bytes by item row (oid), kept apart so that queries stay small
//   appt_span   R*Tree (32-bit integers) over appointment rows: [start, end] of singles
//               and stored exceptions
//   series_span R*Tree over series: [first start, end of the last occurrence]
// Schema version 2 adds to items:
//   tzid        '' for local (floating) times; else the zone a series repeats in ("UTC"
//               or a zone of the system's database). Such a series keeps its pattern
//               (rec_start, rec_last, rec_until) and its exceptions' orig_start in that
//               zone's wall minutes; t_start and t_end stay local
//   seq         the iCalendar SEQUENCE of the item's last imported version
//   items_uid   index: singles and series by UID
// Schema version 3 adds calendar-server state, kept up to date by triggers:
//   sync_link      per single or series (oid) on a server: account URL, href, ETag, and
//                  dirty = 1 when the item, its notes or an exception changed since
//   sync_token     per account, the server's sync token of the last finished sync
//   sync_tombstone a linked item deleted here, until the server has seen the delete
// Schema version 4 adds what the reminders need:
//   reminder_rung  a reminder that was shown: due (UTC seconds it fell due), oid (the item;
//                  a series for its occurrences), occurrence (the occurrence's original
//                  start, 0 for a single item or a task); snooze > 0: it rings again then
//   reminder_mark  one row: checked, the UTC second up to which every due reminder was
//                  handled (those due before it and not rung were missed)
//   items_appt_reminder, items_task_reminder  indexes: appointments by the wall minute
//                  their reminder falls due, open tasks with a reminder by due date
#include "platform/WinTypes.h"
#include <QString>
#include <cstdint>
#include <sqlite3.h>

class CStoreSchema {
public:
    static constexpr int kVersion = 7;
    static constexpr uint32_t kApplicationId = 0x51444159;  // "QDAY"

    // Opens the file read-write, creating the store (and its folder) when the file is
    // missing or empty. E_FAIL for anything else than a store of ours up to kVersion, and
    // for a file the process may not read; E_PIM_DISKFULL when the disk has no room for
    // what opening must write. S_PIM_READONLY: a store of kVersion that cannot be written
    // (the file or its file system, or a full disk) is open for reading only. *pstrReason
    // (may be null) tells why in a few words.
    static HRESULT Open(const QString& strPath, sqlite3** ppDb, QString* pstrReason = nullptr);
    // A new store in memory, gone when its connection closes: for work that needs no file
    // (fuzzing, measurements).
    static HRESULT OpenInMemory(sqlite3** ppDb);

    // Whether the last failure on the connection was a full disk (SQLite's own code, or the
    // system's for a file it could not write or grow).
    static bool IsDiskFull(sqlite3* pDb);

private:
    enum class FileState { Missing, Empty, Ours, Foreign, Unreadable };
    static FileState Inspect(const QString& strPath, int* pnVersion);
    static QString WriteRefusal(const QString& strPath);
    static sqlite3* OpenReadOnly(const QString& strPath);
    static bool CheckReadOnly(const QString& strPath, int* pnVersion);
    static bool Configure(sqlite3* pDb);
    static bool Migrate(sqlite3* pDb, int nFrom, bool* pbDiskFull);
    static bool HasTables(sqlite3* pDb);
};
