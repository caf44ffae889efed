// Helpers of the Windows suites that work with files and the document.
#include "tests/app/AppTestFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <sstream>

#include "app/EditorApp.h"
#include "resource.h"

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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

Rows FilesIn(const std::string& folder)
{
    Rows names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (!entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes Bitmap24(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const unsigned imageSize = (unsigned)(stride * height);
    Bytes bytes(54 + imageSize, 0);
    auto put32 = [&](size_t at, unsigned value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = (unsigned char)(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, (unsigned)width);
    put32(22, (unsigned)height);
    bytes[26] = 1;  // planes
    bytes[28] = 24; // bits per pixel
    put32(34, imageSize);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            bytes[54 + (size_t)y * stride + x] = (unsigned char)(x / 3 + y);
    return bytes;
}

std::string PathOfLength(const TempFolder& folder, size_t length, char fill,
                         const std::string& ending)
{
    const std::string start = folder.Path() + "\\";
    return start + std::string(length - start.size() - ending.size(), fill) + ending;
}

HWND PaletteList()
{
    return GetDlgItem(app.Palette().Handle(), IDC_OBJECTLIST);
}

Rows ListRows(HWND list)
{
    Rows rows;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        char text[512] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0) < (LRESULT)sizeof(text))
            SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)text);
        rows.push_back(text);
    }
    return rows;
}

void SetListRows(HWND list, const Rows& rows)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : rows)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)row.c_str());
}

PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation)
{
    return PlacedObject{type, x, y, {}, rotation, {}}; // reserved bytes zero
}

std::string StateOf(const MapDocument& d, HWND list)
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
    s << "\nrows:";
    for (const std::string& row : ListRows(list))
        s << " " << row;
    s << "\nselected:";
    for (uint32_t index : d.SelectedIndices())
        s << " " << index;
    s << "\nobjects:" << std::hex;
    const unsigned char* raw = (const unsigned char*)d.objects.data();
    for (size_t i = 0; i < d.objects.size() * sizeof(PlacedObject); ++i)
        s << " " << (int)raw[i];
    return s.str();
}
