// PNG and JPEG decoding: every PNG colour type and depth, interlaced,
// palette transparency and tRNS keys, from files built with stored deflate
// blocks and from stb_image_write; baseline, progressive and greyscale JPEG
// compared with a tolerance.
#include "tests/d3dx/DecodeCheck.h"
#include "tests/d3dx/JpegSamples.h"

using namespace testimages;

namespace
{
// The PNG samples of a picture as RGBA at 8 bits.
std::vector<uint16_t> RgbaSamples(const Image& image)
{
    std::vector<uint16_t> samples;
    for (uint32_t p : image.pixels)
        samples.insert(samples.end(), {(uint16_t)(p >> 16 & 255), (uint16_t)(p >> 8 & 255),
                                       (uint16_t)(p & 255), (uint16_t)(p >> 24)});
    return samples;
}
} // namespace

TEST(PngDecode, EveryColourTypeDepthAndTransparency)
{
    const Image colour = Pattern(9, 9, true);
    const uint32_t black = 0xFF000000, white = 0xFFFFFFFF;
    const std::vector<uint32_t> palette = {0xFFFF0000, 0x8000FF00, 0x000000FF, 0xFF123456};
    std::vector<uint32_t> reds;
    for (uint32_t i = 0; i < 16; ++i)
        reds.push_back(PackArgb(255, i * 16, 0, 0));
    auto entries = [&](std::vector<int> indices)
    {
        std::vector<uint32_t> texels;
        for (int i : indices)
            texels.push_back(palette[i]);
        return texels;
    };

    ExpectDecodes({
        {"grey 1", BuildPng(Png(9, 1, 1, 0, {1, 0, 1, 1, 0, 0, 1, 0, 1})),
         FromTexels(9, 1, {white, black, white, white, black, black, white, black, white}),
         FormatL8, FilePng},
        {"grey 2", BuildPng(Png(4, 1, 2, 0, {0, 1, 2, 3})),
         FromTexels(4, 1, {Grey(0), Grey(85), Grey(170), Grey(255)}), FormatL8, FilePng},
        {"grey 4", BuildPng(Png(3, 2, 4, 0, {0, 5, 15, 1, 2, 3})),
         FromTexels(3, 2, {Grey(0), Grey(85), Grey(255), Grey(17), Grey(34), Grey(51)}), FormatL8,
         FilePng},
        {"grey 8", BuildPng(Png(2, 1, 8, 0, {7, 250})), FromTexels(2, 1, {Grey(7), Grey(250)}),
         FormatL8, FilePng},
        {"grey 16", BuildPng(Png(2, 1, 16, 0, {0x1234, 0xFF00})),
         FromTexels(2, 1, {Grey(0x12), Grey(0xFF)}), FormatL8, FilePng},
        {"grey alpha 8", BuildPng(Png(1, 1, 8, 4, {100, 30})), FromTexels(1, 1, {Grey(100, 30)}),
         FormatA8L8, FilePng},
        {"grey alpha 16", BuildPng(Png(1, 1, 16, 4, {0x6400, 0x1E00})),
         FromTexels(1, 1, {Grey(100, 30)}), FormatA8L8, FilePng},
        {"rgb 16", BuildPng(Png(1, 1, 16, 2, {0x0102, 0x0304, 0x0506})),
         FromTexels(1, 1, {0xFF010305}), FormatX8R8G8B8, FilePng},
        {"rgba 16", BuildPng(Png(1, 1, 16, 6, {0xFF00, 0x8000, 0x0100, 0x4000})),
         FromTexels(1, 1, {0x40FF8001}), FormatA8R8G8B8, FilePng},
        {"rgba deflated", EncodePng(colour, 4), colour, FormatA8R8G8B8, FilePng},
        {"rgb deflated", EncodePng(colour, 3), Opaque(colour), FormatX8R8G8B8, FilePng},
        {"interlaced rgba", BuildPng(Png(9, 9, 8, 6, RgbaSamples(colour), {}, {}, true)), colour,
         FormatA8R8G8B8, FilePng},
        {"palette 1", BuildPng(Png(10, 1, 1, 3, {1, 0, 0, 1, 1, 1, 0, 0, 0, 1}, {black, white})),
         FromTexels(10, 1, {white, black, black, white, white, white, black, black, black, white}),
         FormatP8, FilePng},
        {"palette 2 with alpha", BuildPng(Png(5, 1, 2, 3, {0, 1, 2, 3, 1}, palette)),
         FromTexels(5, 1, entries({0, 1, 2, 3, 1})), FormatP8, FilePng},
        {"palette 4", BuildPng(Png(3, 1, 4, 3, {15, 0, 7}, reds)),
         FromTexels(3, 1, {0xFFF00000, 0xFF000000, 0xFF700000}), FormatP8, FilePng},
        {"palette 8", BuildPng(Png(2, 1, 8, 3, {1, 0}, {0xFF010203, 0xFF040506})),
         FromTexels(2, 1, {0xFF040506, 0xFF010203}), FormatP8, FilePng},
        {"interlaced palette",
         BuildPng(
             Png(5, 3, 2, 3, {0, 1, 2, 3, 1, 3, 2, 1, 0, 0, 1, 1, 1, 1, 1}, palette, {}, true)),
         FromTexels(5, 3, entries({0, 1, 2, 3, 1, 3, 2, 1, 0, 0, 1, 1, 1, 1, 1})), FormatP8,
         FilePng},
        {"grey key", BuildPng(Png(3, 1, 8, 0, {10, 20, 10}, {}, {0, 10})),
         FromTexels(3, 1, {Grey(10, 0), Grey(20), Grey(10, 0)}), FormatA8L8, FilePng},
        {"rgb key", BuildPng(Png(2, 1, 8, 2, {1, 2, 3, 4, 5, 6}, {}, {0, 4, 0, 5, 0, 6})),
         FromTexels(2, 1, {0xFF010203, 0x00040506}), FormatA8R8G8B8, FilePng},
        {"grey 16 key", BuildPng(Png(2, 1, 16, 0, {0x1234, 0xABCD}, {}, {0xAB, 0xCD})),
         FromTexels(2, 1, {Grey(0x12), Grey(0xAB, 0)}), FormatA8L8, FilePng},
    });
}

