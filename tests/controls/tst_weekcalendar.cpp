// The week calendar: its month grid on rendered pixels, SetDate and GetDate, and taps.
#ifndef Q_MOC_RUN  // moc cannot parse the C++20 library headers it pulls in
#include "calendar/DateTime.h"
#endif
#include "controls/CListCtrlEx.h"
#include "controls/CWeekCalendar.h"
#include "controls_helper.h"
#include "platform/Clock.h"
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QtTest>

namespace {

SYSTEMTIME Today(int nYear, int nMonth, int nDay)
{
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(nYear);
    st.wMonth = static_cast<uint16_t>(nMonth);
    st.wDay = static_cast<uint16_t>(nDay);
    st.wHour = 9;
    return st;
}

struct CalendarWindow {
    NotifyRecorder window;
    CWeekCalendar* pCalendar = nullptr;

    // Today is Wednesday 18 August 2010 unless said otherwise.
    explicit CalendarWindow(const SYSTEMTIME& today = Today(2010, 8, 18))
    {
        SetFixedLocalTime(today);
        window.resize(240, 120);
        pCalendar = new CWeekCalendar(&window);
        RECT rc;
        rc.left = 120;
        rc.right = 240;
        rc.bottom = 58;
        pCalendar->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &window, 3001);
    }

    QDate Picked() const
    {
        DateTime date;
        pCalendar->GetDate(&date);
        return QDate(date.GetYear(), date.GetMonth(), date.GetDay());
    }

    void Tap(int x, int y) { SendMouse(pCalendar, QEvent::MouseButtonPress, x, y, true); }
};

// Counts the presses that reach a window, from its children too.
class PressCounter : public QObject {
public:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::MouseButtonPress)
            ++nPresses;
        return QObject::eventFilter(pWatched, pEvent);
    }
    int nPresses = 0;
};

// The top-left pixel of the today box's filled part for a cell at (x, y).
bool HasTodayBox(const QImage& image, int x, int y)
{
    return PixelRef(image, x + 1, y) == WCAL_CR_TODAYBOX && PixelRef(image, x + 2, y - 1) == WCAL_CR_TODAYBOX
        && PixelRef(image, x + 1, y - 1) != WCAL_CR_TODAYBOX;
}

}  // namespace

