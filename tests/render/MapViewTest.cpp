// The map view drawn on Wine's real device and read back from the back
// buffer: the map square's whole-pixel edges, colormap times heightmap, the
// square without size, place or colormap, turned markers, label colours and
// literal label text, the drawing order, and culling that leaves every pixel
// as it was.
#include <gtest/gtest.h>

#include <string.h>

#include <limits>
#include <vector>

#include "tests/render/ViewTestSupport.h"
#include "tests/support/ObjectsOneByOne.h"
#include "tests/support/DeviceRecorder.h"
#include "text/Font2D.h"

using namespace viewtest;

namespace
{
const unsigned kBlue = 0xFF0000FFu; // the cleared background
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

bool IsRed(unsigned p)
{
    return Red(p) > 180 && Green(p) < 80 && Blue(p) < 80;
}
bool IsWhite(unsigned p)
{
    return Red(p) > 180 && Green(p) > 180 && Blue(p) > 180;
}

// Markers sent in the recorded frame besides the map square: one draw each
// one object at a time; batched, n markers in a strip of 6n - 4 triangles.
int MarkersSent(const DeviceRecorder& recorder)
{
    int markers = recorder.Count(DeviceCall::DrawPrimitiveUP) - 1;
    for (const DeviceCall& call : recorder.OfKind(DeviceCall::DrawPrimitive))
        if (call.a == D3DPT_TRIANGLESTRIP)
            markers += (int)(call.c + 4) / 6;
    return markers;
}

// Pixels of a kind inside [left, right) x [top, bottom), clipped to the frame.
template <typename Test>
int CountPixels(const BackBufferPixels& frame, int left, int top, int right, int bottom, Test test)
{
    int count = 0;
    for (int y = top < 0 ? 0 : top; y < bottom && y < frame.height; ++y)
        for (int x = left < 0 ? 0 : left; x < right && x < frame.width; ++x)
            count += test(frame.At(x, y));
    return count;
}

// Textures shared by the suite, loaded once.
struct Art
{
    TempFolder folder;
    int black = -1, white = -1, grey = -1;
    int colormap = -1, heightmap = -1; // 16 x 16, four quadrants
    int marker = -1;                   // 16 x 16, white with a red top-right quadrant
};
Art* art = nullptr;

const unsigned kColours[4] = {0xFFFF8040, 0xFF40FF80, 0xFF8040FF, 0xFFC0C0C0};
const unsigned kHeights[4] = {0xFF808080, 0xFFFFFFFF, 0xFF40C0FF, 0xFF202020};

std::vector<uint32_t> Quadrants(const unsigned colours[4])
{
    std::vector<uint32_t> texels(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            texels[y * 16 + x] = colours[(y < 8 ? 0 : 2) + (x < 8 ? 0 : 1)];
    return texels;
}

class MapViewTest : public EditorDeviceTest
{
  protected:
    static void SetUpTestSuite()
    {
        if (!StartEditorOnce() || art)
            return;
        art = new Art;
        art->black = LoadSolidBitmap(art->folder, "black.bmp", 0xFF000000);
        art->white = LoadSolidBitmap(art->folder, "white.bmp", 0xFFFFFFFF);
        art->grey = LoadSolidBitmap(art->folder, "grey.bmp", 0xFF606060);
        art->colormap = LoadBitmap(art->folder, "colormap.bmp", 16, 16, Quadrants(kColours));
        art->heightmap = LoadBitmap(art->folder, "heightmap.bmp", 16, 16, Quadrants(kHeights));
        const unsigned marker[4] = {0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFFFF};
        art->marker = LoadBitmap(art->folder, "marker.bmp", 16, 16, Quadrants(marker));
    }

    // The textures stay loaded; only their files go.
    static void TearDownTestSuite()
    {
        delete art;
        art = nullptr;
    }

    void SetUp() override
    {
        EditorDeviceTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_NE(art, nullptr);
        // A document and view of the test's own on the editor's renderer
        // and fonts.
        view.labelFont = app.View().Map().labelFont;
        doc.heightmapTexture = art->white;
        doc.colormapTexture = art->black;
        doc.objectImageTexture = art->marker;
        doc.viewScale = 0;
        ASSERT_TRUE(LabelFont() && LabelFont()->ready);
    }

    // An object whose centre lies at view pixel (px, py) with the current
    // scale and scroll (the scale must not be 0).
    void PlaceAt(float px, float py, short rotation = 0, uint8_t type = 0)
    {
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.type = type;
        object.x = (px + doc.scrollX) / doc.viewScale;
        object.y = (py + doc.scrollY) / doc.viewScale;
        object.rotation = rotation;
        doc.AddObject(object);
    }

    // The map and the objects in one frame, batched or one object at a
    // time; a viewport of the given size at the top-left corner, or the
    // whole back buffer.
    BackBufferPixels DrawView(unsigned viewportWidth = 0, unsigned viewportHeight = 0,
                              bool oneByOne = false)
    {
        return DrawnFrame(
            [this, oneByOne]
            {
                view.DrawMap(app.Graphics(), doc);
                if (oneByOne)
                    DrawObjectsOneByOne(view, app.Graphics(), app.Fonts(), doc);
                else
                    view.DrawObjects(app.Graphics(), app.Fonts(), doc);
            },
            viewportWidth, viewportHeight);
    }

    FontEntry* LabelFont() const { return app.Fonts().Entry(view.labelFont); }

    DeviceStateGuard guard_; // made after the suite started the editor
    MapDocument doc;
    MapView view;
};

TEST_F(MapViewTest, TheSquareSitsAtTheScrollTruncatedTowardZero)
{
    // Without size (viewScale 0, no heightmap ever loaded), with scroll
    // values beyond any int or not a number at all, nothing shows.
    const int kNowhere = 1000; // the square covers none of the checked pixels
    const struct
    {
        int viewScale;
        float scroll;
        int edge;  // first column and row of the square
        int drawn; // quads sent
    } cases[] = {{64, 10.7f, -10, 1},      {64, -3.9f, 3, 1},         {0, -100.0f, 100, 1},
                 {512, 3e9f, kNowhere, 1}, {512, -kInf, kNowhere, 1}, {512, kNaN, kNowhere, 0}};
    doc.colormapTexture = art->grey;
    for (const auto& c : cases)
    {
        doc.viewScale = c.viewScale;
        doc.scrollX = doc.scrollY = c.scroll;
        DeviceRecorder recorder(app.Graphics().Device());
        const BackBufferPixels frame = DrawView();
        EXPECT_EQ(recorder.Count(DeviceCall::DrawPrimitiveUP), c.drawn) << c.scroll;
        // Along the diagonal: grey exactly from the edge for viewScale pixels.
        for (int x = 0; x < 128; ++x)
        {
            const unsigned p = frame.At(x, x);
            if (x >= c.edge && x < c.edge + c.viewScale)
                EXPECT_TRUE(Near(p, 0xFF606060u, 1)) << c.scroll << " at " << x;
            else
                EXPECT_EQ(p, kBlue) << c.scroll << " at " << x;
        }
    }
}

TEST_F(MapViewTest, EachPixelShowsColormapTimesHeightmap)
{
    doc.colormapTexture = art->colormap;
    doc.heightmapTexture = art->heightmap;
    doc.viewScale = 200;
    const BackBufferPixels frame = DrawView();
    for (int q = 0; q < 4; ++q)
    {
        const unsigned c = kColours[q], h = kHeights[q];
        const unsigned expected = 0xFF000000u | (unsigned)(Red(c) * Red(h) / 255) << 16 |
                                  (unsigned)(Green(c) * Green(h) / 255) << 8 |
                                  (unsigned)(Blue(c) * Blue(h) / 255);
        const unsigned got = frame.At(q % 2 ? 150 : 50, q / 2 ? 150 : 50);
        EXPECT_TRUE(Near(got, expected, 2))
            << "quadrant " << q << ": " << std::hex << got << " for " << expected;
    }
}

TEST_F(MapViewTest, MarkersTurnClockwiseByTheirRotation)
{
    // viewScale 0 puts every marker's centre at (-scrollX, -scrollY). The
    // grey heightmap would darken the white marker if stage 1 still held it.
    doc.heightmapTexture = art->grey;
    doc.scrollX = doc.scrollY = -100.0f;
    const struct
    {
        short rotation;
        int redX, redY;     // inside the red quadrant after the turn
        int whiteX, whiteY; // inside a white one
        int outX, outY;     // outside the marker
    } cases[] = {
        {0, 104, 96, 104, 104, 109, 100},
        {90, 104, 104, 104, 96, 100, 109},
        // Corners on the axes about 11.3 from the centre.
        {45, 105, 100, 100, 94, 108, 92},
    };
    BackBufferPixels frame;
    for (const auto& c : cases)
    {
        doc.objects.clear();
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.rotation = c.rotation;
        doc.AddObject(object);
        frame = DrawView();
        EXPECT_TRUE(IsRed(frame.At(c.redX, c.redY)))
            << c.rotation << ": " << std::hex << frame.At(c.redX, c.redY);
        EXPECT_TRUE(IsWhite(frame.At(c.whiteX, c.whiteY)))
            << c.rotation << ": " << std::hex << frame.At(c.whiteX, c.whiteY);
        EXPECT_EQ(frame.At(c.outX, c.outY), kBlue) << c.rotation;
    }
    // At 45 degrees the tips reach 11 pixels along the axes.
    EXPECT_NE(frame.At(110, 100), kBlue);
    EXPECT_NE(frame.At(100, 90), kBlue);
    EXPECT_EQ(frame.At(113, 100), kBlue);
}

TEST_F(MapViewTest, TheSelectedLabelIsRedAndTheOthersWhite)
{
    doc.AddObjectType("..\\objects\\tree.ini");
    doc.objectImageTexture = art->grey;
    doc.viewScale = 1000;
    for (int i = 0; i < 3; ++i)
        PlaceAt(100.0f + 150.0f * i, 100.0f);
    for (int selected : {1, 3}) // 3: no object is selected
    {
        doc.SelectOnly(selected);
        const BackBufferPixels frame = DrawView();
        for (int i = 0; i < 3; ++i)
        {
            // Below the marker (which ends 8 below the centre), where only
            // the label can be.
            const int lx = 108 + 150 * i;
            const int red = CountPixels(frame, lx - 50, 109, lx + 50, 120, IsRed);
            const int white = CountPixels(frame, lx - 50, 109, lx + 50, 120, IsWhite);
            EXPECT_EQ(red > 5, i == selected) << "object " << i << ", selected " << selected;
            EXPECT_EQ(white > 5, i != selected) << "object " << i << ", selected " << selected;
            EXPECT_EQ(red > 0 && white > 0, false) << "object " << i << " in one colour";
        }
    }
    // View > Labels off: markers only, either way of drawing.
    view.showLabels = false;
    for (bool oneByOne : {true, false})
    {
        const BackBufferPixels frame = DrawView(0, 0, oneByOne);
        EXPECT_EQ(CountPixels(frame, 50, 109, 460, 120, IsRed), 0) << oneByOne;
        EXPECT_EQ(CountPixels(frame, 50, 109, 460, 120, IsWhite), 0) << oneByOne;
    }
}

TEST_F(MapViewTest, ATypePathIsDrawnLiterally)
{
    doc.objectImageTexture = art->black; // the marker vanishes in the black map
    doc.viewScale = 1000;
    const char path[] = "%d%s%%";
    doc.AddObjectType(path);
    PlaceAt(200.0f, 200.0f);
    const BackBufferPixels frame = DrawView();
    // The lit columns of the label span the measured width of the text
    // itself (the formatted text would differ, or crash).
    SIZE size = {0, 0};
    LabelFont()->font->MeasureText(path, &size);
    int left = 10000, right = -1;
    for (int y = 195; y < 225; ++y)
        for (int x = 130; x < 290; ++x)
            if (IsWhite(frame.At(x, y)))
            {
                left = x < left ? x : left;
                right = x > right ? x : right;
            }
    ASSERT_GE(right, left);
    EXPECT_NEAR(right - left + 1, size.cx, 3);
    EXPECT_NEAR((left + right) / 2.0, 208.0, 3.0);
}

TEST_F(MapViewTest, ObjectsDrawInIndexOrderAndTypesOutsideTheCatalogGetNoLabel)
{
    doc.AddObjectType("WWWWWWWWWWWW");
    doc.objectImageTexture = art->grey;
    doc.viewScale = 1000;
    PlaceAt(200.0f, 200.0f);
    PlaceAt(208.0f, 210.0f);       // its marker sits on object 0's label
    PlaceAt(400.0f, 200.0f, 0, 1); // one past the catalog
    PlaceAt(600.0f, 200.0f, 0, 255);
    for (bool oneByOne : {true, false})
    {
        DeviceRecorder recorder(app.Graphics().Device());
        const BackBufferPixels frame = DrawView(0, 0, oneByOne);
        // Four markers; two labels, each fenced by its own capture one
        // object at a time, by one capture for the frame batched, where
        // object 1's marker on object 0's label takes a second pass.
        EXPECT_EQ(MarkersSent(recorder), 4);
        EXPECT_EQ(recorder.Count(DeviceCall::CaptureStateBlock), oneByOne ? 2 : 1);
        if (!oneByOne)
        {
            EXPECT_EQ(view.LastDraw().passes, 2);
        }
        // Under the later marker nothing of the earlier label is left; beside
        // it the label shows.
        EXPECT_EQ(CountPixels(frame, 202, 204, 214, 212, IsWhite), 0) << oneByOne;
        EXPECT_GT(CountPixels(frame, 170, 204, 198, 212, IsWhite), 5) << oneByOne;
        EXPECT_EQ(CountPixels(frame, 350, 209, 460, 220, IsWhite), 0) << oneByOne;
        EXPECT_EQ(CountPixels(frame, 550, 209, 660, 220, IsWhite), 0) << oneByOne;
    }
}

TEST_F(MapViewTest, WithoutARendererOrATextureNothingIsBound)
{
    Renderer noDevice; // a renderer whose device was never made
    MapDocument alone;
    alone.AddObject(PlacedObject{});
    view.DrawMap(noDevice, alone);
    view.DrawObjects(noDevice, app.Fonts(), alone);

    // -1, out of range, an empty slot, an occupied one (its record's preset 0
    // is current, so only the texture is set).
    for (int index : {-1, 255, 254, art->marker})
    {
        DeviceRecorder recorder(app.Graphics().Device());
        EXPECT_EQ(app.Graphics().BindTextureByIndex(index, 1), 0);
        ASSERT_EQ(recorder.calls.size(), 1u) << index;
        EXPECT_EQ(recorder.calls[0].kind, DeviceCall::SetTexture);
        EXPECT_EQ(recorder.calls[0].texture,
                  index == art->marker ? app.Graphics().Textures().Record(index)->texture : nullptr)
            << index;
    }
    // The map square without a colormap: preset 2 (8 calls), the heightmap on
    // stage 1, nothing on stage 0, the view's format and one strip; the
    // request for preset 0 afterwards changes nothing.
    doc.colormapTexture = -1;
    doc.viewScale = 100;
    DeviceRecorder recorder(app.Graphics().Device());
    view.DrawMap(app.Graphics(), doc);
    ASSERT_EQ(recorder.calls.size(), 12u);
    const std::vector<DeviceCall> textures = recorder.OfKind(DeviceCall::SetTexture);
    ASSERT_EQ(textures.size(), 2u);
    EXPECT_EQ(textures[0].texture, app.Graphics().Textures().Record(art->white)->texture);
    EXPECT_EQ(textures[1].a, 0u);
    EXPECT_EQ(textures[1].texture, nullptr);
    EXPECT_EQ(recorder.Count(DeviceCall::DrawPrimitiveUP), 1);
}

TEST_F(MapViewTest, CullingLeavesOutOnlyWhatCannotShowAndChangesNoPixel)
{
    // The frames cover the whole back buffer (DrawnFrame sets the viewport
    // to it), so that is the area culling works against here.
    const float w = (float)app.Graphics().Width();
    const float h = (float)app.Graphics().Height();
    doc.AddObjectType("..\\objects\\tree.ini");         // type 0
    doc.AddObjectType("WWWWWWWWWWWWWWWWWWWWWWWWWWWWW"); // type 1, a long label
    doc.AddObjectType("i");                             // type 2, a short one
    doc.AddObjectType("WWWW");                          // type 3; type 9 has no label
    // Type 3's label centred so that its last 6 pixels enter at the left.
    SIZE size = {0, 0};
    LabelFont()->font->MeasureText("WWWW", &size);
    const float labelX = 6.5f - (float)size.cx + (float)(size.cx / 2);
    doc.colormapTexture = art->colormap;
    doc.viewScale = 4000;
    doc.scrollX = doc.scrollY = 1000.0f;
    doc.SelectOnly(3);
    const struct
    {
        float x, y;
        short rotation;
        uint8_t type;
        bool culled;
    } objects[] = {
        {200, 200, 0, 0, false},
        {-5, 300, 45, 0, false},           // marker partly in
        {w + 5, 300, 90, 0, false},        // marker partly in on the right
        {-15, 400, 0, 1, false},           // marker out, the long label reaches in
        {300, -12.5f, 0, 0, false},        // marker out above, label reaches in
        {-7.0f, 600, 0, 9, false},         // the marker's last column
        {-10.0f, 650, 45, 9, false},       // the tip of a turned marker
        {labelX - 8.0f, 700, 0, 3, false}, // marker out, the label's end in
        {w / 2, h + 2, 0, 2, false},       // marker tip in at the bottom
        {-60, 300, 30, 2, true},
        {w + 13, 300, 0, 2, true}, // just outside: no pixel of it could show
        {300, -30, 0, 2, true},
        {-5000, -5000, 0, 1, true},
        {kNaN, 300, 0, 0, true},
        {-20, 500, 0, 9, true}, // no label, marker out
    };
    const int count = (int)(sizeof(objects) / sizeof(objects[0]));
    int culled = 0, labelled = 0, culledLabels = 0;
    for (const auto& o : objects)
    {
        PlaceAt(o.x, o.y, o.rotation, o.type);
        culled += o.culled;
        labelled += o.type != 9;
        culledLabels += o.culled && o.type != 9;
    }
    // One object at a time, then batched; culling off, then on.
    int markers[2][2], labels[2];
    BackBufferPixels frames[2][2];
    for (int batched = 0; batched < 2; ++batched)
        for (int cull = 0; cull < 2; ++cull)
        {
            view.cullOffscreenObjects = cull != 0;
            DeviceRecorder recorder(app.Graphics().Device());
            frames[batched][cull] = DrawView(0, 0, batched == 0);
            markers[batched][cull] = MarkersSent(recorder);
            if (!batched)
                labels[cull] = recorder.Count(DeviceCall::CaptureStateBlock);
        }
    for (int batched = 0; batched < 2; ++batched)
    {
        EXPECT_EQ(markers[batched][0], count) << batched;
        EXPECT_EQ(markers[batched][1], count - culled) << batched;
        for (int cull = 0; cull < 2; ++cull)
            EXPECT_TRUE(frames[batched][cull].pixels == frames[0][0].pixels)
                << "batched " << batched << ", culling " << cull << ": other pixels";
    }
    EXPECT_EQ(labels[0], labelled);
    EXPECT_EQ(labels[1], labelled - culledLabels);
    // The scene does reach the edges: what lies partly outside shows at the
    // left and at the top, over the map's uniform colour.
    const unsigned map = frames[0][0].At(150, 150);
    const auto lit = [map](unsigned p) { return !Near(p, map, 40); };
    EXPECT_GT(CountPixels(frames[0][0], 0, 400, 30, 420, lit), 0);
    EXPECT_GT(CountPixels(frames[0][0], 250, 0, 370, 4, lit), 0);
    EXPECT_GT(CountPixels(frames[0][0], 0, 596, 2, 604, lit), 0);
    EXPECT_GT(CountPixels(frames[0][0], 0, 648, 2, 653, lit), 0);
    EXPECT_GT(CountPixels(frames[0][0], 0, 700, 6, 720, lit), 0);
}

TEST_F(MapViewTest, CullingWorksAgainstTheViewport)
{
    // A viewport smaller than the back buffer: nothing is drawn outside it.
    doc.AddObjectType("i");
    doc.viewScale = 1000;
    const struct
    {
        float x, y;
    } objects[] = {{100, 100}, {290, 100}, {100, 190}, {320, 100}, {100, 230}, {600, 600}};
    for (const auto& o : objects)
        PlaceAt(o.x, o.y); // the first three show
    view.cullOffscreenObjects = false;
    DeviceRecorder recorder(app.Graphics().Device());
    const BackBufferPixels all = DrawView(300, 200, true);
    EXPECT_EQ(MarkersSent(recorder), 6);
    view.cullOffscreenObjects = true;
    for (bool oneByOne : {true, false})
    {
        recorder.Clear();
        EXPECT_TRUE(DrawView(300, 200, oneByOne).pixels == all.pixels) << oneByOne;
        EXPECT_EQ(MarkersSent(recorder), 3) << oneByOne;
        EXPECT_EQ(recorder.Count(DeviceCall::CaptureStateBlock), oneByOne ? 3 : 1);
    }
}
} // namespace

TEST_F(MapViewTest, TheRubberBandIsAnOutlineOverTheViewThatLeavesTheStagesAsTheyWere)
{
    doc.colormapTexture = art->grey;
    doc.viewScale = 1000;
    DWORD before[2] = {0, 0}, after[2] = {0, 0};
    const BackBufferPixels frame = DrawnFrame(
        [&]
        {
            view.DrawMap(app.Graphics(), doc);
            app.Graphics().Device()->GetTextureStageState(0, D3DTSS_COLOROP, &before[0]);
            app.Graphics().Device()->GetTextureStageState(1, D3DTSS_COLOROP, &before[1]);
            view.DrawRubberBand(app.Graphics(), 300.7f, 200.2f, 100.0f,
                                100.0f); // corners in any order
            app.Graphics().Device()->GetTextureStageState(0, D3DTSS_COLOROP, &after[0]);
            app.Graphics().Device()->GetTextureStageState(1, D3DTSS_COLOROP, &after[1]);
        });
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    const auto isBlack = [](unsigned p) { return Red(p) < 40 && Green(p) < 40 && Blue(p) < 40; };
    const auto isYellow = [](unsigned p) { return Red(p) > 200 && Green(p) > 200 && Blue(p) < 60; };
    // The dark edge on the band's outer pixels, the light one just inside,
    // the map itself inside and outside.
    for (int x = 101; x < 300; x += 7)
    {
        EXPECT_TRUE(isBlack(frame.At(x, 100))) << x;
        EXPECT_TRUE(isBlack(frame.At(x, 200))) << x;
        EXPECT_TRUE(isYellow(frame.At(x + 1 < 299 ? x + 1 : 298, 101))) << x;
    }
    for (int y = 101; y < 200; y += 7)
    {
        EXPECT_TRUE(isBlack(frame.At(100, y))) << y;
        EXPECT_TRUE(isBlack(frame.At(300, y))) << y;
        EXPECT_TRUE(isYellow(frame.At(101, y + 1 < 199 ? y + 1 : 198))) << y;
    }
    EXPECT_TRUE(Near(frame.At(200, 150), 0xFF606060u, 1));
    EXPECT_TRUE(Near(frame.At(302, 150), 0xFF606060u, 1));
    EXPECT_TRUE(Near(frame.At(200, 98), 0xFF606060u, 1));
}
