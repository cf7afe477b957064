// The task editor driven as a person drives it, on a store of its own.
#include "DialogFixture.h"
#include "dialogs/CDialogSoftKeyBar.h"
#include "dialogs/CDialogToolBar.h"
#include "ink/CInkWnd.h"
#include "tests/support/ink_helper.h"
#include "dialogs/CTaskDlg.h"
#include "dialogs/EditorIds.h"
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct TaskValues {
    QString strSubject;
    int32_t nImportance = -1;
    QString strStart;
    QString strDue;
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    BOOL bReminder = FALSE;
    QByteArray notes;
};

TaskValues Read(ITask* pTask)
{
    TaskValues v;
    DATE dtStart = 0;
    DATE dtDue = 0;
    pTask->get_Subject(&v.strSubject);
    pTask->get_Importance(&v.nImportance);
    pTask->get_StartDate(&dtStart);
    pTask->get_DueDate(&dtDue);
    pTask->get_Complete(&v.bComplete);
    pTask->get_ReminderSet(&v.bReminder);
    pTask->get_BodyInk(&v.notes);
    v.strStart = DateText(dtStart);
    v.strDue = DateText(dtDue);
    return v;
}

template <typename T>
T* Item(CTaskDlg& dlg, int nId)
{
    return qobject_cast<T*>(dlg.GetDlgItem(nId));
}

}  // namespace

class TestTaskDlg : public QObject {
    Q_OBJECT
private slots:
    void newTaskIsSavedWithWhatWasChosen();
    void newTaskDefaultsAndNoSubject();
    void taskWithoutStartIsWrittenWithTheNoDate();
    void storedStartAfterDueOpensAtTheDue();
    void startDateMovesTheDueDateEvenWhenSwitchedOff();
    void dueDateBeforeStartMovesTheStart();
    void importanceIsShownReversed();
    void editingKeepsTheReminderAndNotes();
    void cancelWritesNothing();
    void focusGoesToCompletedForExistingTasks();
    void softKeysAndEditInDetail();
    void fitsTheHandheldScreenWithEitherBar();
};

void TestTaskDlg::newTaskIsSavedWithWhatWasChosen()
{
    CDialogFixture fx;
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 0, 0, 0));
    dlg.SetDue(DateTime(2015, 3, 4, 0, 0, 0));
    Open(dlg);
    TypeInto(Item<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Tax return"));
    TapBox(Item<QRadioButton>(dlg, IDC_PRIORITY_HIGH));
    TapBox(Item<QCheckBox>(dlg, IDC_HAS_START));
    QVERIFY(Item<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    TypeDate(Item<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 9));
    TypeDate(Item<QDateEdit>(dlg, IDC_START_DATE), QDate(2015, 3, 5));
    // The due date keeps its distance from the start: 4 -> 9 March is five days.
    QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 10));
    TapBox(Item<QCheckBox>(dlg, IDC_COMPLETE));
    TapToolButton(dlg, ID_EDITOR_SAVE);

    QCOMPARE(dlg.result(), 1);
    QCOMPARE(fx.CountTasks(), 1);
    const TaskValues v = Read(fx.GetTask(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("Tax return"));
    QCOMPARE(v.nImportance, olImportanceHigh);
    QCOMPARE(v.strStart, QStringLiteral("2015-03-05 00:00"));
    QCOMPARE(v.strDue, QStringLiteral("2015-03-10 00:00"));
    QCOMPARE(v.bComplete, VARIANT_TRUE);
    QCOMPARE(v.bReminder, FALSE);
}

