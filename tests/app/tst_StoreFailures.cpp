// A store that cannot be read, or must not be touched: what the window and the
// command-line modes tell the user, and what they leave on disk.
#include "WeekFixture.h"
#include "platform/CScriptedMessageBox.h"
#include "tests/support/CSmallDisk.h"
#include <QProcess>
#include <QtTest>
#include <sqlite3.h>

namespace {

// Overwrites the first page of the table's b-tree with bytes SQLite cannot read, as a
// damaged disk block would. The store must be closed.
bool DamageTable(const QString& strStore, const char* pszTable)
{
    sqlite3* pDb = nullptr;
    int nRoot = 0, nPageSize = 0;
    if (sqlite3_open_v2(QFile::encodeName(strStore).constData(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* pStmt = nullptr;
        const QByteArray sql = QByteArray("SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_master "
                                          "WHERE name='") + pszTable + "'";
        if (sqlite3_prepare_v2(pDb, sql.constData(), -1, &pStmt, nullptr) == SQLITE_OK && sqlite3_step(pStmt) == SQLITE_ROW) {
            nRoot = sqlite3_column_int(pStmt, 0);
            nPageSize = sqlite3_column_int(pStmt, 1);
        }
        sqlite3_finalize(pStmt);
    }
    sqlite3_close(pDb);
    QFile file(strStore);
    if (nRoot < 2 || nPageSize <= 0 || !file.open(QIODevice::ReadWrite) || !file.seek(qint64(nRoot - 1) * nPageSize))
        return false;
    return file.write(QByteArray(nPageSize, '\xA5')) == nPageSize;
}

}  // namespace

class TestStoreFailures : public QObject {
    Q_OBJECT
private slots:
    void damagedStoreGivesOneBoxAndTheWeekAsFarAsRead();
    void damagedStoreFailsTheCommandLineModes();
    void readOnlyStoreServesTheWeekAndTheExportAndSaysSo();
};

// Set up: one appointment in the week of 2015-03-02, then its table damaged.
static void MakeDamagedStore(CWeekFixture& fx)
{
    fx.AddAppt("Dentist", CWeekFixture::Date(2015, 3, 3, 9), CWeekFixture::Date(2015, 3, 3, 10));
    fx.AddTask({QStringLiteral("Taxes"), 1, CWeekFixture::Date(2015, 3, 2), CWeekFixture::Date(2015, 3, 5)});
    fx.Start(2015, 3, 2);  // closes the fixture's own connection first
}

void TestStoreFailures::damagedStoreGivesOneBoxAndTheWeekAsFarAsRead()
{
    CWeekFixture fx;
    {
        MakeDamagedStore(fx);
    }
    QVERIFY(DamageTable(fx.Path("pim.sqlite"), "items"));
    CScriptedMessageBox boxes;
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    pPane->Reload();  // a second failure before the box is up adds no box
    QCoreApplication::processEvents();
    QCOMPARE(boxes.Calls().size(), 1);
    const QString strText = boxes.Calls().at(0).strText;
    QVERIFY2(strText.contains(fx.Path("pim.sqlite")), qPrintable(strText));
    QVERIFY2(strText.contains("database disk image is malformed"), qPrintable(strText));
    QCOMPARE(boxes.Calls().at(0).strCaption, QString("Quillday"));
    QVERIFY(pFrame->GetLoadFailure().contains("malformed"));
    // Nothing was read, so no day claims to be empty.
    for (int nDay = 0; nDay < 7; ++nDay)
        QCOMPARE(CWeekFixture::DayRows(pFrame.get(), nDay), QStringList());
}

void TestStoreFailures::damagedStoreFailsTheCommandLineModes()
{
    const QString bin = qEnvironmentVariable("QUILLDAY_BIN");
    if (bin.isEmpty())
        QSKIP("QUILLDAY_BIN is not set");
    CWeekFixture fx;
    {
        MakeDamagedStore(fx);
    }
    QVERIFY(DamageTable(fx.Path("pim.sqlite"), "items"));
    const QStringList common = {"--home", fx.Path(""), "--store", fx.Path("pim.sqlite"), "--registry", fx.Path("registry.reg")};
    const QStringList modes[] = {{"--print-week", "2015-03-02"},
                                 {"--screenshot", fx.Path("week.png"), "--date", "2015-03-02"},
                                 {"--export", fx.Path("out.ics")}};
    for (const QStringList& mode : modes) {
        QProcess process;
        process.start(bin, mode + common);
        QVERIFY(process.waitForFinished(30000));
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardOutput().isEmpty());
        QVERIFY2(err.contains(fx.Path("pim.sqlite").toLocal8Bit() + ": database disk image is malformed"), err.constData());
    }
    QVERIFY(!QFile::exists(fx.Path("week.png")));
    QVERIFY(!QFile::exists(fx.Path("out.ics")));
}

// The pixels of the window in the read-only notice's dark red.
static int DarkRedPixels(CMainFrame* pFrame)
{
    const QImage image = pFrame->GetView()->grab().toImage();
    int nPixels = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            nPixels += c.red() > 0x80 && c.green() < 0x40 && c.blue() < 0x40;
        }
    }
    return nPixels;
}

