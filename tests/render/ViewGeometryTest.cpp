// Geometry of the map view without a device, checked natively under the
// sanitizers: marker turns, the map square's whole-pixel placement (and
// scroll values no int can hold), and the edges of the visibility tests.
#include <gtest/gtest.h>

#include <limits.h>

#include <limits>

#include "render/ViewGeometry.h"

namespace
{
const float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(MarkerOutlineTest, TurnsClockwiseOnTheScreenAboutAFractionalCentre)
{
    struct Case
    {
        short rotation;
        float x[4], y[4]; // top-left, top-right, bottom-left, bottom-right
    };
    const float d = 11.3137085f;
    const Case cases[] = {
        {0, {-8, 8, -8, 8}, {-8, -8, 8, 8}},
        // The top-right corner turns to the bottom-right.
        {90, {8, 8, -8, -8}, {-8, 8, -8, 8}},
        {-90, {-8, -8, 8, 8}, {8, -8, 8, -8}},
        // The corners lie on the axes, 8 * sqrt(2) from the centre.
        {45, {0, d, -d, 0}, {-d, 0, 0, d}},
    };
    for (const Case& c : cases)
    {
        // Markers are not moved to whole pixels: a centre at -10.7 stays there.
        CornerPoint corners[4];
        MarkerOutline(c.rotation, -10.7f, 0.25f, corners);
        for (int i = 0; i < 4; ++i)
        {
            EXPECT_NEAR(corners[i].x, -10.7f + c.x[i], 1e-3) << c.rotation << " corner " << i;
            EXPECT_NEAR(corners[i].y, 0.25f + c.y[i], 1e-3) << c.rotation << " corner " << i;
        }
    }
}

TEST(MapSquareRectTest, TruncatesTowardZeroAndClampsToTheIntRange)
{
    struct Case
    {
        float scrollX, scrollY;
        int viewScale;
        ScreenRect expected;
    };
    const Case cases[] = {
        {10.7f, 0.0f, 64, {-10, 0, 54, 64}},
        {-3.9f, -3.9f, 64, {3, 3, 67, 67}},
        {100.0f, 20.0f, 0, {-100, -20, -100, -20}},
        // Beyond the int range the square is clamped, never converted.
        {-3e9f, 3e9f, 512, {INT_MAX, INT_MIN, INT_MAX, INT_MIN + 512}},
        {kInf, -kInf, 512, {INT_MIN, INT_MAX, INT_MIN + 512, INT_MAX}},
        {-2147483520.0f, 0.0f, INT_MAX, {2147483520, 0, INT_MAX, INT_MAX}},
    };
    for (const Case& c : cases)
    {
        ScreenRect rect = {1, 2, 3, 4};
        ASSERT_TRUE(MapSquareRect(c.scrollX, c.scrollY, c.viewScale, &rect));
        EXPECT_EQ(rect.left, c.expected.left) << c.scrollX;
        EXPECT_EQ(rect.top, c.expected.top) << c.scrollY;
        EXPECT_EQ(rect.right, c.expected.right) << c.scrollX;
        EXPECT_EQ(rect.bottom, c.expected.bottom) << c.scrollY;
    }
    // A scroll that is not a number places nothing.
    ScreenRect rect;
    EXPECT_FALSE(MapSquareRect(kNaN, 0.0f, 512, &rect));
    EXPECT_FALSE(MapSquareRect(0.0f, kNaN, 512, &rect));
}

TEST(VisibilityTest, AMarkerShowsWhileAnyPartCanTouchTheArea)
{
    const ViewArea area = {0.0f, 0.0f, 640.0f, 480.0f};
    struct Case
    {
        float x, y;
        bool shows;
    };
    const Case cases[] = {
        {320, 240, true},
        // 11.3 pixels reach, one of slack: -12 still counts, -13 not.
        {-12.0f, 240, true},
        {-12.4f, 240, false},
        {652.0f, 240, true},
        {652.4f, 240, false},
        {320, 492.4f, false},
        {kNaN, 240, false},
        {320, kInf, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkerMayShow(area, c.x, c.y), c.shows) << c.x << ", " << c.y;
    EXPECT_FALSE(MarkerMayShow({0.0f, 0.0f, 0.0f, 0.0f}, 100.0f, 100.0f)) << "an empty area";
}

TEST(VisibilityTest, ALabelShowsByItsMeasuredSizeCentredOnItsPoint)
{
    const ViewArea area = {0.0f, 0.0f, 640.0f, 480.0f};
    struct Case
    {
        float x, y;
        long width, height;
        float scale;
        bool shows;
    };
    const Case cases[] = {
        // 60 wide: from x - 30.5 to x + 30.5, two pixels of slack.
        {-32.0f, 240, 60, 13, 1.0f, true},
        {-33.0f, 240, 60, 13, 1.0f, false},
        {673.0f, 240, 60, 13, 1.0f, false},
        // 13 high: half is 6 (integer), so the text reaches 7.5 below.
        {320, -9.0f, 60, 13, 1.0f, true},
        {320, -10.0f, 60, 13, 1.0f, false},
        {320, 489.0f, 60, 13, 1.0f, false},
        // A glyph texture shrunk to half draws every texel on two pixels.
        {-80.0f, 240, 60, 13, 0.5f, true},
        {-96.0f, 240, 60, 13, 0.5f, false},
        {kNaN, 240, 60, 13, 1.0f, false},
        // A scale that makes no sense cannot prove the label outside.
        {-5000.0f, 240, 60, 13, 0.0f, true},
        {-5000.0f, 240, 60, 13, kNaN, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelMayShow(area, c.x, c.y, c.width, c.height, c.scale), c.shows)
            << c.x << ", " << c.y << " scale " << c.scale;
    EXPECT_FALSE(LabelMayShow({0.0f, 0.0f, 0.0f, 0.0f}, 100.0f, 100.0f, 40, 13, 1.0f))
        << "an empty area";
}
} // namespace
