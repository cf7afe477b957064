// The appointment editor driven as a person drives it, on a store of its own.
#include "DialogFixture.h"
#include "pim/IRecurrencePattern.h"
#include "dialogs/CApptDlg.h"
#include "dialogs/CDialogSoftKeyBar.h"
#include "dialogs/CDialogToolBar.h"
#include "ink/CInkWnd.h"
#include "dialogs/CNotesDlg.h"
#include "ink/InkStream.h"
#include "tests/support/ink_helper.h"
#include "pim/CNotesData.h"
#include "dialogs/EditorIds.h"
#include "platform/CScriptedMessageBox.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

class TestApptDlg : public QObject {
    Q_OBJECT
private slots:
    void newAppointmentIsSavedWithWhatWasTyped();
    void emptySubjectIsSavedAsNoSubjectWithEnter();
    void cancelAndEscapeWriteNothing();
    void editingKeepsTheReminderAndTheForeignNotes();
    void tooLongIsRefusedAndTheDialogStaysOpen();
    void refusedEditsWriteNothing_data();
    void refusedEditsWriteNothing();
    void editsThatAreKeptOrSkipped_data();
    void editsThatAreKeptOrSkipped();
    void datePickersTakeTheWeeksDays();
    void allDayHidesTheTimesAndSavesMidnights();
    void movingTheStartTimeKeepsTheLength();
    void typedStartTimeIsReadWhenLeavingTheField();
    void typedEndTimeIsNormalisedWhenLeavingTheField();
    void enterInATimeFieldReadsItBeforeSaving();
    void endListStartsAfterTheStartOnItsDay();
    void startDateMovesTheEndDate();
    void endDateBeforeStartMovesTheStart();
    void endTimeTextSurvivesADateChange();
    void focusGoesToTheSubjectOnlyForNewAppointments();
    void editInDetailSavesAndAnswersFour();
    void notesWrittenInTheNotesEditorAreSaved();
    void notesEditorCancelKeepsTheNotes();
    void softKeysSaveCancelAndOpenTheMenu();
    void doModalRunsUntilEnter();
    void fitsTheHandheldScreenWithEitherBar();
};

void TestApptDlg::newAppointmentIsSavedWithWhatWasTyped()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    QCOMPARE(Control<QComboBox>(dlg, IDC_START_TIME)->currentText(), QStringLiteral("10:00 AM"));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("11:00 AM"));
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Dentist"));
    TypeInto(Control<QLineEdit>(dlg, IDC_LOCATION), QStringLiteral("Main Street 4"));
    QVERIFY(PickListEntry(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("2:00 PM")));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("3:00 PM"));
    TapToolButton(dlg, ID_EDITOR_SAVE);

    QCOMPARE(dlg.result(), 1);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(fx.CountAppts(), 1);
    const ItemValues v = Read(fx.GetAppt(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("Dentist"));
    QCOMPARE(v.strLocation, QStringLiteral("Main Street 4"));
    QCOMPARE(v.bAllDay, FALSE);
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 14:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 15:00"));
    QCOMPARE(v.bReminder, FALSE);
    QVERIFY(v.notes.isEmpty());
}

void TestApptDlg::emptySubjectIsSavedAsNoSubjectWithEnter()
{
    CDialogFixture fx;
    fx.Settings().Use24Hour = TRUE;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 10, 30, 0));
    Open(dlg);
    QTest::keyClick(Control<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Return);
    QCOMPARE(dlg.result(), 1);
    const ItemValues v = Read(fx.GetAppt(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strSubject, QStringLiteral("No Subject"));
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 10:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 10:30"));
}

void TestApptDlg::cancelAndEscapeWriteNothing()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Lunch"), Dt(2015, 3, 5, 12, 0), Dt(2015, 3, 5, 13, 0));
    const QByteArray digest = fx.StoreDigest();
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Changed"));
        QVERIFY(PickListEntry(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("3:00 PM")));
        QTest::keyClick(Control<QLineEdit>(dlg, IDC_SUBJECT), Qt::Key_Escape);
        QCOMPARE(dlg.result(), 2);
    }
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Never saved"));
        TapToolButton(dlg, ID_EDITOR_CANCEL);
        QCOMPARE(dlg.result(), 2);
    }
    QCOMPARE(fx.StoreDigest(), digest);
    QCOMPARE(fx.CountAppts(), 1);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strSubject, QStringLiteral("Lunch"));
    QCOMPARE(v.strStart, QStringLiteral("2015-03-05 12:00"));
}

