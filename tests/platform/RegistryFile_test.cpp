#include "platform/CRegistryDocument.h"
#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday");

RegValue Dword(uint32_t n)
{
    RegValue value{RegType::Dword, QByteArray(4, '\0')};
    for (int i = 0; i < 4; ++i)
        value.data[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return value;
}

RegValue String(const QString& text)
{
    RegValue value{RegType::String, QByteArray()};
    for (const QChar c : text)
        value.data.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    value.data.append(2, '\0');
    return value;
}

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("config/quillday/registry.reg"));
        SetRegistryPath(m_path);
    }
    void TearDown() override { SetRegistryPath(QString()); }
    void WriteFile(const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(m_path).path());
        QFile file(m_path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadFile(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_path;
};

TEST_F(RegistryFileTest, CreatingAKeyWritesItWithoutValues)
{
    EXPECT_TRUE(RegistryCreateKey(kKey));
    EXPECT_EQ(ReadFile(m_path), QByteArray("Windows Registry Editor Version 5.00\n\n"
                                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"));
    RegValue value;
    EXPECT_FALSE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
}

TEST_F(RegistryFileTest, ValuesKeepTheirTypesThroughTheFile)
{
    RegValue blob{RegType::Binary, QByteArray("\x01\x02\xff", 3)};
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("FontSize"), Dword(10)));
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("FontName"), String(QStringLiteral("Na\"me\\x 글"))));
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("Blob"), blob));
    EXPECT_EQ(ReadFile(m_path), QByteArray("Windows Registry Editor Version 5.00\n\n"
                                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"
                                           "\"FontSize\"=dword:0000000a\n"
                                           "\"FontName\"=\"Na\\\"me\\\\x \xEA\xB8\x80\"\n"
                                           "\"Blob\"=hex:01,02,ff\n"));
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey.toLower(), QStringLiteral("fontname"), &value));
    EXPECT_EQ(value.type, RegType::String);
    EXPECT_EQ(value.data, String(QStringLiteral("Na\"me\\x 글")).data);
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("Blob"), &value));
    EXPECT_EQ(value.type, RegType::Binary);
    EXPECT_EQ(value.data, blob.data);
}

TEST_F(RegistryFileTest, HandEditedFileIsReadWithItsOwnSpelling)
{
    WriteFile("\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday\\]\r\n"
              "\"FontSize\" = dword:c\r\n"
              "@=\"default\"\r\n"
              "\"Long\"=hex:01,02,\\\r\n  03,04\r\n"
              "\"Odd\"=hex(2):41,00,00,00\r\n");
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
    EXPECT_EQ(value.data, Dword(12).data);
    ASSERT_TRUE(RegistryQueryValue(kKey, QString(), &value));
    EXPECT_EQ(value.data, String(QStringLiteral("default")).data);
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("Long"), &value));
    EXPECT_EQ(value.data, QByteArray("\x01\x02\x03\x04", 4));
    // A rewrite keeps every value, the hex(2) kind included, and needs no backup.
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("New"), Dword(1)));
    const QByteArray text = ReadFile(m_path);
    EXPECT_TRUE(text.contains("\"Odd\"=hex(2):41,00,00,00\n")) << text.constData();
    EXPECT_TRUE(text.contains("@=\"default\"\n")) << text.constData();
    EXPECT_TRUE(text.contains("\"Long\"=hex:01,02,03,04\n")) << text.constData();
    EXPECT_FALSE(QFile::exists(m_path + QStringLiteral(".bak")));
}

TEST_F(RegistryFileTest, TypeNumbersOfEveryWidthSurviveARewrite)
{
    WriteFile("Windows Registry Editor Version 5.00\n\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"
              "\"Top\"=hex(ffffffff):01\n"
              "\"High\"=hex(80000000):02\n");
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("New"), Dword(1)));
    const QByteArray text = ReadFile(m_path);
    EXPECT_TRUE(text.contains("\"Top\"=hex(ffffffff):01\n")) << text.constData();
    EXPECT_TRUE(text.contains("\"High\"=hex(80000000):02\n")) << text.constData();
}

