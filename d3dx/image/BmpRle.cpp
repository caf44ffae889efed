// Run-length encoded bitmaps (RLE8 and RLE4). The stream is a series of
// two-byte commands: a count and a colour index (RLE4: two indices used in
// turn), or a zero followed by an escape: end of line, end of bitmap, a jump
// (delta x, delta y) or an absolute run of indices padded to 16 bits.
// Pixels that no command reaches stay opaque black. A run (encoded or
// absolute) that passes the end of its line is cut there, as other readers
// of these files do: its excess pixels are dropped and the next command
// goes on from the line's end. A run after the last line, a jump out of the
// picture, an index outside the colour table or a stream that ends before
// its end-of-bitmap mark makes the file invalid.
#include "d3dx/image/BmpLayout.h"
#include "d3dx/image/ByteReader.h"

namespace d3dximage
{
namespace
{
enum Escape : uint8_t
{
    EndOfLine = 0,
    EndOfBitmap = 1,
    Delta = 2,
};

class RleWriter
{
  public:
    RleWriter(const BitmapLayout& layout, Image* image) : layout_(layout), image_(image) {}

    // False when the line lies below the picture or the index outside the
    // table; a pixel past the line's end is dropped.
    bool Put(uint32_t index)
    {
        if (y_ >= layout_.height)
            return false;
        if (x_ >= layout_.width)
            return true;
        if (index >= layout_.paletteCount)
            return false;
        Row()[x_++] = layout_.palette[index];
        return true;
    }

    bool NextLine()
    {
        if (y_ >= layout_.height)
            return false;
        x_ = 0;
        ++y_;
        return true;
    }

    bool Move(uint32_t dx, uint32_t dy)
    {
        if (dx > layout_.width - x_ || dy > layout_.height - y_)
            return false;
        x_ += dx;
        y_ += dy;
        // A jump may land just past the last line only at its start.
        return y_ < layout_.height || x_ == 0;
    }

  private:
    uint32_t* Row() { return image_->Row(layout_.topDown ? y_ : layout_.height - 1 - y_); }

    const BitmapLayout& layout_;
    Image* image_;
    uint32_t x_ = 0;
    uint32_t y_ = 0; // lines in file order: the bottom line first unless top-down
};
} // namespace

DecodeStatus DecodeBitmapRle(const uint8_t* data, size_t size, const BitmapLayout& layout,
                             Image* image)
{
    for (uint32_t& texel : image->pixels)
        texel = 0xFF000000u;
    const bool four = layout.compression == BitmapRle4;
    ByteCursor in(data, size, layout.pixelOffset);
    RleWriter out(layout, image);
    for (;;)
    {
        const uint32_t count = in.U8();
        const uint32_t value = in.U8();
        if (in.Overrun())
            return DecodeStatus::InvalidData; // no end-of-bitmap mark
        if (count > 0)
        {
            for (uint32_t i = 0; i < count; ++i)
            {
                const uint32_t index = four ? (i & 1 ? value & 15 : value >> 4) : value;
                if (!out.Put(index))
                    return DecodeStatus::InvalidData;
            }
            continue;
        }
        switch (value)
        {
        case EndOfLine:
            if (!out.NextLine())
                return DecodeStatus::InvalidData;
            break;
        case EndOfBitmap:
            return DecodeStatus::Ok;
        case Delta:
        {
            const uint32_t dx = in.U8();
            const uint32_t dy = in.U8();
            if (in.Overrun() || !out.Move(dx, dy))
                return DecodeStatus::InvalidData;
            break;
        }
        default:
        {
            // An absolute run of `value` indices, padded to a 16-bit boundary.
            const uint32_t bytes = four ? (value + 1) / 2 : value;
            const uint8_t* run = in.Take(bytes + (bytes & 1));
            if (!run)
                return DecodeStatus::InvalidData;
            for (uint32_t i = 0; i < value; ++i)
            {
                const uint32_t index = four ? (i & 1 ? run[i / 2] & 15 : run[i / 2] >> 4) : run[i];
                if (!out.Put(index))
                    return DecodeStatus::InvalidData;
            }
        }
        }
    }
}
} // namespace d3dximage
