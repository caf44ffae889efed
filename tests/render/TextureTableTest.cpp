// The texture table on the real device: reuse by name without regard to
// case while the file is unchanged, a changed file read again into its slot,
// one slot per distinct text, the source image size kept in the record,
// failed loads leaving the table as it was (and why they failed), the lowest
// empty slot, the 255-slot limit, and names kept whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/EditorApp.h"
#include "app/WindowsFileSystem.h"
#include "tests/d3dx/TestImages.h"
#include "tests/support/EditorHarness.h"

using namespace testimages;

namespace
{
// A renderer of its own that borrows the editor's device, so the editor's
// table stays as start-up left it.
class TextureTableTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        renderer_.BorrowDevice(app.Graphics().Device());
        renderer_.ReadFilesThrough(&files_);
        picture_ = Write("picture.bmp", Bitmap24(Pattern(300, 200, false)));
    }

    void TearDown() override
    {
        renderer_.Textures().ReleaseAll();
        renderer_.BorrowDevice(nullptr); // the editor releases it
    }

    std::string Write(const std::string& name, const Bytes& bytes)
    {
        const std::string path = folder_.File(name.c_str());
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    int Occupied() const
    {
        const auto& slots = renderer_.Textures().slots;
        return TextureTable::SlotCount -
               (int)std::count(slots, slots + TextureTable::SlotCount, nullptr);
    }

    static std::string Upper(std::string text)
    {
        for (char& c : text)
            c = (char)toupper((unsigned char)c);
        return text;
    }

    TempFolder folder_;
    WindowsFileSystem files_;
    Renderer renderer_;
    std::string picture_;
    const Bytes pixel_ = Bitmap24(Pattern(1, 1, false));
};

TEST_F(TextureTableTest, NamesMatchWithoutRegardToCaseButAreNotResolved)
{
    ASSERT_EQ(renderer_.LoadTexture(picture_.c_str()), 0);
    TextureRecord* record = renderer_.Textures().Record(0);
    ASSERT_NE(record, nullptr);
    IDirect3DTexture8* texture = record->texture;
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(record->renderer, &renderer_);
    // The record keeps the source image's size, whatever size the device made.
    EXPECT_EQ(record->width, 300);
    EXPECT_EQ(record->height, 200);
    EXPECT_EQ(record->preset, 0);
    EXPECT_GT(texture->GetLevelCount(), 1u);
    // Another text for the same file takes a slot of its own.
    const std::string other = folder_.Path() + "\\.\\picture.bmp";
    EXPECT_EQ(renderer_.LoadTexture(other.c_str()), 1);
    EXPECT_EQ(renderer_.Textures().Record(1)->fileName, other);
    EXPECT_NE(renderer_.Textures().Record(1)->texture, texture);
    // The same text in other letters is not read again while the file is
    // unchanged.
    EXPECT_EQ(renderer_.LoadTexture(Upper(picture_).c_str()), 0);
    EXPECT_EQ(renderer_.Textures().Record(0), record);
    EXPECT_EQ(record->texture, texture);
    EXPECT_EQ(Occupied(), 2);
}

TEST_F(TextureTableTest, AChangedFileIsReadAgainIntoTheSameSlot)
{
    ASSERT_EQ(renderer_.LoadTexture(picture_.c_str()), 0);
    // Edited in a paint program: another size, another time stamp.
    Write("picture.bmp", Bitmap24(Pattern(40, 30, false)));
    FILETIME later;
    GetSystemTimeAsFileTime(&later);
    HANDLE file =
        CreateFileA(picture_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &later);
    CloseHandle(file);
    EXPECT_EQ(renderer_.LoadTexture(Upper(picture_).c_str()), 0);
    EXPECT_EQ(renderer_.Textures().Record(0)->width, 40);
    EXPECT_EQ(renderer_.Textures().Record(0)->fileName, picture_) << "the first spelling";
    EXPECT_EQ(Occupied(), 1);
    // Gone: it cannot be read as it is now, and the slot keeps its picture.
    ASSERT_TRUE(DeleteFileA(picture_.c_str()));
    EXPECT_EQ(renderer_.LoadTexture(picture_.c_str()), -1);
    ASSERT_NE(renderer_.Textures().Record(0), nullptr);
    EXPECT_EQ(renderer_.Textures().Record(0)->width, 40);
}

TEST_F(TextureTableTest, TheDocumentsImagesComeFromTheTable)
{
    // What the map document gets for a name: the slot, the source size and
    // the spelling the table keeps; no slot and a reason for a failure.
    WindowsFileSystem files;
    TextureImages images(renderer_, files);
    const LoadedImage first = images.Load(picture_);
    EXPECT_EQ(first.slot, 0);
    EXPECT_EQ(first.width, 300);
    EXPECT_EQ(first.height, 200);
    EXPECT_EQ(first.name, picture_);
    const LoadedImage again = images.Load(Upper(picture_));
    EXPECT_EQ(again.slot, 0);
    EXPECT_EQ(again.name, picture_) << "the first spelling";
    // Why not, for each kind of file that cannot be a texture.
    Bytes huge = Bitmap24(Pattern(1, 1, false));
    huge[18] = huge[22] = 0x01; // 65537 pixels a side (low bytes 1, byte 2 set)
    huge[20] = huge[24] = 0x01;
    const struct
    {
        std::string name;
        const char* problem;
    } refused[] = {
        {folder_.File("missing.bmp"), "the file was not found"},
        {folder_.Path(), "it is a folder, not a file"},
        {Write("text.bmp", Bytes{'h', 'e', 'l', 'l', 'o'}), "it is not an image this editor reads"},
        {Write("huge.bmp", huge), "the image is too large (at most 16384 pixels a side)"},
    };
    for (const auto& r : refused)
    {
        const LoadedImage image = images.Load(r.name);
        EXPECT_EQ(image.slot, -1) << r.name;
        EXPECT_EQ(image.problem, r.problem) << r.name;
    }
}

