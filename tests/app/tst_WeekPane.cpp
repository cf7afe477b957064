// The week pane in its window: layout weights, corner labels and today's background, and
// moving by day, week and calendar pick, with the notifications it sends.
#include "WeekFixture.h"
#include "week/WeekLayout.h"
#ifndef Q_MOC_RUN  // moc cannot parse the C++20 library headers it pulls in
#include "calendar/CDayWatch.h"
#endif
#include <QPainter>
#include <QtTest>
#include <vector>

namespace {

// Stands in for the main view as the pane's receiver and records what it is told.
class CPaneRecorder : public QWidget, public INotifyReceiver {
public:
    intptr_t OnNotify(NMHDR* pHdr) override
    {
        const auto* pNm = reinterpret_cast<const NMWEEKPANE*>(pHdr);
        codes.push_back(pHdr->code);
        items.push_back(pNm->iItem);
        points.push_back(QPoint(pNm->ptAction.x, pNm->ptAction.y));
        return 0;
    }
    bool Got(unsigned nCode) const { return std::find(codes.begin(), codes.end(), nCode) != codes.end(); }
    std::vector<unsigned> codes;
    std::vector<int> items;
    std::vector<QPoint> points;
};

struct Session {
    CWeekFixture fx;
    std::unique_ptr<CMainFrame> pFrame;
    CPaneRecorder recorder;
    CWeekPane* pPane = nullptr;
};

// Starts on the date with the window active, so that focus moves as it does for a user.
bool StartActive(Session* pSession, int y, int m, int d)
{
    pSession->fx.SetNow(y, m, d);
    pSession->pFrame = pSession->fx.Start(y, m, d);
    if (!pSession->pFrame)
        return false;
    pSession->pPane = CWeekFixture::Pane(pSession->pFrame.get());
    pSession->pPane->SetOwner(&pSession->recorder);
    QApplication::setActiveWindow(pSession->pFrame.get());
    return QTest::qWaitForWindowActive(pSession->pFrame.get());
}

ListCell* FirstCell(CWeekPane* pPane, int nDay)
{
    ListCell* pCell = nullptr;
    pPane->GetDayList(nDay)->GetCell(0, 0, &pCell);
    return pCell;
}

// A reload replaces every cell, and a new cell may take a freed one's address, so the
// first cell of a day is recognised by a mark written into it.
void MarkFirstCell(CWeekPane* pPane, int nDay)
{
    if (ListCell* pCell = FirstCell(pPane, nDay))
        pCell->strExtra = QStringLiteral("marked by the test");
}

bool FirstCellIsMarked(CWeekPane* pPane, int nDay)
{
    const ListCell* pCell = FirstCell(pPane, nDay);
    return pCell != nullptr && pCell->strExtra == QStringLiteral("marked by the test");
}

QPoint CalendarCellCentre(CWeekPane* pPane, int nMonth, int nDay)
{
    const CalendarGrid& grid = pPane->GetCalendar().GetGrid();
    for (int i = 0; i < grid.nCellCount; ++i) {
        const CalendarCell& cell = grid.cells[i];
        if (cell.nMonth == nMonth && cell.nDay == nDay)
            return QPoint((cell.rc.left + cell.rc.right) / 2, (cell.rc.top + cell.rc.bottom) / 2);
    }
    return QPoint(-1, -1);
}

}  // namespace

class TestWeekPane : public QObject {
    Q_OBJECT
private slots:
    void layoutFollowsTheWeights();
    void cornerLabelsAndTodaysBackground();
    void focusSelectsTheCurrentDay();
    void reloadKeepsTheSelectionInStepWithTheList();
    void leftAndRightMoveByWeek();
    void upOnMondayShowsPreviousSunday();
    void downOnSundayShowsNextMonday();
    void upInsideTheWeekMovesToThePreviousDay();
    void dayMoveIntoAnotherMonthReportsTheDate();
    void calendarPickOfAnotherWeekLoadsIt();
    void calendarPickInsideTheWeekOnlyMovesTheFocus();
    void penEventsArePassedOnInScreenCoordinates();
    void smallPaneDefersTheFirstLoad();
    void midnightMovesTodayAndReloadsTheWeek();
    void midnightIntoANewWeekShowsIt();
    void midnightKeepsAnotherShownWeek();
};

