// File > "Load Objects" / "Save Objects" on real files in a temporary folder
// with the palette's real list box: the bytes on disk, the rebuilt list,
// refused files changing nothing, and saves that never lose the old file.
#include <gtest/gtest.h>

#include <string.h>

#include "app/EditorApp.h"
#include "tests/document/DocumentTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
const char kTree[] = "..\\objects\\tree.ini";
const char kRock[] = "..\\objects\\rock.ini";

class ObjectPlacementFileTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        list = PaletteList();
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override
    {
        // The list belongs to the editor's own document again.
        std::vector<std::string> rows;
        for (const ObjectType& type : app.document.objectTypes)
            rows.push_back(type.path);
        SetListRows(list, rows);
    }

    // A document with 2 types and 3 objects whose reserved bytes are not zero.
    static void FillTwoTypesThreeObjects(MapDocument* document)
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

    // What a refused load or save must leave exactly as it was.
    struct Snapshot
    {
        std::vector<std::string> types;
        Bytes objects;
        std::string objectMap;
        std::vector<std::string> rows;
    };
    Snapshot Take(const MapDocument& document) const
    {
        Snapshot s;
        for (const ObjectType& type : document.objectTypes)
            s.types.push_back(type.path);
        const unsigned char* raw = (const unsigned char*)document.objects.data();
        s.objects.assign(raw, raw + document.objects.size() * sizeof(PlacedObject));
        s.objectMap = document.objectMap;
        s.rows = ListRows(list);
        return s;
    }
    void ExpectUnchanged(const Snapshot& before, const MapDocument& document) const
    {
        const Snapshot now = Take(document);
        EXPECT_EQ(now.types, before.types);
        EXPECT_EQ(now.objects, before.objects);
        EXPECT_EQ(now.objectMap, before.objectMap);
        EXPECT_EQ(now.rows, before.rows);
    }

    HWND list = nullptr;
    TempFolder folder;
};
} // namespace

TEST_F(ObjectPlacementFileTest, EmptyDocumentSavesTwelveBytesAndLoadingThemEmptiesAll)
{
    MapDocument empty;
    const std::string path = folder.File("empty.mob");
    ASSERT_TRUE(empty.SaveObjects(path.c_str()));
    EXPECT_STREQ(empty.objectMap, path.c_str());
    const Bytes expected = {0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ReadBytes(path), expected);

    MapDocument document;
    FillTwoTypesThreeObjects(&document);
    SetListRows(list, {kTree, kRock});
    ASSERT_TRUE(document.LoadObjects(path.c_str(), list));
    EXPECT_TRUE(document.objectTypes.empty());
    EXPECT_EQ(document.ObjectCount(), 0);
    EXPECT_TRUE(ListRows(list).empty());
    EXPECT_STREQ(document.objectMap, path.c_str());
}

TEST_F(ObjectPlacementFileTest, RecordOfHalfQuarterNinetyHasItsDocumentedBytes)
{
    MapDocument document;
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
    const Bytes record(bytes.end() - 17, bytes.end());
    const Bytes expected = {0x02, 0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x80, 0x3E,
                            0x11, 0x22, 0x5A, 0x00, 0x33, 0x44, 0x55, 0x66};
    EXPECT_EQ(record, expected);
}

