// The rows of the seven day lists after a load, for the edge cases of the week model and
// the entry texts. Zone America/New_York; the week of 2 March 2015 is the one in which
// daylight time starts (Sunday 8 March); "today" is fixed.
#include "WeekFixture.h"
#include "app/MainCommands.h"
#include "calendar/LunarCalendar.h"
#include "dialogs/CAnniversaryDlg.h"
#include "week/CWeekLoader.h"
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <vector>

class TestWeekLoad : public QObject {
    Q_OBJECT
private slots:
    void appointmentRowsInTheDaylightWeek();
    void dailySeriesShowsOnceADay();
    void changedOccurrenceKeepsItsOwnNotesFlag();
    void duplicateCheckMatchesOidAndStartOnly();
    void allDayFromLastWeekIsNeverBold();
    void taskRowsInTaskOrder();
    void taskOrderKeepsStoreOrderForEqualKeys();
    void taskDueAfterDaylightStartCountsCalendarDays();
    void showCompleteTaskOffHidesCompletedTasks();
    void boldImportantTaskOnlyForHighImportance();
    void specialDaysAcrossTheYearBoundary();
    void lunarDayOfThePreviousLunarYearInJanuary();
    void specialDayOnlyDayHasNoPlaceholder();
    void dayAddedInTheEditorShowsAtOnce();
    void sundayAndMondaySelectTheirWeeks();
    void loadingTwiceGivesTheSameRows();
    void weekWithoutTodayShowsStartAndDueDays();
    void taskWithStartAndNoDueNeverTurnsOverdue();
    void printingWithoutTheWindowGivesTheSameBytes();
};

void TestWeekLoad::appointmentRowsInTheDaylightWeek()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9, 0), F::Date(2015, 3, 3, 10, 30));
    fx.AddAppt("Trip", F::Date(2015, 3, 2, 22, 0), F::Date(2015, 3, 4, 2, 0), false, "Busan");
    fx.AddAppt("Holiday", F::Date(2015, 3, 6), F::Date(2015, 3, 8), true, "Jeju");
    fx.AddAppt("Brunch", F::Date(2015, 3, 8, 10, 0), F::Date(2015, 3, 8, 11, 0));
    fx.AddAppt("Next week", F::Date(2015, 3, 9, 0, 30), F::Date(2015, 3, 9, 1, 0));
    fx.AddAppt("Last week", F::Date(2015, 3, 1, 9, 0), F::Date(2015, 3, 1, 10, 0));
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"10:00p\tTrip(Busan)\textra=10:00p-2:00a|"});
    QCOMPARE(F::DayRows(pFrame.get(), 1), (QStringList{"<<\tTrip\textra=10:00p-2:00a|Trip (Busan)",
                                                       "9:00a\tDentist\textra=9:00a-10:30a|"}));
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"<<\tTrip (~2:00a)\textra=10:00p-2:00a|Trip (Busan)"});
    QCOMPARE(F::DayRows(pFrame.get(), 3), QStringList{"(NULL)\t"});
    QCOMPARE(F::DayRows(pFrame.get(), 4), QStringList{"(E)\tHoliday (Jeju)"});
    QCOMPARE(F::DayRows(pFrame.get(), 5), QStringList{"<<\tHoliday (Jeju)"});
    // Sunday is 23 hours long; next Monday's appointment stays out of this week.
    QCOMPARE(F::DayRows(pFrame.get(), 6),
             (QStringList{"<<\tHoliday (Jeju)", "10:00a\tBrunch\textra=10:00a-11:00a|"}));
    QCOMPARE(F::Pane(pFrame.get())->GetWeekEnd(), DateTime(2015, 3, 8, 23, 59, 59));

    ListCell* pCell = nullptr;
    F::Pane(pFrame.get())->GetDayList(1)->GetCell(1, 0, &pCell);
    QVERIFY(pCell);
    QCOMPARE(pCell->nKind, 1);
    QCOMPARE(pCell->dtItem, F::Date(2015, 3, 3, 9, 0));
}

