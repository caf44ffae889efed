// D3DXCreateTextureFromFileExA on Wine's real Direct3D 8 device: files
// written to a temporary folder, loaded with the editor's arguments, and
// the texture's levels read back texel by texel with LockRect.
#include <gtest/gtest.h>

#include <string>

#include "app/EditorApp.h"
#include "d3dx/d3dx8.h"
#include "d3dx/image/DecoderChain.h"
#include "d3dx/image/PixelConvert.h"
#include "tests/d3dx/SampleFiles.h"
#include "tests/support/EditorHarness.h"

using namespace testimages;
using d3dximage::Image;

namespace
{
class TextureLoadTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        D3DCAPS8 caps;
        app.Graphics().Device()->GetDeviceCaps(&caps);
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
        return D3DXCreateTextureFromFileExA(app.Graphics().Device(), path.c_str(), width, height,
                                            D3DX_DEFAULT, 0, format, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                            D3DX_DEFAULT, colorKey, &info_, nullptr, &texture_);
    }

    // A level of the loaded texture as ARGB texels, read with LockRect.
    Image Level(UINT level)
    {
        Image image;
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT locked;
        if (!texture_ || FAILED(texture_->GetLevelDesc(level, &desc)) ||
            FAILED(texture_->LockRect(level, &locked, nullptr, D3DLOCK_READONLY)))
            return image;
        const auto format = (d3dximage::PixelFormat)desc.Format;
        image.width = desc.Width;
        image.height = desc.Height;
        for (UINT y = 0; y < desc.Height; ++y)
        {
            const uint8_t* row = (const uint8_t*)locked.pBits + (size_t)y * locked.Pitch;
            for (UINT x = 0; x < desc.Width; ++x)
                image.pixels.push_back(
                    d3dximage::ReadTexel(row + x * d3dximage::TexelBytes(format), format));
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

    // Level 0 holds exactly `expected` (unless the device rounded the size:
    // the scaler's own tests cover that).
    void ExpectTopLevel(const Image& expected, const std::string& what)
    {
        ASSERT_NE(texture_, nullptr) << what;
        const Image top = Level(0);
        if (!anySize_)
            return;
        EXPECT_EQ(top.width, expected.width) << what;
        EXPECT_EQ(top.pixels, expected.pixels) << what;
    }

    TempFolder folder_;
    IDirect3DTexture8* texture_ = nullptr;
    D3DXIMAGE_INFO info_;
    bool anySize_ = true;
};

TEST_F(TextureLoadTest, EachFileKindArrivesTexelForTexelWithItsInfo)
{
    // Samples of every kind, what D3DXIMAGE_INFO says of them in Direct3D's
    // own numbers; their texels must be the decoder's (pinned by the decoder
    // tests) in the A8R8G8B8 texture.
    const struct
    {
        const char* sample;
        D3DFORMAT format;
        D3DXIMAGE_FILEFORMAT kind;
        UINT mipLevels;
    } cases[] = {
        {"rgb24.bmp", D3DFMT_R8G8B8, D3DXIFF_BMP, 1},
        {"indexed8.bmp", D3DFMT_P8, D3DXIFF_BMP, 1},
        {"rgb565.bmp", D3DFMT_R5G6B5, D3DXIFF_BMP, 1},
        {"argb32v5.bmp", D3DFMT_A8R8G8B8, D3DXIFF_BMP, 1},
        {"indexed8.dib", D3DFMT_P8, D3DXIFF_DIB, 1},
        {"rgb.ppm", D3DFMT_R8G8B8, D3DXIFF_PPM, 1},
        {"dxt1.dds", D3DFMT_DXT1, D3DXIFF_DDS, 4},
        {"dxt5.dds", D3DFMT_DXT5, D3DXIFF_DDS, 1},
        {"photo.jpg", D3DFMT_X8R8G8B8, D3DXIFF_JPG, 1},
        {"grey.jpg", D3DFMT_L8, D3DXIFF_JPG, 1},
        {"palette.png", D3DFMT_P8, D3DXIFF_PNG, 1},
        {"greyalpha16.png", D3DFMT_A8L8, D3DXIFF_PNG, 1},
        {"mapped-rle.tga", D3DFMT_P8, D3DXIFF_TGA, 1},
    };
    const std::vector<SampleFile> samples = SampleFiles();
    for (const auto& c : cases)
    {
        auto sample = samples.begin();
        while (sample != samples.end() && sample->name != c.sample)
            ++sample;
        ASSERT_NE(sample, samples.end()) << c.sample;
        Image decoded;
        d3dximage::ImageInfo info;
        ASSERT_EQ(d3dximage::DecodeImageFile(sample->bytes.data(), sample->bytes.size(),
                                             d3dximage::DecodeLimits(), &decoded, &info),
                  d3dximage::DecodeStatus::Ok)
            << c.sample;
        // Names say nothing: each file is stored under a misleading extension.
        ASSERT_EQ(Load(Write((sample->name + ".xyz").c_str(), sample->bytes)), D3D_OK) << c.sample;
        EXPECT_EQ(info_.Width, decoded.width) << c.sample;
        EXPECT_EQ(info_.Height, decoded.height) << c.sample;
        EXPECT_EQ(info_.Depth, 1u) << c.sample;
        EXPECT_EQ(info_.MipLevels, c.mipLevels) << c.sample;
        EXPECT_EQ(info_.Format, c.format) << c.sample;
        EXPECT_EQ(info_.ResourceType, D3DRTYPE_TEXTURE) << c.sample;
        EXPECT_EQ(info_.ImageFileFormat, c.kind) << c.sample;
        EXPECT_EQ(TextureFormat(), D3DFMT_A8R8G8B8) << c.sample;
        ExpectTopLevel(decoded, c.sample);
    }
}

TEST_F(TextureLoadTest, EveryMipLevelIsTheBoxFilterOfTheOneAbove)
{
    // 8 x 8, 32 bits with 8 alpha bits, top-down.
    const Image image = Pattern(8, 8, true);
    const TgaRecipe tga = Tga(2, 8, 8, 32, 0x28, BitmapRows(image, 32, Argb, true, 1));
    ASSERT_EQ(Load(Write("chain.tga", BuildTga(tga))), D3D_OK);
    ASSERT_EQ(texture_->GetLevelCount(), 4u); // 8x8, 4x4, 2x2, 1x1
    Image above = Level(0);
    for (UINT level = 1; level < 4; ++level)
    {
        const Image actual = Level(level);
        ASSERT_EQ(actual.width, above.width / 2) << level;
        ASSERT_EQ(actual.height, above.height / 2) << level;
        // Each channel of each texel: the rounded mean of the 2 x 2 above.
        for (uint32_t i = 0; i < actual.width * actual.height * 4; ++i)
        {
            const uint32_t x = i / 4 % actual.width, y = i / 4 / actual.width, shift = i % 4 * 8;
            const uint32_t sum = (above.At(2 * x, 2 * y) >> shift & 255) +
                                 (above.At(2 * x + 1, 2 * y) >> shift & 255) +
                                 (above.At(2 * x, 2 * y + 1) >> shift & 255) +
                                 (above.At(2 * x + 1, 2 * y + 1) >> shift & 255);
            ASSERT_EQ(actual.At(x, y) >> shift & 255, (sum + 2) / 4)
                << "level " << level << " at " << x << ", " << y;
        }
        above = actual;
    }
}

TEST_F(TextureLoadTest, OtherFormatsAreWrittenOrTheNearestSupportedOne)
{
    const Image image = Pattern(4, 4, false);
    const std::string path = Write("formats.bmp", Bitmap24(image));
    IDirect3D8* direct3d = nullptr;
    app.Graphics().Device()->GetDirect3D(&direct3d);
    D3DDISPLAYMODE mode;
    app.Graphics().Device()->GetDisplayMode(&mode);
    for (D3DFORMAT format : {D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_X8R8G8B8,
                             D3DFMT_A8, D3DFMT_L8, D3DFMT_A8L8, D3DFMT_R3G3B2})
    {
        ASSERT_EQ(Load(path, format), D3D_OK) << format;
        const D3DFORMAT made = TextureFormat();
        if (SUCCEEDED(direct3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mode.Format,
                                                  0, D3DRTYPE_TEXTURE, format)))
        {
            EXPECT_EQ(made, format);
        }
        // Whatever was made, its texels are the image's as that format holds them.
        Image expected = image;
        uint8_t texel[4];
        for (uint32_t& p : expected.pixels)
        {
            d3dximage::ConvertRow(&p, 1, (d3dximage::PixelFormat)made, texel);
            p = d3dximage::ReadTexel(texel, (d3dximage::PixelFormat)made);
        }
        ExpectTopLevel(expected, "converted");
    }
    direct3d->Release();
}

