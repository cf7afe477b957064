#include "controls/CListCtrlEx.h"
#include "controls/BitmapDraw.h"
#include "controls/GdiDraw.h"
#include "controls/ListMetrics.h"
#include "controls/ListTags.h"
#include "controls/TextMeasurer.h"
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kArrowActive = 0x000000;
constexpr COLORREF kStripGrey = 0xAAAAAA;
constexpr int kBadgeWidth = 38;  // the badge starts 38 pixels left of the right edge

QFont MakeFont(const QString& strFace, int nSize, bool bBold, bool bStrikeOut)
{
    QFont font(strFace);
    font.setPixelSize(std::max(nSize, 1));
    font.setWeight(bBold ? QFont::Bold : QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(bStrikeOut);
    return font;
}

// White pixels of a picture take the list's background unless it is white anyway.
int DrawListBitmap(QPainter* pDC, int x, int y, int nBitmapId, COLORREF crBk)
{
    if (crBk == kWhite)
        return DrawBitmap(pDC, x, y, nBitmapId);
    return DrawBitmapTransparent(pDC, x, y, nBitmapId);
}

}  // namespace

CListCtrlEx::CListCtrlEx(QWidget* pParent)
    : CWnd(pParent)
{
    m_rcThumb = RECT();
    SetFonts(QStringLiteral("Tahoma"), m_nFontSize, QStringLiteral("Tahoma"), m_nFontSize);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);  // pen moves are reported without a pressed pen too
    setFocusPolicy(Qt::TabFocus);
}

CListCtrlEx::~CListCtrlEx() = default;

void CListCtrlEx::SetFonts(const QString& strFace, int nSize, const QString& strLabelFace, int nLabelSize)
{
    m_nFontSize = nSize;
    m_fontNormal = MakeFont(strFace, nSize, false, false);
    m_fontBold = MakeFont(strFace, nSize, true, false);
    m_fontStrike = MakeFont(strFace, nSize, false, true);
    m_fontBoldStrike = MakeFont(strFace, nSize, true, true);
    m_fontLabel = MakeFont(strLabelFace, nLabelSize, false, false);
    m_measures.clear();
    for (const QFont* pFont : {&m_fontNormal, &m_fontBold, &m_fontStrike, &m_fontBoldStrike})
        m_measures.emplace_back(*pFont);
    // Text measured in the old fonts no longer fits.
    std::fill(m_rowDirty.begin(), m_rowDirty.end(), 1);
}

BOOL CListCtrlEx::SetColumnCount(int nCount)
{
    if (nCount < 0)
        return FALSE;
    DeleteAllItems();
    m_nColumnCount = nCount;
    m_columnWidths.assign(static_cast<size_t>(nCount), 0);
    return TRUE;
}

BOOL CListCtrlEx::SetColumnWidth(int nColumn, int nWidth)
{
    if (nColumn < 0 || nColumn >= m_nColumnCount || nWidth < 0)
        return FALSE;
    m_columnWidths[static_cast<size_t>(nColumn)] = nWidth;
    return TRUE;
}

BOOL CListCtrlEx::AddRow(const QString& strLabel, const QString& strText)
{
    ++m_nRowCount;
    m_rowHeights.push_back(m_nFontSize + 1);
    m_rowDirty.push_back(1);
    auto pRow = std::make_unique<ListRow>();
    // Every row has its label and text cell even before the columns are set.
    pRow->cells.resize(static_cast<size_t>(std::max(m_nColumnCount, 2)));
    const QString texts[2] = {strLabel, strText};
    for (size_t c = 0; c < pRow->cells.size(); ++c) {
        pRow->cells[c] = std::make_unique<ListCell>();
        pRow->cells[c]->strText = c < 2 ? texts[c] : QString();
        pRow->cells[c]->crText = m_crText;
    }
    m_rows.push_back(std::move(pRow));
    if (m_nRowCount == 1)
        m_nCurSel = 0;
    update();
    return TRUE;
}

