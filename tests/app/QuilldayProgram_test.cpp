// The quillday program as a user runs it: help, version, refused command lines and paths.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct RunResult {
    int nExitCode = -1;
    QString strOut;
    QString strErr;
};

RunResult RunQuilldayProgram(const QStringList& args, const QByteArray& input = QByteArray(),
                             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("QUILLDAY_BIN"), args);
    if (process.waitForStarted()) {
        process.write(input);
        process.closeWriteChannel();
    }
    RunResult result;
    if (!process.waitForStarted() || !process.waitForFinished(30000))
        return result;
    result.nExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.strOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.strErr = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

class QuilldayProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariable("QUILLDAY_BIN").isEmpty())
            GTEST_SKIP() << "QUILLDAY_BIN is not set";
    }
};

TEST_F(QuilldayProgram, HelpListsTheOptionsAndSucceeds)
{
    const RunResult result = RunQuilldayProgram({"--help", "--language", "en"});
    EXPECT_EQ(result.nExitCode, 0);
    EXPECT_TRUE(result.strOut.contains(QLatin1String("--print-week")));
    EXPECT_TRUE(result.strOut.contains(QLatin1String("--registry FILE")));
    EXPECT_TRUE(result.strErr.isEmpty());
}

TEST_F(QuilldayProgram, HelpFollowsTheLanguageOfTheLocaleOrTheOption)
{
    struct Case {
        const char* pszLcAll;
        QStringList extra;
        const char* pszExpected;
    } const cases[] = {
        {"ko_KR.UTF-8", {}, "사용법: quillday"},
        {"en_US.UTF-8", {}, "Usage: quillday"},
        {"de_DE.UTF-8", {}, "Usage: quillday"},  // no German texts: English
        {"en_US.UTF-8", {"--language", "ko"}, "사용법: quillday"},
    };
    for (const Case& c : cases) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", c.pszLcAll);
        const RunResult result = RunQuilldayProgram(QStringList{"--help"} + c.extra, QByteArray(), env);
        EXPECT_EQ(result.nExitCode, 0) << c.pszLcAll;
        EXPECT_TRUE(result.strOut.startsWith(QString::fromUtf8(c.pszExpected))) << c.pszLcAll;
    }
}

TEST_F(QuilldayProgram, VersionPrintsTheProductNameAndVersionOfItsBlock)
{
    // No data files, store or registry are needed: --home names no folder at all.
    const RunResult result = RunQuilldayProgram({"--version", "--home", "/nonexistent"});
    EXPECT_EQ(result.nExitCode, 0);
    EXPECT_EQ(result.strOut, QStringLiteral("Quillday 1.0.0.1\n"));
    EXPECT_TRUE(result.strErr.isEmpty()) << result.strErr.toStdString();
}

