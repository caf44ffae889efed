// File > "Load Objects" / "Save Objects" on real files in a temporary folder:
// the bytes on disk, refused files changing nothing, saves that never lose
// the old file, and what loading and saving do to the history and the
// change tracking.
#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>

#include "tests/document/DocumentTestSupport.h"

namespace fs = std::filesystem;

namespace
{
const char kTree[] = "..\\objects\\tree.ini";
const char kRock[] = "..\\objects\\rock.ini";

class ObjectPlacementFileTest : public ::testing::Test
{
  protected:
    StdioFileSystem files;
    MapDocument document;
    TempFolder folder;
};

// 2 types and 3 objects whose reserved bytes are not zero: a 319-byte file.
void FillTwoTypesThreeObjects(MapDocument* document)
{
    document->AddObjectType(kTree);
    document->AddObjectType(kRock);
    for (int i = 0; i < 3; ++i)
    {
        PlacedObject object = MakeObject((uint8_t)(i % 2), 0.1f * i, 0.2f * i, (int16_t)(45 * i));
        memset(object.reserved1, 0x10 + i, sizeof(object.reserved1));
        memset(object.reserved2, 0x20 + i, sizeof(object.reserved2));
        document->AddObject(object);
    }
}
} // namespace

TEST_F(ObjectPlacementFileTest, EmptyAndNegativeCountFilesLoadAsAnEmptyDocument)
{
    MapDocument empty;
    const std::string path = folder.File("empty.mob");
    ASSERT_TRUE(empty.SaveObjects(path, files));
    EXPECT_EQ(empty.objectMap, path);
    EXPECT_EQ(ReadBytes(path), (Bytes{0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 0, 0, 0, 0, 0}));

    const std::string negative = folder.File("negative.mob");
    WriteBytes(negative, {0x4D, 0x34, 0x44, 0x4F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF});
    for (const std::string& file : {path, negative})
    {
        FillTwoTypesThreeObjects(&document);
        ASSERT_TRUE(document.LoadObjects(file, files)) << file;
        EXPECT_TRUE(document.objectTypes.empty());
        EXPECT_EQ(document.ObjectCount(), 0);
        EXPECT_EQ(document.objectMap, file);
    }
}

TEST_F(ObjectPlacementFileTest, TwoTypesThreeObjectsRoundTripWithTheirReservedBytes)
{
    MapDocument saved;
    FillTwoTypesThreeObjects(&saved);
    const std::string first = folder.File("first.mob");
    ASSERT_TRUE(saved.SaveObjects(first, files));
    const Bytes bytes = ReadBytes(first);
    ASSERT_EQ(bytes.size(), 319u);

    document.currentType = 1;
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    document.SelectAll();
    ASSERT_TRUE(document.LoadObjects(first, files));
    EXPECT_EQ(document.currentType, 1);
    EXPECT_EQ(document.SelectedCount(), 0u) << "nothing is selected after a load";
    ASSERT_EQ(document.objectTypes.size(), 2u);
    EXPECT_EQ(document.objectTypes[1].path, kRock);
    ASSERT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(memcmp(document.objects.data(), saved.objects.data(), 3 * 17), 0);

    const std::string second = folder.File("second.mob");
    ASSERT_TRUE(document.SaveObjects(second, files));
    EXPECT_EQ(ReadBytes(second), bytes);
}

