#pragma once
// The recurrence section of the store's detail forms: the kind (none or one of the six
// the store keeps), its interval, weekdays, day, week of the month and month, and how
// it ends. Shows only the fields the chosen kind uses.
#include "dialogs/RecurrenceValues.h"
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QSpinBox;
class QToolButton;
class StringTable;

class CRecurrenceBox : public QWidget {
    Q_OBJECT
public:
    CRecurrenceBox(const StringTable& strings, QWidget* pParent);

    void SetValues(const RecurrenceValues& values);
    RecurrenceValues GetValues() const;
    // The start day of the item: a kind chosen anew takes its weekday, day and month.
    void SetStartDate(const QDate& date) { m_start = date; }

    // The controls, for the forms' tests.
    QComboBox* TypeCombo() const { return m_pType; }
    QSpinBox* IntervalSpin() const { return m_pInterval; }
    QToolButton* WeekdayButton(int nBit) const;  // an ol<Day> bit
    QSpinBox* DayOfMonthSpin() const { return m_pDayOfMonth; }
    QComboBox* InstanceCombo() const { return m_pInstance; }
    QComboBox* WeekdayCombo() const { return m_pWeekday; }
    QComboBox* MonthCombo() const { return m_pMonth; }
    QComboBox* EndCombo() const { return m_pEnd; }
    QSpinBox* CountSpin() const { return m_pCount; }
    QDateEdit* EndDateEdit() const { return m_pEndDate; }
    QLabel* ShortMonthNote() const { return m_pShortMonth; }

private:
    void OnTypeChanged();
    void UpdateVisibility();
    QString Text(const char* pszKey) const;

    const StringTable& m_strings;
    QDate m_start;
    int m_nShownType = kRecursNone;
    // A loaded Nth pattern on several weekdays, which the single-day list cannot show: kept
    // as it was while the list stays at the day shown for it.
    int m_nLoadedNthMask = 0;
    int m_nLoadedNthIndex = -1;
    QComboBox* m_pType = nullptr;
    QWidget* m_pDetails = nullptr;
    QWidget* m_pIntervalRow = nullptr;
    QSpinBox* m_pInterval = nullptr;
    QLabel* m_pUnit = nullptr;
    QWidget* m_pWeekdayRow = nullptr;
    QToolButton* m_pDays[7] = {};  // Monday first
    QWidget* m_pDayRow = nullptr;
    QSpinBox* m_pDayOfMonth = nullptr;
    QWidget* m_pNthRow = nullptr;
    QComboBox* m_pInstance = nullptr;
    QComboBox* m_pWeekday = nullptr;
    QWidget* m_pMonthRow = nullptr;
    QComboBox* m_pMonth = nullptr;
    QLabel* m_pShortMonth = nullptr;
    QComboBox* m_pEnd = nullptr;
    QSpinBox* m_pCount = nullptr;
    QLabel* m_pTimes = nullptr;
    QDateEdit* m_pEndDate = nullptr;
};
