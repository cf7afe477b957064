// The notes bytes of an item: what reads as notes writes back to bytes that read the same.
#include "fuzz/FuzzTarget.h"
#include "pim/CNotesData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QByteArray bytes(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    CNotesData notes;
    CNotesData::TextOf(bytes);
    if (!notes.FromBytes(bytes))
        return 0;
    CNotesData again;
    FuzzCheck(again.FromBytes(notes.ToBytes()) == TRUE || notes.IsEmpty(), "written notes read back");
    FuzzCheck(again == notes, "written notes read back the same");
    return 0;
}
