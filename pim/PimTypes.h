#pragma once
// Constants of the store's object model: folder and item types, importance, recurrence
// kinds, weekday masks, the "no date" value and the change-notification codes.
#include "platform/WinTypes.h"
#include <cstdint>

// GetDefaultFolder
constexpr int olFolderCalendar = 9;
constexpr int olFolderTasks = 13;

// CreateItem, IPOutlookItem::GetItemType
constexpr int olAppointmentItem = 1;
constexpr int olTaskItem = 3;

// ITask::get_Importance
constexpr int olImportanceLow = 0;
constexpr int olImportanceNormal = 1;
constexpr int olImportanceHigh = 2;

// IRecurrencePattern::get_RecurrenceType
constexpr int olRecursDaily = 0;
constexpr int olRecursWeekly = 1;
constexpr int olRecursMonthly = 2;    // DayOfMonth of every Interval months
constexpr int olRecursMonthNth = 3;   // Instance-th DayOfWeekMask day of every Interval months
constexpr int olRecursYearly = 5;     // DayOfMonth of MonthOfYear every Interval years
constexpr int olRecursYearNth = 6;    // Instance-th DayOfWeekMask day of MonthOfYear

// IRecurrencePattern::get_DayOfWeekMask bits
constexpr int olSunday = 1;
constexpr int olMonday = 2;
constexpr int olTuesday = 4;
constexpr int olWednesday = 8;
constexpr int olThursday = 16;
constexpr int olFriday = 32;
constexpr int olSaturday = 64;

// A date that is not set: 1 January 4501.
constexpr DATE kNoDate = 949998.0;

// Codes of the change notifications (CPimNotifier).
constexpr DWORD DB_CEOID_CREATED = 0x401;
constexpr DWORD DB_CEOID_RECORD_DELETED = 0x403;
constexpr DWORD DB_CEOID_CHANGED = 0x406;

// Store-specific failure: the item was deleted or the store was closed meanwhile.
constexpr HRESULT E_PIM_NOTFOUND = static_cast<HRESULT>(0x80040010u);
// Logon: the disk has no room for what opening the store must write (the store is unchanged).
constexpr HRESULT E_PIM_DISKFULL = static_cast<HRESULT>(0x80070070u);
// Logon succeeded, but the store can only be read (a file or file system the process may
// not write, or a full disk); every save fails. The reason is the store's ReadOnlyReason.
constexpr HRESULT S_PIM_READONLY = static_cast<HRESULT>(0x00040012u);
// Display: the store offers no detail form in this build.
constexpr HRESULT E_PIM_NOFORM = static_cast<HRESULT>(0x80040011u);
