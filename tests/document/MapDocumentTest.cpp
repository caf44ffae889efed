// The map document without any window: start-up, hit testing, the catalog,
// removal with the selection following, and heightmap loading through the
// image source.
#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include "tests/document/DocumentTestSupport.h"

TEST(MapDocument, StartUpLoadsHeightmapDetailMarkerAndColormapInThisOrder)
{
    FakeImages images;
    AddSampleImages(&images);
    MapDocument document;
    std::vector<std::string> problems;
    document.Init(images, "..\\maps\\area1.bmp", &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(images.requests,
              (Rows{"..\\maps\\area1.bmp", "..\\maps\\detail-map.bmp",
                    "..\\art\\ui\\objectimage.bmp", "..\\maps\\area1-colormap.bmp"}));
    EXPECT_EQ(document.heightmapTexture, 0);
    EXPECT_EQ(document.objectImageTexture, 2);
    EXPECT_EQ(document.colormapTexture, 3);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 256);
    EXPECT_EQ(document.spacing, 10);
    EXPECT_EQ(document.quadDepth, 4);
    EXPECT_EQ(document.viewScale, 256 * 12);
    EXPECT_EQ(document.ObjectCount(), 0);
    EXPECT_EQ(document.SelectedCount(), 0u);
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.CanUndo());

    // Without its images the start-up map has no size (viewScale 0), and
    // each image it missed is named with the reason, as for any map.
    FakeImages none;
    MapDocument bare;
    bare.Init(none, "..\\maps\\area1.bmp", &problems);
    EXPECT_EQ(bare.heightmapTexture, -1);
    EXPECT_EQ(bare.colormapTexture, -1);
    EXPECT_EQ(bare.viewScale, 0);
    EXPECT_EQ(problems, (Rows{"..\\maps\\area1.bmp (heightmap): it was not found",
                              "..\\maps\\detail-map.bmp (detail map): it was not found",
                              "..\\art\\ui\\objectimage.bmp (object marker): it was not found",
                              "..\\maps\\area1-colormap.bmp (colormap): it was not found"}));
}

TEST(MapDocument, HitBoxIsOpenFifteenPixelsAroundATruncatedPosition)
{
    // At scale 200 the map position (0.5, 0.5) lies at view pixel (100, 100):
    // its box holds 93..107 both ways.
    MapDocument document;
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

TEST(MapDocument, OverlappingBoxesFindTheEarliestObject)
{
    // View x 100, 104 and 108 (exact binary fractions at scale 256); 103 and
    // 107 lie in several boxes and nearer to a later object.
    MapDocument document;
    document.viewScale = 256;
    for (int i = 0; i < 3; ++i)
        document.AddObject(MakeObject((uint8_t)i, (100 + 4 * i) / 256.0f, 100 / 256.0f, 0));
    const int probes[][2] = {{93, 0},  {103, 0}, {107, 0}, {108, 1},
                             {111, 1}, {112, 2}, {115, 2}, {116, -1}};
    for (const auto& p : probes)
        EXPECT_EQ(document.HitTest(p[0], 100), p[1]) << p[0];
}

TEST(MapDocument, PositionsFarOffTheMapOrNotNumbersSimplyMiss)
{
    // Such positions (from a damaged file) are never converted to int.
    MapDocument document;
    document.viewScale = 3072;
    document.AddObject(MakeObject(0, 1e30f, -1e30f, 0));
    document.AddObject(MakeObject(0, NAN, NAN, 0));
    document.AddObject(MakeObject(0, INFINITY, 0.0f, 0));
    document.AddObject(MakeObject(0, 0.01f, 0.01f, 0)); // (30.72, 30.72)
    EXPECT_EQ(document.HitTest(30, 30), 3);
    EXPECT_EQ(document.HitTest(0, 0), -1);
    EXPECT_EQ(document.HitTest(2147483647, -2147483647 - 1), -1);
}

TEST(MapDocument, RemovalKeepsTheOrderAndTheSelectionFollowsItsObjects)
{
    MapDocument document;
    for (int i = 0; i < 5; ++i)
        document.AddObject(MakeObject((uint8_t)i, 0.1f * i, 0.0f, 0));
    const auto types = [&]
    {
        std::vector<int> left;
        for (const PlacedObject& object : document.objects)
            left.push_back(object.type);
        return left;
    };
    document.SelectOnly(std::vector<uint32_t>{1, 3});
    document.RemoveObject(1); // the selection does not pass on to the successor
    EXPECT_EQ(types(), (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{2}));
    for (int index : {-1, 4, 100})
        document.RemoveObject(index);
    EXPECT_EQ(types(), (std::vector<int>{0, 2, 3, 4}));
    document.RemoveObjectsAt({0, 2, 3}, nullptr);
    EXPECT_EQ(types(), (std::vector<int>{2}));
    EXPECT_EQ(document.SelectedCount(), 0u);
}

TEST(MapDocument, CatalogHoldsWhatTheFileCanAndTypesBeyondItNameNothing)
{
    MapDocument document;
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini"));
    EXPECT_TRUE(document.AddObjectType("..\\objects\\tree.ini")); // duplicates allowed
    EXPECT_TRUE(document.AddObjectType(std::string(127, 'p')));
    EXPECT_FALSE(document.AddObjectType(std::string(128, 'p')));
    ASSERT_EQ(document.objectTypes.size(), 3u);
    ASSERT_NE(document.FindObjectType(2), nullptr);
    EXPECT_EQ(document.FindObjectType(2)->path, std::string(127, 'p'));
    for (int type : {3, 255, -1})
        EXPECT_EQ(document.FindObjectType(type), nullptr) << type;
}

TEST(MapDocument, HeightmapSizeComesFromTheSourceImage)
{
    FakeImages images;
    images.Add("wide.bmp", 256, 128);
    MapDocument document;
    // The same name in other letters reuses the slot and still sets the size.
    for (const char* name : {"wide.bmp", "WIDE.BMP"})
    {
        document.width = document.height = document.spacing = 0;
        document.LoadHeightmap(images, name);
        EXPECT_EQ(document.heightmapTexture, 0);
        EXPECT_EQ(document.heightmapFile, "wide.bmp") << "the first spelling is kept";
        EXPECT_EQ(document.width, 256);
        EXPECT_EQ(document.height, 128);
        EXPECT_EQ(document.spacing, 10);
    }
    // A failed load marks the slot absent, keeps the asked name and the old size.
    document.spacing = 3;
    document.LoadHeightmap(images, "missing.bmp");
    EXPECT_EQ(document.heightmapTexture, -1);
    EXPECT_EQ(document.heightmapFile, "missing.bmp");
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 128);
    EXPECT_EQ(document.spacing, 3);
}
