#include "controls/ListMetrics.h"
#include "controls/ListTags.h"
#include <algorithm>
#include <cstdint>

int ListLineHeight(int nFontSize)
{
    return nFontSize + (nFontSize + 4) / 5;
}

int IconReservedWidth(int nIconFlags)
{
    int nWidth = 0;
    for (const TrailingIcon& icon : LCX_TRAILING_ICONS) {
        if ((nIconFlags & icon.nFlag) != 0)
            nWidth += icon.nWidth;
    }
    return nWidth;
}

int IconOffset(int nFontSize)
{
    return nFontSize / 2 - 4;
}

LastPage ComputeLastPage(const std::vector<int>& rowHeights, int nClientHeight)
{
    LastPage page;
    const int nCount = static_cast<int>(rowHeights.size());
    int nSum = 0;
    int i = nCount - 1;
    for (; i >= 0; --i) {
        if (nSum + rowHeights[i] > nClientHeight)
            break;
        nSum += rowHeights[i];
        page.nMaxTopRow = i;
    }
    // A last row taller than the client area is a page of its own; the list must still
    // scroll down to it.
    if (nCount > 0 && i == nCount - 1)
        page.nMaxTopRow = nCount - 1;
    page.nLastPageRows = nCount - page.nMaxTopRow;
    return page;
}

int SumHeights(const std::vector<int>& rowHeights, int nFirst, int nEnd)
{
    int nSum = 0;
    for (int i = std::max(nFirst, 0); i < nEnd && i < static_cast<int>(rowHeights.size()); ++i)
        nSum += rowHeights[i];
    return nSum;
}

int TopRowForSelection(const std::vector<int>& rowHeights, int nTopRow, int nSel, int nClientHeight)
{
    if (nSel < nTopRow)
        return nSel < 1 ? 0 : nSel;
    if (nSel >= static_cast<int>(rowHeights.size()))
        return nTopRow;
    if (SumHeights(rowHeights, nTopRow, nSel + 1) <= nClientHeight)
        return nTopRow;
    int nSum = 0;
    int i = nSel;
    for (; i >= 0; --i) {
        if (nSum + rowHeights[i] > nClientHeight)
            break;
        nSum += rowHeights[i];
    }
    return std::min(i + 1, nSel);
}

BOOL ScrollStripNeeded(const std::vector<int>& rowHeights, int nTopRow, int nClientHeight)
{
    const int nBelow = SumHeights(rowHeights, nTopRow, static_cast<int>(rowHeights.size()));
    return nTopRow != 0 || nBelow > nClientHeight;
}

RECT ComputeThumbRect(int nWidth, int nClientHeight, int nTotalHeight, int nAboveHeight)
{
    const int64_t nTrack = std::max(nClientHeight - LCX_TRACK_MARGIN, 0);
    const int64_t nTotal = std::max(nTotalHeight, 1);
    // Rows shorter than the client area would make the thumb longer than its track and
    // push its top over the up arrow; the thumb stays within the track.
    const int nThumb = static_cast<int>(std::min(int64_t{nClientHeight} * nTrack / nTotal, nTrack));
    int nTop = static_cast<int>(int64_t{std::max(nAboveHeight, 0)} * nTrack / nTotal) + LCX_THUMB_OFFSET;
    const int nLowest = nClientHeight - LCX_BADGE_HEIGHT - nThumb - LCX_THUMB_OFFSET;
    if (nTop > nLowest)
        nTop = nLowest;
    nTop = std::max(nTop, LCX_THUMB_OFFSET);
    RECT rc;
    rc.left = nWidth - LCX_THUMB_LEFT;
    rc.top = nTop;
    rc.right = nWidth - LCX_THUMB_RIGHT;
    rc.bottom = nTop + nThumb;
    return rc;
}

int TopRowForThumbTop(const std::vector<int>& rowHeights, int nMaxTopRow, int nTotalHeight,
                      int nClientHeight, int nThumbHeight, int nWantedTop)
{
    const int64_t nTrack = std::max(nClientHeight - LCX_TRACK_MARGIN, 0);
    const int64_t nTotal = std::max(nTotalHeight, 1);
    const int nLowest = nClientHeight - LCX_BADGE_HEIGHT - nThumbHeight - LCX_THUMB_OFFSET;
    int nAbove = 0;
    for (int i = 0; i <= nMaxTopRow && i < static_cast<int>(rowHeights.size()); ++i) {
        const int nTop = static_cast<int>(nAbove * nTrack / nTotal) + LCX_THUMB_OFFSET;
        if (nWantedTop <= nTop || nTop >= nLowest)
            return i;
        nAbove += rowHeights[i];
    }
    return nMaxTopRow;
}

int RowAtY(const std::vector<int>& rowHeights, int nTopRow, int y)
{
    const int nCount = static_cast<int>(rowHeights.size());
    int nBottom = 0;
    for (int i = std::max(nTopRow, 0); i < nCount; ++i) {
        nBottom += rowHeights[i];
        if (nBottom > y)
            return i;
    }
    return nCount - 1;
}

BOOL InUpArrow(int nWidth, int x, int y)
{
    return x >= nWidth - LCX_STRIP_WIDTH && x < nWidth && y >= 0 && y < LCX_ARROW_HIT_HEIGHT;
}

BOOL InDownArrow(int nWidth, int nClientHeight, int x, int y)
{
    return x >= nWidth - LCX_STRIP_WIDTH && x < nWidth
        && y >= nClientHeight - LCX_BADGE_HEIGHT - LCX_ARROW_HIT_HEIGHT && y < nClientHeight - LCX_BADGE_HEIGHT;
}
