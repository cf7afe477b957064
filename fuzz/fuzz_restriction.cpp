// Restriction texts of Find, in the short-date patterns of the locales the program meets,
// for both item types: parsed, evaluated, turned into SQL and narrowed.
#include "fuzz/FuzzTarget.h"
#include "pim/CItemRecord.h"
#include "pim/CRestriction.h"
#include "pim/PimTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static const char* const kPatterns[] = {"M/d/yy", "yyyy-MM-dd", "yy. M. d.", "dd.MM.yy", "yyyy/MM/dd", "d MMM yyyy"};
    const QString strText = QString::fromUtf8(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    const QString strPattern = QLatin1String(kPatterns[nSize % (sizeof(kPatterns) / sizeof(kPatterns[0]))]);
    for (int nItemType : {olAppointmentItem, olTaskItem}) {
        CRestriction restriction;
        if (FAILED(restriction.Parse(strText, strPattern, nItemType)))
            continue;
        CItemRecord record;
        record.nItemType = nItemType;
        restriction.Matches(record);
        QVector<int64_t> params;
        restriction.ToSql(&params);
        int64_t nMaxStart = 0, nMinEnd = 0;
        restriction.Bounds(&nMaxStart, &nMinEnd);
        const CValueRanges starts = restriction.Ranges("t_start");
        for (const CValueRanges::Range& range : starts.Ranges())
            restriction.Narrowed("t_start", range.nLo, range.nHi).ToSql(&params);
    }
    return 0;
}
