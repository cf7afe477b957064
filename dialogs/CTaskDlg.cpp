#include "dialogs/CTaskDlg.h"
#include "platform/MessageBox.h"
#include "dialogs/EditorIds.h"
#include "dialogs/EditorTimes.h"
#include "dialogs/IDialogHost.h"
#include "pim/IPOutlookApp.h"
#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// Where the notes preview starts.
constexpr int kTaskPreviewTop = 145;
constexpr int kFirstRowTop = 4;
constexpr int kRowPitch = 24;
constexpr int kRowHeight = 20;
constexpr int kMargin = 2;
constexpr int kLabelWidth = 50;      // the priority label
constexpr int kCheckWidth = 66;      // the start and due check boxes beside their pickers
constexpr int kRadioWidth = 40;

// The store's importance of a priority, and back (other importances show as normal).
int ImportanceOfPriority(int nPriority)
{
    return 2 - nPriority;
}

int PriorityOfImportance(int nImportance)
{
    return nImportance >= olImportanceLow && nImportance <= olImportanceHigh ? 2 - nImportance : kPriorityNormal;
}

}  // namespace

CTaskDlg::CTaskDlg(IDialogHost* pHost, QWidget* pParent)
    : CEditorDialog(pHost, pParent, QStringLiteral("Task"))
    , m_start(DateTime::GetCurrentTime())
    , m_due(m_start)
{
    CreateControls();
    if (IPOutlookApp* pApp = pHost->GetOutlookApp())
        pApp->CreateItem(olTaskItem, &m_pItem);
    SetStart(m_start);
    SetDue(m_due);
}

CTaskDlg::~CTaskDlg() = default;

void CTaskDlg::CreateControls()
{
    m_pSubjectLabel = new QLabel(this);
    m_pSubject = new QLineEdit(this);
    m_pPriorityLabel = new QLabel(this);
    m_pPriorityGroup = new QButtonGroup(this);
    const char* const texts[3] = {"H", "M", "L"};
    const int ids[3] = {IDC_PRIORITY_HIGH, IDC_PRIORITY_NORMAL, IDC_PRIORITY_LOW};
    for (int i = 0; i < 3; ++i) {
        m_pPriority[i] = new QRadioButton(QString::fromLatin1(texts[i]), this);
        m_pPriorityGroup->addButton(m_pPriority[i], i);
        SetDlgCtrlID(m_pPriority[i], ids[i]);
    }
    m_pHasStart = new QCheckBox(this);
    m_pStartDate = CreateDatePicker(IDC_START_DATE);
    m_pHasDue = new QCheckBox(this);
    m_pDueDate = CreateDatePicker(IDC_END_DATE);
    m_pComplete = new QCheckBox(this);
    SetDlgCtrlID(m_pSubjectLabel, IDC_SUBJECT_LABEL);
    SetDlgCtrlID(m_pSubject, IDC_SUBJECT);
    SetDlgCtrlID(m_pPriorityLabel, IDC_PRIORITY_LABEL);
    SetDlgCtrlID(m_pHasStart, IDC_HAS_START);
    SetDlgCtrlID(m_pHasDue, IDC_HAS_DUE);
    SetDlgCtrlID(m_pComplete, IDC_COMPLETE);
    connect(m_pHasStart, &QCheckBox::clicked, this, &CTaskDlg::OnDateCheckClicked);
    connect(m_pHasDue, &QCheckBox::clicked, this, &CTaskDlg::OnDateCheckClicked);
}

QWidget* CTaskDlg::GetSubjectEdit() const
{
    return m_pSubject;
}

