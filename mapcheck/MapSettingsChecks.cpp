// The checks of a map settings file and of the images and the object
// placement file it names.
#include "mapcheck/MapChecks.h"

#include <ctype.h>
#include <stdint.h>
#include <math.h>

#include <vector>

#include "d3dx/image/DecoderChain.h"
#include "document/IniFile.h"

namespace mapcheck
{
namespace
{
const char kSection[] = "map";
// What the editor writes for a name that its map did not have.
const char kMissing[] = "nostring";

struct ImageSize
{
    uint32_t width = 0, height = 0;
};

std::string SizeText(const ImageSize& size)
{
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

int DigitValue(char c)
{
    const int lower = tolower((unsigned char)c);
    return isdigit(lower) ? lower - '0' : isalpha(lower) ? lower - 'a' + 10 : 99;
}

// A number written the way the profile functions read it, with nothing
// after it: a sign, a base prefix (0x, 0o, 0b), digits. *value saturates
// beyond 64 bits.
bool ReadWholeNumber(const std::string& text, int64_t* value)
{
    size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0')
    {
        const char prefix = (char)tolower((unsigned char)text[i + 1]);
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    if (i == text.size())
        return false;
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i)
    {
        const int digit = DigitValue(text[i]);
        if (digit >= base)
            return false;
        magnitude = magnitude > (UINT64_MAX >> 5) ? UINT64_MAX : magnitude * base + digit;
    }
    const uint64_t limit = (uint64_t)INT64_MAX;
    *value = magnitude > limit ? (negative ? INT64_MIN : INT64_MAX)
             : negative        ? -(int64_t)magnitude
                               : (int64_t)magnitude;
    return true;
}

class MapCheck
{
  public:
    MapCheck(const std::string& file, const IniFile& ini, const CheckSetup& setup, Report* report)
        : file_(file), ini_(ini), setup_(setup), report_(report)
    {
    }

    // The value of a key that names a file; false (and reported) when the
    // map names none.
    bool NamedFile(const char* key, std::string* name)
    {
        if (!ini_.Find(kSection, key, name) || name->empty())
            report_->Add(file_, std::string("it names no ") + key);
        else if (*name == kMissing)
            report_->Add(file_, std::string("it names no ") + key + " (\"" + kMissing +
                                    "\" is what the editor writes for a missing name)");
        else
            return true;
        return false;
    }

    // Reads a file that the map names; false (and reported) when it cannot.
    bool ReadNamed(const char* key, const std::string& name, std::string* path,
                   std::vector<unsigned char>* bytes)
    {
        *path = ResolveProgramPath(setup_.programDir, name);
        const FileError error = setup_.files.ReadWholeFile(*path, bytes);
        if (error == FileError::None)
            return true;
        report_->Add(file_, std::string(key) + " " + name + " (" + *path +
                                "): " + DescribeFileError(error));
        return false;
    }

    // An image the map names, decoded as the editor's texture loader
    // decodes it (with its size limits); false when it is not one.
    bool Image(const char* key, ImageSize* size)
    {
        std::string name, path;
        std::vector<unsigned char> bytes;
        if (!NamedFile(key, &name) || !ReadNamed(key, name, &path, &bytes))
            return false;
        d3dximage::Image image;
        d3dximage::ImageInfo info;
        switch (d3dximage::DecodeImageFile(bytes.data(), bytes.size(), d3dximage::DecodeLimits(),
                                           &image, &info))
        {
        case d3dximage::DecodeStatus::Ok:
            size->width = info.width;
            size->height = info.height;
            return true;
        case d3dximage::DecodeStatus::NotRecognised:
            report_->Add(path, std::string("the ") + key +
                                   " is not an image the editor reads (bitmap, PPM or PGM, "
                                   "DDS, JPEG, PNG, TGA)");
            return false;
        case d3dximage::DecodeStatus::InvalidData:
            report_->Add(path, std::string("the ") + key +
                                   " is truncated, inconsistent or of a kind the editor does not "
                                   "decode");
            return false;
        case d3dximage::DecodeStatus::TooLarge:
            report_->Add(path, std::string("the ") + key +
                                   " is too large (more than 16384 texels on a side)");
            return false;
        case d3dximage::DecodeStatus::OutOfMemory:
            report_->Add(path, std::string("the ") + key + " is too large to decode here");
            return false;
        }
        return false;
    }

    // The colormap lies over the whole heightmap: sides out of proportion
    // (by more than 1%) stretch it.
    void Proportions(const ImageSize& colormap, const ImageSize& heightmap)
    {
        const double colormapAspect = (double)colormap.width / colormap.height;
        const double heightmapAspect = (double)heightmap.width / heightmap.height;
        if (fabs(colormapAspect - heightmapAspect) > 0.01 * heightmapAspect)
            report_->Add(file_, "its colormap (" + SizeText(colormap) + ") and heightmap (" +
                                    SizeText(heightmap) +
                                    ") are not in proportion; the colormap is stretched");
    }

    // A number of the map; `lowByte` when the editor keeps only its low 8 bits.
    void WholeNumber(const char* key, int64_t low, int64_t high, bool lowByte)
    {
        std::string text;
        int64_t value = 0;
        const int read = ini_.FindNumber(kSection, key, 0);
        const std::string reads =
            " (the editor reads " + std::to_string(lowByte ? (int)(unsigned char)read : read) + ")";
        if (!ini_.Find(kSection, key, &text) || text.empty())
            report_->Add(file_, std::string("it has no ") + key + reads);
        else if (!ReadWholeNumber(text, &value))
            report_->Add(file_, std::string(key) + "=" + text + " is not a whole number" + reads);
        else if (value < low || value > high)
            report_->Add(file_, std::string(key) + "=" + text + " is outside " +
                                    std::to_string(low) + " to " + std::to_string(high) + reads);
    }

    // The object placement file: none named (or an empty name) is a map
    // without objects, as the editor opens it.
    void Objects()
    {
        std::string name, path;
        std::vector<unsigned char> bytes;
        if (!ini_.Find(kSection, "objectmap", &name) || name.empty())
            return;
        if (name == kMissing)
        {
            NamedFile("objectmap", &name);
            return;
        }
        if (ReadNamed("objectmap", name, &path, &bytes))
            CheckObjectFile(path, bytes.data(), bytes.size(), setup_, report_);
    }

  private:
    const std::string& file_;
    const IniFile& ini_;
    const CheckSetup& setup_;
    Report* report_;
};
} // namespace

void CheckMapSettings(const std::string& file, const unsigned char* data, size_t size,
                      const CheckSetup& setup, Report* report)
{
    const IniFile ini(data, size);
    if (!ini.HasSection(kSection))
    {
        report->Add(file, "it is not a map settings file (it has no [map] section)");
        return;
    }
    MapCheck check(file, ini, setup, report);
    ImageSize colormap, heightmap, detailmap;
    const bool colormapRead = check.Image("colormap", &colormap);
    const bool heightmapRead = check.Image("heightmap", &heightmap);
    check.Image("detailmap", &detailmap);
    if (colormapRead && heightmapRead)
        check.Proportions(colormap, heightmap);
    check.WholeNumber("quad_depth", 0, 255, true);
    check.WholeNumber("spacing", 0, INT32_MAX, false);
    check.Objects();
}
} // namespace mapcheck