TEST_F(QuilldayProgram, BadCommandLinesExitWithStatus2AndAMessage)
{
    const QStringList cases[] = {{"--bogus"}, {"--print-week", "2007-02-30"}, {"--json"}, {"--scale", "x"}};
    for (const QStringList& args : cases) {
        const RunResult result = RunQuilldayProgram(args);
        EXPECT_EQ(result.nExitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(result.strErr.startsWith(QLatin1String("quillday: "))) << result.strErr.toStdString();
        EXPECT_TRUE(result.strErr.contains(QLatin1String("--help"))) << result.strErr.toStdString();
        EXPECT_TRUE(result.strOut.isEmpty());
    }
}

TEST_F(QuilldayProgram, HomeMustBeAFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const RunResult result = RunQuilldayProgram({"--home", dir.filePath(QStringLiteral("missing")), "--lunar-to-solar", "2007-01-01"});
    EXPECT_EQ(result.nExitCode, 2);
    EXPECT_TRUE(result.strErr.contains(QLatin1String("is not a folder"))) << result.strErr.toStdString();
}

TEST_F(QuilldayProgram, MalformedLunarLineIsQuotedOnlyInPart)
{
    const QByteArray line(100000, 'x');
    const RunResult result = RunQuilldayProgram({"--lunar-to-solar", "-"}, line + "\n2007-01-01\n");
    EXPECT_EQ(result.nExitCode, 1);
    EXPECT_EQ(result.strOut, QStringLiteral("INVALID\n2007-02-18 Sun\n"));
    EXPECT_LT(result.strErr.size(), 200) << result.strErr.left(300).toStdString();
    EXPECT_TRUE(result.strErr.contains(QLatin1String("xxxxxxxxxx... (100000 characters)"))) << result.strErr.left(300).toStdString();
}

// HOME unset: the store and the registry would land in the root folder.
TEST_F(QuilldayProgram, WithoutHomeTheFilesMustBeNamed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "QUILLDAY_REGISTRY"})
        env.remove(QLatin1String(name));
    const QString store = dir.filePath(QStringLiteral("pim.sqlite"));
    const QString registry = dir.filePath(QStringLiteral("registry.reg"));
    // The store that --print-week reads (a mode that only reads makes none).
    const QString ics = dir.filePath(QStringLiteral("empty.ics"));
    QFile file(ics);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n");
    file.close();
    ASSERT_EQ(RunQuilldayProgram({"--import", ics, "--store", store}, QByteArray(), env).nExitCode, 0);
    struct Case {
        QStringList args;
        const char* pszNeeded;  // null: the run goes ahead
    } const cases[] = {
        {{"--export", dir.filePath(QStringLiteral("out.ics"))}, "give --store FILE"},
        {{"--print-week", "2007-02-18", "--store", store}, "give --registry FILE"},
        {{"--print-week", "2007-02-18", "--registry", registry}, "give --store FILE"},
        {{"--print-week", "2007-02-18", "--store", store, "--registry", registry}, nullptr},
        {{"--lunar-to-solar", "2007-01-01"}, nullptr},
    };
    for (const Case& c : cases) {
        const RunResult result = RunQuilldayProgram(c.args, QByteArray(), env);
        const std::string where = c.args.join(QLatin1Char(' ')).toStdString();
        if (c.pszNeeded == nullptr) {
            EXPECT_EQ(result.nExitCode, 0) << where << result.strErr.toStdString();
            continue;
        }
        EXPECT_EQ(result.nExitCode, 2) << where;
        EXPECT_TRUE(result.strErr.contains(QLatin1String("HOME is not set"))) << where << result.strErr.toStdString();
        EXPECT_TRUE(result.strErr.contains(QLatin1String(c.pszNeeded))) << where << result.strErr.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/.local/share/quillday")));
}

// A mode that only reads must not make up a store or a registry in a mistyped folder.
TEST_F(QuilldayProgram, ReadingModesRefuseFilesInMissingFolders)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("typo/sub"));
    const QString store = dir.filePath(QStringLiteral("pim.sqlite"));
    const QString registry = dir.filePath(QStringLiteral("registry.reg"));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    const QStringList cases[] = {
        {"--print-week", "2007-02-18", "--store", missing + "/pim.sqlite", "--registry", registry},
        {"--print-week", "2007-02-18", "--store", store, "--registry", missing + "/registry.reg"},
        {"--screenshot", png, "--store", missing + "/pim.sqlite", "--registry", registry},
        {"--export", dir.filePath(QStringLiteral("out.ics")), "--store", missing + "/pim.sqlite"},
    };
    for (const QStringList& args : cases) {
        const RunResult result = RunQuilldayProgram(args);
        const std::string where = args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.nExitCode, 2) << where;
        EXPECT_TRUE(result.strErr.contains(QLatin1String("does not exist"))) << where << result.strErr.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("typo"))));
    // Writing modes still create what they write into.
    const QString ics = dir.filePath(QStringLiteral("in.ics"));
    QFile file(ics);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nEND:VCALENDAR\r\n");
    file.close();
    const RunResult imported = RunQuilldayProgram({"--import", ics, "--store", missing + "/pim.sqlite"});
    EXPECT_EQ(imported.nExitCode, 0) << imported.strErr.toStdString();
    EXPECT_TRUE(QFileInfo::exists(missing + "/pim.sqlite"));
}

QString WriteFile(const QTemporaryDir& dir, const char* pszName, const QByteArray& bytes)
{
    const QString strPath = dir.filePath(QLatin1String(pszName));
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return strPath;
}

const QByteArray kOneEvent = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:a@x\r\nDTSTAMP:20070101T000000Z\r\n"
                             "DTSTART:20070219T100000\r\nDTEND:20070219T110000\r\nSUMMARY:Kept\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n";

