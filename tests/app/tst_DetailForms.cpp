// The store's detail forms as the program installs them: opened through the item's
// Display on a started frame, filled in as a person would, saved or cancelled; checked on
// the store's values and on the rows of the week the pane shows after the store's change
// notification. Zone America/New_York, today Wednesday 4 March 2015.
#include "WeekFixture.h"
#include "dialogs/CApptForm.h"
#include "dialogs/CDialogToolBar.h"
#include "dialogs/CRecurrenceBox.h"
#include "dialogs/CTaskForm.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/IRecurrencePattern.h"
#include "platform/CScriptedMessageBox.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>
#include <QLabel>
#include <QTimeEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QToolButton>
#include <QtTest>
#include <functional>

Q_DECLARE_METATYPE(RecurrenceValues)

namespace {

using F = CWeekFixture;

// The program's own texts, so that the forms show what they show to a person.
void UseProgramTexts(CWeekFixture* pFx)
{
    QFile file(QDir(qEnvironmentVariable("QUILLDAY_TEST_DATA")).filePath(QStringLiteral("orlith.inf")));
    if (file.open(QIODevice::ReadOnly))
        pFx->WriteFile(QStringLiteral("orlith.inf"), file.readAll());
}

std::unique_ptr<CMainFrame> StartWith(CWeekFixture* pFx, int y, int m, int d)
{
    UseProgramTexts(pFx);
    return pFx->Start(y, m, d);
}

// Delivers the store's change notifications; the pane reloads the week.
void Settle(CMainFrame* pFrame)
{
    QCoreApplication::processEvents();
    CAgendaApp::PaintOffscreen(pFrame);
}

void Save(CDetailForm* pForm)
{
    pForm->ToolBar()->GetButton(IDC_FORM_SAVE)->click();
}

void Cancel(CDetailForm* pForm)
{
    pForm->ToolBar()->GetButton(IDC_FORM_CANCEL)->click();
}

// Opens the item's form through Display and lets fnFill act on it while it runs. fnFill
// ends with Save or Cancel; a form still open afterwards is cancelled.
template <class Form>
HRESULT RunForm(IPOutlookItem* pItem, std::function<void(Form*)> fnFill, bool* pbSeen = nullptr)
{
    QTimer::singleShot(0, [fnFill, pbSeen] {
        auto* pForm = qobject_cast<Form*>(QApplication::activeModalWidget());
        if (pbSeen)
            *pbSeen = pForm != nullptr;
        if (pForm == nullptr)
            return;
        fnFill(pForm);
        if (pForm->isVisible())
            Cancel(pForm);
    });
    return pItem->Display();
}

std::unique_ptr<IAppointment> Appt(CMainFrame* pFrame, int nOid)
{
    std::unique_ptr<IAppointment> p;
    pFrame->GetOutlookApp()->GetItemFromOid(nOid, &p);
    return p;
}

std::unique_ptr<ITask> Task(CMainFrame* pFrame, int nOid)
{
    std::unique_ptr<ITask> p;
    pFrame->GetOutlookApp()->GetItemFromOid(nOid, &p);
    return p;
}

// The days (0 = Monday) on which a row of the shown week holds the text.
QList<int> DaysShowing(CMainFrame* pFrame, const QString& strText)
{
    QList<int> days;
    for (int nDay = 0; nDay < 7; ++nDay) {
        for (const QString& row : F::DayRows(pFrame, nDay)) {
            if (row.section(QLatin1Char('\t'), 1, 1) == strText) {
                days.append(nDay);
                break;
            }
        }
    }
    return days;
}

// What a person does in the recurrence section: picks the kind, then changes the fields.
void ChooseRecurrence(CRecurrenceBox* pBox, const RecurrenceValues& v)
{
    pBox->TypeCombo()->setCurrentIndex(pBox->TypeCombo()->findData(v.nType));
    pBox->IntervalSpin()->setValue(v.nInterval);
    if (v.nType == olRecursWeekly) {
        for (int nBit = 1; nBit <= olSaturday; nBit <<= 1)
            pBox->WeekdayButton(nBit)->setChecked((v.nDayOfWeekMask & nBit) != 0);
    } else {
        pBox->WeekdayCombo()->setCurrentIndex(pBox->WeekdayCombo()->findData(v.nDayOfWeekMask));
    }
    pBox->DayOfMonthSpin()->setValue(v.nDayOfMonth);
    pBox->InstanceCombo()->setCurrentIndex(pBox->InstanceCombo()->findData(v.nInstance));
    pBox->MonthCombo()->setCurrentIndex(pBox->MonthCombo()->findData(v.nMonthOfYear));
    pBox->EndCombo()->setCurrentIndex(pBox->EndCombo()->findData(v.nEnd));
    pBox->CountSpin()->setValue(v.nOccurrences);
    if (v.endDate.isValid())
        pBox->EndDateEdit()->setDate(v.endDate);
}

RecurrenceValues Pattern(int nType, int nInterval, int nEnd)
{
    RecurrenceValues v;
    v.nType = nType;
    v.nInterval = nInterval;
    v.nEnd = nEnd;
    return v;
}

QString StoredText(CMainFrame* pFrame, const char* pszKey)
{
    return GetResourceString(pFrame->GetStrings(), QString::fromLatin1(pszKey));
}

void SavePng(QWidget* pWidget, const QString& name)
{
    const QString dir = qEnvironmentVariable("QUILLDAY_TEST_OUTPUT");
    if (!dir.isEmpty() && QDir().mkpath(dir))
        pWidget->grab().save(QDir(dir).filePath(name), "PNG");
}

}  // namespace