TEST_F(RegistryFileTest, MalformedFileKeepsReadableValuesAndItsOriginal)
{
    const QByteArray original("Windows Registry Editor Version 5.00\n\n"
                              "\"Orphan\"=dword:00000001\n"
                              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"
                              "\"FontSize\"=dword:0000000c\n"
                              "\"Broken\"=dword:zz\n"
                              "this line means nothing\n"
                              "\"Unclosed=\"x\"\n"
                              "; a comment\n"
                              "\"FontName\"=\"Hand Edited\"\n");
    WriteFile(original);
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
    EXPECT_EQ(value.data, Dword(12).data);
    EXPECT_FALSE(RegistryQueryValue(kKey, QStringLiteral("Broken"), &value));
    // Reading changes nothing; the first write keeps the original beside the file.
    EXPECT_TRUE(RegistryCreateKey(kKey));
    EXPECT_EQ(ReadFile(m_path), original);
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("24hour"), Dword(1)));
    EXPECT_EQ(ReadFile(m_path + QStringLiteral(".bak")), original);
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontName"), &value));
    EXPECT_EQ(value.data, String(QStringLiteral("Hand Edited")).data);
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
    EXPECT_EQ(value.data, Dword(12).data);
    // The rewritten file is clean: later writes make no further backups.
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("24hour"), Dword(0)));
    EXPECT_FALSE(QFile::exists(m_path + QStringLiteral(".bak.1")));
}

TEST_F(RegistryFileTest, EarlierBackupIsNeverOverwritten)
{
    WriteFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\ngarbage one\n");
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("A"), Dword(1)));
    WriteFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\ngarbage two\n");
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("A"), Dword(2)));
    EXPECT_TRUE(ReadFile(m_path + QStringLiteral(".bak")).contains("garbage one"));
    EXPECT_TRUE(ReadFile(m_path + QStringLiteral(".bak.1")).contains("garbage two"));
}

TEST_F(RegistryFileTest, UnreadableFileIsNeverWrittenOver)
{
    QDir().mkpath(m_path);  // a folder where the file should be
    EXPECT_FALSE(RegistryCreateKey(kKey));
    EXPECT_FALSE(RegistrySetValue(kKey, QStringLiteral("A"), Dword(1)));
    EXPECT_TRUE(QFileInfo(m_path).isDir());
}

TEST_F(RegistryFileTest, NamesWithLineBreaksAreRefused)
{
    EXPECT_FALSE(RegistrySetValue(kKey, QStringLiteral("a\nb"), Dword(1)));
    EXPECT_FALSE(RegistryCreateKey(QStringLiteral("HKEY_LOCAL_MACHINE\\x\ny")));
    EXPECT_FALSE(QFile::exists(m_path));
}

// Spaces and backslashes at a key's end are no part of its name: its values survive a write
// and a fresh read under the name as given; a name of nothing else is no name and refused.
TEST_F(RegistryFileTest, KeysEndingInSpacesAndBackslashesReadBackAsWritten)
{
    for (const char* pszKey : {"K\\ \\", "K \\ \\  ", "K\\\\ "}) {
        const QString key = QString::fromLatin1(pszKey);
        ASSERT_TRUE(RegistrySetValue(key, QStringLiteral("v"), Dword(7))) << pszKey;
        CRegistryDocument fresh;
        fresh.Parse(ReadFile(m_path));
        EXPECT_FALSE(fresh.HasUnreadableLines()) << pszKey;
        RegValue value;
        ASSERT_TRUE(fresh.QueryValue(key, QStringLiteral("v"), &value)) << pszKey;
        EXPECT_EQ(value.data, Dword(7).data);
        EXPECT_TRUE(RegistryQueryValue(QStringLiteral("k"), QStringLiteral("v"), &value)) << pszKey;
    }
    for (const char* pszKey : {"\\ \\", " \\ ", "\\\\ \\"})
        EXPECT_FALSE(RegistrySetValue(QString::fromLatin1(pszKey), QStringLiteral("v"), Dword(1))) << pszKey;
    EXPECT_EQ(ReadFile(m_path), QByteArray("Windows Registry Editor Version 5.00\n\n[K]\n\"v\"=dword:00000007\n"));
}

TEST_F(RegistryFileTest, StringDataThatIsNoPlainTextIsWrittenAsHex)
{
    RegValue noNul{RegType::String, QByteArray("A\0", 2) + QByteArray("B\0", 2)};
    RegValue lineBreak = String(QStringLiteral("a\nb"));
    RegValue shortDword{RegType::Dword, QByteArray("\x07", 1)};
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("NoNul"), noNul));
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("Break"), lineBreak));
    ASSERT_TRUE(RegistrySetValue(kKey, QStringLiteral("Short"), shortDword));
    const QByteArray text = ReadFile(m_path);
    EXPECT_TRUE(text.contains("\"NoNul\"=hex(1):41,00,42,00\n")) << text.constData();
    EXPECT_TRUE(text.contains("\"Short\"=hex(4):07\n")) << text.constData();
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("Break"), &value));
    EXPECT_EQ(value.data, lineBreak.data);
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("NoNul"), &value));
    EXPECT_EQ(value.data, noNul.data);
}