TEST_F(TextureTableTest, AFailedLoadChangesNothingAndTheNextTakesTheLowestEmptySlot)
{
    const std::string bad = Write("bad.bmp", Bytes{'B', 'M', 0, 0});
    const std::string missing = folder_.File("missing.bmp");
    EXPECT_EQ(renderer_.LoadTexture(bad.c_str()), -1);
    EXPECT_EQ(renderer_.LoadTexture(missing.c_str()), -1);
    EXPECT_EQ(Occupied(), 0);
    EXPECT_EQ(renderer_.LoadTexture(Write("a.bmp", pixel_).c_str()), 0);
    EXPECT_EQ(renderer_.LoadTexture(missing.c_str()), -1);
    EXPECT_EQ(renderer_.LoadTexture(Write("b.bmp", pixel_).c_str()), 1);
    EXPECT_EQ(renderer_.LoadTexture(Write("c.bmp", pixel_).c_str()), 2);
    EXPECT_EQ(Occupied(), 3);
    // Nothing in the editor empties a slot; done by hand, the gap is filled first.
    TextureRecord* gap = renderer_.Textures().slots[1];
    gap->ReleaseTexture();
    delete gap;
    renderer_.Textures().slots[1] = nullptr;
    EXPECT_EQ(renderer_.LoadTexture(picture_.c_str()), 1);
    EXPECT_EQ(renderer_.Textures().Record(-1), nullptr);
    EXPECT_EQ(renderer_.Textures().Record(255), nullptr);
    EXPECT_EQ(renderer_.Textures().Record(3), nullptr);
}

TEST_F(TextureTableTest, The256thDistinctNameGetsNoSlot)
{
    for (int i = 0; i < TextureTable::SlotCount; ++i)
        ASSERT_EQ(renderer_.LoadTexture(Write("copy" + std::to_string(i) + ".bmp", pixel_).c_str()),
                  i);
    const std::string last = renderer_.Textures().Record(254)->fileName;
    EXPECT_EQ(renderer_.LoadTexture(Write("extra.bmp", pixel_).c_str()), -1);
    EXPECT_EQ(Occupied(), 255);
    EXPECT_EQ(renderer_.Textures().Record(254)->fileName, last);
    // Names already loaded are still found.
    EXPECT_EQ(renderer_.LoadTexture(Upper(last).c_str()), 254);
}

TEST_F(TextureTableTest, NamesAreKeptWhole)
{
    // Longer than the 254 characters the table once held, up to MAX_PATH.
    const std::string prefix = folder_.Path() + "\\";
    const std::string name = prefix + std::string(MAX_PATH - 1 - prefix.size() - 4, 'n') + ".bmp";
    ASSERT_TRUE(WriteFileBytes(name, pixel_));
    EXPECT_EQ(renderer_.LoadTexture(name.c_str()), 0);
    EXPECT_EQ(renderer_.Textures().Record(0)->fileName, name);
    EXPECT_EQ(renderer_.LoadTexture(Upper(name).c_str()), 0);

    // Longer than MAX_PATH: read through the file system, as the map and
    // object files there are.
    const std::string deep = folder_.File(std::string(150, 'd').c_str());
    ASSERT_TRUE(WindowsFileSystem::MakeFolders(deep));
    const std::string longName = deep + "\\" + std::string(120, 'n') + ".bmp";
    ASSERT_GT(longName.size(), (size_t)MAX_PATH);
    std::vector<unsigned char> bytes;
    ASSERT_EQ(files_.ReadWholeFile(picture_, &bytes), FileError::None);
    ASSERT_EQ(files_.ReplaceWholeFile(longName, bytes.data(), bytes.size()), FileError::None);
    TextureImages images(renderer_, files_);
    const LoadedImage image = images.LoadHeightmap(longName);
    EXPECT_EQ(image.slot, 1);
    EXPECT_EQ(image.width, 300);
    EXPECT_EQ(image.samples.width, 300);
    DeleteFileW(WindowsFileSystem::WideName(longName).c_str());
    RemoveDirectoryW(WindowsFileSystem::WideName(deep).c_str());
}

TEST_F(TextureTableTest, WithoutRendererOrDeviceNothingLoads)
{
    TextureTable table;
    EXPECT_EQ(table.AddTexture(picture_.c_str()), -1);
    Renderer noDevice;
    noDevice.Textures().renderer = &noDevice;
    EXPECT_EQ(noDevice.LoadTexture(picture_.c_str()), -1);
    renderer_.Textures().ReleaseAll();
    EXPECT_EQ(renderer_.Textures().renderer, nullptr);
    EXPECT_EQ(renderer_.LoadTexture(picture_.c_str()), -1);
}
} // namespace
