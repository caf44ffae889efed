// Writing 32-bit ARGB texels in the Direct3D texel formats that textures are
// made in, reading them back, and colour keying. No Windows API.
#ifndef MAPEDITOR_D3DX_PIXELCONVERT_H
#define MAPEDITOR_D3DX_PIXELCONVERT_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// Bytes per texel of a format that ConvertRow can write; 0 for the others
// (palette and block-compressed formats).
uint32_t TexelBytes(PixelFormat format);

bool FormatHasAlpha(PixelFormat format);

// Writes `count` ARGB texels as `format` (one that TexelBytes knows) to `out`.
// Channels are rounded to the nearest value of their width; luminance is
// 0.2125 red + 0.7154 green + 0.0721 blue.
void ConvertRow(const uint32_t* argb, uint32_t count, PixelFormat format, uint8_t* out);

// Every row of the picture into a surface whose rows are `pitch` bytes apart.
void ConvertImage(const Image& image, PixelFormat format, uint8_t* out, size_t pitch);

// One texel of `format` back as ARGB (channels widened by bit replication;
// formats without alpha read as opaque).
uint32_t ReadTexel(const uint8_t* texel, PixelFormat format);

// Colour keying: every texel equal to `key` (all 32 bits) becomes
// transparent black. A key of 0 keys nothing.
void ApplyColorKey(Image* image, uint32_t key);
} // namespace d3dximage

#endif
