// The main window's commands, pen strokes and item actions, driven from outside as a
// person would: mouse and touch strokes over the day lists, keys, buttons and menus, on a
// fixture store; the results are read from the store and from the reloaded week.
#include "WeekFixture.h"
#include "app/CSoftKeyBar.h"
#include "dialogs/CStrokeHelpDlg.h"
#include "tests/support/ModalWindow.h"
#include "tests/support/PimTestStore.h"
#include "tests/support/TestOutput.h"
#include "pim/CPimStore.h"
#include "app/CItemActions.h"
#include "app/MainCommands.h"
#include "controls/CBitmapButtonEx.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CApptDlg.h"
#include "dialogs/CTaskDlg.h"
#include "dialogs/EditorIds.h"
#include "dialogs/COptionDlg.h"
#include "dialogs/COptionTaskPage.h"
#include "dialogs/OptionIds.h"
#include <QCheckBox>
#include <QLineEdit>
#include "platform/CScriptedMessageBox.h"
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QPointingDevice>
#include <QTimer>
#include <QtTest>

namespace {

using F = CWeekFixture;

const QByteArray kCommandStrings = QByteArray(kFixtureStrings)
                                   + "RC_COMMON_CONFIRM_DELETEITEM=Delete the item?\n"
                                     "RC_COMMON_CONFIRM_DELETERECURRING=Yes: the series, No: this one\n"
                                     "RC_MENU_STROKES=Pen strokes\nRC_MENU_SPECIAL_DAYS=Special days\nRC_MENU_OPTIONS=Options\nRC_MENU_ABOUT=About\nRC_MENU_EXIT=Exit\n"
                                     "RC_OPTIONDLG_TITLE=Options\nRC_ABOUTDLG_TITLE=About\n"
                                     "RC_MENU_UNDO=Undo\nRC_UNDO_TICKED=Completed: %1\nRC_UNDO_UNTICKED=Not completed: %1\n"
                                     "RC_UNDO_DELETED=Deleted: %1\nRC_UNDO_ADDED=Added: %1\nRC_UNDO_SAVED=Saved: %1\n"
                                     "RC_UNDO_NOTHING=Nothing to undo\nRC_UNDO_CHANGED=Changed since (%1)\n";

constexpr unsigned kYesNoCancelQuestion = 0x23;
constexpr unsigned kYesNoQuestion = 0x24;

// extraStrings: lines added to the test's strings file.
std::unique_ptr<CMainFrame> StartActive(CWeekFixture* pFx, int y = 2015, int m = 3, int d = 4,
                                        const QByteArray& extraStrings = QByteArray())
{
    pFx->WriteFile("orlith.inf", QByteArray(kCommandStrings) + "\n" + extraStrings);
    auto pFrame = pFx->Start(y, m, d);
    if (!pFrame)
        return nullptr;
    QApplication::setActiveWindow(pFrame.get());
    if (!QTest::qWaitForWindowActive(pFrame.get()))
        return nullptr;
    return pFrame;
}

CListCtrlEx* List(CMainFrame* pFrame, int nDay)
{
    return F::Pane(pFrame)->GetDayList(nDay);
}

ListCell* Label(CListCtrlEx* pList, int nRow)
{
    ListCell* pCell = nullptr;
    pList->GetCell(nRow, 0, &pCell);
    return pCell;
}

// The row of the day list that shows the item, or -1.
int RowOf(CListCtrlEx* pList, int nOid)
{
    for (int nRow = 0; nRow < pList->GetItemCount(); ++nRow) {
        if (Label(pList, nRow)->nOid == nOid)
            return nRow;
    }
    return -1;
}

// The middle of a row's left part, in the list's coordinates (the list shows its top rows).
QPoint RowPoint(CListCtrlEx* pList, int nRow)
{
    int y = 0;
    for (int r = 0; r < nRow; ++r)
        y += pList->GetRowHeight(r);
    return QPoint(pList->width() / 4, y + pList->GetRowHeight(nRow) / 2);
}

QPoint InFrame(CMainFrame* pFrame, QWidget* pWidget, QPoint pt)
{
    return pWidget->mapTo(pFrame, pt);
}

// Pen down at the start, moves by the offsets one after another in steps of a few
// pixels, pen up at the end; offsets in pixels, the start in the list's coordinates.
QList<QPoint> StrokePath(QPoint ptStart, const QList<QPoint>& offsets)
{
    QList<QPoint> path{ptStart};
    QPoint pt = ptStart;
    for (const QPoint& offset : offsets) {
        const int nSteps = qMax(1, qMax(qAbs(offset.x()), qAbs(offset.y())) / 4);
        const QPoint from = pt;
        for (int i = 1; i <= nSteps; ++i)
            path.append(from + offset * i / nSteps);
        pt = from + offset;
    }
    return path;
}

void MouseStroke(CMainFrame* pFrame, QWidget* pWidget, const QList<QPoint>& path)
{
    QWindow* pWindow = pFrame->windowHandle();
    QTest::mouseMove(pWindow, InFrame(pFrame, pWidget, path.first()));
    QTest::mousePress(pWindow, Qt::LeftButton, {}, InFrame(pFrame, pWidget, path.first()));
    for (int i = 1; i < path.size(); ++i)
        QTest::mouseMove(pWindow, InFrame(pFrame, pWidget, path[i]));
    QTest::mouseRelease(pWindow, Qt::LeftButton, {}, InFrame(pFrame, pWidget, path.last()));
}

QPointingDevice* TouchScreen()
{
    static QPointingDevice* pDevice = QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return pDevice;
}

void TouchStroke(CMainFrame* pFrame, QWidget* pWidget, const QList<QPoint>& path)
{
    QWindow* pWindow = pFrame->windowHandle();
    QTest::touchEvent(pWindow, TouchScreen()).press(0, InFrame(pFrame, pWidget, path.first()));
    for (int i = 1; i < path.size(); ++i)
        QTest::touchEvent(pWindow, TouchScreen()).move(0, InFrame(pFrame, pWidget, path[i]));
    QTest::touchEvent(pWindow, TouchScreen()).release(0, InFrame(pFrame, pWidget, path.last()));
}

// A stroke by its direction digits, 40 pixels a digit, from the middle of a row.
void Gesture(CMainFrame* pFrame, int nDay, int nRow, const char* pszDigits)
{
    QList<QPoint> offsets;
    for (const char* p = pszDigits; *p != 0; ++p) {
        switch (*p) {
        case '6': offsets.append(QPoint(40, 0)); break;
        case '4': offsets.append(QPoint(-40, 0)); break;
        case '8': offsets.append(QPoint(0, -40)); break;
        case '2': offsets.append(QPoint(0, 40)); break;
        default: break;
        }
    }
    CListCtrlEx* pList = List(pFrame, nDay);
    MouseStroke(pFrame, pList, StrokePath(RowPoint(pList, nRow), offsets));
}

// Marks every row of the week; a reload replaces the rows and with them the marks.
void MarkRows(CMainFrame* pFrame)
{
    for (int nDay = 0; nDay < 7; ++nDay) {
        for (int nRow = 0; nRow < List(pFrame, nDay)->GetItemCount(); ++nRow)
            Label(List(pFrame, nDay), nRow)->strExtra = QStringLiteral("mark");
    }
}

bool RowsMarked(CMainFrame* pFrame)
{
    for (int nDay = 0; nDay < 7; ++nDay) {
        for (int nRow = 0; nRow < List(pFrame, nDay)->GetItemCount(); ++nRow) {
            if (Label(List(pFrame, nDay), nRow)->strExtra != QStringLiteral("mark"))
                return false;
        }
    }
    return true;
}

bool TaskComplete(CWeekFixture* pFx, int nOid)
{
    std::unique_ptr<ITask> pTask;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    return SUCCEEDED(pFx->Store()->GetItemFromOid(nOid, &pTask)) && SUCCEEDED(pTask->get_Complete(&bComplete))
           && bComplete != VARIANT_FALSE;
}

bool ItemExists(CWeekFixture* pFx, int nOid)
{
    std::unique_ptr<IPOutlookItem> pItem;
    return SUCCEEDED(pFx->Store()->GetItemFromOid(nOid, &pItem));
}

bool HasOccurrence(CWeekFixture* pFx, int nOid, DATE dtStart)
{
    std::unique_ptr<IAppointment> pAppt;
    std::unique_ptr<IRecurrencePattern> pPattern;
    std::unique_ptr<IAppointment> pOccurrence;
    return SUCCEEDED(pFx->Store()->GetItemFromOid(nOid, &pAppt)) && SUCCEEDED(pAppt->GetRecurrencePattern(&pPattern))
           && pPattern->GetOccurrence(dtStart, &pOccurrence) == S_OK;
}

DATE TaskDue(CWeekFixture* pFx, int nOid)
{
    std::unique_ptr<ITask> pTask;
    DATE dt = 0.0;
    if (SUCCEEDED(pFx->Store()->GetItemFromOid(nOid, &pTask)))
        pTask->get_DueDate(&dt);
    return dt;
}

// A task due on the Wednesday of the fixture week, repeating every week.
int AddWeeklyTask(CWeekFixture* pFx, const QString& strSubject)
{
    std::unique_ptr<ITask> pTask;
    if (FAILED(pFx->Store()->CreateItem(olTaskItem, &pTask)))
        return 0;
    pTask->put_Subject(strSubject);
    pTask->put_StartDate(F::Date(2015, 3, 4));
    pTask->put_DueDate(F::Date(2015, 3, 4));
    std::unique_ptr<IRecurrencePattern> pPattern;
    pTask->GetRecurrencePattern(&pPattern);
    pPattern->put_RecurrenceType(olRecursWeekly);
    pTask->Save();
    int32_t nOid = 0;
    pTask->get_Oid(&nOid);
    return nOid;
}

// Opens the popup menu of button 1208 and chooses the item of that command.
void ChooseFromPopupMenu(CMainFrame* pFrame, int nCommand)
{
    QTimer::singleShot(0, pFrame, [nCommand]() {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->data().toInt() == nCommand)
                pAction->trigger();
        }
        pMenu->close();
    });
    pFrame->GetView()->GetButton(IDC_POPUP_MENU)->click();
}