void TestTaskDlg::newTaskDefaultsAndNoSubject()
{
    CDialogFixture fx;
    fx.SetNow(2015, 3, 4, 9, 40);
    CTaskDlg dlg(&fx, fx.MainWindow());
    Open(dlg);
    QVERIFY(Item<QRadioButton>(dlg, IDC_PRIORITY_NORMAL)->isChecked());
    QVERIFY(!Item<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(Item<QCheckBox>(dlg, IDC_HAS_DUE)->isChecked());
    QVERIFY(!Item<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    QVERIFY(Item<QDateEdit>(dlg, IDC_END_DATE)->isEnabled());
    QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 4));
    QTest::keyClick(Item<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Return);
    QCOMPARE(dlg.result(), 1);
    const TaskValues v = Read(fx.GetTask(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("No Subject"));
    QCOMPARE(v.nImportance, olImportanceNormal);
    QCOMPARE(v.strStart, QStringLiteral("none"));
    QCOMPARE(v.strDue, QStringLiteral("2015-03-04 00:00"));
    QCOMPARE(v.bComplete, VARIANT_FALSE);
}

void TestTaskDlg::taskWithoutStartIsWrittenWithTheNoDate()
{
    CDialogFixture fx;
    fx.SetNow(2015, 3, 20);
    const int32_t nOid = fx.AddTask(QStringLiteral("Call"), Dt(2015, 3, 2), Dt(2015, 3, 6));
    {
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetTask(nOid));
        Open(dlg);
        QVERIFY(Item<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
        TapBox(Item<QCheckBox>(dlg, IDC_HAS_START));
        QVERIFY(!Item<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
        TapToolButton(dlg, ID_EDITOR_SAVE);
    }
    QCOMPARE(Read(fx.GetTask(nOid).get()).strStart, QStringLiteral("none"));
    QCOMPARE(Read(fx.GetTask(nOid).get()).strDue, QStringLiteral("2015-03-06 00:00"));
    // Read back: no start, and today's date in the disabled picker.
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    QVERIFY(!Item<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(!Item<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    // Today (20 March) lies after the due date, so the start shows the due date.
    QCOMPARE(Item<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 6));
}

void TestTaskDlg::storedStartAfterDueOpensAtTheDue()
{
    CDialogFixture fx;
    fx.SetNow(2015, 3, 4);
    const int32_t nOid = fx.AddTask(QStringLiteral("Later"), kNoDate, Dt(2015, 3, 10));
    {
        // The item as another program may have left it: its start after its due date.
        auto pTask = fx.GetTask(nOid);
        pTask->put_StartDate(Dt(2015, 3, 20));
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(std::move(pTask));
        Open(dlg);
        QVERIFY(Item<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
        QCOMPARE(Item<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 10));
        QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 10));
    }
    // A start without a due date: the due picker shows today, and a later start moves to it.
    auto pTask = fx.GetTask(nOid);
    pTask->put_StartDate(Dt(2015, 3, 20));
    pTask->put_DueDate(kNoDate);
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(std::move(pTask));
    Open(dlg);
    QVERIFY(Item<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(!Item<QCheckBox>(dlg, IDC_HAS_DUE)->isChecked());
    QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 4));
    QCOMPARE(Item<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 4));
}

void TestTaskDlg::startDateMovesTheDueDateEvenWhenSwitchedOff()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddTask(QStringLiteral("Plan"), Dt(2015, 3, 2), Dt(2015, 3, 5));
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    TapBox(Item<QCheckBox>(dlg, IDC_HAS_DUE));
    QVERIFY(!Item<QDateEdit>(dlg, IDC_END_DATE)->isEnabled());
    PickDateInCalendar(Item<QDateEdit>(dlg, IDC_START_DATE), 7);
    QCOMPARE(Item<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 9));
    QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 12));
    TapBox(Item<QCheckBox>(dlg, IDC_HAS_DUE));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const TaskValues v = Read(fx.GetTask(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-09 00:00"));
    QCOMPARE(v.strDue, QStringLiteral("2015-03-12 00:00"));
}

void TestTaskDlg::dueDateBeforeStartMovesTheStart()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddTask(QStringLiteral("Report"), Dt(2015, 3, 10), Dt(2015, 3, 12));
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    TypeDate(Item<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 8));
    QCOMPARE(Item<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 8));
    QCOMPARE(dlg.GetDayDifference(), 0);
    // The day difference now counts from the new dates.
    TypeDate(Item<QDateEdit>(dlg, IDC_START_DATE), QDate(2015, 3, 9));
    QCOMPARE(Item<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 9));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const TaskValues v = Read(fx.GetTask(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-09 00:00"));
    QCOMPARE(v.strDue, QStringLiteral("2015-03-09 00:00"));
}

void TestTaskDlg::importanceIsShownReversed()
{
    CDialogFixture fx;
    const struct {
        int nImportance;
        int nRadio;
        int nPick;
        int nSaved;
    } cases[] = {{olImportanceHigh, IDC_PRIORITY_HIGH, IDC_PRIORITY_LOW, olImportanceLow},
                 {olImportanceNormal, IDC_PRIORITY_NORMAL, IDC_PRIORITY_HIGH, olImportanceHigh},
                 {olImportanceLow, IDC_PRIORITY_LOW, IDC_PRIORITY_NORMAL, olImportanceNormal}};
    for (const auto& c : cases) {
        const int32_t nOid = fx.AddTask(QStringLiteral("Task"), kNoDate, Dt(2015, 3, 6), c.nImportance);
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetTask(nOid));
        Open(dlg);
        QVERIFY(Item<QRadioButton>(dlg, c.nRadio)->isChecked());
        TapBox(Item<QRadioButton>(dlg, c.nPick));
        TapToolButton(dlg, ID_EDITOR_SAVE);
        QCOMPARE(Read(fx.GetTask(nOid).get()).nImportance, c.nSaved);
    }
}

