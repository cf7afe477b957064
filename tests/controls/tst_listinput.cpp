// The day list's pen, key, focus and timer handling and the notifications it sends.
#include "controls/CListCtrlEx.h"
#include "controls_helper.h"
#include <QApplication>
#include <QPointer>
#include <QtTest>

namespace {

// Opens the handlers up so the repeat timer can be driven tick by tick.
class TestableList : public CListCtrlEx {
public:
    using CListCtrlEx::CListCtrlEx;
    using CListCtrlEx::OnKeyDown;
    using CListCtrlEx::OnTimer;
};

using Codes = QVector<unsigned>;

struct ListWindow {
    NotifyRecorder window;
    TestableList* pList = nullptr;

    // nRows single-line rows of 12 pixels in a list of 100 x nHeight.
    ListWindow(int nRows, int nHeight)
    {
        window.resize(140, nHeight + 20);
        pList = new TestableList(&window);
        RECT rc;
        rc.right = 100;
        rc.bottom = nHeight;
        pList->Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, &window, 3004);
        pList->SetFonts(QStringLiteral("Tahoma"), 10, QStringLiteral("mirafon"), 10);
        pList->SetColumnCount(2);
        pList->SetMultiline(FALSE, FALSE);
        for (int i = 0; i < nRows; ++i)
            pList->AddRow(QStringLiteral("(T1)"), QStringLiteral("Row %1").arg(i));
        window.show();
        QApplication::setActiveWindow(&window);
        pList->setFocus();
        Render(pList);
        window.Clear();
    }

    void Press(int x, int y) { SendMouse(pList, QEvent::MouseButtonPress, x, y, true); }
    void Move(int x, int y, bool bPressed) { SendMouse(pList, QEvent::MouseMove, x, y, bPressed); }
    void Release(int x, int y) { SendMouse(pList, QEvent::MouseButtonRelease, x, y, false); }
    // One timer tick, then the paint the invalidation asks for.
    void Tick()
    {
        pList->OnTimer(pList->GetTimerId());
        Render(pList);
    }
};

}  // namespace