BOOL CListCtrlEx::DeleteAllItems()
{
    m_rows.clear();
    m_rowHeights.clear();
    m_rowDirty.clear();
    m_nRowCount = 0;
    m_nTopRow = 0;
    m_nCurSel = -1;
    m_nMaxTopRow = 0;
    m_nLastPageRows = 0;
    return TRUE;
}

void CListCtrlEx::GetCell(int nRow, int nColumn, ListCell** ppCell) const
{
    if (ppCell == nullptr || nRow < 0 || nRow >= m_nRowCount || nColumn < 0)
        return;
    const ListRow& row = *m_rows[static_cast<size_t>(nRow)];
    if (nColumn >= static_cast<int>(row.cells.size()))
        return;
    *ppCell = row.cells[static_cast<size_t>(nColumn)].get();
}

void CListCtrlEx::EnsureSelVisible()
{
    m_nTopRow = TopRowForSelection(m_rowHeights, m_nTopRow, m_nCurSel, height());
}

int CListCtrlEx::GetTotalHeight() const
{
    return SumHeights(m_rowHeights, 0, m_nRowCount);
}

int CListCtrlEx::GetRowHeight(int nRow) const
{
    if (nRow < 0 || nRow >= m_nRowCount)
        return 0;
    return m_rowHeights[static_cast<size_t>(nRow)];
}

void CListCtrlEx::SetCornerLabel(const QString& strLabel, COLORREF crText, int nBitmapId)
{
    m_strLabel = strLabel;
    m_crLabelText = crText;
    m_nLabelBitmap = nBitmapId;
}

void CListCtrlEx::SetMultiline(BOOL bMultiline, BOOL bRedraw)
{
    m_bMultiline = bMultiline;
    if (bRedraw)
        update();
}

int CListCtrlEx::CellFontIndex(const ListCell& cell) const
{
    return (cell.bBold ? 1 : 0) + (cell.bStrikeOut ? 2 : 0);
}

const QFont& CListCtrlEx::CellFont(const ListCell& cell) const
{
    return CellMeasure(cell).GetFont();
}

const TextMeasurer& CListCtrlEx::CellMeasure(const ListCell& cell) const
{
    return m_measures[static_cast<size_t>(CellFontIndex(cell))];
}

int CListCtrlEx::ColumnWidth(int nColumn, int x, int nWidth, const ListCell& cell) const
{
    const int nFixed = m_columnWidths[static_cast<size_t>(nColumn)];
    if (nFixed > 0)
        return nFixed;
    if (nColumn == m_nColumnCount - 1)
        return nWidth - x;
    const int nText = TextExtent(CellMeasure(cell), cell.strText) + 2;
    return x + nText > nWidth ? nWidth - x : nText;
}

int CListCtrlEx::ColumnCountOf(const ListRow& row) const
{
    return std::min(m_nColumnCount, static_cast<int>(row.cells.size()));
}

// ---- Layout -------------------------------------------------------------------------

// Only the rows that are drawn are fitted to the width. A single-line row is one line
// high whatever its text, so every height is known without measuring; in multi-line mode
// a row is measured when it comes into view, and the rows of the last page are measured
// for the scroll limit. Rows never drawn stay dirty.
void CListCtrlEx::LayoutDirtyRows()
{
    if (std::find(m_rowDirty.begin(), m_rowDirty.end(), 1) == m_rowDirty.end())
        return;
    if (m_bMultiline)
        LayoutLastPage();
    else
        SetSingleLineHeights();
    const LastPage page = ComputeLastPage(m_rowHeights, height());
    m_nMaxTopRow = page.nMaxTopRow;
    m_nLastPageRows = page.nLastPageRows;
    // A list scrolled down and then made taller (or wider, with fewer lines) shows its last
    // page; once every row fits that is row 0, and the strip goes away.
    m_nTopRow = std::min(m_nTopRow, m_nMaxTopRow);
    LayoutShownRows();
}