void TestApptDlg::editingKeepsTheReminderAndTheForeignNotes()
{
    CDialogFixture fx;
    // Notes written by another program: not ours to read, ours to keep.
    const QByteArray foreign("\x01\x02RTF-ish notes of another program\xff", 36);
    const int32_t nOid =
        fx.AddAppt(QStringLiteral("Review"), Dt(2015, 3, 6, 9, 0), Dt(2015, 3, 6, 10, 0), false, foreign, true);
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    QCOMPARE(Control<QLineEdit>(dlg, IDC_SUBJECT)->text(), QStringLiteral("Review"));
    TypeInto(Control<QLineEdit>(dlg, IDC_LOCATION), QStringLiteral("Room 2"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    QCOMPARE(dlg.result(), 1);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strLocation, QStringLiteral("Room 2"));
    QCOMPARE(v.bReminder, TRUE);
    QCOMPARE(v.notes, foreign);
    QCOMPARE(v.strStart, QStringLiteral("2015-03-06 09:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-06 10:00"));
}

void TestApptDlg::tooLongIsRefusedAndTheDialogStaysOpen()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Trip"), Dt(2015, 3, 4, 9, 0), Dt(2015, 3, 4, 17, 0));
    const QByteArray digest = fx.StoreDigest();
    CScriptedMessageBox boxes;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    // 4 March 9:00 to 5 April 17:00 is more than 31 days.
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 4, 5));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, QStringLiteral("Too Long"));
    QCOMPARE(boxes.Calls()[0].strCaption, QStringLiteral("Quillday"));
    QCOMPARE(boxes.Calls()[0].nType, MB_ICONEXCLAMATION);
    QCOMPARE(fx.StoreDigest(), digest);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), 0);
    // Edit in detail is refused the same way.
    TapToolButton(dlg, ID_EDIT_DETAIL);
    QCOMPARE(boxes.Calls().size(), 2);
    QVERIFY(dlg.isVisible());
    QCOMPARE(fx.StoreDigest(), digest);

    // Exactly 31 days is allowed.
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 4, 4));
    PickListEntry(Control<QComboBox>(dlg, IDC_END_TIME), QStringLiteral("9:00 AM"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    QCOMPARE(boxes.Calls().size(), 2);
    QCOMPARE(dlg.result(), 1);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 09:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-04-04 09:00"));
}

void TestApptDlg::allDayHidesTheTimesAndSavesMidnights()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Holiday"));
    auto* pAllDay = qobject_cast<QCheckBox*>(dlg.GetDlgItem(IDC_ALLDAY));
    TapBox(pAllDay);
    QVERIFY(pAllDay->isChecked());
    QVERIFY(!Control<QComboBox>(dlg, IDC_START_TIME)->isVisible());
    QVERIFY(!Control<QComboBox>(dlg, IDC_END_TIME)->isVisible());
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 6));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.bAllDay, TRUE);
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 00:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-06 00:00"));

    // Unticking shows the times again.
    CApptDlg dlg2(&fx, fx.MainWindow());
    dlg2.Load(fx.GetAppt(OidOf(dlg.GetItem())));
    Open(dlg2);
    QVERIFY(!Control<QComboBox>(dlg2, IDC_START_TIME)->isVisible());
    TapBox(dlg2.GetDlgItem(IDC_ALLDAY));
    QVERIFY(Control<QComboBox>(dlg2, IDC_START_TIME)->isVisible());
    QVERIFY(Control<QComboBox>(dlg2, IDC_END_TIME)->isVisible());
}

void TestApptDlg::movingTheStartTimeKeepsTheLength()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Talk"), Dt(2015, 3, 4, 9, 0), Dt(2015, 3, 4, 10, 30));
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    QVERIFY(PickListEntry(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("11:00 AM")));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("12:30 PM"));
    // Late in the evening the end passes midnight and its date follows.
    QVERIFY(PickListEntry(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("11:30 PM")));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("1:00 AM"));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 5));
    QCOMPARE(dlg.GetDayDifference(), 1);
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 23:30"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-05 01:00"));
}

