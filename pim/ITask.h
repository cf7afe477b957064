#pragma once
// A task. StartDate, DueDate and DateCompleted are dates (the time of day is dropped on
// put); kNoDate (949998.0) means not set. On Save a start date without a due date gets
// the start date as due date, and a start date after the due date is moved to it.
#include "pim/IPOutlookItem.h"

class ITask : public IPOutlookItem {
public:
    ITask(std::shared_ptr<CPimStore> pStore, CItemRecord&& record);

    HRESULT get_StartDate(DATE* pdt) const;
    HRESULT put_StartDate(DATE dt);
    HRESULT get_DueDate(DATE* pdt) const;
    HRESULT put_DueDate(DATE dt);
    // The day the task was completed (set by Save when Complete turns TRUE), or kNoDate.
    HRESULT get_DateCompleted(DATE* pdt) const;
    HRESULT get_Importance(int32_t* pnImportance) const;  // olImportanceLow..High
    HRESULT put_Importance(int32_t nImportance);           // other values: E_INVALIDARG
    HRESULT get_Complete(VARIANT_BOOL* pb) const;
    HRESULT put_Complete(VARIANT_BOOL b);
    // Recurring task: moves start and due date together to the next occurrence and saves.
    // When no occurrence is left the task is completed instead. Not recurring: E_FAIL.
    // Saving a recurring task marked complete keeps a completed copy (a new item) and
    // moves this task to its next occurrence the same way.
    HRESULT SkipRecurrence();
};
