// The texts of a reminder's notice: the subject (marked when missed) and the day and time
// span, or a task's due date, then the place; in English with the M/d/yy short date.
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include "reminders/ReminderText.h"
#include "resources/StringTable.h"
#include <gtest/gtest.h>

namespace {

class ReminderText : public ::testing::Test {
protected:
    ReminderText()
    {
        qputenv("QUILLDAY_SHORTDATE", "M/d/yy");
        LoadResourceStringsFrom(&m_strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QStringLiteral("/orlith.en.inf"));
    }
    ~ReminderText() override { qunsetenv("QUILLDAY_SHORTDATE"); }

    StringTable m_strings;
};

CReminder Appointment(const QString& strSubject, int64_t nStart, int64_t nEnd, const QString& strLocation = {})
{
    CReminder r;
    r.nItemType = olAppointmentItem;
    r.nStart = nStart;
    r.nEnd = nEnd;
    r.strSubject = strSubject;
    r.strLocation = strLocation;
    return r;
}

TEST_F(ReminderText, TitleAndBodyOfEachKindOfReminder)
{
    CReminder allDay = Appointment("Trip", WallFromFields(2026, 3, 12, 0, 0), WallFromFields(2026, 3, 14, 0, 0));
    allDay.bAllDay = true;
    CReminder task = Appointment("Taxes", WallFromFields(2026, 3, 12, 0, 0), WallFromFields(2026, 3, 12, 0, 0));
    task.nItemType = olTaskItem;
    CReminder missed = Appointment("Dentist", WallFromFields(2026, 3, 10, 9, 0), WallFromFields(2026, 3, 10, 10, 0));
    missed.bMissed = true;
    const struct {
        CReminder reminder;
        bool bUse24Hour;
        const char* pszTitle;
        const char* pszBody;
    } cases[] = {
        {Appointment("Dentist", WallFromFields(2026, 3, 10, 9, 0), WallFromFields(2026, 3, 10, 10, 30), "  Room 7 "),
         false, "Dentist", "Tue 3/10/26 9:00a–10:30a\nRoom 7"},
        {Appointment("Dentist", WallFromFields(2026, 3, 10, 9, 0), WallFromFields(2026, 3, 10, 10, 30)), true,
         "Dentist", "Tue 3/10/26 9:00–10:30"},
        {Appointment("Night", WallFromFields(2026, 3, 10, 22, 0), WallFromFields(2026, 3, 11, 6, 0)), true, "Night",
         "Tue 3/10/26 22:00 – Wed 3/11/26 6:00"},
        {allDay, false, "Trip", "Thu 3/12/26 – Sat 3/14/26, all day"},
        {task, false, "Taxes", "Due Thu 3/12/26"},
        {missed, false, "Missed: Dentist", "Tue 3/10/26 9:00a–10:00a"},
        {Appointment("  ", WallFromFields(2026, 3, 10, 9, 0), WallFromFields(2026, 3, 10, 9, 0)), true,
         "(no subject)", "Tue 3/10/26 9:00–9:00"},
    };
    for (const auto& c : cases) {
        const ReminderTexts texts = MakeReminderTexts(c.reminder, m_strings, c.bUse24Hour);
        EXPECT_EQ(texts.strTitle, QString::fromUtf8(c.pszTitle));
        EXPECT_EQ(texts.strBody, QString::fromUtf8(c.pszBody)) << c.pszTitle;
    }
}

TEST_F(ReminderText, ButtonsAndTheNoticeOfMissedOnes)
{
    EXPECT_EQ(OpenText(m_strings), QStringLiteral("Open"));
    EXPECT_EQ(SnoozeText(10, m_strings), QStringLiteral("Snooze 10 min"));
    EXPECT_EQ(DismissText(m_strings), QStringLiteral("Dismiss"));
    EXPECT_EQ(MissedCountText(14, m_strings), QStringLiteral("14 earlier reminders were missed."));
}

}  // namespace