void TestWeekLoad::dailySeriesShowsOnceADay()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    const int nOid = fx.AddDailyAppt("Gym", F::Date(2015, 3, 5, 8, 0), F::Date(2015, 3, 5, 8, 30), 4);
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    for (int nDay = 3; nDay < 7; ++nDay)
        QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"8:00a\tGym\textra=8:00a-8:30a|\trecurring"});
    ListCell* pCell = nullptr;
    F::Pane(pFrame.get())->GetDayList(6)->GetCell(0, 0, &pCell);
    QCOMPARE(pCell->nOid, nOid);
    QCOMPARE(pCell->dtItem, F::Date(2015, 3, 8, 8, 0));
}

void TestWeekLoad::changedOccurrenceKeepsItsOwnNotesFlag()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    const int nOid = fx.AddDailyAppt("Gym", F::Date(2015, 3, 5, 8, 0), F::Date(2015, 3, 5, 8, 30), 4);
    std::unique_ptr<IAppointment> pSeries;
    QVERIFY(SUCCEEDED(fx.Store()->GetItemFromOid(nOid, &pSeries)));
    pSeries->put_Body(QStringLiteral("bring towel"));
    QVERIFY(SUCCEEDED(pSeries->Save()));
    // The first occurrence of the week is changed and loses the notes; the others keep them.
    std::unique_ptr<IRecurrencePattern> pPattern;
    pSeries->GetRecurrencePattern(&pPattern);
    std::unique_ptr<IAppointment> pFirst;
    QVERIFY(SUCCEEDED(pPattern->GetOccurrence(F::Date(2015, 3, 5, 8, 0), &pFirst)));
    pFirst->put_BodyInk(QByteArray());
    QVERIFY(SUCCEEDED(pFirst->Save()));
    // Single appointments with and without notes.
    fx.AddAppt("Plain", F::Date(2015, 3, 2, 9, 0), F::Date(2015, 3, 2, 10, 0));
    std::unique_ptr<IAppointment> pNoted;
    QVERIFY(SUCCEEDED(fx.Store()->GetItemFromOid(
        fx.AddAppt("Noted", F::Date(2015, 3, 2, 11, 0), F::Date(2015, 3, 2, 12, 0)), &pNoted)));
    pNoted->put_Body(QStringLiteral("agenda"));
    QVERIFY(SUCCEEDED(pNoted->Save()));
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 0), (QStringList{"9:00a\tPlain\textra=9:00a-10:00a|",
                                                       "11:00a\tNoted\textra=11:00a-12:00p|\tnotes"}));
    QCOMPARE(F::DayRows(pFrame.get(), 3), QStringList{"8:00a\tGym\textra=8:00a-8:30a|\trecurring"});
    for (int nDay = 4; nDay < 7; ++nDay)
        QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"8:00a\tGym\textra=8:00a-8:30a|\tnotes\trecurring"});
}

void TestWeekLoad::duplicateCheckMatchesOidAndStartOnly()
{
    CListCtrlEx list;
    list.SetColumnCount(2);
    list.AddRow("(NULL)", "");  // no item: OID -1
    list.AddRow("8:00a", "Gym");
    ListCell* pCell = nullptr;
    list.GetCell(1, 0, &pCell);
    pCell->nOid = 7;
    pCell->dtItem = 42068.5;
    QVERIFY(CWeekPane::ListHasOccurrence(list, 7, 42068.5));
    QVERIFY(!CWeekPane::ListHasOccurrence(list, 7, 42069.5));
    QVERIFY(!CWeekPane::ListHasOccurrence(list, 8, 42068.5));
    QVERIFY(!CWeekPane::ListHasOccurrence(list, -1, 0.0));
}

void TestWeekLoad::allDayFromLastWeekIsNeverBold()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetOption("BoldAllDayEvent", 1);
    fx.AddAppt("Leave", F::Date(2015, 2, 26), F::Date(2015, 3, 3), true);
    fx.AddAppt("Fair", F::Date(2015, 3, 5), F::Date(2015, 3, 6), true);
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"<<\tLeave"});
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"<<\tLeave"});
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"(NULL)\t"});
    QCOMPARE(F::DayRows(pFrame.get(), 3), QStringList{"(E)\tFair\tbold"});
    QCOMPARE(F::DayRows(pFrame.get(), 4), QStringList{"<<\tFair"});
}