// What an editor showed when it opened.
struct EditorSeen {
    QString strClass;
    bool bNew = false;
    bool bOccurrence = false;
    QString strSubject;
    DateTime start;
    DateTime end;
};

// Answers the next editor: notes what it shows, types strSubject (when given) and ends
// it with nCommand (1 save, 2 cancel).
void AnswerEditor(EditorSeen* pSeen, const QString& strSubject, int nCommand)
{
    WhenModal([=](QWidget* pModal) {
        auto* pEditor = qobject_cast<CEditorDialog*>(pModal);
        if (pEditor == nullptr) {
            pModal->close();
            return;
        }
        auto* pSubject = qobject_cast<QLineEdit*>(pEditor->GetDlgItem(IDC_SUBJECT));
        if (pSubject != nullptr) {
            pSeen->strSubject = pSubject->text();
            if (!strSubject.isEmpty())
                pSubject->setText(strSubject);
        }
        if (auto* pAppt = dynamic_cast<CApptDlg*>(pEditor)) {
            pSeen->strClass = QStringLiteral("CApptDlg");
            pSeen->bNew = pAppt->IsNewItem();
            pSeen->bOccurrence = pAppt->GetItem() != nullptr && pAppt->GetItem()->IsOccurrence();
            pSeen->start = pAppt->GetStart();
            pSeen->end = pAppt->GetEnd();
        } else if (auto* pTask = dynamic_cast<CTaskDlg*>(pEditor)) {
            pSeen->strClass = QStringLiteral("CTaskDlg");
            pSeen->bNew = pTask->IsNewItem();
            pSeen->start = pTask->GetStart();
            pSeen->end = pTask->GetDue();
        }
        pEditor->OnCommand(nCommand);
    });
}

