// D3DXCreateTextureFromFileExA on Wine's real Direct3D 8 device: files
// written to a temporary folder, loaded with the editor's arguments, and
// the texture's levels read back texel by texel with LockRect.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "d3dx/d3dx8.h"
#include "d3dx/image/MipChain.h"
#include "d3dx/image/PixelConvert.h"
#include "tests/d3dx/JpegSamples.h"
#include "tests/d3dx/TestImages.h"
#include "tests/support/EditorHarness.h"

using namespace testimages;
using d3dximage::Image;

namespace
{
int ChannelDistance(uint32_t a, uint32_t b)
{
    int most = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int d = abs((int)(a >> shift & 255) - (int)(b >> shift & 255));
        most = d > most ? d : most;
    }
    return most;
}

class TextureLoadTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        D3DCAPS8 caps;
        app.device->GetDeviceCaps(&caps);
        anySize_ = !(caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY));
    }

    void TearDown() override
    {
        if (texture_)
            texture_->Release();
    }

    std::string Write(const char* name, const Bytes& bytes)
    {
        const std::string path = folder_.File(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    // The call the texture table makes, with a format of the caller's choice.
    HRESULT Load(const std::string& path, D3DFORMAT format = D3DFMT_A8R8G8B8, D3DCOLOR colorKey = 0,
                 UINT width = D3DX_DEFAULT, UINT height = D3DX_DEFAULT)
    {
        if (texture_)
            texture_->Release();
        texture_ = nullptr;
        ZeroMemory(&info_, sizeof(info_));
        return D3DXCreateTextureFromFileExA(app.device, path.c_str(), width, height, D3DX_DEFAULT,
                                            0, format, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT,
                                            colorKey, &info_, nullptr, &texture_);
    }

    // A level of the loaded texture as ARGB texels.
    Image Level(UINT level)
    {
        Image image;
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT locked;
        if (!texture_ || FAILED(texture_->GetLevelDesc(level, &desc)) ||
            FAILED(texture_->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)))
            return image;
        const uint32_t bytes = d3dximage::TexelBytes((d3dximage::PixelFormat)desc.Format);
        image.width = desc.Width;
        image.height = desc.Height;
        image.pixels.resize((size_t)desc.Width * desc.Height);
        for (UINT y = 0; y < desc.Height; ++y)
        {
            const uint8_t* row = (const uint8_t*)locked.pBits + (size_t)y * locked.Pitch;
            for (UINT x = 0; x < desc.Width; ++x)
                image.pixels[(size_t)y * desc.Width + x] =
                    d3dximage::ReadTexel(row + x * bytes, (d3dximage::PixelFormat)desc.Format);
        }
        texture_->UnlockRect(level);
        return image;
    }

    D3DFORMAT TextureFormat()
    {
        D3DSURFACE_DESC desc;
        texture_->GetLevelDesc(0, &desc);
        return desc.Format;
    }

    // Level 0 equals `expected` within `tolerance` per channel.
    void ExpectTopLevel(const Image& expected, int tolerance, const char* what)
    {
        ASSERT_NE(texture_, nullptr) << what;
        const Image top = Level(0);
        if (!anySize_)
            return; // the device has rounded the size: the scaler's tests cover that
        ASSERT_EQ(top.width, expected.width) << what;
        ASSERT_EQ(top.height, expected.height) << what;
        int worst = 0;
        for (size_t i = 0; i < top.pixels.size(); ++i)
        {
            const int d = ChannelDistance(top.pixels[i], expected.pixels[i]);
            worst = d > worst ? d : worst;
        }
        EXPECT_LE(worst, tolerance) << what;
    }

    TempFolder folder_;
    IDirect3DTexture8* texture_ = nullptr;
    D3DXIMAGE_INFO info_;
    bool anySize_ = true;
};

