// The decoder chain and the allocation rule that every decoder follows.
#include "d3dx/image/DecoderChain.h"

#include <new>

#include "d3dx/image/Decoders.h"

namespace d3dximage
{
namespace
{
struct Decoder
{
    bool (*recognise)(const uint8_t* data, size_t size);
    DecodeStatus (*decode)(const uint8_t* data, size_t size, const DecodeLimits& limits,
                           Image* image, ImageInfo* info);
};

// Tried in this order; the first that recognises the content decides.
const Decoder Chain[] = {
    {RecogniseBmp, DecodeBmp},   {RecognisePpm, DecodePpm}, {RecogniseDds, DecodeDds},
    {RecogniseJpeg, DecodeJpeg}, {RecognisePng, DecodePng}, {RecogniseTga, DecodeTga},
    {RecogniseDib, DecodeDib},
};

AllocationGate allocationGate = nullptr;

// Set by WithinLimits while a decoder runs: the picture has sides, but too large ones.
bool beyondLimits = false;
} // namespace

AllocationGate SetAllocationGate(AllocationGate gate)
{
    const AllocationGate previous = allocationGate;
    allocationGate = gate;
    return previous;
}

bool WithinLimits(uint64_t width, uint64_t height, const DecodeLimits& limits)
{
    if (width == 0 || height == 0)
        return false;
    const bool within =
        width <= limits.maxSide && height <= limits.maxSide && width * height <= limits.maxPixels;
    beyondLimits = beyondLimits || !within;
    return within;
}

DecodeStatus AllocateImage(Image* image, uint64_t width, uint64_t height,
                           const DecodeLimits& limits)
{
    if (!WithinLimits(width, height, limits))
        return DecodeStatus::InvalidData;
    if (allocationGate && !allocationGate(width * height))
        return DecodeStatus::OutOfMemory;
    image->width = (uint32_t)width;
    image->height = (uint32_t)height;
    try
    {
        image->pixels.assign((size_t)(width * height), 0);
    }
    catch (const std::bad_alloc&)
    {
        *image = Image();
        return DecodeStatus::OutOfMemory;
    }
    return DecodeStatus::Ok;
}

DecodeStatus DecodeImageFile(const uint8_t* data, size_t size, const DecodeLimits& limits,
                             Image* image, ImageInfo* info)
{
    *image = Image();
    *info = ImageInfo();
    if (!data || size == 0)
        return DecodeStatus::NotRecognised;
    DecodeStatus status = DecodeStatus::NotRecognised;
    for (const Decoder& decoder : Chain)
    {
        if (!decoder.recognise(data, size))
            continue;
        beyondLimits = false;
        try
        {
            status = decoder.decode(data, size, limits, image, info);
        }
        catch (const std::bad_alloc&)
        {
            status = DecodeStatus::OutOfMemory;
        }
        if (status == DecodeStatus::InvalidData && beyondLimits)
            status = DecodeStatus::TooLarge;
        break;
    }
    if (status != DecodeStatus::Ok)
    {
        *image = Image();
        *info = ImageInfo();
    }
    return status;
}
} // namespace d3dximage
