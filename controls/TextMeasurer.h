#pragma once
// Measures text in one font with QTextLayout, whose cursor positions give the exact
// cumulative advances that drawing the text with the same font produces.
#include "controls/TextFit.h"
#include <QFont>

class TextMeasurer : public ITextMeasure {
public:
    explicit TextMeasurer(const QFont& font);

    void GetExtents(const QString& strText, std::vector<int>* pExtents) const override;
    int GetEllipsisExtent() const override;
    const QFont& GetFont() const { return m_font; }

private:
    QFont m_font;
    mutable int m_nEllipsis = -1;  // measured on first use
};
