// Helpers of the native document suites.
#include "tests/document/DocumentTestSupport.h"

#include <ctype.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
std::string Lower(std::string text)
{
    for (char& c : text)
        c = (char)tolower((unsigned char)c);
    return text;
}
} // namespace

TempFolder::TempFolder()
{
    std::string pattern = (fs::temp_directory_path() / "mapeditor-test-XXXXXX").string();
    path_ = mkdtemp(&pattern[0]) ? pattern : std::string();
    EXPECT_FALSE(path_.empty());
}

TempFolder::~TempFolder()
{
    std::error_code error;
    // Tests make files read-only: make everything writable again first.
    for (const auto& entry : fs::recursive_directory_iterator(path_, error))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(path_, error);
}

void FakeImages::Add(const std::string& name, int width, int height)
{
    files_[Lower(name)] = Size{width, height};
}

LoadedImage FakeImages::Load(const std::string& fileName)
{
    requests.push_back(fileName);
    LoadedImage image;
    const auto found = files_.find(Lower(fileName));
    if (found == files_.end())
    {
        image.problem = "it was not found";
        return image;
    }
    image.width = found->second.width;
    image.height = found->second.height;
    for (size_t i = 0; i < slots.size(); ++i)
    {
        if (Lower(slots[i]) == Lower(fileName))
        {
            image.slot = (int)i;
            image.name = slots[i]; // the first spelling
            return image;
        }
    }
    image.slot = (int)slots.size();
    image.name = fileName;
    slots.push_back(fileName);
    return image;
}

void AddSampleImages(FakeImages* images)
{
    images->Add("..\\maps\\area1.bmp", 256, 256);
    images->Add("..\\maps\\area1-colormap.bmp", 256, 256);
    images->Add("..\\maps\\detail-map.bmp", 64, 64);
    images->Add("..\\art\\ui\\objectimage.bmp", 32, 32);
}

std::string SampleFolder()
{
    return MAPEDITOR_SAMPLE_DIR;
}

Bytes ObjectFileBytes(const MapDocument& document)
{
    Bytes bytes;
    EXPECT_TRUE(EncodeObjectFile(document.objectTypes, document.objects, &bytes));
    return bytes;
}
