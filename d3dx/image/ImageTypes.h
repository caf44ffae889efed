// The types shared by the image decoders, the pixel conversion and the mip
// builder: a decoded picture (32-bit ARGB texels, row by row from the top),
// what a file says about itself, the size limits every decoder honours and
// the outcome of a decode. No Windows API here; the format numbers are
// Direct3D's own so the texture loader can pass them on unchanged.
#ifndef MAPEDITOR_D3DX_IMAGETYPES_H
#define MAPEDITOR_D3DX_IMAGETYPES_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace d3dximage
{
// Direct3D 8 texel formats, numbered as D3DFORMAT numbers them.
enum PixelFormat : uint32_t
{
    FormatUnknown = 0,
    FormatR8G8B8 = 20,
    FormatA8R8G8B8 = 21,
    FormatX8R8G8B8 = 22,
    FormatR5G6B5 = 23,
    FormatX1R5G5B5 = 24,
    FormatA1R5G5B5 = 25,
    FormatA4R4G4B4 = 26,
    FormatR3G3B2 = 27,
    FormatA8 = 28,
    FormatA8R3G3B2 = 29,
    FormatX4R4G4B4 = 30,
    FormatP8 = 41,
    FormatL8 = 50,
    FormatA8L8 = 51,
    FormatA4L4 = 52,
    FormatDXT1 = 0x31545844, // 'DXT1' as a little-endian four-character code
    FormatDXT2 = 0x32545844,
    FormatDXT3 = 0x33545844,
    FormatDXT4 = 0x34545844,
    FormatDXT5 = 0x35545844,
};

// Image file kinds, numbered as D3DXIMAGE_FILEFORMAT numbers them.
enum ImageFileFormat : uint32_t
{
    FileBmp = 0,
    FileJpg = 1,
    FileTga = 2,
    FilePng = 3,
    FileDds = 4,
    FilePpm = 5,
    FileDib = 6,
};

enum class DecodeStatus
{
    Ok,
    NotRecognised, // no decoder knows the content
    InvalidData,   // recognised, but truncated, inconsistent or unsupported
    OutOfMemory,
    TooLarge,      // recognised, but a side or the whole picture is beyond the limits
};

// No side may exceed maxSide and the whole picture may not exceed maxPixels;
// every decoder checks both against the header before it allocates.
struct DecodeLimits
{
    uint32_t maxSide = 16384;
    uint64_t maxPixels = 16384ull * 16384ull;
};

// A picture as 0xAARRGGBB values, width x height, the top row first. Pictures
// without alpha carry 0xFF in every alpha byte.
struct Image
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(uint32_t x, uint32_t y) const { return pixels[(size_t)y * width + x]; }
    uint32_t* Row(uint32_t y) { return pixels.data() + (size_t)y * width; }
    const uint32_t* Row(uint32_t y) const { return pixels.data() + (size_t)y * width; }
};

// What the file says about itself: its size, its own texel format (as the
// Direct3D utility library reports it, e.g. R8G8B8 for a 24-bit bitmap), how
// many mip levels it stores (1 unless it is a DDS with a chain) and its kind.
struct ImageInfo
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t mipLevels = 1;
    PixelFormat format = FormatUnknown;
    ImageFileFormat fileFormat = FileBmp;
};

// Sizes the picture after checking them against the limits. InvalidData for
// a zero or too large side, OutOfMemory when the allocation fails; the
// pixels are zero (transparent black) afterwards.
DecodeStatus AllocateImage(Image* image, uint64_t width, uint64_t height,
                           const DecodeLimits& limits);

// Same check without allocating, for decoders that look before they commit.
// A picture that has sides but is beyond the limits is noted, so that the
// decode is reported as TooLarge rather than InvalidData.
bool WithinLimits(uint64_t width, uint64_t height, const DecodeLimits& limits);

// AllocateImage makes the texel store of every decoded picture. When a gate
// is set it is asked first, with the texel count: false refuses the
// allocation as if memory had run out. The editor sets none; the tests set
// one to see whether a file made a decoder allocate before refusing it.
// Returns the gate that was set before.
using AllocationGate = bool (*)(uint64_t texels);
AllocationGate SetAllocationGate(AllocationGate gate);

inline uint32_t PackArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}
} // namespace d3dximage

#endif
