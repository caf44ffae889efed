// Portable pixmaps and greymaps: P6 (binary colour), P5 (binary grey), P3
// (text colour) and P2 (text grey). The header is the magic, the width, the
// height and the largest sample value as decimal text separated by white
// space, with '#' comments to the end of a line. Binary samples take one
// byte when the largest value is below 256, else two (most significant
// first); after the largest value exactly one white-space byte precedes them.
// Samples are scaled to 0..255; a sample above the largest value is refused.
#include "d3dx/image/ByteReader.h"
#include "d3dx/image/Decoders.h"

namespace d3dximage
{
namespace
{
bool IsSpace(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class PnmText
{
  public:
    PnmText(const uint8_t* data, size_t size, size_t position)
        : data_(data), size_(size), position_(position)
    {
    }

    size_t Position() const { return position_; }

    // Skips white space and comments, then reads a decimal number no larger
    // than `largest`. False when there is none or it is too large.
    bool Number(uint32_t largest, uint32_t* value)
    {
        SkipSpaceAndComments();
        if (position_ >= size_ || data_[position_] < '0' || data_[position_] > '9')
            return false;
        uint64_t number = 0;
        while (position_ < size_ && data_[position_] >= '0' && data_[position_] <= '9')
        {
            number = number * 10 + (data_[position_++] - '0');
            if (number > largest)
                return false;
        }
        *value = (uint32_t)number;
        return true;
    }

    // The single white-space byte that ends a binary file's header.
    bool HeaderEnd()
    {
        if (position_ >= size_ || !IsSpace(data_[position_]))
            return false;
        ++position_;
        return true;
    }

  private:
    void SkipSpaceAndComments()
    {
        while (position_ < size_)
        {
            if (data_[position_] == '#')
            {
                while (position_ < size_ && data_[position_] != '\n' && data_[position_] != '\r')
                    ++position_;
            }
            else if (IsSpace(data_[position_]))
                ++position_;
            else
                break;
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t position_;
};
} // namespace

bool RecognisePpm(const uint8_t* data, size_t size)
{
    return size >= 3 && data[0] == 'P' &&
           (data[1] == '2' || data[1] == '3' || data[1] == '5' || data[1] == '6') &&
           (IsSpace(data[2]) || data[2] == '#');
}

DecodeStatus DecodePpm(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info)
{
    const bool colour = data[1] == '3' || data[1] == '6';
    const bool binary = data[1] == '5' || data[1] == '6';
    const uint32_t channels = colour ? 3 : 1;

    PnmText text(data, size, 2);
    uint32_t width = 0, height = 0, largest = 0;
    if (!text.Number(limits.maxSide, &width) || !text.Number(limits.maxSide, &height) ||
        !text.Number(65535, &largest) || largest == 0 || !WithinLimits(width, height, limits))
        return DecodeStatus::InvalidData;
    if (binary && !text.HeaderEnd())
        return DecodeStatus::InvalidData;

    const uint64_t samples = (uint64_t)width * height * channels;
    const uint32_t sampleBytes = largest < 256 ? 1 : 2;
    // A text file needs at least two bytes per sample (a digit and a space),
    // except the last; checked before allocating.
    if (binary ? !Fits(size, text.Position(), samples * sampleBytes)
               : (size - text.Position()) < samples * 2 - 1)
        return DecodeStatus::InvalidData;

    const DecodeStatus sized = AllocateImage(image, width, height, limits);
    if (sized != DecodeStatus::Ok)
        return sized;

    const uint8_t* binaryData = data + text.Position();
    const uint32_t half = largest / 2;
    for (size_t i = 0; i < image->pixels.size(); ++i)
    {
        uint32_t sample[3] = {};
        for (uint32_t c = 0; c < channels; ++c)
        {
            uint32_t value;
            if (!binary)
            {
                if (!text.Number(largest, &value))
                    return DecodeStatus::InvalidData;
            }
            else if (sampleBytes == 1)
                value = *binaryData++;
            else
            {
                value = Be16(binaryData);
                binaryData += 2;
            }
            if (value > largest)
                return DecodeStatus::InvalidData;
            sample[c] = (value * 255 + half) / largest;
        }
        image->pixels[i] = colour ? PackArgb(255, sample[0], sample[1], sample[2])
                                  : PackArgb(255, sample[0], sample[0], sample[0]);
    }
    info->width = width;
    info->height = height;
    info->mipLevels = 1;
    info->format = colour ? FormatR8G8B8 : FormatL8;
    info->fileFormat = FilePpm;
    return DecodeStatus::Ok;
}
} // namespace d3dximage