// Lets queued notifications arrive; used where nothing is expected to happen.
void Settle()
{
    QTest::qWait(150);
}

}  // namespace

class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void strokeRightTogglesTheTaskAndTheWeekReloads();
    void strokeRightOnAnAppointmentDoesNothing();
    void strokeAcrossTheListsActsOnTheStartRow();
    void touchStrokeTogglesTheTask();
    void movesAreNotMergedDuringAStroke();
    void wobbleAndTapRunNothing();
    void deleteGestureAsksAndDeletes_data();
    void deleteGestureAsksAndDeletes();
    void deleteButtonWithoutItemDoesNothing();
    void deleteKeyAsksNamingTheItem_data();
    void deleteKeyAsksNamingTheItem();
    void everyButtonAndSoftKeyNamesItsCommand();
    void recurringAppointmentDelete_data();
    void recurringAppointmentDelete();
    void recurringTaskDelete_data();
    void recurringTaskDelete();
    void openRecurringAsksFirst();
    void tapsScrollingAndADoubleTapThatOpens();
    void popupMenuListsItsCommandsAboveTheButton();
    void exitClosesTheFrame();
    void strokeHelpShowsEachStrokeWithItsMeaning();
    void newAppointmentStartsAtTheRoundedTime_data();
    void newAppointmentStartsAtTheRoundedTime();
    void enterOnAnEmptyRowOffersANewAppointment();
    void newTaskOnTheCurrentDate();
    void openEditsTheSelectedItem();
    void openRecurringEditsSeriesOrOccurrence_data();
    void openRecurringEditsSeriesOrOccurrence();
    void optionsSavedReloadTheWeek_data();
    void optionsSavedReloadTheWeek();
    void aboutOpensFromTheMenu();
    void strokeSaysWhatItDidWithUndoOneTapAway();
    void undoPutsTheStoreBack_data();
    void undoPutsTheStoreBack();
    void undoWithNothingToUndoSaysSo();
};

void TestCommands::strokeRightTogglesTheTaskAndTheWeekReloads()
{
    CWeekFixture fx;
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CListCtrlEx* pWed = List(pFrame.get(), 2);
    const int nRow = RowOf(pWed, nTask);
    QVERIFY(nRow >= 0);
    QVERIFY(!TaskComplete(&fx, nTask));
    MarkRows(pFrame.get());
    Gesture(pFrame.get(), 2, nRow, "6");
    QVERIFY(TaskComplete(&fx, nTask));
    // The store's notification reloads the week: the row is struck out now, and the
    // selection stays on Wednesday.
    QTRY_VERIFY(!RowsMarked(pFrame.get()));
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"(T1)\tPay rent\textra=(T1)|Pay rent\tcolor=#969696\tstrike"});
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 4, 0, 0, 0));
    int nDay = -1, nSelRow = -1;
    QVERIFY(F::Pane(pFrame.get())->GetSelection(&nDay, &nSelRow));
    QCOMPARE(nDay, 2);
    // The same stroke again opens the task again.
    Gesture(pFrame.get(), 2, RowOf(pWed, nTask), "6");
    QVERIFY(!TaskComplete(&fx, nTask));
    QTRY_VERIFY(!F::DayRows(pFrame.get(), 2).join('\n').contains("strike"));
}

void TestCommands::strokeRightOnAnAppointmentDoesNothing()
{
    CWeekFixture fx;
    const int nAppt = fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes;
    MarkRows(pFrame.get());
    const QStringList rowsBefore = F::DayRows(pFrame.get(), 2);
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nAppt), "6");
    Settle();
    QVERIFY(RowsMarked(pFrame.get()));  // nothing was saved, so nothing reloaded
    QCOMPARE(F::DayRows(pFrame.get(), 2), rowsBefore);
    QVERIFY(ItemExists(&fx, nAppt));
    QCOMPARE(boxes.Calls().size(), 0);
}

void TestCommands::strokeAcrossTheListsActsOnTheStartRow()
{
    CWeekFixture fx;
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CListCtrlEx* pWed = List(pFrame.get(), 2);
    // From Wednesday's task in the left column into Saturday's list in the right one.
    const QPoint ptStart = RowPoint(pWed, RowOf(pWed, nTask));
    const QPoint ptEnd = pWed->mapFromGlobal(List(pFrame.get(), 5)->mapToGlobal(QPoint(40, 10)));
    MouseStroke(pFrame.get(), pWed, StrokePath(ptStart, {QPoint(ptEnd.x() - ptStart.x(), 0)}));
    QVERIFY(TaskComplete(&fx, nTask));
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 4, 0, 0, 0));  // Saturday was not selected
}

void TestCommands::touchStrokeTogglesTheTask()
{
    CWeekFixture fx;
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CListCtrlEx* pWed = List(pFrame.get(), 2);
    TouchStroke(pFrame.get(), pWed, StrokePath(RowPoint(pWed, RowOf(pWed, nTask)), {QPoint(50, 0)}));
    QVERIFY(TaskComplete(&fx, nTask));
    QTRY_VERIFY(F::DayRows(pFrame.get(), 2).join('\n').contains("strike"));
}

void TestCommands::movesAreNotMergedDuringAStroke()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CListCtrlEx* pWed = List(pFrame.get(), 2);
    QWindow* pWindow = pFrame->windowHandle();
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, true);
    QTest::mousePress(pWindow, Qt::LeftButton, {}, InFrame(pFrame.get(), pWed, RowPoint(pWed, 0)));
    QVERIFY(!QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents));
    QTest::mouseMove(pWindow, InFrame(pFrame.get(), pWed, RowPoint(pWed, 0) + QPoint(5, 0)));
    QVERIFY(!QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents));
    QTest::mouseRelease(pWindow, Qt::LeftButton, {}, InFrame(pFrame.get(), pWed, RowPoint(pWed, 0) + QPoint(5, 0)));
    QVERIFY(QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents));
}

