// The stream cookies of the ink control and the page it holds, without a window.
#include "ink/CInkPage.h"
#include "ink/InkStream.h"

#include <gtest/gtest.h>
#include <QtEndian>
#include <vector>

namespace {

struct ReadCase {
    int nCount;
    std::vector<int> requests;
    std::vector<int> handedOut;
};

TEST(InkReadCallback, HandsOutWhatIsLeftUpToTheRequest)
{
    const std::vector<ReadCase> cases = {
        {10, {4, 4, 4, 4}, {4, 4, 2, 0}},
        {10, {10, 1}, {10, 0}},
        {10, {20}, {10}},
        {0, {4}, {0}},
        {3, {0, 3}, {0, 3}},
    };
    for (const ReadCase& c : cases) {
        std::vector<uint8_t> source(c.nCount);
        for (int i = 0; i < c.nCount; ++i)
            source[i] = static_cast<uint8_t>(i + 1);
        InkReadCookie cookie{source.data(), 0, static_cast<DWORD>(c.nCount)};
        std::vector<uint8_t> got;
        for (size_t i = 0; i < c.requests.size(); ++i) {
            std::vector<uint8_t> buffer(c.requests[i] + 1, 0xEE);
            int32_t nGiven = -1;
            EXPECT_EQ(InkReadCallback(reinterpret_cast<uintptr_t>(&cookie), buffer.data(), c.requests[i], &nGiven), 0u);
            EXPECT_EQ(nGiven, c.handedOut[i]) << "count " << c.nCount << " call " << i;
            EXPECT_EQ(buffer[nGiven], 0xEE) << "wrote past what it handed out";
            got.insert(got.end(), buffer.begin(), buffer.begin() + nGiven);
        }
        EXPECT_EQ(got, source);
    }
}

TEST(InkWriteCallback, CountingPassAcceptsEveryChunkWhole)
{
    InkWriteCookie cookie;
    uint8_t chunk[5] = {1, 2, 3, 4, 5};
    int32_t nTaken = 0;
    for (int32_t cb : {3, 5, 0, 2}) {
        EXPECT_EQ(InkWriteCallback(reinterpret_cast<uintptr_t>(&cookie), chunk, cb, &nTaken), 0u);
        EXPECT_EQ(nTaken, cb);
    }
    EXPECT_EQ(cookie.dwPos, 10u);
}

TEST(InkWriteCallback, WritingPassStopsAtTheCapacity)
{
    std::vector<uint8_t> buffer(8, 0xEE);
    InkWriteCookie cookie{buffer.data(), 0, 6};
    uint8_t chunk[4] = {1, 2, 3, 4};
    int32_t nTaken = 0;
    const std::vector<int32_t> expected = {4, 2, 0};
    for (int32_t nWant : expected) {
        EXPECT_EQ(InkWriteCallback(reinterpret_cast<uintptr_t>(&cookie), chunk, 4, &nTaken), 0u);
        EXPECT_EQ(nTaken, nWant);
    }
    EXPECT_EQ(cookie.dwPos, 6u);
    EXPECT_EQ(buffer, (std::vector<uint8_t>{1, 2, 3, 4, 1, 2, 0xEE, 0xEE}));
}

CNotesData SampleNotes()
{
    CNotesData notes;
    notes.m_strText = QStringLiteral("Call 한 back\nat 5");
    CInkStroke stroke;
    stroke.nWidth = 2;
    stroke.points = {QPoint(1, 2), QPoint(30, 40), QPoint(-3, 7)};
    notes.m_strokes.append(stroke);
    return notes;
}

TEST(CInkPage, OwnNotesAreReadAndGivenBackUnchanged)
{
    const QByteArray bytes = SampleNotes().ToBytes();
    CInkPage page;
    page.Load(bytes);
    EXPECT_FALSE(page.IsForeign());
    EXPECT_EQ(page.GetNotes(), SampleNotes());
    EXPECT_EQ(page.Save(), bytes);
}

TEST(CInkPage, EditsAreWrittenInOurFormat)
{
    CInkPage page;
    page.Load(SampleNotes().ToBytes());
    page.InsertText(0, QStringLiteral(">> "));
    page.RemoveText(3, 5);  // "Call "
    CInkStroke dot;
    dot.points = {QPoint(9, 9)};
    page.AddStroke(dot);
    CNotesData saved;
    ASSERT_TRUE(saved.FromBytes(page.Save()));
    EXPECT_EQ(saved.m_strText, QStringLiteral(">> 한 back\nat 5"));
    ASSERT_EQ(saved.m_strokes.size(), 2);
    EXPECT_EQ(saved.m_strokes[1].points, dot.points);
}

TEST(CInkPage, EmptyNotesInFullFormAreOurs)
{
    QByteArray bytes("QNB1", 4);
    bytes.append("\x01\x00", 2).append(8, '\0');
    CInkPage page;
    page.Load(bytes);
    EXPECT_FALSE(page.IsForeign());
    EXPECT_TRUE(page.GetNotes().IsEmpty());
    EXPECT_EQ(page.Save(), bytes);
}

QByteArray WithVersion(QByteArray bytes, uint16_t nVersion)
{
    qToLittleEndian(nVersion, bytes.data() + 4);
    return bytes;
}

TEST(CInkPage, BytesNotOfOurFormatAreKeptExactlyAndCannotBeEdited)
{
    const QByteArray own = SampleNotes().ToBytes();
    const struct {
        const char* pszName;
        QByteArray bytes;
    } cases[] = {
        {"another program's", QByteArray::fromHex("7b5c727466315c616e73690d0a")},
        {"a later version", WithVersion(own, 2)},
        {"trailing bytes", own + QByteArray("\x00\x01", 2)},
        {"cut short", own.left(own.size() - 3)},
        {"one byte", QByteArray(1, 'Q')},
    };
    for (const auto& c : cases) {
        CInkPage page;
        page.Load(c.bytes);
        EXPECT_TRUE(page.IsForeign()) << c.pszName;
        EXPECT_TRUE(page.GetNotes().IsEmpty()) << c.pszName;
        page.InsertText(0, QStringLiteral("x"));
        CInkStroke stroke;
        stroke.points = {QPoint(1, 1)};
        page.AddStroke(stroke);
        EXPECT_FALSE(page.IsModified()) << c.pszName;
        EXPECT_EQ(page.Save(), c.bytes) << c.pszName;
    }
}

TEST(CInkPage, ClearDropsUnreadableBytesAndMakesThePageEditable)
{
    CInkPage page;
    page.Load(QByteArray("not notes"));
    page.Clear();
    EXPECT_FALSE(page.IsForeign());
    EXPECT_TRUE(page.Save().isEmpty());
    page.InsertText(0, QStringLiteral("new"));
    EXPECT_EQ(CNotesData::TextOf(page.Save()), QStringLiteral("new"));
}

TEST(CInkPage, TextPositionsAreClamped)
{
    CInkPage page;
    page.InsertText(99, QStringLiteral("abc"));
    page.RemoveText(-5, 1);
    page.RemoveText(2, 99);  // nothing after the end
    EXPECT_EQ(page.GetText(), QStringLiteral("bc"));
}

}  // namespace
