// File > "Open &Map" / "&Save Map" with real INI files, the real
// private-profile functions, the real texture loader and the palette's list:
// the start-up save, what loading sets, edge files saved back, over-long
// values, missing files, and saves that never lose the old file.
#include <gtest/gtest.h>

#include <string.h>

#include "app/EditorApp.h"
#include "tests/document/DocumentTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
const char kColormap[] = "..\\maps\\area1-colormap.bmp";
const char kHeightmap[] = "..\\maps\\area1.bmp";

class SettingsFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        ASSERT_TRUE(FileExists(kHeightmap)) << "run with the sample content one folder up";
        document.renderer = &app;
        list = PaletteList();
    }
    void TearDown() override
    {
        std::vector<std::string> rows;
        for (const ObjectType& type : app.document.objectTypes)
            rows.push_back(type.path);
        SetListRows(list, rows);
    }

    // Writes the settings text (lines joined with CR LF), loads it into the
    // fresh document, saves it again and returns the saved text.
    std::string LoadAndSaveAgain(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        // A new name each time: Wine's private-profile functions keep the
        // last file they read cached, recognising changes by time stamp only.
        const std::string number = std::to_string(++files);
        const std::string in = folder.File(("in" + number + ".ini").c_str());
        const std::string out = folder.File(("out" + number + ".ini").c_str());
        WriteText(in, text);
        EXPECT_TRUE(document.LoadSettings(in.c_str(), list));
        EXPECT_TRUE(document.SaveSettings(out.c_str()));
        return ReadText(out);
    }

    MapDocument document;
    HWND list = nullptr;
    TempFolder folder;
    int files = 0;
};
} // namespace

TEST_F(SettingsFileTest, SavingRightAfterStartUpWritesTheStartUpNames)
{
    ASSERT_GE(app.document.colormapTexture, 0) << "the sample colormap did not load";
    ASSERT_GE(app.document.heightmapTexture, 0) << "the sample heightmap did not load";
    const std::string path = folder.File("startup.ini");
    ASSERT_TRUE(app.document.SaveSettings(path.c_str()));
    EXPECT_EQ(ReadText(path), "[map]\r\n"
                              "colormap=..\\maps\\area1-colormap.bmp\r\n"
                              "heightmap=..\\maps\\area1.bmp\r\n"
                              "detailmap=\r\n"
                              "objectmap=\r\n"
                              "quad_depth=4\r\n"
                              "spacing=10\r\n");
}

TEST_F(SettingsFileTest, TheSampleMapLoadsEverythingItNames)
{
    document.viewScale = 777;
    document.scrollX = 12.5f;
    document.currentType = 3;
    document.selectedObject = 9;
    ASSERT_TRUE(document.LoadSettings("..\\maps\\area1.ini", list));
    EXPECT_EQ(document.colormapTexture, app.LoadTexture(kColormap));
    EXPECT_EQ(document.heightmapTexture, app.LoadTexture(kHeightmap));
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.height, 256);
    EXPECT_EQ(document.spacing, 10);
    EXPECT_EQ(document.quadDepth, 4);
    EXPECT_STREQ(document.detailMap, "..\\maps\\detail-map.bmp");
    EXPECT_STREQ(document.objectMap, "..\\maps\\area1.mob");
    EXPECT_EQ(document.objectTypes.size(), 5u);
    EXPECT_EQ(ListRows(list).size(), 5u);
    EXPECT_GE(document.ObjectCount(), 24);
    // Loading keeps the view.
    EXPECT_EQ(document.viewScale, 777);
    EXPECT_EQ(document.scrollX, 12.5f);
    EXPECT_EQ(document.currentType, 3);
    EXPECT_EQ(document.selectedObject, 9);
}

