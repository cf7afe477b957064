#include "controls/BitmapDraw.h"
#include "controls/CMaskedBitmap.h"
#include "platform/BitmapResource.h"
#include <QHash>
#include <QImage>
#include <QPainter>
#include <memory>

namespace {

// The pictures are compiled into the program and never change, so each is loaded once.
// An id that does not load is remembered as a null entry.
struct BitmapCache {
    QHash<int, std::shared_ptr<CMaskedBitmap>> bitmaps;
};

BitmapCache& Cache()
{
    static BitmapCache cache;
    return cache;
}

// Pixels the picture leaves undefined (XPM "None") count as white.
QImage OpaqueOnWhite(const QImage& image)
{
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

const CMaskedBitmap* GetMaskedBitmap(int nBitmapId)
{
    BitmapCache& cache = Cache();
    auto it = cache.bitmaps.find(nBitmapId);
    if (it == cache.bitmaps.end()) {
        std::shared_ptr<CMaskedBitmap> pBitmap;
        QImage image;
        if (nBitmapId != 0 && LoadBitmapResource(nBitmapId, &image) && !image.isNull()) {
            pBitmap = std::make_shared<CMaskedBitmap>();
            pBitmap->SetImage(OpaqueOnWhite(image));
        }
        it = cache.bitmaps.insert(nBitmapId, pBitmap);
    }
    return it.value().get();
}

}  // namespace

const QImage* GetBitmapResource(int nBitmapId)
{
    const CMaskedBitmap* pBitmap = GetMaskedBitmap(nBitmapId);
    return pBitmap != nullptr ? &pBitmap->GetImage() : nullptr;
}

int DrawBitmap(QPainter* pDC, int x, int y, int nBitmapId)
{
    const CMaskedBitmap* pBitmap = GetMaskedBitmap(nBitmapId);
    if (pBitmap == nullptr)
        return 0;
    pDC->save();
    pDC->setCompositionMode(QPainter::CompositionMode_Source);
    pDC->drawImage(x, y, pBitmap->GetImage());
    pDC->restore();
    return pBitmap->GetWidth();
}

int DrawBitmapTransparent(QPainter* pDC, int x, int y, int nBitmapId)
{
    const CMaskedBitmap* pBitmap = GetMaskedBitmap(nBitmapId);
    if (pBitmap == nullptr)
        return 0;
    pBitmap->DrawTransparent(pDC, x, y, 0xFFFFFF);
    return pBitmap->GetWidth();
}