void TestApptDlg::typedStartTimeIsReadWhenLeavingTheField()
{
    CDialogFixture fx;
    fx.Settings().Use24Hour = TRUE;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    TypeInto(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("915"));
    LeaveField(Control<QComboBox>(dlg, IDC_START_TIME));
    QCOMPARE(Control<QComboBox>(dlg, IDC_START_TIME)->currentText(), QStringLiteral("9:15"));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("10:15"));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->itemText(0), QStringLiteral("9:30"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(OidOf(dlg.GetItem())).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 09:15"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 10:15"));
}

void TestApptDlg::typedEndTimeIsNormalisedWhenLeavingTheField()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    TypeInto(Control<QComboBox>(dlg, IDC_END_TIME), QStringLiteral("2:5 pm"));
    LeaveField(Control<QComboBox>(dlg, IDC_END_TIME));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("2:05 PM"));
    QCOMPARE(dlg.GetDuration().GetTotalSeconds(), uint32_t(4 * 3600 + 5 * 60));
    // Moving the start now keeps the new length.
    QVERIFY(PickListEntry(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("11:00 AM")));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("3:05 PM"));
}

void TestApptDlg::enterInATimeFieldReadsItBeforeSaving()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Call"), Dt(2015, 3, 4, 9, 0), Dt(2015, 3, 4, 9, 45));
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        TypeInto(Control<QComboBox>(dlg, IDC_START_TIME), QStringLiteral("4 pm"));
        QTest::keyClick(Control<QComboBox>(dlg, IDC_START_TIME)->lineEdit(), Qt::Key_Return);
        QCOMPARE(dlg.result(), 1);
    }
    ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 16:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 16:45"));
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        TypeInto(Control<QComboBox>(dlg, IDC_END_TIME), QStringLiteral("1730"));
        QTest::keyClick(Control<QComboBox>(dlg, IDC_END_TIME)->lineEdit(), Qt::Key_Return);
        QCOMPARE(dlg.result(), 1);
    }
    v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-04 16:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-04 17:30"));
}

void TestApptDlg::endListStartsAfterTheStartOnItsDay()
{
    CDialogFixture fx;
    fx.Settings().Use24Hour = TRUE;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 9, 40, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 10, 40, 0));
    Open(dlg);
    QComboBox* pStart = Control<QComboBox>(dlg, IDC_START_TIME);
    QCOMPARE(pStart->count(), 48);
    QCOMPARE(pStart->itemText(0), QStringLiteral("0:00"));
    QCOMPARE(pStart->itemText(47), QStringLiteral("23:30"));
    QComboBox* pEnd = Control<QComboBox>(dlg, IDC_END_TIME);
    QCOMPARE(pEnd->count(), 28);
    QCOMPARE(pEnd->itemText(0), QStringLiteral("10:00"));
    QCOMPARE(pEnd->itemText(27), QStringLiteral("23:30"));
    // On a later day the end list is the whole day.
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 5));
    QCOMPARE(pEnd->count(), 48);
    QCOMPARE(pEnd->itemText(0), QStringLiteral("0:00"));
}

void TestApptDlg::startDateMovesTheEndDate()
{
    CDialogFixture fx;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Night shift"), Dt(2015, 3, 4, 22, 0), Dt(2015, 3, 5, 6, 0));
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    PickDateInCalendar(Control<QDateEdit>(dlg, IDC_START_DATE), 3);
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 7));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_END_DATE)->date(), QDate(2015, 3, 8));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("6:00 AM"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-07 22:00"));
    // 8 March is the first day of daylight time in New York: the times stay as shown.
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-08 06:00"));
}

void TestApptDlg::endDateBeforeStartMovesTheStart()
{
    CDialogFixture fx;
    fx.Settings().Use24Hour = TRUE;
    const int32_t nOid = fx.AddAppt(QStringLiteral("Course"), Dt(2015, 3, 10, 9, 0), Dt(2015, 3, 12, 17, 0));
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 8));
    QCOMPARE(Control<QDateEdit>(dlg, IDC_START_DATE)->date(), QDate(2015, 3, 8));
    // Now both lie on one day: the end list starts after the start.
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->itemText(0), QStringLiteral("9:30"));
    QCOMPARE(Control<QComboBox>(dlg, IDC_END_TIME)->currentText(), QStringLiteral("17:00"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(nOid).get());
    QCOMPARE(v.strStart, QStringLiteral("2015-03-08 09:00"));
    QCOMPARE(v.strEnd, QStringLiteral("2015-03-08 17:00"));
}

