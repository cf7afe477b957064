#include "RegistryFixture_helper.h"

#include "platform/CRegistry.h"

namespace {

const QString kSubKey = QStringLiteral("SOFTWARE\\Quillday");

class CRegistryTest : public RegistryFixture {};

TEST_F(CRegistryTest, ReadOfAMissingValueGivesTheDefaultAndCreatesTheKey)
{
    const CRegistry reg;
    EXPECT_EQ(reg.ReadDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("FontSize"), 10u), 10u);
    EXPECT_EQ(reg.ReadString(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("FontName"), QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_EQ(RegistryText(), QByteArray("Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"));
}

struct DwordCase {
    const char* line;
    DWORD expected;
};

TEST_F(CRegistryTest, DwordReadIgnoresTheTypeOfValuesUpToFourBytes)
{
    const DwordCase cases[] = {
        {"\"V\"=dword:12345678", 0x12345678u},
        {"\"V\"=hex:01,02,03", 0x030201u},         // short values fill the low bytes
        {"\"V\"=hex:", 0u},                        // an empty value reads as 0
        {"\"V\"=\"a\"", 0x61u},                    // 'a' and its NUL: 4 bytes
        {"\"V\"=\"\"", 0u},                        // only the NUL: 2 bytes
        {"\"V\"=hex:01,02,03,04,05", 77u},         // longer than 4 bytes: the default
        {"\"V\"=\"ab\"", 77u},                     // 6 bytes: the default
        {"\"V\"=hex(b):01,00,00,00,00,00,00,00", 77u},
    };
    const CRegistry reg;
    for (const DwordCase& c : cases) {
        WriteRegistry(QByteArray(c.line) + "\n");
        EXPECT_EQ(reg.ReadDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("V"), 77u), c.expected) << c.line;
    }
}

struct StringCase {
    const char* line;
    const char* expected;
};

TEST_F(CRegistryTest, StringReadEndsAtTheFirstNul)
{
    const StringCase cases[] = {
        {"\"V\"=\"mirafon\"", "mirafon"},
        {"\"V\"=\"\"", ""},
        {"\"V\"=hex(1):41,00,00,00,42,00,00,00", "A"},
        {"\"V\"=hex(1):41,00,42", "A"},            // an odd last byte is no character
        {"\"V\"=hex(1):41,00,42,00", "AB"},        // no NUL at all: every character
        {"\"V\"=dword:00000041", "A"},             // the type is not checked here either
    };
    const CRegistry reg;
    for (const StringCase& c : cases) {
        WriteRegistry(QByteArray(c.line) + "\n");
        EXPECT_EQ(reg.ReadString(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("v"), QStringLiteral("default")),
                  QString::fromUtf8(c.expected))
            << c.line;
    }
}

TEST_F(CRegistryTest, WriteSetsAFourByteDword)
{
    const CRegistry reg;
    EXPECT_TRUE(reg.WriteDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("24hour"), 1u));
    EXPECT_TRUE(reg.WriteDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("Big"), 0xFFFFFFFFu));
    EXPECT_TRUE(RegistryText().endsWith("\"24hour\"=dword:00000001\n\"Big\"=dword:ffffffff\n"));
    EXPECT_EQ(reg.ReadDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("Big"), 0u), 0xFFFFFFFFu);
}

TEST_F(CRegistryTest, UnusableRegistryGivesDefaultsAndFailedWrites)
{
    QDir().mkpath(m_path);  // a folder where the file should be
    const CRegistry reg;
    EXPECT_EQ(reg.ReadDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("FontSize"), 10u), 10u);
    EXPECT_EQ(reg.ReadString(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("FontName"), QStringLiteral("m")),
              QStringLiteral("m"));
    EXPECT_FALSE(reg.WriteDWORD(HKEY_LOCAL_MACHINE, kSubKey, QStringLiteral("24hour"), 1u));
}

}  // namespace
