#pragma once
// What the main view does to the entry selected in the week: open it in its editor,
// create an appointment or a task, tick a task off or on again, delete, and take the
// last of these back. Each action talks to the store and the editors and asks its
// questions with message boxes; none reloads the week, which follows the store's change
// notification.
#include "calendar/DateTime.h"
#include "pim/CUndoStep.h"
#include "platform/WinTypes.h"
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class IPOutlookItem;
class CMainFrame;
class IAppointment;
class ITask;
class QWidget;

// The item of the selected row, from the row's label cell.
struct SelectedItem {
    int32_t nOid = -1;   // -1: the row stands for no item
    int32_t nKind = -1;  // 0 special day, 1 appointment, 2 task
    DATE dtItem = 0.0;   // start of the occurrence the row shows
};

constexpr int32_t kEntryKindAppointment = 1;
constexpr int32_t kEntryKindTask = 2;

// The fixed texts of the question before a recurring appointment is opened.
extern const char* const kOpenRecurringText;
extern const char* const kOpenRecurringCaption;

class CItemActions {
public:
    // pParent: the main window, which the editors cover.
    CItemActions(CMainFrame* pFrame, QWidget* pParent);

    // A row without an item makes a new appointment instead.
    void Open(const SelectedItem& item);
    // Tasks only.
    void ToggleComplete(const SelectedItem& item);
    void Delete(const SelectedItem& item);
    // A new appointment on the current date at the next half hour (NewAppointmentTime.h).
    void NewAppointment();
    // A new task starting and due on the current date.
    void NewTask();

    // Takes back the newest action that changed the store and is not yet taken back;
    // a message box says why when it cannot.
    void Undo();
    bool CanUndo() const { return !m_undo.empty(); }
    // What the newest action did, for the status line ("Completed: milk"); empty when
    // there is nothing to take back.
    QString LastActionText() const;
    // Counts the actions that changed the store, so a caller can tell whether one did.
    int ActionCount() const { return m_nActions; }
    // Called after each action or undo that changed the store.
    void SetOnChange(std::function<void()> fnChanged) { m_fnChanged = std::move(fnChanged); }

private:
    struct UndoEntry {
        CUndoStep step;
        QString strText;
    };
    static constexpr size_t kMaxUndo = 20;

    // Runs an action on the item nOid (-1: one that makes a new item) and keeps it for
    // Undo when it changed the store, described by the text of pszKey with the subject of
    // the item that fnAction returns (null: no item, nothing was done).
    void Act(int32_t nOid, const char* pszKey, const std::function<const IPOutlookItem*()>& fnAction);
    void OpenAppointment(const SelectedItem& item);
    void OpenTask(const SelectedItem& item);
    void DeleteAppointment(const SelectedItem& item);
    void DeleteTask(const SelectedItem& item);
    // nOid: the item's (its series' for an occurrence), -1 for a new item.
    void EditAppointment(std::unique_ptr<IAppointment> pAppt, int32_t nOid);
    void EditTask(std::unique_ptr<ITask> pTask, int32_t nOid);
    // The occurrence of the series that starts at the row's date (to the minute).
    std::unique_ptr<IAppointment> GetOccurrence(IAppointment* pSeries, DATE dtItem) const;
    int Ask(const char* pszKey, unsigned nType) const;
    // The question before deleting an item that does not repeat, naming it: its subject,
    // and the day (and time) of the row.
    int AskDeleteSingle(const IPOutlookItem* pItem, const SelectedItem& item) const;
    QString Text(const char* pszKey) const;

    CMainFrame* m_pFrame;
    QWidget* m_pParent;
    std::vector<UndoEntry> m_undo;  // oldest first
    int m_nActions = 0;
    std::function<void()> m_fnChanged;
};