TEST_F(TextureLoadTest, EachFileKindArrivesTexelForTexel)
{
    const Image opaque = Pattern(7, 5, false);
    const Image translucent = Pattern(6, 4, true);
    const uint32_t argbMasks[4] = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};

    BitmapSpec bits32; // a version 4 header carries the alpha mask
    bits32.headerSize = 108;
    bits32.width = 6;
    bits32.height = -4;
    bits32.bitCount = 32;
    bits32.compression = 3;
    memcpy(bits32.masks, argbMasks, sizeof(argbMasks));
    bits32.pixels = BitmapRows(translucent, 32, argbMasks, true);

    // An 8-bit bitmap: index i is grey 40 i.
    BitmapSpec indexed;
    indexed.width = 3;
    indexed.height = 2;
    indexed.bitCount = 8;
    for (uint32_t i = 0; i < 4; ++i)
        indexed.palette.push_back(d3dximage::PackArgb(255, 40 * i, 40 * i, 40 * i));
    indexed.colorsUsed = 4;
    indexed.pixels = BitmapIndexRows({0, 1, 2, 3, 2, 1}, 3, 2, 8, false);
    const Image indexedImage =
        FromTexels(3, 2,
                   {indexed.palette[0], indexed.palette[1], indexed.palette[2], indexed.palette[3],
                    indexed.palette[2], indexed.palette[1]});

    TgaSpec tga;
    tga.width = 6;
    tga.height = 4;
    tga.pixelBits = 32;
    tga.descriptor = 0x28; // 8 alpha bits, top-down
    for (uint32_t p : translucent.pixels)
        Put32(&tga.data, p);

    DdsSpec dds;
    dds.width = 6;
    dds.height = 4;
    dds.pixelFlags = 0x41;
    dds.bits = 32;
    memcpy(dds.masks, argbMasks, sizeof(argbMasks));
    for (uint32_t p : translucent.pixels)
        Put32(&dds.data, p);

    Bytes ppm = {'P', '6', ' ', '2', ' ', '1', ' ', '2', '5', '5', '\n', 10, 20, 30, 40, 50, 60};

    const struct
    {
        const char* name;
        Bytes bytes;
        Image expected;
        D3DFORMAT sourceFormat;
        D3DXIMAGE_FILEFORMAT kind;
        int tolerance;
    } cases[] = {
        {"rgb24.bmp", Bitmap24(opaque), opaque, D3DFMT_R8G8B8, D3DXIFF_BMP, 0},
        {"argb32.bmp", BuildBitmap(bits32), translucent, D3DFMT_A8R8G8B8, D3DXIFF_BMP, 0},
        {"indexed8.bmp", BuildBitmap(indexed), indexedImage, D3DFMT_P8, D3DXIFF_BMP, 0},
        {"bare.dib", BuildDib(indexed), indexedImage, D3DFMT_P8, D3DXIFF_DIB, 0},
        {"argb.png", EncodePng(translucent, 4), translucent, D3DFMT_A8R8G8B8, D3DXIFF_PNG, 0},
        {"photo.jpg", EncodeJpeg(opaque, 100), opaque, D3DFMT_X8R8G8B8, D3DXIFF_JPG, 24},
        {"argb.tga", BuildTga(tga), translucent, D3DFMT_A8R8G8B8, D3DXIFF_TGA, 0},
        {"argb.dds", BuildDds(dds), translucent, D3DFMT_A8R8G8B8, D3DXIFF_DDS, 0},
        {"pixmap.ppm", ppm, FromTexels(2, 1, {0xFF0A141E, 0xFF28323C}), D3DFMT_R8G8B8, D3DXIFF_PPM,
         0},
    };
    for (const auto& c : cases)
    {
        // Names say nothing: each file is stored under a misleading extension.
        const std::string path = Write((std::string(c.name) + ".xyz").c_str(), c.bytes);
        ASSERT_EQ(Load(path), D3D_OK) << c.name;
        EXPECT_EQ(info_.Width, c.expected.width) << c.name;
        EXPECT_EQ(info_.Height, c.expected.height) << c.name;
        EXPECT_EQ(info_.Depth, 1u) << c.name;
        EXPECT_EQ(info_.MipLevels, 1u) << c.name;
        EXPECT_EQ(info_.Format, c.sourceFormat) << c.name;
        EXPECT_EQ(info_.ResourceType, D3DRTYPE_TEXTURE) << c.name;
        EXPECT_EQ(info_.ImageFileFormat, c.kind) << c.name;
        EXPECT_EQ(TextureFormat(), D3DFMT_A8R8G8B8) << c.name;
        ExpectTopLevel(c.expected, c.tolerance, c.name);
    }
}

