#include "week/CWeekLoader.h"
#include "week/AgendaSettings.h"
#include "calendar/AnniversaryList.h"
#include "pim/CPimDatabases.h"
#include "pim/CPimReadView.h"
#include "pim/IPOutlookApp.h"
#include "pim/VariantTime.h"
#include "platform/ShortDate.h"
#include "week/IWeekHost.h"
#include "week/IWeekRows.h"
#include "week/TaskOrder.h"
#include "week/WeekQueries.h"

namespace {

QString ShortDateText(const DateTime& t)
{
    SYSTEMTIME st;
    t.GetAsSystemTime(st);
    return FormatShortDateForQuery(st);
}

// The local date of a store date at 00:00:00; false for the not-set date.
bool DateOf(DATE dt, DateTime* pDate)
{
    SYSTEMTIME st;
    if (dt == kNoDate || !VariantTimeToSystemTime(dt, &st))
        return false;
    *pDate = DateTime(st.wYear, st.wMonth, st.wDay, 0, 0, 0);
    return true;
}

// The sort keys of the tasks, each with its index among them.
std::vector<TaskOrderRecord> OrderRecords(const std::deque<TaskData>& tasks)
{
    std::vector<TaskOrderRecord> records;
    records.reserve(tasks.size());
    for (const TaskData& task : tasks) {
        TaskOrderRecord record;
        record.nOid = task.nOid;
        record.bComplete = task.bComplete ? VARIANT_TRUE : VARIANT_FALSE;
        record.nImportance = task.nImportance;
        record.dtDue = task.dtDueDate;
        record.nIndex = static_cast<int32_t>(records.size());
        records.push_back(record);
    }
    return records;
}

}  // namespace

CWeekLoader::CWeekLoader(IWeekHost* pFrame, IWeekRows* pRows, const WeekRange& week)
    : m_pFrame(pFrame)
    , m_pRows(pRows)
{
    const AgendaSettings& settings = pFrame->GetSettings();
    m_ctx.week = week;
    m_ctx.SetToday(pFrame->GetToday());
    m_ctx.bBoldAllDayEvent = settings.BoldAllDayEvent;
    m_ctx.bBoldImportantTask = settings.BoldImportantTask;
    m_ctx.bShowTaskStart = settings.ShowTaskStart;
    m_ctx.formatTime = [pFrame](const SYSTEMTIME& st) { return pFrame->FormatTime(st); };
}

bool CWeekLoader::Load()
{
    m_strFailure.clear();
    const CPimReadView readView(m_pFrame->GetOutlookApp());
    const QString strStart = ShortDateText(m_ctx.week.weekStart);
    const QString strEnd = ShortDateText(m_ctx.week.weekEnd);
    AddSpecialDays();
    if (AddAppointments(strStart, strEnd) && AddTasks(strStart, strEnd))
        AddPlaceholders();
    return m_strFailure.isEmpty();
}

bool CWeekLoader::ReadFailed(HRESULT hr)
{
    if (SUCCEEDED(hr))
        return false;
    m_strFailure = m_pFrame->GetOutlookApp()->GetReadFailure();
    return true;
}

void CWeekLoader::AddEntries(const std::vector<AgendaEntry>& entries)
{
    for (const AgendaEntry& entry : entries)
        m_pRows->AddRow(MakeAgendaRow(entry));
}

void CWeekLoader::AddSpecialDays()
{
    const SpecialDayList& days = m_pFrame->GetSpecialDays();
    const BOOL bBold = m_pFrame->GetSettings().BoldAllDayEvent ? TRUE : FALSE;
    for (int i = 0; i < days.GetSize(); ++i) {
        const SpecialDay* pDay = days.GetAt(i);
        for (const DateTime& date : pDay->Occurrences(m_ctx.week.weekStart, m_ctx.week.weekEnd)) {
            AgendaEntry e;
            e.nDayOfWeek = date.GetDayOfWeek();
            e.strLabel = QStringLiteral("(E)");
            e.strText = pDay->strName;
            e.bRecurring = TRUE;
            e.bBold = bBold;
            e.dtItem = 0.0;
            e.nKind = kEntrySpecialDay;
            e.nOid = 0;
            e.crText = pDay->crColor;
            m_pRows->AddRow(MakeAgendaRow(e));
        }
    }
}

bool CWeekLoader::OpenItems(int nFolder, std::unique_ptr<IPOutlookItemCollection>* ppItems)
{
    IPOutlookApp* pApp = m_pFrame->GetOutlookApp();
    std::unique_ptr<IFolder> pFolder;
    return pApp != nullptr && SUCCEEDED(pApp->GetDefaultFolder(nFolder, &pFolder))
        && SUCCEEDED(pFolder->get_Items(ppItems));
}

bool CWeekLoader::IsDuplicate(int32_t nOid, DATE dtStart)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dtStart, &st))
        return false;
    return m_pRows->HasOccurrence(ToMondayFirst(st.wDayOfWeek + 1) - 1, nOid, dtStart);
}

