// Helpers of the document suite.
#include "tests/document/DocumentTestFiles.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>

#include "app/EditorApp.h"
#include "resource.h"

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Bytes ReadBytes(const std::string& path)
{
    Bytes bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    unsigned char buffer[65536];
    size_t read;
    while ((read = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + read);
    fclose(file);
    return bytes;
}

std::string ReadText(const std::string& path)
{
    const Bytes bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, Bytes(text.begin(), text.end()));
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

Bytes Bitmap24(int width, int height)
{
    const int stride = (width * 3 + 3) & ~3;
    const unsigned imageSize = (unsigned)(stride * height);
    Bytes bytes(54 + imageSize, 0);
    auto put32 = [&](size_t at, unsigned value) {
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
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                bytes[54 + (size_t)y * stride + x * 3 + c] = (unsigned char)(x + y);
    return bytes;
}

namespace
{
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
} // namespace

DeepFolder::DeepFolder(const std::string& parent, size_t minimumLength)
{
    top_ = parent + "\\" + std::string(40, 'd');
    path_ = top_;
    CreateDirectoryA(path_.c_str(), nullptr);
    while (path_.size() < minimumLength)
    {
        path_ += "\\" + std::string(40, 'e');
        CreateDirectoryA(path_.c_str(), nullptr);
    }
}

DeepFolder::~DeepFolder() { RemoveTree(top_); }

HWND PaletteList() { return GetDlgItem(app.paletteWindow, IDC_OBJECTLIST); }

std::vector<std::string> ListRows(HWND list)
{
    std::vector<std::string> rows;
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

void SetListRows(HWND list, const std::vector<std::string>& rows)
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& row : rows)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)row.c_str());
}

PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation)
{
    PlacedObject object;
    memset(&object, 0, sizeof(object));
    object.type = type;
    object.x = x;
    object.y = y;
    object.rotation = rotation;
    return object;
}
