#include "dialogs/CTaskForm.h"

#include "dialogs/CRecurrenceBox.h"
#include "dialogs/FormValues.h"
#include "pim/ITask.h"
#include "platform/Clock.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

CTaskForm::CTaskForm(const DetailFormContext& ctx, ITask* pTask)
    : CDetailForm(ctx, "RC_DETAILFORM_TASK_TITLE"), m_pTask(pTask)
{
    m_pSubject = new QLineEdit(Page());
    AddRow("RC_TASKDLG_SUBJECT", m_pSubject);
    AddWideRow(DateRow("RC_TASKDLG_START", &m_pHasStart, &m_pStartDate));
    AddWideRow(DateRow("RC_TASKDLG_DUE", &m_pHasDue, &m_pDueDate));
    m_pImportance = new QComboBox(Page());
    m_pImportance->addItem(Text("RC_DETAILFORM_IMPORTANCE_HIGH"), olImportanceHigh);
    m_pImportance->addItem(Text("RC_DETAILFORM_IMPORTANCE_NORMAL"), olImportanceNormal);
    m_pImportance->addItem(Text("RC_DETAILFORM_IMPORTANCE_LOW"), olImportanceLow);
    AddRow("RC_TASKDLG_PRIORITY", m_pImportance);
    m_pComplete = new QCheckBox(Text("RC_TASKDLG_COMPLETE"), Page());
    AddWideRow(m_pComplete);
    AddReminderRow(false);
    m_pRecurrence = new CRecurrenceBox(*ctx.pStrings, Page());
    AddWideRow(m_pRecurrence);
    AddBodyRow();
    const auto anchorChanged = [this] { m_pRecurrence->SetStartDate(AnchorDate()); };
    connect(m_pStartDate, &QDateEdit::dateChanged, this, anchorChanged);
    connect(m_pDueDate, &QDateEdit::dateChanged, this, anchorChanged);
    connect(m_pHasStart, &QCheckBox::toggled, this, anchorChanged);
    connect(m_pHasDue, &QCheckBox::toggled, this, anchorChanged);
    Load();
}

QWidget* CTaskForm::DateRow(const char* pszKey, QCheckBox** ppCheck, QDateEdit** ppDate)
{
    auto* pRow = new QWidget(Page());
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(3);
    *ppCheck = new QCheckBox(Text(pszKey), pRow);
    *ppDate = NewFormDateEdit(pRow);
    pLayout->addWidget(*ppCheck, 2);
    pLayout->addWidget(*ppDate, 3);
    connect(*ppCheck, &QCheckBox::toggled, *ppDate, &QWidget::setEnabled);
    return pRow;
}

QDate CTaskForm::AnchorDate() const
{
    if (m_pHasStart->isChecked())
        return m_pStartDate->date();
    return m_pHasDue->isChecked() ? m_pDueDate->date() : QDate();
}

void CTaskForm::Load()
{
    QString str;
    m_pTask->get_Subject(&str);
    m_pSubject->setText(str);
    SYSTEMTIME now;
    GetLocalTime(&now);
    const QDate today(now.wYear, now.wMonth, now.wDay);
    DATE dt = kNoDate;
    m_pTask->get_StartDate(&dt);
    const QDate start = DateTimeOfDate(dt).date();
    m_pTask->get_DueDate(&dt);
    const QDate due = DateTimeOfDate(dt).date();
    // A date that is not set shows today in its disabled field.
    m_pHasStart->setChecked(start.isValid());
    m_pStartDate->setDate(start.isValid() ? start : today);
    m_pStartDate->setEnabled(start.isValid());
    m_pHasDue->setChecked(due.isValid());
    m_pDueDate->setDate(due.isValid() ? due : today);
    m_pDueDate->setEnabled(due.isValid());
    int32_t nImportance = olImportanceNormal;
    m_pTask->get_Importance(&nImportance);
    m_pImportance->setCurrentIndex(qMax(0, m_pImportance->findData(nImportance)));
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    m_pTask->get_Complete(&bComplete);
    m_pComplete->setChecked(bComplete != VARIANT_FALSE);
    BOOL bReminder = FALSE;
    m_pTask->get_ReminderSet(&bReminder);
    LoadReminderAndBody(m_pTask, bReminder, 0);
    const QDate anchor = AnchorDate();
    m_pRecurrence->SetStartDate(anchor.isValid() ? anchor : today);
    m_pRecurrence->SetValues(ReadRecurrence(m_pTask, anchor.isValid() ? anchor : today));
}

QString CTaskForm::SaveItem()
{
    const bool bHasStart = m_pHasStart->isChecked();
    const bool bHasDue = m_pHasDue->isChecked();
    if (bHasStart && bHasDue && m_pDueDate->date() < m_pStartDate->date())
        return QStringLiteral("RC_DETAILFORM_ERROR_DUE");
    const RecurrenceValues recurrence = m_pRecurrence->GetValues();
    const QDate anchor = AnchorDate();
    if (recurrence.nType != kRecursNone && !anchor.isValid())
        return QStringLiteral("RC_DETAILFORM_ERROR_TASKDATES");
    const QString strKey = CheckRecurrence(recurrence, anchor);
    if (!strKey.isEmpty())
        return strKey;
    const QString strSubject = m_pSubject->text().trimmed();
    const bool bWritten =
        SUCCEEDED(m_pTask->put_Subject(strSubject.isEmpty() ? QStringLiteral("No Subject") : strSubject))
        && SUCCEEDED(m_pTask->put_StartDate(bHasStart ? DateOfQt(m_pStartDate->date(), QTime(0, 0)) : kNoDate))
        && SUCCEEDED(m_pTask->put_DueDate(bHasDue ? DateOfQt(m_pDueDate->date(), QTime(0, 0)) : kNoDate))
        && SUCCEEDED(m_pTask->put_Importance(m_pImportance->currentData().toInt()))
        && SUCCEEDED(m_pTask->put_Complete(m_pComplete->isChecked() ? VARIANT_TRUE : VARIANT_FALSE))
        && SUCCEEDED(m_pTask->put_ReminderSet(ReminderCheck()->isChecked() ? TRUE : FALSE))
        && (!BodyChanged() || SUCCEEDED(m_pTask->put_Body(BodyEdit()->toPlainText())));
    if (!bWritten)
        return QStringLiteral("RC_DETAILFORM_ERROR_VALUE");
    if (FAILED(WriteRecurrence(recurrence, m_pTask)))
        return QStringLiteral("RC_DETAILFORM_ERROR_SAVE");
    return SUCCEEDED(m_pTask->Save()) ? QString() : QStringLiteral("RC_DETAILFORM_ERROR_SAVE");
}
