#pragma once
// The main window. It owns every data source of the running program (the settings, the
// PIM store with its record reads and change notifications, the special days, the
// strings, the current date) and its client area is the main view.
#include "week/AgendaSettings.h"
#include "calendar/DateTime.h"
#include "calendar/AnniversaryList.h"
#include "dialogs/IDialogHost.h"
#include "pim/CPimDatabases.h"
#include "resources/StringTable.h"
#include "week/IWeekHost.h"
#include <QWidget>
#include <memory>

class CMainView;
class IPOutlookApp;

constexpr int AFX_IDW_PANE_FIRST = 59648;  // control id of the main view
// The frame's first size, the handheld's screen.
constexpr int kHandheldWidth = 240;
constexpr int kHandheldHeight = 320;

// The four start-up failures; each ends the program.
extern const char* const kPoomFailureText;
extern const char* const kSpecialDaysFailureText;
extern const char* const kPimDatabaseFailureText;
extern const char* const kStringsFailureText;
extern const char* const kAppTitle;  // caption of the start-up boxes

class CMainFrame : public QWidget, public IWeekHost, public IDialogHost {
    Q_OBJECT
public:
    // Reads the settings and sets the current date to today.
    CMainFrame();
    ~CMainFrame() override;

    // Opens the data sources in order and creates the view. The first failure shows its
    // box and gives FALSE; the frame is then unusable.
    BOOL Create();

    // IWeekHost and IDialogHost
    const AgendaSettings& GetSettings() const override { return m_settings; }
    const SpecialDayList& GetSpecialDays() const override { return m_specialDays; }
    IPOutlookApp* GetOutlookApp() const override { return m_pOutlookApp.get(); }
    // "Read only: REASON" while the store can only be read, else empty (the status line).
    QString GetReadOnlyNotice() const;
    const CPimDatabases& GetPimDatabases() const override { return m_pimDatabases; }
    DateTime GetCurrentDate() const override { return m_currentDate; }
    void SetCurrentDate(const DateTime& date) override { m_currentDate = date; }
    DateTime GetToday() const override;
    QString FormatTime(const SYSTEMTIME& st) const override;
    QString GetWeekdayShortName(int nDay) const override;
    // Keeps the reason and, unless turned off, shows it in one box once the current event
    // is done (a load may run inside a paint); further failures meanwhile add no box.
    void OnWeekLoadFailed(const QString& strReason) override;

    // Runs without a user to answer boxes (offscreen modes) report a failed week load
    // through GetLoadFailure instead.
    void SetLoadFailureBoxes(bool bShow) { m_bLoadFailureBoxes = bShow; }
    // The reason of the last failed week load; empty when every load succeeded.
    const QString& GetLoadFailure() const { return m_strLoadFailure; }

    QString GetMonthName(int nMonth) const;
    AgendaSettings& GetSettings() { return m_settings; }
    const StringTable& GetStrings() const override { return m_strings; }
    CMainView* GetView() const { return m_pView.get(); }
    // Reads the special days again (after the person changed their file).
    void ReloadSpecialDays();

    // A committed change of the store: created, deleted and changed records reload the
    // shown week; other types are ignored.
    void OnDbNotification(DWORD nType);
    // Number of times activation moved the frame onto the work area.
    int GetWorkAreaMoves() const { return m_nWorkAreaMoves; }

signals:
    // A committed change of the store (of this process or another), after the week reloaded.
    void StoreChanged();

protected:
    // Start-up steps that tests may make fail.
    virtual BOOL ConnectOutlook();
    virtual BOOL LoadSpecialDayFile();
    virtual BOOL OpenPimDatabases();
    virtual BOOL LoadStrings();

    void changeEvent(QEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    BOOL Fail(const char* pszText, unsigned nType);
    void MoveToWorkArea();

    std::unique_ptr<CMainView> m_pView;
    std::unique_ptr<IPOutlookApp> m_pOutlookApp;
    StringTable m_strings;
    SpecialDayList m_specialDays;
    CPimDatabases m_pimDatabases;  // the record reads and the change notifications
    DateTime m_currentDate;
    AgendaSettings m_settings;
    int m_nWorkAreaMoves = 0;
    QString m_strLoadFailure;
    QString m_strConnectFailure;  // said with the store's start-up box when not empty
    bool m_bLoadFailureBoxes = true;
    bool m_bLoadFailureBoxPending = false;
};