void TestWeekLoad::taskRowsInTaskOrder()
{
    CWeekFixture fx;  // today Wednesday 4 March
    using F = CWeekFixture;
    fx.AddTask({"Report", 1, 949998.0, F::Date(2015, 3, 7)});
    fx.AddTask({"Late", 2, 949998.0, F::Date(2015, 3, 2)});
    fx.AddTask({"Float", 0});
    fx.AddTask({"Done", 1, 949998.0, 949998.0, true});
    fx.AddTask({"Now", 1, 949998.0, F::Date(2015, 3, 4)});
    fx.AddTask({"Old", 1, 949998.0, F::Date(2015, 2, 20), true});  // completed, due last month
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"(T2)\tLate\textra=(T2)|Late\tcolor=#FF0096\thigh"});
    QCOMPARE(F::DayRows(pFrame.get(), 2), (QStringList{
                                              "(T2)\tLate(+2d)\textra=(T2)|Late(+2d)\tcolor=#FF0096\thigh",
                                              "(T1)\tNow\textra=(T1)|Now\tcolor=#0000FF",
                                              "(T1)\tReport(3d)\textra=(T1)|Report(3d)",
                                              "(FT0)\tFloat\textra=(FT0)|Float\tlow",
                                              "(FT1)\tDone\textra=(FT1)|Done\tcolor=#969696\tstrike",
                                          }));
    QCOMPARE(F::DayRows(pFrame.get(), 5), QStringList{"(T1)\tReport\textra=(T1)|Report"});
    QCOMPARE(F::DayRows(pFrame.get(), 6), QStringList{"(NULL)\t"});
    // The floating task shows only while today lies in the shown week.
    F::Pane(pFrame.get())->SetWeek(DateTime(2015, 3, 10, 0, 0, 0));
    for (int nDay = 0; nDay < 7; ++nDay)
        QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"(NULL)\t"});
}

void TestWeekLoad::taskOrderKeepsStoreOrderForEqualKeys()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetNow(2015, 3, 1);  // today before the shown week: due-day rows only
    const DATE fri = F::Date(2015, 3, 6);
    fx.AddTask({"D", 2, 949998.0, fri, true});
    fx.AddTask({"A", 1, 949998.0, fri});
    fx.AddTask({"C", 0, 949998.0, fri});
    fx.AddTask({"B", 1, 949998.0, fri});
    fx.AddTask({"E", 1, 949998.0, F::Date(2015, 3, 5)});
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QStringList labels;
    for (const QString& row : F::DayRows(pFrame.get(), 4))
        labels.append(row.section(QLatin1Char('\t'), 1, 1));
    QCOMPARE(labels, (QStringList{"A", "B", "C", "D"}));
}

void TestWeekLoad::taskDueAfterDaylightStartCountsCalendarDays()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetNow(2015, 3, 6, 9, 0);  // Friday; due on Monday after the clocks went forward
    fx.AddTask({"Soon", 1, 949998.0, F::Date(2015, 3, 9)});
    fx.AddTask({"Past", 1, 949998.0, F::Date(2015, 3, 1)});
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 4), (QStringList{"(T1)\tPast(+5d)\textra=(T1)|Past(+5d)\tcolor=#FF0096",
                                                       "(T1)\tSoon(3d)\textra=(T1)|Soon(3d)"}));
}

void TestWeekLoad::showCompleteTaskOffHidesCompletedTasks()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetOption("ShowCompleteTask", 0);
    fx.AddTask({"Open", 1, 949998.0, F::Date(2015, 3, 5)});
    fx.AddTask({"Closed", 1, 949998.0, F::Date(2015, 3, 5), true});
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 3), QStringList{"(T1)\tOpen\textra=(T1)|Open"});
}

