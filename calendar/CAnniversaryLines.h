#pragma once
// anniversary.dat held line by line for editing: days can be added, changed and deleted,
// and every other line (comments, colour lines, blank lines, entry lines the editor cannot
// read) is written back exactly as it was, with its own line end. Written as UTF-16LE with
// a byte-order mark and CRLF for new lines; a file read in the ANSI code page comes back
// in that form too.
//
// Colour groups: group 0 holds the days before the first colour line ([#RRGGBB]), group k
// the days after the k-th colour line, in the colour that line sets.
#include "calendar/AnniversaryFields.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class CAnniversaryLines {
public:
    // False when the file cannot be read; the object is then empty.
    bool Load(const QString& strPath);
    // The bytes of a UTF-16LE file with its byte-order mark; false for other bytes.
    bool LoadUtf16(const QByteArray& bytes);
    QByteArray ToBytes() const;
    // Writes a new file beside the old one and renames it into place; false with
    // *pstrError (the system's reason) when it cannot.
    bool Save(const QString& strPath, QString* pstrError) const;

    // The person's file, made from a copy of the program folder's file (or its
    // _anniversary.dat) when it does not exist yet; false when no copy could be made.
    static bool StartFrom(const QString& strProgramFile, const QString& strPersonalFile, QString* pstrError);

    int GetDayCount() const { return static_cast<int>(m_days.size()); }
    // The nIndex-th day the editor can read, in file order.
    AnniversaryFields GetDay(int nIndex) const;
    int GetDayGroup(int nIndex) const;
    QString GetDayLine(int nIndex) const;
    // Colour of each group: group 0 is black (0), then one per colour line (0x00BBGGRR).
    QList<COLORREF> GetGroupColours() const;
    // The index of a day with these fields; -1 when there is none.
    int FindDay(const AnniversaryFields& day) const;
    // The texts of all lines, without line ends (the lines the loader reads).
    QStringList Lines() const;

    // Each writes nothing on a problem and returns it. A day goes after the last entry
    // line of its group (a changed day stays where it is unless its group changes).
    SpecialDayProblem AddDay(const AnniversaryFields& day, int nGroup);
    SpecialDayProblem ChangeDay(int nIndex, const AnniversaryFields& day, int nGroup);
    bool DeleteDay(int nIndex);

private:
    struct Line {
        QString strText;
        QString strEnd;  // the line end as read ("\r\n", "\n", or nothing at the end)
        int nGroup = 0;
        bool bDay = false;  // an entry line the editor can read
        AnniversaryFields day;
    };

    void AddLine(const QString& strText, const QString& strEnd);
    void IndexLines();
    int GroupCount() const;
    // Where a new day of the group goes, as a line index.
    int InsertionLine(int nGroup) const;
    void InsertDayLine(int nAt, const AnniversaryFields& day, int nGroup);

    std::vector<Line> m_lines;
    std::vector<int> m_days;  // line index of each day
};