void TestApptDlg::endTimeTextSurvivesADateChange()
{
    CDialogFixture fx;
    fx.Settings().Use24Hour = TRUE;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 12, 0, 0));
    Open(dlg);
    QComboBox* pEnd = Control<QComboBox>(dlg, IDC_END_TIME);
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 5));
    QCOMPARE(pEnd->currentText(), QStringLiteral("12:00"));
    QCOMPARE(pEnd->currentIndex(), pEnd->findText(QStringLiteral("12:00")));
    // A text that is no entry stays, with nothing selected.
    TypeInto(pEnd, QStringLiteral("12:05"));
    LeaveField(pEnd);
    TypeDate(Control<QDateEdit>(dlg, IDC_END_DATE), QDate(2015, 3, 6));
    QCOMPARE(pEnd->currentText(), QStringLiteral("12:05"));
    QCOMPARE(pEnd->currentIndex(), -1);
    // An empty text becomes noon.
    TypeInto(pEnd, QString());
    TypeDate(Control<QDateEdit>(dlg, IDC_START_DATE), QDate(2015, 3, 5));
    QCOMPARE(pEnd->currentText(), QStringLiteral("12:00"));
}

void TestApptDlg::focusGoesToTheSubjectOnlyForNewAppointments()
{
    CDialogFixture fx;
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        QCOMPARE(QApplication::focusWidget(), dlg.GetDlgItem(IDC_SUBJECT));
    }
    const int32_t nOid = fx.AddAppt(QStringLiteral("Old"), Dt(2015, 3, 4, 9, 0), Dt(2015, 3, 4, 10, 0));
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    QCOMPARE(QApplication::focusWidget(), dlg.GetDlgItem(IDC_ALLDAY));
    // The notes command hands the focus to the subject.
    WhenNotesEditorOpens([](CNotesDlg*) {}, ID_NOTES_CANCEL);
    TapToolButton(dlg, ID_EDIT_NOTES);
    QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(IDC_SUBJECT));
}

void TestApptDlg::editInDetailSavesAndAnswersFour()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Detailed"));
    TapToolButton(dlg, ID_EDIT_DETAIL);
    QCOMPARE(dlg.result(), ID_EDITOR_RESULT_DETAIL);
    QVERIFY(OidOf(dlg.GetItem()) != 0);
    QCOMPARE(Read(fx.GetAppt(OidOf(dlg.GetItem())).get()).strSubject, QStringLiteral("Detailed"));
}

void TestApptDlg::notesWrittenInTheNotesEditorAreSaved()
{
    CDialogFixture fx;
    fx.Settings().NotesPenDefault = TRUE;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    Open(dlg);
    const QVector<QPoint> stroke = {{20, 30}, {40, 60}, {60, 30}, {80, 60}};
    WhenNotesEditorOpens([&stroke](CNotesDlg* pNotes) { InkMouseStroke(pNotes->GetInkWnd()->GetInner(), stroke); },
                         ID_NOTES_SAVE);
    TapToolButton(dlg, ID_EDIT_NOTES);
    QCOMPARE(dlg.focusWidget(), dlg.GetDlgItem(IDC_SUBJECT));
    // The preview shows the new notes, in keyboard view at 95 percent.
    CInkWnd* pPreview = dlg.GetNotesPreview();
    QCOMPARE(pPreview->GetInner()->GetZoom(), 95);
    QCOMPARE(pPreview->GetInner()->GetInputMode(), kInkInputKeyboard);
    NotesBlob shown;
    StreamNotesOut(pPreview, &shown);
    QCOMPARE(shown.bytes, dlg.GetNotes().bytes);
    QVERIFY(SaveGrab(&dlg, QStringLiteral("appt_dialog_after_notes.png")));

    TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("With notes"));
    TapToolButton(dlg, ID_EDITOR_SAVE);
    const ItemValues v = Read(fx.GetAppt(OidOf(dlg.GetItem())).get());
    CNotesData notes;
    QVERIFY(notes.FromBytes(v.notes));
    QCOMPARE(notes.m_strokes.size(), 1);
    QVERIFY(notes.m_strokes[0].points.size() >= 2);
    QCOMPARE(v.notes, dlg.GetNotes().bytes);
}

