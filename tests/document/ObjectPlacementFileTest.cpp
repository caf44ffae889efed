// File > "Load Objects" / "Save Objects" on real files in a temporary folder
// with the palette's real list box: the bytes on disk, the rebuilt list,
// refused files changing nothing, and saves (of objects and of settings) that
// never lose the old file.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>

#include "tests/document/DocumentTestFiles.h"

namespace
{
const char kTree[] = "..\\objects\\tree.ini";
const char kRock[] = "..\\objects\\rock.ini";

using ObjectPlacementFileTest = DocumentFileTest;

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
    ASSERT_TRUE(empty.SaveObjects(path.c_str()));
    EXPECT_STREQ(empty.objectMap, path.c_str());
    EXPECT_EQ(ReadBytes(path), (Bytes{0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 0, 0, 0, 0, 0}));

    const std::string negative = folder.File("negative.mob");
    WriteBytes(negative, {0x4D, 0x34, 0x44, 0x4F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF});
    for (const std::string& file : {path, negative})
    {
        FillTwoTypesThreeObjects(&document);
        SetListRows(list, {kTree, kRock});
        ASSERT_TRUE(document.LoadObjects(file.c_str(), list)) << file;
        EXPECT_TRUE(document.objectTypes.empty());
        EXPECT_EQ(document.ObjectCount(), 0);
        EXPECT_TRUE(ListRows(list).empty());
        EXPECT_EQ(document.objectMap, file);
    }
}

TEST_F(ObjectPlacementFileTest, RecordOfHalfQuarterNinetyHasItsDocumentedBytes)
{
    for (const char* name : {"a.ini", "b.ini", "c.ini"})
        document.AddObjectType(name);
    PlacedObject object = MakeObject(2, 0.5f, 0.25f, 90);
    memcpy(object.reserved1, "\x11\x22", 2);
    memcpy(object.reserved2, "\x33\x44\x55\x66", 4);
    document.AddObject(object);
    const std::string path = folder.File("one.mob");
    ASSERT_TRUE(document.SaveObjects(path.c_str()));
    const Bytes bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 12u + 3 * 128 + 17);
    EXPECT_EQ(Bytes(bytes.end() - 17, bytes.end()),
              (Bytes{0x02, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0x3E, 0x11, 0x22, 0x5A, 0x00,
                     0x33, 0x44, 0x55, 0x66}));
}

TEST_F(ObjectPlacementFileTest, TwoTypesThreeObjectsRoundTripThroughTheFileAndTheList)
{
    MapDocument saved;
    FillTwoTypesThreeObjects(&saved);
    const std::string first = folder.File("first.mob");
    ASSERT_TRUE(saved.SaveObjects(first.c_str()));
    const Bytes bytes = ReadBytes(first);
    ASSERT_EQ(bytes.size(), 319u);

    document.currentType = 1;
    document.selectedObject = 2;
    SetListRows(list, {"stale", "rows", "here"});
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    ASSERT_TRUE(document.LoadObjects(first.c_str(), list));
    EXPECT_EQ(ListRows(list), (Rows{kTree, kRock}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR); // no row selected
    EXPECT_EQ(document.currentType, 1);
    EXPECT_EQ(document.selectedObject, 2);
    ASSERT_EQ(document.objectTypes.size(), 2u);
    EXPECT_EQ(document.objectTypes[1].path, kRock);
    ASSERT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(memcmp(document.objects.data(), saved.objects.data(), 3 * 17), 0);

    const std::string second = folder.File("second.mob");
    ASSERT_TRUE(document.SaveObjects(second.c_str()));
    EXPECT_EQ(ReadBytes(second), bytes);
}

TEST_F(ObjectPlacementFileTest, RefusedFilesChangeNothingNotEvenTheObjectMap)
{
    MapDocument source;
    FillTwoTypesThreeObjects(&source);
    const std::string good = folder.File("good.mob");
    ASSERT_TRUE(source.SaveObjects(good.c_str()));
    const Bytes full = ReadBytes(good);
    ASSERT_EQ(full.size(), 319u);

    document.AddObjectType("kept.ini");
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 45));
    strcpy(document.objectMap, "kept.mob");
    SetListRows(list, {"kept.ini"});
    const std::string before = StateOf(document, list);

    // Every length short of the full file, a wrong signature, and counts far
    // beyond the file's bytes (128 x T + 17 x N overflowing 32 bits).
    const std::string damaged = folder.File("damaged.mob");
    for (size_t length = 0; length < full.size(); ++length)
    {
        WriteBytes(damaged, Bytes(full.begin(), full.begin() + length));
        EXPECT_FALSE(document.LoadObjects(damaged.c_str(), list)) << length;
    }
    Bytes wrongSignature = full;
    wrongSignature[3] = 'X';
    Bytes huge = {0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 2, 0x0F, 0x0F, 0x0F, 0x0F};
    huge.resize(400, 0);
    for (const Bytes& bytes : {wrongSignature, huge})
    {
        WriteBytes(damaged, bytes);
        EXPECT_FALSE(document.LoadObjects(damaged.c_str(), list));
    }
    // No name, no file, a folder, and a valid file under a name longer than
    // objectMap holds.
    const std::string tooLong = PathOfLength(folder, 128, 'n', ".mob");
    ASSERT_TRUE(CopyFileA(good.c_str(), tooLong.c_str(), FALSE));
    const std::string missing = folder.File("missing.mob");
    EXPECT_FALSE(document.LoadObjects(nullptr, list));
    for (const std::string& name : {std::string(), missing, folder.Path(), tooLong})
        EXPECT_FALSE(document.LoadObjects(name.c_str(), list)) << name;
    EXPECT_EQ(StateOf(document, list), before);

    // The whole file with bytes after its last record loads; they are ignored.
    Bytes longer = full;
    longer.insert(longer.end(), 33, 0xEE);
    WriteBytes(damaged, longer);
    ASSERT_TRUE(document.LoadObjects(damaged.c_str(), list));
    EXPECT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(ListRows(list), (Rows{kTree, kRock}));
}

