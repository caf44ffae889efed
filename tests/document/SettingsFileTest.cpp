// File > "Open &Map" / "&Save Map" with real INI files, the real
// private-profile functions, the real texture loader and the palette's list:
// the start-up save, the sample map, edge files saved back, over-long values
// and missing files. (Failed saves: ObjectPlacementFileTest.)
#include <gtest/gtest.h>

#include <string.h>

#include "app/EditorApp.h"
#include "tests/document/DocumentTestFiles.h"

namespace
{
const char kColormap[] = "..\\maps\\area1-colormap.bmp";
const char kHeightmap[] = "..\\maps\\area1.bmp";

class SettingsFileTest : public DocumentFileTest
{
  protected:
    // Writes the lines (joined with CR LF), loads them into the document,
    // saves it again and returns the saved text.
    std::string LoadAndSaveAgain(const Rows& lines)
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

TEST_F(SettingsFileTest, TheSampleMapLoadsEverythingItNamesAndKeepsTheView)
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
    EXPECT_EQ(document.viewScale, 777);
    EXPECT_EQ(document.scrollX, 12.5f);
    EXPECT_EQ(document.currentType, 3);
    EXPECT_EQ(document.selectedObject, 9);

    // The sample objects: every type has its description file (relative to
    // the program folder), and saving gives the sample file's bytes back.
    EXPECT_EQ(document.objectTypes.size(), 5u);
    EXPECT_EQ(ListRows(list).size(), 5u);
    EXPECT_GE(document.ObjectCount(), 24);
    for (const PlacedObject& object : document.objects)
    {
        ASSERT_NE(document.FindObjectType(object.type), nullptr);
        EXPECT_EQ(object.rotation % 45, 0);
    }
    for (const ObjectType& type : document.objectTypes)
        EXPECT_TRUE(FileExists(type.path)) << type.path;
    const std::string copy = folder.File("copy.mob");
    ASSERT_TRUE(document.SaveObjects(copy.c_str()));
    EXPECT_EQ(ReadBytes(copy), ReadBytes("..\\maps\\area1.mob"));
}

TEST_F(SettingsFileTest, EdgeFilesSaveBackWhatTheyHold)
{
    const struct
    {
        const char* what;
        Rows lines;
        const char* saved;
    } cases[] = {
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
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        document.colormapTexture = document.heightmapTexture = -1;
        document.objectMap[0] = 0;
        EXPECT_EQ(LoadAndSaveAgain(c.lines), c.saved);
    }
}

TEST_F(SettingsFileTest, ValuesTooLongForTheDocumentAreNeverCutIntoOtherNames)
{
    // A detail map name of 127 characters fits; one of 128 keeps the previous
    // name, as an object map of 200 that cannot be read keeps the previous one.
    const std::string fits(127, 'f');
    LoadAndSaveAgain({"[map]", "detailmap=" + fits});
    EXPECT_EQ(document.detailMap, fits);
    strcpy(document.detailMap, "previous.bmp");
    document.AddObjectType("kept.ini");
    strcpy(document.objectMap, "kept.mob");
    LoadAndSaveAgain(
        {"[map]", "detailmap=" + std::string(128, 'x'), "objectmap=" + std::string(200, 'x')});
    EXPECT_STREQ(document.detailMap, "previous.bmp");
    EXPECT_STREQ(document.objectMap, "kept.mob");
    EXPECT_EQ(document.objectTypes.size(), 1u);

    // A colormap named by a 190-character path loads under its whole name and
    // is saved back whole.
    const std::string colormap = PathOfLength(folder, 190, 'c', ".bmp");
    ASSERT_TRUE(CopyFileA(kColormap, colormap.c_str(), FALSE));
    const std::string saved = LoadAndSaveAgain({"[map]", "colormap=" + colormap});
    EXPECT_GE(document.colormapTexture, 0);
    EXPECT_NE(saved.find("colormap=" + colormap + "\r\n"), std::string::npos) << saved;
}

TEST_F(SettingsFileTest, AMissingOrUnreadableFileChangesNothing)
{
    document.colormapTexture = 7;
    document.heightmapTexture = 8;
    document.width = document.spacing = 3;
    document.quadDepth = 6;
    strcpy(document.detailMap, "detail.bmp");
    strcpy(document.objectMap, "objects.mob");
    document.AddObjectType("kept.ini");
    const std::string before = StateOf(document, list);
    EXPECT_FALSE(document.LoadSettings(nullptr, list));
    for (const std::string& path : {std::string("..\\maps\\no-such-map.ini"), std::string(),
                                    folder.Path()}) // the last: a folder
        EXPECT_FALSE(document.LoadSettings(path.c_str(), list)) << path;
    EXPECT_EQ(StateOf(document, list), before);
}