void TestWeekLoad::boldImportantTaskOnlyForHighImportance()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetOption("BoldImportantTask", 1);
    fx.SetNow(2015, 3, 1);  // before the week: no overdue colour, no today rows
    const DATE thu = F::Date(2015, 3, 5);
    fx.AddTask({"High", 2, 949998.0, thu});
    fx.AddTask({"Normal", 1, 949998.0, thu});
    fx.AddTask({"Low", 0, 949998.0, thu});
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 3), (QStringList{"(T2)\tHigh\textra=(T2)|High\tbold\thigh",
                                                       "(T1)\tNormal\textra=(T1)|Normal",
                                                       "(T0)\tLow\textra=(T0)|Low\tlow"}));
}

void TestWeekLoad::specialDaysAcrossTheYearBoundary()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetOption("BoldAllDayEvent", 1);
    SolarDate lunar;
    QVERIFY(LunarCalendar().LunarToSolar(2014, 11, 9, FALSE, &lunar));
    QCOMPARE(lunar.wYear, uint16_t(2014));  // lies in this week (checked below)
    fx.WriteFile("anniversary.dat",
                 "0000-01-01 New Year\n0000-12-31 Eve\n2015-01-02 Once\n2014-01-02 Not this year\n"
                 "[#00FF00]\nL0000-11-09 Lunar\n");
    auto pFrame = fx.Start(2015, 1, 1);
    QVERIFY(pFrame);
    QCOMPARE(F::Pane(pFrame.get())->GetWeekStart(), DateTime(2014, 12, 29, 0, 0, 0));
    const int nLunarDay = F::Pane(pFrame.get())->DayIndexOf(DateTime(lunar.wYear, lunar.nMonth, lunar.nDay, 0, 0, 0));
    QVERIFY(nLunarDay >= 0);
    QVERIFY(F::DayRows(pFrame.get(), nLunarDay).contains("(E)\tLunar\tcolor=#00FF00\tbold\trecurring"));
    QCOMPARE(F::DayRows(pFrame.get(), 2).first(), QString("(E)\tEve\tbold\trecurring"));
    QCOMPARE(F::DayRows(pFrame.get(), 3).first(), QString("(E)\tNew Year\tbold\trecurring"));
    QCOMPARE(F::DayRows(pFrame.get(), 4), QStringList{"(E)\tOnce\tbold\trecurring"});
    ListCell* pCell = nullptr;
    F::Pane(pFrame.get())->GetDayList(4)->GetCell(0, 0, &pCell);
    QCOMPARE(pCell->nKind, 0);
    QCOMPARE(pCell->nOid, 0);
    QCOMPARE(pCell->dtItem, 0.0);
}

void TestWeekLoad::lunarDayOfThePreviousLunarYearInJanuary()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    SolarDate solar;
    QVERIFY(LunarCalendar().LunarToSolar(2014, 12, 10, FALSE, &solar));
    QCOMPARE(solar.wYear, uint16_t(2015));
    fx.WriteFile("anniversary.dat", "L0000-12-10 Late lunar\n");
    auto pFrame = fx.Start(solar.wYear, solar.nMonth, solar.nDay);
    QVERIFY(pFrame);
    const int nDay = F::Pane(pFrame.get())->DayIndexOf(DateTime(solar.wYear, solar.nMonth, solar.nDay, 0, 0, 0));
    QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"(E)\tLate lunar\trecurring"});
}

void TestWeekLoad::specialDayOnlyDayHasNoPlaceholder()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.WriteFile("anniversary.dat", "[#FF0000]\n0000-03-03 Holiday\n");
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"(E)\tHoliday\tcolor=#FF0000\trecurring"});
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"(NULL)\t"});
    ListCell* pCell = nullptr;
    F::Pane(pFrame.get())->GetDayList(0)->GetCell(0, 0, &pCell);
    QCOMPARE(pCell->nOid, -1);
    QCOMPARE(pCell->nKind, -1);
}