void TestWeekPane::layoutFollowsTheWeights()
{
    Session s;
    s.fx.AddAppt("A", CWeekFixture::Date(2015, 3, 2, 8, 0), CWeekFixture::Date(2015, 3, 2, 9, 0));
    s.fx.AddAppt("B", CWeekFixture::Date(2015, 3, 2, 10, 0), CWeekFixture::Date(2015, 3, 2, 11, 0));
    QVERIFY(StartActive(&s, 2015, 3, 4));
    // Lay out again now that the rows have their painted heights.
    s.pPane->Layout(s.pPane->width(), s.pPane->height());
    int nHeights[7];
    for (int i = 0; i < 7; ++i)
        nHeights[i] = s.pPane->GetDayList(i)->GetTotalHeight();
    QCOMPARE(nHeights[0], 24);  // two rows of 12 pixels
    QCOMPARE(nHeights[1], 12);
    WeekLayout layout;
    QVERIFY(ComputeWeekLayout(s.pPane->width(), s.pPane->height(), nHeights, &layout));
    for (int i = 0; i < 7; ++i) {
        const RECT& rc = layout.rcDays[i];
        QCOMPARE(s.pPane->GetDayList(i)->geometry(), QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top));
    }
    QVERIFY(s.pPane->GetDayList(0)->height() > s.pPane->GetDayList(1)->height());
    QCOMPARE(s.pPane->GetDayList(1)->height(), s.pPane->GetDayList(2)->height());
    QCOMPARE(s.pPane->GetCalendar().geometry(), QRect(121, 0, 119, 58));
}

void TestWeekPane::cornerLabelsAndTodaysBackground()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 2, 25));  // the week of 23 February: Sunday is 1 March
    const QStringList labels = {"M 2/23", "Tue 24", "Wed 25", "Thu 26", "Fri 27", "Sat 28", "S 3/1"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(s.pPane->GetCornerLabel(i), labels.at(i));
        QCOMPARE(s.pPane->GetDayList(i)->GetBkColor(), i == 2 ? RGB(255, 255, 200) : RGB(255, 255, 255));
    }
    s.pPane->SetWeek(DateTime(2015, 3, 4, 0, 0, 0));  // today is no longer in the week
    for (int i = 0; i < 7; ++i)
        QCOMPARE(s.pPane->GetDayList(i)->GetBkColor(), RGB(255, 255, 255));
}

void TestWeekPane::focusSelectsTheCurrentDay()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 4));
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    int nDay = -1, nRow = -1;
    QVERIFY(s.pPane->GetSelection(&nDay, &nRow));
    QCOMPARE(nDay, 2);
    QCOMPARE(nRow, 0);
}

void TestWeekPane::reloadKeepsTheSelectionInStepWithTheList()
{
    Session s;
    for (int nHour : {8, 9, 10})
        s.fx.AddAppt("Meeting", CWeekFixture::Date(2015, 3, 4, nHour, 0), CWeekFixture::Date(2015, 3, 4, nHour, 30));
    QVERIFY(StartActive(&s, 2015, 3, 4));
    CListCtrlEx* pList = s.pPane->GetDayList(2);
    QTRY_VERIFY(pList->hasFocus());
    pList->SetCurSel(2);
    int nDay = -1, nRow = -1;
    QVERIFY(s.pPane->GetSelection(&nDay, &nRow));
    QCOMPARE(nRow, 2);
    // The reloaded list starts again at its first row; the pane must not keep the old row.
    s.pPane->Reload();
    QVERIFY(pList->hasFocus());
    QVERIFY(s.pPane->GetSelection(&nDay, &nRow));
    QCOMPARE(nDay, 2);
    QCOMPARE(nRow, pList->GetCurSel());
}

