#include "app/CMainView.h"
#include "pim/IPOutlookApp.h"
#include "pim/VariantTime.h"
#include "app/CItemActions.h"
#include "app/CMainFrame.h"
#include "app/CSoftKeyBar.h"
#include "app/CStatusLine.h"
#include "app/MainCommands.h"
#include "controls/CBitmapButtonEx.h"
#include "dialogs/CStrokeHelpDlg.h"
#include "controls/CalendarGrid.h"
#include "controls/GdiDraw.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COptionDlg.h"
#include "dialogs/CAnniversaryDlg.h"
#include "week/CWeekPane.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/CivilDays.h"
#include "resources/StringTable.h"
#include "dialogs/EditorTimes.h"
#include "platform/MessageBox.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QPainter>

namespace {

constexpr int kMinViewSize = 100;
constexpr int kPaneTop = 19;
constexpr int kPaneBottomMargin = 36;  // the pane ends 17 pixels above the button bar
constexpr int kTitleLeft = 20;         // the title box between the month buttons
constexpr int kTitleTop = 2;
constexpr int kTitleWidth = 55;
constexpr int kTitleHeight = 14;
constexpr int kStatusLineHeight = 16;  // the bottom rows of m_rcClient, under a frame line
constexpr COLORREF kReadOnlyNoticeColor = 0x0000C0;  // dark red
constexpr int kHeadingTop = 3;         // the weekday headings above the month calendar
constexpr int kHeadingFontSize = 10;
constexpr int kTitleFontSize = 11;
constexpr int kMinTitleFontSize = 8;
constexpr COLORREF kLinkColor = 0xCC3300;  // the status line's Undo, in blue
constexpr COLORREF kSyncColor = 0x808080;
constexpr COLORREF kFailureColor = 0x0000C0;

struct ButtonInfo {
    int nId;
    int nNormal;
    int nPressed;
    bool bBottom;  // in the button bar (only without soft keys)
    int nX;        // from the left, or from the right edge when negative
    const char* pszTipKey;  // the text of its tool tip: the command's name
};

const ButtonInfo kButtons[] = {
    {IDC_PREV_MONTH, 130, 182, false, 5, "RC_TIP_PREV_MONTH"},
    {IDC_NEXT_MONTH, 131, 183, false, 76, "RC_TIP_NEXT_MONTH"},
    {IDC_POPUP_MENU, 141, 186, true, 4, "RC_TIP_MENU"},
    {ID_GOTO_TODAY, 143, 148, true, 28, "RC_TIP_TODAY"},
    {ID_NEW_APPOINTMENT, 144, 145, true, 70, "RC_TIP_NEW_APPOINTMENT"},
    {ID_NEW_TASK, 146, 147, true, 90, "RC_TIP_NEW_TASK"},
    {ID_DELETE_ITEM, 151, 152, true, 110, "RC_TIP_DELETE"},
    {IDC_PREV_WEEK, 178, 184, true, -40, "RC_TIP_PREV_WEEK"},
    {IDC_NEXT_WEEK, 179, 185, true, -20, "RC_TIP_NEXT_WEEK"},
};

const ButtonInfo* FindButtonInfo(int nId)
{
    for (const ButtonInfo& info : kButtons) {
        if (info.nId == nId)
            return &info;
    }
    return nullptr;
}

}  // namespace

CMainView::CMainView(CMainFrame* pFrame)
    : m_pFrame(pFrame)
    , m_pActions(std::make_unique<CItemActions>(pFrame, pFrame))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_noticeTimer.setSingleShot(true);
    m_noticeTimer.setInterval(kNoticeMilliseconds);
    connect(&m_noticeTimer, &QTimer::timeout, this, [this] { ShowNotice(QString()); });
    connect(&m_sync, &CWindowSync::stateChanged, this, [this] { UpdateStatusLine(); });
    m_pActions->SetOnChange([this] { m_sync.SyncSoon(); });
}

CMainView::~CMainView()
{
    KeepEveryMove(FALSE);
    m_pWeekPane.reset();
}

