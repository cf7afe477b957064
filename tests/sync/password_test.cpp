#include "sync/CPasswordFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct PasswordCase
{
    const char* content;
    QFile::Permissions perms;
    bool bAccepted;
    const char* password;     // when accepted
    const char* reasonPart;   // when refused
};

TEST(PasswordFile, OnlyOwnerReadableFilesAreRead)
{
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner;
    const PasswordCase cases[] = {
        {"s3cret\n", owner, true, "s3cret", ""},
        {"비밀 🔑\r\nsecond line\n", QFile::ReadOwner, true, "비밀 🔑", ""},
        {"s3cret\n", owner | QFile::ReadGroup, false, "", "others"},
        {"s3cret\n", owner | QFile::ReadOther, false, "", "others"},
        {"\n", owner, false, "", "empty"},
    };
    QTemporaryDir dir;
    for (const PasswordCase& c : cases) {
        const QString strPath = dir.filePath("pw");
        QFile::remove(strPath);
        QFile file(strPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        ASSERT_TRUE(file.setPermissions(c.perms));
        QString strPassword, strReason;
        EXPECT_EQ(CPasswordFile::Read(strPath, strPassword, strReason), c.bAccepted) << c.content;
        if (c.bAccepted) {
            EXPECT_EQ(strPassword, QString::fromUtf8(c.password));
        } else {
            EXPECT_TRUE(strReason.contains(c.reasonPart)) << strReason.toStdString();
            EXPECT_FALSE(strReason.contains("s3cret"));
        }
    }
}

TEST(PasswordFile, MissingFileOrFolderIsRefusedWithReason)
{
    QTemporaryDir dir;
    QString strPassword, strReason;
    EXPECT_FALSE(CPasswordFile::Read(dir.filePath("none"), strPassword, strReason));
    EXPECT_TRUE(strReason.contains("does not exist"));
    EXPECT_FALSE(CPasswordFile::Read(dir.path(), strPassword, strReason));
    EXPECT_TRUE(strReason.contains("not a regular file"));
}

} // namespace
