#pragma once
// The store's detail form of an appointment: subject, location, all-day, start and end,
// reminder, body text and recurrence. Opened on one occurrence of a series it edits that
// occurrence alone (no recurrence section) and Save stores it as an exception.
#include "dialogs/CDetailForm.h"
#include <QDateTime>

class CRecurrenceBox;
class IAppointment;
class QCheckBox;
class QDateEdit;
class QLineEdit;
class QTimeEdit;

class CApptForm : public CDetailForm {
    Q_OBJECT
public:
    // The item stays the caller's; Save writes to it.
    CApptForm(const DetailFormContext& ctx, IAppointment* pAppt);

    QLineEdit* SubjectEdit() const { return m_pSubject; }
    QLineEdit* LocationEdit() const { return m_pLocation; }
    QCheckBox* AllDayCheck() const { return m_pAllDay; }
    QDateEdit* StartDateEdit() const { return m_pStartDate; }
    QTimeEdit* StartTimeEdit() const { return m_pStartTime; }
    QDateEdit* EndDateEdit() const { return m_pEndDate; }
    QTimeEdit* EndTimeEdit() const { return m_pEndTime; }
    // Null on an occurrence.
    CRecurrenceBox* Recurrence() const { return m_pRecurrence; }

protected:
    QString SaveItem() override;

private:
    void Load();
    void OnAllDayToggled(bool bAllDay);
    // A moved start moves the end with it, so the appointment keeps its length.
    void OnStartChanged();
    QDateTime ShownStart() const;
    QWidget* DateTimeRow(QDateEdit** ppDate, QTimeEdit** ppTime);
    // Whether the item holds these times already, and whether the other fields differ
    // from what it holds.
    bool HasTimes(DATE dtStart, DATE dtEnd) const;
    bool HasOtherChanges(const QString& strSubject, bool bAllDay, bool bReminder, int nMinutes) const;

    IAppointment* m_pAppt;
    QLineEdit* m_pSubject = nullptr;
    QLineEdit* m_pLocation = nullptr;
    QCheckBox* m_pAllDay = nullptr;
    QDateEdit* m_pStartDate = nullptr;
    QTimeEdit* m_pStartTime = nullptr;
    QDateEdit* m_pEndDate = nullptr;
    QTimeEdit* m_pEndTime = nullptr;
    CRecurrenceBox* m_pRecurrence = nullptr;
    QDateTime m_start;  // the start as shown before the latest change
};
