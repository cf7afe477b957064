#include "dialogs/CApptForm.h"

#include "dialogs/CRecurrenceBox.h"
#include "dialogs/EditorTimes.h"
#include "dialogs/FormValues.h"
#include "pim/IAppointment.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimeEdit>

CApptForm::CApptForm(const DetailFormContext& ctx, IAppointment* pAppt)
    : CDetailForm(ctx, "RC_DETAILFORM_APPT_TITLE"), m_pAppt(pAppt)
{
    m_pSubject = new QLineEdit(Page());
    AddRow("RC_APPTDLG_SUBJECT", m_pSubject);
    m_pLocation = new QLineEdit(Page());
    AddRow("RC_APPTDLG_LOCATION", m_pLocation);
    m_pAllDay = new QCheckBox(Text("RC_APPTDLG_ALLDAYEVENT"), Page());
    AddRow(nullptr, m_pAllDay);
    AddRow("RC_APPTDLG_START", DateTimeRow(&m_pStartDate, &m_pStartTime));
    AddRow("RC_APPTDLG_END", DateTimeRow(&m_pEndDate, &m_pEndTime));
    AddReminderRow(true);
    if (m_pAppt->IsOccurrence()) {
        auto* pNote = new QLabel(Text("RC_DETAILFORM_OCCURRENCE"), Page());
        pNote->setWordWrap(true);
        AddWideRow(pNote);
    } else {
        m_pRecurrence = new CRecurrenceBox(*ctx.pStrings, Page());
        AddWideRow(m_pRecurrence);
        connect(m_pStartDate, &QDateEdit::dateChanged, m_pRecurrence, &CRecurrenceBox::SetStartDate);
    }
    AddBodyRow();
    connect(m_pAllDay, &QCheckBox::toggled, this, &CApptForm::OnAllDayToggled);
    Load();
    m_start = ShownStart();
    connect(m_pStartDate, &QDateEdit::dateChanged, this, &CApptForm::OnStartChanged);
    connect(m_pStartTime, &QTimeEdit::timeChanged, this, &CApptForm::OnStartChanged);
}

QDateTime CApptForm::ShownStart() const
{
    return QDateTime(m_pStartDate->date(), m_pStartTime->time());
}

void CApptForm::OnStartChanged()
{
    const QDateTime start = ShownStart();
    const QDateTime end = QDateTime(m_pEndDate->date(), m_pEndTime->time()).addSecs(m_start.secsTo(start));
    m_start = start;
    m_pEndDate->setDate(end.date());
    m_pEndTime->setTime(end.time());
}

QWidget* CApptForm::DateTimeRow(QDateEdit** ppDate, QTimeEdit** ppTime)
{
    auto* pRow = new QWidget(Page());
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(3);
    *ppDate = NewFormDateEdit(pRow);
    *ppTime = new QTimeEdit(pRow);
    (*ppTime)->setDisplayFormat(FormTimePattern(Context().bUse24Hour));
    pLayout->addWidget(*ppDate, 3);
    pLayout->addWidget(*ppTime, 2);
    return pRow;
}

void CApptForm::Load()
{
    QString str;
    m_pAppt->get_Subject(&str);
    m_pSubject->setText(str);
    m_pAppt->get_Location(&str);
    m_pLocation->setText(str);
    BOOL b = FALSE;
    m_pAppt->get_AllDayEvent(&b);
    m_pAllDay->setChecked(b != FALSE);
    OnAllDayToggled(b != FALSE);
    DATE dt = 0.0;
    m_pAppt->get_Start(&dt);
    const QDateTime start = DateTimeOfDate(dt);
    m_pStartDate->setDate(start.date());
    m_pStartTime->setTime(start.time());
    m_pAppt->get_End(&dt);
    const QDateTime end = DateTimeOfDate(dt);
    m_pEndDate->setDate(end.date());
    m_pEndTime->setTime(end.time());
    int32_t nMinutes = 0;
    m_pAppt->get_ReminderMinutesBeforeStart(&nMinutes);
    m_pAppt->get_ReminderSet(&b);
    LoadReminderAndBody(m_pAppt, b, nMinutes);
    if (m_pRecurrence != nullptr) {
        m_pRecurrence->SetStartDate(start.date());
        m_pRecurrence->SetValues(ReadRecurrence(m_pAppt, start.date()));
    }
}

void CApptForm::OnAllDayToggled(bool bAllDay)
{
    m_pStartTime->setVisible(!bAllDay);
    m_pEndTime->setVisible(!bAllDay);
}

