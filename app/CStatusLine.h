#pragma once
// Draws the cells of the selected row into the main view's status line: a tag as its
// picture, any other text (the long form when there is one) in the cell's colour and
// font, shortened with "..." to the room left, followed by the cell's icons.
#include "controls/ListCell.h"
#include <QFont>
#include <QString>

class QPainter;

class CStatusLine {
public:
    CStatusLine(const QString& strFontName, int nFontSize);

    // Draws the cell from x on the line whose top is y0 in a view nWidth wide; returns
    // the x after it.
    int DrawCell(QPainter* pDC, const ListCell& cell, int x, int y0, int nWidth) const;

    // The normal picture of a tag, 0 for a text that is not one of the eight tags.
    static int TagBitmap(const QString& strText);

private:
    QString m_strFontName;
    int m_nFontSize;
};
