#pragma once
// Where a stroke of keypad direction digits runs inside a square picture: one equal step a
// digit ("6" right, "4" left, "8" up, "2" down), the whole path centred with a margin.
#include <QPoint>
#include <QString>
#include <QVector>

// The corner points of the path, the pen-down point first; empty for no digits.
QVector<QPoint> StrokePicturePoints(const QString& strDirections, int nSide);
