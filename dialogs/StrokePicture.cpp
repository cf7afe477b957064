#include "dialogs/StrokePicture.h"

#include <QRect>
#include <algorithm>
#include <cstdlib>

namespace {

QPoint StepOf(QChar c)
{
    switch (c.unicode()) {
    case u'6': return QPoint(1, 0);
    case u'4': return QPoint(-1, 0);
    case u'8': return QPoint(0, -1);
    case u'2': return QPoint(0, 1);
    default: return QPoint(0, 0);
    }
}

}  // namespace

QVector<QPoint> StrokePicturePoints(const QString& strDirections, int nSide)
{
    // The path in steps, then scaled into the square.
    QVector<QPoint> steps{QPoint(0, 0)};
    for (QChar c : strDirections) {
        if (StepOf(c).isNull())
            continue;
        steps.append(steps.last() + StepOf(c));
    }
    if (steps.size() < 2)
        return {};
    QRect bounds(steps.first(), QSize(1, 1));
    for (const QPoint& pt : steps)
        bounds |= QRect(pt, QSize(1, 1));
    const int nMargin = std::max(2, nSide / 6);
    const int nSpan = std::max(bounds.width(), bounds.height()) - 1;
    const int nStep = (nSide - 2 * nMargin) / std::max(1, nSpan);
    // A step back along the last one would be drawn over it: each reversal moves the rest
    // of the path a lane aside, across the direction, so that 646 shows as a zigzag.
    const int nLane = nSide / 5;
    QVector<QPoint> points;
    QPoint aside(0, 0);
    for (int i = 0; i < steps.size(); ++i) {
        if (i >= 2 && steps[i] - steps[i - 1] == steps[i - 2] - steps[i - 1]) {
            const QPoint step = steps[i] - steps[i - 1];
            aside += QPoint(std::abs(step.y()), std::abs(step.x())) * nLane;
        }
        points.append((steps[i] - bounds.topLeft()) * nStep + aside);
    }
    // Centred in the square.
    QRect drawn(points.first(), QSize(1, 1));
    for (const QPoint& pt : points)
        drawn |= QRect(pt, QSize(1, 1));
    const QPoint offset((nSide - drawn.width()) / 2 - drawn.left(), (nSide - drawn.height()) / 2 - drawn.top());
    for (QPoint& pt : points)
        pt += offset;
    return points;
}
