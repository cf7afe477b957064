// The quillday program as a user runs it: help, version, refused command lines and paths.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RunResult {
    int nExitCode = -1;
    QString strOut;
    QString strErr;
};

RunResult RunQuilldayProgram(const QStringList& args)
{
    QProcess process;
    process.start(qEnvironmentVariable("QUILLDAY_BIN"), args);
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
    const RunResult result = RunQuilldayProgram({"--help"});
    EXPECT_EQ(result.nExitCode, 0);
    EXPECT_TRUE(result.strOut.contains(QLatin1String("--print-week")));
    EXPECT_TRUE(result.strOut.contains(QLatin1String("--registry FILE")));
    EXPECT_TRUE(result.strErr.isEmpty());
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

}  // namespace