void TestCommands::wobbleAndTapRunNothing()
{
    CWeekFixture fx;
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({IDYES, IDYES, IDYES});
    CListCtrlEx* pWed = List(pFrame.get(), 2);
    const int nRow = RowOf(pWed, nTask);
    MarkRows(pFrame.get());
    Gesture(pFrame.get(), 2, nRow, "624");   // right, down, then left: a third direction
    Gesture(pFrame.get(), 2, nRow, "6464");  // one turn too many for delete
    Gesture(pFrame.get(), 2, nRow, "");      // a plain tap
    // Moves of at most 10 pixels from the last step point are no stroke at all.
    MouseStroke(pFrame.get(), pWed, StrokePath(RowPoint(pWed, nRow), {QPoint(8, 0), QPoint(-6, 5), QPoint(0, -7)}));
    Settle();
    QCOMPARE(boxes.Calls().size(), 0);
    QVERIFY(ItemExists(&fx, nTask));
    QVERIFY(!TaskComplete(&fx, nTask));
    QVERIFY(RowsMarked(pFrame.get()));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestCommands::deleteGestureAsksAndDeletes_data()
{
    QTest::addColumn<bool>("bTask");
    QTest::addColumn<int>("nAnswer");
    QTest::newRow("task, yes") << true << int(IDYES);
    QTest::newRow("task, no") << true << int(IDNO);
    QTest::newRow("appointment, yes") << false << int(IDYES);
    QTest::newRow("appointment, no") << false << int(IDNO);
}

void TestCommands::deleteGestureAsksAndDeletes()
{
    QFETCH(bool, bTask);
    QFETCH(int, nAnswer);
    CWeekFixture fx;
    const int nOid = bTask ? fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)})
                           : fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({nAnswer});
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nOid), "646");
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QString("Delete the item?"));
    QCOMPARE(boxes.Calls()[0].strCaption, QString("Quillday"));
    QCOMPARE(boxes.Calls()[0].nType, kYesNoQuestion);
    QCOMPARE(ItemExists(&fx, nOid), nAnswer == IDNO);
    if (nAnswer == IDYES)
        QTRY_COMPARE(RowOf(List(pFrame.get(), 2), nOid), -1);
    else
        QVERIFY(RowOf(List(pFrame.get(), 2), nOid) >= 0);
}

void TestCommands::deleteKeyAsksNamingTheItem_data()
{
    QTest::addColumn<int>("nKind");
    QTest::addColumn<QString>("strQuestion");
    QTest::newRow("timed appointment") << 0 << "Delete 'Team meeting', Wed 10:00 AM?";
    QTest::newRow("all-day appointment") << 1 << "Delete 'Team meeting', Wed?";
    QTest::newRow("task due that day") << 2 << "Delete 'Team meeting', Wed?";
}

void TestCommands::deleteKeyAsksNamingTheItem()
{
    QFETCH(int, nKind);
    QFETCH(QString, strQuestion);
    CWeekFixture fx;
    const int nOid = nKind == 2   ? fx.AddTask({"Team meeting", 1, 949998.0, F::Date(2015, 3, 4)})
                     : nKind == 1 ? fx.AddAppt("Team meeting", F::Date(2015, 3, 4), F::Date(2015, 3, 4), true)
                                  : fx.AddAppt("Team meeting", F::Date(2015, 3, 4, 10, 0), F::Date(2015, 3, 4, 11, 0));
    auto pFrame = StartActive(&fx, 2015, 3, 4,
                              "RC_COMMON_CONFIRM_DELETENAMED=Delete '%1', %2?\n"
                              "RC_COMMON_CONFIRM_DELETENAMED_NODATE=Delete '%1'?\n");
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({IDYES});
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nOid), "");
    QTest::keyClick(List(pFrame.get(), 2), Qt::Key_Delete);
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, strQuestion);
    QCOMPARE(boxes.Calls()[0].nType, kYesNoQuestion);
    QVERIFY(!ItemExists(&fx, nOid));
}

void TestCommands::everyButtonAndSoftKeyNamesItsCommand()
{
    for (int nSoftKey : {0, 1}) {
        CWeekFixture fx;
        fx.SetOption("UseSoftKey", nSoftKey);
        auto pFrame = StartActive(&fx, 2015, 3, 4,
                                  "RC_TIP_PREV_MONTH=Previous month\nRC_TIP_NEXT_MONTH=Next month\nRC_TIP_MENU=Menu\n"
                                  "RC_TIP_TODAY=Today\nRC_TIP_NEW_APPOINTMENT=New appointment\n"
                                  "RC_TIP_NEW_TASK=New task\nRC_TIP_DELETE=Delete\nRC_TIP_PREV_WEEK=Previous week\n"
                                  "RC_TIP_NEXT_WEEK=Next week\n");
        QVERIFY(pFrame);
        const QList<CBitmapButtonEx*> buttons = pFrame->findChildren<CBitmapButtonEx*>();
        QCOMPARE(buttons.size(), nSoftKey ? 2 : 9);
        for (const CBitmapButtonEx* pButton : buttons)
            QVERIFY2(!pButton->toolTip().isEmpty(), qPrintable(QString::number(pButton->GetDlgCtrlID())));
        if (!nSoftKey)
            continue;
        CSoftKeyBar* pBar = pFrame->GetView()->GetSoftKeyBar();
        for (int nKey : {IDM_SOFTKEY_NEW, IDM_SOFTKEY_TOOLS})
            QCOMPARE(pBar->GetButton(nKey)->toolTip(), pBar->GetButton(nKey)->text());
        // The key's menu opens upwards, above the bar at the window's bottom edge.
        QRect rcMenu;
        QTimer::singleShot(0, this, [&rcMenu]() {
            if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                rcMenu = pMenu->geometry();
                pMenu->close();
            }
        });
        pBar->GetButton(IDM_SOFTKEY_NEW)->click();
        QVERIFY(rcMenu.isValid());
        QVERIFY2(rcMenu.bottom() < pBar->mapToGlobal(QPoint(0, 0)).y(), qPrintable(QString::number(rcMenu.bottom())));
    }
}

