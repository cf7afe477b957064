#include "controls/CWndEx.h"
#include "controls/BitmapDraw.h"
#include "controls/GdiDraw.h"
#include "controls/TextMeasurer.h"
#include <QPainter>

namespace {

// The stock font the window starts with, until SetFont chooses one.
constexpr int kSystemFontSize = 12;

}  // namespace

CWndEx::CWndEx(QWidget* pParent)
    : CWnd(pParent)
{
    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPixelSize(kSystemFontSize);
}

CWndEx::~CWndEx() = default;

void CWndEx::SetFont(const QString& strFace, int nSize, BOOL bBold, BOOL bItalic, BOOL bStrikeOut)
{
    QFont font(strFace);
    font.setPixelSize(nSize > 0 ? nSize : 1);
    font.setWeight(bBold ? QFont::Bold : QFont::Normal);
    font.setItalic(bItalic != 0);
    font.setStrikeOut(bStrikeOut != 0);
    m_font = font;
}

void CWndEx::DrawLine(QPainter* pDC, int x, int y, int dx, int dy, COLORREF cr)
{
    DrawGdiLine(pDC, x, y, x + dx, y + dy, cr);
}

void CWndEx::FillBox(QPainter* pDC, int x, int y, int w, int h, COLORREF cr, int nMode)
{
    if (nMode == 1) {
        FillGdiRect(pDC, x, y, x + w, y + h, cr);
        return;
    }
    if (w <= 0 || h <= 0)
        return;
    FillGdiRect(pDC, x, y, x + w, y + 1, cr);
    FillGdiRect(pDC, x, y + h - 1, x + w, y + h, cr);
    FillGdiRect(pDC, x, y, x + 1, y + h, cr);
    FillGdiRect(pDC, x + w - 1, y, x + w, y + h, cr);
}

int CWndEx::DrawTextAt(QPainter* pDC, int x, int y, const QString& strText, COLORREF cr)
{
    const int nWidth = GetTextWidth(pDC, strText);
    pDC->save();
    pDC->setFont(m_font);
    pDC->setPen(ColorFromRef(cr));
    pDC->drawText(QPointF(x, y + QFontMetricsF(m_font).ascent()), strText);
    pDC->restore();
    return nWidth;
}

void CWndEx::DrawTextInRect(QPainter* pDC, int x, int y, int w, int h, const QString& strText,
                            unsigned nFormat, COLORREF cr)
{
    pDC->save();
    pDC->setFont(m_font);
    pDC->setPen(ColorFromRef(cr));
    pDC->drawText(QRect(x, y, w, h), AlignmentFromFormat(nFormat), strText);
    pDC->restore();
}

int CWndEx::GetTextWidth(QPainter* /*pDC*/, const QString& strText)
{
    return TextExtent(TextMeasurer(m_font), strText);
}

int CWndEx::DrawBitmap(QPainter* pDC, int x, int y, int nBitmapId)
{
    return ::DrawBitmap(pDC, x, y, nBitmapId);
}
