// The window base's drawing operations, the two bitmap drawing functions, the masked
// bitmap, the bitmap button, and notification delivery.
#include "controls/BitmapDraw.h"
#include "controls/CBitmapButtonEx.h"
#include "controls/CListCtrlEx.h"
#include "controls/CMaskedBitmap.h"
#include "controls/CWndEx.h"
#include "controls/GdiDraw.h"
#include "controls_helper.h"
#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

QImage Canvas(int nWidth = 60, int nHeight = 40, COLORREF cr = kRed)
{
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    image.fill(ColorFromRef(cr));
    return image;
}

int CountColor(const QImage& image, COLORREF cr)
{
    int nCount = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            nCount += PixelRef(image, x, y) == cr ? 1 : 0;
    }
    return nCount;
}

// A 3 x 2 picture: white, black, green / white, white, blue.
QImage SmallPicture()
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 255, 255));
    picture.setPixel(1, 0, qRgb(0, 0, 0));
    picture.setPixel(2, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(255, 255, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 255));
    picture.setPixel(2, 1, qRgb(0, 0, 255));
    return picture;
}

}  // namespace

class TestDrawing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitControlsTest(); }

    void unknownBitmapDrawsNothing()
    {
        QImage image = Canvas();
        QPainter painter(&image);
        QCOMPARE(DrawBitmap(&painter, 0, 0, 9999), 0);
        QCOMPARE(DrawBitmapTransparent(&painter, 0, 0, 9999), 0);
        QCOMPARE(DrawBitmap(&painter, 0, 0, 0), 0);
        painter.end();
        QCOMPARE(CountColor(image, kRed), 60 * 40);
        QVERIFY(GetBitmapResource(9999) == nullptr);
    }

    void opaqueCopyKeepsWhite()
    {
        const QImage* pIcon = GetBitmapResource(157);
        QVERIFY(pIcon != nullptr);
        QCOMPARE(pIcon->size(), QSize(8, 9));
        QImage image = Canvas();
        QPainter painter(&image);
        QCOMPARE(DrawBitmap(&painter, 5, 7, 157), 8);
        painter.end();
        QVERIFY(RegionShows(image, 5, 7, *pIcon, 0xFFFFFF));
        QCOMPARE(PixelRef(image, 4, 7), kRed);
        QCOMPARE(PixelRef(image, 13, 7), kRed);
    }

    void transparentCopyLeavesWhitePixelsAlone()
    {
        const QImage* pIcon = GetBitmapResource(153);
        QVERIFY(pIcon != nullptr);
        QImage image = Canvas();
        QPainter painter(&image);
        QCOMPARE(DrawBitmapTransparent(&painter, 2, 3, 153), pIcon->width());
        painter.end();
        QVERIFY(RegionShows(image, 2, 3, *pIcon, kRed));
    }

    void maskedBitmapWithAnyTransparentColour()
    {
        CMaskedBitmap bitmap;
        QVERIFY(!bitmap.IsLoaded());
        bitmap.SetImage(SmallPicture());
        QCOMPARE(bitmap.GetWidth(), 3);
        QCOMPARE(bitmap.GetHeight(), 2);
        QImage image = Canvas(10, 10);
        QPainter painter(&image);
        bitmap.DrawTransparent(&painter, 1, 1, 0xFFFFFF);
        bitmap.DrawTransparent(&painter, 5, 5, RGB(0, 255, 0));  // green see-through
        painter.end();
        QCOMPARE(PixelRef(image, 1, 1), kRed);
        QCOMPARE(PixelRef(image, 2, 1), static_cast<COLORREF>(0));
        QCOMPARE(PixelRef(image, 3, 1), RGB(0, 255, 0));
        QCOMPARE(PixelRef(image, 2, 2), kRed);
        QCOMPARE(PixelRef(image, 3, 2), kBlue);
        QCOMPARE(PixelRef(image, 5, 5), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 7, 5), kRed);
    }

    void transparentDrawWithoutTheColourEqualsAnOpaqueCopy()
    {
        CMaskedBitmap bitmap;
        bitmap.SetImage(SmallPicture());
        QImage image = Canvas(10, 10);
        QPainter painter(&image);
        bitmap.DrawTransparent(&painter, 0, 0, RGB(1, 2, 3));
        painter.end();
        QVERIFY(RegionShows(image, 0, 0, SmallPicture(), 0xFFFFFF));
        CMaskedBitmap empty;
        QImage untouched = Canvas(10, 10);
        QPainter painter2(&untouched);
        empty.DrawTransparent(&painter2, 0, 0, 0xFFFFFF);
        painter2.end();
        QCOMPARE(CountColor(untouched, kRed), 100);
    }

    void linesLeaveOutTheirEndPoint()
    {
        CWndEx wnd;
        QImage image = Canvas(20, 20, 0xFFFFFF);
        QPainter painter(&image);
        wnd.DrawLine(&painter, 2, 3, 5, 0, kBlue);   // x 2..6
        wnd.DrawLine(&painter, 10, 2, 0, 4, kBlue);  // y 2..5
        wnd.DrawLine(&painter, 0, 10, 3, 3, kBlue);  // diagonal (0,10)..(2,12)
        wnd.DrawLine(&painter, 15, 15, -4, 0, kBlue);  // x 15 down to 12
        wnd.DrawLine(&painter, 18, 19, 0, -3, kBlue);  // y 19 up to 17
        painter.end();
        QCOMPARE(PixelRef(image, 2, 3), kBlue);
        QCOMPARE(PixelRef(image, 6, 3), kBlue);
        QCOMPARE(PixelRef(image, 7, 3), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 10, 5), kBlue);
        QCOMPARE(PixelRef(image, 10, 6), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 2, 12), kBlue);
        QCOMPARE(PixelRef(image, 3, 13), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 15, 15), kBlue);
        QCOMPARE(PixelRef(image, 12, 15), kBlue);
        QCOMPARE(PixelRef(image, 11, 15), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 18, 19), kBlue);
        QCOMPARE(PixelRef(image, 18, 17), kBlue);
        QCOMPARE(PixelRef(image, 18, 16), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(CountColor(image, kBlue), 5 + 4 + 3 + 4 + 3);
    }

    void fillBoxFillsOrOutlines()
    {
        CWndEx wnd;
        QImage image = Canvas(30, 30, 0xFFFFFF);
        QPainter painter(&image);
        wnd.FillBox(&painter, 1, 1, 4, 3, kBlue, 1);
        wnd.FillBox(&painter, 10, 10, 0, 5, kRed, 1);
        wnd.FillBox(&painter, 10, 10, 5, 0, kRed, 1);
        wnd.FillBox(&painter, 15, 15, 5, 4, kRed, 0);
        wnd.FillBox(&painter, 2, 20, 0, 5, kRed, 0);  // an empty box has no outline
        painter.end();
        QCOMPARE(CountColor(image, kBlue), 12);
        QCOMPARE(PixelRef(image, 4, 3), kBlue);
        QCOMPARE(PixelRef(image, 5, 3), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(CountColor(image, kRed), 5 * 2 + 2 * 2);  // outline only
        QCOMPARE(PixelRef(image, 17, 17), static_cast<COLORREF>(0xFFFFFF));
        QCOMPARE(PixelRef(image, 19, 18), kRed);
    }

    void textIsMeasuredAndPlaced()
    {
        CWndEx wnd;
        wnd.SetFont(QStringLiteral("Tahoma"), 11, TRUE, FALSE, FALSE);
        QVERIFY(wnd.GetFont().bold());
        QCOMPARE(wnd.GetFont().pixelSize(), 11);
        QImage image = Canvas(100, 20, 0xFFFFFF);
        QPainter painter(&image);
        const int nWidth = wnd.DrawTextAt(&painter, 3, 2, QStringLiteral("Week"), 0);
        QCOMPARE(nWidth, wnd.GetTextWidth(&painter, QStringLiteral("Week")));
        QVERIFY(nWidth > 10);
        painter.end();
        QVERIFY(!ContainsColor(image, QRect(3 + nWidth + 1, 0, 40, 20), 0));
        QVERIFY(!ContainsColor(image, QRect(0, 0, 3, 20), 0));

        QImage right = Canvas(100, 20, 0xFFFFFF);
        QPainter painter2(&right);
        wnd.SetFont(QStringLiteral("Tahoma"), 10, FALSE, FALSE, FALSE);
        wnd.DrawTextInRect(&painter2, 0, 0, 100, 12, QStringLiteral("M"), DT_RIGHT, 0);
        painter2.end();
        bool bInkRight = false;
        for (int x = 80; x < 100; ++x) {
            for (int y = 0; y < 12; ++y)
                bInkRight = bInkRight || qGray(right.pixel(x, y)) < 128;
        }
        QVERIFY(bInkRight);
        QVERIFY(!ContainsColor(right, QRect(0, 0, 70, 12), 0));
    }

    void bitmapButtonShowsPressedPictureWhileHeld()
    {
        QWidget window;
        auto* pButton = new CBitmapButtonEx(&window);
        QVERIFY(pButton->LoadBitmaps(143, 148));
        pButton->SetDlgCtrlID(32781);
        pButton->move(28, 3);
        pButton->SizeToContent();
        QCOMPARE(pButton->size(), QSize(35, 15));
        QCOMPARE(pButton->focusPolicy(), Qt::NoFocus);
        const QImage* pNormal = GetBitmapResource(143);
        const QImage* pPressed = GetBitmapResource(148);
        QVERIFY(RegionShows(Render(pButton), 0, 0, *pNormal, 0xFFFFFF));
        pButton->setDown(true);
        QVERIFY(RegionShows(Render(pButton), 0, 0, *pPressed, 0xFFFFFF));
        pButton->setDown(false);
        QSignalSpy spy(pButton, &CBitmapButtonEx::command);
        QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 32781);
        CBitmapButtonEx missing;
        QVERIFY(!missing.LoadBitmaps(9999, 148));
    }

    void tappingAButtonLeavesTheFocusInTheList()
    {
        NotifyRecorder window;
        window.resize(200, 120);
        auto* pList = new CListCtrlEx(&window);
        RECT rc;
        rc.right = 100;
        rc.bottom = 100;
        pList->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &window, 3002);
        pList->SetColumnCount(2);
        auto* pButton = new CBitmapButtonEx(&window);
        pButton->LoadBitmaps(151, 152);
        pButton->move(150, 100);
        pButton->SizeToContent();
        window.show();
        QApplication::setActiveWindow(&window);
        pList->setFocus();
        QVERIFY(pList->HasFocus());
        window.Clear();
        QTest::mouseClick(pButton, Qt::LeftButton, {}, QPoint(3, 3));
        QVERIFY(pList->HasFocus());
        QVERIFY(window.m_entries.isEmpty());  // no LCXN_KILLFOCUS
    }

    void notifyGoesToTheParentAndReturnsItsAnswer()
    {
        NotifyRecorder parent;
        parent.m_nAnswer = 42;
        auto* pWnd = new CWnd(&parent);
        pWnd->SetDlgCtrlID(1201);
        NMHDR hdr;
        QCOMPARE(pWnd->SendNotify(&hdr, 5), intptr_t{42});
        QCOMPARE(hdr.hwndFrom, static_cast<QWidget*>(pWnd));
        QCOMPARE(hdr.idFrom, intptr_t{1201});
        QCOMPARE(hdr.code, 5u);
        QCOMPARE(parent.m_entries.size(), 1);

        QWidget plainParent;  // a window that takes no notifications
        CWnd* pOrphan = new CWnd(&plainParent);
        QCOMPARE(pOrphan->SendNotify(&hdr, 5), intptr_t{0});
        CWnd noParent;
        QCOMPARE(noParent.SendNotify(&hdr, 5), intptr_t{0});
    }
};

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
