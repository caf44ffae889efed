// The batched map view against the one drawn one object at a time, on Wine's
// real device: whole back buffers of crowded scenes compared pixel for
// pixel (overlapping and turned markers, overlapping labels, selection,
// types without a label, objects across the edges of the viewport, culling
// on and off, labels off, more label texts than the label strips hold), the
// batches really being few and a label a quad per run of glyphs.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/render/ViewTestSupport.h"
#include "tests/support/ObjectsOneByOne.h"
#include "tests/support/DeviceRecorder.h"
#include "text/LabelStrips.h"

using namespace viewtest;

namespace
{
struct Art
{
    TempFolder folder;
    int colormap = -1, heightmap = -1, marker = -1;
};
Art* art = nullptr;

// Fixed pseudo-random numbers, so a failing scene can be drawn again.
struct Random
{
    unsigned state;
    unsigned Next()
    {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    float Between(float low, float high)
    {
        return low + (high - low) * (Next() % 10000) / 10000.0f;
    }
};

class BatchedViewTest : public EditorDeviceTest
{
  protected:
    static void SetUpTestSuite()
    {
        if (!StartEditorOnce() || art)
            return;
        art = new Art;
        std::vector<uint32_t> colours(256), heights(256), marker(256);
        for (int i = 0; i < 256; ++i)
        {
            const int x = i % 16, y = i / 16;
            colours[i] = 0xFF000000u | (uint32_t)(x * 16) << 16 | (uint32_t)(y * 16) << 8 | 0x60;
            heights[i] = (x + y) % 2 ? 0xFFFFFFFFu : 0xFFC0C0C0u;
            // An arrow-like marker: red tip, white body, a dark edge.
            marker[i] =
                x == 0 || y == 15 ? 0xFF202020u : (x > 8 && y < 7 ? 0xFFFF0000u : 0xFFFFFFFFu);
        }
        art->colormap = LoadBitmap(art->folder, "colormap.bmp", 16, 16, colours);
        art->heightmap = LoadBitmap(art->folder, "heightmap.bmp", 16, 16, heights);
        art->marker = LoadBitmap(art->folder, "marker.bmp", 16, 16, marker);
    }
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
        view.labelFont = app.View().Map().labelFont;
        NewDocument();
    }

    void NewDocument()
    {
        doc.reset(new MapDocument);
        doc->colormapTexture = art->colormap;
        doc->heightmapTexture = art->heightmap;
        doc->objectImageTexture = art->marker;
        doc->viewScale = 2000;
        doc->scrollX = doc->scrollY = 300.0f;
        doc->AddObjectType("..\\objects\\tree.ini");
        doc->AddObjectType("W");
        doc->AddObjectType("a longer label, 100% literal");
    }

    // `count` objects with centres in [x0, x1) x [y0, y1), turned anyhow, of
    // the three catalog types and one past it (no label), every third selected.
    void Crowd(unsigned seed, int count, float x0, float y0, float x1, float y1)
    {
        Random random = {seed};
        for (int i = 0; i < count; ++i)
        {
            PlacedObject object;
            memset(&object, 0, sizeof(object));
            object.type = (uint8_t)(random.Next() % 4);
            object.x = (random.Between(x0, x1) + doc->scrollX) / doc->viewScale;
            object.y = (random.Between(y0, y1) + doc->scrollY) / doc->viewScale;
            object.rotation = (int16_t)((int)(random.Next() % 720) - 360);
            doc->AddObject(object);
            if (random.Next() % 3 == 0)
                doc->ToggleSelected(doc->ObjectCount() - 1);
        }
    }

    BackBufferPixels Draw(bool batched, unsigned viewportWidth = 0, unsigned viewportHeight = 0)
    {
        return DrawnFrame(
            [&]
            {
                view.DrawMap(app.Graphics(), *doc);
                if (batched)
                    view.DrawObjects(app.Graphics(), app.Fonts(), *doc);
                else
                    DrawObjectsOneByOne(view, app.Graphics(), app.Fonts(), *doc);
            },
            viewportWidth, viewportHeight);
    }

