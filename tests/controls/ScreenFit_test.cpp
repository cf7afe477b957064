// Pop-up windows kept on their screen: moved inside it, and made smaller where they are
// larger than it.
#include "controls/ScreenFit.h"
#include <gtest/gtest.h>

namespace {

struct FitCase {
    const char* pszWhat;
    QRect rc;
    QRect fitted;
};

TEST(ScreenFit, RectIsMovedAndShrunkIntoTheArea)
{
    const QRect screen(0, 0, 240, 320);
    const FitCase cases[] = {
        {"inside already", QRect(10, 20, 100, 50), QRect(10, 20, 100, 50)},
        {"calendar past the right edge", QRect(70, 100, 217, 150), QRect(23, 100, 217, 150)},
        {"question wider than the screen", QRect(70, 100, 400, 120), QRect(0, 100, 240, 120)},
        {"below the bottom edge", QRect(0, 300, 100, 60), QRect(0, 260, 100, 60)},
        {"above and left of it", QRect(-30, -5, 100, 60), QRect(0, 0, 100, 60)},
        {"larger both ways", QRect(5, 5, 500, 500), QRect(0, 0, 240, 320)},
    };
    for (const FitCase& c : cases)
        EXPECT_EQ(FitRectInto(c.rc, screen), c.fitted) << c.pszWhat;
    // An area that does not start at the origin (a second screen).
    EXPECT_EQ(FitRectInto(QRect(1000, 10, 300, 50), QRect(800, 0, 240, 320)), QRect(800, 10, 240, 50));
}

}  // namespace
