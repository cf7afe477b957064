#include "controls/CMaskedBitmap.h"
#include "controls/BitmapDraw.h"
#include <QPainter>

namespace {

// The picture with every pixel of colour cr made fully transparent and every other
// pixel fully opaque.
QImage MaskOutColor(const QImage& image, COLORREF cr)
{
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(GetRValue(cr), GetGValue(cr), GetBValue(cr));
    for (int y = 0; y < masked.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            const QRgb rgb = pLine[x] | 0xFF000000u;
            pLine[x] = rgb == key ? 0u : rgb;
        }
    }
    return masked;
}

}  // namespace

BOOL CMaskedBitmap::LoadBitmap(int nBitmapId)
{
    const QImage* pImage = GetBitmapResource(nBitmapId);
    if (pImage == nullptr)
        return FALSE;
    SetImage(*pImage);
    return TRUE;
}

void CMaskedBitmap::SetImage(const QImage& image)
{
    m_image = image.convertToFormat(QImage::Format_RGB32);
    m_masked = QImage();
}

void CMaskedBitmap::DrawTransparent(QPainter* pDC, int x, int y, COLORREF crTransparent) const
{
    if (m_image.isNull())
        return;
    if (m_masked.isNull() || m_crMasked != crTransparent) {
        m_masked = MaskOutColor(m_image, crTransparent);
        m_crMasked = crTransparent;
    }
    pDC->save();
    pDC->setCompositionMode(QPainter::CompositionMode_SourceOver);
    pDC->drawImage(x, y, m_masked);
    pDC->restore();
}
