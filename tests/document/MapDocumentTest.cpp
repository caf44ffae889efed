// The map document on the real editor: start-up state, hit testing, removal,
// the catalog, and heightmap loading through the real texture loader.
#include <gtest/gtest.h>

#include <ctype.h>
#include <math.h>
#include <stdlib.h>

#include "app/EditorApp.h"
#include "tests/document/DocumentTestFiles.h"

using MapDocumentTest = DocumentFileTest;

TEST_F(MapDocumentTest, StartUpLoadsTheSampleMapAndTheLabelFont)
{
    // The names and settings that start-up gives are pinned by the settings
    // file saved right after it (SettingsFileTest).
    const MapDocument& started = app.document;
    EXPECT_EQ(started.renderer, &app);
    EXPECT_EQ(started.fontRegistry, &app.fonts);
    EXPECT_EQ(started.labelFont, app.fonts.FindOrRegister("tahoma"));
    EXPECT_EQ(started.width, 256);
    EXPECT_EQ(started.height, 256);
    EXPECT_EQ(started.viewScale, 256 * 12);
    EXPECT_EQ(started.ObjectCount(), 0);
    // Loaded in this order into the lowest free slots: heightmap, detail map,
    // marker, colormap.
    EXPECT_EQ(started.heightmapTexture, 0);
    EXPECT_EQ(app.textures.FindTexture("..\\maps\\detail-map.bmp"), 1);
    EXPECT_EQ(started.objectImageTexture, 2);
    EXPECT_EQ(app.textures.FindTexture("..\\art\\ui\\objectimage.bmp"), 2);
    EXPECT_EQ(started.colormapTexture, 3);
}

TEST_F(MapDocumentTest, HitBoxIsOpenFifteenPixelsAroundATruncatedPosition)
{
    // At scale 200 the map position (0.5, 0.5) lies at view pixel (100, 100):
    // its box holds 93..107 both ways.
    document.viewScale = 200;
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    for (int dx : {-8, -7, 0, 7, 8})
        for (int dy : {-8, -7, 0, 7, 8})
            EXPECT_EQ(document.HitTest(100 + dx, 100 + dy), abs(dx) < 8 && abs(dy) < 8 ? 0 : -1)
                << dx << ", " << dy;
    EXPECT_EQ(document.HitTest(-100, -100), -1);
    // Scrolled by (50.5, -20) the position is (49.5, 120), whose box edges
    // truncate toward zero to 41..57 and 112..128.
    document.scrollX = 50.5f;
    document.scrollY = -20.0f;
    for (int x : {41, 42, 56, 57})
        for (int y : {112, 113, 127, 128})
            EXPECT_EQ(document.HitTest(x, y), x > 41 && x < 57 && y > 112 && y < 128 ? 0 : -1)
                << x << ", " << y;
}

TEST_F(MapDocumentTest, OverlappingBoxesFindTheEarliestObject)
{
    // View x 100, 104 and 108 (exact binary fractions at scale 256); 103 and
    // 107 lie in several boxes and nearer to a later object.
    document.viewScale = 256;
    for (int i = 0; i < 3; ++i)
        document.AddObject(MakeObject((uint8_t)i, (100 + 4 * i) / 256.0f, 100 / 256.0f, 0));
    const int probes[][2] = {{93, 0},  {103, 0}, {107, 0}, {108, 1},
                             {111, 1}, {112, 2}, {115, 2}, {116, -1}};
    for (const auto& p : probes)
        EXPECT_EQ(document.HitTest(p[0], 100), p[1]) << p[0];
}

TEST_F(MapDocumentTest, PositionsFarOffTheMapOrNotNumbersSimplyMiss)
{
    // Such positions (from a damaged file) are never converted to int.
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
    const auto types = [&]
    {
        std::vector<int> left;
        for (const PlacedObject& object : document.objects)
            left.push_back(object.type);
        return left;
    };
    document.selectedObject = 1;
    document.RemoveObject(1); // the selection now designates the successor
    EXPECT_EQ(document.selectedObject, 1);
    EXPECT_EQ(types(), (std::vector<int>{0, 2, 3}));
    document.selectedObject = 2;
    document.RemoveObject(2); // the last one: the selection lies past the end
    EXPECT_EQ(document.selectedObject, 2);
    for (int index : {-1, 2, 100})
        document.RemoveObject(index);
    EXPECT_EQ(types(), (std::vector<int>{0, 2}));
}

TEST_F(MapDocumentTest, CatalogHoldsWhatTheFileCanAndTypesBeyondItNameNothing)
{
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini"));
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini")); // duplicates allowed
    EXPECT_TRUE(document.AddObjectType(std::string(127, 'p').c_str()));
    EXPECT_FALSE(document.AddObjectType(std::string(128, 'p').c_str()));
    EXPECT_FALSE(document.AddObjectType(nullptr));
    ASSERT_EQ(document.objectTypes.size(), 3u);
    ASSERT_NE(document.FindObjectType(2), nullptr);
    EXPECT_EQ(document.FindObjectType(2)->path, std::string(127, 'p'));
    for (int type : {3, 255, -1})
        EXPECT_EQ(document.FindObjectType(type), nullptr) << type;
}

TEST_F(MapDocumentTest, HeightmapSizeComesFromTheSourceImage)
{
    const std::string path = folder.File("wide.bmp");
    WriteBytes(path, Bitmap24(256, 128));
    std::string upper = path;
    for (char& c : upper)
        c = (char)toupper((unsigned char)c);
    // The same name in other letters reuses the slot and still sets the size.
    int slot = -1;
    for (const std::string& name : {path, upper})
    {
        document.width = document.height = document.spacing = 0;
        document.LoadHeightmap(name.c_str());
        ASSERT_GE(document.heightmapTexture, 0);
        if (slot >= 0)
        {
            EXPECT_EQ(document.heightmapTexture, slot);
        }
        slot = document.heightmapTexture;
        EXPECT_EQ(document.width, 256);
        EXPECT_EQ(document.height, 128);
        EXPECT_EQ(document.spacing, 10);
    }
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
