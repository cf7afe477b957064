#pragma once
// Where the changed occurrences (components with a RECURRENCE-ID) of an iCalendar file
// are, by kind and UID: found by the import's first pass, looked up for each series by
// the second, and those whose series never took them told at the end.
#include "ical/CICalStream.h"
#include "ical/ICalPrepared.h"
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

class CICalOverrideIndex {
public:
    // First pass: a changed occurrence found in the file.
    void Add(const ICalBlock& block);
    void Clear() { m_overrides.clear(); }

    // The changed occurrences of the series read from master, in file order.
    QVector<ICalBlock> Of(const ICalBlock& master) const;
    // What names the series of master among those marked used.
    static QString KeyOf(const ICalBlock& master);
    // The series of these keys took their changed occurrences.
    void MarkUsed(const QSet<QString>& keys);
    // Changed occurrences whose series is not in the file, in file order.
    ICalPrepared Unused() const;

private:
    // The changed occurrences of one kind and UID.
    struct Blocks {
        QVector<ICalBlock> blocks;
        bool bUsed = false;  // a series of the file took them
    };
    QHash<QString, Blocks> m_overrides;  // by "<kind> <UID>"
};
