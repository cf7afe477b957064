#pragma once
// The store's detail form of a task: subject, start and due date (each optional),
// importance, complete, reminder, body text and recurrence (counted from the start date,
// else the due date).
#include "dialogs/CDetailForm.h"

class CRecurrenceBox;
class ITask;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

class CTaskForm : public CDetailForm {
    Q_OBJECT
public:
    // The item stays the caller's; Save writes to it.
    CTaskForm(const DetailFormContext& ctx, ITask* pTask);

    QLineEdit* SubjectEdit() const { return m_pSubject; }
    QCheckBox* StartCheck() const { return m_pHasStart; }
    QDateEdit* StartDateEdit() const { return m_pStartDate; }
    QCheckBox* DueCheck() const { return m_pHasDue; }
    QDateEdit* DueDateEdit() const { return m_pDueDate; }
    QComboBox* ImportanceCombo() const { return m_pImportance; }
    QCheckBox* CompleteCheck() const { return m_pComplete; }
    CRecurrenceBox* Recurrence() const { return m_pRecurrence; }

protected:
    QString SaveItem() override;

private:
    void Load();
    QWidget* DateRow(const char* pszKey, QCheckBox** ppCheck, QDateEdit** ppDate);
    // The day the pattern counts from: the start date, else the due date (invalid: none).
    QDate AnchorDate() const;

    ITask* m_pTask;
    QLineEdit* m_pSubject = nullptr;
    QCheckBox* m_pHasStart = nullptr;
    QDateEdit* m_pStartDate = nullptr;
    QCheckBox* m_pHasDue = nullptr;
    QDateEdit* m_pDueDate = nullptr;
    QComboBox* m_pImportance = nullptr;
    QCheckBox* m_pComplete = nullptr;
    CRecurrenceBox* m_pRecurrence = nullptr;
};