void TestWeekPane::leftAndRightMoveByWeek()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 4));
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    s.recorder.codes.clear();
    QTest::keyClick(s.pPane->GetDayList(2), Qt::Key_Left);
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 2, 25, 0, 0, 0));
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 2, 23, 0, 0, 0));
    QVERIFY(s.recorder.Got(WPN_DATECHANGED));
    QCOMPARE(s.recorder.codes.back(), WPN_KEYDOWN);
    QCOMPARE(s.recorder.items.back(), VK_LEFT);
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    QTest::keyClick(s.pPane->GetDayList(2), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 11, 0, 0, 0));
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 3, 9, 0, 0, 0));
}

void TestWeekPane::upOnMondayShowsPreviousSunday()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 2));
    QTRY_VERIFY(s.pPane->GetDayList(0)->hasFocus());
    QTest::keyClick(s.pPane->GetDayList(0), Qt::Key_Up);
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 2, 23, 0, 0, 0));
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 1, 0, 0, 0));
    QTRY_VERIFY(s.pPane->GetDayList(6)->hasFocus());
}

void TestWeekPane::downOnSundayShowsNextMonday()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 8));  // the 23-hour Sunday
    QTRY_VERIFY(s.pPane->GetDayList(6)->hasFocus());
    QTest::keyClick(s.pPane->GetDayList(6), Qt::Key_Down);
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 3, 9, 0, 0, 0));
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 9, 0, 0, 0));
    QTRY_VERIFY(s.pPane->GetDayList(0)->hasFocus());
}

void TestWeekPane::upInsideTheWeekMovesToThePreviousDay()
{
    Session s;
    s.fx.AddAppt("A", CWeekFixture::Date(2015, 3, 3, 8, 0), CWeekFixture::Date(2015, 3, 3, 9, 0));
    s.fx.AddAppt("B", CWeekFixture::Date(2015, 3, 3, 10, 0), CWeekFixture::Date(2015, 3, 3, 11, 0));
    QVERIFY(StartActive(&s, 2015, 3, 4));
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    MarkFirstCell(s.pPane, 1);
    QTest::keyClick(s.pPane->GetDayList(2), Qt::Key_Up);
    QTRY_VERIFY(s.pPane->GetDayList(1)->hasFocus());
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 3, 0, 0, 0));
    QCOMPARE(s.pPane->GetDayList(1)->GetCurSel(), 1);  // its last row
    int nDay = -1, nRow = -1;
    QVERIFY(s.pPane->GetSelection(&nDay, &nRow));
    QCOMPARE(nDay, 1);
    QCOMPARE(nRow, 1);
    QVERIFY(FirstCellIsMarked(s.pPane, 1));  // no reload
    QVERIFY(!s.recorder.Got(WPN_DATECHANGED));
    QTest::keyClick(s.pPane->GetDayList(1), Qt::Key_Down);  // row 1 is the last: on to Wednesday
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    QCOMPARE(s.pPane->GetDayList(2)->GetCurSel(), 0);
}

void TestWeekPane::dayMoveIntoAnotherMonthReportsTheDate()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 31));
    QTRY_VERIFY(s.pPane->GetDayList(1)->hasFocus());
    s.recorder.codes.clear();
    QTest::keyClick(s.pPane->GetDayList(1), Qt::Key_Down);
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 4, 1, 0, 0, 0));
    QVERIFY(s.recorder.Got(WPN_DATECHANGED));
    DateTime picked;
    s.pPane->GetCalendar().GetDate(&picked);
    QCOMPARE(picked, DateTime(2015, 4, 1, 0, 0, 0));
}

