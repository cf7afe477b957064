#include "app/CItemActions.h"
#include "app/CMainFrame.h"
#include "app/NewAppointmentTime.h"
#include "dialogs/CApptDlg.h"
#include "dialogs/CTaskDlg.h"
#include "dialogs/EditorIds.h"
#include "dialogs/EditorTimes.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"
#include "pim/VariantTime.h"
#include "platform/MessageBox.h"
#include "resources/StringTable.h"

const char* const kOpenRecurringText = "Do you want to open all recurrence items?";
const char* const kOpenRecurringCaption = "Orlith";

namespace {

constexpr unsigned kAskSeries = MB_YESNOCANCEL | MB_ICONQUESTION;
constexpr unsigned kAskSingle = MB_YESNO | MB_ICONQUESTION;

BOOL IsRecurring(const IPOutlookItem* pItem)
{
    BOOL bRecurring = FALSE;
    return SUCCEEDED(pItem->get_IsRecurring(&bRecurring)) && bRecurring;
}

QString SubjectOf(const IPOutlookItem* pItem)
{
    QString strSubject;
    pItem->get_Subject(&strSubject);
    return strSubject;
}

}  // namespace

CItemActions::CItemActions(CMainFrame* pFrame, QWidget* pParent)
    : m_pFrame(pFrame)
    , m_pParent(pParent)
{
}

QString CItemActions::Text(const char* pszKey) const
{
    return GetResourceString(m_pFrame->GetStrings(), QString::fromLatin1(pszKey));
}

int CItemActions::Ask(const char* pszKey, unsigned nType) const
{
    return MessageBox(Text(pszKey), Text("RC_COMMON_PRODUCT_TITLE"), nType);
}

int CItemActions::AskDeleteSingle(const IPOutlookItem* pItem, const SelectedItem& item) const
{
    QString strSubject;
    pItem->get_Subject(&strSubject);
    // An appointment's row shows its occurrence; a task is named by its due day.
    DATE dtWhen = item.dtItem;
    if (item.nKind == kEntryKindTask && FAILED(static_cast<const ITask*>(pItem)->get_DueDate(&dtWhen)))
        dtWhen = kNoDate;
    QString strWhen;
    SYSTEMTIME st;
    if (dtWhen > 0 && dtWhen < kNoDate && VariantTimeToSystemTime(dtWhen, &st)) {
        // Monday is day 1 of the week's names, Sunday day 7.
        strWhen = GetWeekdayShortName(m_pFrame->GetStrings(), st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek);
        BOOL bAllDay = FALSE;
        if (item.nKind == kEntryKindAppointment
            && !(SUCCEEDED(static_cast<const IAppointment*>(pItem)->get_AllDayEvent(&bAllDay)) && bAllDay))
            strWhen += QLatin1Char(' ') + FormatTimeText(st.wHour, st.wMinute, m_pFrame->GetSettings().Use24Hour);
    }
    const QString strText = Text(strWhen.isEmpty() ? "RC_COMMON_CONFIRM_DELETENAMED_NODATE"
                                                   : "RC_COMMON_CONFIRM_DELETENAMED");
    // A strings file of its own that lacks the named question asks the plain one.
    if (strText.isEmpty())
        return Ask("RC_COMMON_CONFIRM_DELETEITEM", kAskSingle);
    return MessageBox(strText.arg(strSubject, strWhen), Text("RC_COMMON_PRODUCT_TITLE"), kAskSingle);
}

std::unique_ptr<IAppointment> CItemActions::GetOccurrence(IAppointment* pSeries, DATE dtItem) const
{
    std::unique_ptr<IRecurrencePattern> pPattern;
    if (FAILED(pSeries->GetRecurrencePattern(&pPattern)) || !pPattern)
        return nullptr;
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dtItem, &st))
        return nullptr;
    st.wSecond = 0;
    DATE dtStart = 0.0;
    if (!SystemTimeToVariantTime(&st, &dtStart))
        return nullptr;
    std::unique_ptr<IAppointment> pOccurrence;
    if (pPattern->GetOccurrence(dtStart, &pOccurrence) != S_OK)
        return nullptr;
    return pOccurrence;
}

// ---- Open -----------------------------------------------------------------------------