BOOL CMainView::Create(QWidget* pParent, int nId)
{
    if (!CWnd::Create(WS_CHILD | WS_VISIBLE, RECT(), pParent, nId))
        return FALSE;
    setFocusPolicy(Qt::NoFocus);
    // The month buttons always; the button bar's buttons only without the soft-key bar.
    const BOOL bSoftKey = m_pFrame->GetSettings().UseSoftKey;
    for (const ButtonInfo& info : kButtons) {
        if (!info.bBottom || !bSoftKey)
            CreateButton(info.nId, info.nNormal, info.nPressed, info.pszTipKey);
    }
    if (bSoftKey)
        CreateSoftKeyBar();
    m_pWeekPane = std::make_unique<CWeekPane>(m_pFrame);
    m_pWeekPane->Create(WS_CHILD | WS_VISIBLE, RECT(), this, IDC_WEEKPANE);
    m_pWeekPane->SetWeek(m_pFrame->GetCurrentDate());
    // Ctrl+Z anywhere in the main window.
    auto* pUndo = new QShortcut(QKeySequence::Undo, this);
    pUndo->setContext(Qt::WindowShortcut);
    connect(pUndo, &QShortcut::activated, this, [this] { OnCommand(ID_UNDO); });
    return TRUE;
}

void CMainView::CreateButton(int nId, int nNormal, int nPressed, const char* pszTipKey)
{
    auto* pButton = new CBitmapButtonEx(this);
    pButton->SetDlgCtrlID(nId);
    pButton->LoadBitmaps(nNormal, nPressed);
    pButton->setToolTip(GetResourceString(m_pFrame->GetStrings(), QString::fromLatin1(pszTipKey)));
    pButton->SizeToContent();
    connect(pButton, &CBitmapButtonEx::command, this, [this](int nCommand) { OnCommand(nCommand); });
    m_buttons.push_back(pButton);
}

void CMainView::CreateSoftKeyBar()
{
    m_pSoftKeyBar = new CSoftKeyBar(parentWidget());
    m_pSoftKeyBar->SetButtonText(IDM_SOFTKEY_TOOLS, QStringLiteral("Tools"));
    connect(m_pSoftKeyBar, &CSoftKeyBar::command, this, [this](int nCommand) { OnCommand(nCommand); });
    m_pSoftKeyBar->show();
}

CBitmapButtonEx* CMainView::GetButton(int nId) const
{
    for (CBitmapButtonEx* pButton : m_buttons) {
        if (pButton->GetDlgCtrlID() == nId)
            return pButton;
    }
    return nullptr;
}

void CMainView::resizeEvent(QResizeEvent* pEvent)
{
    CWndEx::resizeEvent(pEvent);
    if (width() < kMinViewSize || height() < kMinViewSize)
        return;
    m_rcClient = RECT{0, 0, width(), height()};
    if (!m_pFrame->GetSettings().UseSoftKey)
        m_rcClient.bottom -= kButtonBarHeight;
    // The handheld placed the children once; a desktop window is resized, so they follow
    // every usable size.
    PlaceChildren();
    m_bLayoutDone = TRUE;
}

void CMainView::PlaceChildren()
{
    const int W = m_rcClient.right;
    const int B = m_rcClient.bottom;
    for (CBitmapButtonEx* pButton : m_buttons) {
        const ButtonInfo* pInfo = FindButtonInfo(pButton->GetDlgCtrlID());
        const int x = pInfo->nX >= 0 ? pInfo->nX : W + pInfo->nX;
        pButton->move(x, pInfo->bBottom ? B + 2 : 3);
        pButton->SizeToContent();
    }
    if (m_pWeekPane)
        m_pWeekPane->setGeometry(0, kPaneTop, W, B - kPaneBottomMargin);
}

bool CMainView::OnCommand(int nId)
{
    switch (nId) {
    case IDC_PREV_MONTH:
        MoveMonth(-1);
        return true;
    case IDC_NEXT_MONTH:
        MoveMonth(1);
        return true;
    case IDC_PREV_WEEK:
        SendArrowKey(Qt::Key_Left);
        return true;
    case IDC_NEXT_WEEK:
        SendArrowKey(Qt::Key_Right);
        return true;
    case ID_GOTO_TODAY:
        m_pWeekPane->SetWeek(m_pFrame->GetToday());
        return true;
    case IDC_POPUP_MENU:
        ShowPopupMenu();
        return true;
    case ID_NEW_APPOINTMENT:
        m_pActions->NewAppointment();
        return true;
    case ID_NEW_TASK:
        m_pActions->NewTask();
        return true;
    case ID_DELETE_ITEM:
        ActOnSelection(&CItemActions::Delete);
        return true;
    case ID_OPTIONS:
        ShowOptions();
        return true;
    case ID_SPECIAL_DAYS:
        ShowSpecialDays();
        return true;
    case ID_APP_ABOUT:
        ShowAbout();
        return true;
    case ID_STROKE_HELP:
        ShowStrokeHelp();
        return true;
    case ID_UNDO:
        Undo();
        return true;
    case ID_SYNC_NOW:
        m_sync.SyncNow();
        return true;
    case ID_APP_EXIT:
        Exit();
        return true;
    default:
        return false;
    }
}

