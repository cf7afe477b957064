#pragma once
// A bitmap that can be drawn with one colour transparent.
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
    // Pixels of colour crTransparent leave the destination unchanged; every other pixel
    // is copied. Nothing is drawn when no bitmap is loaded.
    void DrawTransparent(QPainter* pDC, int x, int y, COLORREF crTransparent) const;

private:
    COLORREF m_crText = 0x000000;
    COLORREF m_crBk = 0xFFFFFF;
    QImage m_image;
};