// A file that is no registry file (the store, named by a swapped argument) is never written
// over: the settings of the run live in memory.
TEST_F(RegistryFileTest, FileThatIsNoRegistryFileIsNeverWrittenOver)
{
    const QByteArray foreign[] = {
        QByteArray("SQLite format 3\0\x10\0\x02\x02\0@  \0\0\0\x05", 28),
        QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"),
        QByteArray("\n\nnotes of mine\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"),
    };
    for (const QByteArray& original : foreign) {
        WriteFile(original);
        EXPECT_TRUE(RegistryCreateKey(kKey));
        RegValue value;
        EXPECT_FALSE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
        EXPECT_TRUE(RegistrySetValue(kKey, QStringLiteral("FontSize"), Dword(12)));
        ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
        EXPECT_EQ(value.data, Dword(12).data);
        EXPECT_TRUE(RegistryRefusal().contains(m_path)) << RegistryRefusal().toStdString();
        EXPECT_EQ(ReadFile(m_path), original);
        EXPECT_FALSE(QFile::exists(m_path + QStringLiteral(".bak")));
    }
    // A registry file again: read and written as usual.
    WriteFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n\"FontSize\"=dword:00000009\n");
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("FontSize"), &value));
    EXPECT_EQ(value.data, Dword(9).data);
    EXPECT_TRUE(RegistryRefusal().isEmpty());
}

QByteArray Utf16WithMark(const QString& text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}

