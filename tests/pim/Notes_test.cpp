// The notes bytes format, and the notes flags read by OID.
#include "tests/support/PimTestStore.h"
#include "pim/CNotesData.h"
#include "pim/CPimDatabases.h"

#include <gtest/gtest.h>

namespace {

CNotesData Sample()
{
    CNotesData d;
    d.m_strText = QStringLiteral("call back 안녕");
    CInkStroke s;
    s.nWidth = 2;
    s.crColor = RGB(10, 20, 30);
    s.points = {QPoint(0, 0), QPoint(5, -3), QPoint(100000, 7)};
    d.m_strokes = {s, CInkStroke()};
    return d;
}

}  // namespace

TEST(NotesData, RoundTripsTextAndStrokes)
{
    const CNotesData d = Sample();
    CNotesData back;
    ASSERT_TRUE(back.FromBytes(d.ToBytes()));
    EXPECT_EQ(back, d);
    EXPECT_EQ(CNotesData::TextOf(d.ToBytes()), d.m_strText);
    EXPECT_TRUE(CNotesData().ToBytes().isEmpty());
    ASSERT_TRUE(back.FromBytes(QByteArray()));
    EXPECT_TRUE(back.IsEmpty());
}

TEST(NotesData, DamagedBytesAreRefused)
{
    const QByteArray good = Sample().ToBytes();
    const QByteArray bad[] = {QByteArray("hello"), good.left(good.size() - 1), good.left(10),
                              QByteArray("QNB1\x00\x00", 6) + good.mid(6), QByteArray("XNB1") + good.mid(4)};
    for (const QByteArray& b : bad) {
        CNotesData d = Sample();
        EXPECT_FALSE(d.FromBytes(b));
        EXPECT_TRUE(d.IsEmpty());
    }
    // A huge count that the bytes cannot hold.
    QByteArray huge = QByteArray("QNB1\x01\x00", 6) + QByteArray("\xff\xff\xff\x7f", 4);
    CNotesData d;
    EXPECT_FALSE(d.FromBytes(huge));
}

TEST(NotesData, ALaterVersionWithMoreBytesIsStillRead)
{
    QByteArray bytes = Sample().ToBytes();
    bytes[4] = 2;
    bytes += QByteArray("future");
    CNotesData d;
    ASSERT_TRUE(d.FromBytes(bytes));
    EXPECT_EQ(d.m_strText, Sample().m_strText);
}

class NotesFlags : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        ASSERT_TRUE(m_dbs.OpenPimDatabases(&m_store.App()));
    }
    CTestStore m_store;
    CPimDatabases m_dbs;
};

TEST_F(NotesFlags, NotesAreSeenByOidAlsoForItemsMadeAfterOpening)
{
    std::unique_ptr<IAppointment> pAppt;
    m_store.App().CreateItem(olAppointmentItem, &pAppt);
    pAppt->put_Start(Dt(2008, 1, 1, 9));
    pAppt->put_End(Dt(2008, 1, 1, 10));
    EXPECT_EQ(m_dbs.ApptHasNotes(pAppt.get()), 0);  // not saved yet
    pAppt->put_BodyInk(Sample().ToBytes());
    ASSERT_EQ(pAppt->Save(), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pAppt.get()), 1);
    pAppt->put_Body(QString());  // text gone, strokes stay
    ASSERT_EQ(pAppt->Save(), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pAppt.get()), 1);
    pAppt->put_BodyInk(QByteArray());
    ASSERT_EQ(pAppt->Save(), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pAppt.get()), 0);

    std::unique_ptr<ITask> pTask;
    m_store.App().CreateItem(olTaskItem, &pTask);
    pTask->put_Body(QStringLiteral("buy milk"));
    ASSERT_EQ(pTask->Save(), S_OK);
    EXPECT_EQ(m_dbs.TaskHasNotes(pTask.get()), 1);
    std::unique_ptr<ITask> pFresh;
    int32_t nOid = 0;
    pTask->get_Oid(&nOid);
    ASSERT_EQ(m_store.App().GetItemFromOid(nOid, &pFresh), S_OK);
    QString strBody;
    pFresh->get_Body(&strBody);
    EXPECT_EQ(strBody, "buy milk");
}

TEST_F(NotesFlags, NoNotesWithoutAStoredRecord)
{
    const int32_t nOid = m_store.AddTask("plain", kNoDate, kNoDate);
    std::unique_ptr<ITask> pTask;
    ASSERT_EQ(m_store.App().GetItemFromOid(nOid, &pTask), S_OK);
    EXPECT_EQ(m_dbs.TaskHasNotes(pTask.get()), 0);
    EXPECT_EQ(m_dbs.TaskHasNotes(nullptr), 0);
    ASSERT_EQ(pTask->Delete(), S_OK);
    EXPECT_EQ(m_dbs.TaskHasNotes(pTask.get()), 0);
    CPimDatabases closed;
    EXPECT_EQ(closed.TaskHasNotes(pTask.get()), 0);
    EXPECT_FALSE(closed.IsOpen());
}

TEST_F(NotesFlags, OccurrencesShowTheirSeriesNotes)
{
    std::unique_ptr<IAppointment> p;
    m_store.App().CreateItem(olAppointmentItem, &p);
    p->put_Start(Dt(2008, 1, 7, 9));
    p->put_End(Dt(2008, 1, 7, 10));
    p->put_Body(QStringLiteral("agenda"));
    std::unique_ptr<IRecurrencePattern> pPattern;
    p->GetRecurrencePattern(&pPattern);
    pPattern->put_RecurrenceType(olRecursDaily);
    ASSERT_EQ(p->Save(), S_OK);
    std::unique_ptr<IAppointment> pOcc;
    ASSERT_EQ(pPattern->GetOccurrence(Dt(2008, 1, 9, 9), &pOcc), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pOcc.get()), 1);
    QString strBody;
    pOcc->get_Body(&strBody);
    EXPECT_EQ(strBody, "agenda");
    // A changed occurrence keeps notes of its own.
    pOcc->put_BodyInk(QByteArray());
    ASSERT_EQ(pOcc->Save(), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pOcc.get()), 0);
    std::unique_ptr<IAppointment> pOther;
    ASSERT_EQ(pPattern->GetOccurrence(Dt(2008, 1, 10, 9), &pOther), S_OK);
    EXPECT_EQ(m_dbs.ApptHasNotes(pOther.get()), 1);
}
