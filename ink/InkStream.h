#pragma once
// Moving bytes between a NotesBlob and the ink control. The control pulls its content in
// and pushes it out in chunks through a callback and a cookie, the way an edit control's
// stream messages work; the two cookies below are the only ones the program uses.
#include "ink/NotesBlob.h"
#include "platform/WinTypes.h"
#include <cstdint>

class CInkWnd;

// The format flags every stream call of the program passes.
constexpr DWORD kInkStreamFormat = 67586;

// Called by the control once per chunk. Stream-in: fill at most cb bytes of pbBuff and
// report the number in *pcb (0 ends the stream). Stream-out: take the cb bytes of pbBuff
// and report how many were taken in *pcb. A non-zero result stops the stream and lands in
// dwError.
using EDITSTREAMCALLBACK = DWORD (*)(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb);

struct EDITSTREAM {
    uintptr_t dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};

// Stream-in over a run of bytes: each call hands out min(requested, left) bytes.
struct InkReadCookie {
    const uint8_t* pStart = nullptr;
    DWORD dwPos = 0;    // bytes handed out so far
    DWORD dwCount = 0;  // total bytes
};

// Stream-out. Without a buffer (pStart null) every chunk is accepted whole and only
// counted, so dwPos ends as the size of the content. With a buffer each chunk is copied
// up to the capacity and never past it.
struct InkWriteCookie {
    uint8_t* pStart = nullptr;
    DWORD dwPos = 0;
    DWORD dwCapacity = 0;
};

DWORD InkReadCallback(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb);
DWORD InkWriteCallback(uintptr_t dwCookie, uint8_t* pbBuff, int32_t cb, int32_t* pcb);

// Streams the blob's bytes into the control; an empty blob streams nothing (the control
// keeps what it holds). Returns the control's answer (0 when it has no inner window).
int StreamNotesIn(CInkWnd* pInk, const NotesBlob& blob);
// Replaces the blob with the control's content in two passes: one that counts the bytes,
// then one into a buffer of exactly that size. An empty control (or one without inner
// window) leaves the blob empty.
void StreamNotesOut(CInkWnd* pInk, NotesBlob* pBlob);