void CListCtrlEx::SetSingleLineHeights()
{
    const int nLineHeight = ListLineHeight(m_nFontSize);
    for (int r = 0; r < m_nRowCount; ++r) {
        if (m_rowDirty[static_cast<size_t>(r)] != 0)
            m_rowHeights[static_cast<size_t>(r)] = nLineHeight;
    }
}

void CListCtrlEx::LayoutLastPage()
{
    int nSum = 0;
    for (int r = m_nRowCount - 1; r >= 0 && nSum <= height(); --r) {
        if (m_rowDirty[static_cast<size_t>(r)] != 0)
            LayoutRow(r, width());
        nSum += m_rowHeights[static_cast<size_t>(r)];
    }
}

void CListCtrlEx::LayoutShownRows()
{
    int y = 0;
    for (int r = m_nTopRow; r < m_nRowCount && y <= height(); ++r) {
        if (m_rowDirty[static_cast<size_t>(r)] != 0)
            LayoutRow(r, width());
        y += m_rowHeights[static_cast<size_t>(r)];
    }
}

void CListCtrlEx::LayoutRow(int nRow, int nWidth)
{
    ListRow& row = *m_rows[static_cast<size_t>(nRow)];
    int x = 1;
    for (int c = 0; c < ColumnCountOf(row); ++c) {
        ListCell& cell = *row.cells[static_cast<size_t>(c)];
        if (IsListTag(cell.strText)) {
            const int nFixed = m_columnWidths[static_cast<size_t>(c)];
            cell.nWidth = nFixed > 0 ? nFixed : LCX_TAG_WIDTH;
            x += cell.nWidth;
            continue;
        }
        const int nIcons = IconReservedWidth(cell.nIconFlags);
        const int w = ColumnWidth(c, x, nWidth, cell);
        cell.nWidth = w;
        x += w;
        const TextMeasurer& measure = CellMeasure(cell);
        cell.strDisplay = m_bMultiline ? FitMultiLine(measure, cell.strText, w, nIcons)
                                       : FitSingleLine(measure, cell.strText, w, nIcons);
        // A single-line row draws its text on one line, line breaks and all.
        const int nLines = m_bMultiline ? CountLines(cell.strDisplay) : 1;
        m_rowHeights[static_cast<size_t>(nRow)] = ListLineHeight(m_nFontSize) * nLines;
    }
    m_rowDirty[static_cast<size_t>(nRow)] = 0;
}

// ---- Painting -----------------------------------------------------------------------

void CListCtrlEx::paintEvent(QPaintEvent* /*pEvent*/)
{
    PaintBuffered([this](QPainter* pDC) { PaintTo(pDC); });
}

void CListCtrlEx::PaintTo(QPainter* pDC)
{
    FillGdiRect(pDC, 0, 0, width(), height(), m_crBk);
    if (m_nRowCount > 0) {
        LayoutDirtyRows();
        DrawRows(pDC, height());
        DrawScrollStrip(pDC, width(), height());
    } else {
        m_bScrollStripShown = FALSE;
    }
    DrawCornerBadge(pDC, width(), height());
}

// Two passes: every text box's background first, then the glyphs and pictures. Lines are
// H + 1 apart while a face is often taller than that, so a box filled after the line above
// was drawn would cut off its descenders.
void CListCtrlEx::DrawRows(QPainter* pDC, int nHeight)
{
    for (const bool bBackgrounds : {true, false}) {
        int y = 0;
        for (int r = m_nTopRow; r < m_nRowCount && y <= nHeight; ++r) {
            const ListRow& row = *m_rows[static_cast<size_t>(r)];
            int x = 1;
            for (int c = 0; c < ColumnCountOf(row); ++c) {
                const ListCell& cell = *row.cells[static_cast<size_t>(c)];
                const BOOL bSelected = m_bHasFocus && r == m_nCurSel && c == 0;
                if (!IsListTag(cell.strText))
                    DrawTextCell(pDC, cell, bSelected, x, y, bBackgrounds);
                else if (!bBackgrounds)
                    DrawListBitmap(pDC, x, y + IconOffset(m_nFontSize) - 1, TagBitmapId(cell.strText, bSelected),
                                   m_crBk);
                x += cell.nWidth;
            }
            y += m_rowHeights[static_cast<size_t>(r)];
        }
    }
}

