#pragma once
// The appointment editor: subject, location, all-day flag, start and end date and time,
// and the notes in a read-only preview. It works on one store appointment, made new at
// construction or handed in with Load, and writes it back on Save.
//
//     CApptDlg dlg(pHost, pMainWindow);
//     dlg.SetStart(start);                 // a new appointment: both set by the caller
//     dlg.SetEnd(end);
//     int nResult = dlg.DoModal();         // 1 saved, 2 cancelled, 4 saved + detail form
//     if (nResult == 4) dlg.GetItem()->Display();
#include "calendar/DateTime.h"
#include "dialogs/CEditorDialog.h"
#include <memory>

class IAppointment;
struct TimeOfDay;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

class CApptDlg : public CEditorDialog {
public:
    // Start and end are now; a new appointment is asked of the store.
    CApptDlg(IDialogHost* pHost, QWidget* pParent);
    ~CApptDlg() override;

    // Edits an existing appointment (or one occurrence of a series) instead of the new one.
    void Load(std::unique_ptr<IAppointment> pItem);
    void SetStart(const DateTime& start);
    void SetEnd(const DateTime& end);

    // The appointment being edited (null when the store could not make one).
    IAppointment* GetItem() const { return m_pItem.get(); }
    std::unique_ptr<IAppointment> TakeItem() { return std::move(m_pItem); }
    BOOL IsNewItem() const { return m_bNewItem; }

    // The values the editor holds (after its controls were last read).
    DateTime GetStart() const { return m_start; }
    DateTime GetEnd() const { return m_end; }
    int GetDayDifference() const { return m_nDayDiff; }
    DateTimeSpan GetDuration() const { return m_duration; }

protected:
    void OnInitDialog() override;
    BOOL Save() override;
    void LayoutFields(int nWidth) override;
    void OnDatePickerClosed(int nId) override;
    QWidget* GetSubjectEdit() const override;

private:
    void CreateControls();
    // Exchanges the values with the controls: TRUE reads them, FALSE writes them.
    void UpdateData(BOOL bSaveAndValidate);
    void FillStartTimes();
    void FillEndTimes();
    // Refills the end list after a date change, keeping the end time text.
    void RefillEndTimes();
    void RecomputeSpan();
    // Sets a time field's text, selecting the entry with that text when there is one.
    static void SetTimeText(QComboBox* pCombo, const QString& strText);
    void FinishTimeFieldEdit();
    // Whether the item holds these times already, and whether a field other than the
    // times differs from what it holds.
    bool HasTimes(DATE dtStart, DATE dtEnd) const;
    bool HasOtherChanges() const;
    void ShowTimeFields();
    TimeOfDay StartTimeOfText() const;
    TimeOfDay EndTimeOfText() const;

    void OnAllDayClicked();
    void OnStartDateChanged();
    void OnEndDateChanged();
    void OnStartTimeChanged();
    void OnEndTimeChanged();

    std::unique_ptr<IAppointment> m_pItem;
    QString m_strSubject;
    QString m_strLocation;
    BOOL m_bAllDay = FALSE;
    DateTime m_start;
    DateTime m_end;
    QString m_strStartTime;
    QString m_strEndTime;
    int m_nDayDiff = 0;
    DateTimeSpan m_duration;

    QLabel* m_pSubjectLabel = nullptr;
    QLineEdit* m_pSubject = nullptr;
    QLabel* m_pLocationLabel = nullptr;
    QLineEdit* m_pLocation = nullptr;
    QCheckBox* m_pAllDay = nullptr;
    QLabel* m_pStartLabel = nullptr;
    QDateEdit* m_pStartDate = nullptr;
    QComboBox* m_pStartTime = nullptr;
    QLabel* m_pEndLabel = nullptr;
    QDateEdit* m_pEndDate = nullptr;
    QComboBox* m_pEndTime = nullptr;
};