    // Both ways with culling off and on: every frame the same as the first.
    void ExpectSameFrames(const char* scene, unsigned viewportWidth = 0,
                          unsigned viewportHeight = 0)
    {
        BackBufferPixels reference;
        for (int cull = 0; cull < 2; ++cull)
            for (int batched = 0; batched < 2; ++batched)
            {
                view.cullOffscreenObjects = cull != 0;
                const BackBufferPixels frame = Draw(batched != 0, viewportWidth, viewportHeight);
                if (reference.pixels.empty())
                {
                    reference = frame;
                    continue;
                }
                ASSERT_EQ(frame.pixels.size(), reference.pixels.size());
                size_t differ = 0, first = 0;
                for (size_t i = frame.pixels.size(); i-- > 0;)
                    if (frame.pixels[i] != reference.pixels[i])
                        ++differ, first = i;
                EXPECT_EQ(differ, 0u)
                    << scene << ", culling " << cull << ", batched " << batched << ": first at ("
                    << first % frame.width << ", " << first / frame.width << ")";
            }
    }

    DeviceStateGuard guard_;
    std::unique_ptr<MapDocument> doc;
    MapView view;
};
} // namespace

TEST_F(BatchedViewTest, CrowdedScenesGiveTheSamePixelsAsOneObjectAtATime)
{
    const float w = (float)app.Graphics().Width(), h = (float)app.Graphics().Height();
    const struct
    {
        const char* scene;
        unsigned seed;
        int count;
        float x0, y0, x1, y1;
        unsigned viewportWidth, viewportHeight; // 0: the whole back buffer
        bool labels;
    } scenes[] = {
        {"a dense heap", 1, 400, 200, 150, 420, 330, 0, 0, true},
        {"spread thin", 2, 200, 0, 0, w, h, 0, 0, true},
        {"across every edge", 3, 300, -80, -40, w + 40, h + 40, 0, 0, true},
        {"across a small viewport's edges", 4, 250, -40, -30, 380, 260, 340, 220, true},
        {"without labels", 5, 250, 100, 100, 300, 250, 0, 0, false},
    };
    for (const auto& s : scenes)
    {
        NewDocument();
        Crowd(s.seed, s.count, s.x0, s.y0, s.x1, s.y1);
        view.showLabels = s.labels;
        ExpectSameFrames(s.scene, s.viewportWidth, s.viewportHeight);
    }
}

TEST_F(BatchedViewTest, ALabelIsAQuadARunOfGlyphsRatherThanAQuadAGlyph)
{
    // Pixels alone would not tell labels that never find their strips.
    Crowd(7, 200, 0.0f, 0.0f, (float)app.Graphics().Width(), (float)app.Graphics().Height());
    Draw(true);
    const int strips = view.LastDraw().labelQuads;
    view.labelStrips = false;
    Draw(true);
    const int glyphs = view.LastDraw().labelQuads;
    EXPECT_GT(strips, 0);
    EXPECT_LT(strips * 4, glyphs) << strips << " quads from the strips";
}

TEST_F(BatchedViewTest, LabelTextsBeyondTheStripTexturesRoomGiveTheSamePixels)
{
    // A hundred and twenty texts of the longest path need more strips than
    // the label font's strip texture holds: a frame draws what found no room
    // glyph by glyph, and the next frame lays the texture out afresh; the
    // strips packed last, at the texture's far edge, are drawn too.
    Random random = {6};
    for (int t = 0; t < 120; ++t)
    {
        std::string path = std::to_string(t) + ' ';
        while (path.size() < kMaxObjectTypePath)
            path += (char)(33 + (t * 7 + path.size()) % 94);
        ASSERT_TRUE(doc->AddObjectType(path));
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.type = (uint8_t)(3 + t);
        object.x = (random.Between(0.0f, 400.0f) + doc->scrollX) / doc->viewScale;
        object.y = (8.0f + 7.5f * (float)t + doc->scrollY) / doc->viewScale;
        doc->AddObject(object);
    }
    ExpectSameFrames("more label texts than the strips hold");
    LabelStrips* strips = app.Fonts().Entry(view.labelFont)->DrawingFont()->Strips();
    ASSERT_NE(strips, nullptr);
    EXPECT_EQ(strips->Find(std::string(kMaxObjectTypePath, 'W').c_str()), nullptr)
        << "the texture filled up";
}
