// iCalendar import and export on a fixture calendar that uses every mapped field.
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CNotesData.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <gtest/gtest.h>
#include <random>

namespace {

QString FixturePath()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("fixtures/calendar.ics"));
}

struct ApptFacts {
    DATE dtStart = 0, dtEnd = 0;
    BOOL bAllDay = FALSE, bReminder = FALSE, bRecurring = FALSE;
    QString strLocation, strBody;
    int32_t nOid = 0;
};

struct TaskFacts {
    DATE dtStart = 0, dtDue = 0, dtDone = 0;
    int32_t nImportance = -1;
    VARIANT_BOOL bComplete = 0;
    BOOL bReminder = FALSE, bRecurring = FALSE;
    QString strBody;
};

class ICal : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
    }

    bool Import(CTestStore& store, const QByteArray& text, QString* pstrError, CICalImporter** ppOut = nullptr)
    {
        m_pImporter = std::make_unique<CICalImporter>(store.App().GetStore());
        if (ppOut)
            *ppOut = m_pImporter.get();
        return m_pImporter->ImportText(text, pstrError);
    }

    QByteArray Export(CTestStore& store)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        CICalExporter exporter(store.App().GetStore());
        QString strError;
        EXPECT_TRUE(exporter.Export(&buffer, &strError)) << qPrintable(strError);
        return bytes;
    }

    // Every appointment occurrence from 2008-01-01 to 2008-03-31, by subject and start.
    QMultiMap<QString, ApptFacts> Appointments(CTestStore& store)
    {
        QMultiMap<QString, ApptFacts> out;
        std::unique_ptr<IFolder> pFolder;
        std::unique_ptr<IPOutlookItemCollection> pItems;
        store.App().GetDefaultFolder(olFolderCalendar, &pFolder);
        pFolder->get_Items(&pItems);
        pItems->Sort("[Start]", VARIANT_FALSE);
        pItems->put_IncludeRecurrences(VARIANT_TRUE);
        std::unique_ptr<IAppointment> p;
        for (HRESULT hr = pItems->Find("[Start] <= 3/31/08 23:59 AND [End] >= 1/1/08 00:00", &p); SUCCEEDED(hr) && p;
             hr = pItems->FindNext(&p)) {
            ApptFacts f;
            QString strSubject;
            p->get_Subject(&strSubject);
            p->get_Start(&f.dtStart);
            p->get_End(&f.dtEnd);
            p->get_AllDayEvent(&f.bAllDay);
            p->get_ReminderSet(&f.bReminder);
            p->get_IsRecurring(&f.bRecurring);
            p->get_Location(&f.strLocation);
            p->get_Body(&f.strBody);
            p->get_Oid(&f.nOid);
            out.insert(strSubject, f);
        }
        return out;
    }

    QMap<QString, TaskFacts> Tasks(CTestStore& store)
    {
        QMap<QString, TaskFacts> out;
        for (int32_t nOid : store.FindTasks("")) {
            std::unique_ptr<ITask> p;
            store.App().GetItemFromOid(nOid, &p);
            TaskFacts f;
            QString strSubject;
            p->get_Subject(&strSubject);
            p->get_StartDate(&f.dtStart);
            p->get_DueDate(&f.dtDue);
            p->get_DateCompleted(&f.dtDone);
            p->get_Importance(&f.nImportance);
            p->get_Complete(&f.bComplete);
            p->get_ReminderSet(&f.bReminder);
            p->get_IsRecurring(&f.bRecurring);
            p->get_Body(&f.strBody);
            out.insert(strSubject, f);
        }
        return out;
    }

    QByteArray Fixture()
    {
        QFile f(FixturePath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(FixturePath());
        return f.readAll();
    }

    CTestStore m_store;
    std::unique_ptr<CICalImporter> m_pImporter;
};

}  // namespace

TEST_F(ICal, ImportCountsWhatItAddedAndSkipped)
{
    QString strError;
    CICalImporter* pImporter = nullptr;
    ASSERT_TRUE(Import(m_store, Fixture(), &strError, &pImporter)) << qPrintable(strError);
    EXPECT_EQ(pImporter->Appointments(), 7);
    EXPECT_EQ(pImporter->Tasks(), 8);
    EXPECT_EQ(pImporter->SkippedSummary().join(u'|').toStdString(),
              "hourly@test: recurrence rule the store cannot hold exactly (FREQ=DAILY;BYHOUR=9,17)|"
              "journal@test: VJOURNAL components are not events or to-dos");
    EXPECT_EQ(pImporter->Added(), 15);
    EXPECT_EQ(pImporter->Updated(), 0);
    EXPECT_EQ(pImporter->Unchanged(), 0);
    EXPECT_EQ(pImporter->Skipped(), 2);
}