void TestCommands::deleteButtonWithoutItemDoesNothing()
{
    CWeekFixture fx;
    const int nAppt = fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({IDYES});
    // Tuesday has only its empty row.
    Gesture(pFrame.get(), 1, 0, "");
    QCOMPARE(Label(List(pFrame.get(), 1), 0)->nOid, -1);
    pFrame->GetView()->GetButton(ID_DELETE_ITEM)->click();
    QCOMPARE(boxes.Calls().size(), 0);
    // The button deletes the selected appointment once it is selected.
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nAppt), "");
    pFrame->GetView()->GetButton(ID_DELETE_ITEM)->click();
    QCOMPARE(boxes.Calls().size(), 1);
    QVERIFY(!ItemExists(&fx, nAppt));
}

void TestCommands::recurringAppointmentDelete_data()
{
    QTest::addColumn<int>("nAnswer");
    QTest::newRow("yes: the series") << int(IDYES);
    QTest::newRow("no: the occurrence") << int(IDNO);
    QTest::newRow("cancel: nothing") << int(IDCANCEL);
}

void TestCommands::recurringAppointmentDelete()
{
    QFETCH(int, nAnswer);
    CWeekFixture fx;
    const int nGym = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 7, 0), F::Date(2015, 3, 2, 8, 0), 7);
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({nAnswer});
    MarkRows(pFrame.get());
    // Thursday's occurrence.
    Gesture(pFrame.get(), 3, RowOf(List(pFrame.get(), 3), nGym), "646");
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QString("Yes: the series, No: this one"));
    QCOMPARE(boxes.Calls()[0].strCaption, QString("Quillday"));
    QCOMPARE(boxes.Calls()[0].nType, kYesNoCancelQuestion);
    QCOMPARE(ItemExists(&fx, nGym), nAnswer != IDYES);
    QCOMPARE(HasOccurrence(&fx, nGym, F::Date(2015, 3, 5, 7, 0)), nAnswer == IDCANCEL);
    QCOMPARE(HasOccurrence(&fx, nGym, F::Date(2015, 3, 4, 7, 0)), nAnswer != IDYES);
    if (nAnswer == IDCANCEL) {
        Settle();
        QVERIFY(RowsMarked(pFrame.get()));
        return;
    }
    QTRY_VERIFY(!RowsMarked(pFrame.get()));
    for (int nDay = 0; nDay < 7; ++nDay) {
        const bool bShown = nAnswer == IDNO && nDay != 3;
        QCOMPARE(RowOf(List(pFrame.get(), nDay), nGym) >= 0, bShown);
    }
}

void TestCommands::recurringTaskDelete_data()
{
    QTest::addColumn<int>("nAnswer");
    QTest::newRow("yes: the task") << int(IDYES);
    QTest::newRow("no: skip to the next") << int(IDNO);
    QTest::newRow("cancel: nothing") << int(IDCANCEL);
}

void TestCommands::recurringTaskDelete()
{
    QFETCH(int, nAnswer);
    CWeekFixture fx;
    const int nTask = AddWeeklyTask(&fx, "Water the plants");
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({nAnswer});
    const int nRow = RowOf(List(pFrame.get(), 2), nTask);
    QVERIFY(nRow >= 0);
    Gesture(pFrame.get(), 2, nRow, "646");
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QString("Yes: the series, No: this one"));
    QCOMPARE(boxes.Calls()[0].nType, kYesNoCancelQuestion);
    QCOMPARE(ItemExists(&fx, nTask), nAnswer != IDYES);
    if (nAnswer != IDYES)
        QCOMPARE(TaskDue(&fx, nTask), nAnswer == IDNO ? F::Date(2015, 3, 11) : F::Date(2015, 3, 4));
    if (nAnswer == IDCANCEL) {
        Settle();
        QVERIFY(RowOf(List(pFrame.get(), 2), nTask) >= 0);
    } else {
        QTRY_COMPARE(RowOf(List(pFrame.get(), 2), nTask), -1);
    }
}

void TestCommands::openRecurringAsksFirst()
{
    CWeekFixture fx;
    const int nGym = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 7, 0), F::Date(2015, 3, 2, 8, 0), 7);
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({IDCANCEL, IDCANCEL});
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nGym), "2");
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QString(kOpenRecurringText));
    QCOMPARE(boxes.Calls()[0].strCaption, QString("Orlith"));
    QCOMPARE(boxes.Calls()[0].nType, kYesNoCancelQuestion);
    // Enter in the list asks the same.
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    QCOMPARE(boxes.Calls().size(), 2);
    QCOMPARE(boxes.Calls()[1].strCaption, QString("Orlith"));
    QVERIFY(ItemExists(&fx, nGym));
}

