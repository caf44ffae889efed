// The map view drawn on Wine's real device and read back from the back
// buffer: the map square's whole-pixel edges, colormap times heightmap, the
// square without size or without colormap, turned markers, label colours and
// literal label text, the drawing order, the device calls of a frame, and
// culling that leaves every pixel as it was.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "render/TexturedVertex.h"
#include "tests/render/ViewTestSupport.h"
#include "tests/support/DeviceRecorder.h"
#include "text/Font2D.h"

using namespace viewtest;

namespace
{
const unsigned kBlue = 0xFF0000FFu; // the cleared background

bool IsRed(unsigned p)
{
    return Red(p) > 180 && Green(p) < 80 && Blue(p) < 80;
}
bool IsWhite(unsigned p)
{
    return Red(p) > 180 && Green(p) > 180 && Blue(p) > 180;
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

// Textures shared by a suite, loaded once per suite.
struct Art
{
    TempFolder folder;
    int black = -1, white = -1, grey = -1;
    int colormap = -1, heightmap = -1; // 16 x 16, four quadrants
    int marker = -1;                   // 16 x 16, white with a red top-right quadrant
};
Art* art = nullptr;

std::vector<uint32_t> Quadrants(uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br)
{
    std::vector<uint32_t> texels(256);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            texels[y * 16 + x] = y < 8 ? (x < 8 ? tl : tr) : (x < 8 ? bl : br);
    return texels;
}

class MapViewTest : public ::testing::Test
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
        art->colormap = LoadBitmap(art->folder, "colormap.bmp", 16, 16,
                                   Quadrants(0xFFFF8040, 0xFF40FF80, 0xFF8040FF, 0xFFC0C0C0));
        art->heightmap = LoadBitmap(art->folder, "heightmap.bmp", 16, 16,
                                    Quadrants(0xFF808080, 0xFFFFFFFF, 0xFF40C0FF, 0xFF202020));
        art->marker = LoadBitmap(art->folder, "marker.bmp", 16, 16,
                                 Quadrants(0xFFFFFFFF, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFFFF));
    }

    // The textures stay loaded; only their files go.
    static void TearDownTestSuite()
    {
        delete art;
        art = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        ASSERT_NE(art, nullptr);
        guard_.reset(new DeviceStateGuard);
        // A document of the test's own on the editor's renderer and fonts.
        doc.renderer = &app;
        doc.fontRegistry = &app.fonts;
        doc.labelFont = app.document.labelFont;
        doc.heightmapTexture = art->white;
        doc.colormapTexture = art->black;
        doc.objectImageTexture = art->marker;
        doc.viewScale = 0;
        doc.selectedObject = -1;
    }

    void TearDown() override { guard_.reset(); }

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

    BackBufferPixels DrawView()
    {
        return DrawnFrame(
            [this]
            {
                doc.DrawMap();
                doc.DrawObjects();
            });
    }

    FontEntry* LabelFont() const { return app.fonts.Entry(doc.labelFont); }

    MapDocument doc;
    std::unique_ptr<DeviceStateGuard> guard_;
};

TEST_F(MapViewTest, TheSquareSitsAtTheScrollTruncatedTowardZero)
{
    doc.colormapTexture = art->grey;
    doc.viewScale = 64;
    const struct
    {
        float scroll;
        int edge; // first column and row of the square
    } cases[] = {{10.7f, -10}, {-3.9f, 3}, {0.0f, 0}, {-20.2f, 20}};
    for (const auto& c : cases)
    {
        doc.scrollX = doc.scrollY = c.scroll;
        const BackBufferPixels frame = DrawView();
        ASSERT_GT(frame.width, 100);
        const int first = c.edge, last = c.edge + 63; // the square's last column
        const int inside = first > 0 ? first : 0;
        EXPECT_TRUE(Near(frame.At(inside, inside), 0xFF606060u, 1)) << c.scroll;
        EXPECT_TRUE(Near(frame.At(last, last), 0xFF606060u, 1)) << c.scroll;
        EXPECT_EQ(frame.At(last + 1, 30), kBlue) << c.scroll;
        EXPECT_EQ(frame.At(30, last + 1), kBlue) << c.scroll;
        if (first > 0)
        {
            EXPECT_EQ(frame.At(first - 1, 30), kBlue) << c.scroll;
            EXPECT_EQ(frame.At(30, first - 1), kBlue) << c.scroll;
        }
    }
}

