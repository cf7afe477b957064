#include "app/ModeDate.h"
#include "app/CCommandLine.h"
#include "week/WeekRange.h"
#include <cstdio>

bool ReadModeDate(const CCommandLine& commandLine, const char* pszOption, std::optional<DateTime>* pDate)
{
    pDate->reset();
    if (commandLine.m_strDate.isEmpty())
        return true;
    DateTime date;
    if (!ParseWeekDate(commandLine.m_strDate, &date)) {
        std::fprintf(stderr, "quillday: %s: %s is outside the dates the program can show\n", pszOption,
                     commandLine.m_strDate.toLocal8Bit().constData());
        return false;
    }
    *pDate = date;
    return true;
}
