// Bounded reading of little- and big-endian numbers from a file held in
// memory. Every decoder reads through these, so no read can leave the buffer:
// a cursor that runs out stops, yields zeros and remembers that it ran out.
#ifndef MAPEDITOR_D3DX_BYTEREADER_H
#define MAPEDITOR_D3DX_BYTEREADER_H

#include <stddef.h>
#include <stdint.h>

namespace d3dximage
{
inline uint16_t Le16(const uint8_t* p)
{
    return (uint16_t)(p[0] | p[1] << 8);
}

inline uint32_t Le32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

inline uint16_t Be16(const uint8_t* p)
{
    return (uint16_t)(p[0] << 8 | p[1]);
}

inline uint32_t Be32(const uint8_t* p)
{
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | (uint32_t)p[3];
}

// True when [offset, offset + count) lies inside a buffer of `size` bytes,
// without overflowing on huge values.
inline bool Fits(size_t size, uint64_t offset, uint64_t count)
{
    return offset <= size && count <= size - offset;
}

class ByteCursor
{
  public:
    ByteCursor(const uint8_t* data, size_t size, size_t position = 0)
        : data_(data), size_(size), position_(position <= size ? position : size),
          overrun_(position > size)
    {
    }

    size_t Position() const { return position_; }
    size_t Remaining() const { return size_ - position_; }
    bool Overrun() const { return overrun_; }

    uint8_t U8()
    {
        if (position_ >= size_)
        {
            overrun_ = true;
            return 0;
        }
        return data_[position_++];
    }

    // The next `count` bytes, or null (and the cursor marked) when fewer remain.
    const uint8_t* Take(size_t count)
    {
        if (count > size_ - position_)
        {
            overrun_ = true;
            position_ = size_;
            return nullptr;
        }
        const uint8_t* start = data_ + position_;
        position_ += count;
        return start;
    }

    bool Skip(size_t count) { return Take(count) != nullptr || count == 0; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_;
    bool overrun_;
};
} // namespace d3dximage

#endif