TEST_F(TextureLoadTest, ColourKeySizePoolAndTheCurrentDirectory)
{
    const Image image = FromTexels(2, 2, {0xFFFF00FF, 0xFF102030, 0xFF405060, 0xFFFF00FF});
    const std::string path = Write("keyed.bmp", Bitmap24(image));
    ASSERT_EQ(Load(path, D3DFMT_A8R8G8B8, 0xFFFF00FF), D3D_OK);
    ExpectTopLevel(FromTexels(2, 2, {0, 0xFF102030, 0xFF405060, 0}), "colour key");

    // A requested size other than the image's: a flat image stays flat.
    const Image flat = FromTexels(3, 3, std::vector<uint32_t>(9, 0xFF336699));
    ASSERT_EQ(Load(Write("flat.bmp", Bitmap24(flat)), D3DFMT_A8R8G8B8, 0, 8, 4), D3D_OK);
    EXPECT_EQ(info_.Width, 3u);
    ExpectTopLevel(FromTexels(8, 4, std::vector<uint32_t>(32, 0xFF336699)), "scaled");

    // Relative names resolve against the current directory.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path().c_str()));
    const HRESULT relative = Load("keyed.bmp");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(relative, D3D_OK);

    // The default pool cannot be locked: it is filled through a copy.
    const std::string pool = Write("pool.bmp", Bitmap24(Pattern(8, 8, false)));
    IDirect3DTexture8* pooled = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(app.Graphics().Device(), pool.c_str(), D3DX_DEFAULT,
                                           D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8,
                                           D3DPOOL_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr,
                                           nullptr, &pooled),
              D3D_OK);
    ASSERT_NE(pooled, nullptr);
    EXPECT_EQ(pooled->GetLevelCount(), 4u);
    pooled->Release();
}