void TestTaskDlg::editingKeepsTheReminderAndNotes()
{
    CDialogFixture fx;
    const QByteArray foreign("not our notes format", 20);
    const int32_t nOid = fx.AddTask(QStringLiteral("Renew"), kNoDate, Dt(2015, 3, 6), olImportanceNormal, false,
                                    foreign, true);
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    TypeInto(Item<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Renew passport"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const TaskValues v = Read(fx.GetTask(nOid).get());
    QCOMPARE(v.strSubject, QStringLiteral("Renew passport"));
    QCOMPARE(v.bReminder, TRUE);
    QCOMPARE(v.notes, foreign);
    QCOMPARE(v.strStart, QStringLiteral("none"));
}

void TestTaskDlg::cancelWritesNothing()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddTask(QStringLiteral("Keep"), Dt(2015, 3, 2), Dt(2015, 3, 6));
    const QByteArray digest = fx.StoreDigest();
    {
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetTask(nOid));
        Open(dlg);
        TypeInto(Item<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Changed"));
        TapBox(Item<QCheckBox>(dlg, IDC_COMPLETE));
        TapToolButton(dlg, ID_EDITOR_CANCEL);
        QCOMPARE(dlg.result(), 2);
    }
    {
        CTaskDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        TypeInto(Item<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("New"));
        QTest::keyClick(Item<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Escape);
        QCOMPARE(dlg.result(), 2);
    }
    QCOMPARE(fx.StoreDigest(), digest);
    QCOMPARE(fx.CountTasks(), 1);
    QCOMPARE(Read(fx.GetTask(nOid).get()).strSubject, QStringLiteral("Keep"));
}

void TestTaskDlg::focusGoesToCompletedForExistingTasks()
{
    CDialogFixture fx;
    {
        CTaskDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        QCOMPARE(QApplication::focusWidget(), dlg.GetDlgItem(IDC_SUBJECT));
    }
    const int32_t nOid = fx.AddTask(QStringLiteral("Old"), kNoDate, Dt(2015, 3, 6));
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    QCOMPARE(QApplication::focusWidget(), dlg.GetDlgItem(IDC_COMPLETE));
}

void TestTaskDlg::softKeysAndEditInDetail()
{
    CDialogFixture fx;
    fx.Settings().UseSoftKey = TRUE;
    CTaskDlg dlg(&fx, fx.MainWindow());
    Open(dlg);
    QVERIFY(dlg.GetToolBar() == nullptr);
    CDialogSoftKeyBar* pBar = dlg.GetSoftKeyBar();
    QVERIFY(pBar != nullptr);
    QCOMPARE(pBar->GetKey(0)->text(), QStringLiteral("저장"));
    TypeInto(Item<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Via menu"));
    QTimer::singleShot(0, [&]() {
        auto* pMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (pMenu == nullptr)
            return;
        QAction* pDetail = pMenu->actions().value(0);
        QTest::mouseClick(pMenu, Qt::LeftButton, Qt::NoModifier, pMenu->actionGeometry(pDetail).center());
    });
    Tap(pBar->GetKey(1));
    QCOMPARE(dlg.result(), ID_EDITOR_RESULT_DETAIL);
    QCOMPARE(Read(fx.GetTask(OidOf(dlg.GetItem())).get()).strSubject, QStringLiteral("Via menu"));
}

void TestTaskDlg::fitsTheHandheldScreenWithEitherBar()
{
    for (BOOL bSoftKey : {FALSE, TRUE}) {
        CDialogFixture fx;
        fx.Settings().UseSoftKey = bSoftKey;
        const int32_t nOid = fx.AddTask(QStringLiteral("Buy a present for Mother's birthday"), Dt(2015, 3, 2),
                                        Dt(2015, 3, 6), olImportanceHigh, false, HandwrittenNotes());
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetTask(nOid));
        Open(dlg);
        QCOMPARE(dlg.size(), QSize(240, 320));
        QWidget* pBar = bSoftKey ? static_cast<QWidget*>(dlg.GetSoftKeyBar()) : dlg.GetToolBar();
        QCOMPARE(pBar->geometry().bottom(), 319);
        QWidget* pPreview = dlg.GetNotesPreview();
        QCOMPARE(pPreview->y(), 145);
        QVERIFY(InkDarkPixels(InkRender(pPreview), QRect(10, 30, 80, 45)) > 20);
        QCOMPARE(pPreview->geometry().bottom(), pBar->y() - 1);
        for (int nId : {IDC_SUBJECT_LABEL, IDC_SUBJECT, IDC_PRIORITY_LABEL, IDC_PRIORITY_HIGH, IDC_PRIORITY_NORMAL,
                        IDC_PRIORITY_LOW, IDC_HAS_START, IDC_START_DATE, IDC_HAS_DUE, IDC_END_DATE, IDC_COMPLETE}) {
            const QRect rc = dlg.GetDlgItem(nId)->geometry();
            QVERIFY2(rc.left() >= 0 && rc.right() < 240 && rc.bottom() < 145, qPrintable(QString::number(nId)));
        }
        QVERIFY(SaveGrab(&dlg, bSoftKey ? QStringLiteral("task_dialog_softkey.png")
                                        : QStringLiteral("task_dialog_toolbar.png")));
    }
}

QTEST_MAIN(TestTaskDlg)
#include "tst_TaskDlg.moc"
