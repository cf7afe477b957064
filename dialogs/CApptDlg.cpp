#include "dialogs/CApptDlg.h"
#include "week/AgendaSettings.h"
#include "dialogs/EditorIds.h"
#include "dialogs/EditorTimes.h"
#include "dialogs/IDialogHost.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>

namespace {

// Where the notes preview starts.
constexpr int kApptPreviewTop = 138;
// Field rows: the first row's top, the distance between rows, a row's height.
constexpr int kFirstRowTop = 4;
constexpr int kRowPitch = 24;
constexpr int kRowHeight = 20;
constexpr int kMargin = 2;
constexpr int kLabelWidth = 38;  // at least
// The date picker's share of the width beside the label (the time list has the rest).
constexpr int kDatePickerPercent = 52;

}  // namespace

CApptDlg::CApptDlg(IDialogHost* pHost, QWidget* pParent)
    : CEditorDialog(pHost, pParent, QStringLiteral("Appointment"))
    , m_start(DateTime::GetCurrentTime())
    , m_end(m_start)
{
    CreateControls();
    if (IPOutlookApp* pApp = pHost->GetOutlookApp())
        pApp->CreateItem(olAppointmentItem, &m_pItem);
    SetStart(m_start);
    SetEnd(m_end);
}

CApptDlg::~CApptDlg() = default;

void CApptDlg::CreateControls()
{
    m_pSubjectLabel = new QLabel(this);
    m_pSubject = new QLineEdit(this);
    m_pLocationLabel = new QLabel(this);
    m_pLocation = new QLineEdit(this);
    m_pAllDay = new QCheckBox(this);
    m_pStartLabel = new QLabel(this);
    m_pStartDate = CreateDatePicker(IDC_START_DATE);
    m_pStartTime = new QComboBox(this);
    m_pEndLabel = new QLabel(this);
    m_pEndDate = CreateDatePicker(IDC_END_DATE);
    m_pEndTime = new QComboBox(this);
    SetDlgCtrlID(m_pSubjectLabel, IDC_SUBJECT_LABEL);
    SetDlgCtrlID(m_pSubject, IDC_SUBJECT);
    SetDlgCtrlID(m_pLocationLabel, IDC_LOCATION_LABEL);
    SetDlgCtrlID(m_pLocation, IDC_LOCATION);
    SetDlgCtrlID(m_pAllDay, IDC_ALLDAY);
    SetDlgCtrlID(m_pStartLabel, IDC_START_LABEL);
    SetDlgCtrlID(m_pStartTime, IDC_START_TIME);
    SetDlgCtrlID(m_pEndLabel, IDC_END_LABEL);
    SetDlgCtrlID(m_pEndTime, IDC_END_TIME);
    for (QComboBox* pCombo : {m_pStartTime, m_pEndTime}) {
        pCombo->setEditable(true);
        pCombo->setInsertPolicy(QComboBox::NoInsert);
        pCombo->setMaxVisibleItems(10);
    }
    connect(m_pAllDay, &QCheckBox::clicked, this, &CApptDlg::OnAllDayClicked);
    // A picked entry, and leaving a time field (what was typed there is read then). The
    // handlers refill the lists, so they run once the list's own event is over.
    connect(m_pStartTime, &QComboBox::activated, this, &CApptDlg::OnStartTimeChanged, Qt::QueuedConnection);
    connect(m_pStartTime->lineEdit(), &QLineEdit::editingFinished, this, &CApptDlg::OnStartTimeChanged,
            Qt::QueuedConnection);
    connect(m_pEndTime->lineEdit(), &QLineEdit::editingFinished, this, &CApptDlg::OnEndTimeChanged,
            Qt::QueuedConnection);
}

QWidget* CApptDlg::GetSubjectEdit() const
{
    return m_pSubject;
}

void CApptDlg::Load(std::unique_ptr<IAppointment> pItem)
{
    m_pItem = std::move(pItem);
    m_bNewItem = FALSE;
    if (!m_pItem)
        return;
    BOOL bAllDay = FALSE;
    DATE dtStart = 0;
    DATE dtEnd = 0;
    m_pItem->get_Subject(&m_strSubject);
    m_pItem->get_Location(&m_strLocation);
    m_pItem->get_BodyInk(&m_notes.bytes);
    m_pItem->get_AllDayEvent(&bAllDay);
    m_pItem->get_Start(&dtStart);
    m_pItem->get_End(&dtEnd);
    m_bAllDay = bAllDay ? TRUE : FALSE;
    DateTime start = m_start;
    DateTime end = m_end;
    DateTimeFromVariant(dtStart, &start);
    DateTimeFromVariant(dtEnd, &end);
    SetStart(start);
    SetEnd(end);
}