void CTaskDlg::Load(std::unique_ptr<ITask> pItem)
{
    m_pItem = std::move(pItem);
    m_bNewItem = FALSE;
    if (!m_pItem)
        return;
    int32_t nImportance = olImportanceNormal;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    DATE dtStart = kNoDate;
    DATE dtDue = kNoDate;
    m_pItem->get_Subject(&m_strSubject);
    m_pItem->get_BodyInk(&m_notes.bytes);
    m_pItem->get_Importance(&nImportance);
    m_pItem->get_Complete(&bComplete);
    m_pItem->get_StartDate(&dtStart);
    m_pItem->get_DueDate(&dtDue);

    // A date that is not set shows today in its (disabled) picker.
    const DateTime now = DateTime::GetCurrentTime();
    DateTime start = now;
    DateTime due = now;
    m_bHasStart = dtStart != kNoDate && DateTimeFromVariant(dtStart, &start) ? TRUE : FALSE;
    m_bHasDue = dtDue != kNoDate && DateTimeFromVariant(dtDue, &due) ? TRUE : FALSE;
    if (m_bHasStart)
        start = AtTimeOfDay(start, 0, 0, 0);
    if (m_bHasDue)
        due = AtTimeOfDay(due, 0, 0, 0);
    if (start > due)
        start = due;
    m_bComplete = bComplete != VARIANT_FALSE ? TRUE : FALSE;
    m_nPriority = PriorityOfImportance(nImportance);
    SetStart(start);
    SetDue(due);
}

void CTaskDlg::SetStart(const DateTime& start)
{
    m_start = start;
    m_pStartDate->setDate(DateOf(start));
}

void CTaskDlg::SetDue(const DateTime& due)
{
    m_due = due;
    m_pDueDate->setDate(DateOf(due));
}

void CTaskDlg::UpdateData(BOOL bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_strSubject = m_pSubject->text();
        m_nPriority = std::max(0, m_pPriorityGroup->checkedId());
        m_bHasStart = m_pHasStart->isChecked() ? TRUE : FALSE;
        m_bHasDue = m_pHasDue->isChecked() ? TRUE : FALSE;
        m_start = WithDate(m_start, m_pStartDate->date());
        m_due = WithDate(m_due, m_pDueDate->date());
        m_bComplete = m_pComplete->isChecked() ? TRUE : FALSE;
        return;
    }
    m_pSubject->setText(m_strSubject);
    m_pSubject->setCursorPosition(0);
    if (m_nPriority >= kPriorityHigh && m_nPriority <= kPriorityLow)
        m_pPriority[m_nPriority]->setChecked(true);
    m_pHasStart->setChecked(m_bHasStart != FALSE);
    m_pHasDue->setChecked(m_bHasDue != FALSE);
    m_pStartDate->setDate(DateOf(m_start));
    m_pDueDate->setDate(DateOf(m_due));
    m_pComplete->setChecked(m_bComplete != FALSE);
}

void CTaskDlg::OnInitDialog()
{
    m_pSubjectLabel->setText(LoadString("RC_TASKDLG_SUBJECT"));
    m_pPriorityLabel->setText(LoadString("RC_TASKDLG_PRIORITY"));
    m_pHasStart->setText(LoadString("RC_TASKDLG_START"));
    m_pHasDue->setText(LoadString("RC_TASKDLG_DUE"));
    m_pComplete->setText(LoadString("RC_TASKDLG_COMPLETE"));
    CreateNotesPreview(kTaskPreviewTop);
    CreateCommandArea({"RC_TASKDLG_SAVE", "RC_TASKDLG_CANCEL", "RC_TASKDLG_NOTE", "RC_TASKDLG_EDITDETAIL"});

    UpdateData(FALSE);
    m_nDayDiff = WholeDaysBetween(m_start, m_due);
    EnableDatePickers();

    // An existing task opens with no text field focused.
    if (m_bNewItem)
        m_pSubject->setFocus(Qt::OtherFocusReason);
    else
        m_pComplete->setFocus(Qt::OtherFocusReason);
}

