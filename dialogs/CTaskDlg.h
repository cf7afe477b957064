#pragma once
// The task editor: subject, priority, optional start and due dates, the completed flag
// and the notes in a read-only preview. It works on one store task, made new at
// construction or handed in with Load, and writes it back on Save. Run like CApptDlg.
#include "calendar/DateTime.h"
#include "dialogs/CEditorDialog.h"
#include <memory>

class ITask;
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

// Priorities of the radio group (the store's importance reversed).
constexpr int kPriorityHigh = 0;
constexpr int kPriorityNormal = 1;
constexpr int kPriorityLow = 2;

class CTaskDlg : public CEditorDialog {
public:
    // Start and due are now, with a due date and no start date; a new task is asked of
    // the store.
    CTaskDlg(IDialogHost* pHost, QWidget* pParent);
    ~CTaskDlg() override;

    void Load(std::unique_ptr<ITask> pItem);
    void SetStart(const DateTime& start);
    void SetDue(const DateTime& due);
    // The name the appointment editor uses for its second date.
    void SetEnd(const DateTime& due) { SetDue(due); }

    ITask* GetItem() const { return m_pItem.get(); }
    std::unique_ptr<ITask> TakeItem() { return std::move(m_pItem); }
    BOOL IsNewItem() const { return m_bNewItem; }

    DateTime GetStart() const { return m_start; }
    DateTime GetDue() const { return m_due; }
    int GetPriority() const { return m_nPriority; }
    BOOL HasStart() const { return m_bHasStart; }
    BOOL HasDue() const { return m_bHasDue; }
    int GetDayDifference() const { return m_nDayDiff; }

protected:
    void OnInitDialog() override;
    BOOL Save() override;
    void LayoutFields(int nWidth) override;
    void OnDatePickerClosed(int nId) override;
    QWidget* GetSubjectEdit() const override;

private:
    void CreateControls();
    void UpdateData(BOOL bSaveAndValidate);
    void EnableDatePickers();
    void OnDateCheckClicked();
    void OnStartDateChanged();
    void OnDueDateChanged();

    std::unique_ptr<ITask> m_pItem;
    QString m_strSubject;
    int m_nPriority = kPriorityNormal;
    BOOL m_bHasStart = FALSE;
    BOOL m_bHasDue = TRUE;
    DateTime m_start;
    DateTime m_due;
    BOOL m_bComplete = FALSE;
    int m_nDayDiff = 0;

    QLabel* m_pSubjectLabel = nullptr;
    QLineEdit* m_pSubject = nullptr;
    QLabel* m_pPriorityLabel = nullptr;
    QRadioButton* m_pPriority[3] = {nullptr, nullptr, nullptr};
    QButtonGroup* m_pPriorityGroup = nullptr;
    QCheckBox* m_pHasStart = nullptr;
    QDateEdit* m_pStartDate = nullptr;
    QCheckBox* m_pHasDue = nullptr;
    QDateEdit* m_pDueDate = nullptr;
    QCheckBox* m_pComplete = nullptr;
};