void TestCommands::tapsScrollingAndADoubleTapThatOpens()
{
    CWeekFixture fx;
    int nFirst = 0;
    for (int i = 0; i < 30; ++i) {
        const int nOid = fx.AddAppt(QString("Meeting %1").arg(i), F::Date(2015, 3, 2, 8, i), F::Date(2015, 3, 2, 9, i));
        if (i == 0)
            nFirst = nOid;
    }
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({IDYES, IDYES, IDYES});
    CListCtrlEx* pMon = List(pFrame.get(), 0);
    QVERIFY(pMon->IsScrollStripShown());
    MarkRows(pFrame.get());
    // Before any tap on a row: hovering, then the thumb dragged down the strip. It
    // scrolls and is no downward stroke.
    const RECT rcThumb = pMon->GetThumbRect();
    const QPoint ptThumb(pMon->width() - 4, (rcThumb.top + rcThumb.bottom) / 2);
    QTest::mouseMove(pFrame->windowHandle(), InFrame(pFrame.get(), pMon, QPoint(20, 5)));
    MouseStroke(pFrame.get(), pMon, StrokePath(ptThumb, {QPoint(0, 40)}));
    QVERIFY(pMon->GetTopRow() > 0);
    // A page tap below the thumb scrolls on.
    const int nTop = pMon->GetTopRow();
    QTest::mouseClick(pFrame->windowHandle(), Qt::LeftButton, {},
                      InFrame(pFrame.get(), pMon, QPoint(pMon->width() - 4, pMon->height() - 30)));
    QVERIFY(pMon->GetTopRow() > nTop);
    // A tap selects the row under the pen; a double tap too, and opens its item.
    pMon->SetCurSel(0);
    QTest::mouseClick(pFrame->windowHandle(), Qt::LeftButton, {}, InFrame(pFrame.get(), pMon, QPoint(30, 2)));
    const int nTapped = pMon->GetCurSel();
    QCOMPARE(nTapped, pMon->GetTopRow());
    QString strOpened;
    QTimer::singleShot(0, this, [&strOpened]() {
        if (QWidget* pEditor = QApplication::activeModalWidget()) {
            strOpened = pEditor->windowTitle();
            QTest::keyClick(pEditor, Qt::Key_Escape);
        }
    });
    QTest::mouseDClick(pFrame->windowHandle(), Qt::LeftButton, {}, InFrame(pFrame.get(), pMon, QPoint(30, 2)));
    QCOMPARE(pMon->GetCurSel(), nTapped);
    QVERIFY2(strOpened == QLatin1String("Appointment") || strOpened == QLatin1String("Task"), qPrintable(strOpened));
    Settle();
    QCOMPARE(boxes.Calls().size(), 0);
    QVERIFY(RowsMarked(pFrame.get()));
    QVERIFY(ItemExists(&fx, nFirst));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestCommands::popupMenuListsItsCommandsAboveTheButton()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CBitmapButtonEx* pButton = pFrame->GetView()->GetButton(IDC_POPUP_MENU);
    QStringList texts;
    QRect rcMenu;
    QTimer::singleShot(0, this, [&]() {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        for (QAction* pAction : pMenu->actions())
            texts.append(pAction->text());
        rcMenu = pMenu->geometry();
        pMenu->close();
    });
    pButton->click();
    QCOMPARE(texts, (QStringList{"Undo", "Pen strokes", "Special days", "Options", "About", "Exit"}));
    const QPoint ptCorner = pButton->mapToGlobal(QPoint(0, 0));
    QCOMPARE(rcMenu.left(), ptCorner.x());
    QCOMPARE(rcMenu.bottom() + 1, ptCorner.y());
    QVERIFY(pFrame->isVisible());  // closing the menu chose nothing
}

void TestCommands::strokeHelpShowsEachStrokeWithItsMeaning()
{
    for (int nScale : {1, 2}) {
        CWeekFixture fx;
        auto pFrame = StartActive(&fx, 2015, 3, 4,
                                  "RC_STROKE_OPEN=Down: open\nRC_STROKE_COMPLETE=Right: tick off\n"
                                  "RC_STROKE_DELETE=Right, left, right: delete\n"
                                  "RC_STROKE_NEWAPPOINTMENT=Right, down: new appointment\n"
                                  "RC_STROKE_NEWTASK=Left, down: new task\nRC_ABOUTDLG_CLOSE=Close\n");
        QVERIFY(pFrame);
        pFrame->resize(240 * nScale, 320 * nScale);
        QStringList meanings;
        int nPictures = 0;
        QTimer::singleShot(50, this, [&, nScale]() {
            auto* pSheet = qobject_cast<CStrokeHelpDlg*>(QApplication::activeModalWidget());
            if (pSheet == nullptr)
                return;
            for (QLabel* pLabel : pSheet->findChildren<QLabel*>()) {
                if (!pLabel->pixmap().isNull())
                    ++nPictures;
                else
                    meanings << pLabel->text();
            }
            SaveTestPng(pSheet, QStringLiteral("stroke_help_x%1.png").arg(nScale));
            pSheet->accept();
        });
        ChooseFromPopupMenu(pFrame.get(), ID_STROKE_HELP);
        QCOMPARE(meanings, (QStringList{"Down: open", "Right: tick off", "Right, left, right: delete",
                                        "Right, down: new appointment", "Left, down: new task"}));
        QCOMPARE(nPictures, 5);
    }
}

void TestCommands::exitClosesTheFrame()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    ChooseFromPopupMenu(pFrame.get(), ID_APP_EXIT);
    QTRY_VERIFY(!pFrame->isVisible());
}

void TestCommands::optionsSavedReloadTheWeek_data()
{
    QTest::addColumn<int>("nCommand");
    QTest::newRow("save") << 1;
    QTest::newRow("cancel") << 2;
}

void TestCommands::optionsSavedReloadTheWeek()
{
    QFETCH(int, nCommand);
    CWeekFixture fx;
    const int nDone = fx.AddTask({"Paid rent", 1, 949998.0, F::Date(2015, 3, 4), true});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    QVERIFY(RowOf(List(pFrame.get(), 2), nDone) >= 0);  // completed tasks are shown
    MarkRows(pFrame.get());
    QString strCaption;
    WhenModal([&](QWidget* pModal) {
        auto* pDlg = qobject_cast<COptionDlg*>(pModal);
        if (pDlg == nullptr) {
            pModal->close();
            return;
        }
        strCaption = pDlg->GetCaption();
        pDlg->SetActivePage(2);
        auto* pShowComplete = qobject_cast<QCheckBox*>(pDlg->GetTaskPage()->GetDlgItem(IDC_OPTION_SHOW_COMPLETETASK));
        if (pShowComplete != nullptr)
            pShowComplete->setChecked(false);
        pDlg->OnCommand(nCommand);
    });
    ChooseFromPopupMenu(pFrame.get(), ID_OPTIONS);
    QCOMPARE(strCaption, QString("Options"));
    QCOMPARE(pFrame->GetSettings().ShowCompleteTask == 0, nCommand == 1);
    // Saved: the week is loaded again at once, without the completed task.
    QCOMPARE(RowsMarked(pFrame.get()), nCommand != 1);
    QCOMPARE(RowOf(List(pFrame.get(), 2), nDone) >= 0, nCommand != 1);
}

