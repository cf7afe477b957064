#pragma once
// The editors' test bed: a store of their own in a temporary folder, the program's own
// strings, settings to taste, a fixed zone, clock and short-date pattern, and a 240 x 320
// main window for the dialogs to open over.
#include "week/AgendaSettings.h"
#include "calendar/CScopedTestTime.h"
#include "dialogs/IDialogHost.h"
#include "pim/IPOutlookApp.h"
#include "resources/StringTable.h"
#include "tests/support/TestDates.h"
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <memory>

class QComboBox;
class QDateEdit;
class QWidget;

class CDialogFixture : public IDialogHost {
public:
    CDialogFixture();
    ~CDialogFixture() override;

    const AgendaSettings& GetSettings() const override { return m_settings; }
    const StringTable& GetStrings() const override { return m_strings; }
    IPOutlookApp* GetOutlookApp() const override { return m_pApp.get(); }

    AgendaSettings& Settings() { return m_settings; }
    QWidget* MainWindow() { return &m_mainWindow; }
    void SetNow(int y, int m, int d, int h = 12, int n = 0) { m_time.SetNow(y, m, d, h, n); }

    // Items made and read through the store's own object model.
    int32_t AddAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, bool bAllDay = false,
                    const QByteArray& notes = QByteArray(), bool bReminder = false);
    int32_t AddTask(const QString& strSubject, DATE dtStart, DATE dtDue, int nImportance = olImportanceNormal,
                    bool bComplete = false, const QByteArray& notes = QByteArray(), bool bReminder = false);
    std::unique_ptr<IAppointment> GetAppt(int32_t nOid);
    std::unique_ptr<ITask> GetTask(int32_t nOid);
    // Number of appointments / tasks in the store.
    int CountAppts();
    int CountTasks();
    // The file's bytes, to show that nothing was written.
    QByteArray StoreDigest();

private:
    CScopedTestTime m_time;
    QTemporaryDir m_dir;
    AgendaSettings m_settings;
    StringTable m_strings;
    std::unique_ptr<IPOutlookApp> m_pApp;
    QWidget m_mainWindow;
};

// What the store holds of an item, as the editors show it.
struct ItemValues {
    QString strSubject;
    QString strStart;
    QString strEnd;  // an appointment's end, a task's due date
    BOOL bReminder = FALSE;
    QByteArray notes;
    QString strLocation;  // appointments only
    BOOL bAllDay = FALSE;
    int32_t nImportance = -1;  // tasks only
    VARIANT_BOOL bComplete = VARIANT_FALSE;
};
ItemValues Read(IAppointment* pAppt);
ItemValues Read(ITask* pTask);

// Notes bytes of handwriting (a few words drawn as strokes) under a typed line.
QByteArray HandwrittenNotes();
// While the notes editor that the next command opens is up, runs pfnAct on it, then
// leaves it with its own command nCommand (its Save or Cancel).
class CNotesDlg;
void WhenNotesEditorOpens(std::function<void(CNotesDlg*)> fnAct, int nCommand);


// What a person does.
void TypeInto(QWidget* pEdit, const QString& strText);
// Opens the list and taps the entry with this text; false when there is none.
bool PickListEntry(QComboBox* pCombo, const QString& strText);
// Types a date (yyyy-MM-dd, the fixture's pattern) into a picker and leaves it with Tab.
void TypeDate(QDateEdit* pPicker, const QDate& date);
// Moves the focus on with Tab, as a person leaves a field.
void LeaveField(QWidget* pField);
// Opens the picker's calendar, moves by nDays with the arrow keys and takes the day with
// Enter.
void PickDateInCalendar(QDateEdit* pPicker, int nDays);
// Taps a widget at its centre.
void Tap(QWidget* pWidget);
// Shows an editor over the main window and waits until it is the active window.
class CEditorDialog;
void Open(CEditorDialog& dlg);
// Taps the button of this command on the editor's tool bar.
void TapToolButton(CEditorDialog& dlg, int nCommand);
// Taps the menu key of the soft-key bar and then the item with this text; false when the
// menu has none.
class CDialogSoftKeyBar;
bool ChooseSoftKeyMenuItem(CDialogSoftKeyBar* pBar, const QString& strText);
// What is wrong with an editor's layout on the 240 x 320 screen, empty when nothing: the
// bar at the bottom, the notes preview from nPreviewTop down to the bar showing the
// handwriting, and the fields with these ids on the screen above the preview.
QString EditorLayoutFault(CEditorDialog& dlg, bool bSoftKey, int nPreviewTop, std::initializer_list<int> fieldIds);
// The editor's control with this id, as its class; null when it is another.
template <typename T>
T* Control(const CEditorDialog& dlg, int nId);
// The item's OID; 0 for none.
int32_t OidOf(IPOutlookItem* pItem);
// Taps the box of a check box or radio button.
void TapBox(QWidget* pCheckBox);
// Saves a grab of the widget as PNG under QUILLDAY_TEST_OUTPUT.
bool SaveGrab(QWidget* pWidget, const QString& strName);

#include "dialogs/CEditorDialog.h"

template <typename T>
T* Control(const CEditorDialog& dlg, int nId)
{
    return qobject_cast<T*>(dlg.GetDlgItem(nId));
}