class TestDetailForms : public QObject {
    Q_OBJECT
private slots:
    void eachRecurrenceKindIsStoredAndShown_data();
    void eachRecurrenceKindIsStoredAndShown();
    void reminderAndBodyAreStored();
    void dayThirtyOneSaysShortMonthsAreSkipped();
    void occurrenceEditChangesThatDayAlone();
    void removingThePatternLeavesOneAppointment();
    void droppingExceptionsAsksFirst();
    void badInputWritesNothing_data();
    void badInputWritesNothing();
    void cancelWritesNothing();
    void foreignNotesAreLeftAlone();
    void longItemSavesWhileItsTimesStay();
    void unchangedOccurrenceIsNotWritten();
    void wheelScrollsAndDateFieldsTakeTheWeeksDays();
    void savingUntouchedKeepsAPatternOnSeveralWeekdays();
    void taskFormStoresPatternReminderAndBody();
    void taskBadInputWritesNothing();
    void exportAndImportKeepWhatTheFormsWrote();
    void formsWithAWeeklyPattern();
};

void TestDetailForms::eachRecurrenceKindIsStoredAndShown_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<RecurrenceValues>("pattern");
    QTest::addColumn<QDate>("week");
    QTest::addColumn<QList<int>>("days");
    QTest::addColumn<QList<int>>("nextWeekDays");

    RecurrenceValues daily = Pattern(olRecursDaily, 2, kEndAfterCount);
    daily.nOccurrences = 3;  // 2, 4 and 6 March
    QTest::newRow("daily every 2 days, 3 times") << QDateTime(QDate(2015, 3, 2), QTime(9, 0)) << daily
                                                 << QDate(2015, 3, 2) << QList<int>{0, 2, 4} << QList<int>{};
    RecurrenceValues weekly = Pattern(olRecursWeekly, 2, kEndByDate);
    weekly.nDayOfWeekMask = olTuesday | olThursday;
    weekly.endDate = QDate(2015, 3, 17);  // the 17th itself still repeats, the 19th not
    QTest::newRow("weekly every 2 weeks on Tuesday and Thursday, until a date")
        << QDateTime(QDate(2015, 2, 17), QTime(9, 0)) << weekly << QDate(2015, 3, 16) << QList<int>{1}
        << QList<int>{};
    RecurrenceValues monthly = Pattern(olRecursMonthly, 2, kEndNever);
    monthly.nDayOfMonth = 4;
    QTest::newRow("monthly on the 4th every 2 months") << QDateTime(QDate(2015, 1, 4), QTime(10, 0)) << monthly
                                                       << QDate(2015, 3, 2) << QList<int>{2} << QList<int>{};
    RecurrenceValues monthNth = Pattern(olRecursMonthNth, 2, kEndAfterCount);
    monthNth.nInstance = 1;
    monthNth.nDayOfWeekMask = olFriday;
    monthNth.nOccurrences = 5;
    QTest::newRow("first Friday every 2 months, 5 times") << QDateTime(QDate(2015, 1, 2), QTime(10, 0)) << monthNth
                                                          << QDate(2015, 3, 2) << QList<int>{4} << QList<int>{};
    RecurrenceValues yearly = Pattern(olRecursYearly, 2, kEndByDate);
    yearly.nMonthOfYear = 3;
    yearly.nDayOfMonth = 7;
    yearly.endDate = QDate(2020, 12, 31);
    QTest::newRow("7 March every 2 years, until 2020") << QDateTime(QDate(2013, 3, 7), QTime(10, 0)) << yearly
                                                       << QDate(2015, 3, 2) << QList<int>{5} << QList<int>{};
    RecurrenceValues yearNth = Pattern(olRecursYearNth, 2, kEndAfterCount);
    yearNth.nInstance = 5;  // the last Sunday of March: 31 March 2013, 29 March 2015
    yearNth.nDayOfWeekMask = olSunday;
    yearNth.nMonthOfYear = 3;
    yearNth.nOccurrences = 4;
    QTest::newRow("last Sunday of March every 2 years, 4 times")
        << QDateTime(QDate(2013, 3, 31), QTime(10, 0)) << yearNth << QDate(2015, 3, 23) << QList<int>{6}
        << QList<int>{};
}