// A store on a file system mounted read-only: the window shows its week and says in the
// status line that it cannot save; --print-week and --export work and say so on standard
// error; --import is refused with the reason.
void TestStoreFailures::readOnlyStoreServesTheWeekAndTheExportAndSaysSo()
{
    CSmallDisk disk(2048);
    if (!disk.IsMounted())
        QSKIP("no file system of its own can be mounted here");
    CWeekFixture fx;
    fx.AddAppt("Dentist", CWeekFixture::Date(2015, 3, 3, 9), CWeekFixture::Date(2015, 3, 3, 10));
    {
        // Closes the fixture's own connection, which folds the log into the file.
        auto pWritable = fx.Start(2015, 3, 2);
        QVERIFY(pWritable);
        QCOMPARE(DarkRedPixels(pWritable.get()), 0);
    }
    const QString strStore = disk.FilePath(QStringLiteral("pim.sqlite"));
    QVERIFY(QFile::copy(fx.Path("pim.sqlite"), strStore));
    QVERIFY(disk.SetReadOnly(true));
    SetStorePath(strStore);
    {
        CScriptedMessageBox boxes;
        auto pFrame = fx.Start(2015, 3, 2);
        QVERIFY(pFrame);
        QCOMPARE(boxes.Calls().size(), 0);
        QCOMPARE(pFrame->GetReadOnlyNotice(), QString("Read only: on a read-only file system"));
        QVERIFY(CWeekFixture::DayRows(pFrame.get(), 1).join(u'|').contains("Dentist"));
        const int nNoticePixels = DarkRedPixels(pFrame.get());
        QVERIFY2(nNoticePixels > 20, qPrintable(QString::number(nNoticePixels)));
    }

    const QString bin = qEnvironmentVariable("QUILLDAY_BIN");
    if (bin.isEmpty())
        QSKIP("QUILLDAY_BIN is not set");
    const QStringList common = {"--home", fx.Path(""), "--store", strStore, "--registry", fx.Path("registry.reg")};
    struct Mode {
        QStringList args;
        int nExit;
        const char* pszOut;
        QString strErr;
    } const modes[] = {
        {{"--print-week", "2015-03-02"}, 0, "Dentist",
         QString("quillday: the store %1 is open for reading only: on a read-only file system\n").arg(strStore)},
        {{"--export", fx.Path("out.ics")}, 0, "Exported 1 appointments",
         QString("quillday: the store %1 is open for reading only: on a read-only file system\n").arg(strStore)},
        {{"--import", fx.Path("out.ics")}, 1, "",
         QString("quillday: cannot write the store %1: on a read-only file system\n").arg(strStore)},
    };
    for (const Mode& mode : modes) {
        QProcess process;
        process.start(bin, mode.args + common);
        QVERIFY(process.waitForFinished(30000));
        const QString strErr = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(strErr.contains(mode.strErr), qPrintable(strErr));
        QCOMPARE(process.exitCode(), mode.nExit);
        QVERIFY(process.readAllStandardOutput().contains(mode.pszOut));
    }
    QFile exported(fx.Path("out.ics"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QVERIFY(exported.readAll().contains("SUMMARY:Dentist"));
}

QTEST_MAIN(TestStoreFailures)
#include "tst_StoreFailures.moc"