// The same day in the previous or next month, or that month's last day when it is
// shorter.
void CMainView::MoveMonth(int nDelta)
{
    const DateTime current = m_pFrame->GetCurrentDate();
    int nYear = current.GetYear();
    int nMonth = current.GetMonth() + nDelta;
    if (nMonth < 1) {
        nMonth = 12;
        --nYear;
    } else if (nMonth > 12) {
        nMonth = 1;
        ++nYear;
    }
    const int nDay = qMin(current.GetDay(), DaysInMonth(nYear, nMonth));
    m_pWeekPane->SetWeek(DateTime(nYear, nMonth, nDay, 0, 0, 0));
}

// A key press and release for the focused window, as the week buttons' synthesised key.
void CMainView::SendArrowKey(int nQtKey)
{
    QWidget* pFocus = QApplication::focusWidget();
    if (pFocus == nullptr)
        return;
    QKeyEvent press(QEvent::KeyPress, nQtKey, Qt::NoModifier);
    QApplication::sendEvent(pFocus, &press);
    QKeyEvent release(QEvent::KeyRelease, nQtKey, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : pFocus, &release);
}

intptr_t CMainView::OnNotify(NMHDR* pHdr)
{
    if (pHdr->idFrom != IDC_WEEKPANE)
        return 0;
    const auto* pNm = reinterpret_cast<const NMWEEKPANE*>(pHdr);
    switch (pHdr->code) {
    case WPN_DATECHANGED:
        update(kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight);
        // A new week replaced the rows; the selection is told again only when a list
        // takes the focus, which a window without the focus does not get.
        UpdateStatusLine();
        break;
    case WPN_SELCHANGED:
        UpdateStatusLine();
        break;
    case WPN_CLICK:
        m_gesture.Start(pNm->ptAction);
        KeepEveryMove(TRUE);
        break;
    case WPN_PENMOVE:
        m_gesture.Step(pNm->ptAction);
        break;
    case WPN_PENUP: {
        KeepEveryMove(FALSE);
        QString strStroke;
        if (m_gesture.Finish(&strStroke))
            RunGesture(strStroke);
        break;
    }
    case WPN_KEYDOWN:
        if (pNm->iItem == VK_RETURN)
            ActOnSelection(&CItemActions::Open);
        else if (pNm->iItem == VK_DELETE)
            OnCommand(ID_DELETE_ITEM);
        break;
    case WPN_DBLCLK:
        ActOnSelection(&CItemActions::Open);
        break;
    default:
        break;
    }
    return 0;
}

void CMainView::UpdateStatusLine()
{
    update(0, m_rcClient.bottom - kStatusLineHeight, m_rcClient.right, kStatusLineHeight - 1);
}

// A stroke's turns show only in its single moves. The platform merges the moves that
// queue up while the program is busy, which could make right-left-right a single right;
// so from pen down to pen up every move is delivered.
void CMainView::KeepEveryMove(BOOL bKeep)
{
    if (bKeep == m_bKeepingMoves)
        return;
    m_bKeepingMoves = bKeep;
    if (bKeep) {
        m_bCompressedMoves = QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents);
        QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    } else {
        QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, m_bCompressedMoves);
    }
}

// A stroke that changed the store says so in the status line, with Undo one tap away.
void CMainView::RunGesture(const QString& strStroke)
{
    const int nActions = m_pActions->ActionCount();
    RunGestureCommand(strStroke);
    if (m_pActions->ActionCount() != nActions)
        ShowNotice(m_pActions->LastActionText());
}