TEST_F(ICal, EventsBecomeAppointmentsInLocalWallTime)
{
    QString strError;
    ASSERT_TRUE(Import(m_store, Fixture(), &strError));
    const auto appts = Appointments(m_store);
    const ApptFacts floating = appts.value("Floating");
    EXPECT_EQ(floating.dtStart, Dt(2008, 1, 7, 9));
    EXPECT_EQ(floating.dtEnd, Dt(2008, 1, 7, 10, 30));
    EXPECT_EQ(floating.strLocation, "Room 1, east");
    EXPECT_EQ(floating.strBody, "Line one\nline two");
    EXPECT_TRUE(floating.bReminder);
    EXPECT_EQ(appts.value("In UTC").dtStart, Dt(2008, 1, 8, 9));       // 14:00Z in EST
    EXPECT_EQ(appts.value("In Berlin").dtStart, Dt(2008, 1, 9, 9));    // 15:00 CET
    EXPECT_EQ(appts.value("In Berlin").dtEnd, Dt(2008, 1, 9, 9, 45));  // DURATION
    const ApptFacts three = appts.value("Three days");
    EXPECT_TRUE(three.bAllDay);
    EXPECT_EQ(three.dtStart, Dt(2008, 1, 10));
    EXPECT_EQ(three.dtEnd, Dt(2008, 1, 12));  // inclusive last day
    EXPECT_EQ(appts.value("One day").dtEnd, Dt(2008, 1, 14));
}

TEST_F(ICal, SeriesKeepTheirRulesExdatesAndChangedOccurrences)
{
    QString strError;
    ASSERT_TRUE(Import(m_store, Fixture(), &strError));
    const auto appts = Appointments(m_store);
    QVector<DATE> lunches;
    for (const ApptFacts& f : appts.values("Lunch"))
        lunches << f.dtStart;
    std::sort(lunches.begin(), lunches.end());
    // Mondays and Wednesdays of January 2008 at noon, without the 9th (EXDATE) and the
    // 14th (moved to 16:00 under another subject).
    EXPECT_EQ(lunches, (QVector<DATE>{Dt(2008, 1, 7, 12), Dt(2008, 1, 16, 12), Dt(2008, 1, 21, 12), Dt(2008, 1, 23, 12),
                                      Dt(2008, 1, 28, 12), Dt(2008, 1, 30, 12)}));
    const ApptFacts moved = appts.value("Moved lunch");
    EXPECT_EQ(moved.dtStart, Dt(2008, 1, 14, 16));
    EXPECT_EQ(moved.nOid, appts.value("Lunch").nOid);
    EXPECT_TRUE(moved.bRecurring);
    QVector<DATE> clubs;
    for (const ApptFacts& f : appts.values("Club"))
        clubs << f.dtStart;
    std::sort(clubs.begin(), clubs.end());
    EXPECT_EQ(clubs, (QVector<DATE>{Dt(2008, 1, 8, 18), Dt(2008, 2, 12, 18), Dt(2008, 3, 11, 18)}));
}

TEST_F(ICal, TodosBecomeTasks)
{
    QString strError;
    ASSERT_TRUE(Import(m_store, Fixture(), &strError));
    const auto tasks = Tasks(m_store);
    ASSERT_EQ(tasks.size(), 8);
    const TaskFacts dated = tasks.value("Dated");
    EXPECT_EQ(dated.dtStart, Dt(2008, 1, 5));
    EXPECT_EQ(dated.dtDue, Dt(2008, 1, 10));
    EXPECT_EQ(dated.nImportance, olImportanceHigh);
    EXPECT_EQ(dated.bComplete, VARIANT_FALSE);
    EXPECT_TRUE(dated.bReminder);
    EXPECT_EQ(dated.strBody, "todo notes");
    EXPECT_EQ(tasks.value("Due with a time").dtStart, kNoDate);
    EXPECT_EQ(tasks.value("Due with a time").dtDue, Dt(2008, 1, 20));
    EXPECT_EQ(tasks.value("Due with a time").nImportance, olImportanceNormal);
    const TaskFacts done = tasks.value("Done");
    EXPECT_EQ(done.bComplete, VARIANT_TRUE);
    EXPECT_EQ(done.dtDone, Dt(2008, 1, 2));  // 03:00Z is the evening before in EST
    EXPECT_EQ(done.nImportance, olImportanceLow);
    EXPECT_EQ(tasks.value("Priority three").nImportance, olImportanceHigh);
    EXPECT_EQ(tasks.value("No priority").nImportance, olImportanceNormal);
    EXPECT_EQ(tasks.value("Start only").nImportance, olImportanceLow);
    EXPECT_EQ(tasks.value("Start only").dtStart, Dt(2008, 2, 1));
    EXPECT_EQ(tasks.value("Start only").dtDue, kNoDate);
    EXPECT_TRUE(tasks.value("Weekly chore").bRecurring);
    EXPECT_EQ(tasks.value("Percent done").bComplete, VARIANT_TRUE);
}

