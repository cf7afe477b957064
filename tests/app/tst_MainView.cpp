// The main view: its buttons or soft-key bar, the title, the status line, the button bar
// and the month, week and today commands; and screenshots of busy and empty weeks.
#include "WeekFixture.h"
#include "app/CSoftKeyBar.h"
#include "app/CStatusLine.h"
#include "app/MainCommands.h"
#include "controls/BitmapDraw.h"
#include "controls/CBitmapButtonEx.h"
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <QtTest>

namespace {

const int kBottomButtons[] = {IDC_POPUP_MENU, ID_GOTO_TODAY, ID_NEW_APPOINTMENT, ID_NEW_TASK,
                              ID_DELETE_ITEM, IDC_PREV_WEEK, IDC_NEXT_WEEK};

void AddBusyWeek(CWeekFixture* pFx)
{
    using F = CWeekFixture;
    pFx->WriteFile("anniversary.dat", "[#FF0000]\n0000-03-01 Independence Movement Day\n0000-03-03 Holiday\n");
    pFx->AddAppt("Dentist", F::Date(2015, 3, 3, 9, 0), F::Date(2015, 3, 3, 10, 30), false, "Main street clinic");
    pFx->AddAppt("Trip to the coast with the whole family", F::Date(2015, 3, 2, 22, 0), F::Date(2015, 3, 4, 2, 0),
                 false, "Busan");
    pFx->AddAppt("Conference", F::Date(2015, 3, 6), F::Date(2015, 3, 8), true, "Seoul");
    pFx->AddDailyAppt("Gym", F::Date(2015, 3, 2, 7, 0), F::Date(2015, 3, 2, 8, 0), 7);
    pFx->AddTask({"Quarterly report", 2, 949998.0, F::Date(2015, 3, 6)});
    pFx->AddTask({"Call the plumber", 1, 949998.0, F::Date(2015, 3, 2)});
    pFx->AddTask({"Read a book", 0});
    pFx->AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4), true});
}

QImage Shot(CMainFrame* pFrame, const QString& name)
{
    const QImage image = CAgendaApp::PaintOffscreen(pFrame);
    const QString dir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        image.save(QDir(dir).filePath(name), "PNG");
    return image;
}

bool RowIsColour(const QImage& image, int y, int x0, int x1, QRgb rgb)
{
    for (int x = x0; x < x1; ++x) {
        if ((image.pixel(x, y) & 0xFFFFFF) != (rgb & 0xFFFFFF))
            return false;
    }
    return true;
}

std::unique_ptr<CMainFrame> StartActive(CWeekFixture* pFx, int y, int m, int d)
{
    auto pFrame = pFx->Start(y, m, d);
    if (!pFrame)
        return nullptr;
    QApplication::setActiveWindow(pFrame.get());
    if (!QTest::qWaitForWindowActive(pFrame.get()))
        return nullptr;
    return pFrame;
}

}  // namespace

class TestMainView : public QObject {
    Q_OBJECT
private slots:
    void buttonBarHasItsButtonsAndGreyRows();
    void softKeysReplaceTheBottomButtons();
    void titleReplacesYearAndMonth();
    void statusLineShowsTheSelectedEntry();
    void statusLineCellsDrawTagsAndFitText();
    void monthButtons_data();
    void monthButtons();
    void weekButtonsAndToday();
    void screenshots_data();
    void screenshots();
};

void TestMainView::buttonBarHasItsButtonsAndGreyRows()
{
    CWeekFixture fx;
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    CMainView* pView = pFrame->GetView();
    QCOMPARE(pView->GetClientRect().bottom, 300);
    QVERIFY(pView->GetSoftKeyBar() == nullptr);
    for (int nId : kBottomButtons)
        QVERIFY2(pView->GetButton(nId) != nullptr, qPrintable(QString::number(nId)));
    QCOMPARE(pView->GetButton(IDC_PREV_MONTH)->pos(), QPoint(5, 3));
    QCOMPARE(pView->GetButton(IDC_NEXT_MONTH)->pos(), QPoint(76, 3));
    QCOMPARE(pView->GetButton(ID_GOTO_TODAY)->pos(), QPoint(28, 302));
    QCOMPARE(pView->GetButton(IDC_PREV_WEEK)->pos(), QPoint(200, 302));
    QCOMPARE(pView->GetButton(IDC_NEXT_WEEK)->pos(), QPoint(220, 302));
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->geometry(), QRect(0, 19, 240, 264));
    const QImage image = Shot(pFrame.get(), "mainview-empty-buttons-raw.png");
    QVERIFY(RowIsColour(image, 300, 0, 240, qRgb(0, 0, 0)));
    QVERIFY(RowIsColour(image, 301, 130, 190, qRgb(107, 107, 107)));  // between the buttons
    QVERIFY(RowIsColour(image, 319, 130, 190, qRgb(53, 53, 53)));
    QVERIFY(RowIsColour(image, 17, 0, 120, qRgb(0xBE, 0xBE, 0xBE)));
    QVERIFY(RowIsColour(image, 283, 0, 240, qRgb(0xBE, 0xBE, 0xBE)));
    QVERIFY(RowIsColour(image, 290, 0, 240, qRgb(0xE6, 0xE6, 0xE6)));  // empty status line
}

