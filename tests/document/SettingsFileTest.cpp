// The map settings file with real files: the start-up save, the sample map
// opened from a program folder laid out as the editor's, edge files saved
// back, values of any length, partly readable maps, and refused files.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/document/DocumentTestSupport.h"

namespace fs = std::filesystem;

namespace
{
const char kColormap[] = "..\\maps\\area1-colormap.bmp";
const char kHeightmap[] = "..\\maps\\area1.bmp";

class SettingsFileTest : public ::testing::Test
{
  protected:
    void SetUp() override { AddSampleImages(&images); }

    // Writes the lines (joined with CR LF), opens them as a map, saves it
    // again and returns the saved text.
    std::string LoadAndSaveAgain(const Rows& lines, Rows* problems = nullptr)
    {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\r\n";
        const std::string in = folder.File("in.ini"), out = folder.File("out.ini");
        WriteText(in, text);
        Rows found;
        EXPECT_TRUE(document.LoadSettings(in, files, images, &found));
        if (problems)
            *problems = found;
        EXPECT_TRUE(document.SaveSettings(out, files));
        return ReadText(out);
    }

    StdioFileSystem files;
    FakeImages images;
    MapDocument document;
    TempFolder folder;
};
} // namespace

TEST_F(SettingsFileTest, SavingRightAfterStartUpWritesTheStartUpNames)
{
    document.Init(images, kHeightmap);
    const std::string path = folder.File("startup.ini");
    ASSERT_TRUE(document.SaveSettings(path, files));
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
    // The program folder one below a copy of the sample content, current, as
    // the editor runs.
    fs::copy(SampleFolder(), folder.Path(), fs::copy_options::recursive);
    fs::create_directory(folder.File("editor"));
    const fs::path previous = fs::current_path();
    fs::current_path(folder.File("editor"));
    document.viewScale = 777;
    document.scrollX = 12.5f;
    document.currentType = 3;
    Rows problems;
    const bool opened = document.LoadSettings("..\\maps\\area1.ini", files, images, &problems);
    const std::string objectMap = document.objectMap;
    const std::string copy = folder.File("copy.mob");
    const bool saved = document.SaveObjects(copy, files);
    bool described = true;
    for (const ObjectType& type : document.objectTypes)
    {
        std::string path = type.path;
        for (char& c : path)
            c = c == '\\' ? '/' : c;
        described = described && FileExists(path);
    }
    fs::current_path(previous);

    ASSERT_TRUE(opened);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(document.colormapFile, kColormap);
    EXPECT_EQ(document.heightmapFile, kHeightmap);
    EXPECT_EQ(document.width, 256);
    EXPECT_EQ(document.spacing, 10);
    EXPECT_EQ(document.quadDepth, 4);
    EXPECT_EQ(document.detailMap, "..\\maps\\detail-map.bmp");
    EXPECT_EQ(objectMap, "..\\maps\\area1.mob");
    EXPECT_EQ(document.viewScale, 777);
    EXPECT_EQ(document.scrollX, 12.5f);
    EXPECT_EQ(document.currentType, 3);
    EXPECT_EQ(document.objectTypes.size(), 5u);
    EXPECT_GE(document.ObjectCount(), 24);
    EXPECT_TRUE(described) << "every type has its description file";
    for (const PlacedObject& object : document.objects)
        EXPECT_NE(document.FindObjectType(object.type), nullptr);
    ASSERT_TRUE(saved);
    EXPECT_EQ(ReadBytes(copy), ReadBytes(SampleFolder() + "/maps/area1.mob"));
}

