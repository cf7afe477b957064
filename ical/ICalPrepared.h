#pragma once
// What reading one top-level component hands to storing: the items as the file wants them
// stored, and why anything of it was skipped.
#include "calendar/AnniversaryFields.h"
#include "pim/CItemRecord.h"
#include <QString>
#include <QStringList>
#include <QVector>

// One item as the file wants it stored.
struct ICalWanted {
    CItemRecord record;
    QVector<CItemRecord> exceptions;  // ascending original start
};

// An event that becomes a special day instead of an item.
struct ICalSpecialDay {
    QString strUid;
    AnniversaryFields day;
};

// One component read and checked.
struct ICalPrepared {
    QStringList skipped;        // "<UID>: <reason>", in file order
    QVector<ICalWanted> items;  // the item, then any completed occurrences of a recurring task
    QVector<ICalSpecialDay> specialDays;
};

// One series of a rule split by weekday: its weekday with ordinal ("2MO") and its rule.
struct ICalRulePart {
    QString strName;
    CRecurrenceRule rule;
};

// "<UID>: <reason>", with "(no UID)" for an item without one.
inline QString ICalSkipLine(const QString& strUid, const QString& strReason)
{
    return QStringLiteral("%1: %2").arg(strUid.isEmpty() ? QStringLiteral("(no UID)") : strUid, strReason);
}
