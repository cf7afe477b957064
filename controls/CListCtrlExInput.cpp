// CListCtrlEx: pen, keys, focus, size and the scroll strip's repeat timers.
#include "controls/CListCtrlEx.h"
#include "controls/ListMetrics.h"
#include "controls/VirtualKey.h"
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>

namespace {

constexpr int kRepeatPeriodMs = 100;
constexpr int kIdleTicks = 2;  // repetition starts on the third tick
constexpr int kWheelNotch = 120;  // angle delta of one wheel step: one row

}  // namespace

intptr_t CListCtrlEx::Notify(unsigned nCode, int nItem, int x, int y)
{
    NMLISTCTRLEX nm;
    nm.iItem = nItem;
    nm.ptAction.x = x;
    nm.ptAction.y = y;
    return SendNotify(&nm.hdr, nCode);
}

void CListCtrlEx::SetCurSel(int nRow)
{
    if (nRow < 0 || nRow >= m_nRowCount || nRow == m_nCurSel)
        return;
    m_nCurSel = nRow;
    QPointer<CListCtrlEx> pSelf(this);
    Notify(LCXN_SELCHANGED, nRow);
    if (pSelf)
        update();
}

void CListCtrlEx::ScrollTo(int nTopRow)
{
    if (nTopRow == m_nTopRow)
        return;
    m_nTopRow = nTopRow;
    update();
}

void CListCtrlEx::StartRepeat(int nDragMode, int nTimerId)
{
    m_nDragMode = nDragMode;
    m_nTimerTicks = 0;
    m_nTimerId = nTimerId;
    m_repeatTimer.start(kRepeatPeriodMs, this);
}

void CListCtrlEx::StopRepeat()
{
    m_repeatTimer.stop();
    m_nTimerId = 0;
}

// ---- Pen ----------------------------------------------------------------------------

void CListCtrlEx::mousePressEvent(QMouseEvent* pEvent)
{
    // Accepted without the base handling, so the press does not travel on to the owner.
    if (pEvent->button() == Qt::LeftButton) {
        const QPoint pt = pEvent->position().toPoint();
        OnLButtonDown(pt.x(), pt.y());
    }
}

void CListCtrlEx::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    OnMouseMove(pt.x(), pt.y());
}

void CListCtrlEx::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        const QPoint pt = pEvent->position().toPoint();
        OnLButtonUp(pt.x(), pt.y());
    }
}

void CListCtrlEx::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    // The second press of a double tap is a press as any other; the double tap is told
    // once that press has been handled.
    mousePressEvent(pEvent);
    if (pEvent->button() == Qt::LeftButton && m_nCurSel >= 0)
        Notify(LCXN_DBLCLK, m_nCurSel);
}

void CListCtrlEx::OnLButtonDown(int x, int y)
{
    QPointer<CListCtrlEx> pSelf(this);
    setFocus(Qt::MouseFocusReason);  // the focus handling runs (and notifies) first
    if (!pSelf)
        return;
    m_nPressY = 0;
    m_nThumbGrabOffset = 0;
    m_nDragMode = 4;
    m_bCaptured = TRUE;
    if (m_bScrollStripShown && x >= width() - LCX_STRIP_WIDTH) {
        OnStripDown(x, y);
        return;
    }
    SelectAt(x, y);
}

void CListCtrlEx::OnStripDown(int x, int y)
{
    if (y >= m_rcThumb.top && y <= m_rcThumb.bottom) {
        m_nDragMode = 1;
        m_nThumbGrabOffset = y - m_rcThumb.top;
        return;
    }
    m_nPressY = y;
    if (InUpArrow(width(), x, y)) {
        if (m_nTopRow > 0) {
            StartRepeat(2, LCX_TIMER_LINEUP);
            ScrollTo(m_nTopRow - 1);
        }
    } else if (InDownArrow(width(), height(), x, y)) {
        if (m_nTopRow < m_nMaxTopRow) {
            StartRepeat(2, LCX_TIMER_LINEDOWN);
            ScrollTo(m_nTopRow + 1);
        }
    } else if (y < m_rcThumb.top) {
        StartRepeat(3, LCX_TIMER_PAGEUP);
        ScrollTo(std::max(m_nTopRow - m_nLastPageRows, 0));
    } else {
        StartRepeat(3, LCX_TIMER_PAGEDOWN);
        ScrollTo(std::min(m_nTopRow + m_nLastPageRows, m_nMaxTopRow));
    }
}

void CListCtrlEx::SelectAt(int x, int y)
{
    const int nOldSel = m_nCurSel;
    int nNewSel = m_nRowCount - 1;
    if (x < width())
        nNewSel = RowAtY(m_rowHeights, m_nTopRow, y);
    m_nCurSel = nNewSel;
    if (nNewSel != nOldSel) {
        QPointer<CListCtrlEx> pSelf(this);
        EnsureSelVisible();
        Notify(LCXN_SELCHANGED, m_nCurSel);
        if (!pSelf)
            return;
        update();
    }
    Notify(LCXN_CLICK, m_nCurSel, x, y);
}

