#pragma once
// The write side of an import: items stored by UID, in file order, in the calling thread.
// An item whose UID the store already holds is updated in place (its OID kept) when the
// file's version is newer (SEQUENCE, then LAST-MODIFIED or DTSTAMP) or, at the same
// version, its content differs; otherwise it is left alone. A UID that an earlier item of
// the same file had is kept as "<UID>#2" (#3, ...), so that both items are kept and the
// same file imported again finds each.
#include "ical/ICalPrepared.h"
#include "pim/CDeferredIndexes.h"
#include "pim/CItemRecord.h"
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <memory>
#include <vector>

class CPimStore;

class CICalItemStore {
public:
    explicit CICalItemStore(std::shared_ptr<CPimStore> pStore) : m_pStore(std::move(pStore)) {}

    // Opens the import's one transaction; false with the reason when the store refuses.
    // Into a store without items the import writes in bulk: the items' indexes are made
    // after it, and items are not looked up by UID; a UID the file gives twice is told
    // apart then.
    bool Begin(QString* pstrError);
    // Commits when the file was read to its end and every write succeeded; otherwise rolls
    // back and forgets the counts. false when nothing was committed (StoreError says why
    // when the store failed).
    bool End(bool bComplete);
    QString StoreError() const;

    // The store's part of one component: its skipped lines kept, its items stored. False
    // when a write or read of the store failed (SQLite's reason is kept; the import ends).
    bool StorePrepared(ICalPrepared& prepared);

    // Ready for another import: no counts, nothing skipped.
    void Reset();
    int Appointments() const { return m_nAppointments; }
    int Tasks() const { return m_nTasks; }
    int Updated() const { return m_nUpdated; }
    int Unchanged() const { return m_nUnchanged; }
    const QStringList& Skipped() const { return m_skipped; }
    // "<UID> as <UID>#2", one line per item kept under a UID of its own, in file order.
    const QStringList& Renamed() const { return m_renamed; }

private:
    // Added, updated, left alone, or refused as older; false when the store fails.
    bool Store(ICalWanted& wanted);
    bool SameContent(const CItemRecord& stored, const QVector<CItemRecord>& storedExceptions,
                     const ICalWanted& wanted) const;
    // The notes and exceptions of the stored item *pRecord, read by FindByUid.
    bool LoadStored(int32_t nOid, CItemRecord* pRecord, QVector<CItemRecord>* pExceptions) const;
    bool StoreFailed();
    // The stored item of r's UID (0: none), after giving r a UID of its own when an item
    // of this import has its UID; its kind in *pnKind and its row in *pStored. False when
    // the store fails.
    bool FindByUid(CItemRecord& r, int32_t* pnOid, int* pnKind, CItemRecord* pStored);
    bool BeginBulk();
    // After a bulk write: the later items of a UID given twice get UIDs of their own.
    bool RenameDoubledUids();
    bool Touched(int32_t nOid) const { return nOid < int32_t(m_touched.size()) && m_touched[nOid]; }
    void Touch(int32_t nOid);
    void ForgetCounts();

    std::shared_ptr<CPimStore> m_pStore;
    QStringList m_skipped;
    QStringList m_renamed;
    std::vector<bool> m_touched;  // by OID: an item of this import is stored there
    int m_nAppointments = 0;
    int m_nTasks = 0;
    int m_nUpdated = 0;
    int m_nUnchanged = 0;
    bool m_bFailed = false;
    bool m_bBulk = false;          // the store had no items when the import began
    CDeferredIndexes m_indexes;    // dropped for the bulk write
};
