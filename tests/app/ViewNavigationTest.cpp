// Zoom, fit and pan through the view's real messages on the sample map, read
// back from the frames they draw, and the status bar's fields over a known
// heightmap cell.
#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/StatusBar.h"
#include "app/WindowsFileSystem.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/support/EditorHarness.h"

namespace
{
class ViewNavigationTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        RECT client;
        GetClientRect(app.View().Handle(), &client);
        width = client.right;
        height = client.bottom;
        ASSERT_GT(width, 200);
        ASSERT_GT(height, 200);
        // The back buffer of the view's size, as after any resize.
        app.Graphics().ResizeBackBuffer(width, height, app.Fonts());
    }
    int width = 0, height = 0;
};

BackBufferPixels Frame()
{
    app.View().DrawFrame();
    BackBufferPixels pixels;
    EXPECT_TRUE(ReadBackBuffer(app.Graphics().Device(), &pixels));
    return pixels;
}

int Channel(unsigned pixel, int shift)
{
    return (int)((pixel >> shift) & 0xFF);
}

// Largest channel difference between a's pixel at (ax, ay) and b's at (bx, by).
int PixelDifference(const BackBufferPixels& a, int ax, int ay, const BackBufferPixels& b, int bx,
                    int by)
{
    int most = 0;
    for (int shift : {0, 8, 16})
        most = std::max(most, abs(Channel(a.At(ax, ay), shift) - Channel(b.At(bx, by), shift)));
    return most;
}

// The same over the 5 x 5 pixels around (x, y) in both.
int PatchDifference(const BackBufferPixels& a, const BackBufferPixels& b, int x, int y)
{
    int most = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            most = std::max(most, PixelDifference(a, x + dx, y + dy, b, x + dx, y + dy));
    return most;
}

// Where `after`, the view zoomed by `factor` at (x, y), shows what `before`
// showed around (x, y): the offset from (x, y), found as the best match of the
// 41 x 41 pixels around it over offsets up to 12 pixels each way.
POINT MatchOffset(const BackBufferPixels& before, const BackBufferPixels& after, int x, int y,
                  double factor)
{
    POINT best = {99, 99};
    long bestSum = -1;
    for (int oy = -12; oy <= 12; ++oy)
        for (int ox = -12; ox <= 12; ++ox)
        {
            long sum = 0;
            for (int j = -20; j <= 20; j += 2)
                for (int i = -20; i <= 20; i += 2)
                    sum += PixelDifference(before, x + i, y + j, after,
                                           x + ox + (int)lround(i * factor),
                                           y + oy + (int)lround(j * factor));
            if (bestSum < 0 || sum < bestSum)
            {
                bestSum = sum;
                best = {ox, oy};
            }
        }
    return best;
}

void Wheel(int clicks, int x, int y)
{
    POINT at = {x, y};
    ClientToScreen(app.View().Handle(), &at);
    SendToView(WM_MOUSEWHEEL, MAKEWPARAM(0, (short)(clicks * WHEEL_DELTA)), MAKELPARAM(at.x, at.y));
}

const unsigned kBackground = 0xFF0000FFu;

TEST_F(ViewNavigationTest, TheWheelZoomsInStepsAtThePointerAndThePointStaysUnderIt)
{
    const int px = width / 3, py = height / 3;
    const BackBufferPixels before = Frame();
    Wheel(1, px, py);
    EXPECT_EQ(app.Document().viewScale, 3840); // 3072 x 1.25
    const BackBufferPixels zoomed = Frame();
    const POINT moved = MatchOffset(before, zoomed, px, py, 1.25);
    EXPECT_LE(abs(moved.x), 1) << "the point under the pointer moved";
    EXPECT_LE(abs(moved.y), 1) << "the point under the pointer moved";

    // Back out at the same point: the same scale and the same picture.
    Wheel(-1, px, py);
    EXPECT_EQ(app.Document().viewScale, 3072);
    EXPECT_LE(PatchDifference(before, Frame(), px, py), 2);

    // Half a click waits for the other half; steps stop at 64 pixels a cell.
    const struct
    {
        short delta;
        int scale;
    } steps[] = {{WHEEL_DELTA / 2, 3072}, {WHEEL_DELTA / 2, 3840}, {WHEEL_DELTA * 40, 64 * 256}};
    for (const auto& step : steps)
    {
        POINT at = {px, py};
        ClientToScreen(app.View().Handle(), &at);
        SendToView(WM_MOUSEWHEEL, MAKEWPARAM(0, step.delta), MAKELPARAM(at.x, at.y));
        EXPECT_EQ(app.Document().viewScale, step.scale) << step.delta;
    }
}