TEST_F(MapViewTest, EachPixelShowsColormapTimesHeightmap)
{
    doc.colormapTexture = art->colormap;
    doc.heightmapTexture = art->heightmap;
    doc.viewScale = 200;
    const BackBufferPixels frame = DrawView();
    const unsigned colours[4] = {0xFFFF8040, 0xFF40FF80, 0xFF8040FF, 0xFFC0C0C0};
    const unsigned heights[4] = {0xFF808080, 0xFFFFFFFF, 0xFF40C0FF, 0xFF202020};
    const int centres[4][2] = {{50, 50}, {150, 50}, {50, 150}, {150, 150}};
    for (int q = 0; q < 4; ++q)
    {
        const unsigned expected = 0xFF000000u |
                                  (unsigned)(Red(colours[q]) * Red(heights[q]) / 255) << 16 |
                                  (unsigned)(Green(colours[q]) * Green(heights[q]) / 255) << 8 |
                                  (unsigned)(Blue(colours[q]) * Blue(heights[q]) / 255);
        const unsigned got = frame.At(centres[q][0], centres[q][1]);
        EXPECT_TRUE(Near(got, expected, 2))
            << "quadrant " << q << ": " << std::hex << got << " for " << expected;
    }
}

TEST_F(MapViewTest, ASquareWithoutSizeOrPlaceLeavesTheBackground)
{
    // viewScale 0 (no heightmap ever loaded); scroll values beyond any int
    // or not a number at all.
    const struct
    {
        int viewScale;
        float scrollX, scrollY;
        int drawn; // quads sent
    } cases[] = {{0, -100.0f, -100.0f, 1},
                 {512, 3e9f, 0.0f, 1},
                 {512, -3e9f, -3e9f, 1},
                 {512, std::numeric_limits<float>::infinity(), 0.0f, 1},
                 {512, std::numeric_limits<float>::quiet_NaN(), 0.0f, 0}};
    doc.colormapTexture = art->grey;
    for (const auto& c : cases)
    {
        doc.viewScale = c.viewScale;
        doc.scrollX = c.scrollX;
        doc.scrollY = c.scrollY;
        DeviceRecorder recorder(app.device);
        const BackBufferPixels frame = DrawView();
        EXPECT_EQ(recorder.Count(DeviceCall::DrawPrimitiveUP), c.drawn) << c.scrollX;
        EXPECT_EQ(CountPixels(frame, 0, 0, frame.width, frame.height,
                              [](unsigned p) { return p != kBlue; }),
                  0)
            << c.viewScale << " " << c.scrollX;
    }
}

TEST_F(MapViewTest, TheMapFrameBindsBothMapsAndDrawsOneQuad)
{
    doc.viewScale = 100;
    const struct
    {
        int colormap;
        bool textured;
    } cases[] = {{art->colormap, true}, {-1, false}, {254, false}, {100000, false}};
    for (const auto& c : cases)
    {
        doc.colormapTexture = c.colormap;
        DeviceRecorder recorder(app.device);
        doc.DrawMap();
        const std::vector<DeviceCall>& calls = recorder.calls;
        ASSERT_EQ(calls.size(), 12u) << c.colormap;
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(calls[i].kind, DeviceCall::SetTextureStageState) << "preset 2, call " << i;
        EXPECT_EQ(calls[8].kind, DeviceCall::SetTexture);
        EXPECT_EQ(calls[8].a, 1u);
        EXPECT_EQ(calls[8].texture, app.textures.Record(art->white)->texture);
        EXPECT_EQ(calls[9].kind, DeviceCall::SetTexture);
        EXPECT_EQ(calls[9].a, 0u);
        EXPECT_EQ(calls[9].texture,
                  c.textured ? app.textures.Record(c.colormap)->texture : nullptr);
        EXPECT_EQ(calls[10].kind, DeviceCall::SetVertexShader);
        EXPECT_EQ(calls[10].a, 0x244u);
        EXPECT_EQ(calls[11].kind, DeviceCall::DrawPrimitiveUP);
        EXPECT_EQ(calls[11].a, (DWORD)D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(calls[11].b, 2u);
        EXPECT_EQ(calls[11].c, 36u);
    }
}

TEST_F(MapViewTest, MarkersTurnClockwiseByTheirRotation)
{
    // viewScale 0 puts every marker's centre at (-scrollX, -scrollY).
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
        {180, 96, 104, 104, 104, 91, 100},
        {-90, 96, 96, 104, 96, 100, 91},
        // Corners on the axes about 11.3 from the centre.
        {45, 105, 100, 100, 94, 108, 92},
    };
    for (const auto& c : cases)
    {
        doc.objects.clear();
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.rotation = c.rotation;
        doc.AddObject(object);
        const BackBufferPixels frame = DrawView();
        EXPECT_TRUE(IsRed(frame.At(c.redX, c.redY)))
            << c.rotation << ": " << std::hex << frame.At(c.redX, c.redY);
        EXPECT_TRUE(IsWhite(frame.At(c.whiteX, c.whiteY)))
            << c.rotation << ": " << std::hex << frame.At(c.whiteX, c.whiteY);
        EXPECT_EQ(frame.At(c.outX, c.outY), kBlue) << c.rotation;
    }
    // At 45 degrees the tips reach 11 pixels along the axes.
    const BackBufferPixels frame = DrawView();
    EXPECT_NE(frame.At(110, 100), kBlue);
    EXPECT_NE(frame.At(100, 90), kBlue);
    EXPECT_EQ(frame.At(113, 100), kBlue);
}