void CMainView::RunGestureCommand(const QString& strStroke)
{
    switch (GestureCommand(strStroke)) {
    case EGesture::Open:
        ActOnSelection(&CItemActions::Open);
        break;
    case EGesture::ToggleComplete:
        ActOnSelection(&CItemActions::ToggleComplete);
        break;
    case EGesture::Delete:
        OnCommand(ID_DELETE_ITEM);
        break;
    case EGesture::NewAppointment:
        OnCommand(ID_NEW_APPOINTMENT);
        break;
    case EGesture::NewTask:
        OnCommand(ID_NEW_TASK);
        break;
    case EGesture::None:
        break;
    }
}

BOOL CMainView::GetSelectedItem(SelectedItem* pItem) const
{
    int nDay = -1, nRow = -1;
    if (!m_pWeekPane || !m_pWeekPane->GetSelection(&nDay, &nRow))
        return FALSE;
    ListCell* pLabel = nullptr;
    m_pWeekPane->GetDayList(nDay)->GetCell(nRow, 0, &pLabel);
    if (pLabel == nullptr)
        return FALSE;
    pItem->nOid = pLabel->nOid;
    pItem->nKind = pLabel->nKind;
    pItem->dtItem = pLabel->dtItem;
    return TRUE;
}

namespace {

// The date an item is shown on: an appointment's start, a task's due date (else its start
// date); kNoDate when it has none.
DATE DateOfItem(IPOutlookItem* pItem)
{
    DATE dt = kNoDate;
    if (IAppointment* pAppt = pItem->AsAppointment())
        pAppt->get_Start(&dt);
    else if (ITask* pTask = pItem->AsTask()) {
        pTask->get_DueDate(&dt);
        if (dt == kNoDate)
            pTask->get_StartDate(&dt);
    }
    return dt;
}

}  // namespace

void CMainView::OpenItem(int32_t nOid, DATE dtAt)
{
    std::unique_ptr<IPOutlookItem> pItem;
    if (FAILED(m_pFrame->GetOutlookApp()->GetItemFromOid(nOid, &pItem)) || !pItem)
        return;
    if (dtAt == 0.0)
        dtAt = DateOfItem(pItem.get());
    SYSTEMTIME st;
    if (dtAt != kNoDate && VariantTimeToSystemTime(dtAt, &st))
        m_pWeekPane->SetWeek(DateTime(st.wYear, st.wMonth, st.wDay, 0, 0, 0));
    const int32_t nKind = pItem->GetItemType() == olTaskItem ? kEntryKindTask : kEntryKindAppointment;
    m_pActions->Open(SelectedItem{nOid, nKind, dtAt});
}

// Every item action needs a selected row; without one nothing happens.
void CMainView::ActOnSelection(void (CItemActions::*pfnAction)(const SelectedItem&))
{
    SelectedItem item;
    if (GetSelectedItem(&item))
        (m_pActions.get()->*pfnAction)(item);
}

// ---- Popup menu, options, about, exit ------------------------------------------------

void CMainView::FillPopupMenu(QMenu* pMenu) const
{
    const struct {
        const char* pszKey;
        int nId;
    } items[] = {{"RC_MENU_UNDO", ID_UNDO},
                 {"RC_MENU_SYNC", ID_SYNC_NOW},
                 {"RC_MENU_STROKES", ID_STROKE_HELP},
                 {"RC_MENU_SPECIAL_DAYS", ID_SPECIAL_DAYS},
                 {"RC_MENU_OPTIONS", ID_OPTIONS},
                 {"RC_MENU_ABOUT", ID_APP_ABOUT},
                 {"RC_MENU_EXIT", ID_APP_EXIT}};
    for (const auto& item : items) {
        if (item.nId == ID_SYNC_NOW && !CWindowSync::HasAccounts())
            continue;
        QAction* pAction = pMenu->addAction(GetResourceString(m_pFrame->GetStrings(), QString::fromLatin1(item.pszKey)));
        pAction->setData(item.nId);
        if (item.nId == ID_UNDO) {
            pAction->setEnabled(m_pActions->CanUndo());
            if (m_pActions->CanUndo())
                pAction->setText(pAction->text() + QStringLiteral(" (") + m_pActions->LastActionText() + QLatin1Char(')'));
        }
    }
}

QPoint CMainView::PopupMenuPos(int nMenuHeight) const
{
    const CBitmapButtonEx* pButton = GetButton(IDC_POPUP_MENU);
    const QPoint ptCorner = pButton != nullptr ? pButton->mapToGlobal(QPoint(0, 0)) : mapToGlobal(QPoint(0, 0));
    return ptCorner - QPoint(0, nMenuHeight);
}