void CItemActions::Open(const SelectedItem& item)
{
    if (item.nOid == -1) {
        NewAppointment();
        return;
    }
    if (item.nKind == kEntryKindAppointment)
        OpenAppointment(item);
    else if (item.nKind == kEntryKindTask)
        OpenTask(item);
}

void CItemActions::OpenAppointment(const SelectedItem& item)
{
    std::unique_ptr<IAppointment> pAppt;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(item.nOid, &pAppt)) || !pAppt)
        return;
    if (!IsRecurring(pAppt.get())) {
        EditAppointment(std::move(pAppt), item.nOid);
        return;
    }
    switch (MessageBox(QString::fromLatin1(kOpenRecurringText), QString::fromLatin1(kOpenRecurringCaption),
                       kAskSeries)) {
    case IDYES:
        EditAppointment(std::move(pAppt), item.nOid);
        break;
    case IDNO:
        if (std::unique_ptr<IAppointment> pOccurrence = GetOccurrence(pAppt.get(), item.dtItem))
            EditAppointment(std::move(pOccurrence), item.nOid);
        break;
    default:
        break;
    }
}

void CItemActions::OpenTask(const SelectedItem& item)
{
    std::unique_ptr<ITask> pTask;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(item.nOid, &pTask)) || !pTask)
        return;
    EditTask(std::move(pTask), item.nOid);
}

// ---- Completion -------------------------------------------------------------------------

void CItemActions::ToggleComplete(const SelectedItem& item)
{
    if (item.nOid == -1 || item.nKind != kEntryKindTask)
        return;
    std::unique_ptr<ITask> pTask;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(item.nOid, &pTask)) || !pTask)
        return;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    if (FAILED(pTask->get_Complete(&bComplete)))
        return;
    Act(item.nOid, bComplete ? "RC_UNDO_UNTICKED" : "RC_UNDO_TICKED", [&]() -> const IPOutlookItem* {
        pTask->put_Complete(bComplete ? VARIANT_FALSE : VARIANT_TRUE);
        pTask->Save();
        return pTask.get();
    });
}

// ---- Delete -----------------------------------------------------------------------------

void CItemActions::Delete(const SelectedItem& item)
{
    if (item.nOid == -1)
        return;
    if (item.nKind == kEntryKindAppointment)
        DeleteAppointment(item);
    else if (item.nKind == kEntryKindTask)
        DeleteTask(item);
}

void CItemActions::DeleteAppointment(const SelectedItem& item)
{
    std::unique_ptr<IAppointment> pAppt;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(item.nOid, &pAppt)) || !pAppt)
        return;
    const auto deleteSeries = [&]() -> const IPOutlookItem* {
        pAppt->Delete();
        return pAppt.get();
    };
    if (!IsRecurring(pAppt.get())) {
        if (AskDeleteSingle(pAppt.get(), item) == IDYES)
            Act(item.nOid, "RC_UNDO_DELETED", deleteSeries);
        return;
    }
    switch (Ask("RC_COMMON_CONFIRM_DELETERECURRING", kAskSeries)) {
    case IDYES:
        Act(item.nOid, "RC_UNDO_DELETED", deleteSeries);
        break;
    case IDNO:
        Act(item.nOid, "RC_UNDO_DELETED", [&]() -> const IPOutlookItem* {
            std::unique_ptr<IAppointment> pOccurrence = GetOccurrence(pAppt.get(), item.dtItem);
            if (!pOccurrence)
                return nullptr;
            pOccurrence->Delete();
            return pAppt.get();
        });
        break;
    default:
        break;
    }
}

void CItemActions::DeleteTask(const SelectedItem& item)
{
    std::unique_ptr<ITask> pTask;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(item.nOid, &pTask)) || !pTask)
        return;
    const auto deleteTask = [&]() -> const IPOutlookItem* {
        pTask->Delete();
        return pTask.get();
    };
    if (!IsRecurring(pTask.get())) {
        if (AskDeleteSingle(pTask.get(), item) == IDYES)
            Act(item.nOid, "RC_UNDO_DELETED", deleteTask);
        return;
    }
    switch (Ask("RC_COMMON_CONFIRM_DELETERECURRING", kAskSeries)) {
    case IDYES:
        Act(item.nOid, "RC_UNDO_DELETED", deleteTask);
        break;
    case IDNO:
        Act(item.nOid, "RC_UNDO_DELETED", [&]() -> const IPOutlookItem* {
            pTask->SkipRecurrence();
            return pTask.get();
        });
        break;
    default:
        break;
    }
}

