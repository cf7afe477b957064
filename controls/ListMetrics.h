#pragma once
// Geometry of the day list in plain numbers: row heights, the last page, keeping the
// selection visible, the scroll strip's thumb and hit areas. H is the pixel height of
// the text font, Hc the client height, W the client width.
#include "platform/WinTypes.h"
#include <vector>

constexpr int LCX_TAG_WIDTH = 11;        // a tag column without a fixed width
constexpr int LCX_STRIP_WIDTH = 10;      // the scroll strip is x >= W - 10
constexpr int LCX_BADGE_HEIGHT = 12;     // the corner badge is the bottom 12 rows
constexpr int LCX_TRACK_MARGIN = 28;     // track K = Hc - 28
constexpr int LCX_THUMB_OFFSET = 8;      // thumb top of row 0
constexpr int LCX_ARROW_HIT_HEIGHT = 10;  // the arrows' tap areas: the top 10 rows, and 10 above the badge
constexpr int LCX_THUMB_LEFT = 8;        // the thumb is x W - 8 to W - 3
constexpr int LCX_THUMB_RIGHT = 3;

// Height of one laid-out line: H + ceil(H / 5), 12 for H = 10.
int ListLineHeight(int nFontSize);
// Pixels kept for the trailing icons of the set LCX_ICON_* bits (8, 9 and 11).
int IconReservedWidth(int nIconFlags);
// Vertical offset of the icons on a line: H / 2 - 4.
int IconOffset(int nFontSize);

struct LastPage {
    int nMaxTopRow = 0;     // the top row that shows the last page
    int nLastPageRows = 0;  // rows from there to the end: the page step
};
// Rows counted upwards from the last while they fit in Hc.
LastPage ComputeLastPage(const std::vector<int>& rowHeights, int nClientHeight);

// The top row that keeps row nSel visible (nTopRow if it already is).
int TopRowForSelection(const std::vector<int>& rowHeights, int nTopRow, int nSel, int nClientHeight);

// Sum of heights of rows [nFirst, nEnd).
int SumHeights(const std::vector<int>& rowHeights, int nFirst, int nEnd);

// The scroll strip is needed when the list is scrolled or the rows from the top row do
// not fit.
BOOL ScrollStripNeeded(const std::vector<int>& rowHeights, int nTopRow, int nClientHeight);

// The thumb for total height T with A pixels of rows above the top row: height
// Hc * K / T, top A * K / T + 8 but never so low that its bottom passes Hc - 20.
RECT ComputeThumbRect(int nWidth, int nClientHeight, int nTotalHeight, int nAboveHeight);

// The top row a thumb drag to thumb top nWantedTop shows: the first row whose thumb top
// is at or below the wanted top or reaches the lowest thumb position.
int TopRowForThumbTop(const std::vector<int>& rowHeights, int nMaxTopRow, int nTotalHeight,
                      int nClientHeight, int nThumbHeight, int nWantedTop);

// The row a tap at y selects: the first from the top row whose bottom is below y, the
// last row when the tap is below all rows (-1 for an empty list).
int RowAtY(const std::vector<int>& rowHeights, int nTopRow, int y);

BOOL InUpArrow(int nWidth, int x, int y);
BOOL InDownArrow(int nWidth, int nClientHeight, int x, int y);