class TestListInput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitControlsTest(); }

    void tapOnTheSelectedRowSendsOnlyClick()
    {
        ListWindow list(5, 100);
        list.Press(30, 5);
        QCOMPARE(list.window.Codes(), Codes({LCXN_CLICK}));
        const NotifyEntry& click = list.window.m_entries[0];
        QCOMPARE(click.nItem, 0);
        QCOMPARE(click.pt.x, 30);
        QCOMPARE(click.pt.y, 5);
        QCOMPARE(click.nId, intptr_t{3004});
        QCOMPARE(click.pFrom, static_cast<QWidget*>(list.pList));
    }

    void tapOnAnotherRowSendsSelChangedThenClick()
    {
        ListWindow list(5, 100);
        list.Press(30, 26);  // row 2 spans y 24..35
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED, LCXN_CLICK}));
        QCOMPARE(list.window.m_entries[0].nItem, 2);
        QCOMPARE(list.window.m_entries[0].pt.x, 0);
        QCOMPARE(list.window.m_entries[1].nItem, 2);
        QCOMPARE(list.window.m_entries[1].pt.y, 26);
        QCOMPARE(list.pList->GetCurSel(), 2);
        list.window.Clear();
        list.Release(31, 27);
        QCOMPARE(list.window.Codes(), Codes({LCXN_PENUP}));
        QCOMPARE(list.window.m_entries[0].pt.x, 31);
    }

    void tapBelowTheRowsSelectsTheLastRow()
    {
        ListWindow list(3, 100);
        list.Press(30, 90);
        QCOMPARE(list.pList->GetCurSel(), 2);
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED, LCXN_CLICK}));
    }

    void tapOnAnEmptyListClicksWithNoSelection()
    {
        ListWindow list(0, 100);
        list.Press(95, 5);  // the strip's place, but no strip is shown
        QCOMPARE(list.window.Codes(), Codes({LCXN_CLICK}));
        QCOMPARE(list.window.m_entries[0].nItem, -1);
        QCOMPARE(list.pList->GetTopRow(), 0);
        list.window.Clear();
        list.pList->OnKeyDown(VK_DOWN);
        QCOMPARE(list.window.Codes(), Codes({LCXN_BOTTOMREACHED, LCXN_KEYDOWN}));
        QCOMPARE(list.pList->GetCurSel(), -1);
    }

    void keysMoveTheSelectionAndReportTheEnds()
    {
        ListWindow list(3, 100);
        QTest::keyClick(list.pList, Qt::Key_Up);
        QCOMPARE(list.window.Codes(), Codes({LCXN_TOPREACHED, LCXN_KEYDOWN, LCXN_KEYUP}));
        QCOMPARE(list.window.m_entries[0].nItem, 0);
        QCOMPARE(list.window.m_entries[1].nItem, VK_UP);
        QCOMPARE(list.window.m_entries[2].nItem, VK_UP);
        QCOMPARE(list.pList->GetCurSel(), 0);
        list.window.Clear();
        QTest::keyPress(list.pList, Qt::Key_Down);
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED, LCXN_KEYDOWN}));
        QCOMPARE(list.window.m_entries[0].nItem, 1);
        QCOMPARE(list.window.m_entries[1].nItem, VK_DOWN);
        list.window.Clear();
        list.pList->OnKeyDown(VK_DOWN);
        list.pList->OnKeyDown(VK_DOWN);
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED, LCXN_KEYDOWN, LCXN_BOTTOMREACHED, LCXN_KEYDOWN}));
        QCOMPARE(list.window.m_entries[2].nItem, 2);
        QCOMPARE(list.pList->GetCurSel(), 2);
        list.window.Clear();
        QTest::keyPress(list.pList, Qt::Key_Left);
        QCOMPARE(list.window.Codes(), Codes({LCXN_KEYDOWN}));
        QCOMPARE(list.window.m_entries[0].nItem, VK_LEFT);
    }

    void keyDownScrollsTheSelectionIntoView()
    {
        ListWindow list(20, 100);
        for (int i = 0; i < 8; ++i)
            list.pList->OnKeyDown(VK_DOWN);
        QCOMPARE(list.pList->GetCurSel(), 8);
        QCOMPARE(list.pList->GetTopRow(), 1);
    }

    void setCurSelNotifiesOnlyChanges()
    {
        ListWindow list(3, 100);
        list.pList->SetCurSel(0);
        list.pList->SetCurSel(3);
        list.pList->SetCurSel(-1);
        QVERIFY(list.window.m_entries.isEmpty());
        list.pList->SetCurSel(2);
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED}));
        QCOMPARE(list.window.m_entries[0].nItem, 2);
    }

    void focusIsTrackedAndReported()
    {
        ListWindow list(3, 100);
        QVERIFY(list.pList->HasFocus());
        list.pList->clearFocus();
        QVERIFY(!list.pList->HasFocus());
        QCOMPARE(list.window.Codes(), Codes({LCXN_KILLFOCUS}));
        QCOMPARE(list.window.m_entries[0].nItem, 0);
        list.window.Clear();
        list.Press(30, 14);  // the focus comes first, then the tap
        QVERIFY(list.pList->HasFocus());
        QCOMPARE(list.window.Codes(), Codes({LCXN_SETFOCUS, LCXN_SELCHANGED, LCXN_CLICK}));
        QCOMPARE(list.window.m_entries[0].nItem, 0);
    }

    void everyPenMoveIsReported()
    {
        ListWindow list(3, 100);
        list.Move(10, 20, false);
        list.Move(11, 21, false);
        list.Press(10, 5);
        list.Move(12, 30, true);
        QCOMPARE(list.window.Codes(), Codes({LCXN_PENMOVE, LCXN_PENMOVE, LCXN_CLICK, LCXN_PENMOVE}));
        QCOMPARE(list.window.m_entries[1].pt.x, 11);
        QCOMPARE(list.window.m_entries[3].pt.y, 30);
        QCOMPARE(list.pList->GetCurSel(), 0);  // moving does not select
    }

    void downArrowScrollsOnceIdlesTwoTicksThenRepeats()
    {
        ListWindow list(20, 100);  // last page from row 12
        QCOMPARE(list.pList->GetMaxTopRow(), 12);
        list.Press(95, 100 - 17);
        QCOMPARE(list.pList->GetTopRow(), 1);
        QCOMPARE(list.pList->GetTimerId(), LCX_TIMER_LINEDOWN);
        QCOMPARE(list.pList->GetDragMode(), 2);
        QVERIFY(list.window.Codes().isEmpty());  // strip taps report nothing
        QCOMPARE(list.pList->GetCurSel(), 0);
        list.Tick();
        list.Tick();
        QCOMPARE(list.pList->GetTopRow(), 1);
        for (int nExpected = 2; nExpected <= 12; ++nExpected) {
            list.Tick();
            QCOMPARE(list.pList->GetTopRow(), nExpected);
        }
        list.Tick();
        QCOMPARE(list.pList->GetTopRow(), 12);
        QCOMPARE(list.pList->GetTimerId(), LCX_TIMER_LINEDOWN);  // kept until pen up
        list.Release(95, 100 - 17);
        QCOMPARE(list.pList->GetTimerId(), 0);
        QCOMPARE(list.pList->GetDragMode(), 0);
        QCOMPARE(list.window.Codes(), Codes({LCXN_PENUP}));
    }

    void upArrowAtTheTopDoesNothing()
    {
        ListWindow list(20, 100);
        list.Press(95, 3);
        QCOMPARE(list.pList->GetTopRow(), 0);
        QCOMPARE(list.pList->GetTimerId(), 0);
        QVERIFY(list.window.Codes().isEmpty());
        list.Release(95, 3);
        list.pList->SetCurSel(19);
        list.pList->EnsureSelVisible();
        Render(list.pList);
        list.Press(95, 3);
        QCOMPARE(list.pList->GetTopRow(), 11);
        QCOMPARE(list.pList->GetTimerId(), LCX_TIMER_LINEUP);
    }

    void pageTapRepeatsUntilTheThumbPassesThePen()
    {
        ListWindow list(60, 100);  // 720 pixels of rows
        const RECT rcStart = list.pList->GetThumbRect();
        const int yPen = 70;
        QVERIFY(rcStart.bottom < yPen);
        list.Press(95, yPen);
        QCOMPARE(list.pList->GetTimerId(), LCX_TIMER_PAGEDOWN);
        QCOMPARE(list.pList->GetDragMode(), 3);
        QCOMPARE(list.pList->GetTopRow(), 8);  // one page of 8 rows at once
        Render(list.pList);
        list.Tick();
        list.Tick();
        QCOMPARE(list.pList->GetTopRow(), 8);
        int nSteps = 0;
        while (list.pList->GetTimerId() != 0 && nSteps < 50) {
            const int nTop = list.pList->GetTopRow();
            const RECT rc = list.pList->GetThumbRect();
            list.Tick();
            if (rc.bottom < yPen)
                QCOMPARE(list.pList->GetTopRow(), nTop + 8);
            ++nSteps;
        }
        QCOMPARE(list.pList->GetTimerId(), 0);
        QVERIFY(list.pList->GetThumbRect().bottom >= yPen);
        QVERIFY(list.pList->GetThumbRect().top <= yPen);
        list.Release(95, yPen);
        QCOMPARE(list.window.Codes(), Codes({LCXN_PENUP}));
    }

    void pageUpTapAboveTheThumb()
    {
        ListWindow list(60, 100);
        list.pList->SetCurSel(59);
        list.pList->EnsureSelVisible();
        Render(list.pList);
        const int nTop = list.pList->GetTopRow();
        QVERIFY(list.pList->GetThumbRect().top > 20);
        list.Press(95, 15);
        QCOMPARE(list.pList->GetTimerId(), LCX_TIMER_PAGEUP);
        QCOMPARE(list.pList->GetTopRow(), nTop - 8);
    }

    void draggingTheThumbToEitherEnd()
    {
        ListWindow list(30, 100);
        const RECT rc = list.pList->GetThumbRect();
        const int yGrab = rc.top + 2;
        list.Press(95, yGrab);
        QCOMPARE(list.pList->GetDragMode(), 1);
        list.Move(95, 500, true);
        QCOMPARE(list.pList->GetTopRow(), list.pList->GetMaxTopRow());
        Render(list.pList);
        list.Move(95, yGrab + 10, true);
        const int nMiddle = list.pList->GetTopRow();
        QVERIFY(nMiddle > 0 && nMiddle < list.pList->GetMaxTopRow());
        list.Move(95, -40, true);
        QCOMPARE(list.pList->GetTopRow(), 0);
        list.Release(95, -40);
        QCOMPARE(list.window.Codes(), Codes({LCXN_PENMOVE, LCXN_PENMOVE, LCXN_PENMOVE, LCXN_PENUP}));
        QCOMPARE(list.pList->GetCurSel(), 0);
        list.Move(95, 500, false);  // after pen up the thumb no longer follows
        QCOMPARE(list.pList->GetTopRow(), 0);
    }

    void wheelScrollsRowsWithinTheLimits()
    {
        ListWindow list(20, 100);
        auto wheel = [&](int nDelta) {
            QWheelEvent event(QPointF(30, 30), list.pList->mapToGlobal(QPointF(30, 30)), QPoint(),
                              QPoint(0, nDelta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list.pList, &event);
        };
        wheel(-120);
        QCOMPARE(list.pList->GetTopRow(), 1);
        wheel(-60);
        QCOMPARE(list.pList->GetTopRow(), 1);
        wheel(-60);
        QCOMPARE(list.pList->GetTopRow(), 2);
        wheel(-120 * 30);
        QCOMPARE(list.pList->GetTopRow(), 12);
        wheel(120 * 30);
        QCOMPARE(list.pList->GetTopRow(), 0);
        QCOMPARE(list.pList->GetCurSel(), 0);
        QVERIFY(list.window.m_entries.isEmpty());
    }

    void receiverMayDeleteTheListWhileItReports()
    {
        ListWindow list(5, 100);
        QPointer<TestableList> pList = list.pList;
        list.window.m_onNotify = [&](const NotifyEntry& entry) {
            if (entry.nCode == LCXN_SELCHANGED)
                delete pList.data();
        };
        list.Press(30, 40);
        QVERIFY(pList.isNull());
        QCOMPARE(list.window.Codes(), Codes({LCXN_SELCHANGED}));
    }

    void notificationsGoToTheOwnerWhileItExists()
    {
        ListWindow list(5, 100);
        auto* pOwner = new NotifyRecorder;
        list.pList->SetOwner(pOwner);
        pOwner->m_nAnswer = 7;
        list.pList->SetCurSel(3);
        QCOMPARE(pOwner->Codes(), Codes({LCXN_SELCHANGED}));
        QVERIFY(list.window.m_entries.isEmpty());
        delete pOwner;
        list.pList->SetCurSel(1);  // the owner is gone: nothing is sent anywhere
        QVERIFY(list.window.m_entries.isEmpty());
        QCOMPARE(list.pList->GetCurSel(), 1);
    }
};

QTEST_MAIN(TestListInput)
#include "tst_listinput.moc"
