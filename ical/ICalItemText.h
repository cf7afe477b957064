#pragma once
// Small readings and rewrites of one item's calendar text (a VCALENDAR holding one
// single or series with its changed occurrences). A text whose structure is damaged reads
// as no calendar at all, never as far as libical would take it.
#include <QByteArray>
#include <QString>

// The UID of the calendar's first event or to-do, as an import keeps it (ICalUidAsRead);
// empty when there is none.
QString ICalFirstUid(const QByteArray& text);

// The same calendar under another UID, every component's SUMMARY followed by strSuffix;
// empty when the text does not read as iCalendar.
QByteArray ICalRenamedCopy(const QByteArray& text, const QString& strUid, const QString& strSuffix);

// Whether two calendar texts hold the same items, whatever their line folding and order
// of lines, and apart from the stamps a writer sets (DTSTAMP, LAST-MODIFIED, PRODID).
// False when either does not read as iCalendar.
bool ICalSameItem(const QByteArray& a, const QByteArray& b);
