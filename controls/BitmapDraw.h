#pragma once
// The two ways the views draw a bitmap resource: an opaque copy, and a copy in which
// every white pixel leaves the destination unchanged. Both return the bitmap's width,
// or 0 without drawing when the id does not load.
class QImage;
class QPainter;

int DrawBitmap(QPainter* pDC, int x, int y, int nBitmapId);
int DrawBitmapTransparent(QPainter* pDC, int x, int y, int nBitmapId);
// The loaded picture of a bitmap resource, kept for the life of the process; nullptr
// when the id does not load.
const QImage* GetBitmapResource(int nBitmapId);
