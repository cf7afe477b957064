#include "calendar/AnniversaryFile.h"
#include "calendar/WideChar.h"
#include "platform/ProgramFolder.h"
#include "platform/TextLineReader.h"
#include "platform/XdgPaths.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kFileName = QStringLiteral("anniversary.dat");
const QString kFallbackFileName = QStringLiteral("_anniversary.dat");
constexpr qsizetype kColourLineLength = 9;  // [#RRGGBB]

// Opens anniversary.dat, putting _anniversary.dat in its place when it is missing.
bool OpenAnniversaryLines(const QString& folder, CTextLineReader* pReader)
{
    const QString path = QDir(folder).filePath(kFileName);
    if (pReader->Open(path))
        return true;
    const QString fallback = QDir(folder).filePath(kFallbackFileName);
    if (!QFile::exists(fallback) || QFile::exists(path))
        return false;
    if (QFile::rename(fallback, path))
        return pReader->Open(path);
    // The folder may not be writable: read the shipped file where it lies.
    return pReader->Open(fallback);
}

void ReadSpecialDays(CTextLineReader* pReader, SpecialDayList* pList)
{
    COLORREF crColor = 0;
    QString line;
    while (pReader->ReadLine(&line)) {
        if (ReadColourLine(line, &crColor))
            continue;
        if (line.isEmpty() || line.front() == u'#')
            continue;
        pList->Add(ParseSpecialDayLine(line, crColor));
    }
}

}  // namespace

bool ReadColourLine(const QString& line, COLORREF* pColor)
{
    qsizetype nLength = line.size();
    while (nLength > 0 && IsWideSpace(line[nLength - 1]))
        --nLength;
    if (nLength < 2 || line.front() != u'[' || line[nLength - 1] != u']')
        return false;
    if (nLength == kColourLineLength) {
        const QStringView text(line);
        const long nRed = ReadFieldNumber(text.mid(2, 2), 16);
        const long nGreen = ReadFieldNumber(text.mid(4, 2), 16);
        const long nBlue = ReadFieldNumber(text.mid(6, 2), 16);
        *pColor = static_cast<COLORREF>(nRed + 256 * nGreen + 65536 * nBlue);
    }
    return true;
}

SpecialDay* ParseSpecialDayLine(const QString& line, COLORREF crColor)
{
    QStringView text(line);
    const bool bLunar = !text.isEmpty() && text.front() == u'L';
    if (bLunar)
        text = text.mid(1);
    const int32_t nYear = static_cast<int32_t>(ReadFieldNumber(text.mid(0, 4), 10));
    const int32_t nMonth = static_cast<int32_t>(ReadFieldNumber(text.mid(5, 2), 10));
    const int32_t nDay = static_cast<int32_t>(ReadFieldNumber(text.mid(8, 2), 10));
    const QString strName = text.size() > 11 ? text.mid(11).toString() : QString();
    // A lunar day of a leap month has an L between month and day: L0000-04L15.
    const bool bLeapMonth = bLunar && text.size() > 7 && text[7] == u'L';
    return new SpecialDay(nYear, nMonth, nDay, bLunar ? TRUE : FALSE, strName, crColor, bLeapMonth ? TRUE : FALSE);
}

BOOL LoadSpecialDaysFrom(SpecialDayList* pList, const QString& folder)
{
    CTextLineReader reader;
    if (!OpenAnniversaryLines(folder, &reader))
        return FALSE;
    ReadSpecialDays(&reader, pList);
    reader.Close();
    return TRUE;
}

QString UserSpecialDaysPath()
{
    return XdgDataHome() + QStringLiteral("/quillday/") + kFileName;
}

QString ProgramSpecialDaysPath()
{
    return QDir(GetProgramFolder()).filePath(kFileName);
}

QString PersonalSpecialDaysPath()
{
    return IsProgramFolderChosen() ? ProgramSpecialDaysPath() : UserSpecialDaysPath();
}

BOOL LoadSpecialDays(SpecialDayList* pList)
{
    // A person's own file stands in for the one installed with the program, unless the
    // data files were named with --home or QUILLDAY_HOME.
    if (!IsProgramFolderChosen() && QFileInfo::exists(UserSpecialDaysPath())) {
        CTextLineReader reader;
        if (reader.Open(UserSpecialDaysPath())) {
            ReadSpecialDays(&reader, pList);
            reader.Close();
            return TRUE;
        }
    }
    return LoadSpecialDaysFrom(pList, GetProgramFolder());
}