void TestDetailForms::eachRecurrenceKindIsStoredAndShown()
{
    QFETCH(QDateTime, start);
    QFETCH(RecurrenceValues, pattern);
    QFETCH(QDate, week);
    QFETCH(QList<int>, days);
    QFETCH(QList<int>, nextWeekDays);
    CWeekFixture fx;
    const DATE dtStart = F::Date(start.date().year(), start.date().month(), start.date().day(), start.time().hour());
    const int nOid = fx.AddAppt("Yoga", dtStart, dtStart + 1.0 / 24);
    auto pFrame = StartWith(&fx, week.year(), week.month(), week.day());
    QVERIFY(pFrame);
    QVERIFY(DaysShowing(pFrame.get(), "Yoga").size() <= 1);  // the single appointment

    auto pAppt = Appt(pFrame.get(), nOid);
    QVERIFY(pAppt);
    bool bSeen = false;
    const HRESULT hr = RunForm<CApptForm>(pAppt.get(), [&](CApptForm* pForm) {
        ChooseRecurrence(pForm->Recurrence(), pattern);
        Save(pForm);
    }, &bSeen);
    QVERIFY(bSeen);
    QCOMPARE(hr, S_OK);

    // The store's pattern, read back fresh.
    auto pStored = Appt(pFrame.get(), nOid);
    QCOMPARE(ReadRecurrence(pStored.get(), start.date()), ReadRecurrence(pAppt.get(), start.date()));
    RecurrenceValues stored = ReadRecurrence(pStored.get(), start.date());
    QCOMPARE(stored.nType, pattern.nType);
    QCOMPARE(stored.nInterval, pattern.nInterval);
    QCOMPARE(stored.nEnd, pattern.nEnd);
    if (pattern.nEnd == kEndAfterCount)
        QCOMPARE(stored.nOccurrences, pattern.nOccurrences);
    if (pattern.nEnd == kEndByDate)
        QCOMPARE(stored.endDate, pattern.endDate);
    if (pattern.nType == olRecursWeekly || pattern.nType == olRecursMonthNth || pattern.nType == olRecursYearNth)
        QCOMPARE(stored.nDayOfWeekMask, pattern.nDayOfWeekMask);
    if (pattern.nType == olRecursMonthly || pattern.nType == olRecursYearly)
        QCOMPARE(stored.nDayOfMonth, pattern.nDayOfMonth);
    if (pattern.nType == olRecursMonthNth || pattern.nType == olRecursYearNth)
        QCOMPARE(stored.nInstance, pattern.nInstance);
    if (pattern.nType == olRecursYearly || pattern.nType == olRecursYearNth)
        QCOMPARE(stored.nMonthOfYear, pattern.nMonthOfYear);

    // The week as the pane shows it after the store's notification, and the week after.
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Yoga"), days);
    F::Pane(pFrame.get())->SetWeek(DateTime(week.year(), week.month(), week.day(), 0, 0, 0) + DateTimeSpan(7, 0, 0, 0));
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Yoga"), nextWeekDays);
}

void TestDetailForms::reminderAndBodyAreStored()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9), F::Date(2015, 3, 3, 10));
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pAppt = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [](CApptForm* pForm) {
        pForm->ReminderCheck()->setChecked(true);
        pForm->ReminderCombo()->setEditText(" 45 ");  // free entry, not one of the list's
        pForm->BodyEdit()->setPlainText("Bring the card.\nSecond line");
        Save(pForm);
    }), S_OK);
    auto pStored = Appt(pFrame.get(), nOid);
    BOOL bReminder = FALSE;
    int32_t nMinutes = 0;
    QString strBody;
    pStored->get_ReminderSet(&bReminder);
    pStored->get_ReminderMinutesBeforeStart(&nMinutes);
    pStored->get_Body(&strBody);
    QCOMPARE(bReminder, TRUE);
    QCOMPARE(nMinutes, 45);
    QCOMPARE(strBody, QStringLiteral("Bring the card.\nSecond line"));
    Settle(pFrame.get());
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"9:00a\tDentist\textra=9:00a-10:00a|\tnotes\talarm"});
}

void TestDetailForms::dayThirtyOneSaysShortMonthsAreSkipped()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Rent", F::Date(2015, 1, 31, 9), F::Date(2015, 1, 31, 10));
    auto pFrame = StartWith(&fx, 2015, 2, 23);
    QVERIFY(pFrame);
    auto pAppt = Appt(pFrame.get(), nOid);
    QString strNote;
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [&](CApptForm* pForm) {
        CRecurrenceBox* pBox = pForm->Recurrence();
        pBox->TypeCombo()->setCurrentIndex(pBox->TypeCombo()->findData(olRecursMonthly));
        QCOMPARE(pBox->DayOfMonthSpin()->value(), 31);  // from the start day
        QVERIFY(pBox->ShortMonthNote()->isVisibleTo(pForm));
        strNote = pBox->ShortMonthNote()->text();
        Save(pForm);
    }), S_OK);
    QCOMPARE(strNote, StoredText(pFrame.get(), "RC_DETAILFORM_SHORTMONTH").arg(31));
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Rent"), QList<int>{});  // no 31 February
    F::Pane(pFrame.get())->SetWeek(DateTime(2015, 3, 30, 0, 0, 0));
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Rent"), QList<int>{1});  // Tuesday 31 March
}

void TestDetailForms::occurrenceEditChangesThatDayAlone()
{
    CWeekFixture fx;
    const int nOid = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 8), F::Date(2015, 3, 2, 9), 5);
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pSeries = Appt(pFrame.get(), nOid);
    std::unique_ptr<IRecurrencePattern> pPattern;
    std::unique_ptr<IAppointment> pOccurrence;
    QCOMPARE(pSeries->GetRecurrencePattern(&pPattern), S_OK);
    QCOMPARE(pPattern->GetOccurrence(F::Date(2015, 3, 4, 8), &pOccurrence), S_OK);
    QCOMPARE(RunForm<CApptForm>(pOccurrence.get(), [](CApptForm* pForm) {
        QVERIFY(pForm->Recurrence() == nullptr);  // no pattern to change on one day
        pForm->SubjectEdit()->setText("Gym late");
        pForm->StartTimeEdit()->setTime(QTime(18, 0));
        QCOMPARE(pForm->EndTimeEdit()->time(), QTime(19, 0));  // the end keeps the hour's length
        Save(pForm);
    }), S_OK);
    auto pStored = Appt(pFrame.get(), nOid);
    QString strSubject;
    pStored->get_Subject(&strSubject);
    QCOMPARE(strSubject, QStringLiteral("Gym"));
    const RecurrenceValues stored = ReadRecurrence(pStored.get(), QDate(2015, 3, 2));
    QCOMPARE(stored.nType, olRecursDaily);
    QCOMPARE(stored.nOccurrences, 5);
    Settle(pFrame.get());
    for (int nDay : {0, 1, 3, 4})
        QCOMPARE(F::DayRows(pFrame.get(), nDay), QStringList{"8:00a\tGym\textra=8:00a-9:00a|\trecurring"});
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"6:00p\tGym late\textra=6:00p-7:00p|\trecurring"});
}

