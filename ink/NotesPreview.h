#pragma once
// The read-only notes preview of the appointment and task editors: an ink control in
// keyboard view that shows the editor's notes (or says that they cannot be shown here).
#include "ink/CInkWnd.h"
#include "ink/NotesBlob.h"
#include "platform/WinTypes.h"

class StringTable;

// The control id of the ink control in every dialog.
constexpr int kInkCtrlId = 1205;

// Creates the preview over rcArea of pParent, one pixel larger to the left, right and
// bottom so that only its top border shows, bordered, with a scroll bar; streams the
// notes in and applies the keyboard settings (zoom 100).
BOOL CreateNotesPreview(CInkWnd* pInk, QWidget* pParent, const RECT& rcArea, const StringTable& strings,
                        const NotesBlob& notes);
// Shows the notes again after the notes editor saved them, at the preview zoom of edited
// notes (95). Empty notes empty the preview.
void RefreshNotesPreview(CInkWnd* pInk, const NotesBlob& notes);
// The text an ink control shows for notes it cannot read.
QString UnreadableNotesText(const StringTable& strings);
