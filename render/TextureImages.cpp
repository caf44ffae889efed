// The document's images as textures of the texture table.
#include "render/TextureImages.h"

#include <stdint.h>

#include <vector>

#include "d3dx/image/DecoderChain.h"
#include "render/Renderer.h"

namespace
{
// Set when a decoder got as far as asking for the picture's memory: its
// header was whole and within the limits.
bool allocationAsked = false;

bool RefuseAndNote(uint64_t)
{
    allocationAsked = true;
    return false;
}

// Decodes with a gate that notes and refuses the allocation, so that nothing
// is made of the texels: whether the picture would have been made.
bool HeaderPasses(const std::vector<unsigned char>& bytes, const d3dximage::DecodeLimits& limits,
                  d3dximage::DecodeStatus* status)
{
    using namespace d3dximage;
    allocationAsked = false;
    const AllocationGate previous = SetAllocationGate(RefuseAndNote);
    Image image;
    ImageInfo info;
    *status = DecodeImageFile(bytes.data(), bytes.size(), limits, &image, &info);
    SetAllocationGate(previous);
    return allocationAsked;
}
} // namespace

std::string TextureImages::WhyNotLoaded(FileSystem& files, const std::string& fileName)
{
    if (fileName.empty())
        return "no file name was given";
    std::vector<unsigned char> bytes;
    const FileError error = files.ReadWholeFile(fileName, &bytes);
    if (error != FileError::None)
        return DescribeFileError(error);
    d3dximage::DecodeStatus status;
    if (HeaderPasses(bytes, d3dximage::DecodeLimits(), &status))
        return "the graphics device could not make a texture of it";
    switch (status)
    {
    case d3dximage::DecodeStatus::NotRecognised:
        return "it is not an image this editor reads";
    case d3dximage::DecodeStatus::TooLarge:
        return "the image is too large (at most 16384 pixels a side)";
    default:
        return "it is not an image this editor reads (damaged, or of a kind it does not know)";
    }
}

LoadedImage TextureImages::Load(const std::string& fileName)
{
    LoadedImage image;
    image.slot = renderer_.LoadTexture(fileName.c_str());
    const TextureRecord* record = renderer_.Textures().Record(image.slot);
    if (!record)
    {
        image.slot = -1;
        image.problem = WhyNotLoaded(files_, fileName);
        return image;
    }
    image.width = record->width;
    image.height = record->height;
    image.name = record->fileName;
    return image;
}

LoadedImage TextureImages::LoadHeightmap(const std::string& fileName)
{
    LoadedImage image = Load(fileName);
    std::vector<unsigned char> bytes;
    if (image.slot < 0 || files_.ReadWholeFile(fileName, &bytes) != FileError::None)
        return image;
    d3dximage::Image decoded;
    d3dximage::ImageInfo info;
    if (d3dximage::DecodeImageFile(bytes.data(), bytes.size(), d3dximage::DecodeLimits(), &decoded,
                                   &info) != d3dximage::DecodeStatus::Ok)
        return image;
    HeightSamples& samples = image.samples;
    samples.width = (int)decoded.width;
    samples.height = (int)decoded.height;
    samples.values.resize(decoded.pixels.size());
    for (size_t i = 0; i < decoded.pixels.size(); ++i)
        samples.values[i] = (unsigned char)(decoded.pixels[i] >> 16);
    return image;
}