void CApptDlg::SetStart(const DateTime& start)
{
    m_start = start;
    m_pStartDate->setDate(DateOf(start));
}

void CApptDlg::SetEnd(const DateTime& end)
{
    m_end = end;
    m_pEndDate->setDate(DateOf(end));
}

void CApptDlg::UpdateData(BOOL bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_strSubject = m_pSubject->text();
        m_strLocation = m_pLocation->text();
        m_bAllDay = m_pAllDay->isChecked() ? TRUE : FALSE;
        m_start = WithDate(m_start, m_pStartDate->date());
        m_end = WithDate(m_end, m_pEndDate->date());
        m_strStartTime = m_pStartTime->currentText();
        m_strEndTime = m_pEndTime->currentText();
        return;
    }
    m_pSubject->setText(m_strSubject);
    m_pSubject->setCursorPosition(0);
    m_pLocation->setText(m_strLocation);
    m_pLocation->setCursorPosition(0);
    m_pAllDay->setChecked(m_bAllDay != FALSE);
    m_pStartDate->setDate(DateOf(m_start));
    m_pEndDate->setDate(DateOf(m_end));
    SetTimeText(m_pStartTime, m_strStartTime);
    SetTimeText(m_pEndTime, m_strEndTime);
}

void CApptDlg::OnInitDialog()
{
    m_pSubjectLabel->setText(LoadString("RC_APPTDLG_SUBJECT"));
    m_pLocationLabel->setText(LoadString("RC_APPTDLG_LOCATION"));
    m_pAllDay->setText(LoadString("RC_APPTDLG_ALLDAYEVENT"));
    m_pStartLabel->setText(LoadString("RC_APPTDLG_START"));
    m_pEndLabel->setText(LoadString("RC_APPTDLG_END"));
    CreateNotesPreview(kApptPreviewTop);
    CreateCommandArea({"RC_APPTDLG_SAVE", "RC_APPTDLG_CANCEL", "RC_APPTDLG_NOTE", "RC_APPTDLG_EDITDETAIL"});

    const bool bUse24Hour = Settings().Use24Hour;
    UpdateData(FALSE);
    FillStartTimes();
    m_strStartTime = FormatTimeText(m_start.GetHour(), m_start.GetMinute(), bUse24Hour);
    SetTimeText(m_pStartTime, m_strStartTime);
    FillEndTimes();
    m_strEndTime = FormatTimeText(m_end.GetHour(), m_end.GetMinute(), bUse24Hour);
    SetTimeText(m_pEndTime, m_strEndTime);
    RecomputeSpan();
    ShowTimeFields();

    // An existing appointment opens with no text field focused.
    if (m_bNewItem)
        m_pSubject->setFocus(Qt::OtherFocusReason);
    else
        m_pAllDay->setFocus(Qt::OtherFocusReason);
}

