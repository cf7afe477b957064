// The special-days file, anniversary.dat, and the week's occurrences of what it holds.
#include "calendar/AnniversaryFile.h"
#include "calendar/DateTime.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    FuzzWriteFile("anniversary.dat", QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize)));
    SpecialDayList days;
    FuzzCheck(LoadSpecialDaysFrom(&days, FuzzFolder()) == TRUE, "an existing file loads");
    // Weeks across a year's end, as the week load asks for them.
    const DateTime weeks[] = {DateTime(2006, 12, 25, 0, 0, 0), DateTime(2024, 2, 12, 0, 0, 0)};
    for (const DateTime& start : weeks) {
        const DateTime end = start + DateTimeSpan(6, 23, 59, 59);
        for (int i = 0; i < days.GetSize(); ++i) {
            for (const DateTime& date : days.GetAt(i)->Occurrences(start, end))
                FuzzCheck(start <= date && date <= end, "an occurrence lies in the week asked for");
        }
    }
    return 0;
}
