#pragma once
// The key-to-text map of the user interface, filled from orlith.inf.
//
// File form: UTF-16LE with byte-order mark, else the ANSI code page; one entry a line,
// "KEY = value", split at the first "=", both sides trimmed of white space; no escapes,
// no sections. Lines starting with "#" in the very first column and empty lines are
// skipped, as are lines without "=". A key given twice keeps its last value. Lines are
// read in pieces of at most 254 units, each piece handled as a line of its own.
#include "platform/WinTypes.h"
#include <QHash>
#include <QString>

class StringTable {
public:
    // Stores value under key, replacing an earlier value.
    void SetAt(const QString& key, const QString& value) { m_map.insert(key, value); }
    // TRUE and *pValue set when the key is present (exact, case-sensitive match).
    BOOL Lookup(const QString& key, QString* pValue) const;
    int GetCount() const { return static_cast<int>(m_map.size()); }
    QList<QString> Keys() const { return m_map.keys(); }

private:
    QHash<QString, QString> m_map;
};

// Reads the strings of the user-interface language (UiLanguage.h) from the program folder
// into table, with English under any key the language's file lacks; FALSE only when
// orlith.inf cannot be opened.
BOOL LoadResourceStrings(StringTable* pTable);
// The same with an explicit file path.
BOOL LoadResourceStringsFrom(StringTable* pTable, const QString& path);
// Handles one line of the file (line end already removed).
void ReadResourceLine(StringTable* pTable, const QString& line);

// The stored text of the key, or an empty text when it is absent.
QString GetResourceString(const StringTable& table, const QString& key);
// The name of month 1..12 ("RC_COMMON_JANUARY" ...); empty for any other month.
QString GetMonthName(const StringTable& table, int nMonth);
// The short name of day 1..7 (1 = Monday ... 7 = Sunday), "RC_COMMON_MONDAY_SHORT" ...;
// empty for any other day.
QString GetWeekdayShortName(const StringTable& table, int nDay);