TEST_F(SettingsFileTest, EdgeFilesSaveBackWhatTheyHold)
{
    const std::string cmap = std::string("colormap=") + kColormap;
    const std::string hmap = std::string("heightmap=") + kHeightmap;
    const struct
    {
        const char* what;
        Rows lines;
        const char* saved;
        size_t problems;
    } cases[] = {
        {"quad depth of 300 keeps its low 8 bits",
         {"[map]", cmap, hmap, "detailmap=d.bmp", "objectmap=", "quad_depth=300", "spacing=7"},
         "detailmap=d.bmp\r\nobjectmap=\r\nquad_depth=44\r\nspacing=7\r\n",
         0},
        {"a missing detailmap key reads as nostring, missing spacing as 0",
         {"[map]", hmap, cmap, "quad_depth=5"},
         "detailmap=nostring\r\nobjectmap=\r\nquad_depth=5\r\nspacing=0\r\n",
         0},
        {"names and values as the profile functions read them",
         {"[Map]", "  COLORMAP = ..\\maps\\area1-colormap.bmp  ",
          "heightmap=\"..\\maps\\area1.bmp\"", "; detailmap=commented.bmp", "detailmap='d d.bmp'",
          "quad_depth=0x10", "spacing=-3 m"},
         "detailmap=d d.bmp\r\nobjectmap=\r\nquad_depth=16\r\nspacing=-3\r\n",
         0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        Rows problems;
        EXPECT_EQ(LoadAndSaveAgain(c.lines, &problems),
                  std::string("[map]\r\n") + cmap + "\r\n" + hmap + "\r\n" + c.saved);
        EXPECT_EQ(problems.size(), c.problems);
    }
}

TEST_F(SettingsFileTest, NamesThatCannotBeReadAreKeptAndListed)
{
    // The map opens; what it names but cannot be read keeps its name, so
    // that saving the map loses nothing, and each is listed once.
    document.AddObjectType("previous.ini");
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    Rows problems;
    const std::string saved = LoadAndSaveAgain(
        {"[map]", "colormap=..\\maps\\missing.bmp", "heightmap=gone.bmp", "detailmap=d.bmp",
         "objectmap=..\\maps\\missing.mob", "quad_depth=4", "spacing=10"},
        &problems);
    EXPECT_EQ(saved, "[map]\r\ncolormap=..\\maps\\missing.bmp\r\nheightmap=gone.bmp\r\n"
                     "detailmap=d.bmp\r\nobjectmap=..\\maps\\missing.mob\r\nquad_depth=4\r\n"
                     "spacing=10\r\n");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("missing.bmp"), std::string::npos) << problems[0];
    EXPECT_NE(problems[2].find("missing.mob"), std::string::npos) << problems[2];
    EXPECT_EQ(document.colormapTexture, -1);
    EXPECT_EQ(document.heightmapTexture, -1);
    // Nothing of the previous map's objects stays.
    EXPECT_TRUE(document.objectTypes.empty());
    EXPECT_EQ(document.ObjectCount(), 0);
}

TEST_F(SettingsFileTest, ValuesOfAnyLengthAreReadAndWrittenWhole)
{
    const std::string detail(300, 'd');
    const std::string colormap = std::string(190, 'c') + ".bmp";
    images.Add(colormap, 16, 16);
    const std::string saved =
        LoadAndSaveAgain({"[map]", "colormap=" + colormap, "detailmap=" + detail});
    EXPECT_EQ(document.detailMap, detail);
    EXPECT_GE(document.colormapTexture, 0);
    EXPECT_NE(saved.find("colormap=" + colormap + "\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("detailmap=" + detail + "\r\n"), std::string::npos) << saved;
}

TEST_F(SettingsFileTest, RefusedFilesChangeNothing)
{
    document.Init(images, kHeightmap);
    document.detailMap = "detail.bmp";
    document.objectMap = "objects.mob";
    document.AddObjectType("kept.ini");
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    const std::string before = StateOf(document);
    const std::string other = folder.File("other.ini");
    WriteText(other, "[other]\r\ncolormap=..\\maps\\area1-colormap.bmp\r\n");
    for (const std::string& path :
         {folder.File("no-such-map.ini"), std::string(), folder.Path(), other})
    {
        Rows problems;
        EXPECT_FALSE(document.LoadSettings(path, files, images, &problems)) << path;
        ASSERT_EQ(problems.size(), 1u) << path;
    }
    EXPECT_EQ(StateOf(document), before);
}

TEST_F(SettingsFileTest, OpeningStartsANewHistoryAndSavingMarksTheMapSaved)
{
    document.Init(images, kHeightmap);
    document.AddObjectType("tree.ini");
    ASSERT_TRUE(document.ImportType("rock.ini"));
    EXPECT_TRUE(document.IsModified());
    LoadAndSaveAgain({"[map]", "quad_depth=2"});
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.CanUndo());
    MapSettings next = document.Settings();
    next.quadDepth = 9;
    ASSERT_TRUE(document.ApplyProperties(next, nullptr));
    EXPECT_TRUE(document.AreSettingsModified());
    EXPECT_FALSE(document.AreObjectsModified());
    ASSERT_TRUE(document.SaveSettings(folder.File("again.ini"), files));
    EXPECT_FALSE(document.IsModified());
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.AreSettingsModified()) << "undone past what was saved";
}