// The editor, opened from the popup menu's command, adds a lunar day; the week behind it
// shows the day before the editor is closed.
void TestWeekLoad::dayAddedInTheEditorShowsAtOnce()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    auto pFrame = fx.Start(2026, 5, 25);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 6), QStringList{"(NULL)\t"});
    QStringList rowsWhileOpen;
    QTimer::singleShot(0, this, [&]() {
        auto* pDlg = qobject_cast<CAnniversaryDlg*>(QApplication::activeModalWidget());
        if (pDlg == nullptr)
            return;
        pDlg->SetForm(AnniversaryFields{QStringLiteral("Grandma"), 0, 4, 15, true, false}, 0);
        pDlg->OnAdd();
        rowsWhileOpen = F::DayRows(pFrame.get(), 6);
        pDlg->accept();
    });
    pFrame->GetView()->OnCommand(ID_SPECIAL_DAYS);
    // Lunar 2026-04-15 is Sunday 31 May.
    QCOMPARE(rowsWhileOpen, QStringList{"(E)\tGrandma\trecurring"});
}

void TestWeekLoad::sundayAndMondaySelectTheirWeeks()
{
    CWeekFixture fx;
    auto pFrame = fx.Start(2015, 3, 8);
    QVERIFY(pFrame);
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->GetWeekStart(), DateTime(2015, 3, 2, 0, 0, 0));
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 8, 0, 0, 0));
    CWeekFixture::Pane(pFrame.get())->SetWeek(DateTime(2015, 3, 9, 0, 0, 0));
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->GetWeekStart(), DateTime(2015, 3, 9, 0, 0, 0));
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->GetWeekEnd(), DateTime(2015, 3, 15, 23, 59, 59));
}

void TestWeekLoad::loadingTwiceGivesTheSameRows()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9, 0), F::Date(2015, 3, 3, 10, 30));
    fx.AddTask({"Report", 1, 949998.0, F::Date(2015, 3, 7)});
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    const QString before = CWeekPrinter(F::Pane(pFrame.get()), pFrame->GetToday()).ToText();
    F::Pane(pFrame.get())->Reload();
    QCOMPARE(CWeekPrinter(F::Pane(pFrame.get()), pFrame->GetToday()).ToText(), before);
    QVERIFY(before.contains("9:00a\tDentist"));
}

void TestWeekLoad::weekWithoutTodayShowsStartAndDueDays()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetNow(2015, 2, 20);  // before the shown week
    fx.SetOption("ShowTaskStart", 1);
    fx.AddTask({"Due Thursday", 1, 949998.0, F::Date(2015, 3, 5)});
    fx.AddTask({"Starts Tuesday", 1, F::Date(2015, 3, 3), F::Date(2015, 4, 10)});
    fx.AddTask({"Running", 1, F::Date(2015, 2, 1), F::Date(2015, 4, 10)});
    fx.AddTask({"Undated", 1});
    fx.AddTask({"Done Friday", 0, 949998.0, F::Date(2015, 3, 6), true});
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"(T1)\tStarts Tuesday(~4/10)\textra=(T1)|Starts Tuesday(~4/10)"});
    QCOMPARE(F::DayRows(pFrame.get(), 3), QStringList{"(T1)\tDue Thursday\textra=(T1)|Due Thursday"});
    QCOMPARE(F::DayRows(pFrame.get(), 4),
             QStringList{"(T0)\tDone Friday\textra=(T0)|Done Friday\tcolor=#969696\tstrike\tlow"});
    for (int nDay : {0, 2, 5, 6})
        QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"(NULL)\t"});
}

// Saved with a start date and no due date, a task keeps no due date: it floats on today
// from its start on, never in the overdue colour, and a later start shows once, as a start.
void TestWeekLoad::taskWithStartAndNoDueNeverTurnsOverdue()
{
    CWeekFixture fx;
    using F = CWeekFixture;
    fx.SetOption("ShowTaskStart", 1);
    fx.AddTask({"Started Monday", 1, F::Date(2015, 3, 2)});
    fx.AddTask({"Starts Friday", 1, F::Date(2015, 3, 6)});
    auto pFrame = fx.Start(2015, 3, 4);
    QVERIFY(pFrame);
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"(NULL)\t"});
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"(FT1)\tStarted Monday\textra=(FT1)|Started Monday"});
    QCOMPARE(F::DayRows(pFrame.get(), 4), QStringList{"(T1)\tStarts Friday(3/6~)\textra=(T1)|Starts Friday(3/6~)"});
}