void CListCtrlEx::OnMouseMove(int x, int y)
{
    if (m_nDragMode == 1 && m_bCaptured) {
        const int nThumbHeight = m_rcThumb.bottom - m_rcThumb.top;
        ScrollTo(TopRowForThumbTop(m_rowHeights, m_nMaxTopRow, m_nTotalHeight, height(), nThumbHeight,
                                   y - m_nThumbGrabOffset));
    }
    Notify(LCXN_PENMOVE, m_nCurSel, x, y);
}

void CListCtrlEx::OnLButtonUp(int x, int y)
{
    if (m_bCaptured) {
        m_nDragMode = 0;
        StopRepeat();
        m_bCaptured = FALSE;
    }
    Notify(LCXN_PENUP, m_nCurSel, x, y);
}

// ---- Repeat timers ------------------------------------------------------------------

void CListCtrlEx::timerEvent(QTimerEvent* pEvent)
{
    if (pEvent->timerId() == m_repeatTimer.timerId()) {
        OnTimer(m_nTimerId);
        return;
    }
    CWnd::timerEvent(pEvent);
}

void CListCtrlEx::OnTimer(int nTimerId)
{
    if (m_nTimerTicks < kIdleTicks) {
        ++m_nTimerTicks;
        return;
    }
    switch (nTimerId) {
    case LCX_TIMER_LINEUP:
        ScrollTo(std::max(m_nTopRow - 1, 0));
        break;
    case LCX_TIMER_LINEDOWN:
        ScrollTo(std::min(m_nTopRow + 1, m_nMaxTopRow));
        break;
    case LCX_TIMER_PAGEUP:
        if (m_rcThumb.top > m_nPressY) {
            ScrollTo(std::max(m_nTopRow - m_nLastPageRows, 0));
        } else {
            StopRepeat();
            m_bCaptured = FALSE;
        }
        break;
    case LCX_TIMER_PAGEDOWN:
        if (m_rcThumb.bottom < m_nPressY) {
            ScrollTo(std::min(m_nTopRow + m_nLastPageRows, m_nMaxTopRow));
        } else {
            StopRepeat();
            m_bCaptured = FALSE;
        }
        break;
    default:
        break;
    }
}

// A mouse wheel scrolls as the strip's arrows do, without moving the selection.
void CListCtrlEx::wheelEvent(QWheelEvent* pEvent)
{
    m_nWheelDelta += pEvent->angleDelta().y();
    const int nRows = m_nWheelDelta / kWheelNotch;
    m_nWheelDelta -= nRows * kWheelNotch;
    if (nRows != 0)
        ScrollTo(std::clamp(m_nTopRow - nRows, 0, std::max(m_nMaxTopRow, 0)));
    pEvent->accept();
}

// ---- Keys, focus, size --------------------------------------------------------------

void CListCtrlEx::keyPressEvent(QKeyEvent* pEvent)
{
    OnKeyDown(VirtualKeyFromQt(pEvent->key()));
}

void CListCtrlEx::keyReleaseEvent(QKeyEvent* pEvent)
{
    if (!pEvent->isAutoRepeat())
        OnKeyUp(VirtualKeyFromQt(pEvent->key()));
}

void CListCtrlEx::OnKeyDown(int nVirtKey)
{
    QPointer<CListCtrlEx> pSelf(this);
    BOOL bMoved = FALSE;
    if (nVirtKey == VK_UP && m_nCurSel < 1) {
        Notify(LCXN_TOPREACHED, m_nCurSel);
    } else if (nVirtKey == VK_UP) {
        --m_nCurSel;
        bMoved = TRUE;
    } else if (nVirtKey == VK_DOWN && m_nCurSel >= m_nRowCount - 1) {
        Notify(LCXN_BOTTOMREACHED, m_nCurSel);
    } else if (nVirtKey == VK_DOWN) {
        ++m_nCurSel;  // from no selection to row 0
        bMoved = TRUE;
    }
    if (!pSelf)
        return;
    if (bMoved) {
        EnsureSelVisible();
        Notify(LCXN_SELCHANGED, m_nCurSel);
        if (!pSelf)
            return;
        update();
    }
    Notify(LCXN_KEYDOWN, nVirtKey);
}

void CListCtrlEx::OnKeyUp(int nVirtKey)
{
    Notify(LCXN_KEYUP, nVirtKey);
}

void CListCtrlEx::focusInEvent(QFocusEvent* pEvent)
{
    CWnd::focusInEvent(pEvent);
    OnSetFocus();
}

void CListCtrlEx::focusOutEvent(QFocusEvent* pEvent)
{
    CWnd::focusOutEvent(pEvent);
    OnKillFocus();
}

void CListCtrlEx::OnSetFocus()
{
    m_bHasFocus = TRUE;
    EnsureSelVisible();
    QPointer<CListCtrlEx> pSelf(this);
    Notify(LCXN_SETFOCUS, m_nCurSel);
    if (pSelf)
        update();
}

void CListCtrlEx::OnKillFocus()
{
    m_bHasFocus = FALSE;
    QPointer<CListCtrlEx> pSelf(this);
    Notify(LCXN_KILLFOCUS, m_nCurSel);
    if (pSelf)
        update();
}

void CListCtrlEx::resizeEvent(QResizeEvent* pEvent)
{
    CWnd::resizeEvent(pEvent);
    std::fill(m_rowDirty.begin(), m_rowDirty.end(), 1);
}
