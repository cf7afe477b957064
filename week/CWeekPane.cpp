#include "week/CWeekPane.h"
#include "calendar/CDayWatch.h"
#include "week/AgendaSettings.h"
#include "week/CWeekLoader.h"
#include "week/IWeekHost.h"
#include "week/WeekLayout.h"
#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr COLORREF kTodayBackground = RGB(255, 255, 200);
constexpr COLORREF kListBackground = RGB(255, 255, 255);
constexpr COLORREF kGapColor = RGB(190, 190, 190);
constexpr COLORREF kCornerLabelColor = RGB(255, 255, 255);
const char* const kLabelFontName = "mirafon";
constexpr int kLabelFontSize = 10;

QColor ToColor(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

RECT EmptyRect()
{
    return RECT{0, 0, 0, 0};
}

void PlaceWindow(QWidget* pWnd, const RECT& rc)
{
    pWnd->setGeometry(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    pWnd->show();
}

}  // namespace

CWeekPane::CWeekPane(IWeekHost* pFrame, QWidget* pParent)
    : CWnd(pParent)
    , m_pFrame(pFrame)
    , m_pDayWatch(std::make_unique<CDayWatch>([this](const DateTime& oldToday) { OnDayChange(oldToday); }))
{
    m_week = WeekRangeOf(pFrame->GetCurrentDate());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CWeekPane::~CWeekPane() = default;

BOOL CWeekPane::Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId)
{
    if (!CWnd::Create(dwStyle, rect, pParentWnd, nId))
        return FALSE;
    m_selDay = m_selRow = -1;
    const AgendaSettings& settings = m_pFrame->GetSettings();
    for (int i = 0; i < 7; ++i) {
        CListCtrlEx& list = m_days[i].list;
        list.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, EmptyRect(), this, IDC_FIRSTDAYLIST + i);
        list.SetFonts(settings.FontName, static_cast<int>(settings.FontSize), QString::fromLatin1(kLabelFontName),
                      kLabelFontSize);
        list.SetColumnCount(2);
        list.SetColumnWidth(0, 0);
        list.SetColumnWidth(1, 0);
    }
    m_calendar.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, EmptyRect(), this, IDC_WEEKCALENDAR);
    const DateTime current = m_pFrame->GetCurrentDate();
    m_calendar.SetDate(current.GetYear(), current.GetMonth(), current.GetDay());
    m_pDayWatch->Start();
    return TRUE;
}

void CWeekPane::SetWeek(const DateTime& date)
{
    m_pFrame->SetCurrentDate(date);
    m_week = WeekRangeOf(date);
    m_calendar.SetDate(date.GetYear(), date.GetMonth(), date.GetDay());
    m_calendar.update();
    setFocus();
    m_selDay = m_selRow = -1;
    Reload();
    NotifyParent(WPN_DATECHANGED);
}

void CWeekPane::Reload()
{
    if (!m_bPainted) {
        m_bLoadPending = TRUE;
        update();
        return;
    }
    LoadAndLayout();
    SetLists(true);
    FocusCurrentDay();
    update();
}

void CWeekPane::LoadAndLayout()
{
    SetLists(false);
    LoadWeek();
    Layout(width(), height());
}

void CWeekPane::SetLists(bool bRedraw)
{
    for (DayBucket& bucket : m_days) {
        bucket.list.setUpdatesEnabled(bRedraw);
        if (bRedraw)
            bucket.list.update();
    }
}

void CWeekPane::FocusCurrentDay()
{
    const int nIndex = ToMondayFirst(m_pFrame->GetCurrentDate().GetDayOfWeek()) - 1;
    CListCtrlEx& list = m_days[nIndex].list;
    // A list that keeps the focus reports no focus change, but its reloaded rows have a
    // new selection all the same.
    if (list.hasFocus())
        OnDayFocus(nIndex);
    else
        list.setFocus();
}

void CWeekPane::OnDayChange(const DateTime& oldToday)
{
    // Whoever was looking at today follows it; another date stays where it is.
    if (IsSameDay(m_pFrame->GetCurrentDate(), oldToday))
        SetWeek(m_pFrame->GetToday());
    else
        Reload();
}

// Today's date is read afresh by every load: the lists' colours and texts, and the
// calendar's today box.
void CWeekPane::LoadWeek()
{
    const DateTime today = m_pFrame->GetToday();
    m_calendar.SetToday(today.GetYear(), today.GetMonth(), today.GetDay());
    m_calendar.update();
    const BOOL bMultiline = m_pFrame->GetSettings().Multiline ? TRUE : FALSE;
    for (DayBucket& bucket : m_days) {
        bucket.list.DeleteAllItems();
        bucket.list.SetMultiline(bMultiline, FALSE);
    }
    CWeekLoader loader(m_pFrame, this, m_week);
    if (!loader.Load())
        m_pFrame->OnWeekLoadFailed(loader.GetFailure());
}

