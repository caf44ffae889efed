// Mip levels by a 2 x 2 box filter, computed on 32-bit ARGB texels. No
// Windows API.
#ifndef MAPEDITOR_D3DX_MIPCHAIN_H
#define MAPEDITOR_D3DX_MIPCHAIN_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// The next level's side: half, rounded down, at least 1.
inline uint32_t NextMipSide(uint32_t side)
{
    return side > 1 ? side / 2 : 1;
}

// Levels of a full chain down to 1 x 1.
uint32_t FullMipCount(uint32_t width, uint32_t height);

// The next level of `source` into `level` (sized here). Each texel is the
// rounded mean of the 2 x 2 texels below it, per channel. On an odd side the
// last texel of the row or column also takes in the leftover one (a 3-wide
// box), so every texel of the source counts; a side of 1 stays 1.
// False when the memory cannot be had.
bool BoxFilterLevel(const Image& source, Image* level);
} // namespace d3dximage

#endif
