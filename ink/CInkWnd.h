#pragma once
// The ink control: one window holding handwritten strokes and typed text as notes. Its
// content moves in and out only as notes bytes (the format of pim/CNotesData) through
// StreamIn and StreamOut (see dialogs/InkStream.h for the cookies and the two-pass save).
// Bytes it cannot read, or notes nobody touched, stream out exactly as they came in, so
// the editors may always write back what the control gives; only ClearAll replaces
// unreadable bytes.
//
// Every operation goes to the inner window (GetInner); when there is none, the operation
// does nothing and answers 0, and stream-out gives no bytes.
//
// Typical use, a read-only preview:
//     m_ink.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, rc, this, 1205);
//     m_ink.SetReadOnly(TRUE);
//     StreamNotesIn(&m_ink, m_notes);
//     m_ink.ApplyModeSettings(kInkKeyboardSettings);
#include "controls/CWnd.h"
#include "ink/CInkCanvas.h"
#include "ink/InkStream.h"

class QScrollBar;

// The four mode settings, always applied in this order.
struct InkModeSettings {
    int nInputMode;
    int nView;
    int nPageStyle;
    int nZoom;  // percent
};
constexpr InkModeSettings kInkKeyboardSettings = {kInkInputKeyboard, kInkViewTyping, kInkPagePlain, 100};
constexpr InkModeSettings kInkPenSettings = {kInkInputPen, kInkViewWriting, kInkPageLined, 200};
// The zoom of the editors' previews after their notes were edited.
constexpr int kInkPreviewEditedZoom = 95;

class CInkWnd : public CWnd {
    Q_OBJECT
public:
    explicit CInkWnd(QWidget* pParent = nullptr);
    ~CInkWnd() override;

    // Makes the window a child of pParentWnd at rect with control id nId, with its inner
    // window. Styles: WS_VISIBLE, WS_BORDER (a one-pixel frame), WS_VSCROLL (a scroll bar
    // at the right). FALSE when it cannot be made.
    BOOL Create(DWORD dwStyle, const RECT& rect, QWidget* pParentWnd, int nId);

    // The inner window that holds the content; null when it is missing.
    CInkCanvas* GetInner() const { return m_pInner; }

    // Replaces the content with the bytes the stream hands out (read until a call gives
    // none). Answers the number of bytes read.
    int StreamIn(DWORD dwFormat, EDITSTREAM* pStream);
    // Hands the content out in chunks. Answers the number of bytes handed out.
    int StreamOut(DWORD dwFormat, EDITSTREAM* pStream);
    // Clears the whole content (also unreadable bytes).
    int ClearAll();
    int SetInputMode(int nMode);    // kInkInputKeyboard or kInkInputPen
    int SetViewMode(int nView);     // kInkViewTyping or kInkViewWriting
    int SetPageStyle(int nStyle);   // kInkPagePlain or kInkPageLined
    int SetZoom(int nZoom);         // percent
    // The four settings in their order.
    void ApplyModeSettings(const InkModeSettings& settings);

    // Not part of the original control's messages: the previews show notes without
    // taking input, and a page of unreadable bytes shows this text.
    void SetReadOnly(BOOL bReadOnly);
    void SetUnreadableText(const QString& strText);
    // TRUE while the content is bytes the control cannot read (FALSE without inner window).
    BOOL IsForeign() const;

protected:
    // Makes the inner window; a test may override it to make none.
    virtual CInkCanvas* CreateInner(QWidget* pParent);
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    void PlaceChildren();

    CInkCanvas* m_pInner = nullptr;
    QScrollBar* m_pScrollBar = nullptr;
    BOOL m_bBorder = FALSE;
};