void TestCommands::aboutOpensFromTheMenu()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    QString strCaption;
    WhenModal([&](QWidget* pModal) {
        if (auto* pDlg = qobject_cast<CAboutDlg*>(pModal)) {
            strCaption = pDlg->GetCaption();
            pDlg->OnCommand(1);
        } else {
            pModal->close();
        }
    });
    ChooseFromPopupMenu(pFrame.get(), ID_APP_ABOUT);
    QCOMPARE(strCaption, QString("About"));
    QVERIFY(pFrame->isVisible());
}

void TestCommands::newAppointmentStartsAtTheRoundedTime_data()
{
    QTest::addColumn<int>("nHour");
    QTest::addColumn<int>("nMinute");
    QTest::addColumn<int>("nStartHour");
    QTest::addColumn<int>("nStartMinute");
    QTest::newRow("10:10") << 10 << 10 << 10 << 30;
    QTest::newRow("10:00") << 10 << 0 << 10 << 0;
    QTest::newRow("10:45") << 10 << 45 << 11 << 0;
}

void TestCommands::newAppointmentStartsAtTheRoundedTime()
{
    QFETCH(int, nHour);
    QFETCH(int, nMinute);
    QFETCH(int, nStartHour);
    QFETCH(int, nStartMinute);
    CWeekFixture fx;
    fx.SetNow(2015, 3, 4, nHour, nMinute);
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    // Friday's empty row, then right and down: a new appointment on Friday.
    EditorSeen seen;
    AnswerEditor(&seen, "Haircut", ID_EDITOR_SAVE);
    Gesture(pFrame.get(), 4, 0, "62");
    QCOMPARE(seen.strClass, QString("CApptDlg"));
    QVERIFY(seen.bNew);
    QCOMPARE(seen.start, DateTime(2015, 3, 6, nStartHour, nStartMinute, 0));
    QCOMPARE(seen.end, seen.start + DateTimeSpan(0, 0, 30, 0));
    const QString strTime = QString("%1:%2%3").arg(nStartHour > 12 ? nStartHour - 12 : nStartHour)
                                .arg(nStartMinute, 2, 10, QChar('0'))
                                .arg(nStartHour < 12 ? "a" : "p");
    QTRY_VERIFY(F::DayRows(pFrame.get(), 4).join('\n').contains(strTime + "\tHaircut"));
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 6, 0, 0, 0));
}

void TestCommands::enterOnAnEmptyRowOffersANewAppointment()
{
    CWeekFixture fx;
    fx.SetNow(2015, 3, 4, 10, 10);
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    Gesture(pFrame.get(), 1, 0, "");  // Tuesday's empty row
    EditorSeen seen;
    AnswerEditor(&seen, "Not kept", ID_EDITOR_CANCEL);
    QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return);
    QCOMPARE(seen.strClass, QString("CApptDlg"));
    QCOMPARE(seen.start, DateTime(2015, 3, 3, 10, 30, 0));
    Settle();
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"(NULL)\t"});  // cancelled: nothing saved
}

void TestCommands::newTaskOnTheCurrentDate()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    EditorSeen seen;
    AnswerEditor(&seen, "Buy stamps", ID_EDITOR_SAVE);
    Gesture(pFrame.get(), 3, 0, "42");  // Thursday
    QCOMPARE(seen.strClass, QString("CTaskDlg"));
    QVERIFY(seen.bNew);
    QVERIFY(IsSameDay(seen.start, DateTime(2015, 3, 5, 0, 0, 0)));
    QVERIFY(IsSameDay(seen.end, DateTime(2015, 3, 5, 0, 0, 0)));
    QTRY_VERIFY(F::DayRows(pFrame.get(), 3).join('\n').contains("Buy stamps"));
}

void TestCommands::openEditsTheSelectedItem()
{
    CWeekFixture fx;
    const int nAppt = fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    EditorSeen seen;
    AnswerEditor(&seen, "Dentist at noon", ID_EDITOR_SAVE);
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nAppt), "2");
    QCOMPARE(seen.strClass, QString("CApptDlg"));
    QVERIFY(!seen.bNew);
    QCOMPARE(seen.strSubject, QString("Dentist"));
    std::unique_ptr<IAppointment> pAppt;
    QVERIFY(SUCCEEDED(fx.Store()->GetItemFromOid(nAppt, &pAppt)));
    QString strSubject;
    pAppt->get_Subject(&strSubject);
    QCOMPARE(strSubject, QString("Dentist at noon"));
    QTRY_VERIFY(F::DayRows(pFrame.get(), 2).join('\n').contains("Dentist at noon"));
    EditorSeen taskSeen;
    AnswerEditor(&taskSeen, QString(), ID_EDITOR_CANCEL);
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nTask), "2");
    QCOMPARE(taskSeen.strClass, QString("CTaskDlg"));
    QCOMPARE(taskSeen.strSubject, QString("Pay rent"));
}

void TestCommands::openRecurringEditsSeriesOrOccurrence_data()
{
    QTest::addColumn<int>("nAnswer");
    QTest::newRow("yes: the series") << int(IDYES);
    QTest::newRow("no: the occurrence") << int(IDNO);
}

void TestCommands::openRecurringEditsSeriesOrOccurrence()
{
    QFETCH(int, nAnswer);
    CWeekFixture fx;
    const int nGym = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 7, 0), F::Date(2015, 3, 2, 8, 0), 7);
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CScriptedMessageBox boxes({nAnswer});
    EditorSeen seen;
    AnswerEditor(&seen, "Swim", ID_EDITOR_SAVE);
    Gesture(pFrame.get(), 3, RowOf(List(pFrame.get(), 3), nGym), "2");  // Thursday's
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(seen.strClass, QString("CApptDlg"));
    QCOMPARE(seen.bOccurrence, nAnswer == IDNO);
    QCOMPARE(seen.start, nAnswer == IDNO ? DateTime(2015, 3, 5, 7, 0, 0) : DateTime(2015, 3, 2, 7, 0, 0));
    // Yes renames every day's row, No only Thursday's.
    QTRY_VERIFY(F::DayRows(pFrame.get(), 3).join('\n').contains("Swim"));
    QCOMPARE(F::DayRows(pFrame.get(), 2).join('\n').contains("Swim"), nAnswer == IDYES);
}