TEST_F(ObjectPlacementFileTest, TwoTypesThreeObjectsRoundTripThroughTheFileAndTheList)
{
    MapDocument saved;
    FillTwoTypesThreeObjects(&saved);
    const std::string first = folder.File("first.mob");
    ASSERT_TRUE(saved.SaveObjects(first.c_str()));
    const Bytes bytes = ReadBytes(first);
    ASSERT_EQ(bytes.size(), 319u);

    MapDocument loaded;
    loaded.currentType = 1;
    loaded.selectedObject = 2;
    SetListRows(list, {"stale", "rows", "here"});
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    ASSERT_TRUE(loaded.LoadObjects(first.c_str(), list));
    EXPECT_EQ(ListRows(list), (std::vector<std::string>{kTree, kRock}));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR); // no row selected
    EXPECT_EQ(loaded.currentType, 1);
    EXPECT_EQ(loaded.selectedObject, 2);
    ASSERT_EQ(loaded.objectTypes.size(), 2u);
    EXPECT_EQ(loaded.objectTypes[0].path, kTree);
    EXPECT_EQ(loaded.objectTypes[1].path, kRock);
    ASSERT_EQ(loaded.ObjectCount(), 3);
    EXPECT_EQ(memcmp(loaded.objects.data(), saved.objects.data(), 3 * 17), 0);

    const std::string second = folder.File("second.mob");
    ASSERT_TRUE(loaded.SaveObjects(second.c_str()));
    EXPECT_EQ(ReadBytes(second), bytes);
}

TEST_F(ObjectPlacementFileTest, NamesOf127CharactersAndFieldsWithoutZero)
{
    const std::string longest(127, 'L');
    MapDocument document;
    ASSERT_TRUE(document.AddObjectType(longest.c_str()));
    const std::string path = folder.File("long.mob");
    ASSERT_TRUE(document.SaveObjects(path.c_str()));
    Bytes bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 12u + 128);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 139), longest);
    EXPECT_EQ(bytes[139], 0); // a single terminating zero

    MapDocument loaded;
    ASSERT_TRUE(loaded.LoadObjects(path.c_str(), list));
    EXPECT_EQ(loaded.objectTypes[0].path, longest);
    EXPECT_EQ(ListRows(list), std::vector<std::string>{longest});

    bytes[139] = 'Z'; // the field now has no zero byte
    WriteBytes(path, bytes);
    ASSERT_TRUE(loaded.LoadObjects(path.c_str(), list));
    EXPECT_EQ(loaded.objectTypes[0].path, longest);
    EXPECT_EQ(ListRows(list), std::vector<std::string>{longest});
}

TEST_F(ObjectPlacementFileTest, NegativeCountsLoadAsAnEmptyCatalogAndNoObjects)
{
    const std::string path = folder.File("negative.mob");
    WriteBytes(path, {0x4D, 0x34, 0x44, 0x4F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF});
    MapDocument document;
    FillTwoTypesThreeObjects(&document);
    SetListRows(list, {kTree, kRock});
    ASSERT_TRUE(document.LoadObjects(path.c_str(), list));
    EXPECT_TRUE(document.objectTypes.empty());
    EXPECT_EQ(document.ObjectCount(), 0);
    EXPECT_TRUE(ListRows(list).empty());
}

TEST_F(ObjectPlacementFileTest, RefusedFilesChangeNothingNotEvenTheObjectMap)
{
    MapDocument source;
    FillTwoTypesThreeObjects(&source);
    const std::string good = folder.File("good.mob");
    ASSERT_TRUE(source.SaveObjects(good.c_str()));
    const Bytes full = ReadBytes(good);
    ASSERT_EQ(full.size(), 319u);

    MapDocument document;
    document.AddObjectType("kept.ini");
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 45));
    strcpy(document.objectMap, "kept.mob");
    SetListRows(list, {"kept.ini"});
    const Snapshot before = Take(document);

    // Every length short of the full file, and the full file with a damaged
    // signature, are refused.
    const std::string damaged = folder.File("damaged.mob");
    for (size_t length = 0; length < full.size(); ++length)
    {
        WriteBytes(damaged, Bytes(full.begin(), full.begin() + length));
        EXPECT_FALSE(document.LoadObjects(damaged.c_str(), list)) << length;
    }
    Bytes wrongSignature = full;
    wrongSignature[3] = 'X';
    WriteBytes(damaged, wrongSignature);
    EXPECT_FALSE(document.LoadObjects(damaged.c_str(), list));
    // Counts far beyond the file's bytes (128 x T + 17 x N overflowing 32 bits).
    Bytes huge = {0x4D, 0x34, 0x44, 0x4F, 0, 0, 0, 2, 0x0F, 0x0F, 0x0F, 0x0F};
    huge.resize(400, 0);
    WriteBytes(damaged, huge);
    EXPECT_FALSE(document.LoadObjects(damaged.c_str(), list));
    // No name, no file, a folder.
    EXPECT_FALSE(document.LoadObjects("", list));
    EXPECT_FALSE(document.LoadObjects(nullptr, list));
    EXPECT_FALSE(document.LoadObjects(folder.File("missing.mob").c_str(), list));
    EXPECT_FALSE(document.LoadObjects(folder.Path().c_str(), list));
    ExpectUnchanged(before, document);

    // The whole file with bytes after its last record loads; they are ignored.
    Bytes longer = full;
    longer.insert(longer.end(), 33, 0xEE);
    WriteBytes(damaged, longer);
    ASSERT_TRUE(document.LoadObjects(damaged.c_str(), list));
    EXPECT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(ListRows(list), (std::vector<std::string>{kTree, kRock}));
}