TEST_F(TextureLoadTest, BadFilesAndArgumentsGiveANegativeResultAndNoTexture)
{
    Bytes truncated = Bitmap24(Pattern(4, 4, false));
    truncated.resize(truncated.size() - 5);
    const BitmapRecipe huge = Bitmap(40, 24, 16385, 1, Bytes(16385 * 3 + 1, 0));
    const struct
    {
        const char* name;
        Bytes bytes;
    } files[] = {
        {"empty.bmp", {}},
        {"text.bmp", Text("hello")},
        {"truncated.bmp", truncated},
        {"huge.bmp", BuildBitmap(huge)},
    };
    for (const auto& f : files)
    {
        EXPECT_EQ(Load(Write(f.name, f.bytes)), D3DXERR_INVALIDDATA) << f.name;
        EXPECT_EQ(texture_, nullptr) << f.name;
    }
    EXPECT_EQ(Load(folder_.File("missing.bmp")), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture_, nullptr);

    const std::string good = Write("good.bmp", Bitmap24(Pattern(2, 2, false)));
    IDirect3DTexture8* out = (IDirect3DTexture8*)&out;
    const struct
    {
        IDirect3DDevice8* device;
        const char* name;
        IDirect3DTexture8** texture;
    } calls[] = {{nullptr, good.c_str(), &out},
                 {app.Graphics().Device(), nullptr, &out},
                 {app.Graphics().Device(), good.c_str(), nullptr}};
    for (const auto& c : calls)
    {
        EXPECT_EQ(D3DXCreateTextureFromFileExA(c.device, c.name, D3DX_DEFAULT, D3DX_DEFAULT,
                                               D3DX_DEFAULT, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                               D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                               c.texture),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(out, nullptr);
    }
}
} // namespace
