#include "controls/GdiDraw.h"
#include <QPainter>
#include <QPolygon>
#include <cstdlib>

QColor ColorFromRef(COLORREF cr)
{
    return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

COLORREF RefFromColor(const QColor& color)
{
    return RGB(color.red(), color.green(), color.blue());
}

QRect RectFromLTRB(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

void DrawGdiLine(QPainter* pDC, int x1, int y1, int x2, int y2, COLORREF cr)
{
    // Bresenham, stopping before the end point as the device's line drawing does. A
    // level or upright line is those pixels in one rectangle.
    const QColor color = ColorFromRef(cr);
    if (y1 == y2 && x1 != x2) {
        pDC->fillRect(x1 < x2 ? x1 : x2 + 1, y1, std::abs(x2 - x1), 1, color);
        return;
    }
    if (x1 == x2 && y1 != y2) {
        pDC->fillRect(x1, y1 < y2 ? y1 : y2 + 1, 1, std::abs(y2 - y1), color);
        return;
    }
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1;
    int y = y1;
    while (x != x2 || y != y2) {
        pDC->fillRect(x, y, 1, 1, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void FillGdiRect(QPainter* pDC, int left, int top, int right, int bottom, COLORREF cr)
{
    if (right <= left || bottom <= top)
        return;
    pDC->fillRect(RectFromLTRB(left, top, right, bottom), ColorFromRef(cr));
}

void FillGdiTriangle(QPainter* pDC, const POINT pts[3], COLORREF cr)
{
    QPolygon polygon;
    for (int i = 0; i < 3; ++i)
        polygon << QPoint(pts[i].x, pts[i].y);
    pDC->save();
    pDC->setRenderHint(QPainter::Antialiasing, false);
    pDC->setPen(QPen(ColorFromRef(cr), 0));
    pDC->setBrush(ColorFromRef(cr));
    pDC->drawPolygon(polygon);
    pDC->restore();
}

int AlignmentFromFormat(unsigned nFormat)
{
    int nAlign = Qt::AlignLeft;
    if ((nFormat & DT_CENTER) != 0)
        nAlign = Qt::AlignHCenter;
    else if ((nFormat & DT_RIGHT) != 0)
        nAlign = Qt::AlignRight;
    if ((nFormat & DT_SINGLELINE) != 0 && (nFormat & DT_VCENTER) != 0)
        nAlign |= Qt::AlignVCenter;
    else if ((nFormat & DT_SINGLELINE) != 0 && (nFormat & DT_BOTTOM) != 0)
        nAlign |= Qt::AlignBottom;
    else
        nAlign |= Qt::AlignTop;
    return nAlign;
}