void CTaskDlg::LayoutFields(int nWidth)
{
    const int nFieldLeft = kMargin + kLabelWidth + kMargin;
    const int nPickerLeft = kMargin + kCheckWidth + kMargin;
    auto rowTop = [](int nRow) { return kFirstRowTop + nRow * kRowPitch; };
    m_pSubjectLabel->setGeometry(kMargin, rowTop(0), kLabelWidth, kRowHeight);
    m_pSubject->setGeometry(nFieldLeft, rowTop(0), std::max(0, nWidth - nFieldLeft - kMargin), kRowHeight);
    m_pPriorityLabel->setGeometry(kMargin, rowTop(1), kLabelWidth, kRowHeight);
    for (int i = 0; i < 3; ++i)
        m_pPriority[i]->setGeometry(nFieldLeft + i * kRadioWidth, rowTop(1), kRadioWidth, kRowHeight);
    m_pHasStart->setGeometry(kMargin, rowTop(2), kCheckWidth, kRowHeight);
    m_pStartDate->setGeometry(nPickerLeft, rowTop(2), std::max(0, nWidth - nPickerLeft - kMargin), kRowHeight);
    m_pHasDue->setGeometry(kMargin, rowTop(3), kCheckWidth, kRowHeight);
    m_pDueDate->setGeometry(nPickerLeft, rowTop(3), std::max(0, nWidth - nPickerLeft - kMargin), kRowHeight);
    m_pComplete->setGeometry(kMargin, rowTop(4), std::max(0, nWidth - 2 * kMargin), kRowHeight);
}

void CTaskDlg::EnableDatePickers()
{
    m_pStartDate->setEnabled(m_bHasStart != FALSE);
    m_pDueDate->setEnabled(m_bHasDue != FALSE);
}

void CTaskDlg::OnDateCheckClicked()
{
    UpdateData(TRUE);
    EnableDatePickers();
}

void CTaskDlg::OnDatePickerClosed(int nId)
{
    if (nId == IDC_START_DATE)
        OnStartDateChanged();
    else if (nId == IDC_END_DATE)
        OnDueDateChanged();
}

void CTaskDlg::OnStartDateChanged()
{
    UpdateData(TRUE);
    // The due date moves with the start date, also while it is switched off.
    m_due = WithDate(m_due, DateOf(m_start).addDays(m_nDayDiff));
    UpdateData(FALSE);
}

void CTaskDlg::OnDueDateChanged()
{
    UpdateData(TRUE);
    if (DateOf(m_due) < DateOf(m_start)) {
        m_start = WithDate(m_start, DateOf(m_due));
        UpdateData(FALSE);
    }
    m_nDayDiff = WholeDaysBetween(m_start, m_due);
}

BOOL CTaskDlg::Save()
{
    UpdateData(TRUE);
    if (m_strSubject.isEmpty())
        m_strSubject = QStringLiteral("No Subject");
    if (!m_pItem)
        return TRUE;
    const bool bWritten = SUCCEEDED(m_pItem->put_Subject(m_strSubject))
                          && SUCCEEDED(m_pItem->put_BodyInk(m_notes.bytes))
                          && (!m_bNewItem || SUCCEEDED(m_pItem->put_ReminderSet(FALSE)))
                          && SUCCEEDED(m_pItem->put_Importance(ImportanceOfPriority(m_nPriority)))
                          && SUCCEEDED(m_pItem->put_StartDate(m_bHasStart ? VariantFromDateTime(m_start) : kNoDate))
                          && SUCCEEDED(m_pItem->put_DueDate(m_bHasDue ? VariantFromDateTime(m_due) : kNoDate))
                          && SUCCEEDED(m_pItem->put_Complete(m_bComplete ? VARIANT_TRUE : VARIANT_FALSE))
                          && SUCCEEDED(m_pItem->Save());
    if (!bWritten)
        MessageBox(LoadString("RC_DETAILFORM_ERROR_SAVE"), LoadString("RC_COMMON_PRODUCT_TITLE"), MB_ICONEXCLAMATION);
    return bWritten ? TRUE : FALSE;
}
