// The registry file: any bytes parse; what a parse keeps survives writing and reading
// again unchanged.
#include "fuzz/FuzzTarget.h"
#include "platform/CRegistryDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QByteArray bytes(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    CRegistryDocument doc;
    doc.Parse(bytes);
    CRegistryDocument::StartsAsRegistryFile(bytes);
    const QByteArray text = doc.ToText();
    CRegistryDocument again;
    again.Parse(text);
    FuzzCheck(!again.HasUnreadableLines(), "a written registry file reads back without loss");
    FuzzCheck(again.ToText() == text, "writing a read registry file again gives the same text");
    return 0;
}