// --print-week loads the week without any window into plain rows; the window loads it
// into the pane's lists. Both give the same bytes, text and JSON, on weeks of every kind.
void TestWeekLoad::printingWithoutTheWindowGivesTheSameBytes()
{
    using F = CWeekFixture;
    struct WeekCase {
        const char* pszName;
        DateTime date;
        std::function<void(CWeekFixture&)> fnFill;
    };
    const std::vector<WeekCase> cases{
        {"appointments, series and special days in the daylight week", DateTime(2015, 3, 2, 0, 0, 0),
         [](CWeekFixture& fx) {
             fx.SetOption("BoldAllDayEvent", 1);
             fx.WriteFile("anniversary.dat", "[#FF0000]\n0000-03-03 Holiday\nL0000-01-13 Lunar\n");
             fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9, 0), F::Date(2015, 3, 3, 10, 30));
             fx.AddAppt("Trip", F::Date(2015, 3, 2, 22, 0), F::Date(2015, 3, 4, 2, 0), false, "Busan");
             fx.AddAppt("Leave", F::Date(2015, 2, 26), F::Date(2015, 3, 3), true, "Jeju");
             fx.AddDailyAppt("Gym", F::Date(2015, 3, 5, 8, 0), F::Date(2015, 3, 5, 8, 30), 4);
             fx.AddTask({"Report", 1, 949998.0, F::Date(2015, 3, 7)});
         }},
        {"tasks of every kind in today's week", DateTime(2015, 3, 4, 0, 0, 0),
         [](CWeekFixture& fx) {
             fx.SetOption("BoldImportantTask", 1);
             fx.SetOption("ShowTaskStart", 1);
             fx.AddTask({"Report", 1, 949998.0, F::Date(2015, 3, 7)});
             fx.AddTask({"Late", 2, 949998.0, F::Date(2015, 3, 2)});
             fx.AddTask({"Float", 0});
             fx.AddTask({"Done", 1, 949998.0, 949998.0, true});
             fx.AddTask({"Starts Friday", 1, F::Date(2015, 3, 6)});
             fx.AddAppt("Brunch", F::Date(2015, 3, 8, 10, 0), F::Date(2015, 3, 8, 11, 0));
         }},
        {"a week without today, completed tasks hidden", DateTime(2015, 3, 11, 0, 0, 0),
         [](CWeekFixture& fx) {
             fx.SetOption("ShowCompleteTask", 0);
             fx.AddTask({"Open", 1, 949998.0, F::Date(2015, 3, 12)});
             fx.AddTask({"Closed", 1, 949998.0, F::Date(2015, 3, 12), true});
             fx.AddDailyAppt("Stand-up", F::Date(2015, 3, 10, 9, 0), F::Date(2015, 3, 10, 9, 15), 3);
         }},
        {"an empty week across the new year", DateTime(2015, 1, 1, 0, 0, 0),
         [](CWeekFixture& fx) { fx.WriteFile("anniversary.dat", "0000-01-01 New Year\n0000-12-31 Eve\n"); }},
    };
    for (const WeekCase& c : cases) {
        CWeekFixture fx;
        c.fnFill(fx);
        auto pFrame = fx.Start(c.date.GetYear(), c.date.GetMonth(), c.date.GetDay());
        QVERIFY2(pFrame, c.pszName);
        const CWeekPrinter window(F::Pane(pFrame.get()), pFrame->GetToday());
        const QString strWindowText = window.ToText();
        const QByteArray windowJson = window.ToJson();
        pFrame.reset();
        const auto [strText, json] = F::PrintedWithoutWindow(c.date);
        QVERIFY2(strWindowText.count(QLatin1Char('\n')) > 7, c.pszName);
        QCOMPARE(strText, strWindowText);
        QCOMPARE(json, windowJson);
    }
}

QTEST_MAIN(TestWeekLoad)
#include "tst_WeekLoad.moc"
