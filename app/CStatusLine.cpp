#include "app/CStatusLine.h"
#include "controls/BitmapDraw.h"
#include "controls/GdiDraw.h"
#include "controls/ListMetrics.h"
#include "controls/TextMeasurer.h"
#include <QPainter>

namespace {

struct IconInfo {
    int nFlag;
    int nBitmap;
};

const IconInfo kIcons[] = {{LCX_ICON_NOTES, 157}, {LCX_ICON_ALARM, 153}, {LCX_ICON_RECUR, 158}};

}  // namespace

CStatusLine::CStatusLine(const QString& strFontName, int nFontSize)
    : m_strFontName(strFontName)
    , m_nFontSize(nFontSize)
{
}

int CStatusLine::TagBitmap(const QString& strText)
{
    static const struct {
        const char* pszTag;
        int nBitmap;
    } kTags[] = {{"(E)", 154}, {"<<", 176}, {"(T2)", 164}, {"(T1)", 166},
                 {"(T0)", 168}, {"(FT2)", 170}, {"(FT1)", 172}, {"(FT0)", 174}};
    for (const auto& tag : kTags) {
        if (strText == QLatin1String(tag.pszTag))
            return tag.nBitmap;
    }
    return 0;
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
    for (const IconInfo& icon : kIcons) {
        if (cell.nIconFlags & icon.nFlag)
            x += DrawBitmapTransparent(pDC, x, y0 + 2, icon.nBitmap);
    }
    return x + 2;
}