namespace {

QString Rows(CWeekFixture* pFx)
{
    return StoreRows(*pFx->Store()->GetStore());
}

// The pixels of the view's status line in the notice's link colour.
int LinkPixels(CMainView* pView)
{
    const QImage image = pView->grab().toImage();
    int nCount = 0;
    for (int y = pView->GetClientRect().bottom - 16; y < pView->GetClientRect().bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            nCount += c.blue() > 150 && c.red() < 80 ? 1 : 0;
        }
    }
    return nCount;
}

}  // namespace

void TestCommands::strokeSaysWhatItDidWithUndoOneTapAway()
{
    CWeekFixture fx;
    const int nTask = fx.AddTask({"Pay rent", 1, 949998.0, F::Date(2015, 3, 4)});
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    CMainView* pView = pFrame->GetView();
    const QString before = Rows(&fx);
    // The selected entry's line has blue in its tag picture; the notice adds its link.
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nTask), "");
    const int nBlueOfEntry = LinkPixels(pView);
    Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nTask), "6");
    QVERIFY(TaskComplete(&fx, nTask));
    QCOMPARE(pView->GetNotice(), QString("Completed: Pay rent"));
    QVERIFY(LinkPixels(pView) > nBlueOfEntry + 10);
    SaveTestPng(pView, QStringLiteral("undo_notice.png"));
    QTest::mouseClick(pView, Qt::LeftButton, Qt::NoModifier, QPoint(pView->width() - 12, pView->GetClientRect().bottom - 8));
    QVERIFY(!TaskComplete(&fx, nTask));
    QCOMPARE(Rows(&fx), before);
    QCOMPARE(pView->GetNotice(), QString());
    QTRY_COMPARE(LinkPixels(pView), nBlueOfEntry);
    QTRY_VERIFY(!F::DayRows(pFrame.get(), 2).join('\n').contains("strike"));
    // A second tap on the status line takes nothing else back.
    QTest::mouseClick(pView, Qt::LeftButton, Qt::NoModifier, QPoint(pView->width() - 12, pView->GetClientRect().bottom - 8));
    QCOMPARE(Rows(&fx), before);
}

void TestCommands::undoPutsTheStoreBack_data()
{
    QTest::addColumn<QString>("strAction");
    QTest::addColumn<bool>("bMenu");
    QTest::addColumn<QString>("strMenuText");
    QTest::newRow("delete an appointment, Ctrl+Z") << "delete" << false << "";
    QTest::newRow("tick a recurring task, Ctrl+Z") << "tick weekly" << false << "";
    QTest::newRow("skip a recurring task's occurrence, menu") << "skip weekly" << true << "Undo (Deleted: Water the plants)";
    QTest::newRow("a new task from the editor, menu") << "new task" << true << "Undo (Added: Buy stamps)";
    QTest::newRow("an editor's save, Ctrl+Z") << "edit" << false << "";
}

void TestCommands::undoPutsTheStoreBack()
{
    QFETCH(QString, strAction);
    QFETCH(bool, bMenu);
    QFETCH(QString, strMenuText);
    CWeekFixture fx;
    const int nAppt = fx.AddAppt("Dentist", F::Date(2015, 3, 4, 9, 0), F::Date(2015, 3, 4, 10, 0));
    const int nWeekly = AddWeeklyTask(&fx, "Water the plants");
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    const QString before = Rows(&fx);
    CScriptedMessageBox boxes({strAction == "skip weekly" ? IDNO : IDYES});
    EditorSeen seen;
    if (strAction == "delete") {
        Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nAppt), "646");
    } else if (strAction == "tick weekly") {
        Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nWeekly), "6");
    } else if (strAction == "skip weekly") {
        Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nWeekly), "646");
    } else if (strAction == "new task") {
        AnswerEditor(&seen, "Buy stamps", ID_EDITOR_SAVE);
        Gesture(pFrame.get(), 3, 0, "42");
    } else {
        AnswerEditor(&seen, "Dentist at noon", ID_EDITOR_SAVE);
        Gesture(pFrame.get(), 2, RowOf(List(pFrame.get(), 2), nAppt), "2");
    }
    QVERIFY(Rows(&fx) != before);
    if (bMenu) {
        QString strText;
        QTimer::singleShot(0, pFrame.get(), [&strText]() {
            if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                strText = pMenu->actions().at(0)->text();
        });
        ChooseFromPopupMenu(pFrame.get(), ID_UNDO);
        QCOMPARE(strText, strMenuText);
    } else {
        // An editor that closed leaves the offscreen window inactive, where a desktop
        // gives it the focus back.
        QApplication::setActiveWindow(pFrame.get());
        QTest::keyClick(pFrame.get(), Qt::Key_Z, Qt::ControlModifier);
    }
    QCOMPARE(Rows(&fx), before);
    QTRY_VERIFY(RowOf(List(pFrame.get(), 2), nAppt) >= 0 && RowOf(List(pFrame.get(), 2), nWeekly) >= 0);
}

void TestCommands::undoWithNothingToUndoSaysSo()
{
    CWeekFixture fx;
    auto pFrame = StartActive(&fx);
    QVERIFY(pFrame);
    bool bEnabled = true;
    QTimer::singleShot(0, pFrame.get(), [&bEnabled]() {
        if (auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            bEnabled = pMenu->actions().at(0)->isEnabled();
            pMenu->close();
        }
    });
    pFrame->GetView()->GetButton(IDC_POPUP_MENU)->click();
    QVERIFY(!bEnabled);
    CScriptedMessageBox boxes({IDOK});
    QApplication::setActiveWindow(pFrame.get());
    QTest::keyClick(pFrame.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QString("Nothing to undo"));
}

QTEST_MAIN(TestCommands)
#include "tst_Commands.moc"
