#pragma once
// A time zone that a calendar file defines (under a name of its own, such as "(UTC+01:00)
// Amsterdam, Berlin, ..." or "Customized Time Zone", or under a database name) matched to
// a zone of the system's database that has the same UTC offset at every instant of the
// years a series uses: the same offset at the start of each year and the same changes, to
// the second. One object per zone definition of a file; what it has compared is kept.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <libical/ical.h>

class QTimeZone;

class CZoneMatch {
public:
    // The file's zone, not owned; it outlives this object.
    explicit CZoneMatch(icaltimezone* pFileZone) : m_pFileZone(pFileZone) {}

    // The database zone equal to the file's zone in every year from nFirstYear to
    // nLastYear. Among equal zones the first of preferred, then one whose city strTzid
    // names, then the local zone, then the first by name. Empty, with *pstrWhy, when none is.
    QString ZoneFor(int nFirstYear, int nLastYear, const QStringList& preferred, const QString& strTzid,
                    QString* pstrWhy);

    // The years to compare for a series from nFirstYear to nLastYear: past the years the
    // database lists changes for, both zones repeat one yearly rule, so two such years
    // stand for all later ones.
    static void YearsToCompare(int nFirstYear, int nLastYear, int* pnFrom, int* pnTo);

private:
    // The offset at the start of a year (00:00 UTC of 1 January) and each change within it:
    // the instant (UTC seconds) and the offset from then on.
    struct YearOffsets {
        int nStartOffset = 0;
        QVector<QPair<int64_t, int>> changes;
        bool operator==(const YearOffsets&) const = default;
    };
    const YearOffsets& FileYear(int nYear);
    static YearOffsets SystemYear(const QTimeZone& zone, int nYear);
    int FileOffset(int64_t nUtc) const;
    bool SameInYears(const QByteArray& id, int nFrom, int nTo, int* pnDiffering);
    QVector<QByteArray> Candidates(const QStringList& preferred, const QString& strTzid) const;

    icaltimezone* m_pFileZone;
    QHash<int, YearOffsets> m_fileYears;
    QHash<QByteArray, QHash<int, bool>> m_same;  // by zone id and year: equal to the file's
    QHash<QString, QString> m_found;             // by "<from> <to> <preferred>": the zone
};
