// Renders the controls in their usual states and writes them as PNG files into the
// test output folder, for a reviewer to look at.
#include "controls/CListCtrlEx.h"
#include "controls/CWeekCalendar.h"
#include "controls_helper.h"
#include "platform/Clock.h"
#include <QApplication>
#include <QFileInfo>
#include <QtTest>

namespace {

struct Entry {
    const char* pszTag;
    const char* pszText;
    int nIcons;
    COLORREF crText;
    BOOL bBold;
    BOOL bStrikeOut;
};

const Entry kEntries[] = {
    {"<<", "Conference in Busan (day 2 of 3)", 0, 0x000000, FALSE, FALSE},
    {"(E)", "09:00 Team standup in the small meeting room", 6, 0x000000, FALSE, FALSE},
    {"(E)", "12:30 Lunch with Minji", 1, 0x000000, TRUE, FALSE},
    {"(T2)", "Send the quarterly report to finance", 2, 0x0000C0, FALSE, FALSE},
    {"(T1)", "Book train tickets", 0, 0x000000, FALSE, TRUE},
    {"(T0)", "Water the plants", 4, 0x808080, FALSE, FALSE},
    {"(FT1)", "Renew passport before the summer holidays", 1, 0x000000, FALSE, FALSE},
    {"(E)", "18:00 Choir rehearsal", 2, 0x000000, FALSE, FALSE},
    {"(E)", "20:00 \xEA\xB0\x80\xEC\xA1\xB1 \xEB\xAA\xA8\xEC\x9E\x84 (family dinner)", 0, 0x000000, FALSE, FALSE},
    {"(NULL)", "", 0, 0x000000, FALSE, FALSE},
};

struct ListWindow {
    NotifyRecorder window;
    CListCtrlEx* pList = nullptr;

    ListWindow(int nWidth, int nHeight, BOOL bMultiline)
    {
        window.resize(nWidth, nHeight);
        pList = new CListCtrlEx(&window);
        RECT rc;
        rc.right = nWidth;
        rc.bottom = nHeight;
        pList->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &window, 3003);
        pList->SetFonts(QStringLiteral("mirafon"), 10, QStringLiteral("mirafon"), 10);
        pList->SetColumnCount(2);
        pList->SetMultiline(bMultiline, FALSE);
        for (const Entry& entry : kEntries) {
            pList->AddRow(QString::fromUtf8(entry.pszTag), QString::fromUtf8(entry.pszText));
            ListCell* pCell = nullptr;
            pList->GetCell(pList->GetItemCount() - 1, 1, &pCell);
            pCell->nIconFlags = entry.nIcons;
            pCell->crText = entry.crText;
            pCell->bBold = entry.bBold;
            pCell->bStrikeOut = entry.bStrikeOut;
        }
        pList->SetCornerLabel(QStringLiteral("Tue 14"), 0xFFFFFF, 155);
    }
};

void SaveImage(const QImage& image, const QString& strName)
{
    const QString strPath = TestOutputPath(strName);
    QVERIFY(image.save(strPath));
    QVERIFY(QFileInfo(strPath).size() > 0);
    // Four times enlarged, pixel for pixel, for looking at the details.
    const QImage large = image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QVERIFY(large.save(TestOutputPath(QString(strName).replace(QStringLiteral(".png"), QStringLiteral("_x4.png")))));
}

QImage CalendarImage(int nYear, int nMonth, int nDay)
{
    QWidget window;
    auto* pCalendar = new CWeekCalendar(&window);
    RECT rc;
    rc.right = 119;
    rc.bottom = 58;
    pCalendar->Create(WS_CHILD | WS_VISIBLE, rc, &window, 3001);
    pCalendar->SetDate(nYear, nMonth, nDay);
    return Render(pCalendar);
}

}  // namespace

class TestSnapshots : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        InitControlsTest();
        SYSTEMTIME today;
        today.wYear = 2010;
        today.wMonth = 2;
        today.wDay = 17;
        SetFixedLocalTime(today);
    }

    void dayListSingleLine()
    {
        ListWindow list(160, 140, FALSE);
        const QImage image = Render(list.pList);
        QVERIFY(!list.pList->IsScrollStripShown());
        SaveImage(image, QStringLiteral("daylist_single_line.png"));
    }

    void dayListMultiLine()
    {
        ListWindow list(160, 200, TRUE);
        const QImage image = Render(list.pList);
        QVERIFY(list.pList->GetTotalHeight() > 12 * 10);
        SaveImage(image, QStringLiteral("daylist_multi_line.png"));
    }

    void dayListFocusedWithStripOnToday()
    {
        ListWindow list(160, 90, TRUE);
        list.pList->SetBkColor(0xC8FFFF);
        list.window.show();
        QApplication::setActiveWindow(&list.window);
        list.pList->setFocus();
        list.pList->SetCurSel(3);
        list.pList->EnsureSelVisible();
        const QImage image = Render(list.pList);
        QVERIFY(list.pList->HasFocus());
        QVERIFY(list.pList->IsScrollStripShown());
        SaveImage(image, QStringLiteral("daylist_focused_strip_today.png"));
    }

    void calendarMonthStartingOnMonday()
    {
        const QImage image = CalendarImage(2010, 2, 17);  // today, Monday 1st to Sunday 28th
        SaveImage(image, QStringLiteral("weekcalendar_starts_monday.png"));
    }

    void calendarMonthStartingOnSunday()
    {
        const QImage image = CalendarImage(2010, 8, 11);  // Sunday 1st
        SaveImage(image, QStringLiteral("weekcalendar_starts_sunday.png"));
    }
};

QTEST_MAIN(TestSnapshots)
#include "tst_snapshots.moc"