void TestDetailForms::removingThePatternLeavesOneAppointment()
{
    CWeekFixture fx;
    const int nOid = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 8), F::Date(2015, 3, 2, 9), 5);
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pSeries = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pSeries.get(), [](CApptForm* pForm) {
        QCOMPARE(pForm->Recurrence()->TypeCombo()->currentData().toInt(), olRecursDaily);
        pForm->Recurrence()->TypeCombo()->setCurrentIndex(pForm->Recurrence()->TypeCombo()->findData(kRecursNone));
        Save(pForm);
    }), S_OK);
    BOOL bRecurring = TRUE;
    Appt(pFrame.get(), nOid)->get_IsRecurring(&bRecurring);
    QCOMPARE(bRecurring, FALSE);
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Gym"), QList<int>{0});
    QCOMPARE(F::DayRows(pFrame.get(), 0), QStringList{"8:00a\tGym\textra=8:00a-9:00a|"});
}

void TestDetailForms::droppingExceptionsAsksFirst()
{
    CWeekFixture fx;
    const int nOid = fx.AddDailyAppt("Gym", F::Date(2015, 3, 2, 8), F::Date(2015, 3, 2, 9), 5);
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    {
        std::unique_ptr<IRecurrencePattern> pPattern;
        std::unique_ptr<IAppointment> pOccurrence;
        Appt(pFrame.get(), nOid)->GetRecurrencePattern(&pPattern);
        QCOMPARE(pPattern->GetOccurrence(F::Date(2015, 3, 4, 8), &pOccurrence), S_OK);
        pOccurrence->put_Subject("Gym late");
        QCOMPARE(pOccurrence->Save(), S_OK);
    }
    // The series an hour earlier: Wednesday's changed occurrence no longer has its day.
    const auto fnChange = [](CApptForm* pForm) {
        pForm->StartTimeEdit()->setTime(QTime(7, 0));
        pForm->EndTimeEdit()->setTime(QTime(8, 0));
        pForm->SubjectEdit()->setText("Gym 2");
        Save(pForm);
    };
    CScriptedMessageBox boxes({IDCANCEL, IDOK});
    auto pSeries = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pSeries.get(), fnChange), S_FALSE);
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls().at(0).strText, StoredText(pFrame.get(), "RC_DETAILFORM_CONFIRM_DROPEXCEPTIONS").arg(1));
    QCOMPARE(boxes.Calls().at(0).nType & MB_TYPEMASK, MB_OKCANCEL);
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Gym"), (QList<int>{0, 1, 3, 4}));
    QCOMPARE(DaysShowing(pFrame.get(), "Gym late"), QList<int>{2});

    pSeries = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pSeries.get(), fnChange), S_OK);
    QCOMPARE(boxes.Calls().size(), 2);
    Settle(pFrame.get());
    QCOMPARE(DaysShowing(pFrame.get(), "Gym 2"), (QList<int>{0, 1, 2, 3, 4}));
    QCOMPARE(F::DayRows(pFrame.get(), 2), QStringList{"7:00a\tGym 2\textra=7:00a-8:00a|\trecurring"});
}

void TestDetailForms::badInputWritesNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::addColumn<QString>("strKey");
    QTest::newRow("interval 0") << 0 << "RC_DETAILFORM_ERROR_INTERVAL";
    QTest::newRow("count 0") << 1 << "RC_DETAILFORM_ERROR_COUNT";
    QTest::newRow("pattern end before the start") << 2 << "RC_DETAILFORM_ERROR_PATTERNEND";
    QTest::newRow("weekly without a weekday") << 3 << "RC_DETAILFORM_ERROR_WEEKDAY";
    QTest::newRow("end before the start") << 4 << "RC_DETAILFORM_ERROR_END";
    QTest::newRow("reminder that is no number") << 5 << "RC_DETAILFORM_ERROR_REMINDER";
    QTest::newRow("30 February every year") << 6 << "RC_DETAILFORM_ERROR_MONTHDAY";
    QTest::newRow("a start the store refuses") << 7 << "RC_DETAILFORM_ERROR_VALUE";
    QTest::newRow("longer than 31 days") << 8 << "RC_DETAILFORM_ERROR_TOOLONG";
}

