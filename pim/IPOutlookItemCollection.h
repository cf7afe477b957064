#pragma once
// The items of one folder, walked with Find / FindNext.
//
// Sort: "[Start]", "[End]" (appointments), "[StartDate]", "[DueDate]", "[DateCompleted]",
// "[Importance]" (tasks), "[Subject]"; any other property fails with E_INVALIDARG. Without Sort, items come in the store's
// own order (appointments by start; tasks incomplete first, then by start and due date).
// IncludeRecurrences (appointments): a series is replaced by its occurrences, each an
// IAppointment with the series' OID, merged with the single items in ascending start
// order (only "[Start]" ascending is offered then; another sort makes Find fail with
// E_NOTIMPL). Occurrences are expanded only inside the span the restriction allows and
// never past 1 January 4501.
//
// Restriction language: comparisons of a bracketed property with a value, joined by
// AND, OR and parentheses:
//     [Start] <= 12/31/07 23:59 AND [End] >= 12/25/07 00:00
//     [Complete] = FALSE AND ([StartDate] = 1/1/4501 OR [StartDate] <= 12/31/07 23:59)
// Operators = <> < > <= >=. Values: a date in the short-date pattern of
// GetShortDatePattern (month names where the pattern has MMM; a four-digit year is accepted where the pattern has two digits;
// two-digit years are 1970..2069, read as a group so that a week across either end of
// that window stays one week) with an optional hh:mm, or TRUE / FALSE. Properties:
// Start, End, AllDayEvent, IsRecurring, ReminderSet (appointments); StartDate, DueDate,
// DateCompleted, Complete, IsRecurring, ReminderSet, Importance (tasks; a number value).
// A malformed text or an unknown property makes Find fail with E_INVALIDARG; an empty
// text finds every item.
#include "pim/IPOutlookItem.h"
#include "platform/WinTypes.h"
#include <QString>
#include <memory>

class CPimStore;
class CItemQuery;

class IPOutlookItemCollection {
public:
    IPOutlookItemCollection(std::shared_ptr<CPimStore> pStore, int nFolder);
    ~IPOutlookItemCollection();
    IPOutlookItemCollection(const IPOutlookItemCollection&) = delete;
    IPOutlookItemCollection& operator=(const IPOutlookItemCollection&) = delete;

    HRESULT Sort(const QString& strProperty, VARIANT_BOOL bDescending);
    HRESULT put_IncludeRecurrences(VARIANT_BOOL b);
    HRESULT get_IncludeRecurrences(VARIANT_BOOL* pb) const;

    // Starts a new walk: the first matching item, or S_OK with a null item when none
    // matches. FindNext continues the last Find (S_OK and null at the end; E_FAIL
    // without a Find). A failed read of the store gives E_FAIL; IPOutlookApp::GetReadFailure
    // then says why.
    HRESULT Find(const QString& strRestriction, std::unique_ptr<IPOutlookItem>* ppItem);
    HRESULT FindNext(std::unique_ptr<IPOutlookItem>* ppItem);
    // Typed forms: fail with E_INVALIDARG on a collection of the other folder.
    HRESULT Find(const QString& strRestriction, std::unique_ptr<IAppointment>* ppAppt);
    HRESULT FindNext(std::unique_ptr<IAppointment>* ppAppt);
    HRESULT Find(const QString& strRestriction, std::unique_ptr<ITask>* ppTask);
    HRESULT FindNext(std::unique_ptr<ITask>* ppTask);

    // Number of items in the folder (series counted once).
    HRESULT get_Count(int32_t* pnCount) const;

private:
    std::shared_ptr<CPimStore> m_pStore;
    int m_nFolder = 0;
    QString m_strSort;
    bool m_bDescending = false;
    bool m_bIncludeRecurrences = false;
    std::unique_ptr<CItemQuery> m_pQuery;
};
