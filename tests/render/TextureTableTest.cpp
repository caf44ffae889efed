// The texture table on the real device: reuse by name without regard to
// case, one slot per distinct text, failed loads leaving the table as it
// was, the lowest empty slot, the 255-slot limit, names too long for the
// record, and the source image size kept in the record.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
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
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        renderer_.device = app.device;
        renderer_.textures.renderer = &renderer_;
        tiny_ = Write("tiny.bmp", Bitmap24(Pattern(2, 2, false)));
    }

    void TearDown() override
    {
        renderer_.textures.ReleaseAll();
        renderer_.device = nullptr; // borrowed: the editor releases it
    }

    std::string Write(const std::string& name, const Bytes& bytes)
    {
        const std::string path = folder_.File(name.c_str());
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    int Occupied() const
    {
        int count = 0;
        for (TextureRecord* record : renderer_.textures.slots)
            count += record != nullptr;
        return count;
    }

    static std::string Upper(std::string text)
    {
        for (char& c : text)
            c = (char)toupper((unsigned char)c);
        return text;
    }

    TempFolder folder_;
    Renderer renderer_;
    std::string tiny_;
};

TEST_F(TextureTableTest, ANameInOtherLettersReusesTheSlotAndKeepsTheFirstSpelling)
{
    ASSERT_EQ(renderer_.LoadTexture(tiny_.c_str()), 0);
    TextureRecord* record = renderer_.textures.Record(0);
    ASSERT_NE(record, nullptr);
    IDirect3DTexture8* texture = record->texture;
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(record->renderer, &renderer_);
    // The file is not read again: it may even be gone.
    ASSERT_TRUE(DeleteFileA(tiny_.c_str()));
    EXPECT_EQ(renderer_.LoadTexture(Upper(tiny_).c_str()), 0);
    EXPECT_STREQ(record->fileName, tiny_.c_str());
    EXPECT_EQ(record->texture, texture);
    EXPECT_EQ(Occupied(), 1);
}

TEST_F(TextureTableTest, TwoTextsForOneFileUseTwoSlots)
{
    const std::string other = folder_.Path() + "\\.\\tiny.bmp";
    EXPECT_EQ(renderer_.LoadTexture(tiny_.c_str()), 0);
    EXPECT_EQ(renderer_.LoadTexture(other.c_str()), 1);
    EXPECT_STREQ(renderer_.textures.Record(1)->fileName, other.c_str());
    EXPECT_NE(renderer_.textures.Record(0)->texture, renderer_.textures.Record(1)->texture);
}

TEST_F(TextureTableTest, AFailedLoadChangesNothingAndTheNextTakesTheLowestEmptySlot)
{
    const std::string bad = Write("bad.bmp", Bytes{'B', 'M', 0, 0});
    const std::string missing = folder_.File("missing.bmp");
    EXPECT_EQ(renderer_.LoadTexture(bad.c_str()), -1);
    EXPECT_EQ(renderer_.LoadTexture(missing.c_str()), -1);
    EXPECT_EQ(Occupied(), 0);
    const std::string a = Write("a.bmp", Bitmap24(Pattern(1, 1, false)));
    const std::string b = Write("b.bmp", Bitmap24(Pattern(1, 1, false)));
    const std::string c = Write("c.bmp", Bitmap24(Pattern(1, 1, false)));
    EXPECT_EQ(renderer_.LoadTexture(a.c_str()), 0);
    EXPECT_EQ(renderer_.LoadTexture(missing.c_str()), -1);
    EXPECT_EQ(renderer_.LoadTexture(b.c_str()), 1);
    EXPECT_EQ(renderer_.LoadTexture(c.c_str()), 2);
    EXPECT_EQ(Occupied(), 3);
    // Nothing in the editor empties a slot; done by hand, the gap is filled first.
    TextureRecord* gap = renderer_.textures.slots[1];
    gap->ReleaseTexture();
    delete gap;
    renderer_.textures.slots[1] = nullptr;
    EXPECT_EQ(renderer_.LoadTexture(tiny_.c_str()), 1);
    EXPECT_EQ(renderer_.textures.Record(-1), nullptr);
    EXPECT_EQ(renderer_.textures.Record(255), nullptr);
    EXPECT_EQ(renderer_.textures.Record(3), nullptr);
}