void TestDetailForms::badInputWritesNothing()
{
    QFETCH(int, nCase);
    QFETCH(QString, strKey);
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9), F::Date(2015, 3, 3, 10));
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pAppt = Appt(pFrame.get(), nOid);
    QString strMessage;
    const HRESULT hr = RunForm<CApptForm>(pAppt.get(), [&](CApptForm* pForm) {
        pForm->SubjectEdit()->setText("Changed");
        CRecurrenceBox* pBox = pForm->Recurrence();
        RecurrenceValues v = Pattern(olRecursWeekly, 1, kEndNever);
        v.nDayOfWeekMask = olTuesday;
        switch (nCase) {
        case 0: v.nInterval = 0; break;
        case 1: v.nEnd = kEndAfterCount; v.nOccurrences = 0; break;
        case 2: v.nEnd = kEndByDate; v.endDate = QDate(2015, 3, 2); break;
        case 3: v.nDayOfWeekMask = 0; break;
        case 4: pForm->EndTimeEdit()->setTime(QTime(8, 30)); break;
        case 5: pForm->ReminderCheck()->setChecked(true); pForm->ReminderCombo()->setEditText("soon"); break;
        case 7:
            // Beyond the days the fields offer, as a damaged store or another program may
            // bring them.
            pForm->StartDateEdit()->setMaximumDate(QDate(9999, 12, 31));
            pForm->EndDateEdit()->setMaximumDate(QDate(9999, 12, 31));
            pForm->StartDateEdit()->setDate(QDate(9999, 3, 2));
            break;
        case 8: pForm->EndDateEdit()->setDate(QDate(2015, 4, 14)); break;
        case 6:
            v = Pattern(olRecursYearly, 1, kEndNever);
            v.nMonthOfYear = 2;
            v.nDayOfMonth = 30;
            break;
        default: break;
        }
        ChooseRecurrence(pBox, v);
        Save(pForm);
        strMessage = pForm->GetMessage();
        QVERIFY(pForm->isVisible());  // the form stays open with its message
    });
    QCOMPARE(hr, S_FALSE);
    QCOMPARE(strMessage, StoredText(pFrame.get(), strKey.toLatin1().constData()));
    QVERIFY(!strMessage.isEmpty());
    auto pStored = Appt(pFrame.get(), nOid);
    QString strSubject;
    BOOL bRecurring = TRUE;
    pStored->get_Subject(&strSubject);
    pStored->get_IsRecurring(&bRecurring);
    QCOMPARE(strSubject, QStringLiteral("Dentist"));
    QCOMPARE(bRecurring, FALSE);
    Settle(pFrame.get());
    QCOMPARE(F::DayRows(pFrame.get(), 1), QStringList{"9:00a\tDentist\textra=9:00a-10:00a|"});
}

void TestDetailForms::cancelWritesNothing()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9), F::Date(2015, 3, 3, 10));
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pAppt = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [](CApptForm* pForm) {
        pForm->SubjectEdit()->setText("Changed");
        ChooseRecurrence(pForm->Recurrence(), Pattern(olRecursDaily, 3, kEndNever));
        QTest::keyClick(pForm, Qt::Key_Escape);
    }), S_FALSE);
    QString strSubject;
    BOOL bRecurring = TRUE;
    Appt(pFrame.get(), nOid)->get_Subject(&strSubject);
    Appt(pFrame.get(), nOid)->get_IsRecurring(&bRecurring);
    QCOMPARE(strSubject, QStringLiteral("Dentist"));
    QCOMPARE(bRecurring, FALSE);
}

void TestDetailForms::foreignNotesAreLeftAlone()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9), F::Date(2015, 3, 3, 10));
    const QByteArray foreign("\x07\x00another program's notes\xff", 27);
    {
        std::unique_ptr<IAppointment> p;
        fx.Store()->GetItemFromOid(nOid, &p);
        p->put_BodyInk(foreign);
        QCOMPARE(p->Save(), S_OK);
    }
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    QString strBody = QStringLiteral("-");
    QString strPlaceholder;
    QCOMPARE(RunForm<CApptForm>(Appt(pFrame.get(), nOid).get(), [&](CApptForm* pForm) {
        strBody = pForm->BodyEdit()->toPlainText();
        strPlaceholder = pForm->BodyEdit()->placeholderText();
        pForm->SubjectEdit()->setText("Dentist at 9");
        Save(pForm);
    }), S_OK);
    QCOMPARE(strBody, QString());
    QCOMPARE(strPlaceholder, StoredText(pFrame.get(), "RC_NOTES_UNREADABLE"));
    QByteArray stored;
    QString strSubject;
    Appt(pFrame.get(), nOid)->get_BodyInk(&stored);
    Appt(pFrame.get(), nOid)->get_Subject(&strSubject);
    QCOMPARE(stored, foreign);
    QCOMPARE(strSubject, QStringLiteral("Dentist at 9"));
}

void TestDetailForms::longItemSavesWhileItsTimesStay()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Trip", F::Date(2015, 3, 3, 9), F::Date(2016, 3, 3, 9));
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(RunForm<CApptForm>(Appt(pFrame.get(), nOid).get(), [](CApptForm* pForm) {
        pForm->SubjectEdit()->setText("Year abroad");
        Save(pForm);
    }), S_OK);
    QString strSubject;
    DATE dtEnd = 0;
    Appt(pFrame.get(), nOid)->get_Subject(&strSubject);
    Appt(pFrame.get(), nOid)->get_End(&dtEnd);
    QCOMPARE(strSubject, QStringLiteral("Year abroad"));
    QCOMPARE(dtEnd, F::Date(2016, 3, 3, 9));
}

