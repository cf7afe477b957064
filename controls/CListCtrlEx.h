#pragma once
// The owner-drawn day list: rows of a label cell (tag picture or text) and a text cell,
// laid out single-line with "..." or word-wrapped, painted double-buffered with a thin
// scroll strip on the right edge and a badge in the bottom-right corner. Pen, keys,
// focus and selection changes are reported to the owner as NMLISTCTRLEX records.
#include "controls/CWnd.h"
#include "controls/ListCell.h"
#include "controls/TextMeasurer.h"
#include <QBasicTimer>
#include <QFont>
#include <QString>
#include <memory>
#include <vector>

class QPainter;

struct NMLISTCTRLEX {
    NMHDR hdr;
    int32_t iItem = -1;  // the selection (-1 none) or, for the key codes, the virtual key
    POINT ptAction;      // pen point in client coordinates, (0, 0) for other codes
};

constexpr unsigned LCXN_SETFOCUS = 0x01;
constexpr unsigned LCXN_KILLFOCUS = 0x02;
constexpr unsigned LCXN_CLICK = 0x04;
constexpr unsigned LCXN_PENUP = 0x08;
constexpr unsigned LCXN_KEYUP = 0x10;
constexpr unsigned LCXN_KEYDOWN = 0x11;
constexpr unsigned LCXN_TOPREACHED = 0x12;
constexpr unsigned LCXN_BOTTOMREACHED = 0x14;
constexpr unsigned LCXN_SELCHANGED = 0x21;
constexpr unsigned LCXN_PENMOVE = 0x22;
constexpr unsigned LCXN_DBLCLK = 0x23;  // a double tap on a row (after its click and pen-up)

// Repeat timers of the scroll strip (100 ms each).
constexpr int LCX_TIMER_LINEUP = 272;
constexpr int LCX_TIMER_LINEDOWN = 273;
constexpr int LCX_TIMER_PAGEUP = 274;
constexpr int LCX_TIMER_PAGEDOWN = 275;

class CListCtrlEx : public CWnd {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* pParent = nullptr);
    ~CListCtrlEx() override;

    // Sizes are font heights in pixels; the first is the text height H of the layout.
    void SetFonts(const QString& strFace, int nSize, const QString& strLabelFace, int nLabelSize);
    BOOL SetColumnCount(int nCount);
    BOOL SetColumnWidth(int nColumn, int nWidth);
    BOOL AddRow(const QString& strLabel, const QString& strText);
    BOOL DeleteAllItems();
    int GetItemCount() const { return m_nRowCount; }
    // Leaves *ppCell unchanged when the row or column is outside the table.
    void GetCell(int nRow, int nColumn, ListCell** ppCell) const;
    int GetCurSel() const { return m_nCurSel; }
    void SetCurSel(int nRow);
    void EnsureSelVisible();
    int GetTotalHeight() const;
    void SetBkColor(COLORREF cr) { m_crBk = cr; }
    COLORREF GetBkColor() const { return m_crBk; }
    void SetCornerLabel(const QString& strLabel, COLORREF crText, int nBitmapId);
    void SetMultiline(BOOL bMultiline, BOOL bRedraw);

    // State of the last layout and paint, for the owner and for tests.
    int GetTopRow() const { return m_nTopRow; }
    int GetMaxTopRow() const { return m_nMaxTopRow; }
    int GetLastPageRows() const { return m_nLastPageRows; }
    int GetRowHeight(int nRow) const;
    BOOL IsScrollStripShown() const { return m_bScrollStripShown; }
    RECT GetThumbRect() const { return m_rcThumb; }
    BOOL HasFocus() const { return m_bHasFocus; }
    int GetDragMode() const { return m_nDragMode; }
    int GetTimerId() const { return m_nTimerId; }  // 0 while no repeat timer runs

    // Lays out the dirty rows for the current size (the first step of every paint).
    void LayoutDirtyRows();
    // Paints the whole client area into pDC as one paint would.
    void PaintTo(QPainter* pDC);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void timerEvent(QTimerEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;

    // The handlers, in client coordinates and virtual-key codes.
    void OnLButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnKeyDown(int nVirtKey);
    void OnKeyUp(int nVirtKey);
    void OnSetFocus();
    void OnKillFocus();
    void OnTimer(int nTimerId);

private:
    intptr_t Notify(unsigned nCode, int nItem, int x = 0, int y = 0);
    // The cell's text font (normal, bold, strike-out or both) and its measurer.
    int CellFontIndex(const ListCell& cell) const;
    const QFont& CellFont(const ListCell& cell) const;
    const TextMeasurer& CellMeasure(const ListCell& cell) const;
    // The width column nColumn takes at x in a client area nWidth wide.
    int ColumnWidth(int nColumn, int x, int nWidth, const ListCell& cell) const;
    int ColumnCountOf(const ListRow& row) const;
    void LayoutRow(int nRow, int nWidth);
    void SetSingleLineHeights();
    void LayoutLastPage();
    void LayoutShownRows();
    // Draws from the layout: strDisplay, the cells' widths and the row heights.
    void DrawRows(QPainter* pDC, int nHeight);
    // Either the boxes behind the lines (bBackground) or the lines and trailing icons.
    void DrawTextCell(QPainter* pDC, const ListCell& cell, BOOL bSelected, int x, int y, bool bBackground);
    void DrawScrollStrip(QPainter* pDC, int nWidth, int nHeight);
    void DrawCornerBadge(QPainter* pDC, int nWidth, int nHeight);
    void OnStripDown(int x, int y);
    void SelectAt(int x, int y);
    void StartRepeat(int nDragMode, int nTimerId);
    void StopRepeat();
    void ScrollTo(int nTopRow);

    std::vector<std::unique_ptr<ListRow>> m_rows;
    int m_nDragMode = 0;          // 0 none, 1 thumb drag, 2 arrow repeat, 3 page repeat, 4 pen in list
    BOOL m_bScrollStripShown = FALSE;
    int m_nTimerId = 0;           // LCX_TIMER_* of the running repeat timer, 0 none
    int m_nTimerTicks = 0;
    RECT m_rcThumb;
    int m_nPressY = 0;
    int m_nThumbGrabOffset = 0;
    int m_nTotalHeight = 0;
    BOOL m_bHasFocus = FALSE;
    BOOL m_bMultiline = TRUE;
    int m_nRowCount = 0;
    int m_nColumnCount = 0;
    int m_nCurSel = -1;
    int m_nTopRow = 0;
    int m_nMaxTopRow = 0;
    int m_nLastPageRows = 0;
    std::vector<int> m_rowHeights;
    std::vector<int> m_rowDirty;
    std::vector<int> m_columnWidths;
    int m_nFontSize = 10;         // H: pixel height of the text font
    QFont m_fontNormal;
    QFont m_fontBold;
    QFont m_fontStrike;
    QFont m_fontBoldStrike;
    QFont m_fontLabel;
    std::vector<TextMeasurer> m_measures;  // of the four text fonts, in CellFontIndex order
    COLORREF m_crBk = 0xFFFFFF;
    COLORREF m_crText = 0x000000;
    COLORREF m_crSelBk = 0x000000;
    COLORREF m_crSelText = 0xFFFFFF;
    QString m_strLabel;
    int m_nLabelBitmap = 0;
    COLORREF m_crLabelText = 0x000000;
    BOOL m_bCaptured = FALSE;     // the pen is held by this control
    int m_nWheelDelta = 0;        // wheel angle not yet turned into whole rows
    QBasicTimer m_repeatTimer;
};