TEST_F(TextureLoadTest, CompressedAndGreyFilesArriveToo)
{
    // DXT1: end points white and black, selectors 0..3 along each row.
    DdsSpec dxt1;
    dxt1.width = 4;
    dxt1.height = 4;
    dxt1.pixelFlags = 0x4;
    dxt1.fourCC = 0x31545844;
    dxt1.mipCount = 3;
    dxt1.data = {0xFF, 0xFF, 0x00, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
    Append(&dxt1.data, Bytes(16, 0)); // the 2 x 2 and 1 x 1 levels
    ASSERT_EQ(Load(Write("block.dds", BuildDds(dxt1))), D3D_OK);
    EXPECT_EQ(info_.Format, (D3DFORMAT)0x31545844);
    EXPECT_EQ(info_.MipLevels, 3u);
    const uint32_t row[4] = {0xFFFFFFFF, 0xFF000000, 0xFFAAAAAA, 0xFF555555};
    std::vector<uint32_t> texels(16);
    for (size_t i = 0; i < 16; ++i)
        texels[i] = row[i % 4];
    ExpectTopLevel(FromTexels(4, 4, texels), 0, "DXT1");

    ASSERT_EQ(Load(Write("grey.jpg",
                         Bytes(std::begin(GreyWhiteToBlackJpeg), std::end(GreyWhiteToBlackJpeg)))),
              D3D_OK);
    EXPECT_EQ(info_.Format, D3DFMT_L8);
    std::vector<uint32_t> grey;
    for (uint32_t y = 0; y < 16; ++y)
    {
        const uint32_t v = 255 * (15 - y) / 15;
        for (int x = 0; x < 16; ++x)
            grey.push_back(d3dximage::PackArgb(255, v, v, v));
    }
    ExpectTopLevel(FromTexels(16, 16, grey), 12, "grey JPEG");
}

TEST_F(TextureLoadTest, EveryMipLevelIsTheBoxFilterOfTheOneAbove)
{
    const Image image = Pattern(8, 6, true);
    TgaSpec tga;
    tga.width = 8;
    tga.height = 6;
    tga.pixelBits = 32;
    tga.descriptor = 0x28;
    for (uint32_t p : image.pixels)
        Put32(&tga.data, p);
    ASSERT_EQ(Load(Write("chain.tga", BuildTga(tga))), D3D_OK);
    if (!anySize_)
        GTEST_SKIP() << "the device rounds texture sizes";
    ASSERT_EQ(texture_->GetLevelCount(), 4u); // 8x6, 4x3, 2x1, 1x1
    Image above = Level(0);
    for (UINT level = 1; level < 4; ++level)
    {
        Image expected;
        ASSERT_TRUE(d3dximage::BoxFilterLevel(above, &expected));
        const Image actual = Level(level);
        ASSERT_EQ(actual.width, expected.width) << level;
        ASSERT_EQ(actual.height, expected.height) << level;
        EXPECT_EQ(actual.pixels, expected.pixels) << "level " << level;
        above = actual;
    }
    EXPECT_EQ(Level(3).width, 1u);
    // Level 1, texel (0, 0) by hand: the mean of the four texels above it.
    const Image top = Level(0);
    uint32_t sum = 0;
    for (uint32_t p : {top.At(0, 0), top.At(1, 0), top.At(0, 1), top.At(1, 1)})
        sum += p >> 16 & 255;
    EXPECT_EQ(Level(1).At(0, 0) >> 16 & 255, (sum + 2) / 4);
}

TEST_F(TextureLoadTest, OtherFormatsAreWrittenOrTheNearestSupportedOne)
{
    const Image image = Pattern(4, 4, false);
    const std::string path = Write("formats.bmp", Bitmap24(image));
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X8R8G8B8,
                             D3DFMT_A8, D3DFMT_L8, D3DFMT_A8L8, D3DFMT_R3G3B2})
    {
        ASSERT_EQ(Load(path, format), D3D_OK) << format;
        const D3DFORMAT made = TextureFormat();
        IDirect3D8* direct3d = nullptr;
        app.device->GetDirect3D(&direct3d);
        D3DDISPLAYMODE mode;
        app.device->GetDisplayMode(&mode);
        const bool supported = SUCCEEDED(direct3d->CheckDeviceFormat(
            D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mode.Format, 0, D3DRTYPE_TEXTURE, format));
        direct3d->Release();
        if (supported)
        {
            EXPECT_EQ(made, format);
        }
        // Whatever was made, its texels are the image's as that format holds them.
        Image expected = image;
        std::vector<uint8_t> texel(4);
        for (uint32_t& p : expected.pixels)
        {
            d3dximage::ConvertRow(&p, 1, (d3dximage::PixelFormat)made, texel.data());
            p = d3dximage::ReadTexel(texel.data(), (d3dximage::PixelFormat)made);
        }
        ExpectTopLevel(expected, 0, "converted");
    }
}

