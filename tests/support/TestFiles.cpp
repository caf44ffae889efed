// Files, objects and the document's state for the tests (see TestFiles.h).
#include "tests/support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

Bytes ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path)
{
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write((const char*)bytes.data(), (std::streamsize)bytes.size());
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

bool FileExists(const std::string& path)
{
#ifdef _WIN32
    // The name's bytes in the active code page, as the editor hands them over.
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    std::error_code error;
    return fs::exists(fs::path(path), error);
#endif
}

Rows FilesIn(const std::string& folder)
{
    Rows names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (!entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation)
{
    return PlacedObject{type, x, y, {}, rotation, {}}; // reserved bytes zero
}

namespace
{
std::string State(const MapDocument& d, const Rows* rows)
{
    std::ostringstream s;
    s << std::setprecision(9) << "quad depth " << (int)d.quadDepth << ", spacing " << d.spacing
      << ", heightmap " << d.heightmapTexture << " '" << d.heightmapFile << "' (" << d.width
      << " x " << d.height << "), colormap " << d.colormapTexture << " '" << d.colormapFile
      << "', detail map '" << d.detailMap << "', object map '" << d.objectMap << "', view "
      << d.viewScale << " at " << d.scrollX << ", " << d.scrollY << ", type " << d.currentType
      << "\ncatalog:";
    for (const ObjectType& type : d.objectTypes)
        s << " " << type.path;
    if (rows)
    {
        s << "\nrows:";
        for (const std::string& row : *rows)
            s << " " << row;
    }
    s << "\nselected:";
    for (uint32_t index : d.SelectedIndices())
        s << " " << index;
    s << "\nobjects:" << std::hex;
    const unsigned char* raw = (const unsigned char*)d.objects.data();
    for (size_t i = 0; i < d.objects.size() * sizeof(PlacedObject); ++i)
        s << " " << (int)raw[i];
    return s.str();
}
} // namespace

std::string StateOf(const MapDocument& document)
{
    return State(document, nullptr);
}

std::string StateOf(const MapDocument& document, const Rows& listRows)
{
    return State(document, &listRows);
}
