// A colour channel given by a bit mask inside a packed texel (bitmaps with
// channel masks, uncompressed DDS surfaces): where it sits and how its value
// scales to 8 bits.
#ifndef MAPEDITOR_D3DX_CHANNELMASK_H
#define MAPEDITOR_D3DX_CHANNELMASK_H

#include <stdint.h>

namespace d3dximage
{
struct ChannelMask
{
    uint32_t mask = 0;
    uint32_t shift = 0;
    uint32_t drop = 0; // low bits dropped from a mask wider than 8 bits
    uint32_t maximum = 0;

    // The channel's value of texel `value` scaled to 0..255; `absent` for a
    // zero mask.
    uint32_t Expand(uint32_t value, uint32_t absent) const
    {
        if (!mask)
            return absent;
        const uint32_t raw = ((value & mask) >> shift) >> drop;
        return (raw * 255 + maximum / 2) / maximum;
    }

    // False for a mask whose bits are not one contiguous run.
    bool Set(uint32_t newMask)
    {
        *this = ChannelMask();
        mask = newMask;
        if (!newMask)
            return true;
        while (!((newMask >> shift) & 1))
            ++shift;
        const uint32_t run = newMask >> shift;
        if (run & (run + 1))
            return false;
        uint32_t width = 0;
        while (width < 32 && (run >> width) & 1)
            ++width;
        drop = width > 8 ? width - 8 : 0;
        maximum = (1u << (width - drop)) - 1;
        return true;
    }
};
} // namespace d3dximage

#endif