TEST_F(ObjectPlacementFileTest, RefusedFilesChangeNothingNotEvenTheObjectMap)
{
    MapDocument source;
    FillTwoTypesThreeObjects(&source);
    const std::string good = folder.File("good.mob");
    ASSERT_TRUE(source.SaveObjects(good, files));
    const Bytes full = ReadBytes(good);

    document.AddObjectType("kept.ini");
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 45));
    document.objectMap = "kept.mob";
    ASSERT_TRUE(document.ImportType("also.ini"));
    const std::string before = StateOf(document);

    // Every length short of the full file, a wrong signature, counts far
    // beyond the file's bytes; each with a reason in plain words.
    const std::string damaged = folder.File("damaged.mob");
    std::string problem;
    for (size_t length = 0; length < full.size(); ++length)
    {
        WriteBytes(damaged, Bytes(full.begin(), full.begin() + (std::ptrdiff_t)length));
        EXPECT_FALSE(document.LoadObjects(damaged, files, &problem)) << length;
    }
    EXPECT_NE(problem.find("truncated (expected 319 bytes, found 318)"), std::string::npos)
        << problem;
    Bytes wrongSignature = full;
    wrongSignature[3] = 'X';
    Bytes huge = {0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 2, 0x0F, 0x0F, 0x0F, 0x0F};
    huge.resize(400, 0);
    const struct
    {
        Bytes bytes;
        const char* reason;
    } refused[] = {{wrongSignature, "not an object placement file"},
                   {huge, "type count (33554432) does not fit"}};
    for (const auto& r : refused)
    {
        WriteBytes(damaged, r.bytes);
        EXPECT_FALSE(document.LoadObjects(damaged, files, &problem));
        EXPECT_NE(problem.find(r.reason), std::string::npos) << problem;
    }
    for (const std::string& name : {std::string(), folder.File("missing.mob"), folder.Path()})
        EXPECT_FALSE(document.LoadObjects(name, files, &problem)) << name;
    EXPECT_EQ(StateOf(document), before);
    EXPECT_TRUE(document.CanUndo()) << "the history stays too";

    // The whole file with bytes after its last record loads; they are ignored.
    Bytes longer = full;
    longer.insert(longer.end(), 33, 0xEE);
    WriteBytes(damaged, longer);
    ASSERT_TRUE(document.LoadObjects(damaged, files));
    EXPECT_EQ(document.ObjectCount(), 3);
}

TEST_F(ObjectPlacementFileTest, FailedSavesKeepTheOldFileAndLeaveNothingBehind)
{
    FillTwoTypesThreeObjects(&document);
    document.objectMap = "kept.mob";
    const std::string path = folder.File("map.mob");
    const std::string old(400, 'o');
    WriteText(path, old);
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::string problem;
    EXPECT_FALSE(document.SaveObjects(path, files, &problem));
    EXPECT_NE(problem.find("read-only"), std::string::npos) << problem;
    fs::create_directory(folder.File("folder.mob"));
    for (const std::string& name :
         {folder.File("folder.mob"), folder.File("no such folder/x.mob"), std::string()})
        EXPECT_FALSE(document.SaveObjects(name, files)) << name;
    EXPECT_EQ(ReadText(path), old);
    EXPECT_EQ(FilesIn(folder.Path()), Rows{"map.mob"});
    EXPECT_EQ(document.objectMap, "kept.mob");

    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_TRUE(document.SaveObjects(path, files));
    EXPECT_EQ(ReadBytes(path).size(), 319u);
    EXPECT_EQ(FilesIn(folder.Path()), Rows{"map.mob"});
}

TEST_F(ObjectPlacementFileTest, LoadingAndSavingTrackWhatDiffersFromTheFiles)
{
    FillTwoTypesThreeObjects(&document);
    const std::string a = folder.File("a.mob"), b = folder.File("b.mob");
    ASSERT_TRUE(document.SaveObjects(a, files));
    ASSERT_TRUE(document.LoadObjects(a, files));
    EXPECT_FALSE(document.IsModified());
    document.SelectOnly(0);
    ASSERT_TRUE(document.RotateSelection(45));
    EXPECT_TRUE(document.AreObjectsModified());
    EXPECT_FALSE(document.AreSettingsModified());
    ASSERT_TRUE(document.Undo());
    EXPECT_FALSE(document.IsModified()) << "undone back to the file's state";
    ASSERT_TRUE(document.Redo());
    // Saved under another name: the objects match their file, but the map
    // settings on disk still name the old one (a map with a settings file:
    // an untitled map has none on disk).
    document.settingsFile = folder.File("map.ini");
    ASSERT_TRUE(document.SaveObjects(b, files));
    EXPECT_FALSE(document.AreObjectsModified());
    EXPECT_TRUE(document.AreSettingsModified());
    EXPECT_EQ(document.objectMap, b);
    ASSERT_TRUE(document.Undo());
    EXPECT_TRUE(document.AreObjectsModified());
}