TEST_F(ICal, ExportThenImportThenExportGivesTheSameCalendar)
{
    QString strError;
    ASSERT_TRUE(Import(m_store, Fixture(), &strError));
    // Notes with pen strokes go along too.
    std::unique_ptr<ITask> pTask;
    m_store.App().CreateItem(olTaskItem, &pTask);
    pTask->put_Subject("inked");
    CNotesData notes;
    notes.m_strText = "typed";
    CInkStroke stroke;
    stroke.points = {QPoint(1, 2), QPoint(3, 4)};
    notes.m_strokes = {stroke};
    pTask->put_BodyInk(notes.ToBytes());
    ASSERT_EQ(pTask->Save(), S_OK);

    const QByteArray first = Export(m_store);
    EXPECT_TRUE(first.contains("DTSTART;VALUE=DATE:20080110\r\nDTEND;VALUE=DATE:20080113\r\n"));
    EXPECT_TRUE(first.contains("RECURRENCE-ID:20080114T120000\r\n"));
    EXPECT_TRUE(first.contains("EXDATE:20080109T120000\r\n"));
    EXPECT_TRUE(first.contains("X-QUILLDAY-INK:"));
    CTestStore second;
    ASSERT_TRUE(Import(second, first, &strError)) << qPrintable(strError);
    EXPECT_TRUE(m_pImporter->SkippedSummary().isEmpty());
    const QByteArray again = Export(second);
    EXPECT_EQ(QString::fromUtf8(again), QString::fromUtf8(first));
    QByteArray inked;
    for (int32_t nOid : second.FindTasks("")) {
        std::unique_ptr<ITask> p;
        second.App().GetItemFromOid(nOid, &p);
        QString s;
        p->get_Subject(&s);
        if (s == "inked")
            p->get_BodyInk(&inked);
    }
    EXPECT_EQ(inked, notes.ToBytes());
}

TEST_F(ICal, UnreadableFilesAddNothing)
{
    ASSERT_GT(m_store.AddTask("already there", kNoDate, kNoDate), 0);
    QByteArray truncated = Fixture();
    truncated.chop(QByteArray("END:VCALENDAR\r\n").size());
    const QByteArray bad[] = {QByteArray("hello world\n"), truncated, QByteArray(),
                              QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"),
                              QByteArray("BEGIN:VEVENT\r\nEND:VEVENT\r\n")};
    for (const QByteArray& b : bad) {
        QString strError;
        EXPECT_FALSE(Import(m_store, b, &strError)) << b.left(40).constData();
        EXPECT_FALSE(strError.isEmpty());
        EXPECT_EQ(m_store.FindTasks("").size(), 1);
        EXPECT_TRUE(m_store.FindAppts("").isEmpty());
    }
}

// Damaged calendars are either read (what can be) or refused whole; nothing crashes, and
// a refused file leaves the store as it was.
TEST_F(ICal, DamagedCalendarsAreReadOrRefusedWhole)
{
    const QByteArray good = Fixture();
    std::mt19937 rng(3);
    const QByteArray junk = ":;=,\\\r\n \"Z0123456789TVALUE=DATEBEGIN:END:";
    for (int i = 0; i < 200; ++i) {
        QByteArray text = good;
        for (int k = 0; k < 1 + int(rng() % 6); ++k) {
            const int nPos = int(rng() % text.size());
            if (rng() % 2)
                text.remove(nPos, 1 + int(rng() % 8));
            else
                text.insert(nPos, junk.at(int(rng() % junk.size())));
        }
        CTestStore store;
        QString strError;
        if (!Import(store, text, &strError)) {
            EXPECT_FALSE(strError.isEmpty());
            EXPECT_TRUE(store.FindTasks("").isEmpty());
            EXPECT_TRUE(store.FindAppts("").isEmpty());
        }
    }
}

