#include "app/CPenGesture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Stroke {
    const char* pszName;
    std::vector<POINT> points;  // pen down at the first, moves through the rest
    const char* pszExpected;
};

QString Draw(CPenGesture* pGesture, const std::vector<POINT>& points)
{
    pGesture->Start(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        pGesture->Step(points[i]);
    QString strStroke = QStringLiteral("unset");
    EXPECT_TRUE(pGesture->Finish(&strStroke));
    return strStroke;
}

TEST(CPenGesture, StrokesGiveTheirDirectionDigits)
{
    const Stroke strokes[] = {
        {"plain tap", {{50, 50}}, ""},
        {"short jitter", {{50, 50}, {53, 52}, {48, 49}, {55, 55}}, ""},
        {"down", {{50, 50}, {50, 70}}, "2"},
        {"right in small moves", {{10, 50}, {16, 50}, {22, 51}, {28, 50}, {40, 50}, {90, 52}}, "6"},
        {"left", {{90, 50}, {60, 50}}, "4"},
        {"up", {{50, 90}, {50, 60}}, "8"},
        {"right, left, right", {{10, 50}, {60, 50}, {20, 50}, {70, 50}}, "646"},
        {"right then down", {{10, 50}, {60, 50}, {60, 90}}, "62"},
        {"left then down", {{60, 50}, {10, 50}, {10, 90}}, "42"},
        {"wobble into a third direction", {{10, 50}, {60, 50}, {60, 90}, {20, 90}}, "624"},
        // Short moves add up from the last step point: 4 + 4 + 4 = 12 pixels count.
        {"small moves add up", {{50, 50}, {50, 54}, {50, 58}, {50, 62}}, "2"},
    };
    for (const Stroke& stroke : strokes) {
        CPenGesture gesture;
        EXPECT_EQ(Draw(&gesture, stroke.points).toStdString(), stroke.pszExpected) << stroke.pszName;
        EXPECT_FALSE(gesture.IsTracking()) << stroke.pszName;
    }
}

TEST(CPenGesture, DirectionBoundaries)
{
    const struct {
        POINT to;  // from (100, 100); screen y grows downwards
        char cDigit;
    } cases[] = {
        {{110, 100}, 0},    // 10 pixels: not a step
        {{111, 100}, '6'},
        {{108, 108}, '2'},  // 11.3 pixels count; exactly -45 degrees is down
        {{107, 107}, 0},    // 9.9 pixels
        {{112, 88}, '6'},   // exactly 45 degrees up: still right
        {{112, 112}, '2'},  // exactly 45 degrees down: down
        {{88, 88}, '8'},    // exactly 135 degrees: up
        {{88, 112}, '4'},   // exactly -135 degrees: left
        {{89, 100}, '4'},   // 180 degrees
        {{100, 89}, '8'},
        {{100, 111}, '2'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPenGesture::DirectionDigit(POINT{100, 100}, c.to), c.cDigit) << c.to.x << "," << c.to.y;
    }
}

TEST(CPenGesture, DigitRepeatsOnlyAfterAnotherDirection)
{
    CPenGesture gesture;
    gesture.Start(POINT{0, 0});
    gesture.Step(POINT{20, 0});
    gesture.Step(POINT{40, 0});
    EXPECT_EQ(gesture.GetStroke(), QStringLiteral("6"));
    gesture.Step(POINT{40, 20});
    gesture.Step(POINT{60, 20});
    EXPECT_EQ(gesture.GetStroke(), QStringLiteral("626"));
}

TEST(CPenGesture, NothingIsTrackedWithoutPenDown)
{
    CPenGesture gesture;
    gesture.Step(POINT{0, 0});
    gesture.Step(POINT{0, 50});
    QString strStroke = QStringLiteral("unchanged");
    EXPECT_FALSE(gesture.Finish(&strStroke));
    EXPECT_EQ(strStroke, QStringLiteral("unchanged"));
    // A second pen up after a finished stroke runs nothing either.
    gesture.Start(POINT{0, 0});
    gesture.Step(POINT{0, 50});
    EXPECT_TRUE(gesture.Finish(&strStroke));
    EXPECT_EQ(strStroke, QStringLiteral("2"));
    gesture.Step(POINT{0, 100});
    EXPECT_FALSE(gesture.Finish(&strStroke));
}

TEST(CPenGesture, OnlyTheFiveStringsAreGestures)
{
    EXPECT_EQ(GestureCommand("2"), EGesture::Open);
    EXPECT_EQ(GestureCommand("6"), EGesture::ToggleComplete);
    EXPECT_EQ(GestureCommand("646"), EGesture::Delete);
    EXPECT_EQ(GestureCommand("62"), EGesture::NewAppointment);
    EXPECT_EQ(GestureCommand("42"), EGesture::NewTask);
    for (const char* psz : {"", "4", "8", "64", "6464", "624", "26", "24", "462"})
        EXPECT_EQ(GestureCommand(psz), EGesture::None) << psz;
}

}  // namespace