TEST_F(ViewNavigationTest, FitShowsTheWholeMapInTheMiddleAndZoomOutStopsThere)
{
    SendToMain(WM_COMMAND, ID_VIEW_FITMAP);
    const int side = std::min(width, height);
    EXPECT_EQ(app.Document().viewScale, side);
    const BackBufferPixels fitted = Frame();
    const int left = (width - side) / 2, top = (height - side) / 2;
    // Inside the map's square: no background; just outside it: background.
    for (const auto& point : std::vector<std::pair<int, int>>{
             {left + 2, top + 2}, {left + side - 3, top + side - 3}, {width / 2, height / 2}})
        EXPECT_NE(fitted.At(point.first, point.second), kBackground)
            << point.first << "," << point.second;
    if (left > 2)
    {
        EXPECT_EQ(fitted.At(left - 2, height / 2), kBackground);
    }
    if (top > 2)
    {
        EXPECT_EQ(fitted.At(width / 2, top - 2), kBackground);
    }

    // Fitted is as far out as the wheel and - go.
    Wheel(-1, 10, 10);
    SendToMain(WM_COMMAND, ID_VIEW_ZOOMOUT);
    EXPECT_EQ(app.Document().viewScale, side);
    SendToMain(WM_COMMAND, ID_VIEW_ZOOMIN);
    EXPECT_EQ(app.Document().viewScale, (int)lround(side * 1.25));

    // Zoomed in at one corner and out at another, one notch at a time: the
    // last step out lands on Fit Map's framing.
    SendToMain(WM_COMMAND, ID_VIEW_FITMAP);
    const float fitX = app.Document().scrollX, fitY = app.Document().scrollY;
    Wheel(4, width / 5, height / 4);
    for (int i = 0; i < 6; ++i)
        Wheel(-1, width - 20, height - 30);
    EXPECT_EQ(app.Document().viewScale, side);
    EXPECT_EQ(app.Document().scrollX, fitX);
    EXPECT_EQ(app.Document().scrollY, fitY);
}

TEST_F(ViewNavigationTest, TheMiddleButtonDragsTheMapOneToOneUntilItsEdgeReachesTheCentre)
{
    app.Document().scrollX = 600;
    app.Document().scrollY = 400;
    const BackBufferPixels before = Frame();
    SendToView(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(200, 200));
    SendToView(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(260, 230));
    SendToView(WM_MBUTTONUP, 0, MAKELPARAM(260, 230));
    EXPECT_EQ(app.Document().scrollX, 540.0f);
    EXPECT_EQ(app.Document().scrollY, 370.0f);
    EXPECT_FALSE(app.View().Gesture().panning);
    // What was at (100, 100) is now at (160, 130).
    const BackBufferPixels after = Frame();
    for (const auto& point : std::vector<std::pair<int, int>>{{100, 100}, {300, 250}})
        EXPECT_LE(PixelDifference(before, point.first, point.second, after, point.first + 60,
                                  point.second + 30),
                  2)
            << point.first;

    // Far past the map's top-left corner: it stops at the view's centre.
    SendToView(WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(0, 0));
    SendToView(WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(30000, 30000));
    SendToView(WM_MBUTTONUP, 0, MAKELPARAM(30000, 30000));
    EXPECT_EQ(app.Document().scrollX, -width / 2.0f);
    EXPECT_EQ(app.Document().scrollY, -height / 2.0f);
    const BackBufferPixels corner = Frame();
    EXPECT_EQ(corner.At(width / 2 - 2, height / 2 + 5), kBackground);
    EXPECT_NE(corner.At(width / 2 + 2, height / 2 + 5), kBackground);
}

// The sample heightmap's value at a cell, read from its file (a 24-bit
// bottom-up BMP of 256 x 256, grey).
int SampleHeight(int cellX, int cellY)
{
    FILE* file = fopen(kSampleHeightmap, "rb");
    if (!file)
        return -1;
    std::vector<unsigned char> bytes(54 + 256 * 256 * 3);
    const size_t read = fread(bytes.data(), 1, bytes.size(), file);
    fclose(file);
    if (read != bytes.size())
        return -1;
    return bytes[54 + ((255 - cellY) * 256 + cellX) * 3 + 2];
}

TEST_F(ViewNavigationTest, TheStatusBarFollowsThePointerOverAKnownCell)
{
    // At 3072 pixels for 256 cells a cell is 12 pixels: (126, 246) is in
    // cell 10, 20.
    app.Document().AddObject(PlacedObject{});
    app.Document().SelectOnly(0);
    SendToView(WM_MOUSEMOVE, 0, MAKELPARAM(126, 246));
    app.Status().Refresh();
    const int expectedHeight = SampleHeight(10, 20);
    ASSERT_GE(expectedHeight, 0);
    char height[32];
    snprintf(height, sizeof(height), "height %d", expectedHeight);
    const std::vector<std::string> fields = {
        "x 0.0410, y 0.0801", "cell 10, 20",           height,
        "12.0 px/cell",       "1 objects, 1 selected", app.Document().DisplayName()};
    for (size_t part = 0; part < fields.size(); ++part)
        EXPECT_EQ(app.Status().Field((int)part), fields[part]) << part;

    // Off the map's square: the position stays, the cell says so.
    app.Document().scrollX = -500;
    SendToView(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(app.Status().Field(1), "off the map");
    EXPECT_EQ(app.Status().Field(2), "");
}

TEST_F(ViewNavigationTest, TheStatusBarAndTheTitleShowAMapNameOfAnyLength)
{
    // 250 two-byte letters: 504 bytes, more than any field of a fixed size
    // that the shown text was once read back into.
    std::string name;
    for (int i = 0; i < 250; ++i)
        name += "\xD0\x96";
    name += ".ini";
    app.Document().settingsFile = "C:\\maps\\" + name;
    for (int refresh = 0; refresh < 3; ++refresh) // each compares with what is shown
        RefreshEditMenu(app);
    EXPECT_EQ(app.Status().Field(5), name);
    HWND main = app.Main().Handle();
    std::wstring title((size_t)GetWindowTextLengthW(main) + 1, L'\0');
    title.resize((size_t)GetWindowTextW(main, &title[0], (int)title.size()));
    EXPECT_EQ(WindowsFileSystem::NarrowName(title), name + " - Map Editor 1.4a");
    app.Document().settingsFile.clear();
    RefreshEditMenu(app);
}
} // namespace
