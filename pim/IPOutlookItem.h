#pragma once
// What appointments and tasks have in common. Items are handed out as
// std::unique_ptr<IPOutlookItem> (or the typed IAppointment / ITask); destroying the
// pointer releases the item. An item is a copy of the stored values: setters change the
// copy and Save writes it in one transaction. An item outlives Logoff safely: it
// keeps the store file open as long as it lives.
#include "pim/CItemRecord.h"
#include "pim/PimTypes.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

class CPimStore;
class IAppointment;
class ITask;
class IRecurrencePattern;

class IPOutlookItem {
public:
    virtual ~IPOutlookItem();
    IPOutlookItem(const IPOutlookItem&) = delete;
    IPOutlookItem& operator=(const IPOutlookItem&) = delete;

    // olAppointmentItem or olTaskItem.
    int GetItemType() const;
    // The typed view of this item, or nullptr when it is of the other type.
    IAppointment* AsAppointment();
    ITask* AsTask();

    // 0 until the item was saved once. Every occurrence of a series has the series' OID.
    HRESULT get_Oid(int32_t* pOid) const;
    HRESULT get_Subject(QString* pstr) const;
    HRESULT put_Subject(const QString& str);
    HRESULT get_ReminderSet(BOOL* pb) const;
    HRESULT put_ReminderSet(BOOL b);
    // The notes: the bytes of a CNotesData (typed text and pen strokes), empty for none.
    HRESULT get_BodyInk(QByteArray* pBytes) const;
    HRESULT put_BodyInk(const QByteArray& bytes);
    // The typed text of the notes; put_Body keeps the pen strokes.
    HRESULT get_Body(QString* pstr) const;
    HRESULT put_Body(const QString& str);

    HRESULT get_IsRecurring(BOOL* pb) const;
    // The item's recurrence pattern. On an item that does not recur yet, the pattern
    // starts from defaults (weekly on the start's weekday, no end) and the item becomes
    // recurring only once one of the pattern's put_ calls is made; Save stores it.
    HRESULT GetRecurrencePattern(std::unique_ptr<IRecurrencePattern>* ppPattern);
    // Makes the item single again (on Save; stored exceptions are dropped).
    HRESULT ClearRecurrencePattern();
    // How many stored exceptions (changed or deleted occurrences) of this series Save
    // would drop with the values as they are now: a changed pattern or a moved start
    // keeps only the exceptions whose occurrence it still gives; a series made single
    // drops them all. 0 for an unsaved item, a task or an occurrence.
    HRESULT CountDroppedExceptions(int32_t* pnCount) const;

    // Writes the item in one transaction. A new item gets its OID here. On an occurrence,
    // stores the change for that occurrence only.
    HRESULT Save();
    // Deletes the item (the whole series for a recurring item; one occurrence for an
    // item got from GetOccurrence or from a query with recurrences included).
    HRESULT Delete();
    // Opens the store's detail form for the item; E_PIM_NOFORM when none is available.
    HRESULT Display();

    // Whether this item stands for one occurrence of a series.
    BOOL IsOccurrence() const;

    // Internal: the store and the values behind the item.
    const CItemRecord& Record() const { return *m_pRecord; }

protected:
    IPOutlookItem(std::shared_ptr<CPimStore> pStore, CItemRecord&& record);
    std::shared_ptr<CPimStore> m_pStore;
    std::shared_ptr<CItemRecord> m_pRecord;  // shared with the item's IRecurrencePattern
    // Completes a record that a lean query read (texts and pattern), before they are used.
    void EnsureFull() const;
    // The same, unless the lean query read the summary (subject, reminder flag, recurrence
    // type, completion date) that the caller is after.
    void EnsureSummary() const;
    mutable CRecurrenceRule m_ruleLoaded;    // the rule as loaded, to see a changed series
    int64_t m_nStartLoaded = 0;
    bool m_bCompleteLoaded = false;

    friend class CPimStore;
    friend class IRecurrencePattern;
};

// Creates the typed item for a record (used by the store).
std::unique_ptr<IPOutlookItem> MakePimItem(std::shared_ptr<CPimStore> pStore, CItemRecord&& record);
