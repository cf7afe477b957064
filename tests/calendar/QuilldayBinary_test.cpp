// Black-box checks of the built quillday executable: its one exported symbol and the
// --lunar-to-solar mode.
#include "QtPrinters.h"
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString QuilldayPath()
{
    return qEnvironmentVariable("QUILLDAY_BIN");
}

struct RunResult {
    int nExitCode = -1;
    QString strOut;
};

// Runs quillday in an empty program folder, so no data file is at hand.
bool RunQuillday(const QStringList& args, const QByteArray& input, RunResult* pResult)
{
    QTemporaryDir home;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLDAY_HOME"), home.path());
    process.setProcessEnvironment(env);
    process.start(QuilldayPath(), args);
    if (!process.waitForStarted(10000))
        return false;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return false;
    pResult->nExitCode = process.exitCode();
    pResult->strOut = QString::fromUtf8(process.readAllStandardOutput());
    return true;
}

class QuilldayBinary : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QuilldayPath().isEmpty() || !QFileInfo(QuilldayPath()).isExecutable())
            GTEST_SKIP() << "quillday has not been built at " << QuilldayPath().toStdString();
    }
};

}  // namespace

TEST_F(QuilldayBinary, ExportsOnlyTheDaylightSwitch)
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        GTEST_SKIP() << "nm is not installed";
    QProcess process;
    process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), QuilldayPath()});
    ASSERT_TRUE(process.waitForFinished(20000));
    ASSERT_EQ(process.exitCode(), 0);
    // The segment bounds the linker itself defines are exported beside it, because a Qt
    // library exports symbols of the same names; they are no symbols of the program.
    const QStringList linkerBounds{QStringLiteral("__bss_start"), QStringLiteral("_edata"), QStringLiteral("_end")};
    QStringList names;
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char(' '), -1);
        if (!linkerBounds.contains(name))
            names << name;
    }
    EXPECT_EQ(names, QStringList{QStringLiteral("g_bUseDST")}) << output.toStdString();
}

TEST_F(QuilldayBinary, LunarToSolarFromArguments)
{
    RunResult result;
    ASSERT_TRUE(RunQuillday({QStringLiteral("--lunar-to-solar"), QStringLiteral("2007-01-01")}, {}, &result));
    EXPECT_EQ(result.strOut, QStringLiteral("2007-02-18 Sun\n"));
    EXPECT_EQ(result.nExitCode, 0);

    ASSERT_TRUE(RunQuillday({QStringLiteral("--lunar-to-solar"), QStringLiteral("2006-07-01L"),
                             QStringLiteral("2007-01-30"), QStringLiteral("2007-08-15")},
                            {}, &result));
    EXPECT_EQ(result.strOut, QStringLiteral("2006-08-24 Thu\nINVALID\n2007-09-25 Tue\n"));
    EXPECT_EQ(result.nExitCode, 1);
}

TEST_F(QuilldayBinary, LunarToSolarFromStandardInput)
{
    RunResult result;
    ASSERT_TRUE(RunQuillday({QStringLiteral("--lunar-to-solar"), QStringLiteral("-")},
                            "2007-01-01\r\n2008-01-01\n", &result));
    EXPECT_EQ(result.strOut, QStringLiteral("2007-02-18 Sun\n2008-02-07 Thu\n"));
    EXPECT_EQ(result.nExitCode, 0);

    ASSERT_TRUE(RunQuillday({QStringLiteral("--lunar-to-solar"), QStringLiteral("-")},
                            "2007-01-01\nnot a date\n2043-12-30\n1840-01-01\n", &result));
    EXPECT_EQ(result.strOut, QStringLiteral("2007-02-18 Sun\nINVALID\n2044-01-29 Fri\nINVALID\n"));
    EXPECT_EQ(result.nExitCode, 1);
}