void CApptDlg::LayoutFields(int nWidth)
{
    const int nLabelWidth = LabelColumnWidth(
        kLabelWidth, {m_pSubjectLabel, m_pLocationLabel, m_pStartLabel, m_pEndLabel});
    const int nFieldLeft = kMargin + nLabelWidth + kMargin;
    const int nFieldWidth = std::max(0, nWidth - nFieldLeft - kMargin);
    const int nPickerWidth = nFieldWidth * kDatePickerPercent / 100;
    const int nTimeLeft = nFieldLeft + nPickerWidth + kMargin;
    const int nTimeWidth = std::max(0, nWidth - nTimeLeft - kMargin);
    auto rowTop = [](int nRow) { return kFirstRowTop + nRow * kRowPitch; };
    m_pSubjectLabel->setGeometry(kMargin, rowTop(0), nLabelWidth, kRowHeight);
    m_pSubject->setGeometry(nFieldLeft, rowTop(0), nFieldWidth, kRowHeight);
    m_pLocationLabel->setGeometry(kMargin, rowTop(1), nLabelWidth, kRowHeight);
    m_pLocation->setGeometry(nFieldLeft, rowTop(1), nFieldWidth, kRowHeight);
    m_pAllDay->setGeometry(nFieldLeft, rowTop(2), nFieldWidth, kRowHeight);
    m_pStartLabel->setGeometry(kMargin, rowTop(3), nLabelWidth, kRowHeight);
    m_pStartDate->setGeometry(nFieldLeft, rowTop(3), nPickerWidth, kRowHeight);
    m_pStartTime->setGeometry(nTimeLeft, rowTop(3), nTimeWidth, kRowHeight);
    m_pEndLabel->setGeometry(kMargin, rowTop(4), nLabelWidth, kRowHeight);
    m_pEndDate->setGeometry(nFieldLeft, rowTop(4), nPickerWidth, kRowHeight);
    m_pEndTime->setGeometry(nTimeLeft, rowTop(4), nTimeWidth, kRowHeight);
}

TimeOfDay CApptDlg::StartTimeOfText() const
{
    return ParseTimeText(m_strStartTime, Settings().Use24Hour);
}

TimeOfDay CApptDlg::EndTimeOfText() const
{
    return ParseTimeText(m_strEndTime, Settings().Use24Hour);
}

void CApptDlg::FillStartTimes()
{
    m_pStartTime->clear();
    m_pStartTime->addItems(MakeStartTimes(Settings().Use24Hour));
}

void CApptDlg::FillEndTimes()
{
    m_pEndTime->clear();
    m_pEndTime->addItems(MakeEndTimes(IsSameDay(m_start, m_end), StartTimeOfText(), Settings().Use24Hour));
}

void CApptDlg::RefillEndTimes()
{
    const QString strEndTime = m_pEndTime->currentText();
    FillEndTimes();
    m_strEndTime = strEndTime.isEmpty() ? FormatTimeText(12, 0, Settings().Use24Hour) : strEndTime;
    SetTimeText(m_pEndTime, m_strEndTime);
}

void CApptDlg::SetTimeText(QComboBox* pCombo, const QString& strText)
{
    pCombo->setCurrentIndex(pCombo->findText(strText));
    pCombo->setEditText(strText);
}

void CApptDlg::FinishTimeFieldEdit()
{
    // Enter in a time field saves at once, before the field is left: read it as leaving
    // it would.
    const QWidget* pFocus = QApplication::focusWidget();
    if (pFocus == m_pStartTime || pFocus == m_pStartTime->lineEdit())
        OnStartTimeChanged();
    else if (pFocus == m_pEndTime || pFocus == m_pEndTime->lineEdit())
        OnEndTimeChanged();
}

void CApptDlg::RecomputeSpan()
{
    m_nDayDiff = WholeDaysBetween(m_start, m_end);
    m_duration = AtTimeOfDay(m_end, EndTimeOfText()) - AtTimeOfDay(m_start, StartTimeOfText());
}

void CApptDlg::ShowTimeFields()
{
    m_pStartTime->setVisible(!m_bAllDay);
    m_pEndTime->setVisible(!m_bAllDay);
}

void CApptDlg::OnAllDayClicked()
{
    UpdateData(TRUE);
    ShowTimeFields();
}

void CApptDlg::OnDatePickerClosed(int nId)
{
    if (nId == IDC_START_DATE)
        OnStartDateChanged();
    else if (nId == IDC_END_DATE)
        OnEndDateChanged();
}

void CApptDlg::OnStartDateChanged()
{
    UpdateData(TRUE);
    m_end = WithDate(m_end, DateOf(m_start).addDays(m_nDayDiff));
    UpdateData(FALSE);
    RefillEndTimes();
    RecomputeSpan();
}

void CApptDlg::OnEndDateChanged()
{
    UpdateData(TRUE);
    if (DateOf(m_end) < DateOf(m_start))
        m_start = WithDate(m_start, DateOf(m_end));
    UpdateData(FALSE);
    RefillEndTimes();
    RecomputeSpan();
}

