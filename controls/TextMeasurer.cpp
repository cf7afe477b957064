#include "controls/TextMeasurer.h"
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

TextMeasurer::TextMeasurer(const QFont& font)
    : m_font(font)
{
}

void TextMeasurer::GetExtents(const QString& strText, std::vector<int>* pExtents) const
{
    pExtents->clear();
    if (strText.isEmpty())
        return;
    QTextLayout layout(strText, m_font);
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
