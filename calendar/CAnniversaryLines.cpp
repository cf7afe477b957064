#include "calendar/CAnniversaryLines.h"
#include "calendar/AnniversaryFile.h"
#include "platform/TextLineReader.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>

namespace {

const QString kNewLineEnd = QStringLiteral("\r\n");
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr qsizetype kUnitSize = 2;  // bytes of a UTF-16 code unit
constexpr COLORREF kNoColour = 0xFFFFFFFF;  // beyond every 0x00BBGGRR value

// The colour a colour line sets; kNoColour for other lines and for bracketed text.
COLORREF ColourOfLine(const QString& strText)
{
    COLORREF crColour = kNoColour;
    ReadColourLine(strText, &crColour);
    return crColour;
}

bool IsColourLine(const QString& strText)
{
    COLORREF crUnused = 0;
    return ReadColourLine(strText, &crUnused);
}

bool IsEntryLine(const QString& strText)
{
    return !strText.isEmpty() && strText.front() != u'#' && !IsColourLine(strText);
}

// The line end as the file's readers remove it: up to two trailing CR or LF.
qsizetype LineEndLength(QStringView line)
{
    qsizetype n = 0;
    while (n < 2 && n < line.size() && (line[line.size() - 1 - n] == u'\r' || line[line.size() - 1 - n] == u'\n'))
        ++n;
    return n;
}

bool CopyFile(const QString& strFrom, const QString& strTo, QString* pstrError)
{
    QFile from(strFrom);
    if (!from.open(QIODevice::ReadOnly)) {
        *pstrError = from.errorString();
        return false;
    }
    const QByteArray bytes = from.readAll();
    QSaveFile to(strTo);
    if (!to.open(QIODevice::WriteOnly) || to.write(bytes) != bytes.size() || !to.commit()) {
        *pstrError = to.errorString();
        return false;
    }
    return true;
}

}  // namespace

bool CAnniversaryLines::LoadUtf16(const QByteArray& bytes)
{
    m_lines.clear();
    if (bytes.size() < kUnitSize || qFromLittleEndian<char16_t>(bytes.constData()) != kByteOrderMark)
        return false;
    QString text(static_cast<qsizetype>(bytes.size() / kUnitSize - 1), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<char16_t>(bytes.constData() + kUnitSize * (i + 1)));
    qsizetype nStart = 0;
    while (nStart < text.size()) {
        const qsizetype nNewLine = text.indexOf(u'\n', nStart);
        const qsizetype nEnd = nNewLine < 0 ? text.size() : nNewLine + 1;
        const QStringView line = QStringView(text).mid(nStart, nEnd - nStart);
        const qsizetype nEndLength = LineEndLength(line);
        AddLine(line.chopped(nEndLength).toString(), line.last(nEndLength).toString());
        nStart = nEnd;
    }
    IndexLines();
    return true;
}

bool CAnniversaryLines::Load(const QString& strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (LoadUtf16(file.readAll()))
        return true;
    // The ANSI code page: the shared reader converts; new line ends are CRLF.
    CTextLineReader reader;
    if (!reader.Open(strPath))
        return false;
    QString strText;
    while (reader.ReadLine(&strText))
        AddLine(strText, kNewLineEnd);
    IndexLines();
    return true;
}

void CAnniversaryLines::AddLine(const QString& strText, const QString& strEnd)
{
    Line line;
    line.strText = strText;
    line.strEnd = strEnd;
    m_lines.push_back(line);
}

void CAnniversaryLines::IndexLines()
{
    m_days.clear();
    int nGroup = 0;
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        Line& line = m_lines[i];
        if (ColourOfLine(line.strText) != kNoColour)
            ++nGroup;
        line.nGroup = nGroup;
        line.bDay = IsEntryLine(line.strText) && ReadSpecialDayLine(line.strText, &line.day);
        if (line.bDay)
            m_days.push_back(i);
    }
}

QByteArray CAnniversaryLines::ToBytes() const
{
    QString text(1, QChar(kByteOrderMark));
    for (const Line& line : m_lines)
        text += line.strText + line.strEnd;
    QByteArray bytes(text.size() * kUnitSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<char16_t>(text[i].unicode(), bytes.data() + kUnitSize * i);
    return bytes;
}

bool CAnniversaryLines::Save(const QString& strPath, QString* pstrError) const
{
    const QByteArray bytes = ToBytes();
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *pstrError = file.errorString();
        return false;
    }
    return true;
}