void TestWeekPane::calendarPickOfAnotherWeekLoadsIt()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 4));
    MarkFirstCell(s.pPane, 0);
    const QPoint pt = CalendarCellCentre(s.pPane, 3, 18);
    QVERIFY(pt.x() >= 0);
    QTest::mouseClick(&s.pPane->GetCalendar(), Qt::LeftButton, Qt::NoModifier, pt);
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 3, 16, 0, 0, 0));
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 18, 0, 0, 0));
    QVERIFY(FirstCell(s.pPane, 0) != nullptr);
    QVERIFY(!FirstCellIsMarked(s.pPane, 0));
    QVERIFY(s.recorder.Got(WPN_DATECHANGED));
}

void TestWeekPane::calendarPickInsideTheWeekOnlyMovesTheFocus()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 4));
    QTRY_VERIFY(s.pPane->GetDayList(2)->hasFocus());
    MarkFirstCell(s.pPane, 0);
    s.recorder.codes.clear();
    const QPoint pt = CalendarCellCentre(s.pPane, 3, 6);
    QVERIFY(pt.x() >= 0);
    QTest::mouseClick(&s.pPane->GetCalendar(), Qt::LeftButton, Qt::NoModifier, pt);
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 6, 0, 0, 0));
    QTRY_VERIFY(s.pPane->GetDayList(4)->hasFocus());
    QVERIFY(FirstCellIsMarked(s.pPane, 0));
    QVERIFY(!s.recorder.Got(WPN_DATECHANGED));
    QVERIFY(s.recorder.Got(WPN_SELCHANGED));
}

void TestWeekPane::penEventsArePassedOnInScreenCoordinates()
{
    Session s;
    s.fx.AddAppt("A", CWeekFixture::Date(2015, 3, 4, 8, 0), CWeekFixture::Date(2015, 3, 4, 9, 0));
    QVERIFY(StartActive(&s, 2015, 3, 4));
    CListCtrlEx* pList = s.pPane->GetDayList(2);
    s.recorder.codes.clear();
    s.recorder.items.clear();
    s.recorder.points.clear();
    const QPoint pt(20, 5);
    QTest::mousePress(pList, Qt::LeftButton, Qt::NoModifier, pt);
    QTest::mouseRelease(pList, Qt::LeftButton, Qt::NoModifier, pt);
    QVERIFY(s.recorder.Got(WPN_CLICK));
    QVERIFY(s.recorder.Got(WPN_PENUP));
    const size_t nClick = std::find(s.recorder.codes.begin(), s.recorder.codes.end(), WPN_CLICK)
                          - s.recorder.codes.begin();
    QCOMPARE(s.recorder.items.at(nClick), 0);  // the row under the pen
    QCOMPARE(s.recorder.points.at(nClick), pList->mapToGlobal(pt));
    QVERIFY(pList->mapToGlobal(pt) != pt);
}

void TestWeekPane::smallPaneDefersTheFirstLoad()
{
    CWeekFixture fx;
    auto pFrame = std::make_unique<CMainFrame>();
    QVERIFY(pFrame->Create());
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    pFrame->resize(240, 150);  // the pane gets 150 - 20 - 36 = 94 rows
    pFrame->show();
    CAgendaApp::PaintOffscreen(pFrame.get());
    QCOMPARE(pPane->height(), 94);
    QVERIFY(!pPane->IsPainted());
    QVERIFY(pPane->IsLoadPending());
    QCOMPARE(pPane->GetDayList(0)->GetItemCount(), 0);
    pFrame->resize(240, 320);
    CAgendaApp::PaintOffscreen(pFrame.get());
    QVERIFY(pPane->IsPainted());
    QVERIFY(!pPane->IsLoadPending());
    QCOMPARE(pPane->GetDayList(0)->GetItemCount(), 1);
}

