#include "ink/NotesPreview.h"
#include "resources/StringTable.h"

BOOL CreateNotesPreview(CInkWnd* pInk, QWidget* pParent, const RECT& rcArea, const StringTable& strings,
                        const NotesBlob& notes)
{
    RECT rc = rcArea;
    rc.left -= 1;
    rc.right += 1;
    rc.bottom += 1;
    if (!pInk->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, rc, pParent, kInkCtrlId))
        return FALSE;
    pInk->SetReadOnly(TRUE);
    pInk->SetUnreadableText(UnreadableNotesText(strings));
    StreamNotesIn(pInk, notes);
    pInk->ApplyModeSettings(kInkKeyboardSettings);
    return TRUE;
}

void RefreshNotesPreview(CInkWnd* pInk, const NotesBlob& notes)
{
    // Streaming in nothing would leave the old notes on show after a clear-all.
    if (notes.IsEmpty())
        pInk->ClearAll();
    else
        StreamNotesIn(pInk, notes);
    InkModeSettings settings = kInkKeyboardSettings;
    settings.nZoom = kInkPreviewEditedZoom;
    pInk->ApplyModeSettings(settings);
}

QString UnreadableNotesText(const StringTable& strings)
{
    return GetResourceString(strings, QStringLiteral("RC_NOTES_UNREADABLE"));
}
