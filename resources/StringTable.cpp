#include "resources/StringTable.h"
#include "resources/UiLanguage.h"
#include "calendar/WideChar.h"
#include "platform/ProgramFolder.h"
#include "platform/TextLineReader.h"

namespace {

// Month keys in month order; the February key is spelt as the data files have it.
const char* const g_monthKeys[12] = {
    "RC_COMMON_JANUARY", "RC_COMMON_FEBURARY", "RC_COMMON_MARCH",     "RC_COMMON_APRIL",
    "RC_COMMON_MAY",     "RC_COMMON_JUNE",     "RC_COMMON_JULY",      "RC_COMMON_AUGUST",
    "RC_COMMON_SEPTEMBER", "RC_COMMON_OCTOBER", "RC_COMMON_NOVEMBER", "RC_COMMON_DECEMBER",
};

// Weekday keys, Monday first.
const char* const g_weekdayKeys[7] = {
    "RC_COMMON_MONDAY", "RC_COMMON_TUESDAY", "RC_COMMON_WEDNESDAY", "RC_COMMON_THURSDAY",
    "RC_COMMON_FRIDAY", "RC_COMMON_SATURDAY", "RC_COMMON_SUNDAY",
};

}  // namespace

BOOL StringTable::Lookup(const QString& key, QString* pValue) const
{
    const auto it = m_map.constFind(key);
    if (it == m_map.constEnd())
        return FALSE;
    *pValue = it.value();
    return TRUE;
}

void ReadResourceLine(StringTable* pTable, const QString& line)
{
    if (line.isEmpty() || line.front() == u'#')
        return;
    const qsizetype nEquals = line.indexOf(u'=');
    if (nEquals < 0)
        return;
    const QStringView text(line);
    pTable->SetAt(TrimWideSpace(text.left(nEquals)), TrimWideSpace(text.mid(nEquals + 1)));
}

BOOL LoadResourceStringsFrom(StringTable* pTable, const QString& path)
{
    CTextLineReader reader;
    if (!reader.Open(path))
        return FALSE;
    QString line;
    while (reader.ReadLine(&line))
        ReadResourceLine(pTable, line);
    reader.Close();
    return TRUE;
}

BOOL LoadResourceStrings(StringTable* pTable)
{
    const QString strLanguage = UiLanguage();
    const QString strEnglish = ProgramFilePath(StringsFileName(QStringLiteral("en")));
    // English first under Korean, so that a key the Korean file lacks shows English.
    if (strLanguage == QLatin1String("ko")) {
        LoadResourceStringsFrom(pTable, strEnglish);
        return LoadResourceStringsFrom(pTable, ProgramFilePath(StringsFileName(strLanguage)));
    }
    // The Korean file is the one every installation has; English and the chosen
    // language's texts go over it.
    if (!LoadResourceStringsFrom(pTable, ProgramFilePath(StringsFileName(QStringLiteral("ko")))))
        return FALSE;
    LoadResourceStringsFrom(pTable, strEnglish);
    if (strLanguage != QLatin1String("en"))
        LoadResourceStringsFrom(pTable, ProgramFilePath(StringsFileName(strLanguage)));
    return TRUE;
}

QString GetResourceString(const StringTable& table, const QString& key)
{
    QString value;
    if (!table.Lookup(key, &value))
        return QString();
    return value;
}

QString GetMonthName(const StringTable& table, int nMonth)
{
    if (nMonth < 1 || nMonth > 12)
        return QString();
    return GetResourceString(table, QLatin1String(g_monthKeys[nMonth - 1]));
}

QString GetWeekdayShortName(const StringTable& table, int nDay)
{
    if (nDay < 1 || nDay > 7)
        return QString();
    return GetResourceString(table, QLatin1String(g_weekdayKeys[nDay - 1]) + QStringLiteral("_SHORT"));
}