void TestDetailForms::unchangedOccurrenceIsNotWritten()
{
    CWeekFixture fx;
    const int nOid = fx.AddDailyAppt("Standup", F::Date(2015, 3, 2, 9), F::Date(2015, 3, 2, 9, 15), 5);
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    std::unique_ptr<IRecurrencePattern> pPattern;
    Appt(pFrame.get(), nOid)->GetRecurrencePattern(&pPattern);
    std::unique_ptr<IAppointment> pOccurrence;
    QCOMPARE(pPattern->GetOccurrence(F::Date(2015, 3, 4, 9), &pOccurrence), S_OK);
    const QByteArray before = fx.StoreBytes();
    QCOMPARE(RunForm<CApptForm>(pOccurrence.get(), [](CApptForm* pForm) { Save(pForm); }), S_OK);
    QCOMPARE(fx.StoreBytes(), before);
}

void TestDetailForms::wheelScrollsAndDateFieldsTakeTheWeeksDays()
{
    CWeekFixture fx;
    const int nOid = fx.AddAppt("Dentist", F::Date(2015, 3, 3, 9), F::Date(2015, 3, 3, 10));
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    QDate shown;
    QCOMPARE(RunForm<CApptForm>(Appt(pFrame.get(), nOid).get(), [&](CApptForm* pForm) {
        pForm->SubjectEdit()->setFocus();
        QDateEdit* pField = pForm->EndDateEdit();
        const QPointF at(pField->width() / 4, pField->height() / 2);
        QWheelEvent wheel(at, pField->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(pField, &wheel);
        shown = pField->date();
        // Every date field takes the days the week can show.
        for (QDateEdit* pDate : pForm->findChildren<QDateEdit*>()) {
            QCOMPARE(pDate->minimumDate(), QDate(1970, 1, 5));
            QCOMPARE(pDate->maximumDate(), QDate(2105, 12, 31));
        }
        Cancel(pForm);
    }), S_FALSE);
    QCOMPARE(shown, QDate(2015, 3, 3));
}

void TestDetailForms::savingUntouchedKeepsAPatternOnSeveralWeekdays()
{
    CWeekFixture fx;
    int32_t nOid = 0;
    {
        // The second Monday-or-Tuesday of every month, as a file from elsewhere may bring it.
        std::unique_ptr<IAppointment> p;
        fx.Store()->CreateItem(olAppointmentItem, &p);
        p->put_Subject("Club");
        p->put_Start(F::Date(2015, 3, 3, 19));
        p->put_End(F::Date(2015, 3, 3, 20));
        std::unique_ptr<IRecurrencePattern> pPattern;
        p->GetRecurrencePattern(&pPattern);
        pPattern->put_RecurrenceType(olRecursMonthNth);
        pPattern->put_DayOfWeekMask(olMonday | olTuesday);
        pPattern->put_Instance(2);
        QCOMPARE(p->Save(), S_OK);
        p->get_Oid(&nOid);
    }
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pAppt = Appt(pFrame.get(), nOid);
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [](CApptForm* pForm) {
        pForm->SubjectEdit()->setText("Chess club");
        Save(pForm);
    }), S_OK);
    const RecurrenceValues stored = ReadRecurrence(Appt(pFrame.get(), nOid).get(), QDate(2015, 3, 3));
    QCOMPARE(stored.nType, olRecursMonthNth);
    QCOMPARE(stored.nDayOfWeekMask, olMonday | olTuesday);
    QCOMPARE(stored.nInstance, 2);
}

void TestDetailForms::taskFormStoresPatternReminderAndBody()
{
    CWeekFixture fx;
    const int nOid = fx.AddTask({"Report", 1, F::Date(2015, 3, 2), F::Date(2015, 3, 3)});
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    auto pTask = Task(pFrame.get(), nOid);
    RecurrenceValues weekly = Pattern(olRecursWeekly, 2, kEndAfterCount);
    weekly.nDayOfWeekMask = olMonday;
    weekly.nOccurrences = 3;
    QCOMPARE(RunForm<CTaskForm>(pTask.get(), [&](CTaskForm* pForm) {
        QVERIFY(pForm->StartCheck()->isChecked());
        QCOMPARE(pForm->DueDateEdit()->date(), QDate(2015, 3, 3));
        ChooseRecurrence(pForm->Recurrence(), weekly);
        pForm->ReminderCheck()->setChecked(true);
        pForm->ImportanceCombo()->setCurrentIndex(pForm->ImportanceCombo()->findData(olImportanceHigh));
        pForm->BodyEdit()->setPlainText("Numbers for March");
        Save(pForm);
    }), S_OK);
    auto pStored = Task(pFrame.get(), nOid);
    const RecurrenceValues stored = ReadRecurrence(pStored.get(), QDate(2015, 3, 2));
    QCOMPARE(stored.nType, olRecursWeekly);
    QCOMPARE(stored.nInterval, 2);
    QCOMPARE(stored.nDayOfWeekMask, olMonday);
    QCOMPARE(stored.nEnd, kEndAfterCount);
    QCOMPARE(stored.nOccurrences, 3);
    BOOL bReminder = FALSE;
    int32_t nImportance = 0;
    QString strBody;
    pStored->get_ReminderSet(&bReminder);
    pStored->get_Importance(&nImportance);
    pStored->get_Body(&strBody);
    QCOMPARE(bReminder, TRUE);
    QCOMPARE(nImportance, olImportanceHigh);
    QCOMPARE(strBody, QStringLiteral("Numbers for March"));
    Settle(pFrame.get());
    // The due day's row, with the icons of what the form wrote.
    const QStringList rows = F::DayRows(pFrame.get(), 1);
    QVERIFY2(rows.size() == 1 && rows[0].contains("\tReport") && rows[0].contains("\trecurring")
                 && rows[0].contains("\talarm") && rows[0].contains("\tnotes"),
             qPrintable(rows.join('|')));

    // Completing it in the form keeps a completed copy and moves the task two weeks on.
    pTask = Task(pFrame.get(), nOid);
    QCOMPARE(RunForm<CTaskForm>(pTask.get(), [](CTaskForm* pForm) {
        pForm->CompleteCheck()->setChecked(true);
        Save(pForm);
    }), S_OK);
    DATE dtStart = 0.0;
    Task(pFrame.get(), nOid)->get_StartDate(&dtStart);
    QCOMPARE(dtStart, F::Date(2015, 3, 16));
}