// ---- New items and the editors ------------------------------------------------------------

namespace {

// Runs the editor; when it asks for the detail form, the store shows its own form for
// the item the editor saved. The item, to name what was done.
template <class TDialog>
const IPOutlookItem* RunEditor(TDialog* pDlg)
{
    if (pDlg->DoModal() == ID_EDITOR_RESULT_DETAIL && pDlg->GetItem() != nullptr)
        pDlg->GetItem()->Display();
    return pDlg->GetItem();
}

}  // namespace

void CItemActions::NewAppointment()
{
    const DateTime start = NewAppointmentStart(DateTime::GetCurrentTime(), m_pFrame->GetCurrentDate());
    CApptDlg dlg(m_pFrame, m_pParent);
    dlg.SetStart(start);
    dlg.SetEnd(NewAppointmentEnd(start));
    Act(-1, "RC_UNDO_ADDED", [&] { return RunEditor(&dlg); });
}

void CItemActions::NewTask()
{
    const DateTime current = m_pFrame->GetCurrentDate();
    CTaskDlg dlg(m_pFrame, m_pParent);
    dlg.SetStart(current);
    dlg.SetDue(current);
    Act(-1, "RC_UNDO_ADDED", [&] { return RunEditor(&dlg); });
}

void CItemActions::EditAppointment(std::unique_ptr<IAppointment> pAppt, int32_t nOid)
{
    CApptDlg dlg(m_pFrame, m_pParent);
    dlg.Load(std::move(pAppt));
    Act(nOid, "RC_UNDO_SAVED", [&] { return RunEditor(&dlg); });
}

void CItemActions::EditTask(std::unique_ptr<ITask> pTask, int32_t nOid)
{
    CTaskDlg dlg(m_pFrame, m_pParent);
    dlg.Load(std::move(pTask));
    Act(nOid, "RC_UNDO_SAVED", [&] { return RunEditor(&dlg); });
}

// ---- Undo ---------------------------------------------------------------------------------

void CItemActions::Act(int32_t nOid, const char* pszKey, const std::function<const IPOutlookItem*()>& fnAction)
{
    const std::shared_ptr<CPimStore> pStore = m_pFrame->GetOutlookApp()->GetStore();
    UndoEntry entry;
    const bool bKept = pStore && entry.step.Begin(*pStore, nOid);
    const IPOutlookItem* pItem = fnAction();
    if (pItem == nullptr || !bKept || !entry.step.Finish(*pStore))
        return;
    entry.strText = Text(pszKey).arg(SubjectOf(pItem));
    if (m_undo.size() == kMaxUndo)
        m_undo.erase(m_undo.begin());
    m_undo.push_back(std::move(entry));
    ++m_nActions;
    if (m_fnChanged)
        m_fnChanged();
}

QString CItemActions::LastActionText() const
{
    return m_undo.empty() ? QString() : m_undo.back().strText;
}

void CItemActions::Undo()
{
    const std::shared_ptr<CPimStore> pStore = m_pFrame->GetOutlookApp()->GetStore();
    if (m_undo.empty() || !pStore) {
        MessageBox(Text("RC_UNDO_NOTHING"), Text("RC_COMMON_PRODUCT_TITLE"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    UndoEntry entry = std::move(m_undo.back());
    m_undo.pop_back();
    QString strReason;
    switch (entry.step.Undo(*pStore, &strReason)) {
    case CUndoStep::EResult::Done:
        if (m_fnChanged)
            m_fnChanged();
        break;
    case CUndoStep::EResult::ChangedSince:
        MessageBox(Text("RC_UNDO_CHANGED").arg(entry.strText), Text("RC_COMMON_PRODUCT_TITLE"),
                   MB_OK | MB_ICONEXCLAMATION);
        break;
    case CUndoStep::EResult::Failed:
        // Nothing was written: the action can be taken back once what stopped it is mended.
        MessageBox(Text("RC_UNDO_FAILED").arg(strReason), Text("RC_COMMON_PRODUCT_TITLE"), MB_OK | MB_ICONEXCLAMATION);
        m_undo.push_back(std::move(entry));
        break;
    }
}