// A window left open over midnight: the day watch finds the new date and the week shows it
// as if just started: today's colour, the calendar's today box, the days-left and overdue
// texts and the floating tasks.
void TestWeekPane::midnightMovesTodayAndReloadsTheWeek()
{
    Session s;
    s.fx.AddTask({QStringLiteral("Loose"), 1});
    s.fx.AddTask({QStringLiteral("Soon"), 1, 949998.0, CWeekFixture::Date(2015, 3, 5)});
    s.fx.AddTask({QStringLiteral("Paper"), 1, 949998.0, CWeekFixture::Date(2015, 3, 4)});
    QVERIFY(StartActive(&s, 2015, 3, 4));
    s.fx.SetNow(2015, 3, 4, 23, 59);
    QVERIFY(!s.pPane->GetDayWatch().Check());
    QCOMPARE(s.pPane->GetCalendar().GetTodayDay(), 4);
    QCOMPARE(CWeekFixture::DayRows(s.pFrame.get(), 2),
             (QStringList{"(T1)\tPaper\textra=(T1)|Paper\tcolor=#0000FF", "(T1)\tSoon(1d)\textra=(T1)|Soon(1d)",
                          "(FT1)\tLoose\textra=(FT1)|Loose"}));

    s.fx.SetNow(2015, 3, 5, 0, 0);
    QVERIFY(s.pPane->GetDayWatch().Check());
    QCOMPARE(s.pPane->GetCalendar().GetTodayDay(), 5);
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 5, 0, 0, 0));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(s.pPane->GetDayList(i)->GetBkColor(), i == 3 ? RGB(255, 255, 200) : RGB(255, 255, 255));
    QCOMPARE(CWeekFixture::DayRows(s.pFrame.get(), 2), QStringList{"(T1)\tPaper\textra=(T1)|Paper\tcolor=#FF0096"});
    QCOMPARE(CWeekFixture::DayRows(s.pFrame.get(), 3),
             (QStringList{"(T1)\tPaper(+1d)\textra=(T1)|Paper(+1d)\tcolor=#FF0096",
                          "(T1)\tSoon\textra=(T1)|Soon\tcolor=#0000FF", "(FT1)\tLoose\textra=(FT1)|Loose"}));
    QTRY_VERIFY(s.pPane->GetDayList(3)->hasFocus());
    // The calendar draws the box on the new day.
    QImage image(s.pPane->GetCalendar().size(), QImage::Format_RGB32);
    QPainter painter(&image);
    s.pPane->GetCalendar().PaintTo(&painter);
    painter.end();
    const CalendarGrid& grid = s.pPane->GetCalendar().GetGrid();
    QCOMPARE(QColor(image.pixel(grid.cells[4].rc.left + 2, grid.cells[4].rc.top + 1)), QColor(0x7D, 0x7D, 0xC3));
    QVERIFY(QColor(image.pixel(grid.cells[3].rc.left + 2, grid.cells[3].rc.top + 1)) != QColor(0x7D, 0x7D, 0xC3));
}

void TestWeekPane::midnightIntoANewWeekShowsIt()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 8));  // Sunday
    s.fx.SetNow(2015, 3, 9, 0, 0);
    QVERIFY(s.pPane->GetDayWatch().Check());
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 3, 9, 0, 0, 0));
    QCOMPARE(s.pPane->GetDayList(0)->GetBkColor(), RGB(255, 255, 200));
    QCOMPARE(s.pPane->GetCalendar().GetTodayDay(), 9);
}

// Someone looking at another week at midnight keeps looking at it; only today's marks move.
void TestWeekPane::midnightKeepsAnotherShownWeek()
{
    Session s;
    QVERIFY(StartActive(&s, 2015, 3, 4));
    s.pPane->SetWeek(DateTime(2015, 3, 11, 0, 0, 0));
    s.fx.SetNow(2015, 3, 5, 0, 0);
    QVERIFY(s.pPane->GetDayWatch().Check());
    QCOMPARE(s.pPane->GetWeekStart(), DateTime(2015, 3, 9, 0, 0, 0));
    QCOMPARE(s.pFrame->GetCurrentDate(), DateTime(2015, 3, 11, 0, 0, 0));
    QCOMPARE(s.pPane->GetCalendar().GetTodayDay(), 5);
}

QTEST_MAIN(TestWeekPane)
#include "tst_WeekPane.moc"