void TestApptDlg::notesEditorCancelKeepsTheNotes()
{
    CDialogFixture fx;
    const QByteArray handwriting = HandwrittenNotes();
    const int32_t nOid =
        fx.AddAppt(QStringLiteral("Doctor"), Dt(2015, 3, 4, 10, 0), Dt(2015, 3, 4, 11, 0), false, handwriting);
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    WhenNotesEditorOpens(
        [](CNotesDlg* pNotes) {
            InkMouseStroke(pNotes->GetInkWnd()->GetInner(), {{10, 10}, {100, 100}});
        },
        ID_NOTES_CANCEL);
    TapToolButton(dlg, ID_EDIT_NOTES);
    QCOMPARE(dlg.GetNotes().bytes, handwriting);
    QCOMPARE(dlg.GetNotesPreview()->GetInner()->GetZoom(), 100);
    TapToolButton(dlg, ID_EDITOR_SAVE);
    QCOMPARE(Read(fx.GetAppt(nOid).get()).notes, handwriting);
}

void TestApptDlg::softKeysSaveCancelAndOpenTheMenu()
{
    CDialogFixture fx;
    fx.Settings().UseSoftKey = TRUE;
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        QVERIFY(dlg.GetToolBar() == nullptr);
        CDialogSoftKeyBar* pBar = dlg.GetSoftKeyBar();
        QVERIFY(pBar != nullptr);
        QCOMPARE(pBar->GetKey(0)->text(), QStringLiteral("저장"));
        QCOMPARE(pBar->GetKey(1)->text(), QStringLiteral("메뉴"));
        QStringList items;
        for (QAction* pAction : pBar->GetMenu(1)->actions())
            items << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
        QCOMPARE(items, QStringList({QStringLiteral("&1. 자세히 편집.."), QStringLiteral("&2. 노트 편집..."),
                                     QStringLiteral("-"), QStringLiteral("&3. 취소")}));
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Not kept"));
        QVERIFY(ChooseSoftKeyMenuItem(pBar, QStringLiteral("&3. 취소")));
        QCOMPARE(dlg.result(), 2);
        QCOMPARE(fx.CountAppts(), 0);
    }
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
        dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
        Open(dlg);
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Kept"));
        Tap(dlg.GetSoftKeyBar()->GetKey(0));
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(Read(fx.GetAppt(OidOf(dlg.GetItem())).get()).strSubject, QStringLiteral("Kept"));
    }
    {
        CApptDlg dlg(&fx, fx.MainWindow());
        Open(dlg);
        QVERIFY(ChooseSoftKeyMenuItem(dlg.GetSoftKeyBar(), QStringLiteral("&1. 자세히 편집..")));
        QCOMPARE(dlg.result(), ID_EDITOR_RESULT_DETAIL);
        QCOMPARE(fx.CountAppts(), 2);
    }
}

void TestApptDlg::doModalRunsUntilEnter()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.SetStart(DateTime(2015, 3, 4, 10, 0, 0));
    dlg.SetEnd(DateTime(2015, 3, 4, 11, 0, 0));
    QTimer::singleShot(0, &dlg, [&dlg]() {
        QApplication::setActiveWindow(&dlg);
        QTest::keyClicks(dlg.GetDlgItem(IDC_SUBJECT), QStringLiteral("Modal"));
        QTest::keyClick(dlg.GetDlgItem(IDC_SUBJECT), Qt::Key_Enter);
    });
    QCOMPARE(dlg.DoModal(), 1);
    QCOMPARE(Read(fx.GetAppt(OidOf(dlg.GetItem())).get()).strSubject, QStringLiteral("Modal"));
}