void TestMainView::softKeysReplaceTheBottomButtons()
{
    CWeekFixture fx;
    fx.SetOption("UseSoftKey", 1);
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    CMainView* pView = pFrame->GetView();
    for (int nId : kBottomButtons)
        QVERIFY(pView->GetButton(nId) == nullptr);
    QVERIFY(pView->GetButton(IDC_PREV_MONTH) != nullptr);
    CSoftKeyBar* pBar = pView->GetSoftKeyBar();
    QVERIFY(pBar);
    QCOMPARE(pBar->GetButton(IDM_SOFTKEY_NEW)->text(), QString("새항목"));
    QCOMPARE(pBar->GetButton(IDM_SOFTKEY_TOOLS)->text(), QString("Tools"));
    QStringList items;
    for (QAction* pAction : pBar->GetMenu(IDM_SOFTKEY_TOOLS)->actions())
        items.append(pAction->isSeparator() ? QString("-") : pAction->text());
    QCOMPARE(items, (QStringList{"&1. 오늘날짜로", "-", "&2. 삭제...", "-", "&3. 설정...", "&4. 정보...", "&5. 종료"}));
    QCOMPARE(pBar->GetMenu(IDM_SOFTKEY_NEW)->actions().size(), 2);
    // The view keeps its whole height; the bar lies below it.
    QCOMPARE(pView->GetClientRect().bottom, pView->height());
    QCOMPARE(pBar->geometry().top(), pView->height());
    QCOMPARE(pBar->geometry().bottom(), pFrame->height() - 1);
    // The menu's today command reaches the view.
    CWeekFixture::Pane(pFrame.get())->SetWeek(DateTime(2015, 4, 20, 0, 0, 0));
    pBar->GetMenu(IDM_SOFTKEY_TOOLS)->actions().at(0)->trigger();
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 4, 0, 0, 0));
}

void TestMainView::titleReplacesYearAndMonth()
{
    CWeekFixture fx;
    auto pFrame = fx.Start(2015, 12, 9);
    QVERIFY(pFrame);
    QCOMPARE(pFrame->GetView()->GetTitleText(), QString("Dec 2015"));
    QByteArray strings(kFixtureStrings);
    strings.replace("RC_COMMON_FORMAT_TITLE_DATE=MM YYYY", "RC_COMMON_FORMAT_TITLE_DATE=Week view");
    fx.WriteFile("orlith.inf", strings);
    auto pOther = fx.Start(2015, 12, 9);
    QCOMPARE(pOther->GetView()->GetTitleText(), QString("Week view"));
}

void TestMainView::statusLineShowsTheSelectedEntry()
{
    CWeekFixture fx;
    fx.AddAppt("Dentist appointment with a long description that cannot fit",
               CWeekFixture::Date(2015, 3, 4, 9, 0), CWeekFixture::Date(2015, 3, 4, 10, 0));
    auto pFrame = StartActive(&fx, 2015, 3, 4);
    QVERIFY(pFrame);
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    QTRY_VERIFY(pPane->GetDayList(2)->hasFocus());
    int nDay = -1, nRow = -1;
    QVERIFY(pPane->GetSelection(&nDay, &nRow));
    QImage image = CAgendaApp::PaintOffscreen(pFrame.get());
    QVERIFY(!RowIsColour(image, 290, 0, 240, qRgb(0xE6, 0xE6, 0xE6)));  // text drawn
    // A row without an item leaves the line empty.
    pPane->GetDayList(0)->setFocus();
    QTRY_VERIFY(pPane->GetDayList(0)->hasFocus());
    image = CAgendaApp::PaintOffscreen(pFrame.get());
    for (int y = 284; y < 299; ++y)
        QVERIFY(RowIsColour(image, y, 0, 240, qRgb(0xE6, 0xE6, 0xE6)));
}

