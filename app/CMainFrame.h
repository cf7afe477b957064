#pragma once
// The main window. It owns every data source of the running program (the settings, the
// PIM store with its record reads and change notifications, the special days, the
// strings, the current date) and its client area is the main view.
#include <QWidget>
#include "dialogs/IDialogHost.h"
#include "week/CWeekSources.h"
#include <memory>

class CMainView;
class IPOutlookApp;

constexpr int AFX_IDW_PANE_FIRST = 59648;  // control id of the main view
// The frame's first size, the handheld's screen.
constexpr int kHandheldWidth = 240;
constexpr int kHandheldHeight = 320;

class CMainFrame : public QWidget, public CWeekSources, public IDialogHost {
    Q_OBJECT
public:
    // Reads the settings and sets the current date to today (CWeekSources).
    CMainFrame();
    ~CMainFrame() override;

    // Opens the data sources in order and creates the view. The first failure shows its
    // box and gives FALSE; the frame is then unusable.
    BOOL Create();

    // IWeekHost: keeps the reason and, unless turned off, shows it in one box once the current event
    // is done (a load may run inside a paint); further failures meanwhile add no box.
    void OnWeekLoadFailed(const QString& strReason) override;

    // Runs without a user to answer boxes (offscreen modes) report a failed week load
    // through GetLoadFailure instead.
    void SetLoadFailureBoxes(bool bShow) { m_bLoadFailureBoxes = bShow; }
    QString GetMonthName(int nMonth) const;
    // IDialogHost (and IWeekHost, which ask the same)
    const StringTable& GetStrings() const override { return m_strings; }
    const AgendaSettings& GetSettings() const override { return m_settings; }
    AgendaSettings& GetSettings() { return m_settings; }
    IPOutlookApp* GetOutlookApp() const override { return m_pOutlookApp.get(); }
    CMainView* GetView() const { return m_pView.get(); }
    // "Read only: REASON" while the store can only be read, else empty (the status line).
    QString GetReadOnlyNotice() const;
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
    // The store with its detail forms over this window; the record reads with their
    // change notifications.
    BOOL ConnectOutlook() override;
    BOOL OpenPimDatabases() override;

    void changeEvent(QEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void MoveToWorkArea();

    std::unique_ptr<CMainView> m_pView;
    int m_nWorkAreaMoves = 0;
    bool m_bLoadFailureBoxes = true;
    bool m_bLoadFailureBoxPending = false;
};