TEST(RegistryDocument, TellsRegistryFilesByTheirFirstLine)
{
    struct Case {
        QByteArray bytes;
        bool bRegistry;
    } const cases[] = {
        {"", true},
        {"\n  \n", true},
        {"Windows Registry Editor Version 5.00\r\n", true},
        {"\xEF\xBB\xBF\nREGEDIT4\n", true},
        {Utf16WithMark(QStringLiteral("Windows Registry Editor Version 5.00\r\n")), true},
        {Utf16WithMark(QStringLiteral("text\r\n")), false},
        {"[hkey_local_machine\\SOFTWARE]\n", true},
        {"Windows Registry Editor Version 5.01\n", false},
        {"SQLite format 3", false},
        {"[not a key\n", false},
        {"\"FontSize\"=dword:0000000a\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRegistryDocument::StartsAsRegistryFile(c.bytes), c.bRegistry) << c.bytes.toStdString();
}

// A hex value wrapped over many lines, as regedit writes a long one, joins into one value.
TEST(RegistryDocument, JoinsAValueWrappedOverManyLines)
{
    QByteArray text("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n\"Blob\"=hex:");
    QByteArray expected;
    for (int i = 0; i < 20000; ++i) {
        text += "0a,0b,\\\n  ";
        expected += "\x0a\x0b";
    }
    text += "0c\n\"After\"=dword:00000001\n";
    expected += '\x0c';
    CRegistryDocument doc;
    doc.Parse(text);
    RegValue value;
    ASSERT_TRUE(doc.QueryValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday"), QStringLiteral("Blob"), &value));
    EXPECT_EQ(value.data, expected);
    EXPECT_TRUE(doc.QueryValue(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday"), QStringLiteral("After"), &value));
    EXPECT_FALSE(doc.HasUnreadableLines());
}

// A value given again, in any case, keeps the last line's data under its first spelling, once.
TEST(RegistryDocument, TheLastOfDuplicateValuesWins)
{
    CRegistryDocument doc;
    doc.Parse("[K]\n\"a\"=dword:00000001\n\"b\"=dword:00000005\n\"A\"=dword:00000002\n\"a\"=dword:00000003\n");
    EXPECT_EQ(doc.UnreadableLines(), 2);
    RegValue value;
    ASSERT_TRUE(doc.QueryValue(QStringLiteral("k"), QStringLiteral("A"), &value));
    EXPECT_EQ(value.data, QByteArray("\x03\0\0\0", 4));
    EXPECT_EQ(doc.ToText(), QByteArray("Windows Registry Editor Version 5.00\n\n[K]\n\"a\"=dword:00000003\n"
                                       "\"b\"=dword:00000005\n"));
}

// Only the first lines within the size bound are read; what lies past it counts as lost.
TEST(RegistryDocument, ReadsTheFirstMegabytesOnly)
{
    const QByteArray head = "[K]\n\"a\"=dword:00000001\n\"pad\"=\"";
    const qsizetype nPad = CRegistryDocument::kMaxBytes - 5 - head.size() - 2;
    CRegistryDocument doc;
    doc.Parse(head + QByteArray(nPad, 'x') + "\"\n\"late\"=dword:00000002\n");
    RegValue value;
    EXPECT_TRUE(doc.QueryValue(QStringLiteral("K"), QStringLiteral("a"), &value));
    ASSERT_TRUE(doc.QueryValue(QStringLiteral("K"), QStringLiteral("pad"), &value));
    EXPECT_EQ(value.data.size(), (nPad + 1) * 2);
    EXPECT_FALSE(doc.QueryValue(QStringLiteral("K"), QStringLiteral("late"), &value));
    EXPECT_EQ(doc.UnreadableLines(), 1);
}

// The file is parsed once, but a change made to it by someone else is still seen.
TEST_F(RegistryFileTest, ChangedFileIsReadAgain)
{
    WriteFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n\"A\"=dword:00000001\n");
    RegValue value;
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("A"), &value));
    EXPECT_EQ(value.data, Dword(1).data);
    WriteFile("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n\"A\"=dword:00000002\n");
    ASSERT_TRUE(RegistryQueryValue(kKey, QStringLiteral("A"), &value));
    EXPECT_EQ(value.data, Dword(2).data);
    QFile::remove(m_path);
    EXPECT_FALSE(RegistryQueryValue(kKey, QStringLiteral("A"), &value));
}

TEST(RegistryDocument, CountsWhatItCouldNotKeep)
{
    struct Case {
        const char* text;
        int nUnreadable;
    } cases[] = {
        {"Windows Registry Editor Version 5.00\n\n[K]\n\"a\"=dword:00000001\n", 0},
        {"REGEDIT4\n[K]\n", 0},
        {"[K]\n\"a\"=dword:1\n\"A\"=dword:2\n", 1},  // the same name twice
        {"[-K]\n", 1},
        {"[K]\n\"a\"=-\n", 1},
        {"[K]\n\"a\"=hex:1,2,300\n", 1},
        {"[K]\n\"a\"=dword:123456789\n", 1},
        {"[K]\n\"a\"=\"text\" trailing\n", 1},
        {"[K]\n\xFF\xFE\n", 2},  // not UTF-8, and then no value line either
    };
    for (const Case& c : cases) {
        CRegistryDocument doc;
        doc.Parse(QByteArray(c.text));
        EXPECT_EQ(doc.UnreadableLines(), c.nUnreadable) << c.text;
        EXPECT_TRUE(doc.HasKey(QStringLiteral("k")) || c.nUnreadable > 0) << c.text;
    }
}

TEST(RegistryDocument, ReadsRegeditUtf16Exports)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[K]\r\n\"FontName\"=\"mirafon\"\r\n");
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    CRegistryDocument doc;
    doc.Parse(bytes);
    RegValue value;
    ASSERT_TRUE(doc.QueryValue(QStringLiteral("K"), QStringLiteral("FontName"), &value));
    EXPECT_EQ(value.data, String(QStringLiteral("mirafon")).data);
    EXPECT_FALSE(doc.HasUnreadableLines());
}

TEST(RegistryPath, DefaultsToTheXdgConfigFolder)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedRegistry = qgetenv("QUILLDAY_REGISTRY");
    qunsetenv("QUILLDAY_REGISTRY");
    qputenv("XDG_CONFIG_HOME", "/tmp/xdg-test-config");
    SetRegistryPath(QString());
    EXPECT_EQ(GetRegistryPath(), QStringLiteral("/tmp/xdg-test-config/quillday/registry.reg"));
    qputenv("QUILLDAY_REGISTRY", "/tmp/elsewhere/r.reg");
    EXPECT_EQ(GetRegistryPath(), QStringLiteral("/tmp/elsewhere/r.reg"));
    SetRegistryPath(QStringLiteral("/tmp/option.reg"));
    EXPECT_EQ(GetRegistryPath(), QStringLiteral("/tmp/option.reg"));
    SetRegistryPath(QString());
    qputenv("XDG_CONFIG_HOME", saved);
    if (savedRegistry.isEmpty())
        qunsetenv("QUILLDAY_REGISTRY");
    else
        qputenv("QUILLDAY_REGISTRY", savedRegistry);
}

}  // namespace
