#include "controls/TextFit.h"

namespace {

const QString kEllipsis = QStringLiteral("...");

// Where the next line of strRest ends: the last space before the first character that
// does not fit, else that character; at least one character so the break makes progress.
int FindLineBreak(const QString& strRest, int nFit)
{
    for (int p = nFit - 1; p >= 1; --p) {
        if (strRest.at(p) == QLatin1Char(' '))
            return p;
    }
    return nFit < 1 ? 1 : nFit;
}

QString StripLeadingSpace(const QString& strText)
{
    int i = 0;
    while (i < strText.size() && strText.at(i).isSpace())
        ++i;
    return strText.mid(i);
}

}  // namespace

int ITextMeasure::GetEllipsisExtent() const
{
    return TextExtent(*this, kEllipsis);
}

int TextExtent(const ITextMeasure& measure, const QString& strText)
{
    if (strText.isEmpty())
        return 0;
    std::vector<int> extents;
    measure.GetExtents(strText, &extents);
    return extents.empty() ? 0 : extents.back();
}

int FitCount(const std::vector<int>& extents, int nMaxExtent)
{
    int nCount = 0;
    while (nCount < static_cast<int>(extents.size()) && extents[nCount] <= nMaxExtent)
        ++nCount;
    return nCount;
}

int FitCount(const ITextMeasure& measure, const QString& strText, int nMaxExtent)
{
    std::vector<int> extents;
    measure.GetExtents(strText, &extents);
    return FitCount(extents, nMaxExtent);
}

QString FitSingleLine(const ITextMeasure& measure, const QString& strText, int nWidth, int nIconWidth)
{
    std::vector<int> extents;
    measure.GetExtents(strText, &extents);
    const int nFit = FitCount(extents, nWidth - nIconWidth);
    if (nFit > 2 && nFit < strText.size()) {
        const int nShort = FitCount(extents, nWidth - nIconWidth - measure.GetEllipsisExtent());
        return strText.left(nShort) + kEllipsis;
    }
    return strText;
}

QString FitMultiLine(const ITextMeasure& measure, const QString& strText, int nWidth, int nIconWidth)
{
    QString strResult;
    QString strRest = strText;
    for (;;) {
        const int nFit = FitCount(measure, strRest, nWidth);
        if (nFit >= strRest.size())
            break;
        const int nBreak = FindLineBreak(strRest, nFit);
        if (nBreak >= strRest.size())
            break;
        strResult += strRest.left(nBreak) + QLatin1Char('\n');
        strRest = StripLeadingSpace(strRest.mid(nBreak));
    }
    return strResult + FitSingleLine(measure, strRest, nWidth, nIconWidth);
}

int CountLines(const QString& strDisplay)
{
    return static_cast<int>(strDisplay.count(QLatin1Char('\n'))) + 1;
}