void TestMainView::statusLineCellsDrawTagsAndFitText()
{
    QCOMPARE(CStatusLine::TagBitmap("(T1)"), 166);
    QCOMPARE(CStatusLine::TagBitmap("(NULL)"), 0);  // not one of the status line's tags
    QCOMPARE(CStatusLine::TagBitmap("9:00a"), 0);
    QImage image(240, 16, QImage::Format_RGB32);
    image.fill(qRgb(0xE6, 0xE6, 0xE6));
    QPainter painter(&image);
    const CStatusLine line("mirafon", 10);
    ListCell tag;
    tag.strText = "(T1)";
    const int x = line.DrawCell(&painter, tag, 2, 0, 240);
    const QImage* pTag = GetBitmapResource(166);
    QVERIFY(pTag);
    QCOMPARE(x, 2 + pTag->width() + 1);
    ListCell text;
    text.strText = QString(200, QChar('w'));
    text.nIconFlags = LCX_ICON_NOTES;
    const int xEnd = line.DrawCell(&painter, text, x, 0, 240);
    QVERIFY(xEnd <= 240 + 2);  // shortened to the room left, the notes icon included
    QVERIFY(xEnd > 200);
    painter.end();
}

void TestMainView::monthButtons_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("command");
    QTest::addColumn<QDate>("to");
    QTest::newRow("31 March back") << QDate(2015, 3, 31) << IDC_PREV_MONTH << QDate(2015, 2, 28);
    QTest::newRow("leap year") << QDate(2016, 3, 31) << IDC_PREV_MONTH << QDate(2016, 2, 29);
    QTest::newRow("31 January on") << QDate(2015, 1, 31) << IDC_NEXT_MONTH << QDate(2015, 2, 28);
    QTest::newRow("December on") << QDate(2015, 12, 15) << IDC_NEXT_MONTH << QDate(2016, 1, 15);
    QTest::newRow("January back") << QDate(2015, 1, 15) << IDC_PREV_MONTH << QDate(2014, 12, 15);
}

void TestMainView::monthButtons()
{
    QFETCH(QDate, from);
    QFETCH(int, command);
    QFETCH(QDate, to);
    CWeekFixture fx;
    auto pFrame = fx.Start(from.year(), from.month(), from.day());
    QVERIFY(pFrame);
    pFrame->GetView()->GetButton(command)->click();
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(to.year(), to.month(), to.day(), 0, 0, 0));
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->DayIndexOf(pFrame->GetCurrentDate()) >= 0, true);
}

void TestMainView::weekButtonsAndToday()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx, 2015, 3, 4);
    QVERIFY(pFrame);
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    QTRY_VERIFY(pPane->GetDayList(2)->hasFocus());
    pFrame->GetView()->GetButton(IDC_NEXT_WEEK)->click();
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 11, 0, 0, 0));
    QTRY_VERIFY(pPane->GetDayList(2)->hasFocus());
    pFrame->GetView()->GetButton(IDC_PREV_WEEK)->click();
    pFrame->GetView()->GetButton(IDC_PREV_WEEK)->click();
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 2, 25, 0, 0, 0));
    pFrame->GetView()->GetButton(ID_GOTO_TODAY)->click();
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 4, 0, 0, 0));
    QCOMPARE(pPane->GetWeekStart(), DateTime(2015, 3, 2, 0, 0, 0));
}

void TestMainView::screenshots_data()
{
    QTest::addColumn<bool>("bBusy");
    QTest::addColumn<bool>("bSoftKey");
    QTest::newRow("busy, buttons") << true << false;
    QTest::newRow("busy, soft keys") << true << true;
    QTest::newRow("empty, buttons") << false << false;
    QTest::newRow("empty, soft keys") << false << true;
}

void TestMainView::screenshots()
{
    QFETCH(bool, bBusy);
    QFETCH(bool, bSoftKey);
    CWeekFixture fx;
    fx.SetOption("UseSoftKey", bSoftKey ? 1 : 0);
    if (bBusy)
        AddBusyWeek(&fx);
    auto pFrame = StartActive(&fx, 2015, 3, 4);
    QVERIFY(pFrame);
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    QTRY_VERIFY(pPane->GetDayList(2)->hasFocus());
    if (bBusy)
        pPane->GetDayList(0)->setFocus();  // Monday's first row: the long trip
    const QString name = QStringLiteral("mainview-%1-%2.png")
                             .arg(bBusy ? "busy" : "empty", bSoftKey ? "softkeys" : "buttons");
    const QImage image = Shot(pFrame.get(), name);
    QCOMPARE(image.size(), QSize(240, 320));
    // The button bar's grey gradient is there only without soft keys.
    QCOMPARE(RowIsColour(image, 319, 130, 190, qRgb(53, 53, 53)), !bSoftKey);
    // Today's list (Wednesday, left column, third) is pale yellow at its right edge.
    const QRect rc = pPane->GetDayList(2)->geometry().translated(pPane->pos());
    QCOMPARE(image.pixel(rc.right() - 12, rc.top() + 2) & 0xFFFFFF, qRgb(255, 255, 200) & 0xFFFFFF);
}

QTEST_MAIN(TestMainView)
#include "tst_MainView.moc"