TEST_F(TextureLoadTest, ColourKeyScalingAndTheCurrentDirectory)
{
    const Image image = FromTexels(2, 2, {0xFFFF00FF, 0xFF102030, 0xFF405060, 0xFFFF00FF});
    const std::string path = Write("keyed.bmp", Bitmap24(image));
    ASSERT_EQ(Load(path, D3DFMT_A8R8G8B8, 0xFFFF00FF), D3D_OK);
    ExpectTopLevel(FromTexels(2, 2, {0, 0xFF102030, 0xFF405060, 0}), 0, "colour key");

    // A requested size other than the image's: a flat image stays flat.
    const Image flat = FromTexels(3, 3, std::vector<uint32_t>(9, 0xFF336699));
    ASSERT_EQ(Load(Write("flat.bmp", Bitmap24(flat)), D3DFMT_A8R8G8B8, 0, 8, 4), D3D_OK);
    EXPECT_EQ(info_.Width, 3u);
    const Image scaled = Level(0);
    ASSERT_EQ(scaled.width, 8u);
    ASSERT_EQ(scaled.height, 4u);
    for (uint32_t p : scaled.pixels)
        EXPECT_EQ(p, 0xFF336699u);

    // Relative names resolve against the current directory.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    const HRESULT relative = Load("keyed.bmp");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(relative, D3D_OK);
}

TEST_F(TextureLoadTest, BadFilesAndArgumentsGiveANegativeResultAndNoTexture)
{
    Bytes truncated = Bitmap24(Pattern(4, 4, false));
    truncated.resize(truncated.size() - 5);
    BitmapSpec outOfRange;
    outOfRange.width = 2;
    outOfRange.height = 1;
    outOfRange.bitCount = 8;
    outOfRange.colorsUsed = 2;
    outOfRange.palette = {0xFF000000, 0xFFFFFFFF};
    outOfRange.pixels = {0, 2, 0, 0}; // index 2 of a 2-colour table
    BitmapSpec huge;
    huge.width = 16385;
    huge.height = 1;
    huge.pixels = Bytes(16385 * 3 + 1, 0);

    const struct
    {
        const char* name;
        Bytes bytes;
    } files[] = {
        {"empty.bmp", {}},
        {"text.bmp", {'h', 'e', 'l', 'l', 'o'}},
        {"truncated.bmp", truncated},
        {"palette.bmp", BuildBitmap(outOfRange)},
        {"huge.bmp", BuildBitmap(huge)},
    };
    for (const auto& f : files)
    {
        const HRESULT result = Load(Write(f.name, f.bytes));
        EXPECT_EQ(result, D3DXERR_INVALIDDATA) << f.name;
        EXPECT_EQ(texture_, nullptr) << f.name;
    }
    EXPECT_EQ(Load(folder_.File("missing.bmp")), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture_, nullptr);

    const std::string good = Write("good.bmp", Bitmap24(Pattern(2, 2, false)));
    IDirect3DTexture8* out = (IDirect3DTexture8*)&out;
    EXPECT_EQ(D3DXCreateTextureFromFileExA(nullptr, good.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &out),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(D3DXCreateTextureFromFileExA(app.device, nullptr, D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &out),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileExA(app.device, good.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                           nullptr),
              D3DERR_INVALIDCALL);
}

TEST_F(TextureLoadTest, TheDefaultPoolIsFilledThroughASystemMemoryCopy)
{
    const std::string path = Write("pool.bmp", Bitmap24(Pattern(8, 8, false)));
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(app.device, path.c_str(), D3DX_DEFAULT, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                           &texture),
              D3D_OK);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetLevelCount(), 4u);
    texture->Release();
}
} // namespace
