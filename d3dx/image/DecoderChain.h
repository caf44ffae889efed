// Decoding an image file held in memory: the decoders are tried in the order
// bitmap, PPM/PGM, DDS, JPEG, PNG, TGA, headerless bitmap data, and the first
// that recognises the content decodes it. No Windows API.
#ifndef MAPEDITOR_D3DX_DECODERCHAIN_H
#define MAPEDITOR_D3DX_DECODERCHAIN_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// Ok with the picture and the file's description; otherwise the picture is
// empty and the status says why (NotRecognised when no decoder knows the
// bytes). Never reads outside [data, data + size).
DecodeStatus DecodeImageFile(const uint8_t* data, size_t size, const DecodeLimits& limits,
                             Image* image, ImageInfo* info);
} // namespace d3dximage

#endif
