#pragma once
// The editor of a person's own special days: their days in a list (the program folder's
// holidays apart below, to read only), and a form to add, change and delete a day: name,
// solar or Korean lunar date (with the leap month), every year or one year, colour group.
// Each change is checked, written to the person's file at once (nothing is written for a
// day the file could not show: a box says why) and reported through the saved hook, so
// that the week can show it.
#include "calendar/CAnniversaryLines.h"
#include <QDialog>
#include <QSet>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class StringTable;

class CAnniversaryDlg : public QDialog {
    Q_OBJECT
public:
    // strPersonalFile is made from strProgramFile when it does not exist yet; when both
    // name one file every day is the person's.
    CAnniversaryDlg(const StringTable* pStrings, const QString& strPersonalFile, const QString& strProgramFile,
                    QWidget* pParent);
    void SetSavedHook(std::function<void()> fnSaved) { m_fnSaved = std::move(fnSaved); }

    // For tests and the window: the form and the lists.
    QLineEdit* NameEdit() const { return m_pName; }
    QListWidget* DayList() const { return m_pDays; }
    QListWidget* HolidayList() const { return m_pHolidays; }
    void SetForm(const AnniversaryFields& day, int nGroup);
    AnniversaryFields FormDay() const;
    bool OnAdd();
    bool OnChange();
    bool OnDelete();

private:
    QString Text(const char* pszKey) const;
    void BuildForm();
    void FillLists();
    void OnSelected();
    void OnFormChanged();
    // Writes the file; a refused day or a failed write shows its box and changes nothing.
    bool Commit(SpecialDayProblem problem, const CAnniversaryLines& before);
    QString ProblemText(SpecialDayProblem problem) const;
    QString DayText(const AnniversaryFields& day) const;

    const StringTable* m_pStrings;
    QString m_strPath;
    CAnniversaryLines m_file;
    QSet<QString> m_holidayLines;  // entry lines of the program folder's file
    std::vector<int> m_listDays;   // file day index of each row of m_pDays
    std::function<void()> m_fnSaved;
    QListWidget* m_pDays = nullptr;
    QListWidget* m_pHolidays = nullptr;
    QLineEdit* m_pName = nullptr;
    QComboBox* m_pCalendar = nullptr;
    QCheckBox* m_pLeap = nullptr;
    QCheckBox* m_pEveryYear = nullptr;
    QSpinBox* m_pYear = nullptr;
    QSpinBox* m_pMonth = nullptr;
    QSpinBox* m_pDay = nullptr;
    QComboBox* m_pGroup = nullptr;
};
