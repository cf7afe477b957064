#pragma once
// Fitting a cell's text into a width: single-line with "...", or broken into lines at
// spaces. Pure functions over a measuring interface, so tests can use a fixed-width one.
#include <QString>
#include <vector>

class ITextMeasure {
public:
    virtual ~ITextMeasure() = default;
    // (*pExtents)[i] = width in whole pixels of the first i + 1 characters of the text.
    virtual void GetExtents(const QString& strText, std::vector<int>* pExtents) const = 0;
    // Width of "..."; measurers that are used for many texts may keep it.
    virtual int GetEllipsisExtent() const;
};

// Width of the whole text.
int TextExtent(const ITextMeasure& measure, const QString& strText);
// How many leading characters fit in nMaxExtent pixels (0 when the width is negative).
int FitCount(const std::vector<int>& extents, int nMaxExtent);
int FitCount(const ITextMeasure& measure, const QString& strText, int nMaxExtent);

// One line for width nWidth of which nIconWidth is kept for trailing icons. When more
// than two characters fit but not the whole text, the prefix that leaves room for "..."
// is followed by "..."; otherwise the text is kept whole, even if it runs past the width.
QString FitSingleLine(const ITextMeasure& measure, const QString& strText, int nWidth, int nIconWidth);
// Lines joined with line feeds: each line breaks at the last space that fits the full
// width (a word longer than the width is cut inside; every line takes at least one
// character), and the last line is fitted as FitSingleLine does.
QString FitMultiLine(const ITextMeasure& measure, const QString& strText, int nWidth, int nIconWidth);
// Number of lines of a laid-out text (line feeds plus one).
int CountLines(const QString& strDisplay);
