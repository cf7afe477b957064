// The iCalendar file as a stream of components: the same components, byte ranges and
// structure errors however the file's lines fall on the pieces it is read in.
#include "ical/CICalStream.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    QByteArray name;
    QString strUid;
    bool bOverride = false;
    QByteArray bytes;
    QByteArray again;  // Read() of the block afterwards
};

bool ScanText(const QByteArray& text, QVector<Seen>* pSeen, QString* pstrError)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    CICalStream stream(&buffer);
    QVector<ICalBlock> blocks;
    const bool bOk = stream.Scan(
        [&](const ICalBlock& b, const QByteArray& bytes) {
            pSeen->push_back({b.name, b.strUid, b.bOverride, bytes, QByteArray()});
            blocks.push_back(b);
            return true;
        },
        pstrError);
    for (int i = 0; i < blocks.size(); ++i)
        (*pSeen)[i].again = stream.Read(blocks[i]);
    return bOk;
}

TEST(ICalStream, ComponentsComeWithTheirBytesUidAndRecurrenceId)
{
    const QByteArray event = "BEGIN:VEVENT\r\nUID:abc\r\n def\r\nRECURRENCE-ID:20240101T100000\r\n"
                             "BEGIN:VALARM\r\nEND:VALARM\r\nEND:VEVENT\r\n";
    const QByteArray todo = "BEGIN:VTODO\nUID;X-P=\"a:b\":t1\nEND:VTODO\n";
    const QByteArray text = "\xEF\xBB\xBF" "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + event + todo + "END:VCALENDAR\r\n\r\n";
    QVector<Seen> seen;
    QString strError;
    ASSERT_TRUE(ScanText(text, &seen, &strError)) << strError.toStdString();
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].name, "VEVENT");
    EXPECT_EQ(seen[0].strUid, "abcdef");
    EXPECT_TRUE(seen[0].bOverride);
    EXPECT_EQ(seen[0].bytes, event);
    EXPECT_EQ(seen[0].again, event);
    EXPECT_EQ(seen[1].name, "VTODO");
    EXPECT_EQ(seen[1].strUid, "t1");
    EXPECT_FALSE(seen[1].bOverride);
    EXPECT_EQ(seen[1].bytes, todo);
}

// Lines longer than a piece, and line ends on piece boundaries, come out whole.
TEST(ICalStream, LinesAcrossPiecesComeOutWhole)
{
    for (qsizetype nPad : {0, 1, 2, 3, (1 << 20) - 40, (1 << 20) - 41, 3 << 20}) {
        const QByteArray description = "DESCRIPTION:" + QByteArray(nPad, 'x') + "\r\n";
        const QByteArray event = "BEGIN:VEVENT\r\nUID:u\r\n" + description + "END:VEVENT\r\n";
        const QByteArray text = "BEGIN:VCALENDAR\r\n" + event + event + "END:VCALENDAR\r\n";
        QVector<Seen> seen;
        QString strError;
        ASSERT_TRUE(ScanText(text, &seen, &strError)) << nPad << strError.toStdString();
        ASSERT_EQ(seen.size(), 2) << nPad;
        EXPECT_EQ(seen[0].bytes, event) << nPad;
        EXPECT_EQ(seen[1].bytes, event) << nPad;
        EXPECT_EQ(seen[1].again, event) << nPad;
    }
}

TEST(ICalStream, StructureErrorsAreNamed)
{
    struct Case {
        QByteArray text;
        const char* pszError;
    } const cases[] = {
        {"", "no VCALENDAR found"},
        {"hello\r\n", "line 1: text outside a VCALENDAR"},
        {"BEGIN:VEVENT\r\nEND:VEVENT\r\n", "line 1: not inside a VCALENDAR"},
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VTODO\r\n", "line 3: END:VTODO does not close a component"},
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n", "BEGIN:VEVENT is never closed"},
        // Lines libical would free twice.
        {"BEGIN:VCALENDAR\r\nBEGIN;\r\nEND:VCALENDAR\r\n", "line 2: a BEGIN or END line that is not of the form"},
        {"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND;X=1:VEVENT\r\nEND:VCALENDAR\r\n", "line 3: a BEGIN or END line"},
        {"BEGIN:VCALENDAR\r\nBEGIN:\r\nEND:VCALENDAR\r\n", "line 2: a BEGIN or END line"},
        {"BEGIN:VCALENDAR\r\nBEGIN:V EVENT\r\nEND:VCALENDAR\r\n", "line 2: a BEGIN or END line"},
        {QByteArray("BEGIN:VCALENDAR\r\n") + QByteArray("BEGIN:VALARM\r\n").repeated(10000),
         "line 17: components nested more than 16 deep"},
    };
    for (const Case& c : cases) {
        QVector<Seen> seen;
        QString strError;
        EXPECT_FALSE(ScanText(c.text, &seen, &strError)) << c.text.constData();
        EXPECT_TRUE(strError.contains(QLatin1String(c.pszError))) << strError.toStdString();
    }
}

// Parsing a component feeds libical whole unfolded lines.
TEST(ICalStream, ParseUnfoldsLines)
{
    const QByteArray text = "BEGIN:VEVENT\r\nUID:u\r\nSUMMARY:one\r\n  two\r\n\tthree\r\nDESCRIPTION:" + QByteArray(1 << 20, 'y')
                          + "\r\nEND:VEVENT\r\n";
    icalcomponent* pComp = CICalStream::Parse(text);
    ASSERT_NE(pComp, nullptr);
    EXPECT_STREQ(icalcomponent_get_summary(pComp), "one twothree");
    EXPECT_EQ(qstrlen(icalcomponent_get_description(pComp)), 1 << 20);
    icalcomponent_free(pComp);
}

}  // namespace
