// Decompression of DXT1 to DXT5 blocks (4 x 4 texels each) into ARGB.
#ifndef MAPEDITOR_D3DX_DXTBLOCKS_H
#define MAPEDITOR_D3DX_DXTBLOCKS_H

#include <stdint.h>

namespace d3dximage
{
enum class DxtKind
{
    Dxt1, // 8 bytes: colours only, or three colours and transparent black
    Dxt3, // 16 bytes: explicit 4-bit alpha, then a colour block (DXT2 too)
    Dxt5, // 16 bytes: interpolated alpha, then a colour block (DXT4 too)
};

inline uint32_t DxtBlockBytes(DxtKind kind)
{
    return kind == DxtKind::Dxt1 ? 8 : 16;
}

// Writes the block's 16 texels, row by row, into out[0..15].
void DecodeDxtBlock(DxtKind kind, const uint8_t* block, uint32_t out[16]);

// Undoes premultiplied alpha (DXT2, DXT4) so the texels carry their colour.
uint32_t Unpremultiply(uint32_t argb);
} // namespace d3dximage

#endif