TEST_F(MapViewTest, TheSelectedLabelIsRedAndTheOthersWhite)
{
    ASSERT_NE(LabelFont(), nullptr);
    ASSERT_TRUE(LabelFont()->ready);
    doc.AddObjectType("..\\objects\\tree.ini");
    doc.objectImageTexture = art->grey;
    doc.viewScale = 1000;
    for (int i = 0; i < 3; ++i)
        PlaceAt(100.0f + 150.0f * i, 100.0f);
    for (int selected : {0, 1, 2, 3, -1})
    {
        doc.selectedObject = selected;
        const BackBufferPixels frame = DrawView();
        for (int i = 0; i < 3; ++i)
        {
            // Below the marker (which ends 8 below the centre), where only
            // the label can be.
            const int lx = 108 + 150 * i;
            const int red = CountPixels(frame, lx - 50, 109, lx + 50, 120, IsRed);
            const int white = CountPixels(frame, lx - 50, 109, lx + 50, 120, IsWhite);
            if (i == selected)
            {
                EXPECT_GT(red, 5) << "selected " << selected;
                EXPECT_EQ(white, 0) << "selected " << selected;
            }
            else
            {
                EXPECT_EQ(red, 0) << "object " << i << ", selected " << selected;
                EXPECT_GT(white, 5) << "object " << i << ", selected " << selected;
            }
        }
    }
}

TEST_F(MapViewTest, ATypePathIsDrawnLiterally)
{
    FontEntry* font = LabelFont();
    ASSERT_TRUE(font && font->ready);
    doc.objectImageTexture = art->black; // the marker vanishes in the black map
    doc.viewScale = 1000;
    const char* paths[] = {"%d%s%%", "%s%s%s%s%n", "100%"};
    for (const char* path : paths)
    {
        doc.objectTypes.clear();
        doc.objects.clear();
        doc.AddObjectType(path);
        PlaceAt(200.0f, 200.0f);
        const BackBufferPixels frame = DrawView();
        // The lit columns of the label span the measured width of the text
        // itself (the formatted text would differ, or crash).
        SIZE size = {0, 0};
        font->font->MeasureText(path, &size);
        int left = 10000, right = -1;
        for (int y = 195; y < 225; ++y)
            for (int x = 130; x < 290; ++x)
                if (IsWhite(frame.At(x, y)))
                {
                    left = x < left ? x : left;
                    right = x > right ? x : right;
                }
        ASSERT_GE(right, left) << path;
        EXPECT_NEAR(right - left + 1, size.cx, 3) << path;
        EXPECT_NEAR((left + right) / 2.0, 208.0, 3.0) << path;
    }
}

TEST_F(MapViewTest, ATypeOutsideTheCatalogGetsAMarkerButNoLabel)
{
    doc.AddObjectType("..\\objects\\tree.ini");
    doc.viewScale = 1000;
    PlaceAt(100.0f, 100.0f, 0, 0);
    PlaceAt(300.0f, 100.0f, 0, 1); // one past the catalog
    PlaceAt(500.0f, 100.0f, 0, 255);
    DeviceRecorder recorder(app.device);
    const BackBufferPixels frame = DrawView();
    // The map and three markers; one label (one state-block capture).
    EXPECT_EQ(recorder.Count(DeviceCall::DrawPrimitiveUP), 4);
    EXPECT_EQ(recorder.Count(DeviceCall::CaptureStateBlock), 1);
    EXPECT_GT(CountPixels(frame, 50, 109, 160, 120, IsWhite), 5);
    EXPECT_EQ(CountPixels(frame, 250, 109, 360, 120, IsWhite), 0);
    EXPECT_EQ(CountPixels(frame, 450, 109, 560, 120, IsWhite), 0);
}