void TestDetailForms::taskBadInputWritesNothing()
{
    CWeekFixture fx;
    const int nOid = fx.AddTask({"Report", 1, F::Date(2015, 3, 2), F::Date(2015, 3, 3)});
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    const auto fnDueFirst = [](CTaskForm* pForm) {
        pForm->SubjectEdit()->setText("Changed");
        pForm->DueDateEdit()->setDate(QDate(2015, 3, 1));
    };
    const auto fnNoDates = [](CTaskForm* pForm) {
        pForm->SubjectEdit()->setText("Changed");
        pForm->StartCheck()->setChecked(false);
        pForm->DueCheck()->setChecked(false);
        ChooseRecurrence(pForm->Recurrence(), Pattern(olRecursDaily, 2, kEndNever));
    };
    const std::pair<std::function<void(CTaskForm*)>, const char*> cases[] = {
        {fnDueFirst, "RC_DETAILFORM_ERROR_DUE"}, {fnNoDates, "RC_DETAILFORM_ERROR_TASKDATES"}};
    for (const auto& [fnBad, pszKey] : cases) {
        auto pTask = Task(pFrame.get(), nOid);
        QString strMessage;
        QCOMPARE(RunForm<CTaskForm>(pTask.get(), [&](CTaskForm* pForm) {
            fnBad(pForm);
            Save(pForm);
            strMessage = pForm->GetMessage();
        }), S_FALSE);
        QCOMPARE(strMessage, StoredText(pFrame.get(), pszKey));
        QString strSubject;
        DATE dtDue = 0.0;
        Task(pFrame.get(), nOid)->get_Subject(&strSubject);
        Task(pFrame.get(), nOid)->get_DueDate(&dtDue);
        QCOMPARE(strSubject, QStringLiteral("Report"));
        QCOMPARE(dtDue, F::Date(2015, 3, 3));
    }
}