TEST_F(ObjectPlacementFileTest, SavesReplaceTheWholeFileOrFailKeepingIt)
{
    // Both saves write a temporary file beside the target and move it over
    // the target only once all of it was written.
    FillTwoTypesThreeObjects(&document);
    document.colormapTexture = document.heightmapTexture = -1;
    strcpy(document.objectMap, "kept.mob");
    const struct
    {
        const char* name;
        std::function<bool(const char*)> save;
        size_t size;
    } saves[] = {
        {"map.ini", [&](const char* path) { return document.SaveSettings(path); },
         sizeof("[map]\r\ndetailmap=\r\nobjectmap=kept.mob\r\nquad_depth=0\r\nspacing=0\r\n") - 1},
        {"map.mob", [&](const char* path) { return document.SaveObjects(path); }, 319},
    };
    const std::string old(400, 'o'); // longer than either new file
    for (const auto& s : saves)
    {
        SCOPED_TRACE(s.name);
        TempFolder target;
        const std::string path = target.File(s.name);
        WriteText(path, old);
        // A file marked read-only. Wine (running as root here) would let it be
        // overwritten; the save checks the mark so that it means what it
        // means on Windows.
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        EXPECT_FALSE(s.save(path.c_str()));
        EXPECT_EQ(ReadText(path), old);
        // A folder in the file's place, a folder that does not exist, no name.
        const std::string asFolder = target.File("folder.mob");
        ASSERT_TRUE(CreateDirectoryA(asFolder.c_str(), nullptr));
        for (const std::string& name :
             {asFolder, target.File("no such folder\\x.mob"), std::string()})
            EXPECT_FALSE(s.save(name.c_str())) << name;
        EXPECT_EQ(FilesIn(target.Path()), Rows{s.name});
        EXPECT_STREQ(document.objectMap, "kept.mob");

        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(s.save(path.c_str()));
        EXPECT_EQ(ReadBytes(path).size(), s.size);
        // A relative name is taken from the current folder.
        char current[MAX_PATH];
        GetCurrentDirectoryA(sizeof(current), current);
        ASSERT_TRUE(SetCurrentDirectoryA(target.Path().c_str()));
        const bool relativeSaved = s.save("relative.out");
        SetCurrentDirectoryA(current);
        EXPECT_TRUE(relativeSaved);
        EXPECT_EQ(FilesIn(target.Path()), (Rows{s.name, "relative.out"}));
        RemoveDirectoryA(asFolder.c_str());
    }

    // objectMap holds 127 characters: a longer name is refused before
    // anything is written.
    for (size_t length : {127, 128})
    {
        strcpy(document.objectMap, "kept.mob");
        const std::string path = PathOfLength(folder, length, 'n', ".mob");
        EXPECT_EQ(document.SaveObjects(path.c_str()), length == 127) << length;
        EXPECT_EQ(FileExists(path), length == 127);
        EXPECT_STREQ(document.objectMap, length == 127 ? path.c_str() : "kept.mob");
    }
}
