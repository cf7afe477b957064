// The string table, orlith.inf.
#include "fuzz/FuzzTarget.h"
#include "resources/StringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QString strPath =
        FuzzWriteFile("orlith.inf", QByteArray(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize)));
    StringTable table;
    FuzzCheck(LoadResourceStringsFrom(&table, strPath) == TRUE, "an existing file loads");
    FuzzCheck(static_cast<size_t>(table.GetCount()) <= nSize, "every entry uses up input");
    for (int n = 0; n <= 13; ++n)
        GetMonthName(table, n);
    for (int n = 0; n <= 8; ++n)
        GetWeekdayShortName(table, n);
    return 0;
}