void CWeekPane::AddRow(AgendaRow row)
{
    CListCtrlEx* pList = GetDayList(row.nDayIndex);
    if (pList == nullptr)
        return;
    pList->AddRow(row.strLabel, row.strText);
    ListCell* pLabel = nullptr;
    ListCell* pText = nullptr;
    pList->GetCell(pList->GetItemCount() - 1, 0, &pLabel);
    pList->GetCell(pList->GetItemCount() - 1, 1, &pText);
    if (pLabel == nullptr || pText == nullptr)
        return;
    pLabel->strExtra = std::move(row.strLabelExtra);
    pLabel->dtItem = row.dtItem;
    pLabel->nKind = row.nKind;
    pLabel->nOid = row.nOid;
    pText->strExtra = std::move(row.strTextExtra);
    pText->crText = row.crText;
    pText->bStrikeOut = row.bStrikeOut;
    pText->nIconFlags = row.nIconFlags;
    pText->bBold = row.bBold;
}

int CWeekPane::GetRowCount(int nDayIndex) const
{
    return (nDayIndex >= 0 && nDayIndex < 7) ? m_days[nDayIndex].list.GetItemCount() : 0;
}

bool CWeekPane::HasOccurrence(int nDayIndex, int32_t nOid, DATE dtStart) const
{
    return nDayIndex >= 0 && nDayIndex < 7 && ListHasOccurrence(m_days[nDayIndex].list, nOid, dtStart);
}

bool CWeekPane::ListHasOccurrence(const CListCtrlEx& list, int32_t nOid, DATE dtStart)
{
    for (int nRow = 0; nRow < list.GetItemCount(); ++nRow) {
        ListCell* pCell = nullptr;
        list.GetCell(nRow, 0, &pCell);
        if (pCell != nullptr && pCell->nOid != -1 && pCell->nOid == nOid && pCell->dtItem == dtStart)
            return true;
    }
    return false;
}

CListCtrlEx* CWeekPane::GetDayList(int nIndex)
{
    return (nIndex >= 0 && nIndex < 7) ? &m_days[nIndex].list : nullptr;
}

BOOL CWeekPane::GetSelection(int* pDay, int* pRow) const
{
    if (m_selDay < 0 || m_selDay >= 7 || m_selRow < 0)
        return FALSE;
    *pDay = m_selDay;
    *pRow = m_selRow;
    return TRUE;
}

void CWeekPane::Layout(int nWidth, int nHeight)
{
    int nHeights[7];
    for (int i = 0; i < 7; ++i)
        nHeights[i] = m_days[i].list.GetTotalHeight();
    WeekLayout layout;
    if (!ComputeWeekLayout(nWidth, nHeight, nHeights, &layout))
        return;
    for (int i = 0; i < 7; ++i) {
        m_days[i].rc = layout.rcDays[i];
        StyleBucket(i);
        PlaceWindow(&m_days[i].list, m_days[i].rc);
    }
    PlaceWindow(&m_calendar, layout.rcCalendar);
}

void CWeekPane::StyleBucket(int nIndex)
{
    CListCtrlEx& list = m_days[nIndex].list;
    const DateTime& day = m_week.dayStart[nIndex];
    list.SetBkColor(IsSameDay(day, m_pFrame->GetToday()) ? kTodayBackground : kListBackground);
    list.SetCornerLabel(GetCornerLabel(nIndex), kCornerLabelColor, CornerBadgeBitmap(day.GetDayOfWeek()));
}

QString CWeekPane::GetCornerLabel(int nIndex) const
{
    return CornerLabelOf(m_week, nIndex, *m_pFrame);
}

void CWeekPane::paintEvent(QPaintEvent*)
{
    if (width() < kMinPaneSize || height() < kMinPaneSize)
        return;
    QPainter painter(this);
    bool bFirstLoad = false;
    if (!m_bPainted) {
        painter.fillRect(rect(), Qt::white);
        if (m_bLoadPending) {
            LoadAndLayout();
            bFirstLoad = true;
        }
    }
    painter.fillRect(rect(), ToColor(kGapColor));
    if (bFirstLoad) {
        SetLists(true);
        FocusCurrentDay();
        m_bLoadPending = FALSE;
        m_bPainted = TRUE;
    }
}

void CWeekPane::resizeEvent(QResizeEvent* pEvent)
{
    CWnd::resizeEvent(pEvent);
    if (m_bPainted)
        Layout(pEvent->size().width(), pEvent->size().height());
}

intptr_t CWeekPane::NotifyParent(unsigned nCode, int nItem, POINT pt)
{
    NMWEEKPANE nm;
    nm.iItem = nItem;
    nm.ptAction = pt;
    return SendNotify(&nm.hdr, nCode);
}