void CListCtrlEx::DrawTextCell(QPainter* pDC, const ListCell& cell, BOOL bSelected, int x, int y, bool bBackground)
{
    const QColor crBk = ColorFromRef(bSelected ? m_crSelBk : m_crBk);
    const QColor crText = ColorFromRef(bSelected ? m_crSelText : cell.crText);
    const QFont& font = CellFont(cell);
    const TextMeasurer& measure = CellMeasure(cell);
    const QFontMetrics metrics(font);
    const QStringList lines = m_bMultiline ? cell.strDisplay.split(QLatin1Char('\n'))
                                           : QStringList{cell.strDisplay};
    pDC->save();
    pDC->setFont(font);
    pDC->setPen(crText);
    int nEnd = x;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            y += m_nFontSize + 1;
        const int nExtent = TextExtent(measure, lines[i]);
        if (bBackground)
            pDC->fillRect(x, y, nExtent, metrics.height(), crBk);  // the text's box behind the glyphs
        else
            pDC->drawText(QPointF(x, y + metrics.ascent()), lines[i]);
        nEnd = x + nExtent;
    }
    pDC->restore();
    if (bBackground)
        return;
    const int yIcon = y + IconOffset(m_nFontSize);
    for (const TrailingIcon& icon : LCX_TRAILING_ICONS) {
        if ((cell.nIconFlags & icon.nFlag) != 0)
            nEnd += DrawListBitmap(pDC, nEnd, yIcon, icon.nBitmapId, m_crBk);
    }
}

void CListCtrlEx::DrawScrollStrip(QPainter* pDC, int nWidth, int nHeight)
{
    if (!ScrollStripNeeded(m_rowHeights, m_nTopRow, nHeight)) {
        m_bScrollStripShown = FALSE;
        return;
    }
    m_bScrollStripShown = TRUE;
    const int nBelow = SumHeights(m_rowHeights, m_nTopRow, m_nRowCount);
    FillGdiRect(pDC, nWidth - LCX_STRIP_WIDTH, 0, nWidth, nHeight - LCX_BADGE_HEIGHT, m_crBk);
    const POINT up[3] = {{nWidth - 10, 6}, {nWidth - 2, 6}, {nWidth - 6, 2}};
    FillGdiTriangle(pDC, up, m_nTopRow != 0 ? kArrowActive : kStripGrey);
    const POINT down[3] = {{nWidth - 10, nHeight - 19}, {nWidth - 2, nHeight - 19}, {nWidth - 6, nHeight - 15}};
    FillGdiTriangle(pDC, down, nBelow > nHeight ? kArrowActive : kStripGrey);
    m_nTotalHeight = GetTotalHeight();
    m_rcThumb = ComputeThumbRect(nWidth, nHeight, m_nTotalHeight, SumHeights(m_rowHeights, 0, m_nTopRow));
    FillGdiRect(pDC, m_rcThumb.left, m_rcThumb.top, m_rcThumb.right, m_rcThumb.bottom, kStripGrey);
}

void CListCtrlEx::DrawCornerBadge(QPainter* pDC, int nWidth, int nHeight)
{
    const int x = nWidth - kBadgeWidth;
    const int y = nHeight - LCX_BADGE_HEIGHT;
    if (m_nLabelBitmap != 0)
        DrawBitmapTransparent(pDC, x, y, m_nLabelBitmap);
    pDC->save();
    pDC->setFont(m_fontLabel);
    pDC->setPen(ColorFromRef(m_crLabelText));
    pDC->drawText(QRect(x, y, kBadgeWidth, LCX_BADGE_HEIGHT), Qt::AlignHCenter | Qt::AlignTop, m_strLabel);
    pDC->restore();
}
