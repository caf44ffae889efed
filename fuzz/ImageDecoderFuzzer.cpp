// Arbitrary bytes through the whole image decoder chain; whatever decodes is
// then converted to every texel format, box-filtered down to 1 x 1 and
// scaled, as the texture loader would.
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "d3dx/image/DecoderChain.h"
#include "d3dx/image/ImageScale.h"
#include "d3dx/image/MipChain.h"
#include "d3dx/image/PixelConvert.h"
#include "d3dx/image/TextureLayout.h"

using namespace d3dximage;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The side limit stays as in the editor; the texel limit keeps each run
    // to a few megabytes.
    DecodeLimits limits;
    limits.maxPixels = 1u << 20;
    Image image;
    ImageInfo info;
    if (DecodeImageFile(data, size, limits, &image, &info) != DecodeStatus::Ok)
        return 0;
    if (image.pixels.size() != (size_t)image.width * image.height || info.width != image.width ||
        info.height != image.height)
        __builtin_trap();

    PixelFormat candidates[16];
    const uint32_t count = FormatCandidates(FormatUnknown, info.format, candidates);
    std::vector<uint8_t> row((size_t)image.width * 4);
    for (uint32_t i = 0; i < count; ++i)
        ConvertRow(image.Row(image.height - 1), image.width, candidates[i], row.data());

    if (image.pixels.size() > 65536)
        return 0;
    DeviceTextureLimits device;
    device.powerOfTwo = (size & 1) != 0;
    const TextureLayout layout =
        ChooseTextureLayout(image.width, image.height, FromImage, FromImage, FromImage, device);
    Image top;
    if (!ScaleImage(image, layout.width, layout.height, ScaleFilter::Triangle, &top))
        return 0;
    Image level = top;
    for (uint32_t i = 1; i < layout.levels; ++i)
    {
        Image next;
        if (!BoxFilterLevel(level, &next))
            return 0;
        level = next;
    }
    if (level.width != 1 || level.height != 1)
        __builtin_trap();
    Image scaled;
    ScaleImage(image, image.width / 3 + 1, image.height * 2, ScaleFilter::Point, &scaled);
    ScaleImage(image, image.width + 5, image.height / 2 + 1, ScaleFilter::None, &scaled);
    return 0;
}
