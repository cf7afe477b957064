// The day list's layout and painting, checked on rendered pixels.
#include "controls/BitmapDraw.h"
#include "controls/CListCtrlEx.h"
#include "controls/ListTags.h"
#include "controls/TextFit.h"
#include "controls/TextMeasurer.h"
#include "controls_helper.h"
#include <QApplication>
#include <QtTest>
#include <memory>

namespace {

constexpr COLORREF kToday = 0xC8FFFF;  // pale yellow: RGB(255, 255, 200)

struct ListWindow {
    NotifyRecorder window;
    CListCtrlEx* pList = nullptr;

    ListWindow(int nWidth, int nHeight, BOOL bMultiline, int nFontSize = 10)
    {
        window.resize(nWidth + 20, nHeight + 20);
        pList = new CListCtrlEx(&window);
        RECT rc;
        rc.left = 0;
        rc.top = 0;
        rc.right = nWidth;
        rc.bottom = nHeight;
        pList->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &window, 3002);
        pList->SetFonts(QStringLiteral("Tahoma"), nFontSize, QStringLiteral("mirafon"), 10);
        pList->SetColumnCount(2);
        pList->SetColumnWidth(0, 0);
        pList->SetColumnWidth(1, 0);
        pList->SetMultiline(bMultiline, FALSE);
    }

    ListCell* Cell(int nRow, int nColumn)
    {
        ListCell* pCell = nullptr;
        pList->GetCell(nRow, nColumn, &pCell);
        return pCell;
    }

    void Focus()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        pList->setFocus();
    }
};

QString WordsOfLines(ListWindow& list, int nLines)
{
    // The shortest run of words that the list breaks into nLines lines.
    QString strText;
    for (int i = 0; i < 200; ++i) {
        strText += QStringLiteral("word ");
        list.pList->DeleteAllItems();
        list.pList->AddRow(QStringLiteral("(NULL)"), strText.trimmed());
        list.pList->LayoutDirtyRows();
        if (CountLines(list.Cell(0, 1)->strDisplay) == nLines)
            return strText.trimmed();
    }
    return QString();
}

}  // namespace