TEST(JpegDecode, BaselineProgressiveAndGreyWithinTolerance)
{
    // A smooth picture, and the two stored files (see JpegSamples.h): JPEG
    // keeps them within a few levels.
    std::vector<uint32_t> smooth, redToBlue, grey;
    for (uint32_t i = 0; i < 24 * 16; ++i)
        smooth.push_back(PackArgb(255, i % 24 * 255 / 23, i / 24 * 255 / 15, 128));
    for (uint32_t i = 0; i < 16 * 16; ++i)
    {
        const uint32_t y = i / 16;
        redToBlue.push_back(PackArgb(255, 255 * (15 - y) / 15, 0, 255 * y / 15));
        grey.push_back(Grey(255 * (15 - y) / 15));
    }
    ExpectDecodes({
        {"baseline", EncodeJpeg(FromTexels(24, 16, smooth), 100), FromTexels(24, 16, smooth),
         FormatX8R8G8B8, FileJpg, 1, 8},
        {"progressive", Hex(ProgressiveRedToBlueJpeg), FromTexels(16, 16, redToBlue),
         FormatX8R8G8B8, FileJpg, 1, 12},
        {"grey", Hex(GreyWhiteToBlackJpeg), FromTexels(16, 16, grey), FormatL8, FileJpg, 1, 12},
    });
}

TEST(JpegDecode, StrayBytesBetweenSegmentsAreSkipped)
{
    // Stray bytes (a stuffed 0xFF 0x00 among them) before every marker that
    // follows a segment, before the frame and after it: the texels come out
    // as from the file without them.
    const Bytes photo = EncodeJpeg(Pattern(19, 11, false), 90);
    Image clean;
    ImageInfo info;
    ASSERT_EQ(DecodeImageFile(photo.data(), photo.size(), DecodeLimits(), &clean, &info),
              DecodeStatus::Ok);
    const Bytes stray = {0x00, 0x12, 0xFF, 0x00, 0x34};
    Bytes file = photo;
    for (size_t at = 2; file[at + 1] != 0xDA; at += stray.size())
    {
        at += 2 + (file[at + 2] << 8 | file[at + 3]); // the next marker
        file.insert(file.begin() + (long)at, stray.begin(), stray.end());
    }
    ExpectDecodes({{"stray bytes", file, clean, FormatX8R8G8B8, FileJpg}});
}
