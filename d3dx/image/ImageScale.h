// Scaling a picture to other dimensions (the texture's size when the device
// needs other dimensions than the image's). No Windows API.
#ifndef MAPEDITOR_D3DX_IMAGESCALE_H
#define MAPEDITOR_D3DX_IMAGESCALE_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
enum class ScaleFilter
{
    None,     // no scaling: the picture at the top left, the rest transparent black, cut off
              // where it does not fit
    Point,    // nearest texel
    Triangle, // a tent filter: bilinear when enlarging, an area average when reducing
};

// `out` becomes `source` at width x height. False when the memory cannot be had.
bool ScaleImage(const Image& source, uint32_t width, uint32_t height, ScaleFilter filter,
                Image* out);
} // namespace d3dximage

#endif