TEST_F(ICal, CommandLineImportAndExport)
{
    const QString strBin = qEnvironmentVariable("QUILLDAY_BIN");
    if (strBin.isEmpty() || !QFileInfo::exists(strBin))
        GTEST_SKIP() << "the quillday program is not built";
    QTemporaryDir dir;
    const QString strStore = dir.filePath("cli.sqlite");
    auto run = [&](const QStringList& args, QByteArray* pOut, QByteArray* pErr) {
        QProcess p;
        p.start(strBin, QStringList{"--store", strStore} + args);
        p.waitForFinished(60000);
        *pOut = p.readAllStandardOutput();
        *pErr = p.readAllStandardError();
        return p.exitCode();
    };
    QByteArray out, err;
    // Something was skipped: exit status 1, with everything else imported.
    EXPECT_EQ(run({"--import", FixturePath()}, &out, &err), 1) << err.constData();
    EXPECT_TRUE(out.contains("Added 7 appointments and 8 tasks")) << out.constData();
    EXPECT_TRUE(out.contains("15 added, 0 updated, 0 unchanged, 2 skipped.")) << out.constData();
    EXPECT_TRUE(out.contains("Skipped hourly@test: recurrence rule the store cannot hold exactly")) << out.constData();
    // The same file again changes nothing.
    EXPECT_EQ(run({"--import", FixturePath()}, &out, &err), 1) << err.constData();
    EXPECT_TRUE(out.contains("0 added, 0 updated, 15 unchanged, 2 skipped.")) << out.constData();
    const QString strBad = dir.filePath("bad.ics");
    QFile f(strBad);
    f.open(QIODevice::WriteOnly);
    f.write("not a calendar\n");
    f.close();
    EXPECT_EQ(run({"--import", strBad}, &out, &err), 1);
    EXPECT_TRUE(err.contains("nothing imported")) << err.constData();
    EXPECT_EQ(run({"--export", dir.filePath("out.ics")}, &out, &err), 0) << err.constData();
    EXPECT_TRUE(out.contains("Exported 7 appointments, 8 tasks and ")) << out.constData();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("out.ics")));
}

namespace {

QByteArray OneEvent(const char* pszExtra, const char* pszSummary = "Meeting")
{
    return QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:one@test\r\nDTSTAMP:20240101T000000Z\r\n"
                      "DTSTART:20080107T090000\r\nDTEND:20080107T100000\r\nSUMMARY:")
         + pszSummary + "\r\n" + pszExtra + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The store's indexes by name, and the rows of its span trees.
QString IndexesAndSpans(const QString& strPath)
{
    return StoreSqlValue(strPath, "SELECT (SELECT group_concat(name) FROM (SELECT name FROM sqlite_master"
                                  " WHERE type='index' ORDER BY name)) || ' ' || (SELECT count(*) FROM appt_span)"
                                  " || ' ' || (SELECT count(*) FROM series_span)");
}

}  // namespace

