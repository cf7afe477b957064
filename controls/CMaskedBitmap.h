#pragma once
// A bitmap that can be drawn with one colour transparent. The masked picture of the
// last transparent colour is kept, so repeated draws cost one image copy.
#include "platform/WinTypes.h"
#include <QImage>

class QPainter;

class CMaskedBitmap {
public:
    CMaskedBitmap() = default;

    BOOL LoadBitmap(int nBitmapId);
    void SetImage(const QImage& image);
    BOOL IsLoaded() const { return !m_image.isNull(); }
    int GetWidth() const { return m_image.width(); }
    int GetHeight() const { return m_image.height(); }
    const QImage& GetImage() const { return m_image; }
    // Pixels of colour crTransparent leave the destination unchanged; every other pixel
    // is copied. Nothing is drawn when no bitmap is loaded.
    void DrawTransparent(QPainter* pDC, int x, int y, COLORREF crTransparent) const;

private:
    QImage m_image;                      // opaque (Format_RGB32)
    mutable QImage m_masked;             // m_image with m_crMasked fully transparent
    mutable COLORREF m_crMasked = 0xFFFFFF;
};