TEST_F(QuilldayProgram, ExportRefusesToWriteOverTheStore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString store = dir.filePath(QStringLiteral("pim.sqlite"));
    const QString ics = WriteFile(dir, "in.ics", kOneEvent);
    ASSERT_EQ(RunQuilldayProgram({"--import", ics, "--store", store}).nExitCode, 0);
    ASSERT_TRUE(QFile::link(store, dir.filePath(QStringLiteral("link.sqlite"))));
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath(QStringLiteral("folder-link"))));
    ASSERT_EQ(::link(QFile::encodeName(store).constData(), QFile::encodeName(dir.filePath(QStringLiteral("hard.sqlite"))).constData()), 0);
    const QString targets[] = {store, store + "-wal", store + "-shm", dir.filePath(QStringLiteral("link.sqlite")),
                               dir.filePath(QStringLiteral("folder-link/pim.sqlite")),
                               dir.filePath(QStringLiteral("./pim.sqlite-wal")), dir.filePath(QStringLiteral("hard.sqlite"))};
    for (const QString& target : targets) {
        const RunResult result = RunQuilldayProgram({"--export", target, "--store", store});
        EXPECT_EQ(result.nExitCode, 1) << target.toStdString();
        EXPECT_TRUE(result.strErr.contains(QLatin1String("that is the store itself"))) << result.strErr.toStdString();
    }
    const RunResult week = RunQuilldayProgram({"--print-week", "2007-02-19", "--store", store, "--registry",
                                               dir.filePath(QStringLiteral("registry.reg"))});
    EXPECT_EQ(week.nExitCode, 0) << week.strErr.toStdString();
    EXPECT_TRUE(week.strOut.contains(QLatin1String("Kept"))) << week.strOut.toStdString();
}

QByteArray ReadBytes(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The modes that only read make neither a store nor a settings file: without a store they
// name the missing file and end with status 1; with one they leave the settings unwritten.
TEST_F(QuilldayProgram, ReadingModesCreateNoStoreAndNoSettings)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString store = dir.filePath(QStringLiteral("pim.sqlite"));
    const QString registry = dir.filePath(QStringLiteral("registry.reg"));
    const QString png = dir.filePath(QStringLiteral("out.png"));
    const QStringList files{"--store", store, "--registry", registry};
    const QStringList cases[] = {
        QStringList{"--print-week", "2007-02-19"} + files,
        QStringList{"--print-week", "--json"} + files,
        QStringList{"--screenshot", png, "--date", "2007-02-19"} + files,
        QStringList{"--export", dir.filePath(QStringLiteral("out.ics")), "--store", store},
    };
    for (const QStringList& args : cases) {
        const RunResult result = RunQuilldayProgram(args);
        const std::string where = args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.nExitCode, 1) << where;
        EXPECT_TRUE(result.strErr.contains(QStringLiteral("the store %1 does not exist").arg(store)))
            << where << result.strErr.toStdString();
        EXPECT_TRUE(result.strOut.isEmpty()) << where;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList()) << where;
    }
    const QString ics = WriteFile(dir, "in.ics", kOneEvent);
    ASSERT_EQ(RunQuilldayProgram({"--import", ics, "--store", store}).nExitCode, 0);
    const RunResult week = RunQuilldayProgram(cases[0]);
    EXPECT_EQ(week.nExitCode, 0) << week.strErr.toStdString();
    EXPECT_TRUE(week.strOut.contains(QLatin1String("Kept"))) << week.strOut.toStdString();
    const RunResult shot = RunQuilldayProgram(cases[2]);
    EXPECT_EQ(shot.nExitCode, 0) << shot.strErr.toStdString();
    EXPECT_TRUE(QFileInfo::exists(png));
    EXPECT_FALSE(QFileInfo::exists(registry));
}

// --registry and --store swapped: the store must come through unchanged.
TEST_F(QuilldayProgram, RegistryThatIsNoRegistryFileIsLeftAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString store = dir.filePath(QStringLiteral("pim.sqlite"));
    const QString other = dir.filePath(QStringLiteral("other.sqlite"));
    const QString ics = WriteFile(dir, "in.ics", kOneEvent);
    ASSERT_EQ(RunQuilldayProgram({"--import", ics, "--store", store}).nExitCode, 0);
    ASSERT_EQ(RunQuilldayProgram({"--import", ics, "--store", other}).nExitCode, 0);
    const QByteArray before = ReadBytes(store);
    ASSERT_FALSE(before.isEmpty());
    for (int nRun = 0; nRun < 2; ++nRun) {
        const RunResult result = RunQuilldayProgram({"--print-week", "2007-02-19", "--store", other, "--registry", store});
        EXPECT_EQ(result.nExitCode, 0) << result.strErr.toStdString();
        EXPECT_TRUE(result.strErr.contains(store + QStringLiteral(" is not a settings file"))) << result.strErr.toStdString();
    }
    EXPECT_EQ(ReadBytes(store), before);
    EXPECT_FALSE(QFileInfo::exists(store + QStringLiteral(".bak")));
}

}  // namespace
