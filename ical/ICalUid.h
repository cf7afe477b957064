#pragma once
// UIDs as they survive a round trip through an iCalendar file.
#include <QByteArray>
#include <QString>

// The UID that a file holding strUid reads back as (libical trims white space at both ends
// of a value and drops carriage returns): strUid itself for any usual UID. Empty when
// nothing would be left.
QString ICalUidAsRead(const QString& strUid);

// A UID for an item whose file gives none (or one of white space only), derived from the
// component's text: the same file imported again finds the same item.
QString ICalDerivedUid(const QByteArray& component);
