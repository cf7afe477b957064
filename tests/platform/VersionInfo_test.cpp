#include "platform/VersionInfo.h"
#include <gtest/gtest.h>

namespace {

VersionBlockContents Contents()
{
    VersionBlockContents contents;
    contents.translations = {{0x0412, 0x04B0}, {0x0409, 0x04E4}};
    contents.strings = {{QStringLiteral("ProductName"), QStringLiteral("Quillday")},
                        {QStringLiteral("Comments"), QString()},
                        {QStringLiteral("ProductVersion"), QStringLiteral("1.0.0.1")}};
    return contents;
}

QString Text(const char* p, UINT uUnits)
{
    QString text;
    for (UINT i = 0; i < uUnits; ++i) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(p[2 * i])
                                                | (static_cast<unsigned char>(p[2 * i + 1]) << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}

}  // namespace

TEST(VersionInfo, TextsAreFoundUnderTheFirstTranslationWhateverTheLetterCase)
{
    const QByteArray block = BuildVersionBlock(Contents());
    const char* p = nullptr;
    UINT uLen = 0;
    const struct {
        const char* pszQuery;
        const char* pszText;
        UINT uUnits;
    } cases[] = {
        {"\\StringFileInfo\\041204B0\\ProductVersion", "1.0.0.1", 8},
        {"\\stringfileinfo\\041204b0\\PRODUCTNAME", "Quillday", 9},
        {"StringFileInfo\\041204B0\\Comments", "", 1},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(VerQueryValueW(block, QString::fromLatin1(c.pszQuery), &p, &uLen)) << c.pszQuery;
        EXPECT_EQ(uLen, c.uUnits) << c.pszQuery;
        EXPECT_EQ(Text(p, uLen), QString::fromLatin1(c.pszText)) << c.pszQuery;
    }
}

TEST(VersionInfo, MissingNodesAreNotFound)
{
    const QByteArray block = BuildVersionBlock(Contents());
    const char* p = nullptr;
    UINT uLen = 0;
    for (const char* pszQuery : {"\\StringFileInfo\\040904E4\\ProductName", "\\StringFileInfo\\041204B0\\FileVersion",
                                 "\\VarFileInfo\\Translation\\More", "\\Nothing"})
        EXPECT_FALSE(VerQueryValueW(block, QString::fromLatin1(pszQuery), &p, &uLen)) << pszQuery;
}

TEST(VersionInfo, TranslationListHoldsEveryEntryLanguageLow)
{
    const QByteArray block = BuildVersionBlock(Contents());
    const char* p = nullptr;
    UINT uLen = 0;
    ASSERT_TRUE(VerQueryValueW(block, QStringLiteral("\\VarFileInfo\\Translation"), &p, &uLen));
    EXPECT_EQ(QByteArray(p, static_cast<int>(uLen)), QByteArray("\x12\x04\xB0\x04\x09\x04\xE4\x04", 8));
}

TEST(VersionInfo, ABlockWithoutTranslationsHasAnEmptyList)
{
    VersionBlockContents contents = Contents();
    contents.translations.clear();
    const QByteArray block = BuildVersionBlock(contents);
    const char* p = nullptr;
    UINT uLen = 99;
    ASSERT_TRUE(VerQueryValueW(block, QStringLiteral("\\VarFileInfo\\Translation"), &p, &uLen));
    EXPECT_EQ(uLen, 0u);
    EXPECT_FALSE(VerQueryValueW(block, QStringLiteral("\\StringFileInfo"), &p, &uLen));
}

TEST(VersionInfo, CutOrDamagedBlocksAreRefusedWithoutReadingPastThem)
{
    const QByteArray block = BuildVersionBlock(Contents());
    const char* p = nullptr;
    UINT uLen = 0;
    // Every cut of the block: the root's length then runs past the end.
    for (int nSize = 0; nSize < block.size(); nSize += 3)
        EXPECT_FALSE(VerQueryValueW(block.left(nSize), QStringLiteral("\\"), &p, &uLen)) << nSize;
    // A value length beyond its node.
    QByteArray damaged = block;
    damaged[2] = '\xFF';
    damaged[3] = '\x7F';
    EXPECT_FALSE(VerQueryValueW(damaged, QStringLiteral("\\"), &p, &uLen));
    // A key without its terminator.
    QByteArray unterminated = BuildVersionBlock(Contents());
    unterminated[0] = 8;  // wLength 8: header and one key unit only
    unterminated[1] = 0;
    EXPECT_FALSE(VerQueryValueW(unterminated, QStringLiteral("\\"), &p, &uLen));
}
