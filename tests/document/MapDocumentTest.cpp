// The map document on the real editor: start-up state, hit testing, removal,
// the catalog's length limit, coordinates and heightmap loading through the
// real texture loader.
#include <gtest/gtest.h>

#include <ctype.h>
#include <math.h>

#include "app/EditorApp.h"
#include "tests/document/DocumentTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
class MapDocumentTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        document.renderer = &app;
    }
    MapDocument document;
    TempFolder folder;
};
} // namespace

TEST_F(MapDocumentTest, StartUpLoadsTheSampleMapAndTheLabelFont)
{
    const MapDocument& started = app.document;
    EXPECT_EQ(started.renderer, &app);
    EXPECT_EQ(started.fontRegistry, &app.fonts);
    EXPECT_EQ(started.labelFont, app.fonts.FindOrRegister("tahoma"));
    EXPECT_EQ(started.quadDepth, 4);
    EXPECT_EQ(started.width, 256);
    EXPECT_EQ(started.height, 256);
    EXPECT_EQ(started.spacing, 10);
    EXPECT_EQ(started.viewScale, 256 * 12);
    EXPECT_EQ(started.heightmapTexture, app.textures.FindTexture("..\\maps\\area1.bmp"));
    EXPECT_EQ(started.colormapTexture, app.textures.FindTexture("..\\maps\\area1-colormap.bmp"));
    EXPECT_EQ(started.objectImageTexture,
              app.textures.FindTexture("..\\art\\ui\\objectimage.bmp"));
    EXPECT_GE(app.textures.FindTexture("..\\maps\\detail-map.bmp"), 0);
    // Loaded in this order into the lowest free slots: heightmap, detail map,
    // marker, colormap.
    EXPECT_EQ(started.heightmapTexture, 0);
    EXPECT_EQ(app.textures.FindTexture("..\\maps\\detail-map.bmp"), 1);
    EXPECT_EQ(started.objectImageTexture, 2);
    EXPECT_EQ(started.colormapTexture, 3);
    EXPECT_STREQ(started.detailMap, "");
    EXPECT_STREQ(started.objectMap, "");
    EXPECT_EQ(started.ObjectCount(), 0);
}

