#pragma once
// The client window of the main frame: the week pane, the title with the shown month and
// the calendar's weekday headings, the status line with the selected entry in full, and
// either the dark button bar with its bitmap buttons or (UseSoftKey) the soft-key bar.
#include "app/CPenGesture.h"
#include "app/CWindowSync.h"
#include "controls/CWndEx.h"
#include "platform/WinTypes.h"
#include <QPoint>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class CBitmapButtonEx;
class CItemActions;
class CMainFrame;
class QMenu;
struct SelectedItem;
class CSoftKeyBar;
class CWeekPane;

constexpr int kButtonBarHeight = 20;
constexpr COLORREF kFrameLineColor = 0xBEBEBE;
constexpr COLORREF kStatusStripColor = 0xE6E6E6;

class CMainView : public CWndEx, public INotifyReceiver {
    Q_OBJECT
public:
    explicit CMainView(CMainFrame* pFrame);
    ~CMainView() override;

    // Creates the buttons (or the soft-key bar) and the pane, and shows the frame's week.
    BOOL Create(QWidget* pParent, int nId);

    CWeekPane* GetWeekPane() const { return m_pWeekPane.get(); }
    CSoftKeyBar* GetSoftKeyBar() const { return m_pSoftKeyBar; }
    // The button with that id, or null when it was not created.
    CBitmapButtonEx* GetButton(int nId) const;
    RECT GetClientRect() const { return m_rcClient; }

    // A command from a button or menu; false when the view does not handle it.
    bool OnCommand(int nId);
    intptr_t OnNotify(NMHDR* pHdr) override;

    // The item of the selected row; FALSE without a selection.
    BOOL GetSelectedItem(SelectedItem* pItem) const;
    // Opens an item in its editor as if its row were chosen, after showing the week of
    // dtAt: the start of the occurrence to open (0: the item's own date).
    void OpenItem(int32_t nOid, DATE dtAt);
    // Fills the popup menu of button 1208 (texts from the strings, commands as data).
    void FillPopupMenu(QMenu* pMenu) const;
    // Where the popup menu's top-left corner goes (screen coordinates) for a menu of
    // that height: its bottom on the top-left corner of button 1208.
    QPoint PopupMenuPos(int nMenuHeight) const;
    const CPenGesture& GetGesture() const { return m_gesture; }
    CWindowSync& GetSync() { return m_sync; }
    // What the status line says of syncing ("Synced 14:05"); empty without accounts.
    QString SyncStateText() const;

    // The title: RC_COMMON_FORMAT_TITLE_DATE with YYYY and MM replaced by the current
    // date's year and month name.
    QString GetTitleText() const;
    // Paints the whole view into pDC as a paint would.
    void PaintTo(QPainter* pDC);
    void DrawTitle(QPainter* pDC);
    void DrawStatusLine(QPainter* pDC);
    // What the last stroke did, shown in the status line with Undo for a few seconds;
    // empty when the line shows the selected entry.
    const QString& GetNotice() const { return m_strNotice; }
    static constexpr int kNoticeMilliseconds = 6000;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;

private:
    void CreateButton(int nId, int nNormal, int nPressed, const char* pszTipKey);
    void CreateSoftKeyBar();
    void PlaceChildren();
    void DrawButtonBar(QPainter* pDC, int nWidth, int nTop);
    void MoveMonth(int nDelta);
    void SendArrowKey(int nQtKey);
    void ShowPopupMenu();
    void ShowOptions();
    void ShowSpecialDays();
    void ShowAbout();
    // The sheet that shows the pen strokes and what each does.
    void ShowStrokeHelp();
    void Exit();
    void RunGesture(const QString& strStroke);
    void RunGestureCommand(const QString& strStroke);
    void ActOnSelection(void (CItemActions::*pfnAction)(const SelectedItem&));
    void UpdateStatusLine();
    void Undo();
    void ShowNotice(const QString& strNotice);
    void DrawNotice(QPainter* pDC, int y0, int nWidth);
    // The sync state at the status line's right end; returns its left edge.
    int DrawSyncState(QPainter* pDC, int y0, int nWidth);
    void ShowSyncFailure();
    void KeepEveryMove(BOOL bKeep);

    CMainFrame* m_pFrame;
    std::unique_ptr<CWeekPane> m_pWeekPane;
    RECT m_rcClient;
    BOOL m_bLayoutDone = FALSE;
    CPenGesture m_gesture;  // m_bTracking, m_ptLast, m_strGesture
    BOOL m_bKeepingMoves = FALSE;    // pen moves are not merged during a stroke
    bool m_bCompressedMoves = true;  // the application's setting before the stroke
    std::unique_ptr<CItemActions> m_pActions;
    std::vector<CBitmapButtonEx*> m_buttons;  // children of the view
    CSoftKeyBar* m_pSoftKeyBar = nullptr;     // child of the frame
    QString m_strNotice;
    QTimer m_noticeTimer;
    CWindowSync m_sync;
    int m_xSyncState = 0;  // where the sync state starts on the status line
};