void TestApptDlg::fitsTheHandheldScreenWithEitherBar()
{
    for (BOOL bSoftKey : {FALSE, TRUE}) {
        CDialogFixture fx;
        fx.Settings().UseSoftKey = bSoftKey;
        const int32_t nOid = fx.AddAppt(QStringLiteral("Dentist appointment with a long subject"),
                                        Dt(2015, 3, 4, 14, 0), Dt(2015, 3, 4, 15, 30), false, HandwrittenNotes());
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        const QString strFault = EditorLayoutFault(dlg, bSoftKey, 138,
                                                   {IDC_SUBJECT_LABEL, IDC_SUBJECT, IDC_LOCATION_LABEL, IDC_LOCATION,
                                                    IDC_ALLDAY, IDC_START_LABEL, IDC_START_DATE, IDC_START_TIME,
                                                    IDC_END_LABEL, IDC_END_DATE, IDC_END_TIME});
        QVERIFY2(strFault.isEmpty(), qPrintable(strFault));
        QWidget* pPreview = dlg.GetNotesPreview();
        QCOMPARE(pPreview->x(), -1);
        QCOMPARE(pPreview->width(), 242);
        QVERIFY(pPreview->height() >= 100);
        // Every tool bar button is inside the dialog.
        if (!bSoftKey) {
            for (int nCommand : {ID_EDITOR_SAVE, ID_EDITOR_CANCEL, ID_EDIT_NOTES, ID_EDIT_DETAIL}) {
                const QToolButton* pButton = dlg.GetToolBar()->GetButton(nCommand);
                QVERIFY(pButton->isVisible());
                QVERIFY(pButton->mapTo(&dlg, QPoint(pButton->width() - 1, 0)).x() < 240);
            }
        }
        QVERIFY(SaveGrab(&dlg, bSoftKey ? QStringLiteral("appt_dialog_softkey.png")
                                        : QStringLiteral("appt_dialog_toolbar.png")));
    }
}

// A person types a day into a picker and clicks Save (or edit in detail) without
// leaving the picker first.
void TypeDateAndSaveWithTheMouse(CApptDlg& dlg, int nPickerId, const QDate& date, int nCommand)
{
    auto* pPicker = Control<QDateEdit>(dlg, nPickerId);
    pPicker->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(pPicker, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(pPicker, date.toString(QStringLiteral("yyyy-MM-dd")));
    TapToolButton(dlg, nCommand);
}

void TestApptDlg::refusedEditsWriteNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::addColumn<QString>("strMessage");
    QTest::newRow("end time before the start") << 0 << QStringLiteral("끝나는 때가 시작하는 때보다 앞설 수 없습니다.");
    QTest::newRow("a long item's times changed") << 1 << QStringLiteral("Too Long");
}

void TestApptDlg::refusedEditsWriteNothing()
{
    QFETCH(int, nCase);
    QFETCH(QString, strMessage);
    CDialogFixture fx;
    const int32_t nOid = nCase == 1 ? fx.AddAppt(QStringLiteral("Trip"), Dt(2015, 3, 4, 9, 0), Dt(2015, 5, 4, 17, 0))
                                    : fx.AddAppt(QStringLiteral("Talk"), Dt(2015, 3, 4, 10, 0), Dt(2015, 3, 4, 11, 0));
    const QByteArray digest = fx.StoreDigest();
    CScriptedMessageBox boxes;
    CApptDlg dlg(&fx, fx.MainWindow());
    dlg.Load(fx.GetAppt(nOid));
    Open(dlg);
    if (nCase == 0) {
        TypeInto(Control<QComboBox>(dlg, IDC_END_TIME), QStringLiteral("9:00 AM"));
        TapToolButton(dlg, ID_EDITOR_SAVE);
    } else {
        TypeInto(Control<QComboBox>(dlg, IDC_END_TIME), QStringLiteral("6:00 PM"));
        TapToolButton(dlg, ID_EDITOR_SAVE);
    }
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls()[0].strText, strMessage);
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), 0);
    QCOMPARE(fx.StoreDigest(), digest);
}

void TestApptDlg::editsThatAreKeptOrSkipped_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("start day typed, Save clicked") << 0;
    QTest::newRow("start day typed, edit in detail clicked") << 1;
    QTest::newRow("subject of an item longer than 31 days") << 2;
    QTest::newRow("an occurrence saved unchanged") << 3;
    QTest::newRow("end day before the start typed, Save clicked") << 4;
}