void TestDetailForms::exportAndImportKeepWhatTheFormsWrote()
{
    CWeekFixture fx;
    const int nApptOid = fx.AddAppt("Yoga", F::Date(2015, 3, 3, 18), F::Date(2015, 3, 3, 19));
    const int nTaskOid = fx.AddTask({"Water plants", 1, F::Date(2015, 3, 2), F::Date(2015, 3, 2)});
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    RecurrenceValues weekly = Pattern(olRecursWeekly, 2, kEndByDate);
    weekly.nDayOfWeekMask = olTuesday | olThursday;
    weekly.endDate = QDate(2015, 6, 30);
    auto pAppt = Appt(pFrame.get(), nApptOid);
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [&](CApptForm* pForm) {
        ChooseRecurrence(pForm->Recurrence(), weekly);
        pForm->ReminderCheck()->setChecked(true);
        pForm->ReminderCombo()->setEditText("30");
        pForm->BodyEdit()->setPlainText("Bring the mat");
        Save(pForm);
    }), S_OK);
    RecurrenceValues every3 = Pattern(olRecursDaily, 3, kEndByDate);
    every3.endDate = QDate(2015, 4, 1);
    auto pTask = Task(pFrame.get(), nTaskOid);
    QCOMPARE(RunForm<CTaskForm>(pTask.get(), [&](CTaskForm* pForm) {
        ChooseRecurrence(pForm->Recurrence(), every3);
        pForm->ReminderCheck()->setChecked(true);
        pForm->BodyEdit()->setPlainText("Only the ferns");
        Save(pForm);
    }), S_OK);

    const QString strFile = fx.Path("out.ics");
    QString strError;
    QVERIFY(CICalExporter(pFrame->GetOutlookApp()->GetStore()).ExportFile(strFile, &strError));
    QFile file(strFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QStringList rules;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith("RRULE"))
            rules.append(QString::fromUtf8(line.trimmed()));
    }
    QCOMPARE(rules.size(), 2);
    for (const char* psz : {"FREQ=WEEKLY", "INTERVAL=2", "BYDAY=TU,TH", "UNTIL=20150630"})
        QVERIFY2(rules[0].contains(QLatin1String(psz)), qPrintable(rules[0]));
    for (const char* psz : {"FREQ=DAILY", "INTERVAL=3", "UNTIL=20150401"})
        QVERIFY2(rules[1].contains(QLatin1String(psz)), qPrintable(rules[1]));
    for (const char* psz : {"BEGIN:VALARM", "TRIGGER:-PT30M", "DESCRIPTION:Bring the mat", "DESCRIPTION:Only the ferns"})
        QVERIFY2(text.contains(psz), psz);

    IPOutlookApp other;
    QCOMPARE(other.Logon(fx.Path("other.sqlite")), S_OK);
    CICalImporter importer(other.GetStore());
    QVERIFY(importer.ImportFile(strFile, &strError));
    std::unique_ptr<IAppointment> pApptIn;
    std::unique_ptr<ITask> pTaskIn;
    for (int32_t nOid = 1; nOid < 10; ++nOid) {
        std::unique_ptr<IPOutlookItem> pItem;
        if (FAILED(other.GetItemFromOid(nOid, &pItem)))
            continue;
        if (pItem->AsAppointment())
            pApptIn.reset(static_cast<IAppointment*>(pItem.release()));
        else
            pTaskIn.reset(static_cast<ITask*>(pItem.release()));
    }
    QVERIFY(pApptIn && pTaskIn);
    pAppt = Appt(pFrame.get(), nApptOid);
    pTask = Task(pFrame.get(), nTaskOid);
    QCOMPARE(ReadRecurrence(pApptIn.get(), QDate(2015, 3, 3)), ReadRecurrence(pAppt.get(), QDate(2015, 3, 3)));
    QCOMPARE(ReadRecurrence(pApptIn.get(), QDate(2015, 3, 3)).nDayOfWeekMask, olTuesday | olThursday);
    QCOMPARE(ReadRecurrence(pTaskIn.get(), QDate(2015, 3, 2)), ReadRecurrence(pTask.get(), QDate(2015, 3, 2)));
    QCOMPARE(ReadRecurrence(pTaskIn.get(), QDate(2015, 3, 2)).nInterval, 3);
    BOOL bReminder = FALSE;
    int32_t nMinutes = 0;
    QString strBody;
    pApptIn->get_ReminderSet(&bReminder);
    pApptIn->get_ReminderMinutesBeforeStart(&nMinutes);
    pApptIn->get_Body(&strBody);
    QCOMPARE(bReminder, TRUE);
    QCOMPARE(nMinutes, 30);
    QCOMPARE(strBody, QStringLiteral("Bring the mat"));
    pTaskIn->get_ReminderSet(&bReminder);
    pTaskIn->get_Body(&strBody);
    QCOMPARE(bReminder, TRUE);
    QCOMPARE(strBody, QStringLiteral("Only the ferns"));
}

void TestDetailForms::formsWithAWeeklyPattern()
{
    CWeekFixture fx;
    const int nApptOid = fx.AddAppt("요가 수업", F::Date(2015, 3, 3, 18), F::Date(2015, 3, 3, 19));
    const int nTaskOid = fx.AddTask({"보고서 쓰기", 2, F::Date(2015, 3, 2), F::Date(2015, 3, 6)});
    auto pFrame = StartWith(&fx, 2015, 3, 2);
    QVERIFY(pFrame);
    RecurrenceValues weekly = Pattern(olRecursWeekly, 2, kEndAfterCount);
    weekly.nDayOfWeekMask = olTuesday | olThursday;
    weekly.nOccurrences = 8;
    const auto fnCheckAndShoot = [](CDetailForm* pForm, const QString& name) {
        SavePng(pForm, name);
        QCOMPARE(pForm->size(), QSize(240, 320));
        // Nothing wider than the screen: the page fits beside the scroll bar.
        QVERIFY2(pForm->ScrollArea()->widget()->minimumSizeHint().width() <= pForm->ScrollArea()->viewport()->width(),
                 qPrintable(QString::number(pForm->ScrollArea()->widget()->minimumSizeHint().width())));
    };
    auto pAppt = Appt(pFrame.get(), nApptOid);
    QCOMPARE(RunForm<CApptForm>(pAppt.get(), [&](CApptForm* pForm) {
        pForm->LocationEdit()->setText("문화센터");
        ChooseRecurrence(pForm->Recurrence(), weekly);
        pForm->ReminderCheck()->setChecked(true);
        pForm->ReminderCombo()->setEditText("30");
        pForm->BodyEdit()->setPlainText("매트를 가져갈 것");
        QCoreApplication::processEvents();
        fnCheckAndShoot(pForm, "detailform_appt.png");
        pForm->ScrollArea()->ensureWidgetVisible(pForm->BodyEdit());
        QCoreApplication::processEvents();
        SavePng(pForm, "detailform_appt_scrolled.png");
        Save(pForm);
    }), S_OK);
    weekly.nDayOfWeekMask = olMonday;
    auto pTask = Task(pFrame.get(), nTaskOid);
    QCOMPARE(RunForm<CTaskForm>(pTask.get(), [&](CTaskForm* pForm) {
        ChooseRecurrence(pForm->Recurrence(), weekly);
        pForm->BodyEdit()->setPlainText("3월 숫자");
        QCoreApplication::processEvents();
        fnCheckAndShoot(pForm, "detailform_task.png");
        pForm->ScrollArea()->ensureWidgetVisible(pForm->BodyEdit());
        QCoreApplication::processEvents();
        SavePng(pForm, "detailform_task_scrolled.png");
        Save(pForm);
    }), S_OK);
}

QTEST_MAIN(TestDetailForms)
#include "tst_DetailForms.moc"
