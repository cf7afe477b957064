#pragma once
// The option values, read once at start-up from the registry key
// HKEY_LOCAL_MACHINE\SOFTWARE\Quillday, plus NoDateText: the date the store uses for "not
// set" (1 January 4501) in the system short-date format. Integer fields are 32-bit; the
// flags hold 0 or 1 when written by the program, and any non-zero value counts as on.
#include "platform/WinTypes.h"

#include <QString>

// The "Language" setting: the locale's language, Korean or English.
constexpr DWORD kLanguageFromLocale = 0;
constexpr DWORD kLanguageKorean = 1;
constexpr DWORD kLanguageEnglish = 2;
// The language code of a "Language" setting; empty for the locale's.
QString LanguageCodeOf(DWORD dwLanguage);

struct AgendaSettings {
    QString NoDateText;
    int FontSize = 10;                 // "FontSize": pixel height of the day-list text, 1..255
    QString FontName = QStringLiteral("mirafon");  // "FontName"
    BOOL Use24Hour = 0;                // "24hour"
    BOOL Multiline = 0;                // "Multiline"
    BOOL NotesPenDefault = 1;          // "NotesPenDefault"
    BOOL UseSoftKey = 0;               // "UseSoftKey"
    BOOL BoldAllDayEvent = 0;          // "BoldAllDayEvent"
    BOOL BoldImportantTask = 0;        // "BoldImportantTask"
    BOOL ShowTaskStart = 0;            // "ShowTaskStart"
    BOOL ShowCompleteTask = 1;         // "ShowCompleteTask"
    DWORD Language = 0;                // "Language": kLanguage... below

    // Computes NoDateText, then reads every value with its default. Missing, unreadable
    // and oversized values give their defaults, and so does a FontSize outside 1..255;
    // nothing is reported.
    void Load();
    // Writes the eight editable values in their fixed order ("FontSize" and "FontName" are
    // never written). UseSoftKey takes effect only at the next start, so the options sheet
    // passes the chosen value here while the record keeps the one read at start-up.
    void Save(BOOL bUseSoftKeyToWrite) const;
    void Save() const { Save(UseSoftKey); }

    // The not-set date written with the short-date format of the 2010-01-01 text given:
    // the first "2010", else the first "10", becomes "4501"; otherwise the text stays.
    static QString MakeNoDateText(const QString& strFormatted2010);
    // MakeNoDateText of 1 January 2010 in the system short-date format.
    static QString ComputeNoDateText();
};

// Where the values live.
extern const char* const QUILLDAY_REGISTRY_SUBKEY;  // "SOFTWARE\Quillday"