TEST_F(ObjectPlacementFileTest, TypesBeyondTheCatalogLoadButNameNoEntry)
{
    MapDocument document;
    document.AddObjectType(kTree);
    document.AddObject(MakeObject(0, 0.1f, 0.1f, 0));
    document.AddObject(MakeObject(1, 0.2f, 0.2f, 0));
    document.AddObject(MakeObject(255, 0.3f, 0.3f, 0));
    const std::string path = folder.File("types.mob");
    ASSERT_TRUE(document.SaveObjects(path.c_str()));
    MapDocument loaded;
    ASSERT_TRUE(loaded.LoadObjects(path.c_str(), list));
    ASSERT_EQ(loaded.ObjectCount(), 3);
    EXPECT_EQ(loaded.objects[2].type, 255);
    ASSERT_NE(loaded.FindObjectType(loaded.objects[0].type), nullptr);
    EXPECT_EQ(loaded.FindObjectType(loaded.objects[0].type)->path, kTree);
    EXPECT_EQ(loaded.FindObjectType(loaded.objects[1].type), nullptr);
    EXPECT_EQ(loaded.FindObjectType(loaded.objects[2].type), nullptr);
    EXPECT_EQ(loaded.FindObjectType(-1), nullptr);
}

TEST_F(ObjectPlacementFileTest, NamesLongerThanTheObjectMapHoldsAreRefused)
{
    DeepFolder deep(folder.Path(), 130);
    const std::string path = deep.File("objects.mob");
    ASSERT_GT(path.size(), 127u);
    MapDocument document;
    FillTwoTypesThreeObjects(&document);
    strcpy(document.objectMap, "kept.mob");
    EXPECT_FALSE(document.SaveObjects(path.c_str()));
    EXPECT_TRUE(FilesIn(deep.Path()).empty());
    EXPECT_STREQ(document.objectMap, "kept.mob");

    // A valid file under such a name is not loaded either.
    MapDocument source;
    ASSERT_TRUE(source.SaveObjects(folder.File("short.mob").c_str()));
    ASSERT_TRUE(CopyFileA(folder.File("short.mob").c_str(), path.c_str(), FALSE));
    SetListRows(list, {kTree, kRock});
    const Snapshot before = Take(document);
    EXPECT_FALSE(document.LoadObjects(path.c_str(), list));
    ExpectUnchanged(before, document);
}

TEST_F(ObjectPlacementFileTest, SavingReplacesTheFileWholeAndLeavesNoTemporaryFile)
{
    const std::string path = folder.File("map.mob");
    WriteText(path, "the previous contents of this file, longer than the new ones....");
    MapDocument document;
    document.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    ASSERT_TRUE(document.SaveObjects(path.c_str()));
    EXPECT_EQ(ReadBytes(path).size(), 12u + 17);
    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"map.mob"});

    // A relative name is taken from the current folder.
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof(current), current);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    const bool relativeSaved = document.SaveObjects("relative.mob");
    SetCurrentDirectoryA(current);
    EXPECT_TRUE(relativeSaved);
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::string>{"map.mob", "relative.mob"}));
}

