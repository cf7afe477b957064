#pragma once
// One load of the shown week into the pane's lists, in the fixed order: special days,
// appointments (one query, duplicates of an occurrence left out), tasks (one query, in
// task order), then a "(NULL)" row for every list that stayed empty. A failed folder or
// collection ends the load where it happened, without placeholder rows; so does a failed
// read of the store, which Load reports.
#include "week/EntryBuilder.h"
#include "week/TaskOrder.h"
#include <QString>
#include <deque>
#include <memory>

class IAppointment;
class IPOutlookItemCollection;
class ITask;
class IWeekHost;
class IWeekRows;
struct WeekRange;

class CWeekLoader {
public:
    // Loads the week into pRows.
    CWeekLoader(IWeekHost* pFrame, IWeekRows* pRows, const WeekRange& week);

    // False when the store could not be read: the lists hold what was read before the
    // failure, and GetFailure says why.
    bool Load();
    const QString& GetFailure() const { return m_strFailure; }

private:
    // The items of the store's default folder (olFolderCalendar or olFolderTasks); false
    // without a store, folder or collection.
    bool OpenItems(int nFolder, std::unique_ptr<IPOutlookItemCollection>* ppItems);
    void AddSpecialDays();
    bool AddAppointments(const QString& strStart, const QString& strEnd);
    bool AddTasks(const QString& strStart, const QString& strEnd);
    // The walk's end: S_OK, or the failure that ended it.
    HRESULT FindTasks(IPOutlookItemCollection* pItems, const QString& strQuery, std::deque<TaskData>* pTasks);
    void AddPlaceholders();
    bool IsDuplicate(int32_t nOid, DATE dtStart);
    void ReadAppointment(IAppointment* pAppt, ApptData* pData);
    // Everything but the subject and the notes flag, which ReadTaskTexts adds.
    void ReadTask(ITask* pTask, TaskData* pData);
    void ReadTaskTexts(ITask* pTask, TaskData* pData);
    void AddEntries(const std::vector<AgendaEntry>& entries);
    // Records the reason when a Find walk ended on a failed read; true when it did.
    bool ReadFailed(HRESULT hr);

    IWeekHost* m_pFrame;
    IWeekRows* m_pRows;
    EntryContext m_ctx;
    QString m_strFailure;
};