intptr_t CWeekPane::OnNotify(NMHDR* pHdr)
{
    if (pHdr->idFrom == IDC_WEEKCALENDAR) {
        if (pHdr->code == WCN_DATEPICKED)
            OnCalendarPick(reinterpret_cast<const NMWEEKCALENDAR*>(pHdr));
        return 0;
    }
    const int nIndex = static_cast<int>(pHdr->idFrom) - IDC_FIRSTDAYLIST;
    if (nIndex >= 0 && nIndex < 7 && pHdr->hwndFrom == &m_days[nIndex].list)
        OnListNotify(nIndex, reinterpret_cast<const NMLISTCTRLEX*>(pHdr));
    return 0;
}

void CWeekPane::OnListNotify(int nIndex, const NMLISTCTRLEX* pNm)
{
    switch (pNm->hdr.code) {
    case LCXN_CLICK:
    case LCXN_PENUP:
    case LCXN_PENMOVE: {
        const QPoint ptScreen = m_days[nIndex].list.mapToGlobal(QPoint(pNm->ptAction.x, pNm->ptAction.y));
        const unsigned nCode = pNm->hdr.code == LCXN_CLICK ? WPN_CLICK
                             : pNm->hdr.code == LCXN_PENUP ? WPN_PENUP
                                                           : WPN_PENMOVE;
        NotifyParent(nCode, pNm->iItem, POINT{ptScreen.x(), ptScreen.y()});
        break;
    }
    case LCXN_KEYDOWN:
        if (pNm->iItem == VK_LEFT)
            SetWeek(AddLocalDays(m_pFrame->GetCurrentDate(), -7));
        else if (pNm->iItem == VK_RIGHT)
            SetWeek(AddLocalDays(m_pFrame->GetCurrentDate(), 7));
        NotifyParent(WPN_KEYDOWN, pNm->iItem);
        break;
    case LCXN_DBLCLK:
        NotifyParent(WPN_DBLCLK, pNm->iItem);
        break;
    case LCXN_TOPREACHED:
        OnTopReached(nIndex);
        break;
    case LCXN_BOTTOMREACHED:
        OnBottomReached(nIndex);
        break;
    case LCXN_SELCHANGED:
        m_selDay = nIndex;
        m_selRow = m_days[nIndex].list.GetCurSel();
        NotifyParent(WPN_SELCHANGED);
        break;
    case LCXN_SETFOCUS:
        OnDayFocus(nIndex);
        break;
    default:
        break;
    }
}

void CWeekPane::OnCalendarPick(const NMWEEKCALENDAR* pNm)
{
    DateTime picked;
    m_calendar.GetDate(&picked);
    if (pNm->nNewWeek != pNm->nOldWeek || m_week.DayIndexOf(picked) < 0) {
        SetWeek(picked);
        return;
    }
    const DateTime old = m_pFrame->GetCurrentDate();
    m_pFrame->SetCurrentDate(picked);
    m_days[m_week.DayIndexOf(picked)].list.setFocus();
    AfterDateMove(old);
}

// After the current date moved inside the shown week: a new month shows in the
// calendar and the title.
void CWeekPane::AfterDateMove(const DateTime& oldDate)
{
    const DateTime current = m_pFrame->GetCurrentDate();
    if (current.GetMonth() == oldDate.GetMonth() && current.GetYear() == oldDate.GetYear())
        return;
    m_calendar.SetDate(current.GetYear(), current.GetMonth(), current.GetDay());
    m_calendar.update();
    NotifyParent(WPN_DATECHANGED);
}

void CWeekPane::OnDayFocus(int nIndex)
{
    m_selDay = nIndex;
    m_selRow = m_days[nIndex].list.GetCurSel();
    const DateTime old = m_pFrame->GetCurrentDate();
    m_pFrame->SetCurrentDate(m_week.dayStart[nIndex]);
    AfterDateMove(old);
    NotifyParent(WPN_SELCHANGED);
}

void CWeekPane::MoveToDay(int nIndex, int nRow)
{
    const DateTime old = m_pFrame->GetCurrentDate();
    m_pFrame->SetCurrentDate(m_week.dayStart[nIndex]);
    CListCtrlEx& list = m_days[nIndex].list;
    list.SetCurSel(nRow);
    list.setFocus();
    AfterDateMove(old);
}

void CWeekPane::OnTopReached(int nIndex)
{
    if (nIndex > 0)
        MoveToDay(nIndex - 1, m_days[nIndex - 1].list.GetItemCount() - 1);
    else
        SetWeek(AddLocalDays(m_pFrame->GetCurrentDate(), -1));
}

void CWeekPane::OnBottomReached(int nIndex)
{
    if (nIndex < 6)
        MoveToDay(nIndex + 1, 0);
    else
        SetWeek(AddLocalDays(m_pFrame->GetCurrentDate(), 1));
}