void CMainView::ShowPopupMenu()
{
    int nCommand = 0;
    {
        QMenu menu(this);
        FillPopupMenu(&menu);
        connect(&menu, &QMenu::triggered, this, [&nCommand](QAction* pAction) { nCommand = pAction->data().toInt(); });
        menu.exec(PopupMenuPos(menu.sizeHint().height()));
    }
    // The command runs once the menu is gone, as a posted command would.
    if (nCommand != 0)
        OnCommand(nCommand);
}

// The sheet edits the frame's settings; after Save the week is loaded again with them.
void CMainView::ShowOptions()
{
    const StringTable& strings = m_pFrame->GetStrings();
    COptionDlg dlg(GetResourceString(strings, QStringLiteral("RC_OPTIONDLG_TITLE")), &m_pFrame->GetSettings(),
                   &strings, m_pFrame);
    if (dlg.DoModal() == IDOK) {
        m_pWeekPane->Reload();
        UpdateStatusLine();
    }
}

// Each saved change reloads the special days and the week behind the editor.
void CMainView::ShowSpecialDays()
{
    CAnniversaryDlg dlg(&m_pFrame->GetStrings(), PersonalSpecialDaysPath(), ProgramSpecialDaysPath(), m_pFrame);
    dlg.SetSavedHook([this] {
        m_pFrame->ReloadSpecialDays();
        m_pWeekPane->Reload();
    });
    dlg.exec();
}

void CMainView::ShowAbout()
{
    const StringTable& strings = m_pFrame->GetStrings();
    CAboutDlg dlg(GetResourceString(strings, QStringLiteral("RC_ABOUTDLG_TITLE")), &m_pFrame->GetSettings(),
                  &strings, m_pFrame);
    dlg.DoModal();
}

void CMainView::ShowStrokeHelp()
{
    const StringTable& strings = m_pFrame->GetStrings();
    QVector<StrokeHelpEntry> entries;
    for (const GestureStroke& stroke : GestureStrokes())
        entries.append({QString::fromLatin1(stroke.pszDirections),
                        GetResourceString(strings, QString::fromLatin1(stroke.pszMeaningKey))});
    CStrokeHelpDlg dlg(GetResourceString(strings, QStringLiteral("RC_MENU_STROKES")), entries,
                       GetResourceString(strings, QStringLiteral("RC_ABOUTDLG_CLOSE")), m_pFrame);
    dlg.exec();
}

// The frame is closed once this command has returned, as the posted close of the
// handheld; closing the last window ends the run, which destroys the frame.
void CMainView::Exit()
{
    QMetaObject::invokeMethod(m_pFrame, &QWidget::close, Qt::QueuedConnection);
}

void CMainView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(&painter);
}

void CMainView::PaintTo(QPainter* pDC)
{
    const int W = m_rcClient.right - m_rcClient.left;
    const int H = m_rcClient.bottom - m_rcClient.top;
    if (W < kMinViewSize || H < kMinViewSize)
        return;
    FillGdiRect(pDC, 0, 0, W, H, 0xFFFFFF);
    DrawGdiLine(pDC, 0, 17, W, 17, kFrameLineColor);
    DrawGdiLine(pDC, 0, 18, W, 18, kFrameLineColor);
    DrawGdiLine(pDC, 0, H - kStatusLineHeight - 1, W, H - kStatusLineHeight - 1, kFrameLineColor);
    FillGdiRect(pDC, 0, H - kStatusLineHeight, W, H, kStatusStripColor);
    DrawTitle(pDC);
    DrawStatusLine(pDC);
    if (!m_pFrame->GetSettings().UseSoftKey)
        DrawButtonBar(pDC, W, H);
}

void CMainView::DrawButtonBar(QPainter* pDC, int nWidth, int nTop)
{
    DrawGdiLine(pDC, 0, nTop, nWidth, nTop, 0x000000);
    for (int r = 1; r < kButtonBarHeight; ++r) {
        const int nGrey = 110 - 3 * r;
        DrawGdiLine(pDC, 0, nTop + r, nWidth, nTop + r, RGB(nGrey, nGrey, nGrey));
    }
}

