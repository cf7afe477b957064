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
    void typedDatesAreReadWhenSaveIsClicked();
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
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Tax return"));
    TapBox(Control<QRadioButton>(dlg, IDC_PRIORITY_HIGH));
    TapBox(Control<QCheckBox>(dlg, IDC_HAS_START));
    QVERIFY(Control<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 9));
    TypeDate(Control<QDateEdit>(dlg, IDC_START_DATE), QDate(2015, 3, 5));
    // The due date keeps its distance from the start: 4 -> 9 March is five days.
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 10));
    TapBox(Control<QCheckBox>(dlg, IDC_COMPLETE));
    TapToolButton(dlg, ID_EDITOR_SAVE);

    QCOMPARE(dlg.result(), 1);
    QCOMPARE(fx.CountTasks(), 1);
    const ItemValues v = Read(fx.GetTask(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("Tax return"));
    QCOMPARE(v.nImportance, olImportanceHigh);
    QCOMPARE(v.strStart, QStringLiteral("2015-03-05 00:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-10 00:00"));
    QCOMPARE(v.bComplete, VARIANT_TRUE);
    QCOMPARE(v.bReminder, FALSE);
}

void TestTaskDlg::newTaskDefaultsAndNoSubject()
{
    CDialogFixture fx;
    fx.SetNow(2015, 3, 4, 9, 40);
    CTaskDlg dlg(&fx, fx.MainWindow());
    Open(dlg);
    QVERIFY(Control<QRadioButton>(dlg, IDC_PRIORITY_NORMAL)->isChecked());
    QVERIFY(!Control<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(Control<QCheckBox>(dlg, IDC_HAS_DUE)->isChecked());
    QVERIFY(!Control<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    QVERIFY(Control<QDateEdit>(dlg, IDC_END_DATE)->isEnabled());
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 4));
    QTest::keyClick(Control<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Return);
    QCOMPARE(dlg.result(), 1);
    const ItemValues v = Read(fx.GetTask(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("No Subject"));
    QCOMPARE(v.nImportance, olImportanceNormal);
    QCOMPARE(v.strStart, QStringLiteral("none"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 00:00"));
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
        QVERIFY(Control<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
        TapBox(Control<QCheckBox>(dlg, IDC_HAS_START));
        QVERIFY(!Control<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
        TapToolButton(dlg, ID_EDITOR_SAVE);
    }
    QCOMPARE(Read(fx.GetTask(nOid).get()).strStart, QStringLiteral("none"));
    QCOMPARE(Read(fx.GetTask(nOid).get()).strEnd, QStringLiteral("2015-03-06 00:00"));
    // Read back: no start, and today's date in the disabled picker.
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    QVERIFY(!Control<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(!Control<QDateEdit>(dlg, IDC_START_DATE)->isEnabled());
    // Today (20 March) lies after the due date, so the start shows the due date.
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 6));
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
        QVERIFY(Control<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
        QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 10));
        QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 10));
    }
    // A start without a due date: the due picker shows today, and a later start moves to it.
    auto pTask = fx.GetTask(nOid);
    pTask->put_StartDate(Dt(2015, 3, 20));
    pTask->put_DueDate(kNoDate);
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(std::move(pTask));
    Open(dlg);
    QVERIFY(Control<QCheckBox>(dlg, IDC_HAS_START)->isChecked());
    QVERIFY(!Control<QCheckBox>(dlg, IDC_HAS_DUE)->isChecked());
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 4));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 4));
}

void TestTaskDlg::startDateMovesTheDueDateEvenWhenSwitchedOff()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddTask(QStringLiteral("Plan"), Dt(2015, 3, 2), Dt(2015, 3, 5));
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    TapBox(Control<QCheckBox>(dlg, IDC_HAS_DUE));
    QVERIFY(!Control<QDateEdit>(dlg, IDC_END_DATE)->isEnabled());
    PickDateInCalendar(Control<QDateEdit>(dlg, IDC_START_DATE), 7);
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 9));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 12));
    TapBox(Control<QCheckBox>(dlg, IDC_HAS_DUE));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetTask(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-09 00:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-12 00:00"));
}

void TestTaskDlg::dueDateBeforeStartMovesTheStart()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddTask(QStringLiteral("Report"), Dt(2015, 3, 10), Dt(2015, 3, 12));
    CTaskDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetTask(nOid));
    Open(dlg);
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 8));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 8));
    QCOMPARE(dlg.GetDayDifference(), 0);
    // The day difference now counts from the new dates.
    TypeDate(Control<QDateEdit>(dlg, IDC_START_DATE), QDate(2015, 3, 9));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 9));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetTask(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-09 00:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-09 00:00"));
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
        QVERIFY(Control<QRadioButton>(dlg, c.nRadio)->isChecked());
        TapBox(Control<QRadioButton>(dlg, c.nPick));
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
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Renew passport"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetTask(nOid).get());
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
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Changed"));
        TapBox(Control<QCheckBox>(dlg, IDC_COMPLETE));
        TapToolButton(dlg, ID_EDITOR_CANCEL);
        QCOMPARE(dlg.result(), 2);
    }
    {
        CTaskDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("New"));
        QTest::keyClick(Control<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Escape);
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
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Via menu"));
    QVERIFY(ChooseSoftKeyMenuItem(pBar, pBar->GetMenu(1)->actions().value(0)->text()));
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
        const QString strFault = EditorLayoutFault(dlg, bSoftKey, 145,
                                                   {IDC_SUBJECT_LABEL, IDC_SUBJECT, IDC_PRIORITY_LABEL, IDC_PRIORITY_HIGH,
                                                    IDC_PRIORITY_NORMAL, IDC_PRIORITY_LOW, IDC_HAS_START,
                                                    IDC_START_DATE, IDC_HAS_DUE, IDC_END_DATE, IDC_COMPLETE});
        QVERIFY2(strFault.isEmpty(), qPrintable(strFault));
        QVERIFY(SaveGrab(&dlg, bSoftKey ? QStringLiteral("task_dialog_softkey.png")
                                        : QStringLiteral("task_dialog_toolbar.png")));
    }
}

void TestTaskDlg::typedDatesAreReadWhenSaveIsClicked()
{
    for (int nCommand : {ID_EDITOR_SAVE, ID_EDIT_DETAIL}) {
        CDialogFixture fx;
        const int32_t nOid = fx.AddTask(QStringLiteral("Report"), Dt(2015, 3, 4), Dt(2015, 3, 6));
        CTaskDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetTask(nOid));
        Open(dlg);
        // Typed into the start picker, which keeps the focus while the button is clicked.
        auto* pPicker = Control<QDateEdit>(dlg, IDC_START_DATE);
        pPicker->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(pPicker, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(pPicker, QStringLiteral("2015-03-09"));
        TapToolButton(dlg, nCommand);
        QCOMPARE(dlg.result(), nCommand == ID_EDITOR_SAVE ? 1 : ID_EDITOR_RESULT_DETAIL);
        const ItemValues v = Read(fx.GetTask(nOid).get());
        QCOMPARE(v.strStart, QStringLiteral("2015-03-09 00:00"));
        QCOMPARE(v.strEnd, QStringLiteral("2015-03-11 00:00"));
    }
}

QTEST_MAIN(TestTaskDlg)
#include "tst_TaskDlg.moc"