void TestApptDlg::editsThatAreKeptOrSkipped()
{
    QFETCH(int, nCase);
    CDialogFixture fx;
    CScriptedMessageBox boxes;
    if (nCase <= 1) {
        const int32_t nOid = fx.AddAppt(QStringLiteral("Talk"), Dt(2015, 3, 4, 10, 0), Dt(2015, 3, 4, 10, 30));
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        TypeDateAndSaveWithTheMouse(dlg, IDC_START_DATE, QDate(2015, 3, 6), nCase == 0 ? ID_EDITOR_SAVE : ID_EDIT_DETAIL);
        QCOMPARE(dlg.result(), nCase == 0 ? 1 : ID_EDITOR_RESULT_DETAIL);
        // The end moved with the start, and the half hour is kept.
        const ItemValues v = Read(fx.GetAppt(nOid).get());
        QCOMPARE(v.strStart, QStringLiteral("2015-03-06 10:00"));
        QCOMPARE(v.strEnd, QStringLiteral("2015-03-06 10:30"));
    } else if (nCase == 2) {
        const int32_t nOid = fx.AddAppt(QStringLiteral("Trip"), Dt(2015, 3, 4, 9, 0), Dt(2015, 5, 4, 17, 0));
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        TypeInto(Control<QLineEdit>(dlg, IDC_SUBJECT), QStringLiteral("Trip abroad"));
        TapToolButton(dlg, ID_EDITOR_SAVE);
        QCOMPARE(dlg.result(), 1);
        const ItemValues v = Read(fx.GetAppt(nOid).get());
        QCOMPARE(v.strSubject, QStringLiteral("Trip abroad"));
        QCOMPARE(v.strEnd, QStringLiteral("2015-05-04 17:00"));
    } else if (nCase == 4) {
        const int32_t nOid = fx.AddAppt(QStringLiteral("Talk"), Dt(2015, 3, 4, 10, 0), Dt(2015, 3, 4, 11, 0));
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(fx.GetAppt(nOid));
        Open(dlg);
        // The start moves back to the end's day.
        TypeDateAndSaveWithTheMouse(dlg, IDC_END_DATE, QDate(2015, 3, 3), ID_EDITOR_SAVE);
        QCOMPARE(dlg.result(), 1);
        const ItemValues v = Read(fx.GetAppt(nOid).get());
        QCOMPARE(v.strStart, QStringLiteral("2015-03-03 10:00"));
        QCOMPARE(v.strEnd, QStringLiteral("2015-03-03 11:00"));
    } else {
        std::unique_ptr<IAppointment> pSeries;
        fx.GetOutlookApp()->CreateItem(olAppointmentItem, &pSeries);
        pSeries->put_Subject(QStringLiteral("Standup"));
        pSeries->put_Start(Dt(2015, 3, 2, 9, 0));
        pSeries->put_End(Dt(2015, 3, 2, 9, 15));
        std::unique_ptr<IRecurrencePattern> pPattern;
        pSeries->GetRecurrencePattern(&pPattern);
        pPattern->put_RecurrenceType(olRecursDaily);
        QCOMPARE(pSeries->Save(), S_OK);
        std::unique_ptr<IAppointment> pOccurrence;
        QCOMPARE(pPattern->GetOccurrence(Dt(2015, 3, 4, 9, 0), &pOccurrence), S_OK);
        const QByteArray digest = fx.StoreDigest();
        CApptDlg dlg(&fx, fx.MainWindow());
        dlg.Load(std::move(pOccurrence));
        Open(dlg);
        TapToolButton(dlg, ID_EDITOR_SAVE);
        QCOMPARE(dlg.result(), 1);
        QCOMPARE(fx.StoreDigest(), digest);
    }
    QCOMPARE(boxes.Calls().size(), 0);
}

void TestApptDlg::datePickersTakeTheWeeksDays()
{
    CDialogFixture fx;
    CApptDlg dlg(&fx, fx.MainWindow());
    Open(dlg);
    for (int nId : {IDC_START_DATE, IDC_END_DATE}) {
        QCOMPARE(Control<QDateEdit>(dlg, nId)->minimumDate(), QDate(1970, 1, 5));
        QCOMPARE(Control<QDateEdit>(dlg, nId)->maximumDate(), QDate(2105, 12, 31));
    }
}

QTEST_MAIN(TestApptDlg)
#include "tst_ApptDlg.moc"