// Into an empty store the import writes in bulk and makes the indexes afterwards: it
// stores what an import beside other items does, UIDs given twice included, and leaves
// the same indexes.
TEST_F(ICal, AnImportIntoAnEmptyStoreStoresWhatAnyImportDoes)
{
    QByteArray text = Fixture();
    const QByteArray twice = "BEGIN:VEVENT\r\nUID:twice@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20080108T090000\r\n"
                             "DTEND:20080108T100000\r\nSUMMARY:Given twice\r\nEND:VEVENT\r\n";
    QByteArray alsoTwice = twice;
    alsoTwice.replace("UID:twice@test", "UID:twice@test#2");
    text.insert(text.lastIndexOf("END:VCALENDAR"), twice + twice + alsoTwice);
    CTestStore empty, beside;
    const QString strNewStore = IndexesAndSpans(empty.Path());
    ASSERT_GT(beside.AddTask("already there", kNoDate, kNoDate), 0);
    QString strError;
    CICalImporter* p = nullptr;
    ASSERT_TRUE(Import(beside, text, &strError, &p)) << qPrintable(strError);
    const QStringList besideLeftOut = p->LeftOut();
    ASSERT_TRUE(Import(empty, text, &strError, &p)) << qPrintable(strError);
    EXPECT_EQ(p->LeftOut(), besideLeftOut);
    EXPECT_TRUE(p->LeftOut().contains("Kept twice@test as twice@test#2: an earlier item of the file has that UID"));
    EXPECT_TRUE(p->LeftOut().contains("Kept twice@test#2 as twice@test#2#2: an earlier item of the file has that UID"));

    QMap<QString, TaskFacts> besideTasks = Tasks(beside);
    besideTasks.remove("already there");
    EXPECT_EQ(Tasks(empty).keys(), besideTasks.keys());
    const auto emptyAppts = Appointments(empty), besideAppts = Appointments(beside);
    ASSERT_EQ(emptyAppts.keys(), besideAppts.keys());
    for (auto a = emptyAppts.cbegin(), b = besideAppts.cbegin(); a != emptyAppts.cend(); ++a, ++b)
        EXPECT_EQ(a->dtStart, b->dtStart) << qPrintable(a.key());
    EXPECT_EQ(emptyAppts.count("Given twice"), 3);
    EXPECT_EQ(IndexesAndSpans(empty.Path()).section(' ', 0, 0), strNewStore.section(' ', 0, 0));
    EXPECT_EQ(IndexesAndSpans(empty.Path()), IndexesAndSpans(beside.Path()));
}

TEST_F(ICal, AnItemIsFoundByItsUidAndUpdatedInPlaceOnlyByANewerVersion)
{
    QString strError;
    CICalImporter* p = nullptr;
    ASSERT_TRUE(Import(m_store, OneEvent(""), &strError, &p));
    const int32_t nOid = Appointments(m_store).value("Meeting").nOid;
    ASSERT_GT(nOid, 0);
    struct Step {
        const char* pszExtra;
        const char* pszSummary;
        int nAdded, nUpdated, nUnchanged;
        const char* pszSkipped;  // the start of the skipped line, or null
        const char* pszShown;    // the subject the store holds afterwards
    };
    const Step steps[] = {
        {"", "Meeting", 0, 0, 1, nullptr, "Meeting"},
        {"", "Renamed at the same version", 0, 1, 0, nullptr, "Renamed at the same version"},
        {"SEQUENCE:2\r\n", "Moved on", 0, 1, 0, nullptr, "Moved on"},
        {"SEQUENCE:1\r\n", "An older copy", 0, 0, 0, "one@test: the store holds a newer version (SEQUENCE 2", "Moved on"},
        {"SEQUENCE:2\r\nLAST-MODIFIED:20240301T000000Z\r\n", "Edited later", 0, 1, 0, nullptr, "Edited later"},
        {"SEQUENCE:2\r\n", "Stamped earlier", 0, 0, 0, "one@test: the store holds a newer version", "Edited later"},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(Import(m_store, OneEvent(s.pszExtra, s.pszSummary), &strError, &p));
        EXPECT_EQ(p->Added(), s.nAdded) << s.pszSummary;
        EXPECT_EQ(p->Updated(), s.nUpdated) << s.pszSummary;
        EXPECT_EQ(p->Unchanged(), s.nUnchanged) << s.pszSummary;
        EXPECT_EQ(p->Skipped(), s.pszSkipped ? 1 : 0) << s.pszSummary;
        if (s.pszSkipped) {
            EXPECT_TRUE(p->SkippedSummary().value(0).startsWith(s.pszSkipped)) << qPrintable(p->SkippedSummary().value(0));
        }
        const auto appts = Appointments(m_store);
        ASSERT_EQ(appts.size(), 1) << s.pszSummary;
        EXPECT_EQ(appts.firstKey(), s.pszShown);
        EXPECT_EQ(appts.first().nOid, nOid);
    }
}

