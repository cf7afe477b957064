#pragma once
// Drawing primitives with the pixel rules the controls are laid out by: lines leave out
// their end point, rectangles are (left, top, right, bottom) with right and bottom
// exclusive, colours are COLORREF values (0x00BBGGRR).
#include "platform/WinTypes.h"
#include <QColor>
#include <QRect>

class QPainter;

// DrawText format flags.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_SINGLELINE = 0x20;

QColor ColorFromRef(COLORREF cr);
COLORREF RefFromColor(const QColor& color);
QRect RectFromLTRB(int left, int top, int right, int bottom);

// A one-pixel line from (x1, y1) towards (x2, y2); the end point itself is not drawn.
void DrawGdiLine(QPainter* pDC, int x1, int y1, int x2, int y2, COLORREF cr);
// Fills (left, top, right, bottom), right and bottom exclusive; nothing when empty.
void FillGdiRect(QPainter* pDC, int left, int top, int right, int bottom, COLORREF cr);
// A filled polygon with a one-pixel outline of the same colour (three points).
void FillGdiTriangle(QPainter* pDC, const POINT pts[3], COLORREF cr);
// Qt alignment flags for DrawText format flags.
int AlignmentFromFormat(unsigned nFormat);