TEST_F(MapDocumentTest, HitBoxIsOpenFifteenPixelsAroundAWholePixelPosition)
{
    // At scale 200 the map position (0.5, 0.5) lies at view pixel (100, 100).
    document.viewScale = 200;
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    struct Probe
    {
        int x, y;
        int hit;
    };
    const Probe probes[] = {
        {100, 100, 0}, {93, 100, 0},  {107, 100, 0}, {100, 93, 0},  {100, 107, 0},
        {93, 93, 0},   {107, 107, 0}, {92, 100, -1}, {108, 100, -1}, {100, 92, -1},
        {100, 108, -1}, {92, 92, -1}, {108, 108, -1}, {-100, -100, -1},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(document.HitTest(p.x, p.y), p.hit) << p.x << ", " << p.y;

    // Scrolled by (50.5, -20): the view position is (49.5, 120); the box edges
    // truncate toward zero to 41..57 and 112..128.
    document.scrollX = 50.5f;
    document.scrollY = -20.0f;
    EXPECT_EQ(document.HitTest(42, 113), 0);
    EXPECT_EQ(document.HitTest(56, 127), 0);
    EXPECT_EQ(document.HitTest(41, 120), -1);
    EXPECT_EQ(document.HitTest(57, 120), -1);
    EXPECT_EQ(document.HitTest(50, 112), -1);
    EXPECT_EQ(document.HitTest(50, 128), -1);
}

TEST_F(MapDocumentTest, OverlappingBoxesFindTheEarliestObject)
{
    // View x 100, 104 and 108 (exact binary fractions at scale 256).
    document.viewScale = 256;
    for (int i = 0; i < 3; ++i)
        document.AddObject(MakeObject((uint8_t)i, (100 + 4 * i) / 256.0f, 100 / 256.0f, 0));
    struct Probe
    {
        int x;
        int hit;
    };
    // 103 and 107 lie in several boxes and nearer to a later object.
    const Probe probes[] = {{93, 0}, {103, 0}, {107, 0}, {108, 1}, {111, 1},
                            {112, 2}, {115, 2}, {116, -1}};
    for (const Probe& p : probes)
        EXPECT_EQ(document.HitTest(p.x, 100), p.hit) << p.x;
}

TEST_F(MapDocumentTest, PositionsFarOffTheMapOrNotNumbersSimplyMiss)
{
    document.viewScale = 3072;
    document.AddObject(MakeObject(0, 1e30f, -1e30f, 0));
    document.AddObject(MakeObject(0, NAN, NAN, 0));
    document.AddObject(MakeObject(0, INFINITY, 0.0f, 0));
    document.AddObject(MakeObject(0, 0.01f, 0.01f, 0)); // (30.72, 30.72)
    EXPECT_EQ(document.HitTest(30, 30), 3);
    EXPECT_EQ(document.HitTest(0, 0), -1);
    EXPECT_EQ(document.HitTest(2147483647, -2147483647 - 1), -1);
}

TEST_F(MapDocumentTest, RemovalKeepsTheOrderAndTheSelectedIndex)
{
    for (int i = 0; i < 4; ++i)
        document.AddObject(MakeObject((uint8_t)i, 0.1f * i, 0.0f, 0));
    document.selectedObject = 1;
    document.RemoveObject(1); // the selection now designates the successor
    EXPECT_EQ(document.selectedObject, 1);
    ASSERT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(document.objects[0].type, 0);
    EXPECT_EQ(document.objects[1].type, 2);
    EXPECT_EQ(document.objects[2].type, 3);

    document.selectedObject = 2;
    document.RemoveObject(2); // the last one: the selection lies past the end
    EXPECT_EQ(document.selectedObject, 2);
    EXPECT_EQ(document.ObjectCount(), 2);

    for (int index : {-1, 2, 100})
        document.RemoveObject(index);
    EXPECT_EQ(document.ObjectCount(), 2);
}

TEST_F(MapDocumentTest, CatalogTakesPathsThatTheObjectFileCanHold)
{
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini"));
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini")); // duplicates allowed
    EXPECT_TRUE(document.AddObjectType(std::string(127, 'p').c_str()));
    EXPECT_FALSE(document.AddObjectType(std::string(128, 'p').c_str()));
    EXPECT_FALSE(document.AddObjectType(nullptr));
    ASSERT_EQ(document.objectTypes.size(), 3u);
    EXPECT_EQ(document.objectTypes[1].path, "..\\objects\\tree.ini");
}

TEST_F(MapDocumentTest, MapPositionsSurviveAZoomChange)
{
    document.width = 256;
    document.viewScale = 256 * 4; // "2x"
    document.scrollX = 300.0f;
    document.scrollY = 120.0f;
    const float x = document.ViewToMapX(212);
    const float y = document.ViewToMapY(80);
    EXPECT_FLOAT_EQ(x, 512.0f / 1024.0f);
    EXPECT_FLOAT_EQ(y, 200.0f / 1024.0f);
    document.viewScale = 256 * 16; // "8x", scroll reset
    document.scrollX = document.scrollY = 0.0f;
    EXPECT_FLOAT_EQ(document.MapToViewX(x), 2048.0f);
    EXPECT_FLOAT_EQ(document.MapToViewY(y), 800.0f);
}

TEST_F(MapDocumentTest, HeightmapSizeComesFromTheSourceImage)
{
    const std::string path = folder.File("wide.bmp");
    WriteBytes(path, Bitmap24(256, 128));
    document.LoadHeightmap(path.c_str());
    ASSERT_GE(document.heightmapTexture, 0);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 128);
    EXPECT_EQ(document.spacing, 10);

    // The same name in other letters reuses the slot and still sets the size.
    const int slot = document.heightmapTexture;
    document.width = document.height = document.spacing = 0;
    std::string upper = path;
    for (char& c : upper)
        c = (char)toupper((unsigned char)c);
    document.LoadHeightmap(upper.c_str());
    EXPECT_EQ(document.heightmapTexture, slot);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 128);
    EXPECT_EQ(document.spacing, 10);

    // A failed load marks the slot absent and keeps the old size.
    document.spacing = 3;
    document.LoadHeightmap(folder.File("missing.bmp").c_str());
    EXPECT_EQ(document.heightmapTexture, -1);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 128);
    EXPECT_EQ(document.spacing, 3);

    // Without a renderer nothing can load.
    MapDocument unattached;
    unattached.LoadHeightmap(path.c_str());
    EXPECT_EQ(unattached.heightmapTexture, -1);
    EXPECT_EQ(unattached.width, 0);
}
