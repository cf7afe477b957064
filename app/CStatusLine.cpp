#include "app/CStatusLine.h"
#include "controls/BitmapDraw.h"
#include "controls/GdiDraw.h"
#include "controls/ListMetrics.h"
#include "controls/ListTags.h"
#include "controls/TextMeasurer.h"
#include <QPainter>

CStatusLine::CStatusLine(const QString& strFontName, int nFontSize)
    : m_strFontName(strFontName)
    , m_nFontSize(nFontSize)
{
}

int CStatusLine::TagBitmap(const QString& strText)
{
    // "(NULL)" marks a row without an item, which the status line never shows.
    if (strText == QLatin1String("(NULL)"))
        return 0;
    return TagBitmapId(strText, FALSE);
}

int CStatusLine::DrawCell(QPainter* pDC, const ListCell& cell, int x, int y0, int nWidth) const
{
    const QString strText = cell.strExtra.isEmpty() ? cell.strText : cell.strExtra;
    const int nTag = TagBitmap(strText);
    if (nTag != 0) {
        const int nBitmapWidth = DrawBitmapTransparent(pDC, x, y0 + 1, nTag);
        return nBitmapWidth > 0 ? x + nBitmapWidth + 1 : x;
    }
    QFont font(m_strFontName);
    font.setPixelSize(m_nFontSize);
    font.setBold(cell.bBold != 0);
    font.setStrikeOut(cell.bStrikeOut != 0);
    const TextMeasurer measurer(font);
    const QString strFitted = FitSingleLine(measurer, strText, nWidth - x, IconReservedWidth(cell.nIconFlags));
    pDC->save();
    pDC->setFont(font);
    pDC->setPen(ColorFromRef(cell.crText));
    const QFontMetrics metrics(font);
    pDC->drawText(x, y0 + 1 + metrics.ascent(), strFitted);
    pDC->restore();
    x += TextExtent(measurer, strFitted);
    for (const TrailingIcon& icon : LCX_TRAILING_ICONS) {
        if ((cell.nIconFlags & icon.nFlag) != 0)
            x += DrawBitmapTransparent(pDC, x, y0 + 2, icon.nBitmapId);
    }
    return x + 2;
}
