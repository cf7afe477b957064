// Change notifications: queued after the commit (never inside the call that saved), with
// their codes, and commits made by another process on the same file.
#include "tests/support/PimTestStore.h"
#include "pim/CPimStore.h"
#include "pim/CPimDatabases.h"
#include "pim/CPimNotifier.h"
#include "pim/IRecurrencePattern.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>
#include <cstring>
#include <sqlite3.h>

namespace {

const char kChildOption[] = "--commit-from-another-process";

// Run as a second process: one commit on the store file, through a connection of its own.
int CommitFromAnotherProcess(const char* pszPath)
{
    sqlite3* pDb = nullptr;
    int rc = sqlite3_open(pszPath, &pDb);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(pDb, 5000);
        rc = sqlite3_exec(pDb, "UPDATE items SET subject='changed elsewhere'", nullptr, nullptr, nullptr);
    }
    sqlite3_close(pDb);
    return rc == SQLITE_OK ? 0 : 1;
}

struct Note {
    DWORD nType;
    int32_t nOid;
    int nItemType;
    bool operator==(const Note&) const = default;
};

}  // namespace

class tst_PimNotifications : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aSaveIsReportedAfterItReturns();
    void changesAndDeletesHaveTheirCodes();
    void occurrenceChangesReportTheSeries();
    void aBulkWriteIsReportedOnce();
    void aClosedReceiverHearsNothing();
    void commitsOfAnotherProcessAreNoticed();

private:
    std::unique_ptr<CTestStore> m_pStore;
    std::unique_ptr<QObject> m_pReceiver;
    std::unique_ptr<CPimDatabases> m_pDbs;
    QVector<Note> m_notes;
};

void tst_PimNotifications::init()
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    m_notes.clear();
    m_pStore = std::make_unique<CTestStore>();
    QVERIFY(m_pStore->IsOpen());
    m_pReceiver = std::make_unique<QObject>();
    m_pDbs = std::make_unique<CPimDatabases>();
    QVERIFY(m_pDbs->OpenPimDatabases(&m_pStore->App(), m_pReceiver.get(),
                                     [this](DWORD t, int32_t o, int k) { m_notes.push_back({t, o, k}); }));
}

void tst_PimNotifications::cleanup()
{
    m_pDbs.reset();
    m_pReceiver.reset();
    m_pStore.reset();
}

void tst_PimNotifications::aSaveIsReportedAfterItReturns()
{
    const int32_t nOid = m_pStore->AddTask("new", kNoDate, kNoDate);
    QVERIFY(nOid > 0);
    QVERIFY(m_notes.isEmpty());  // nothing inside the call that saved
    QTRY_COMPARE(m_notes.size(), 1);
    QCOMPARE(m_notes[0], (Note{DB_CEOID_CREATED, nOid, olTaskItem}));
    // Our own commit is not reported a second time as another process's change.
    QTest::qWait(1200);
    QCOMPARE(m_notes.size(), 1);
}

void tst_PimNotifications::changesAndDeletesHaveTheirCodes()
{
    const int32_t nOid = m_pStore->AddAppt("a", Dt(2008, 1, 7, 9), Dt(2008, 1, 7, 10));
    std::unique_ptr<IAppointment> p;
    QCOMPARE(m_pStore->App().GetItemFromOid(nOid, &p), S_OK);
    p->put_Subject("b");
    QCOMPARE(p->Save(), S_OK);
    QCOMPARE(p->Delete(), S_OK);
    QTRY_COMPARE(m_notes.size(), 3);
    QCOMPARE(m_notes[0], (Note{DB_CEOID_CREATED, nOid, olAppointmentItem}));
    QCOMPARE(m_notes[1], (Note{DB_CEOID_CHANGED, nOid, olAppointmentItem}));
    QCOMPARE(m_notes[2], (Note{DB_CEOID_RECORD_DELETED, nOid, olAppointmentItem}));
}

void tst_PimNotifications::occurrenceChangesReportTheSeries()
{
    std::unique_ptr<IAppointment> p;
    m_pStore->App().CreateItem(olAppointmentItem, &p);
    p->put_Start(Dt(2008, 1, 7, 9));
    p->put_End(Dt(2008, 1, 7, 10));
    std::unique_ptr<IRecurrencePattern> pPattern;
    p->GetRecurrencePattern(&pPattern);
    pPattern->put_RecurrenceType(olRecursDaily);
    QCOMPARE(p->Save(), S_OK);
    int32_t nOid = 0;
    p->get_Oid(&nOid);
    std::unique_ptr<IAppointment> pOcc;
    QCOMPARE(pPattern->GetOccurrence(Dt(2008, 1, 8, 9), &pOcc), S_OK);
    QCOMPARE(pOcc->Delete(), S_OK);
    QTRY_COMPARE(m_notes.size(), 2);
    QCOMPARE(m_notes[1], (Note{DB_CEOID_CHANGED, nOid, olAppointmentItem}));
}

void tst_PimNotifications::aBulkWriteIsReportedOnce()
{
    // An import writes in one transaction with bulk changes on.
    CPimStore& store = *m_pStore->App().GetStore();
    store.SetBulkChanges(true);
    QVERIFY(store.Begin());
    store.RecordChange(DB_CEOID_CREATED, 1, olTaskItem);
    store.RecordChange(DB_CEOID_CREATED, 2, olAppointmentItem);
    QVERIFY(store.Commit());
    store.SetBulkChanges(false);
    QTRY_COMPARE(m_notes.size(), 1);
    QCOMPARE(m_notes[0], (Note{DB_CEOID_CHANGED, 0, 0}));
}

void tst_PimNotifications::aClosedReceiverHearsNothing()
{
    m_pDbs->Close();
    m_pStore->AddTask("unheard", kNoDate, kNoDate);
    QTest::qWait(100);
    QVERIFY(m_notes.isEmpty());
}

void tst_PimNotifications::commitsOfAnotherProcessAreNoticed()
{
    QVERIFY(m_pStore->AddTask("here", kNoDate, kNoDate) > 0);
    QTRY_COMPARE(m_notes.size(), 1);
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildOption), m_pStore->Path()});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitCode(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_notes.size(), 2, 5000);
    QCOMPARE(m_notes[1], (Note{DB_CEOID_CHANGED, 0, 0}));
    QString strSubject;
    std::unique_ptr<ITask> p;
    QCOMPARE(m_pStore->App().GetItemFromOid(m_pStore->FindTasks("")[0], &p), S_OK);
    p->get_Subject(&strSubject);
    QCOMPARE(strSubject, QStringLiteral("changed elsewhere"));
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kChildOption) == 0)
        return CommitFromAnotherProcess(argv[2]);
    QCoreApplication app(argc, argv);
    tst_PimNotifications test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PimNotifications.moc"