QString CMainView::GetTitleText() const
{
    const DateTime current = m_pFrame->GetCurrentDate();
    QString strTitle = GetResourceString(m_pFrame->GetStrings(), QStringLiteral("RC_COMMON_FORMAT_TITLE_DATE"));
    strTitle.replace(QStringLiteral("YYYY"), QString::number(current.GetYear()));
    strTitle.replace(QStringLiteral("MM"), m_pFrame->GetMonthName(current.GetMonth()));
    return strTitle;
}

void CMainView::DrawTitle(QPainter* pDC)
{
    const QString strTitle = GetTitleText();
    FillGdiRect(pDC, kTitleLeft, kTitleTop, kTitleLeft + kTitleWidth, kTitleTop + kTitleHeight, 0xFFFFFF);
    // The box between the month buttons was made for the handheld's narrow Tahoma; the
    // face that stands in for it is wider, so a title that does not fit is drawn smaller
    // rather than cut at both ends.
    int nSize = kTitleFontSize;
    SetFont(QStringLiteral("Tahoma"), nSize, TRUE, FALSE, FALSE);
    while (nSize > kMinTitleFontSize && GetTextWidth(pDC, strTitle) > kTitleWidth) {
        --nSize;
        SetFont(QStringLiteral("Tahoma"), nSize, TRUE, FALSE, FALSE);
    }
    DrawTextInRect(pDC, kTitleLeft, kTitleTop, kTitleWidth, kTitleHeight, strTitle, DT_CENTER, 0x000000);

    // The pane puts the month calendar one pixel right of the middle; the headings stand
    // over its week-number column and its day columns.
    const int xCalendar = (m_rcClient.right - m_rcClient.left) / 2 + 1;
    const QString strHeadings = QStringLiteral("#MTWTFSS");
    SetFont(QStringLiteral("Tahoma"), kHeadingFontSize, TRUE, FALSE, FALSE);
    DrawTextAt(pDC, xCalendar + 9, kHeadingTop, strHeadings.left(1), 0x000000);
    for (int i = 1; i <= 7; ++i) {
        const int x = xCalendar + WCAL_FIRST_X + WCAL_CELL_WIDTH * (i - 1);
        DrawTextInRect(pDC, x, kHeadingTop, WCAL_CELL_WIDTH, kHeadingFontSize, strHeadings.mid(i, 1), DT_RIGHT,
                       0x000000);
    }
}

void CMainView::DrawStatusLine(QPainter* pDC)
{
    const int W = m_rcClient.right - m_rcClient.left;
    const int y0 = (m_rcClient.bottom - m_rcClient.top) - kStatusLineHeight;
    FillGdiRect(pDC, 0, y0, W, y0 + kStatusLineHeight - 1, kStatusStripColor);
    if (!m_strNotice.isEmpty()) {
        DrawNotice(pDC, y0, W);
        return;
    }
    const int nRoom = DrawSyncState(pDC, y0, W);
    const AgendaSettings& settings = m_pFrame->GetSettings();
    CStatusLine line(settings.FontName, settings.FontSize);
    int x = 2;
    // A store open for reading only says so before the selected row.
    const QString strReadOnly = m_pFrame->GetReadOnlyNotice();
    if (!strReadOnly.isEmpty()) {
        ListCell notice;
        notice.strText = strReadOnly;
        notice.crText = kReadOnlyNoticeColor;
        notice.bBold = TRUE;
        x = line.DrawCell(pDC, notice, x, y0, nRoom);
    }
    int nDay = -1, nRow = -1;
    if (!m_pWeekPane || !m_pWeekPane->GetSelection(&nDay, &nRow))
        return;
    CListCtrlEx* pList = m_pWeekPane->GetDayList(nDay);
    ListCell* pLabel = nullptr;
    ListCell* pText = nullptr;
    pList->GetCell(nRow, 0, &pLabel);
    pList->GetCell(nRow, 1, &pText);
    if (pLabel == nullptr || pText == nullptr || pLabel->nOid == -1)
        return;
    x = line.DrawCell(pDC, *pLabel, x, y0, nRoom);
    line.DrawCell(pDC, *pText, x, y0, nRoom);
}

// ---- Undo -------------------------------------------------------------------------------

void CMainView::Undo()
{
    ShowNotice(QString());
    m_pActions->Undo();
}

