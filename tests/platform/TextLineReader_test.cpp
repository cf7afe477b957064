#include "EnvironmentGuard_helper.h"

#include "platform/TextLineReader.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

class TextLineReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_env.Set("QUILLDAY_ACP", "UTF-8");
    }
    QString Write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("file%1.txt").arg(m_nFiles++));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray Utf16Le(const QString& text)
    {
        QByteArray bytes("\xFF\xFE", 2);
        for (const QChar c : text) {
            bytes.append(static_cast<char>(c.unicode() & 0xFF));
            bytes.append(static_cast<char>(c.unicode() >> 8));
        }
        return bytes;
    }
    static QStringList ReadAll(const QString& path, bool* pbUtf16 = nullptr)
    {
        CTextLineReader reader;
        EXPECT_TRUE(reader.Open(path));
        if (pbUtf16)
            *pbUtf16 = reader.IsUtf16();
        QStringList lines;
        QString line;
        while (reader.ReadLine(&line))
            lines << line;
        return lines;
    }

    QTemporaryDir m_dir;
    CEnvironmentGuard m_env;
    int m_nFiles = 0;
};

TEST_F(TextLineReaderTest, Utf16AndCp949GiveTheSameLines)
{
    m_env.Set("QUILLDAY_ACP", "CP949");
    // "한글 설날" and "[#FF0000]" with CR LF line ends, in both encodings.
    const QString text = QString::fromUtf8("# 기념일\r\n0000-01-01 \xED\x95\x9C\xEA\xB8\x80 설날\r\n[#FF0000]\r\n");
    const QByteArray cp949("# \xB1\xE2\xB3\xE4\xC0\xCF\r\n0000-01-01 \xC7\xD1\xB1\xDB \xBC\xB3\xB3\xAF\r\n[#FF0000]\r\n");
    bool bUtf16 = false;
    const QStringList fromUtf16 = ReadAll(Write(Utf16Le(text)), &bUtf16);
    EXPECT_TRUE(bUtf16);
    const QStringList fromAnsi = ReadAll(Write(cp949), &bUtf16);
    EXPECT_FALSE(bUtf16);
    const QStringList expected{QString::fromUtf8("# 기념일"), QString::fromUtf8("0000-01-01 한글 설날"),
                               QStringLiteral("[#FF0000]")};
    EXPECT_EQ(fromUtf16, expected);
    EXPECT_EQ(fromAnsi, expected);
}

TEST_F(TextLineReaderTest, LongLineComesBackInPiecesOf254Units)
{
    const QString line300 = QString(300, QLatin1Char('a'));
    for (const bool bUtf16 : {false, true}) {
        const QString text = line300 + QStringLiteral("\r\nnext\r\n");
        const QStringList lines = ReadAll(Write(bUtf16 ? Utf16Le(text) : text.toUtf8()));
        ASSERT_EQ(lines.size(), 3) << bUtf16;
        EXPECT_EQ(lines[0], QString(254, QLatin1Char('a')));
        EXPECT_EQ(lines[1], QString(46, QLatin1Char('a')));
        EXPECT_EQ(lines[2], QStringLiteral("next"));
    }
}

struct LineEndCase {
    const char* bytes;
    QStringList lines;
};

TEST_F(TextLineReaderTest, UpToTwoTrailingLineEndCharactersAreRemoved)
{
    const LineEndCase cases[] = {
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\r\r\nb", {"a\r", "b"}},    // a piece ends after LF; only two are stripped
        {"a\n\r\nb", {"a", "", "b"}},  // the empty line is returned, callers skip it
        {"a\r", {"a"}},
        {"\n", {""}},
        {"", {}},
    };
    for (const LineEndCase& c : cases) {
        EXPECT_EQ(ReadAll(Write(QByteArray(c.bytes))), c.lines) << c.bytes;
        EXPECT_EQ(ReadAll(Write(Utf16Le(QString::fromLatin1(c.bytes)))), c.lines) << c.bytes;
    }
}

TEST_F(TextLineReaderTest, LineOf254UnitsLeavesItsLineEndAsAnEmptyPiece)
{
    const QByteArray line(254, 'x');
    const QStringList lines = ReadAll(Write(line + "\r\nz"));
    EXPECT_EQ(lines, (QStringList{QString(254, QLatin1Char('x')), QString(), QStringLiteral("z")}));
}

TEST_F(TextLineReaderTest, MultiByteCharacterIsNotSplitAtAPieceBoundary)
{
    m_env.Set("QUILLDAY_ACP", "CP949");
    // 253 ASCII bytes, then a two-byte character that would straddle the 254-byte limit.
    const QByteArray bytes = QByteArray(253, 'x') + "\xC7\xD1" + "end\n";
    const QStringList lines = ReadAll(Write(bytes));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(253, QLatin1Char('x')));
    EXPECT_EQ(lines[1], QString::fromUtf8("한end"));
}

TEST_F(TextLineReaderTest, SurrogatePairIsNotSplitAtAPieceBoundary)
{
    const QString text = QString(253, QLatin1Char('x')) + QString::fromUtf8("\xF0\x9F\x98\x80") + QStringLiteral("!");
    const QStringList lines = ReadAll(Write(Utf16Le(text)));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString(253, QLatin1Char('x')));
    EXPECT_EQ(lines[1], QString::fromUtf8("\xF0\x9F\x98\x80!"));
}

TEST_F(TextLineReaderTest, InvalidBytesBecomeReplacementCharacters)
{
    const QStringList lines = ReadAll(Write(QByteArray("a\xFF" "b\n")));
    EXPECT_EQ(lines, QStringList{QString::fromUtf8("a\xEF\xBF\xBD" "b")});
}

TEST_F(TextLineReaderTest, Utf8SignatureIsSkippedOnlyWhenTheCodePageIsUtf8)
{
    EXPECT_EQ(ReadAll(Write(QByteArray("\xEF\xBB\xBFkey=value\n"))), QStringList{"key=value"});
    m_env.Set("QUILLDAY_ACP", "ISO-8859-1");
    EXPECT_EQ(ReadAll(Write(QByteArray("\xEF\xBB\xBFk\n"))), QStringList{QString::fromUtf8("ï»¿k")});
}

TEST_F(TextLineReaderTest, BigEndianMarkIsReadAsAnsiText)
{
    const QStringList lines = ReadAll(Write(QByteArray("\xFE\xFF\0a\n", 5)));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("a")));
    EXPECT_GE(lines[0].size(), 3);
}

TEST_F(TextLineReaderTest, UnknownCodePageFallsBackToUtf8)
{
    m_env.Set("QUILLDAY_ACP", "NO-SUCH-CODEPAGE");
    const QString path = Write(QByteArray("\xED\x95\x9C\xEA\xB8\x80\n"));
    testing::internal::CaptureStderr();
    const QStringList lines = ReadAll(path);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, QStringList{QString::fromUtf8("한글")});
    EXPECT_NE(warning.find("NO-SUCH-CODEPAGE"), std::string::npos);
}

TEST_F(TextLineReaderTest, MissingFileDoesNotOpen)
{
    CTextLineReader reader;
    EXPECT_FALSE(reader.Open(m_dir.filePath(QStringLiteral("missing.dat"))));
    QString line = QStringLiteral("untouched");
    EXPECT_FALSE(reader.ReadLine(&line));
}

TEST_F(TextLineReaderTest, OddTrailingByteOfUtf16FileIsNoUnit)
{
    QByteArray bytes = Utf16Le(QStringLiteral("ab"));
    bytes.append('c');
    EXPECT_EQ(ReadAll(Write(bytes)), QStringList{"ab"});
}

}  // namespace
