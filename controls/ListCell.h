#pragma once
// One cell of a day list row and the row itself. Column 0 is the label cell (a tag
// or a short text), column 1 the text cell.
#include "platform/WinTypes.h"
#include <QString>
#include <memory>
#include <vector>

// Trailing icons of a text cell, drawn after the text in this order.
constexpr int LCX_ICON_NOTES = 1;
constexpr int LCX_ICON_ALARM = 2;
constexpr int LCX_ICON_RECUR = 4;
// Bits 8 and 16 of nIconFlags belong to the owner and are never drawn.

struct ListCell {
    int32_t nOid = -1;       // the owner's item id (column 0); -1: the row stands for no item
    int32_t nKind = -1;      // the owner's entry kind (column 0)
    QString strText;         // the text given to AddRow; a tag shows as its picture
    QString strDisplay;      // the laid-out text actually drawn ("..." or line feeds)
    QString strExtra;        // long form for the owner's status line; never drawn here
    COLORREF crText = 0x000000;
    BOOL bBold = FALSE;
    BOOL bStrikeOut = FALSE;
    int32_t nIconFlags = 0;  // LCX_ICON_* bits, plus the owner's bits 8 and 16
    DATE dtItem = 0.0;       // the owner's date value (column 0)
    int nWidth = 0;          // the column width the last layout gave the cell
};

struct ListRow {
    std::vector<std::unique_ptr<ListCell>> cells;  // one per column
};