TEST_F(ICal, NotesEditedElsewhereWinOverTheInkCopy)
{
    CNotesData notes;
    notes.m_strText = "typed here";
    CInkStroke stroke;
    stroke.points = {QPoint(1, 2), QPoint(3, 4)};
    notes.m_strokes = {stroke};
    const QByteArray ink = "X-QUILLDAY-INK:" + notes.ToBytes().toBase64() + "\r\n";
    QString strError;
    CICalImporter* p = nullptr;
    // The DESCRIPTION still says what the ink copy says: the strokes come back.
    ASSERT_TRUE(Import(m_store, OneEvent(("DESCRIPTION:typed here\r\n" + ink).constData()), &strError, &p));
    EXPECT_TRUE(p->DroppedSummary().isEmpty());
    std::unique_ptr<IAppointment> pAppt;
    ASSERT_EQ(m_store.App().GetItemFromOid(Appointments(m_store).value("Meeting").nOid, &pAppt), S_OK);
    QByteArray bytes;
    pAppt->get_BodyInk(&bytes);
    EXPECT_EQ(bytes, notes.ToBytes());
    // Edited elsewhere meanwhile: the new text, and the loss of the strokes is said.
    ASSERT_TRUE(Import(m_store, OneEvent(("SEQUENCE:1\r\nDESCRIPTION:changed elsewhere\r\n" + ink).constData()), &strError, &p));
    EXPECT_EQ(p->Updated(), 1);
    EXPECT_EQ(p->DroppedSummary(), QStringList{"pen strokes of notes whose text was changed elsewhere: 1"});
    EXPECT_EQ(Appointments(m_store).value("Meeting").strBody, "changed elsewhere");
}

// A newer version of a series brings its whole set of changed and deleted occurrences:
// those it no longer has are gone.
TEST_F(ICal, AnUpdatedSeriesTakesTheExceptionsOfItsNewVersion)
{
    const QByteArray series = "BEGIN:VEVENT\r\nUID:s@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20080107T090000\r\n"
                              "DTEND:20080107T100000\r\nRRULE:FREQ=DAILY;COUNT=4\r\nSUMMARY:Daily\r\n";
    const QByteArray first = "BEGIN:VCALENDAR\r\n" + series + "EXDATE:20080108T090000\r\nEND:VEVENT\r\n"
                           "BEGIN:VEVENT\r\nUID:s@test\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID:20080109T090000\r\n"
                           "DTSTART:20080109T150000\r\nDTEND:20080109T160000\r\nSUMMARY:Later\r\nEND:VEVENT\r\n"
                           "END:VCALENDAR\r\n";
    QString strError;
    CICalImporter* p = nullptr;
    ASSERT_TRUE(Import(m_store, first, &strError, &p));
    auto starts = [&] {
        QVector<DATE> out;
        for (const ApptFacts& f : Appointments(m_store))
            out << f.dtStart;
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(starts(), (QVector<DATE>{Dt(2008, 1, 7, 9), Dt(2008, 1, 9, 15), Dt(2008, 1, 10, 9)}));
    ASSERT_TRUE(Import(m_store, first, &strError, &p));
    EXPECT_EQ(p->Unchanged(), 1);
    const QByteArray second = "BEGIN:VCALENDAR\r\n" + series + "SEQUENCE:1\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    ASSERT_TRUE(Import(m_store, second, &strError, &p));
    EXPECT_EQ(p->Updated(), 1);
    EXPECT_EQ(starts(), (QVector<DATE>{Dt(2008, 1, 7, 9), Dt(2008, 1, 8, 9), Dt(2008, 1, 9, 9), Dt(2008, 1, 10, 9)}));
}

TEST_F(ICal, TaskWithoutDueExportsWithoutDue)
{
    ASSERT_GT(m_store.AddTask("Start only", Dt(2015, 6, 3), kNoDate), 0);
    const QByteArray bytes = Export(m_store);
    EXPECT_TRUE(bytes.contains("DTSTART;VALUE=DATE:20150603\r\n")) << bytes.constData();
    EXPECT_FALSE(bytes.contains("DUE")) << bytes.constData();
}

TEST_F(ICal, MalformedComponentLinesAreRefusedNotCrashed)
{
    // libical 3.0.16 frees part of such a component twice.
    for (const QByteArray& text : {QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\nBEGIN;\r\n"
                                              "END:VEVENT\r\nEND:VCALENDAR\r\n"),
                                   QByteArray("BEGIN:VCALENDAR\r\nBEGIN;\r\nEND:VCALENDAR\r\n")}) {
        QString strError;
        EXPECT_FALSE(Import(m_store, text, &strError));
        EXPECT_TRUE(strError.contains(QLatin1String("BEGIN or END line"))) << strError.toStdString();
    }
    EXPECT_EQ(m_store.FindTasks(QString()).size() + m_store.FindAppts(QString()).size(), 0);
}
