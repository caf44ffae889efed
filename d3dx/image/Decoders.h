// The decoders of the chain, one pair of functions per file kind: Recognise
// looks only at the content (never at a file name) and says whether the
// bytes are that kind of file; Decode turns them into 32-bit ARGB texels and
// fills the file's description. DecoderChain.cpp tries them in order.
#ifndef MAPEDITOR_D3DX_DECODERS_H
#define MAPEDITOR_D3DX_DECODERS_H

#include "d3dx/image/ImageTypes.h"

namespace d3dximage
{
// BmpDecoder.cpp: files that start with "BM"
bool RecogniseBmp(const uint8_t* data, size_t size);
DecodeStatus DecodeBmp(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);

// PnmDecoder.cpp: P2, P3, P5 and P6 maps
bool RecognisePpm(const uint8_t* data, size_t size);
DecodeStatus DecodePpm(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);

// DdsDecoder.cpp: top level of a DDS surface
bool RecogniseDds(const uint8_t* data, size_t size);
DecodeStatus DecodeDds(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);

// JpegPngDecoders.cpp: structure checked here, pixels by stb_image
bool RecogniseJpeg(const uint8_t* data, size_t size);
DecodeStatus DecodeJpeg(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                        ImageInfo* info);

// JpegPngDecoders.cpp: structure checked here, pixels by stb_image
bool RecognisePng(const uint8_t* data, size_t size);
DecodeStatus DecodePng(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);

// TgaDecoder.cpp
bool RecogniseTga(const uint8_t* data, size_t size);
DecodeStatus DecodeTga(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);

// BmpDecoder.cpp: bitmap data without the 14-byte file header
bool RecogniseDib(const uint8_t* data, size_t size);
DecodeStatus DecodeDib(const uint8_t* data, size_t size, const DecodeLimits& limits, Image* image,
                       ImageInfo* info);
} // namespace d3dximage

#endif
