// Resampling with a separable tent filter. For each output coordinate the
// source texels under a tent centred on it (half-width 1 texel when
// enlarging, the scale factor when reducing) are weighted and normalised;
// texels outside the picture are left out, so edges keep their colour.
// Channels are filtered independently (alpha is not premultiplied).
#include "d3dx/image/ImageScale.h"

#include <math.h>

#include <new>

namespace d3dximage
{
namespace
{
struct Tap
{
    uint32_t first = 0;
    std::vector<float> weights;
};

std::vector<Tap> TentTaps(uint32_t sourceSide, uint32_t outSide)
{
    std::vector<Tap> taps(outSide);
    const double scale = (double)sourceSide / outSide;
    const double radius = scale > 1.0 ? scale : 1.0;
    for (uint32_t i = 0; i < outSide; ++i)
    {
        const double centre = (i + 0.5) * scale - 0.5;
        long first = (long)ceil(centre - radius);
        long last = (long)floor(centre + radius);
        if (first < 0)
            first = 0;
        if (last > (long)sourceSide - 1)
            last = (long)sourceSide - 1;
        double total = 0;
        std::vector<double> w;
        for (long s = first; s <= last; ++s)
        {
            const double weight = 1.0 - fabs(s - centre) / radius;
            w.push_back(weight > 0 ? weight : 0);
            total += w.back();
        }
        taps[i].first = (uint32_t)first;
        for (double weight : w)
            taps[i].weights.push_back((float)(weight / total));
    }
    return taps;
}

void Tent(const Image& source, Image* out)
{
    const std::vector<Tap> across = TentTaps(source.width, out->width);
    const std::vector<Tap> down = TentTaps(source.height, out->height);
    // Horizontal pass into floats, then vertical pass into texels.
    std::vector<float> wide((size_t)out->width * source.height * 4);
    for (uint32_t y = 0; y < source.height; ++y)
    {
        const uint32_t* row = source.Row(y);
        float* dst = wide.data() + (size_t)y * out->width * 4;
        for (uint32_t x = 0; x < out->width; ++x, dst += 4)
        {
            const Tap& tap = across[x];
            for (size_t k = 0; k < tap.weights.size(); ++k)
            {
                const uint32_t p = row[tap.first + k];
                for (int c = 0; c < 4; ++c)
                    dst[c] += tap.weights[k] * (float)(p >> (8 * c) & 255);
            }
        }
    }
    for (uint32_t y = 0; y < out->height; ++y)
    {
        const Tap& tap = down[y];
        uint32_t* dst = out->Row(y);
        for (uint32_t x = 0; x < out->width; ++x)
        {
            float sum[4] = {};
            for (size_t k = 0; k < tap.weights.size(); ++k)
            {
                const float* src = wide.data() + ((size_t)(tap.first + k) * out->width + x) * 4;
                for (int c = 0; c < 4; ++c)
                    sum[c] += tap.weights[k] * src[c];
            }
            uint32_t texel = 0;
            for (int c = 0; c < 4; ++c)
            {
                long v = lroundf(sum[c]);
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                texel |= (uint32_t)v << (8 * c);
            }
            dst[x] = texel;
        }
    }
}

void Point(const Image& source, Image* out)
{
    for (uint32_t y = 0; y < out->height; ++y)
    {
        const uint32_t* row = source.Row((uint32_t)((uint64_t)y * source.height / out->height));
        uint32_t* dst = out->Row(y);
        for (uint32_t x = 0; x < out->width; ++x)
            dst[x] = row[(uint64_t)x * source.width / out->width];
    }
}

void Unscaled(const Image& source, Image* out)
{
    for (uint32_t y = 0; y < out->height && y < source.height; ++y)
    {
        for (uint32_t x = 0; x < out->width && x < source.width; ++x)
            out->Row(y)[x] = source.Row(y)[x];
    }
}
} // namespace

bool ScaleImage(const Image& source, uint32_t width, uint32_t height, ScaleFilter filter,
                Image* out)
{
    try
    {
        out->width = width;
        out->height = height;
        out->pixels.assign((size_t)width * height, 0);
        if (width == source.width && height == source.height)
            out->pixels = source.pixels;
        else if (filter == ScaleFilter::None)
            Unscaled(source, out);
        else if (filter == ScaleFilter::Point)
            Point(source, out);
        else
            Tent(source, out);
    }
    catch (const std::bad_alloc&)
    {
        *out = Image();
        return false;
    }
    return true;
}
} // namespace d3dximage
