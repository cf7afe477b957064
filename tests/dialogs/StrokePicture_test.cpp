// The pictures of the help sheet: each stroke's corners, one equal step a digit, centred,
// a stroke that turns back drawn a lane aside.
#include "dialogs/StrokePicture.h"
#include <gtest/gtest.h>

namespace {

struct PictureCase {
    const char* pszDirections;
    QVector<QPoint> points;
};

TEST(StrokePicture, OneEqualStepADigitCentredInTheSquare)
{
    const PictureCase cases[] = {
        {"2", {QPoint(19, 5), QPoint(19, 33)}},
        {"6", {QPoint(5, 19), QPoint(33, 19)}},
        // Back and forth: each return a lane lower, a zigzag.
        {"646", {QPoint(5, 11), QPoint(33, 11), QPoint(5, 19), QPoint(33, 27)}},
        {"62", {QPoint(5, 5), QPoint(33, 5), QPoint(33, 33)}},
        {"42", {QPoint(33, 5), QPoint(5, 5), QPoint(5, 33)}},
        {"", {}},
        {"x", {}},
    };
    for (const PictureCase& c : cases)
        EXPECT_EQ(StrokePicturePoints(QString::fromLatin1(c.pszDirections), 40), c.points) << c.pszDirections;
}

}  // namespace
