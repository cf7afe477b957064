#include "ink/InkStream.h"
#include "ink/CInkWnd.h"

#include <algorithm>
#include <cstring>

DWORD InkReadCallback(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb)
{
    auto* pCookie = reinterpret_cast<InkReadCookie*>(dwCookie);
    const DWORD dwLeft = pCookie->dwCount - pCookie->dwPos;
    const DWORD dwGive = std::min<DWORD>(cb > 0 ? static_cast<DWORD>(cb) : 0, dwLeft);
    if (dwGive > 0)
        std::memcpy(pbBuff, pCookie->pStart + pCookie->dwPos, dwGive);
    pCookie->dwPos += dwGive;
    *pcb = static_cast<int32_t>(dwGive);
    return 0;
}

DWORD InkWriteCallback(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb)
{
    auto* pCookie = reinterpret_cast<InkWriteCookie*>(dwCookie);
    const DWORD dwChunk = cb > 0 ? static_cast<DWORD>(cb) : 0;
    if (pCookie->pStart == nullptr) {
        pCookie->dwPos += dwChunk;
        *pcb = static_cast<int32_t>(dwChunk);
        return 0;
    }
    const DWORD dwRoom = pCookie->dwCapacity > pCookie->dwPos ? pCookie->dwCapacity - pCookie->dwPos : 0;
    const DWORD dwTake = std::min(dwChunk, dwRoom);
    if (dwTake > 0)
        std::memcpy(pCookie->pStart + pCookie->dwPos, pbBuff, dwTake);
    pCookie->dwPos += dwTake;
    *pcb = static_cast<int32_t>(dwTake);
    return 0;
}

int StreamNotesIn(CInkWnd* pInk, const NotesBlob& blob)
{
    if (blob.IsEmpty())
        return 0;
    InkReadCookie cookie;
    cookie.pStart = reinterpret_cast<const uint8_t*>(blob.bytes.constData());
    cookie.dwCount = static_cast<DWORD>(blob.bytes.size());
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<uintptr_t>(&cookie);
    stream.pfnCallback = InkReadCallback;
    return pInk->StreamIn(kInkStreamFormat, &stream);
}

void StreamNotesOut(CInkWnd* pInk, NotesBlob* pBlob)
{
    InkWriteCookie counter;
    EDITSTREAM stream;
    stream.dwCookie = reinterpret_cast<uintptr_t>(&counter);
    stream.pfnCallback = InkWriteCallback;
    pInk->StreamOut(kInkStreamFormat, &stream);

    pBlob->bytes.clear();
    const DWORD dwCount = counter.dwPos;
    if (dwCount == 0)
        return;
    QByteArray buffer(static_cast<qsizetype>(dwCount), '\0');
    InkWriteCookie writer;
    writer.pStart = reinterpret_cast<uint8_t*>(buffer.data());
    writer.dwCapacity = dwCount;
    stream = EDITSTREAM();
    stream.dwCookie = reinterpret_cast<uintptr_t>(&writer);
    stream.pfnCallback = InkWriteCallback;
    pInk->StreamOut(kInkStreamFormat, &stream);
    pBlob->bytes = std::move(buffer);
}
