// The marker structure of a JPEG file, checked before stb_image sees it.
#ifndef MAPEDITOR_D3DX_JPEGSTRUCTURE_H
#define MAPEDITOR_D3DX_JPEGSTRUCTURE_H

#include <vector>

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
struct ByteRange
{
    size_t at, count;
};

// True when the markers from SOI run to EOI with every segment inside the
// file and well formed: exactly one baseline, extended or progressive
// Huffman frame of 8-bit samples within the limits, before the first scan;
// Huffman and quantisation tables that fit their segments and describe
// possible codes; scans that name the frame's components.
//
// Bytes that belong to no segment, between the end of one and the next
// marker, are skipped as the common JPEG readers skip them (with a warning):
// some writers leave them there. Their places go to *stray when it is given,
// in file order.
bool CheckJpegStructure(const uint8_t* data, size_t size, const DecodeLimits& limits,
                        std::vector<ByteRange>* stray = nullptr);
} // namespace d3dximage

#endif
