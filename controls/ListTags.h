#pragma once
// The tags a label cell may hold, each shown as a 10 x 11 picture (normal, and
// selected while its row shows as selected), and the trailing icons of a text cell.
#include "controls/ListCell.h"
#include "platform/WinTypes.h"
#include <QString>

constexpr int IDB_ICON_NOTES = 157;  // 8 x 9
constexpr int IDB_ICON_ALARM = 153;  // 9 x 9
constexpr int IDB_ICON_RECUR = 158;  // 11 x 9

struct TrailingIcon {
    int nFlag;      // LCX_ICON_* bit of the cell's nIconFlags
    int nBitmapId;
    int nWidth;     // the room the layout keeps for it
};
// The trailing icons in the order they follow the text.
inline constexpr TrailingIcon LCX_TRAILING_ICONS[] = {
    {LCX_ICON_NOTES, IDB_ICON_NOTES, 8},
    {LCX_ICON_ALARM, IDB_ICON_ALARM, 9},
    {LCX_ICON_RECUR, IDB_ICON_RECUR, 11},
};

// TRUE when the text is exactly one of the nine tags.
BOOL IsListTag(const QString& strText);
// The bitmap id of the tag's picture; 0 when the text is no tag.
int TagBitmapId(const QString& strText, BOOL bSelected);