TEST_F(TextureTableTest, The256thDistinctNameGetsNoSlot)
{
    const Bytes bytes = Bitmap24(Pattern(1, 1, false));
    for (int i = 0; i < TextureTable::SlotCount; ++i)
    {
        const std::string name = Write("copy" + std::to_string(i) + ".bmp", bytes);
        ASSERT_EQ(renderer_.LoadTexture(name.c_str()), i);
    }
    const std::string last = renderer_.textures.Record(254)->fileName;
    const std::string extra = Write("extra.bmp", bytes);
    EXPECT_EQ(renderer_.LoadTexture(extra.c_str()), -1);
    EXPECT_EQ(Occupied(), 255);
    EXPECT_EQ(renderer_.textures.Record(254)->fileName, last);
    // Names already loaded are still found.
    EXPECT_EQ(renderer_.LoadTexture(Upper(last).c_str()), 254);
}

TEST_F(TextureTableTest, NamesTooLongForTheRecordAreRefused)
{
    // Two names of one existing, valid file: 254 characters fit the record,
    // 255 do not (the record holds 255 bytes with the terminating zero).
    const std::string prefix = folder_.Path() + "\\";
    auto nameOfLength = [&](size_t length)
    { return prefix + std::string(length - prefix.size() - 4, 'n') + ".bmp"; };
    const std::string fits = nameOfLength(254);
    const std::string tooLong = nameOfLength(255);
    ASSERT_TRUE(WriteFileBytes(fits, Bitmap24(Pattern(1, 1, false))));
    ASSERT_TRUE(WriteFileBytes(tooLong, Bitmap24(Pattern(1, 1, false))));
    EXPECT_EQ(renderer_.LoadTexture(tooLong.c_str()), -1);
    EXPECT_EQ(Occupied(), 0);
    EXPECT_EQ(renderer_.LoadTexture(fits.c_str()), 0);
    EXPECT_STREQ(renderer_.textures.Record(0)->fileName, fits.c_str());

    TextureRecord record;
    EXPECT_EQ(record.LoadFromFile(&renderer_, tooLong.c_str()), 1);
    EXPECT_EQ(record.texture, nullptr);
    EXPECT_STREQ(record.fileName, "");
}

TEST_F(TextureTableTest, TheRecordKeepsTheSourceImageSize)
{
    const std::string path = Write("wide.bmp", Bitmap24(Pattern(300, 200, false)));
    const int slot = renderer_.LoadTexture(path.c_str());
    ASSERT_EQ(slot, 0);
    const TextureRecord* record = renderer_.textures.Record(slot);
    EXPECT_EQ(record->width, 300);
    EXPECT_EQ(record->height, 200);
    EXPECT_EQ(record->preset, 0);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(record->texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_GE(desc.Width, 256u); // the device's own size, possibly rounded
    EXPECT_GT(record->texture->GetLevelCount(), 1u);
}

TEST_F(TextureTableTest, WithoutRendererOrDeviceNothingLoads)
{
    TextureTable table;
    EXPECT_EQ(table.AddTexture(tiny_.c_str()), -1);
    Renderer noDevice;
    noDevice.textures.renderer = &noDevice;
    EXPECT_EQ(noDevice.LoadTexture(tiny_.c_str()), -1);
    renderer_.textures.ReleaseAll();
    EXPECT_EQ(renderer_.textures.renderer, nullptr);
    EXPECT_EQ(renderer_.LoadTexture(tiny_.c_str()), -1);
}
} // namespace
