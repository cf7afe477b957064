#include "app/CItemActions.h"
#include "app/CMainFrame.h"
#include "app/NewAppointmentTime.h"
#include "dialogs/CApptDlg.h"
#include "dialogs/CTaskDlg.h"
#include "dialogs/EditorIds.h"
#include "dialogs/EditorTimes.h"
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
        EditAppointment(std::move(pAppt));
        return;
    }
    switch (MessageBox(QString::fromLatin1(kOpenRecurringText), QString::fromLatin1(kOpenRecurringCaption),
                       kAskSeries)) {
    case IDYES:
        EditAppointment(std::move(pAppt));
        break;
    case IDNO:
        if (std::unique_ptr<IAppointment> pOccurrence = GetOccurrence(pAppt.get(), item.dtItem))
            EditAppointment(std::move(pOccurrence));
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
    EditTask(std::move(pTask));
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
    pTask->put_Complete(bComplete ? VARIANT_FALSE : VARIANT_TRUE);
    pTask->Save();
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
    if (!IsRecurring(pAppt.get())) {
        if (AskDeleteSingle(pAppt.get(), item) == IDYES)
            pAppt->Delete();
        return;
    }
    switch (Ask("RC_COMMON_CONFIRM_DELETERECURRING", kAskSeries)) {
    case IDYES:
        pAppt->Delete();
        break;
    case IDNO:
        if (std::unique_ptr<IAppointment> pOccurrence = GetOccurrence(pAppt.get(), item.dtItem))
            pOccurrence->Delete();
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
    if (!IsRecurring(pTask.get())) {
        if (AskDeleteSingle(pTask.get(), item) == IDYES)
            pTask->Delete();
        return;
    }
    switch (Ask("RC_COMMON_CONFIRM_DELETERECURRING", kAskSeries)) {
    case IDYES:
        pTask->Delete();
        break;
    case IDNO:
        pTask->SkipRecurrence();
        break;
    default:
        break;
    }
}

// ---- New items and the editors ------------------------------------------------------------

namespace {

// Runs the editor; when it asks for the detail form, the store shows its own form for
// the item the editor saved.
template <class TDialog>
void RunEditor(TDialog* pDlg)
{
    if (pDlg->DoModal() == ID_EDITOR_RESULT_DETAIL && pDlg->GetItem() != nullptr)
        pDlg->GetItem()->Display();
}

}  // namespace

void CItemActions::NewAppointment()
{
    const DateTime start = NewAppointmentStart(DateTime::GetCurrentTime(), m_pFrame->GetCurrentDate());
    CApptDlg dlg(m_pFrame, m_pParent);
    dlg.SetStart(start);
    dlg.SetEnd(NewAppointmentEnd(start));
    RunEditor(&dlg);
}

void CItemActions::NewTask()
{
    const DateTime current = m_pFrame->GetCurrentDate();
    CTaskDlg dlg(m_pFrame, m_pParent);
    dlg.SetStart(current);
    dlg.SetDue(current);
    RunEditor(&dlg);
}

void CItemActions::EditAppointment(std::unique_ptr<IAppointment> pAppt)
{
    CApptDlg dlg(m_pFrame, m_pParent);
    dlg.Load(std::move(pAppt));
    RunEditor(&dlg);
}

void CItemActions::EditTask(std::unique_ptr<ITask> pTask)
{
    CTaskDlg dlg(m_pFrame, m_pParent);
    dlg.Load(std::move(pTask));
    RunEditor(&dlg);
}