TEST_F(SettingsFileTest, EdgeFilesSaveBackAsDescribed)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> lines;
        const char* saved;
    };
    const Case cases[] = {
        {"quad depth of 300 keeps its low 8 bits",
         {"[map]", "colormap=..\\maps\\area1-colormap.bmp", "heightmap=..\\maps\\area1.bmp",
          "detailmap=d.bmp", "objectmap=", "quad_depth=300", "spacing=7"},
         "[map]\r\ncolormap=..\\maps\\area1-colormap.bmp\r\nheightmap=..\\maps\\area1.bmp\r\n"
         "detailmap=d.bmp\r\nobjectmap=\r\nquad_depth=44\r\nspacing=7\r\n"},
        {"a missing detailmap key reads as nostring; missing spacing as 0",
         {"[map]", "heightmap=..\\maps\\area1.bmp", "colormap=..\\maps\\area1-colormap.bmp",
          "quad_depth=5"},
         "[map]\r\ncolormap=..\\maps\\area1-colormap.bmp\r\nheightmap=..\\maps\\area1.bmp\r\n"
         "detailmap=nostring\r\nobjectmap=\r\nquad_depth=5\r\nspacing=0\r\n"},
        {"a colormap that fails to load leaves no colormap line",
         {"[map]", "colormap=..\\maps\\missing.bmp", "heightmap=..\\maps\\area1.bmp",
          "detailmap=d.bmp", "objectmap=", "quad_depth=4", "spacing=10"},
         "[map]\r\nheightmap=..\\maps\\area1.bmp\r\n"
         "detailmap=d.bmp\r\nobjectmap=\r\nquad_depth=4\r\nspacing=10\r\n"},
        {"no [map] section at all",
         {"[other]", "colormap=..\\maps\\area1-colormap.bmp"},
         "[map]\r\ndetailmap=nostring\r\nobjectmap=\r\nquad_depth=0\r\nspacing=0\r\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        document.colormapTexture = document.heightmapTexture = -1;
        document.objectMap[0] = 0;
        EXPECT_EQ(LoadAndSaveAgain(c.lines), c.saved);
    }
}

TEST_F(SettingsFileTest, ValuesTooLongForTheDocumentAreNeverCutIntoOtherNames)
{
    // A detail map name of 127 characters fits; one of 200 keeps the previous
    // name, as an object map that cannot be read keeps the previous one.
    const std::string fits(127, 'f');
    LoadAndSaveAgain({"[map]", "detailmap=" + fits});
    EXPECT_EQ(document.detailMap, fits);
    strcpy(document.detailMap, "previous.bmp");
    document.AddObjectType("kept.ini");
    strcpy(document.objectMap, "kept.mob");
    const std::string tooLong(200, 'x');
    LoadAndSaveAgain({"[map]", "detailmap=" + tooLong, "objectmap=" + tooLong});
    EXPECT_STREQ(document.detailMap, "previous.bmp");
    EXPECT_STREQ(document.objectMap, "kept.mob");
    EXPECT_EQ(document.objectTypes.size(), 1u);

    // A colormap named by a 190-character path loads under its whole name and
    // is saved back whole.
    DeepFolder deep(folder.Path(), 160);
    const std::string colormap = deep.File("area1-colormap-with-a-long-name.bmp");
    ASSERT_GT(colormap.size(), 190u);
    ASSERT_LT(colormap.size(), 255u);
    ASSERT_TRUE(CopyFileA(kColormap, colormap.c_str(), FALSE));
    const std::string saved = LoadAndSaveAgain({"[map]", "colormap=" + colormap});
    EXPECT_GE(document.colormapTexture, 0);
    EXPECT_NE(saved.find("colormap=" + colormap + "\r\n"), std::string::npos) << saved;
}

TEST_F(SettingsFileTest, AMissingOrUnreadableFileChangesNothing)
{
    document.colormapTexture = 7;
    document.heightmapTexture = 8;
    document.width = 64;
    document.spacing = 3;
    document.quadDepth = 6;
    strcpy(document.detailMap, "detail.bmp");
    strcpy(document.objectMap, "objects.mob");
    document.AddObjectType("kept.ini");
    const char* paths[] = {"..\\maps\\no-such-map.ini", "", nullptr};
    for (const char* path : paths)
        EXPECT_FALSE(document.LoadSettings(path, list));
    EXPECT_FALSE(document.LoadSettings(folder.Path().c_str(), list)); // a folder
    EXPECT_EQ(document.colormapTexture, 7);
    EXPECT_EQ(document.heightmapTexture, 8);
    EXPECT_EQ(document.width, 64);
    EXPECT_EQ(document.spacing, 3);
    EXPECT_EQ(document.quadDepth, 6);
    EXPECT_STREQ(document.detailMap, "detail.bmp");
    EXPECT_STREQ(document.objectMap, "objects.mob");
    EXPECT_EQ(document.objectTypes.size(), 1u);
}

TEST_F(SettingsFileTest, FailedSavesKeepTheOldFile)
{
    const std::string path = folder.File("map.ini");
    WriteText(path, "[map]\r\nspacing=99\r\n");
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(document.SaveSettings(path.c_str()));
    EXPECT_EQ(ReadText(path), "[map]\r\nspacing=99\r\n");
    EXPECT_FALSE(document.SaveSettings(folder.File("missing\\map.ini").c_str()));
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"map.ini"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    document.colormapTexture = document.heightmapTexture = -1; // slot 0 is occupied
    EXPECT_TRUE(document.SaveSettings(path.c_str()));
    EXPECT_EQ(ReadText(path),
              "[map]\r\ndetailmap=\r\nobjectmap=\r\nquad_depth=0\r\nspacing=0\r\n");
}
