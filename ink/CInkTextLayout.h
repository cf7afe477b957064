#pragma once
// The typed text of the notes laid out on the page: one paragraph per "\n"-separated
// piece, each wrapped at the page width. Coordinates are page pixels (before zoom); the
// text starts at (kInkTextMargin, kInkTextMargin). A line that would cross handwriting is
// moved down to the first free band below it, so typed text never covers ink.
#include <QFont>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <vector>

class QPainter;

constexpr int kInkTextMargin = 2;

class CInkTextLayout {
public:
    // Lays the text out; a width under one character still gives one character a line.
    // inkBounds: the bounding rectangles of the page's strokes.
    void Build(const QString& strText, const QFont& font, int nPageWidth,
               const std::vector<QRectF>& inkBounds = {});

    // The bottom of the last line.
    qreal Height() const { return m_rHeight; }
    // The distance between two lines (the ruled lines of a lined page follow it).
    qreal LineSpacing() const { return m_rLineSpacing; }
    void Draw(QPainter* pPainter) const;

    // The caret at text position nPos: a one-pixel-wide rectangle of line height.
    QRectF CaretRect(int nPos) const;
    // The text position nearest to the page point.
    int PositionAt(const QPointF& pt) const;
    // The position one line above (nLines -1) or below (+1), keeping the caret's x;
    // the start or end of the text past the first or last line.
    int PositionOnLine(int nPos, int nLines) const;
    // Cursor steps that keep surrogate pairs and combining marks whole.
    int NextPosition(int nPos) const;
    int PreviousPosition(int nPos) const;
    int LineStart(int nPos) const;
    int LineEnd(int nPos) const;

private:
    // The first top at or below y where a line of text crosses no ink.
    qreal FreeLineTop(qreal y, const std::vector<QRectF>& inkBounds) const;

    struct Paragraph {
        int nStart = 0;  // text position of its first character
        std::unique_ptr<QTextLayout> pLayout;
    };
    // The paragraph holding nPos (the last one for the end of the text).
    int ParagraphOf(int nPos) const;
    const QTextLine LineAt(int nPos, int* pParagraph) const;

    std::vector<Paragraph> m_paragraphs;
    int m_nLength = 0;
    qreal m_rHeight = 0;
    qreal m_rLineSpacing = 0;
};