class TestListPaint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitControlsTest(); }

    void rowHeightsAtFontSizeTen()
    {
        ListWindow list(120, 200, TRUE);
        const QString strThree = WordsOfLines(list, 3);
        QVERIFY(!strThree.isEmpty());
        list.pList->DeleteAllItems();
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("Lunch"));
        list.pList->AddRow(QStringLiteral("(E)"), strThree);
        QCOMPARE(list.pList->GetRowHeight(0), 11);  // H + 1 until laid out
        Render(list.pList);
        QCOMPARE(list.pList->GetRowHeight(0), 12);
        QCOMPARE(list.pList->GetRowHeight(1), 36);
        QCOMPARE(list.pList->GetTotalHeight(), 48);
        QCOMPARE(list.Cell(1, 1)->strDisplay.count(QLatin1Char('\n')), 2);
    }

    void multilineBreaksAtSpacesAndShortensOnlyTheLastLine()
    {
        ListWindow list(80, 200, TRUE);
        list.pList->AddRow(QStringLiteral("(E)"),
                           QStringLiteral("Quarterly planning meeting with the whole regional team and guests"));
        list.Cell(0, 1)->nIconFlags = LCX_ICON_NOTES | LCX_ICON_ALARM | LCX_ICON_RECUR;
        Render(list.pList);
        const QStringList lines = list.Cell(0, 1)->strDisplay.split(QLatin1Char('\n'));
        QVERIFY(lines.size() >= 3);
        for (int i = 0; i + 1 < lines.size(); ++i) {
            QVERIFY2(!lines[i].endsWith(QStringLiteral("...")), qPrintable(lines[i]));
            QVERIFY(!lines[i].startsWith(QLatin1Char(' ')));
        }
        QCOMPARE(list.pList->GetRowHeight(0), 12 * static_cast<int>(lines.size()));
    }

    void multilineRowsKeepTheirDescenders_data()
    {
        QTest::addColumn<int>("nFontSize");
        QTest::newRow("12") << 12;
        QTest::newRow("16") << 16;
    }

    // Lines are H + 1 apart in a face taller than that: every glyph pixel of a line drawn
    // alone must still be drawn when the next line follows it.
    void multilineRowsKeepTheirDescenders()
    {
        QFETCH(int, nFontSize);
        constexpr int kTextLeft = 12;  // after the tag column
        ListWindow list(130, 200, TRUE, nFontSize);
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("jumpy gypsy quaggy jiggly pygmy yoga"));
        const QImage image = Render(list.pList);
        QVERIFY(image.scaled(image.size() * 4).save(
            TestOutputPath(QStringLiteral("listpaint_descenders_%1.png").arg(nFontSize))));
        const QStringList lines = list.Cell(0, 1)->strDisplay.split(QLatin1Char('\n'));
        QVERIFY(lines.size() >= 3);
        const int nLineHeight = 2 * nFontSize;  // the whole line with its descenders, and more
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            ListWindow alone(130, 200, FALSE, nFontSize);
            alone.pList->AddRow(QStringLiteral("(E)"), lines[i]);
            const QImage reference = Render(alone.pList);
            const int yLine = static_cast<int>(i) * (nFontSize + 1);
            int nCovered = 0;
            for (int y = 0; y < nLineHeight; ++y)
                for (int x = kTextLeft; x < reference.width(); ++x)
                    if (qGray(reference.pixel(x, y)) < 128 && qGray(image.pixel(x, yLine + y)) >= 128)
                        ++nCovered;
            QVERIFY2(nCovered == 0, qPrintable(QStringLiteral("line %1 \"%2\": %3 pixels covered")
                                                   .arg(i).arg(lines[i]).arg(nCovered)));
        }
    }

    void singleLineShortensWithEllipsis()
    {
        ListWindow list(100, 100, FALSE);
        const QString strText = QStringLiteral("Dentist appointment downtown");
        list.pList->AddRow(QStringLiteral("(E)"), strText);
        list.Cell(0, 1)->nIconFlags = LCX_ICON_ALARM;
        Render(list.pList);
        const QString strDisplay = list.Cell(0, 1)->strDisplay;
        QVERIFY(strDisplay.endsWith(QStringLiteral("...")));
        const QString strPrefix = strDisplay.chopped(3);
        QVERIFY(strText.startsWith(strPrefix));
        QVERIFY(strPrefix.size() > 0);
        // The text column starts at 12 (1 + the 11-pixel tag column) and runs to the edge.
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(10);
        const TextMeasurer measure(font);
        QVERIFY(TextExtent(measure, strDisplay) <= 100 - 12 - 9);
        QVERIFY(TextExtent(measure, strText.left(strPrefix.size() + 1) + QStringLiteral("...")) > 100 - 12 - 9);
        QCOMPARE(list.pList->GetRowHeight(0), 12);
    }

    void singleLineRowWithLineBreaksInItsTextIsOneLineHigh()
    {
        ListWindow list(100, 100, FALSE);
        list.pList->AddRow(QStringLiteral("9:00a"), QStringLiteral("Cafe\ncorner table"));
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("Lunch"));
        const QImage image = Render(list.pList);
        QCOMPARE(list.pList->GetRowHeight(0), 12);
        QCOMPARE(list.pList->GetTotalHeight(), 24);
        // The second row follows right under the first one.
        QVERIFY(RegionShows(image, 1, 12, *GetBitmapResource(TagBitmapId(QStringLiteral("(E)"), FALSE)), 0xFFFFFF));
    }

    void textOfTwoFittingCharactersIsNotShortened()
    {
        ListWindow list(100, 100, FALSE);
        list.pList->SetColumnWidth(1, 15);  // about one wide character
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("MMMMMMMM"));
        const QImage image = Render(list.pList);
        QCOMPARE(list.Cell(0, 1)->strDisplay, QStringLiteral("MMMMMMMM"));
        // Drawn in full, past the end of its 15-pixel column at x = 27.
        bool bInkPast = false;
        for (int x = 40; x < 80 && !bInkPast; ++x) {
            for (int y = 0; y < 12 && !bInkPast; ++y)
                bInkPast = PixelRef(image, x, y) != 0xFFFFFF;
        }
        QVERIFY(bInkPast);
    }

    void tagShowsItsSelectedPictureOnlyWhileFocused()
    {
        ListWindow list(120, 100, FALSE);
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("Holiday"));
        list.pList->AddRow(QStringLiteral("(T2)"), QStringLiteral("Call back"));
        QCOMPARE(list.pList->GetCurSel(), 0);
        const QImage* pNormal = GetBitmapResource(TagBitmapId(QStringLiteral("(E)"), FALSE));
        const QImage* pSelected = GetBitmapResource(TagBitmapId(QStringLiteral("(E)"), TRUE));
        const QImage* pOther = GetBitmapResource(TagBitmapId(QStringLiteral("(T2)"), FALSE));
        QVERIFY(pNormal != nullptr && pSelected != nullptr && pOther != nullptr);
        QImage image = Render(list.pList);
        // D = 10 / 2 - 4 = 1: the tag sits at (1, y + D - 1).
        QVERIFY(RegionShows(image, 1, 0, *pNormal, 0xFFFFFF));
        list.Focus();
        QVERIFY(list.pList->HasFocus());
        image = Render(list.pList);
        QVERIFY(RegionShows(image, 1, 0, *pSelected, 0xFFFFFF));
        QVERIFY(RegionShows(image, 1, 12, *pOther, 0xFFFFFF));  // only the selected row
        list.pList->clearFocus();
        QVERIFY(!list.pList->HasFocus());
        QCOMPARE(list.pList->GetCurSel(), 0);
        image = Render(list.pList);
        QVERIFY(RegionShows(image, 1, 0, *pNormal, 0xFFFFFF));
    }

    void iconsTakeTheBackgroundWhereTheyAreWhite_data()
    {
        QTest::addColumn<uint>("crBk");
        QTest::newRow("white") << 0xFFFFFFu;
        QTest::newRow("today") << static_cast<uint>(kToday);
    }

    void iconsTakeTheBackgroundWhereTheyAreWhite()
    {
        QFETCH(uint, crBk);
        ListWindow list(120, 100, FALSE);
        list.pList->SetBkColor(crBk);
        list.pList->AddRow(QStringLiteral("(T0)"), QString());  // empty text: icons start at x = 12
        list.Cell(0, 1)->nIconFlags = LCX_ICON_NOTES | LCX_ICON_ALARM | LCX_ICON_RECUR | 8 | 16;
        const QImage image = Render(list.pList);
        const QImage* pTag = GetBitmapResource(168);
        const QImage* pNotes = GetBitmapResource(157);
        const QImage* pAlarm = GetBitmapResource(153);
        const QImage* pRecur = GetBitmapResource(158);
        QVERIFY(pTag && pNotes && pAlarm && pRecur);
        QVERIFY(RegionShows(image, 1, 0, *pTag, crBk));
        QVERIFY(RegionShows(image, 12, 1, *pNotes, crBk));
        QVERIFY(RegionShows(image, 12 + pNotes->width(), 1, *pAlarm, crBk));
        QVERIFY(RegionShows(image, 12 + pNotes->width() + pAlarm->width(), 1, *pRecur, crBk));
        // Nothing follows: the owner's bits 8 and 16 draw no icon.
        const int xEnd = 12 + pNotes->width() + pAlarm->width() + pRecur->width();
        QVERIFY(!ContainsColor(image, QRect(xEnd, 0, 20, 12), 0x000000));
        QCOMPARE(PixelRef(image, 60, 30), static_cast<COLORREF>(crBk));
    }

    void selectedTextLabelUsesSelectionColours()
    {
        ListWindow list(120, 100, FALSE);
        list.pList->AddRow(QStringLiteral("9:00"), QStringLiteral("Standup"));
        list.Focus();
        const QImage image = Render(list.pList);
        // Column 0 gets black behind white text; column 1 keeps the plain look.
        QVERIFY(ContainsColor(image, QRect(1, 0, 12, 11), 0x000000));
        bool bLightInk = false;  // the glyphs are white (with smoothed edges)
        for (int x = 1; x < 13; ++x) {
            for (int y = 0; y < 11; ++y)
                bLightInk = bLightInk || qGray(image.pixel(x, y)) > 200;
        }
        QVERIFY(bLightInk);
        QCOMPARE(PixelRef(image, 2, 10), static_cast<COLORREF>(0x000000));
        // The text cell of the selected row is not inverted.
        QCOMPARE(PixelRef(image, 110, 5), static_cast<COLORREF>(0xFFFFFF));
    }

    void scrollStripArrowsAndThumb()
    {
        ListWindow list(100, 100, FALSE);
        for (int i = 0; i < 20; ++i)
            list.pList->AddRow(QStringLiteral("(T1)"), QStringLiteral("Row %1").arg(i));
        QImage image = Render(list.pList);
        QVERIFY(list.pList->IsScrollStripShown());
        QCOMPARE(list.pList->GetMaxTopRow(), 12);     // 8 rows of 12 fit in 100
        QCOMPARE(list.pList->GetLastPageRows(), 8);
        QCOMPARE(PixelRef(image, 94, 5), static_cast<COLORREF>(0xAAAAAA));  // up: grey at the top
        QCOMPARE(PixelRef(image, 94, 82), static_cast<COLORREF>(0x000000)); // down: black
        RECT rc = list.pList->GetThumbRect();
        QCOMPARE(rc.left, 92);
        QCOMPARE(rc.right, 97);
        QCOMPARE(rc.top, 8);
        QCOMPARE(rc.bottom, 8 + 100 * 72 / 240);
        QCOMPARE(PixelRef(image, 94, rc.top), static_cast<COLORREF>(0xAAAAAA));
        QCOMPARE(PixelRef(image, 94, rc.bottom), static_cast<COLORREF>(0xFFFFFF));
        for (int nSel = 8; nSel <= 19; ++nSel) {
            list.pList->SetCurSel(nSel);
            list.pList->EnsureSelVisible();
            image = Render(list.pList);
            QCOMPARE(list.pList->GetTopRow(), nSel - 7);
            rc = list.pList->GetThumbRect();
            QVERIFY2(rc.bottom <= 100 - 20, qPrintable(QString::number(nSel)));
            QCOMPARE(PixelRef(image, 94, 5), static_cast<COLORREF>(0x000000));
        }
        QCOMPARE(list.pList->GetTopRow(), 12);
        QCOMPARE(PixelRef(image, 94, 82), static_cast<COLORREF>(0xAAAAAA)); // down: grey at the end
    }

    // Scrolled down one row and then made taller: the list shows a valid top row for the new
    // height, its thumb stays below the up arrow, and once every row fits it shows from row 0
    // without strip, so a tap at the top right selects a row instead of grabbing a thumb.
    void listThatSuddenlyFitsShowsFromTheTop()
    {
        ListWindow list(100, 100, FALSE);
        list.window.resize(140, 340);
        list.window.show();
        for (int i = 0; i < 20; ++i)
            list.pList->AddRow(QStringLiteral("(T1)"), QStringLiteral("Row %1").arg(i));
        Render(list.pList);
        SendMouse(list.pList, QEvent::MouseButtonPress, 95, 83, true);  // the down arrow
        SendMouse(list.pList, QEvent::MouseButtonRelease, 95, 83, false);
        QCOMPARE(list.pList->GetTopRow(), 1);

        list.pList->resize(100, 200);  // 240 pixels of rows: still scrolls
        QImage image = Render(list.pList);
        QVERIFY(image.scaled(image.size() * 3).save(TestOutputPath(QStringLiteral("listpaint_taller_200.png"))));
        QCOMPARE(list.pList->GetTopRow(), 1);
        QVERIFY(list.pList->GetThumbRect().top >= 8);
        QCOMPARE(PixelRef(image, 94, 5), static_cast<COLORREF>(0x000000));  // up arrow, black

        list.pList->resize(100, 300);  // every row fits
        image = Render(list.pList);
        QVERIFY(image.scaled(image.size() * 3).save(TestOutputPath(QStringLiteral("listpaint_taller_300.png"))));
        QCOMPARE(list.pList->GetTopRow(), 0);
        QVERIFY(!list.pList->IsScrollStripShown());
        QCOMPARE(PixelRef(image, 94, 5), static_cast<COLORREF>(0xFFFFFF));
        SendMouse(list.pList, QEvent::MouseButtonPress, 95, 5, true);
        QVERIFY(list.pList->GetDragMode() != 1);
        QCOMPARE(list.pList->GetCurSel(), 0);
        SendMouse(list.pList, QEvent::MouseButtonRelease, 95, 5, false);
    }

    void tallRowsDrawTheStripWithABlackDownArrow()
    {
        ListWindow list(60, 60, TRUE);
        list.pList->AddRow(QStringLiteral("(E)"),
                           QStringLiteral("A very long text that wraps into many many lines in this narrow list"));
        const QImage image = Render(list.pList);
        QVERIFY(list.pList->GetRowHeight(0) > 60);
        QVERIFY(list.pList->IsScrollStripShown());
        QCOMPARE(PixelRef(image, 54, 42), static_cast<COLORREF>(0x000000));
        QVERIFY(list.pList->GetThumbRect().bottom <= 60 - 20);
    }

    void noStripWhenEverythingFits()
    {
        ListWindow list(100, 100, FALSE);
        for (int i = 0; i < 8; ++i)
            list.pList->AddRow(QStringLiteral("(T1)"), QStringLiteral("Row"));
        const QImage image = Render(list.pList);
        QVERIFY(!list.pList->IsScrollStripShown());
        QCOMPARE(PixelRef(image, 94, 5), static_cast<COLORREF>(0xFFFFFF));
    }

    void emptyListShowsBackgroundAndBadgeOnly()
    {
        ListWindow list(100, 60, FALSE);
        list.pList->SetBkColor(kToday);
        list.pList->SetCornerLabel(QString(), 0xFFFFFF, 156);
        const QImage image = Render(list.pList);
        QVERIFY(!list.pList->IsScrollStripShown());
        const QImage* pBadge = GetBitmapResource(156);
        QVERIFY(pBadge != nullptr);
        // The badge at (W - 38, Hc - 12), white transparent; its last column is cut off.
        QVERIFY(RegionShows(image, 62, 48, pBadge->copy(0, 0, 38, 12), kToday));
        for (int y = 0; y < 48; ++y)
            QCOMPARE(PixelRef(image, 30, y), static_cast<COLORREF>(kToday));
    }

    void cornerLabelTextIsDrawnOnTheBadge()
    {
        ListWindow list(100, 60, FALSE);
        list.pList->SetCornerLabel(QStringLiteral("Tu 5"), 0xFFFFFF, 155);
        QImage image = Render(list.pList);
        const QImage* pBadge = GetBitmapResource(155);
        QVERIFY(pBadge != nullptr);
        QVERIFY(!RegionShows(image, 62, 48, pBadge->copy(0, 0, 38, 12), 0xFFFFFF));
        list.pList->SetCornerLabel(QString(), 0xFFFFFF, 155);
        image = Render(list.pList);
        QVERIFY(RegionShows(image, 62, 48, pBadge->copy(0, 0, 38, 12), 0xFFFFFF));
    }

    void resizeLaysEveryRowOutAgain()
    {
        ListWindow list(200, 100, TRUE);
        list.window.show();  // a hidden widget gets its resize events only when shown
        list.pList->AddRow(QStringLiteral("(E)"), QStringLiteral("one two three four five six seven"));
        Render(list.pList);
        QCOMPARE(list.pList->GetRowHeight(0), 12);
        list.pList->resize(60, 100);
        Render(list.pList);
        QVERIFY(list.pList->GetRowHeight(0) > 12);
        // Changing the mode alone keeps the old layout until the next resize.
        list.pList->SetMultiline(FALSE, TRUE);
        Render(list.pList);
        QVERIFY(list.pList->GetRowHeight(0) > 12);
        list.pList->resize(61, 100);
        Render(list.pList);
        QCOMPARE(list.pList->GetRowHeight(0), 12);
    }

    void measuringCountsEveryCharacterOnOneLine()
    {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(10);
        const TextMeasurer measure(font);
        std::vector<int> extents;
        measure.GetExtents(QStringLiteral("ab\ncd"), &extents);
        QCOMPARE(extents.size(), size_t{5});
        for (size_t i = 1; i < extents.size(); ++i)
            QVERIFY(extents[i] > extents[i - 1]);
        const int nWhole = TextExtent(measure, QStringLiteral("Dentist"));
        QVERIFY(qAbs(nWhole - QFontMetricsF(font).horizontalAdvance(QStringLiteral("Dentist"))) < 1.0);
    }

    void columnsAndCellsOutOfRange()
    {
        ListWindow list(100, 100, FALSE);
        QVERIFY(!list.pList->SetColumnWidth(2, 10));
        QVERIFY(!list.pList->SetColumnWidth(-1, 10));
        QVERIFY(!list.pList->SetColumnWidth(0, -1));
        QVERIFY(list.pList->SetColumnWidth(0, 20));
        list.pList->AddRow(QStringLiteral("a"), QStringLiteral("b"));
        ListCell sentinel;
        ListCell* pCell = &sentinel;
        list.pList->GetCell(1, 0, &pCell);
        QCOMPARE(pCell, &sentinel);
        list.pList->GetCell(0, 2, &pCell);
        QCOMPARE(pCell, &sentinel);
        list.pList->GetCell(0, 1, &pCell);
        QCOMPARE(pCell->strText, QStringLiteral("b"));
        QCOMPARE(pCell->nOid, -1);
        QCOMPARE(pCell->crText, static_cast<COLORREF>(0));
        QVERIFY(list.pList->DeleteAllItems());
        QCOMPARE(list.pList->GetItemCount(), 0);
        QCOMPARE(list.pList->GetCurSel(), -1);
        QCOMPARE(list.pList->GetTopRow(), 0);
    }
};

QTEST_MAIN(TestListPaint)
#include "tst_listpaint.moc"