TEST_F(MapViewTest, EachObjectDrawsItsMarkerThenItsLabelInIndexOrder)
{
    doc.AddObjectType("WWWWWWWWWWWW");
    doc.objectImageTexture = art->grey;
    doc.viewScale = 1000;
    // Object 1's marker sits on object 0's label.
    PlaceAt(200.0f, 200.0f);
    PlaceAt(208.0f, 210.0f);
    DeviceRecorder recorder(app.device);
    const BackBufferPixels frame = DrawView();
    // Under the later marker nothing of the earlier label is left; beside it
    // the label shows.
    EXPECT_EQ(CountPixels(frame, 202, 204, 214, 212, IsWhite), 0);
    EXPECT_GT(CountPixels(frame, 170, 204, 198, 212, IsWhite), 5);

    // Stage 1 is emptied once, then per object: marker texture, the view's
    // vertex format, the quad, and the label with the font's own format.
    std::vector<DWORD> shaders;
    for (const DeviceCall& call : recorder.OfKind(DeviceCall::SetVertexShader))
        shaders.push_back(call.a);
    const std::vector<DWORD> expected = {0x244, 0x244, 0x144, 0x244, 0x144};
    EXPECT_EQ(shaders, expected);
    const std::vector<DeviceCall> textures = recorder.OfKind(DeviceCall::SetTexture);
    ASSERT_GE(textures.size(), 5u);
    EXPECT_EQ(textures[2].a, 1u); // after the map's two bindings
    EXPECT_EQ(textures[2].texture, nullptr);
    EXPECT_EQ(textures[3].a, 0u);
    EXPECT_EQ(textures[3].texture, app.textures.Record(art->grey)->texture);
}

TEST_F(MapViewTest, BindingWithoutADeviceOrSlotBindsNothing)
{
    Renderer none;
    EXPECT_EQ(none.BindTexture(nullptr, 0), 1);
    EXPECT_EQ(none.BindTextureByIndex(0, 1), 1);
    none.DrawTexturedRect({0, 0, 10, 10}, 0, {0, 0, 1, 1});
    const CornerPoint corners[4] = {};
    none.DrawTexturedQuad(corners, 0);
    MapDocument alone; // no renderer at all
    alone.AddObject(PlacedObject{});
    alone.DrawMap();
    alone.DrawObjects();

    for (int index : {-1, 255, -100000, 254})
    {
        DeviceRecorder recorder(app.device);
        EXPECT_EQ(app.BindTextureByIndex(index, 1), 0);
        ASSERT_EQ(recorder.calls.size(), 1u) << index;
        EXPECT_EQ(recorder.calls[0].kind, DeviceCall::SetTexture);
        EXPECT_EQ(recorder.calls[0].texture, nullptr) << index;
    }
    // An occupied slot: its record's preset 0 is current, so only the texture.
    DeviceRecorder recorder(app.device);
    EXPECT_EQ(app.BindTextureByIndex(art->marker, 0), 0);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].texture, app.textures.Record(art->marker)->texture);
}

class CullingTest : public MapViewTest
{
  protected:
    // The frame with culling on or off, and the quads and labels sent.
    struct Drawn
    {
        BackBufferPixels frame;
        int quads = 0;
        int labels = 0;
    };
    Drawn Draw(bool cull, unsigned viewportWidth = 0, unsigned viewportHeight = 0)
    {
        doc.cullOffscreenObjects = cull;
        DeviceRecorder recorder(app.device);
        Drawn drawn;
        drawn.frame = DrawnFrame(
            [this]
            {
                doc.DrawMap();
                doc.DrawObjects();
            },
            viewportWidth, viewportHeight);
        drawn.quads = recorder.Count(DeviceCall::DrawPrimitiveUP);
        drawn.labels = recorder.Count(DeviceCall::CaptureStateBlock);
        return drawn;
    }
};