void CMainView::ShowNotice(const QString& strNotice)
{
    m_strNotice = strNotice;
    if (strNotice.isEmpty())
        m_noticeTimer.stop();
    else
        m_noticeTimer.start();
    UpdateStatusLine();
}

// The notice on the left, shortened to the room left by the Undo link on the right.
void CMainView::DrawNotice(QPainter* pDC, int y0, int nWidth)
{
    const AgendaSettings& settings = m_pFrame->GetSettings();
    const QString strUndo = GetResourceString(m_pFrame->GetStrings(), QStringLiteral("RC_MENU_UNDO"));
    SetFont(settings.FontName, settings.FontSize, TRUE, FALSE, FALSE);
    const int nUndoWidth = GetTextWidth(pDC, strUndo);
    constexpr unsigned kFormat = DT_VCENTER | DT_SINGLELINE;
    DrawTextInRect(pDC, nWidth - nUndoWidth - 4, y0, nUndoWidth + 2, kStatusLineHeight - 1, strUndo,
                   kFormat | DT_RIGHT, kLinkColor);
    SetFont(settings.FontName, settings.FontSize, FALSE, FALSE, FALSE);
    const int nRoom = nWidth - nUndoWidth - 12;
    const QString strText = QFontMetrics(GetFont()).elidedText(m_strNotice, Qt::ElideRight, nRoom);
    DrawTextInRect(pDC, 2, y0, nRoom, kStatusLineHeight - 1, strText, kFormat | DT_LEFT, 0x000000);
}

// While a notice shows, a tap anywhere on the status line takes the action back; a tap
// on a failed sync's mark says why it failed.
void CMainView::mousePressEvent(QMouseEvent* pEvent)
{
    const int y0 = (m_rcClient.bottom - m_rcClient.top) - kStatusLineHeight;
    const QPointF pt = pEvent->position();
    if (pt.y() >= y0 && pt.y() < m_rcClient.bottom) {
        if (!m_strNotice.isEmpty()) {
            OnCommand(ID_UNDO);
            return;
        }
        if (m_sync.State() == CWindowSync::EState::Failed && pt.x() >= m_xSyncState) {
            ShowSyncFailure();
            return;
        }
    }
    CWndEx::mousePressEvent(pEvent);
}

// ---- Sync -------------------------------------------------------------------------------

QString CMainView::SyncStateText() const
{
    const StringTable& strings = m_pFrame->GetStrings();
    switch (m_sync.State()) {
    case CWindowSync::EState::Running:
        return GetResourceString(strings, QStringLiteral("RC_SYNC_RUNNING"));
    case CWindowSync::EState::Synced: {
        const QTime time = m_sync.LastSynced().time();
        return GetResourceString(strings, QStringLiteral("RC_SYNC_DONE"))
            .arg(FormatTimeText(time.hour(), time.minute(), m_pFrame->GetSettings().Use24Hour));
    }
    case CWindowSync::EState::Failed:
        return GetResourceString(strings, QStringLiteral("RC_SYNC_FAILED"));
    case CWindowSync::EState::Off:
        break;
    }
    return QString();
}

int CMainView::DrawSyncState(QPainter* pDC, int y0, int nWidth)
{
    const QString strText = SyncStateText();
    m_xSyncState = nWidth;
    if (strText.isEmpty())
        return nWidth;
    const AgendaSettings& settings = m_pFrame->GetSettings();
    const bool bFailed = m_sync.State() == CWindowSync::EState::Failed;
    SetFont(settings.FontName, settings.FontSize - 2, bFailed, FALSE, FALSE);
    const int nTextWidth = GetTextWidth(pDC, strText);
    m_xSyncState = nWidth - nTextWidth - 4;
    DrawTextInRect(pDC, m_xSyncState, y0, nTextWidth + 2, kStatusLineHeight - 1, strText,
                   DT_VCENTER | DT_SINGLELINE | DT_RIGHT, bFailed ? kFailureColor : kSyncColor);
    return m_xSyncState - 4;
}

void CMainView::ShowSyncFailure()
{
    const StringTable& strings = m_pFrame->GetStrings();
    MessageBox(GetResourceString(strings, QStringLiteral("RC_SYNC_FAILED_REASON")).arg(m_sync.LastFailure()),
               GetResourceString(strings, QStringLiteral("RC_COMMON_PRODUCT_TITLE")), MB_OK | MB_ICONEXCLAMATION);
}
