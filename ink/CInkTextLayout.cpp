#include "ink/CInkTextLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextOption>
#include <algorithm>

void CInkTextLayout::Build(const QString& strText, const QFont& font, int nPageWidth,
                           const std::vector<QRectF>& inkBounds)
{
    m_paragraphs.clear();
    m_nLength = static_cast<int>(strText.size());
    m_rLineSpacing = QFontMetricsF(font).lineSpacing();
    const qreal rWidth = std::max<qreal>(1, nPageWidth - 2 * kInkTextMargin);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal y = kInkTextMargin;
    int nStart = 0;
    for (const QString& strPiece : strText.split(QLatin1Char('\n'))) {
        Paragraph para;
        para.nStart = nStart;
        para.pLayout = std::make_unique<QTextLayout>(strPiece, font);
        para.pLayout->setTextOption(option);
        para.pLayout->setCacheEnabled(true);
        para.pLayout->beginLayout();
        for (QTextLine line = para.pLayout->createLine(); line.isValid(); line = para.pLayout->createLine()) {
            line.setLineWidth(rWidth);
            y = FreeLineTop(y, inkBounds);
            line.setPosition(QPointF(kInkTextMargin, y));
            y += m_rLineSpacing;
        }
        para.pLayout->endLayout();
        nStart += static_cast<int>(strPiece.size()) + 1;
        m_paragraphs.push_back(std::move(para));
    }
    m_rHeight = y;
}

qreal CInkTextLayout::FreeLineTop(qreal y, const std::vector<QRectF>& inkBounds) const
{
    // Each step moves below one stroke, so the search ends after at most one step a stroke.
    for (bool bMoved = true; bMoved;) {
        bMoved = false;
        for (const QRectF& rc : inkBounds) {
            if (rc.top() < y + m_rLineSpacing && y < rc.bottom()) {
                y = rc.bottom();
                bMoved = true;
            }
        }
    }
    return y;
}

void CInkTextLayout::Draw(QPainter* pPainter) const
{
    for (const Paragraph& para : m_paragraphs)
        para.pLayout->draw(pPainter, QPointF(0, 0));
}

int CInkTextLayout::ParagraphOf(int nPos) const
{
    int i = static_cast<int>(m_paragraphs.size()) - 1;
    while (i > 0 && m_paragraphs[i].nStart > nPos)
        --i;
    return std::max(i, 0);
}

const QTextLine CInkTextLayout::LineAt(int nPos, int* pParagraph) const
{
    *pParagraph = ParagraphOf(nPos);
    const Paragraph& para = m_paragraphs[*pParagraph];
    return para.pLayout->lineForTextPosition(nPos - para.nStart);
}

QRectF CInkTextLayout::CaretRect(int nPos) const
{
    if (m_paragraphs.empty())
        return QRectF(kInkTextMargin, kInkTextMargin, 1, m_rLineSpacing);
    nPos = std::clamp(nPos, 0, m_nLength);
    int iPara = 0;
    const QTextLine line = LineAt(nPos, &iPara);
    if (!line.isValid())
        return QRectF(kInkTextMargin, kInkTextMargin, 1, m_rLineSpacing);
    const qreal x = line.cursorToX(nPos - m_paragraphs[iPara].nStart);
    return QRectF(x, line.y(), 1, m_rLineSpacing);
}

int CInkTextLayout::PositionAt(const QPointF& pt) const
{
    for (const Paragraph& para : m_paragraphs) {
        for (int i = 0; i < para.pLayout->lineCount(); ++i) {
            const QTextLine line = para.pLayout->lineAt(i);
            if (pt.y() < line.y() + m_rLineSpacing)
                return para.nStart + line.xToCursor(pt.x());
        }
    }
    return m_nLength;
}

int CInkTextLayout::PositionOnLine(int nPos, int nLines) const
{
    if (m_paragraphs.empty())
        return nPos;
    const QRectF caret = CaretRect(nPos);
    const qreal y = caret.center().y() + nLines * m_rLineSpacing;
    if (y < kInkTextMargin)
        return 0;
    if (y >= m_rHeight)
        return m_nLength;
    return PositionAt(QPointF(caret.left(), y));
}

int CInkTextLayout::NextPosition(int nPos) const
{
    if (m_paragraphs.empty() || nPos >= m_nLength)
        return m_nLength;
    const Paragraph& para = m_paragraphs[ParagraphOf(nPos)];
    const int nLocal = nPos - para.nStart;
    if (nLocal >= para.pLayout->text().size())
        return nPos + 1;  // over the line break
    return para.nStart + para.pLayout->nextCursorPosition(nLocal);
}

int CInkTextLayout::PreviousPosition(int nPos) const
{
    if (m_paragraphs.empty() || nPos <= 0)
        return 0;
    const Paragraph& para = m_paragraphs[ParagraphOf(nPos)];
    const int nLocal = nPos - para.nStart;
    if (nLocal == 0)
        return nPos - 1;  // over the line break
    return para.nStart + para.pLayout->previousCursorPosition(nLocal);
}

int CInkTextLayout::LineStart(int nPos) const
{
    if (m_paragraphs.empty())
        return 0;
    int iPara = 0;
    const QTextLine line = LineAt(nPos, &iPara);
    return line.isValid() ? m_paragraphs[iPara].nStart + line.textStart() : nPos;
}

int CInkTextLayout::LineEnd(int nPos) const
{
    if (m_paragraphs.empty())
        return 0;
    int iPara = 0;
    const QTextLine line = LineAt(nPos, &iPara);
    if (!line.isValid())
        return nPos;
    const Paragraph& para = m_paragraphs[iPara];
    int nEnd = line.textStart() + line.textLength();
    // A wrapped line ends before the space it broke at, so the caret stays on it.
    if (nEnd < para.pLayout->text().size() && nEnd > line.textStart()
        && para.pLayout->text().at(nEnd - 1).isSpace())
        --nEnd;
    return para.nStart + nEnd;
}