TEST_F(ObjectPlacementFileTest, FailedSavesKeepTheOldFileAndTheObjectMap)
{
    MapDocument document;
    FillTwoTypesThreeObjects(&document);
    strcpy(document.objectMap, "kept.mob");
    const std::string old = "old contents";

    // A file marked read-only. Wine (running as root here) would let the
    // file be overwritten; the save checks the mark so that it means what it
    // means on Windows.
    const std::string readOnly = folder.File("readonly.mob");
    WriteText(readOnly, old);
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(document.SaveObjects(readOnly.c_str()));
    EXPECT_EQ(ReadText(readOnly), old);

    // A folder in the file's place, and a folder that does not exist.
    const std::string asFolder = folder.File("folder.mob");
    ASSERT_TRUE(CreateDirectoryA(asFolder.c_str(), nullptr));
    EXPECT_FALSE(document.SaveObjects(asFolder.c_str()));
    EXPECT_FALSE(document.SaveObjects(folder.File("no such folder\\x.mob").c_str()));
    EXPECT_FALSE(document.SaveObjects(""));

    EXPECT_EQ(FilesIn(folder.Path()), std::vector<std::string>{"readonly.mob"});
    EXPECT_STREQ(document.objectMap, "kept.mob");
    RemoveDirectoryA(asFolder.c_str());
}

TEST_F(ObjectPlacementFileTest, SavingIntoAReadOnlyFolderIsAsHonestAsThePlatformAllows)
{
    // Windows ignores the read-only mark of a folder for the files in it, and
    // Wine does not even keep it; a process running as root may write
    // anywhere. So whether the folder really refuses new files is probed
    // first: if it does, the save must fail and keep the old file; if it
    // does not, the save must succeed completely.
    const std::string sub = folder.File("locked");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string path = sub + "\\map.mob";
    WriteText(path, "old contents");
    SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string probe = sub + "\\probe.tmp";
    HANDLE handle = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool folderTakesFiles = handle != INVALID_HANDLE_VALUE;
    if (folderTakesFiles)
    {
        CloseHandle(handle);
        DeleteFileA(probe.c_str());
    }

    MapDocument document;
    FillTwoTypesThreeObjects(&document);
    const bool saved = document.SaveObjects(path.c_str());
    if (folderTakesFiles)
    {
        EXPECT_TRUE(saved);
        EXPECT_EQ(ReadBytes(path).size(), 319u);
    }
    else
    {
        EXPECT_FALSE(saved);
        EXPECT_EQ(ReadText(path), "old contents");
    }
    EXPECT_EQ(FilesIn(sub), std::vector<std::string>{"map.mob"});
    SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(sub.c_str());
    RecordProperty("ReadOnlyFolderTakesFiles", folderTakesFiles ? "yes" : "no");
}

TEST_F(ObjectPlacementFileTest, TheSampleObjectFileLoadsAndSavesBackIdentically)
{
    const std::string sample = "..\\maps\\area1.mob";
    ASSERT_TRUE(FileExists(sample)) << "run with the sample content one folder up";
    MapDocument document;
    ASSERT_TRUE(document.LoadObjects(sample.c_str(), list));
    EXPECT_GE(document.ObjectCount(), 24);
    EXPECT_EQ(ListRows(list).size(), document.objectTypes.size());
    for (const PlacedObject& object : document.objects)
    {
        ASSERT_NE(document.FindObjectType(object.type), nullptr);
        EXPECT_GE((float)object.x, 0.0f); // packed: read by value
        EXPECT_LE((float)object.x, 1.0f);
        EXPECT_EQ(object.rotation % 45, 0);
    }
    for (const ObjectType& type : document.objectTypes)
        EXPECT_TRUE(FileExists(type.path)) << type.path; // relative to the program folder
    const std::string copy = folder.File("copy.mob");
    ASSERT_TRUE(document.SaveObjects(copy.c_str()));
    EXPECT_EQ(ReadBytes(copy), ReadBytes(sample));
}
