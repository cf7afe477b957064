#pragma once
// Small conversions of the store's detail forms: store dates (OLE automation dates in
// local wall time) to and from Qt's date and time, and the reminder's minutes.
#include "platform/WinTypes.h"
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVector>

class QDateEdit;
class QWidget;

// The wall time of a store date, to the minute; invalid for kNoDate or a bad value.
QDateTime DateTimeOfDate(DATE dt);
// The store date of a day and time of day (seconds dropped); kNoDate for an invalid day.
DATE DateOfQt(const QDate& date, const QTime& time);

// The date pattern of the forms' date fields: the system short date with the year in
// full. The time pattern: 24-hour or with AM/PM.
QString FormDatePattern();
QString FormTimePattern(bool bUse24Hour);

// A date field of the forms: the forms' date pattern, a drop-down calendar kept on the
// screen, and the days the week can show.
QDateEdit* NewFormDateEdit(QWidget* pParent);

// The choices of the reminder list, in minutes before the start.
const QVector<int>& ReminderChoices();
// Minutes typed into the reminder field: a whole number from 0 to kMaxReminderMinutes,
// blanks around it allowed. false for anything else.
bool ParseReminderMinutes(const QString& strText, int* pnMinutes);
constexpr int kMaxReminderMinutes = 4 * 7 * 24 * 60;  // four weeks