void CWeekLoader::ReadAppointment(IAppointment* pAppt, ApptData* pData)
{
    int32_t nOid = 0;
    BOOL bAllDay = FALSE;
    pAppt->get_Subject(&pData->strSubject);
    pAppt->get_Location(&pData->strLocation);
    pAppt->get_AllDayEvent(&bAllDay);
    pAppt->get_ReminderSet(&pData->bReminderSet);
    pAppt->get_IsRecurring(&pData->bIsRecurring);
    pAppt->get_Oid(&nOid);
    pAppt->get_Start(&pData->dtStart);
    DATE dtEnd = 0.0;
    pAppt->get_End(&dtEnd);
    pData->bAllDayEvent = bAllDay;
    pData->nOid = nOid;
    // The week's query reads the notes flag with the row: a changed occurrence's own, the
    // series' for the other occurrences.
    const CItemRecord& record = pAppt->Record();
    pData->bHasNotes = record.bNotesFlagRead ? (record.bHasNotes ? 1 : 0)
                                             : m_pFrame->GetPimDatabases().ApptHasNotes(pAppt);
    VariantTimeToSystemTime(pData->dtStart, &pData->stStart);
    VariantTimeToSystemTime(dtEnd, &pData->stEnd);
}

bool CWeekLoader::AddAppointments(const QString& strStart, const QString& strEnd)
{
    std::unique_ptr<IPOutlookItemCollection> pItems;
    if (!OpenItems(olFolderCalendar, &pItems))
        return false;
    pItems->Sort(QStringLiteral("[Start]"), VARIANT_FALSE);
    pItems->put_IncludeRecurrences(VARIANT_TRUE);
    std::unique_ptr<IAppointment> pAppt;
    std::vector<AgendaEntry> entries;
    HRESULT hr = S_OK;
    for (hr = pItems->Find(AppointmentWeekQuery(strStart, strEnd), &pAppt); SUCCEEDED(hr) && pAppt;
         hr = pItems->FindNext(&pAppt)) {
        int32_t nOid = 0;
        DATE dtStart = 0.0;
        pAppt->get_Oid(&nOid);
        pAppt->get_Start(&dtStart);
        if (IsDuplicate(nOid, dtStart))
            continue;
        ApptData data;
        ReadAppointment(pAppt.get(), &data);
        entries.clear();
        AddAppointmentEntries(m_ctx, data, &entries);
        AddEntries(entries);
    }
    return !ReadFailed(hr);
}

void CWeekLoader::ReadTask(ITask* pTask, TaskData* pData)
{
    int32_t nOid = 0, nImportance = 1;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    DATE dtDue = kNoDate, dtDone = kNoDate;
    pTask->get_ReminderSet(&pData->bReminderSet);
    pTask->get_IsRecurring(&pData->bIsRecurring);
    pTask->get_Importance(&nImportance);
    pTask->get_Oid(&nOid);
    pTask->get_StartDate(&pData->dtStartDate);
    pTask->get_DueDate(&dtDue);
    pData->dtDueDate = dtDue;
    pTask->get_Complete(&bComplete);
    pTask->get_DateCompleted(&dtDone);
    pData->nImportance = nImportance;
    pData->nOid = nOid;
    pData->bComplete = bComplete != VARIANT_FALSE;
    pData->bHasStart = DateOf(pData->dtStartDate, &pData->start);
    pData->bHasDue = DateOf(dtDue, &pData->due);
    pData->bHasDone = pData->bComplete && DateOf(dtDone, &pData->done);
}

// A task of the week's query came with its notes flag, read with the rest of its row in
// this load's read view; another is asked for it.
void CWeekLoader::ReadTaskTexts(ITask* pTask, TaskData* pData)
{
    pTask->get_Subject(&pData->strSubject);
    const CItemRecord& record = pTask->Record();
    pData->bHasNotes = record.bNotesFlagRead ? (record.bHasNotes ? 1 : 0)
                                             : m_pFrame->GetPimDatabases().TaskHasNotes(pTask);
}

bool CWeekLoader::AddTasks(const QString& strStart, const QString& strEnd)
{
    std::unique_ptr<IPOutlookItemCollection> pItems;
    if (!OpenItems(olFolderTasks, &pItems))
        return false;
    const AgendaSettings& settings = m_pFrame->GetSettings();
    const QString strQuery = TaskWeekQuery(settings.ShowCompleteTask ? TRUE : FALSE, strStart, strEnd,
                                           settings.NoDateText, m_ctx.week.Contains(m_ctx.today));
    std::deque<TaskData> tasks;  // thousands on a week with today: no moves as it grows
    if (ReadFailed(FindTasks(pItems.get(), strQuery, &tasks)))
        return false;
    std::vector<TaskOrderRecord> order = OrderRecords(tasks);
    SortTaskOrder(&order);
    std::vector<AgendaEntry> entries;
    for (const TaskOrderRecord& record : order) {
        entries.clear();
        AddTaskEntries(m_ctx, tasks[record.nIndex], &entries);
        AddEntries(entries);
    }
    return true;
}

// Each task found is read at once and its object let go: within one load this gives the
// values a fetch by OID after sorting would, without a store read or an object kept per
// task. The week's query reads the subject and the notes flag with the rest of the row.
HRESULT CWeekLoader::FindTasks(IPOutlookItemCollection* pItems, const QString& strQuery, std::deque<TaskData>* pTasks)
{
    std::unique_ptr<ITask> pTask;
    HRESULT hr = S_OK;
    for (hr = pItems->Find(strQuery, &pTask); SUCCEEDED(hr) && pTask; hr = pItems->FindNext(&pTask)) {
        TaskData data;
        ReadTask(pTask.get(), &data);
        ReadTaskTexts(pTask.get(), &data);
        pTasks->push_back(std::move(data));
    }
    return hr;
}

void CWeekLoader::AddPlaceholders()
{
    for (int i = 0; i < 7; ++i) {
        if (m_pRows->GetRowCount(i) != 0)
            continue;
        AgendaRow row;
        row.nDayIndex = i;
        row.strLabel = QStringLiteral("(NULL)");
        m_pRows->AddRow(std::move(row));
    }
}