class TestWeekCalendar : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitControlsTest(); }
    void cleanup() { SetFixedLocalTime(std::nullopt); }

    void startsOnTodayAndRendersTheMonth()
    {
        CalendarWindow cal;
        QCOMPARE(cal.Picked(), QDate(2010, 8, 18));
        const QImage image = Render(cal.pCalendar);
        const CalendarGrid& grid = cal.pCalendar->GetGrid();
        QCOMPARE(grid.nRowCount, 6);
        QCOMPARE(grid.nCellCount, 33);
        QCOMPARE(cal.pCalendar->GetWeek(), 33);
        // Today (Wednesday, fourth row) has its box; the number inside it is white.
        QVERIFY(HasTodayBox(image, 46, 31));
        QVERIFY(ContainsColor(image, QRect(47, 31, 13, 8), WCAL_CR_TODAYTEXT));
        // The shown week's bar runs across the width with cut corners.
        QCOMPARE(PixelRef(image, 2, 31), WCAL_CR_WEEKBAR);
        QCOMPARE(PixelRef(image, 118, 31), WCAL_CR_WEEKBAR);
        QCOMPARE(PixelRef(image, 119, 31), WCAL_CR_BACKGROUND);
        QCOMPARE(PixelRef(image, 3, 30), WCAL_CR_WEEKBAR);
        QCOMPARE(PixelRef(image, 2, 30), WCAL_CR_BACKGROUND);
        QCOMPARE(PixelRef(image, 3, 37), WCAL_CR_WEEKBAR);
        QCOMPARE(PixelRef(image, 2, 37), WCAL_CR_BACKGROUND);
        QCOMPARE(PixelRef(image, 2, 22), WCAL_CR_BACKGROUND);  // other rows have none
    }

    void weekdayColoursAndWeekNumbers()
    {
        CalendarWindow cal;
        const QImage image = Render(cal.pCalendar);
        // Second row (y 13): Saturday 7th at x 85, Sunday 8th at x 98, Monday 2nd at x 20.
        QVERIFY(ContainsColor(image, QRect(85, 13, 13, 9), WCAL_CR_SATURDAY));
        QVERIFY(ContainsColor(image, QRect(98, 13, 13, 9), WCAL_CR_SUNDAY));
        QVERIFY(ContainsColor(image, QRect(20, 13, 13, 9), WCAL_CR_TEXT));
        QVERIFY(!ContainsColor(image, QRect(20, 13, 13, 9), WCAL_CR_SUNDAY));
        QVERIFY(ContainsColor(image, QRect(0, 13, 18, 9), WCAL_CR_TEXT));  // week 31
        QVERIFY(!ContainsColor(image, QRect(0, 58, 120, 0), WCAL_CR_TEXT));
    }

    // The week numbers are bold: "31" in the week column carries visibly more ink than the
    // day "31" (a Tuesday, in black) drawn in the regular face.
    void weekNumbersAreVisiblyBold()
    {
        CalendarWindow cal;
        const QImage image = Render(cal.pCalendar);
        QVERIFY(image.scaled(image.size() * 4).save(TestOutputPath(QStringLiteral("weekcalendar_bold_weeks_x4.png"))));
        const CalendarGrid& grid = cal.pCalendar->GetGrid();
        QCOMPARE(grid.rows[1].nWeek, 31);
        const RECT& rcDay = grid.cells[30].rc;  // 31 August
        auto ink = [&image](const QRect& rect) {
            int nDark = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x)
                    nDark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            return nDark;
        };
        const int nWeekInk = ink(QRect(0, grid.rows[1].y, 18, 9));
        const int nDayInk = ink(QRect(rcDay.left, rcDay.top, 13, 9));
        QVERIFY(nDayInk > 0);
        QVERIFY2(nWeekInk * 4 >= nDayInk * 5, qPrintable(QStringLiteral("week %1, day %2").arg(nWeekInk).arg(nDayInk)));
    }

    void todayBoxOnlyInTodaysMonth()
    {
        CalendarWindow cal;
        cal.pCalendar->SetDate(2010, 9, 18);
        QImage image = Render(cal.pCalendar);
        QVERIFY(!ContainsColor(image, QRect(0, 0, 120, 58), WCAL_CR_TODAYBOX));
        cal.pCalendar->SetDate(2011, 8, 18);
        image = Render(cal.pCalendar);
        QVERIFY(!ContainsColor(image, QRect(0, 0, 120, 58), WCAL_CR_TODAYBOX));
        cal.pCalendar->SetDate(2010, 8, 2);
        image = Render(cal.pCalendar);
        QVERIFY(HasTodayBox(image, 46, 31));
        QCOMPARE(PixelRef(image, 2, 13), WCAL_CR_WEEKBAR);
    }

    void setDateIgnoresBadDates_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::newRow("before 1970") << 1969 << 12 << 31;
        QTest::newRow("year 3001") << 3001 << 1 << 1;
        QTest::newRow("past the date type") << 2500 << 6 << 1;
        QTest::newRow("month 0") << 2010 << 0 << 1;
        QTest::newRow("month 13") << 2010 << 13 << 1;
        QTest::newRow("day 0") << 2010 << 5 << 0;
        QTest::newRow("day 32") << 2010 << 5 << 32;
        QTest::newRow("30 February") << 2010 << 2 << 30;
    }

    void setDateIgnoresBadDates()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        CalendarWindow cal;
        cal.pCalendar->SetDate(2010, 5, 31);
        cal.pCalendar->SetDate(year, month, day);
        QCOMPARE(cal.Picked(), QDate(2010, 5, 31));
    }

    void tapInTheShownWeekReportsEqualWeeks()
    {
        CalendarWindow cal;
        Render(cal.pCalendar);
        cal.Tap(20 + 13 * 4 + 5, 31 + 4);  // Friday 20th, same row as today
        QCOMPARE(cal.window.Codes(), QVector<unsigned>({WCN_DATEPICKED}));
        const NotifyEntry& entry = cal.window.m_entries[0];
        QCOMPARE(entry.nNewWeek, 33);
        QCOMPARE(entry.nOldWeek, 33);
        QCOMPARE(entry.nId, intptr_t{3001});
        QCOMPARE(cal.Picked(), QDate(2010, 8, 20));
    }

    void tapInAnotherWeekReportsBoth()
    {
        CalendarWindow cal;
        Render(cal.pCalendar);
        cal.Tap(20 + 5, 49 + 2);  // Monday 30th, last row
        QCOMPARE(cal.window.m_entries.size(), 1);
        QCOMPARE(cal.window.m_entries[0].nNewWeek, 35);
        QCOMPARE(cal.window.m_entries[0].nOldWeek, 33);
        QCOMPARE(cal.pCalendar->GetWeek(), 35);
        QCOMPARE(cal.Picked(), QDate(2010, 8, 30));
        cal.window.Clear();
        cal.Tap(10, 10);  // week-number column: no cell
        cal.Tap(60, 58);  // below the grid (the last row ends at 58)
        QVERIFY(cal.window.m_entries.isEmpty());
    }

    void tapStaysWithTheCalendarEvenWhenTheReceiverDeletesIt()
    {
        CalendarWindow cal;
        Render(cal.pCalendar);
        PressCounter counter;
        cal.window.installEventFilter(&counter);
        cal.Tap(20 + 5, 49 + 2);  // a day
        cal.Tap(10, 10);          // no cell
        QCOMPARE(cal.window.m_entries.size(), 1);
        QCOMPARE(counter.nPresses, 0);  // the parent never sees the calendar's taps
        QPointer<CWeekCalendar> pCalendar = cal.pCalendar;
        cal.window.m_onNotify = [&](const NotifyEntry&) { delete pCalendar.data(); };
        cal.Tap(20 + 5, 4 + 2);
        QVERIFY(pCalendar.isNull());
        QCOMPARE(counter.nPresses, 0);
    }

    void leadingAndTrailingCellsPickTheNeighbouringMonths()
    {
        CalendarWindow cal;
        Render(cal.pCalendar);
        cal.Tap(40, 6);  // August 2010 starts on Sunday: Monday to Saturday lead
        QCOMPARE(cal.Picked(), QDate(2010, 7, 31));
        QCOMPARE(cal.window.m_entries[0].nNewWeek, 30);
        Render(cal.pCalendar);  // July 2010: Thursday 1st to Saturday 31st
        const CalendarGrid& grid = cal.pCalendar->GetGrid();
        QCOMPARE(grid.nDayCount, 31);
        QCOMPARE(grid.nRowCount, 5);
        QCOMPARE(grid.cells[0].rc.left, 20 + 3 * 13);
        cal.Tap(100, 4 + 4 * 9 + 1);  // the trailing Sunday
        QCOMPARE(cal.Picked(), QDate(2010, 8, 1));
    }

    void tapKeepsTheFocusInTheDayList()
    {
        CalendarWindow cal;
        auto* pList = new CListCtrlEx(&cal.window);
        RECT rc;
        rc.top = 60;
        rc.right = 100;
        rc.bottom = 120;
        pList->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &cal.window, 3002);
        cal.window.show();
        QApplication::setActiveWindow(&cal.window);
        pList->setFocus();
        QVERIFY(pList->HasFocus());
        Render(cal.pCalendar);
        cal.window.Clear();
        cal.Tap(20 + 5, 49 + 2);
        QVERIFY(pList->HasFocus());
        QCOMPARE(cal.window.Codes(), QVector<unsigned>({WCN_DATEPICKED}));  // no LCXN_KILLFOCUS
    }

    void weekNumbersAcrossTheNewYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("firstWeek");
        QTest::newRow("2005 starts in week 53") << 2005 << 53;
        QTest::newRow("2011 starts in week 52") << 2011 << 52;
        QTest::newRow("2007 starts in week 1") << 2007 << 1;
    }

    void weekNumbersAcrossTheNewYear()
    {
        QFETCH(int, year);
        QFETCH(int, firstWeek);
        CalendarWindow cal;
        cal.pCalendar->SetDate(year, 1, 1);
        Render(cal.pCalendar);
        QCOMPARE(cal.pCalendar->GetGrid().rows[0].nWeek, firstWeek);
        QCOMPARE(cal.pCalendar->GetWeek(), firstWeek);
    }

    void tooSmallDrawsNothingAndKeepsTheCells()
    {
        CalendarWindow cal;
        Render(cal.pCalendar);
        QCOMPARE(cal.pCalendar->GetGrid().nCellCount, 33);
        cal.pCalendar->SetDate(2010, 2, 1);
        cal.pCalendar->resize(99, 58);
        QImage image(99, 58, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter painter(&image);
        cal.pCalendar->PaintTo(&painter);
        painter.end();
        QCOMPARE(PixelRef(image, 50, 30), static_cast<COLORREF>(RGB(255, 0, 0)));
        QCOMPARE(cal.pCalendar->GetGrid().nCellCount, 33);  // still August's
    }

    void mondayToSundayFebruaryHasFourRows()
    {
        CalendarWindow cal;
        cal.pCalendar->SetDate(2010, 2, 10);
        const QImage image = Render(cal.pCalendar);
        const CalendarGrid& grid = cal.pCalendar->GetGrid();
        QCOMPARE(grid.nRowCount, 4);
        QCOMPARE(grid.nCellCount, 28);
        QVERIFY(!ContainsColor(image, QRect(0, 4 + 4 * 9, 120, 18), WCAL_CR_TEXT));
    }
};

QTEST_MAIN(TestWeekCalendar)
#include "tst_weekcalendar.moc"
