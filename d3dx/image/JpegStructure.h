// The marker structure of a JPEG file, checked before stb_image sees it.
#ifndef MAPEDITOR_D3DX_JPEGSTRUCTURE_H
#define MAPEDITOR_D3DX_JPEGSTRUCTURE_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// True when the markers from SOI run to EOI with every segment inside the
// file and well formed: exactly one baseline, extended or progressive
// Huffman frame of 8-bit samples within the limits, before the first scan;
// Huffman and quantisation tables that fit their segments and describe
// possible codes; scans that name the frame's components.
bool CheckJpegStructure(const uint8_t* data, size_t size, const DecodeLimits& limits);
} // namespace d3dximage

#endif