TEST_F(CullingTest, LeavesOutOnlyWhatCannotShowAndChangesNoPixel)
{
    // The frames cover the whole back buffer (DrawnFrame sets the viewport
    // to it), so that is the area culling works against here.
    const float w = (float)app.clientWidth;
    const float h = (float)app.clientHeight;

    doc.AddObjectType("..\\objects\\tree.ini");         // type 0
    doc.AddObjectType("WWWWWWWWWWWWWWWWWWWWWWWWWWWWW"); // type 1, a long label
    doc.AddObjectType("i");                             // type 2, a short one
    doc.AddObjectType("WWWW");                          // type 3
    // Type 3's label centred so that its last 6 pixels enter at the left.
    FontEntry* font = LabelFont();
    ASSERT_TRUE(font && font->ready);
    SIZE size = {0, 0};
    font->font->MeasureText("WWWW", &size);
    const float labelX = 6.5f - (float)size.cx + (float)(size.cx / 2);
    doc.colormapTexture = art->colormap;
    doc.heightmapTexture = art->white;
    doc.viewScale = 4000;
    doc.scrollX = 1000.0f;
    doc.scrollY = 1000.0f;
    doc.selectedObject = 3;
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
        {300, h + 100, 0, 0, true},
        {-5000, -5000, 0, 1, true},
        {w + 1e6f, h / 2, 0, 1, true},
        {500, 500, 0, 9, false}, // no label
        {-20, 500, 0, 9, true},  // no label, marker out
    };
    int culled = 0;
    for (const auto& o : objects)
    {
        PlaceAt(o.x, o.y, o.rotation, o.type);
        culled += o.culled;
    }
    const int labelled = 13; // every object but the four of type 9

    const Drawn all = Draw(false);
    const Drawn some = Draw(true);
    const int count = (int)(sizeof(objects) / sizeof(objects[0]));
    EXPECT_EQ(all.quads, 1 + count);
    EXPECT_EQ(all.labels, labelled);
    EXPECT_EQ(some.quads, 1 + count - culled);
    EXPECT_EQ(some.labels, labelled - (culled - 1));
    ASSERT_EQ(all.frame.pixels.size(), some.frame.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < all.frame.pixels.size(); ++i)
        differing += all.frame.pixels[i] != some.frame.pixels[i];
    EXPECT_EQ(differing, 0u);
    // The scene does reach the edges: labels whose markers lie outside show
    // at the left and at the top, over the map's uniform colour.
    const unsigned map = all.frame.At(150, 150);
    const auto lit = [map](unsigned p) { return !Near(p, map, 40); };
    EXPECT_GT(CountPixels(all.frame, 0, 400, 30, 420, lit), 0);
    EXPECT_GT(CountPixels(all.frame, 250, 0, 370, 4, lit), 0);
    EXPECT_GT(CountPixels(all.frame, 0, 596, 2, 604, lit), 0);
    EXPECT_GT(CountPixels(all.frame, 0, 648, 2, 653, lit), 0);
    EXPECT_GT(CountPixels(all.frame, 0, 700, 6, 720, lit), 0);
}

TEST_F(CullingTest, TheVisibleAreaIsTheViewport)
{
    // A window restored to a small size: WM_SIZE gave the device a 300 x 200
    // viewport, and nothing is drawn outside it.
    doc.AddObjectType("i");
    doc.viewScale = 1000;
    const struct
    {
        float x, y;
        bool culled;
    } objects[] = {{100, 100, false}, {290, 100, false}, {320, 100, true},
                   {100, 230, true},  {600, 600, true},  {100, 190, false}};
    for (const auto& o : objects)
        PlaceAt(o.x, o.y);
    const Drawn all = Draw(false, 300, 200);
    const Drawn some = Draw(true, 300, 200);
    EXPECT_EQ(all.quads, 7);
    EXPECT_EQ(some.quads, 4);
    EXPECT_EQ(some.labels, 3);
    EXPECT_TRUE(all.frame.pixels == some.frame.pixels);
}

TEST_F(CullingTest, PositionsThatAreNotNumbersAreNotSent)
{
    doc.viewScale = 1000;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf})
    {
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.x = bad;
        object.y = 0.1f;
        doc.AddObject(object);
    }
    PlaceAt(100.0f, 100.0f);
    EXPECT_EQ(Draw(false).quads, 5);
    EXPECT_EQ(Draw(true).quads, 2);
}
} // namespace