bool CAnniversaryLines::StartFrom(const QString& strProgramFile, const QString& strPersonalFile, QString* pstrError)
{
    if (QFileInfo::exists(strPersonalFile))
        return true;
    if (!QDir().mkpath(QFileInfo(strPersonalFile).absolutePath())) {
        *pstrError = QStringLiteral("cannot make the folder %1").arg(QFileInfo(strPersonalFile).absolutePath());
        return false;
    }
    const QFileInfo program(strProgramFile);
    const QString strShipped = program.dir().filePath(QLatin1Char('_') + program.fileName());
    return CopyFile(program.exists() ? strProgramFile : strShipped, strPersonalFile, pstrError);
}

AnniversaryFields CAnniversaryLines::GetDay(int nIndex) const
{
    return m_lines[m_days[nIndex]].day;
}

int CAnniversaryLines::GetDayGroup(int nIndex) const
{
    return m_lines[m_days[nIndex]].nGroup;
}

QString CAnniversaryLines::GetDayLine(int nIndex) const
{
    return m_lines[m_days[nIndex]].strText;
}

QList<COLORREF> CAnniversaryLines::GetGroupColours() const
{
    QList<COLORREF> colours{0};
    for (const Line& line : m_lines) {
        const COLORREF crColour = ColourOfLine(line.strText);
        if (crColour != kNoColour)
            colours.append(crColour);
    }
    return colours;
}

int CAnniversaryLines::FindDay(const AnniversaryFields& day) const
{
    for (int i = 0; i < GetDayCount(); ++i) {
        if (GetDay(i) == day)
            return i;
    }
    return -1;
}

QStringList CAnniversaryLines::Lines() const
{
    QStringList lines;
    for (const Line& line : m_lines)
        lines.append(line.strText);
    return lines;
}

int CAnniversaryLines::GroupCount() const
{
    return m_lines.empty() ? 1 : m_lines.back().nGroup + 1;
}

int CAnniversaryLines::InsertionLine(int nGroup) const
{
    int nAfter = -1;  // the last entry line of the group, else its colour line
    int nFirstOfNext = static_cast<int>(m_lines.size());
    for (int i = 0; i < static_cast<int>(m_lines.size()); ++i) {
        const Line& line = m_lines[i];
        if (line.nGroup > nGroup) {
            nFirstOfNext = i;
            break;
        }
        if (line.nGroup == nGroup && (IsEntryLine(line.strText) || (nAfter < 0 && ColourOfLine(line.strText) != kNoColour)))
            nAfter = i;
    }
    if (nAfter >= 0)
        return nAfter + 1;
    // An empty first group: before the comments that introduce the next group.
    int nAt = nFirstOfNext;
    while (nAt > 0 && nAt < static_cast<int>(m_lines.size()) && m_lines[nAt - 1].strText.startsWith(u'#'))
        --nAt;
    return nAt;
}

void CAnniversaryLines::InsertDayLine(int nAt, const AnniversaryFields& day, int nGroup)
{
    if (nAt > 0 && m_lines[nAt - 1].strEnd.isEmpty())
        m_lines[nAt - 1].strEnd = kNewLineEnd;
    Line line;
    line.strText = FormatSpecialDayLine(day);
    line.strEnd = kNewLineEnd;
    line.nGroup = nGroup;
    m_lines.insert(m_lines.begin() + nAt, line);
    IndexLines();
}

SpecialDayProblem CAnniversaryLines::AddDay(const AnniversaryFields& day, int nGroup)
{
    const SpecialDayProblem problem = CheckSpecialDay(day);
    if (problem != SpecialDayProblem::None)
        return problem;
    const int nInGroup = nGroup < 0 || nGroup >= GroupCount() ? 0 : nGroup;
    InsertDayLine(InsertionLine(nInGroup), day, nInGroup);
    return SpecialDayProblem::None;
}

SpecialDayProblem CAnniversaryLines::ChangeDay(int nIndex, const AnniversaryFields& day, int nGroup)
{
    const SpecialDayProblem problem = CheckSpecialDay(day);
    if (problem != SpecialDayProblem::None || nIndex < 0 || nIndex >= GetDayCount())
        return problem;
    Line& line = m_lines[m_days[nIndex]];
    if (line.nGroup == nGroup) {
        // An unchanged day keeps its line as it was written.
        if (!(line.day == day))
            line.strText = FormatSpecialDayLine(day);
        IndexLines();
        return SpecialDayProblem::None;
    }
    DeleteDay(nIndex);
    return AddDay(day, nGroup);
}

bool CAnniversaryLines::DeleteDay(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetDayCount())
        return false;
    m_lines.erase(m_lines.begin() + m_days[nIndex]);
    IndexLines();
    return true;
}
