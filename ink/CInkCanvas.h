#pragma once
// The inner window of the ink control: holds the page, paints it at the zoom and takes
// the input. In pen input mode the pointer (mouse, touch or tablet) writes strokes, drawn
// as the pen moves; in keyboard input mode a tap places the caret. Typed keys edit the
// text in both modes. Page coordinates are pixels at zoom 100; strokes and text scale
// with the zoom alike, and the text wraps at the window width seen through the zoom.
#include "ink/CInkPage.h"
#include "ink/CInkTextLayout.h"
#include <QPointF>
#include <QPointer>
#include <QWidget>

class QScrollBar;

// The values of the four mode settings.
constexpr int kInkInputKeyboard = 1;  // input mode: keys and caret
constexpr int kInkInputPen = 0;       // input mode: the pointer writes
constexpr int kInkViewTyping = 0;     // view: text cursor over the page
constexpr int kInkViewWriting = 2;    // view: pen cursor over the page
constexpr int kInkPagePlain = 16;     // page style: blank page
constexpr int kInkPageLined = 2;      // page style: ruled lines at the text's line spacing
constexpr int kInkMinZoom = 10;
constexpr int kInkMaxZoom = 800;

class CInkCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CInkCanvas(QWidget* pParent = nullptr);
    ~CInkCanvas() override;

    // The scroll bar beside the canvas, kept in step with the page height; may be null.
    void SetScrollBar(QScrollBar* pScrollBar);

    void Load(const QByteArray& bytes);
    QByteArray Save() const { return m_page.Save(); }
    void Clear();
    const CInkPage& GetPage() const { return m_page; }

    void SetInputMode(int nMode);
    void SetViewMode(int nView);
    void SetPageStyle(int nStyle);
    // Percent, clamped to kInkMinZoom..kInkMaxZoom.
    void SetZoom(int nZoom);
    int GetInputMode() const { return m_nInputMode; }
    int GetViewMode() const { return m_nView; }
    int GetPageStyle() const { return m_nPageStyle; }
    int GetZoom() const { return m_nZoom; }

    // Read-only: shows the page and scrolls, takes no input and no focus.
    void SetReadOnly(BOOL bReadOnly);
    BOOL IsReadOnly() const { return m_bReadOnly; }
    // Shown instead of the notes when the page holds bytes it cannot read.
    void SetUnreadableText(const QString& strText);
    int GetCaret() const { return m_nCaret; }

    // The pen: widget coordinates. Used by the mouse, touch and tablet handlers.
    void PenDown(const QPointF& pt);
    void PenMove(const QPointF& pt);
    void PenUp(const QPointF& pt);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void tabletEvent(QTabletEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    qreal Scale() const { return m_nZoom / 100.0; }
    int ScrollY() const;
    QPointF ToPage(const QPointF& pt) const;
    QRect ToWidget(const QRectF& rcPage) const;
    BOOL CanEdit() const { return !m_bReadOnly && !m_page.IsForeign(); }
    // Lays the text out again and sets the scroll range; call after any change of text,
    // width or zoom.
    void Relayout();
    int ContentHeight() const;
    void UpdateCursorShape();
    void SetCaret(int nPos);
    void ScrollToCaret();
    void InsertTyped(const QString& strText);
    BOOL HandleEditKey(QKeyEvent* pEvent);
    void BeginStroke();
    void EndStroke();
    void UpdateStrokeTail();
    void PaintPage(QPainter* pPainter, const QRect& rcClip);

    CInkPage m_page;
    CInkTextLayout m_layout;
    QFont m_font;
    QPointer<QScrollBar> m_pScrollBar;
    QString m_strUnreadable;
    int m_nInputMode = kInkInputKeyboard;
    int m_nView = kInkViewTyping;
    int m_nPageStyle = kInkPagePlain;
    int m_nZoom = 100;
    BOOL m_bReadOnly = FALSE;
    int m_nCaret = 0;
    bool m_bPenDown = false;
    bool m_bCompressedMoves = true;  // the application's setting before the stroke
    CInkStroke m_stroke;  // the stroke being written
};
