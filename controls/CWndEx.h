#pragma once
// Window base with one font and the drawing operations the views paint with. The
// painter ("device context") is always the caller's; only the font is kept here.
#include "controls/CWnd.h"
#include <QFont>
#include <QString>

class QPainter;

class CWndEx : public CWnd {
    Q_OBJECT
public:
    explicit CWndEx(QWidget* pParent = nullptr);
    ~CWndEx() override;

    // nSize is the font height in pixels.
    void SetFont(const QString& strFace, int nSize, BOOL bBold, BOOL bItalic, BOOL bStrikeOut);
    const QFont& GetFont() const { return m_font; }

    // A one-pixel line from (x, y) to (x + dx, y + dy), end point excluded.
    void DrawLine(QPainter* pDC, int x, int y, int dx, int dy, COLORREF cr);
    // nMode 1 fills (x, y, x + w, y + h); any other mode draws its one-pixel outline.
    void FillBox(QPainter* pDC, int x, int y, int w, int h, COLORREF cr, int nMode);
    // Draws the text left/top at (x, y) in the font, transparent; returns its width.
    int DrawTextAt(QPainter* pDC, int x, int y, const QString& strText, COLORREF cr);
    // Draws the text in (x, y, x + w, y + h) with DT_ format flags, transparent.
    void DrawTextInRect(QPainter* pDC, int x, int y, int w, int h, const QString& strText,
                        unsigned nFormat, COLORREF cr);
    int GetTextWidth(QPainter* pDC, const QString& strText);
    // As the free DrawBitmap: opaque copy of the bitmap resource; returns its width.
    int DrawBitmap(QPainter* pDC, int x, int y, int nBitmapId);

protected:
    QFont m_font;
};