void CApptDlg::OnStartTimeChanged()
{
    UpdateData(TRUE);
    const bool bUse24Hour = Settings().Use24Hour;
    const TimeOfDay time = StartTimeOfText();
    m_start = AtTimeOfDay(m_start, time);
    m_strStartTime = FormatTimeText(time.nHour, time.nMinute, bUse24Hour);
    UpdateData(FALSE);
    // The appointment keeps its length.
    SetEnd(m_start + m_duration);
    FillEndTimes();
    m_strEndTime = FormatTimeText(m_end.GetHour(), m_end.GetMinute(), bUse24Hour);
    SetTimeText(m_pEndTime, m_strEndTime);
    RecomputeSpan();
}

void CApptDlg::OnEndTimeChanged()
{
    UpdateData(TRUE);
    const TimeOfDay time = EndTimeOfText();
    m_strEndTime = FormatTimeText(time.nHour, time.nMinute, Settings().Use24Hour);
    SetTimeText(m_pEndTime, m_strEndTime);
    RecomputeSpan();
}

BOOL CApptDlg::Save()
{
    FinishTimeFieldEdit();
    UpdateData(TRUE);
    DateTime start = AtTimeOfDay(m_start, 0, 0, 0);
    DateTime end = AtTimeOfDay(m_end, 0, 0, 0);
    if (!m_bAllDay) {
        start = AtTimeOfDay(m_start, StartTimeOfText());
        end = AtTimeOfDay(m_end, EndTimeOfText());
    }
    if (end < start) {
        MessageBox(LoadString("RC_DETAILFORM_ERROR_END"), LoadString("RC_COMMON_PRODUCT_TITLE"), MB_ICONEXCLAMATION);
        return FALSE;
    }
    const DATE dtStart = VariantFromDateTime(start);
    const DATE dtEnd = VariantFromDateTime(end);
    // The length is measured when the times are new: an item made longer elsewhere keeps
    // its length while other fields change here.
    const bool bTimesChanged = m_bNewItem || !m_pItem || !HasTimes(dtStart, dtEnd);
    if (bTimesChanged && end - start > DateTimeSpan(kMaxAppointmentDays, 0, 0, 0)) {
        MessageBox(QStringLiteral("Too Long"), LoadString("RC_COMMON_PRODUCT_TITLE"), MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (m_strSubject.isEmpty())
        m_strSubject = QStringLiteral("No Subject");
    if (!m_pItem)
        return TRUE;
    // Nothing changed: nothing is written (an occurrence would become an exception).
    if (!bTimesChanged && !HasOtherChanges())
        return TRUE;
    const bool bWritten = SUCCEEDED(m_pItem->put_Subject(m_strSubject))
                          && SUCCEEDED(m_pItem->put_Location(m_strLocation))
                          && SUCCEEDED(m_pItem->put_AllDayEvent(m_bAllDay))
                          && SUCCEEDED(m_pItem->put_BodyInk(m_notes.bytes))
                          && (!m_bNewItem || SUCCEEDED(m_pItem->put_ReminderSet(FALSE)))
                          && SUCCEEDED(m_pItem->put_Start(dtStart)) && SUCCEEDED(m_pItem->put_End(dtEnd))
                          && SUCCEEDED(m_pItem->Save());
    if (!bWritten)
        MessageBox(LoadString("RC_DETAILFORM_ERROR_SAVE"), LoadString("RC_COMMON_PRODUCT_TITLE"), MB_ICONEXCLAMATION);
    return bWritten ? TRUE : FALSE;
}

bool CApptDlg::HasTimes(DATE dtStart, DATE dtEnd) const
{
    DATE dtStored = 0;
    return SUCCEEDED(m_pItem->get_Start(&dtStored)) && SameMinute(dtStored, dtStart)
           && SUCCEEDED(m_pItem->get_End(&dtStored)) && SameMinute(dtStored, dtEnd);
}

bool CApptDlg::HasOtherChanges() const
{
    QString strSubject;
    QString strLocation;
    BOOL bAllDay = FALSE;
    QByteArray notes;
    m_pItem->get_Subject(&strSubject);
    m_pItem->get_Location(&strLocation);
    m_pItem->get_AllDayEvent(&bAllDay);
    m_pItem->get_BodyInk(&notes);
    return strSubject != m_strSubject || strLocation != m_strLocation || (bAllDay != FALSE) != (m_bAllDay != FALSE)
           || notes != m_notes.bytes;
}
