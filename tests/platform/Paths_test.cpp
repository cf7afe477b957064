#include "EnvironmentGuard_helper.h"

#include "platform/ProgramFolder.h"
#include "platform/StorePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolder, OptionThenEnvironmentThenExecutableFolder)
{
    CEnvironmentGuard env;
    env.Unset("QUILLDAY_HOME");
    SetProgramFolder(QString());
    const QString exeFolder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
    EXPECT_EQ(GetProgramFolder(), exeFolder);
    env.Set("QUILLDAY_HOME", "/tmp/quillday-home/");
    EXPECT_EQ(GetProgramFolder(), QStringLiteral("/tmp/quillday-home"));
    SetProgramFolder(QStringLiteral("/opt/other/./data"));
    EXPECT_EQ(GetProgramFolder(), QStringLiteral("/opt/other/data"));
    EXPECT_EQ(ProgramFilePath(QStringLiteral("orlith.inf")), QStringLiteral("/opt/other/data/orlith.inf"));
    SetProgramFolder(QString());
    EXPECT_EQ(GetProgramFolder(), QStringLiteral("/tmp/quillday-home"));
}

TEST(ProgramFolder, RelativeOptionIsTakenFromTheCurrentFolder)
{
    SetProgramFolder(QStringLiteral("data"));
    EXPECT_EQ(GetProgramFolder(), QDir::current().absoluteFilePath(QStringLiteral("data")));
    SetProgramFolder(QString());
}

TEST(StorePath, DefaultsToTheXdgDataFolder)
{
    CEnvironmentGuard env;
    SetStorePath(QString());
    env.Set("XDG_DATA_HOME", "/tmp/xdg-data");
    EXPECT_EQ(GetStorePath(), QStringLiteral("/tmp/xdg-data/quillday/pim.sqlite"));
    env.Set("XDG_DATA_HOME", "relative/ignored");
    env.Set("HOME", "/home/tester");
    EXPECT_EQ(GetStorePath(), QStringLiteral("/home/tester/.local/share/quillday/pim.sqlite"));
    SetStorePath(QStringLiteral("/srv/pim.sqlite"));
    EXPECT_EQ(GetStorePath(), QStringLiteral("/srv/pim.sqlite"));
    SetStorePath(QString());
}

}  // namespace
