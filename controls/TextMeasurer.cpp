#include "controls/TextMeasurer.h"
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

TextMeasurer::TextMeasurer(const QFont& font)
    : m_font(font)
{
}

namespace {

// Line and paragraph breaks would end the layout's single line early; they are measured
// as the spaces they take when drawn on one line.
QString OnOneLine(const QString& strText)
{
    QString strLine = strText;
    for (QChar& ch : strLine) {
        if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r') || ch == QChar::LineSeparator
            || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    }
    return strLine;
}

}  // namespace

void TextMeasurer::GetExtents(const QString& strText, std::vector<int>* pExtents) const
{
    pExtents->clear();
    if (strText.isEmpty())
        return;
    QTextLayout layout(OnOneLine(strText), m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    pExtents->reserve(static_cast<size_t>(strText.size()));
    for (int i = 1; i <= strText.size(); ++i)
        pExtents->push_back(static_cast<int>(std::ceil(line.cursorToX(i) - 1e-6)));
}

int TextMeasurer::GetEllipsisExtent() const
{
    if (m_nEllipsis < 0)
        m_nEllipsis = ITextMeasure::GetEllipsisExtent();
    return m_nEllipsis;
}
