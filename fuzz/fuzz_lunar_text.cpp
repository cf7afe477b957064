// Lunar date texts of --lunar-to-solar: every text gets an answer, and a solar answer is
// a date of the calendar.
#include "calendar/LunarDateText.h"
#include "fuzz/FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QString strText = QString::fromUtf8(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    LunarAnswerKind kind = LunarAnswerKind::Malformed;
    const QString strAnswer = AnswerLunarDateText(strText, &kind);
    FuzzCheck(!strAnswer.isEmpty(), "every text gets an answer");
    if (kind == LunarAnswerKind::Solar)
        FuzzCheck(strAnswer.size() == 14, "a solar answer is YYYY-MM-DD Www");
    return 0;
}