QString CApptForm::SaveItem()
{
    const bool bAllDay = m_pAllDay->isChecked();
    const QTime midnight(0, 0);
    const QDateTime start(m_pStartDate->date(), bAllDay ? midnight : m_pStartTime->time());
    const QDateTime end(m_pEndDate->date(), bAllDay ? midnight : m_pEndTime->time());
    if (end < start)
        return QStringLiteral("RC_DETAILFORM_ERROR_END");
    int nMinutes = 0;
    const bool bReminder = ReminderCheck()->isChecked();
    if (bReminder && !ReadReminderMinutes(&nMinutes))
        return QStringLiteral("RC_DETAILFORM_ERROR_REMINDER");
    RecurrenceValues recurrence;
    if (m_pRecurrence != nullptr) {
        recurrence = m_pRecurrence->GetValues();
        const QString strKey = CheckRecurrence(recurrence, start.date());
        if (!strKey.isEmpty())
            return strKey;
    }
    const DATE dtStart = DateOfQt(start.date(), start.time());
    const DATE dtEnd = DateOfQt(end.date(), end.time());
    // As in the quick editor, the length is measured when the times are new.
    const bool bTimesChanged = !HasTimes(dtStart, dtEnd);
    if (bTimesChanged && start.secsTo(end) > qint64(kMaxAppointmentDays) * 24 * 60 * 60)
        return QStringLiteral("RC_DETAILFORM_ERROR_TOOLONG");
    const QString strSubject = m_pSubject->text().trimmed();
    const QString strSaved = strSubject.isEmpty() ? QStringLiteral("No Subject") : strSubject;
    // An occurrence saved unchanged would become an exception of the series.
    if (m_pAppt->IsOccurrence() && !bTimesChanged && !HasOtherChanges(strSaved, bAllDay, bReminder, nMinutes))
        return QString();
    const bool bWritten = SUCCEEDED(m_pAppt->put_Subject(strSaved))
                          && SUCCEEDED(m_pAppt->put_Location(m_pLocation->text()))
                          && SUCCEEDED(m_pAppt->put_AllDayEvent(bAllDay ? TRUE : FALSE))
                          && SUCCEEDED(m_pAppt->put_Start(dtStart)) && SUCCEEDED(m_pAppt->put_End(dtEnd))
                          && SUCCEEDED(m_pAppt->put_ReminderSet(bReminder ? TRUE : FALSE))
                          && (!bReminder || SUCCEEDED(m_pAppt->put_ReminderMinutesBeforeStart(nMinutes)))
                          && (!BodyChanged() || SUCCEEDED(m_pAppt->put_Body(BodyEdit()->toPlainText())));
    if (!bWritten)
        return QStringLiteral("RC_DETAILFORM_ERROR_VALUE");
    if (m_pRecurrence != nullptr && FAILED(WriteRecurrence(recurrence, m_pAppt)))
        return QStringLiteral("RC_DETAILFORM_ERROR_SAVE");
    if (!ConfirmDroppedExceptions(m_pAppt))
        return QString::fromLatin1(kCancelledKey);
    return SUCCEEDED(m_pAppt->Save()) ? QString() : QStringLiteral("RC_DETAILFORM_ERROR_SAVE");
}

bool CApptForm::HasTimes(DATE dtStart, DATE dtEnd) const
{
    DATE dtStored = 0;
    return SUCCEEDED(m_pAppt->get_Start(&dtStored)) && SameMinute(dtStored, dtStart)
           && SUCCEEDED(m_pAppt->get_End(&dtStored)) && SameMinute(dtStored, dtEnd);
}

bool CApptForm::HasOtherChanges(const QString& strSubject, bool bAllDay, bool bReminder, int nMinutes) const
{
    QString strStored;
    QString strLocation;
    BOOL bStoredAllDay = FALSE;
    BOOL bStoredReminder = FALSE;
    int32_t nStoredMinutes = 0;
    m_pAppt->get_Subject(&strStored);
    m_pAppt->get_Location(&strLocation);
    m_pAppt->get_AllDayEvent(&bStoredAllDay);
    m_pAppt->get_ReminderSet(&bStoredReminder);
    m_pAppt->get_ReminderMinutesBeforeStart(&nStoredMinutes);
    return strStored != strSubject || strLocation != m_pLocation->text() || (bStoredAllDay != FALSE) != bAllDay
           || (bStoredReminder != FALSE) != bReminder || (bReminder && nStoredMinutes != nMinutes) || BodyChanged();
}
