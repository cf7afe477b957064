#include "platform/VersionInfo.h"
#include "resources/VersionString.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString BuiltProgram()
{
    return qEnvironmentVariable("QUILLDAY_BIN");
}

}  // namespace

TEST(VersionString, QueryNamesTheTranslationInUpperCaseHexadecimal)
{
    EXPECT_EQ(VersionStringQuery(0x0412, 0x04B0, QStringLiteral("ProductVersion")),
              QStringLiteral("\\StringFileInfo\\041204B0\\ProductVersion"));
    EXPECT_EQ(VersionStringQuery(0x0009, 0xabcd, QStringLiteral("FileVersion")),
              QStringLiteral("\\StringFileInfo\\0009ABCD\\FileVersion"));
}

TEST(VersionString, TheBuiltProgramCarriesTheProjectVersion)
{
    ASSERT_TRUE(QFile::exists(BuiltProgram())) << BuiltProgram().toStdString();
    QString value = QStringLiteral("stale");
    ASSERT_TRUE(GetVersionString(BuiltProgram(), QStringLiteral("ProductVersion"), &value));
    EXPECT_EQ(value, QStringLiteral("1.0.0.1"));
    ASSERT_TRUE(GetVersionString(BuiltProgram(), QStringLiteral("FileVersion"), &value));
    EXPECT_EQ(value, QStringLiteral("1.0.0.1"));
    ASSERT_TRUE(GetVersionString(BuiltProgram(), QStringLiteral("productname"), &value));
    EXPECT_EQ(value, QStringLiteral("Quillday"));
}

TEST(VersionString, TheBlockDeclaresKoreanInUnicodeAndTheFixedVersion)
{
    const DWORD dwSize = GetFileVersionInfoSizeW(BuiltProgram());
    ASSERT_GT(dwSize, 0u);
    QByteArray block;
    ASSERT_TRUE(GetFileVersionInfoW(BuiltProgram(), dwSize, &block));
    const char* p = nullptr;
    UINT uLen = 0;
    ASSERT_TRUE(VerQueryValueW(block, QStringLiteral("\\VarFileInfo\\Translation"), &p, &uLen));
    ASSERT_EQ(uLen, 4u);
    EXPECT_EQ(QByteArray(p, 4), QByteArray("\x12\x04\xB0\x04", 4));
    ASSERT_TRUE(VerQueryValueW(block, QStringLiteral("\\"), &p, &uLen));
    ASSERT_EQ(uLen, 52u);
    // Signature, structure version, then file version 1.0 / 0.1 as two DWORDs (high, low).
    EXPECT_EQ(QByteArray(p, 16), QByteArray("\xBD\x04\xEF\xFE\x00\x00\x01\x00\x00\x00\x01\x00\x01\x00\x00\x00", 16));
}

TEST(VersionString, AFileWithoutABlockGivesFalseAndEmpty)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a program\n");
    file.close();
    // A text file, an empty file, and a real program built without a block (this test).
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QFile(empty).open(QIODevice::WriteOnly);
    for (const QString& path : {text, empty, QCoreApplication::applicationFilePath()}) {
        QString value = QStringLiteral("stale");
        EXPECT_FALSE(GetVersionString(path, QStringLiteral("ProductVersion"), &value)) << path.toStdString();
        EXPECT_TRUE(value.isEmpty());
    }
}

TEST(VersionString, ABlockWithoutTheValueGivesTrueAndEmpty)
{
    QString value = QStringLiteral("stale");
    ASSERT_TRUE(GetVersionString(QStringLiteral(QUILLDAY_VERSION_FIXTURE), QStringLiteral("ProductVersion"), &value));
    EXPECT_TRUE(value.isEmpty());
    ASSERT_TRUE(GetVersionString(QStringLiteral(QUILLDAY_VERSION_FIXTURE), QStringLiteral("FileVersion"), &value));
    EXPECT_EQ(value, QStringLiteral("1.0.0.1"));
}

TEST(VersionString, AMissingPathGivesFalseAndEmpty)
{
    QString value = QStringLiteral("stale");
    EXPECT_FALSE(GetVersionString(QStringLiteral("/nonexistent/quillday"), QStringLiteral("ProductVersion"), &value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_FALSE(GetVersionString(QString(), QStringLiteral("ProductVersion"), &value));
    EXPECT_FALSE(GetVersionString(QDir::tempPath(), QStringLiteral("ProductVersion"), &value));  // a folder
}
