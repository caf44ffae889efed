// File > "Load Objects" and "Save Objects": the object placement file (.mob)
// with the catalog of object types and the placed objects, and the palette's
// list rebuilt from the catalog. The byte layout is in ObjectFile.cpp.
//
// A file is read and checked whole before anything changes: a refused file
// leaves the objects, the catalog, the palette list and objectMap as they
// were. A save replaces the old file only once the new one is complete.
#include "document/MapDocument.h"

#include <string.h>

#include <new>

#include "document/AtomicFileWrite.h"
#include "document/ObjectFile.h"

namespace
{
// ReadFile takes a 32-bit count; larger files are read in pieces.
const size_t kLargestRead = (size_t)1 << 30;

bool ReadExactly(HANDLE file, unsigned char* into, size_t size)
{
    while (size > 0)
    {
        const DWORD piece = (DWORD)(size < kLargestRead ? size : kLargestRead);
        DWORD read = 0;
        if (!ReadFile(file, into, piece, &read, nullptr) || read != piece)
            return false;
        into += piece;
        size -= piece;
    }
    return true;
}

// The bytes of the file that its header accounts for: the header, the names
// and the records, read in one go. Bytes after the last record are not read.
// False when the file cannot be opened, its signature is wrong or it is
// shorter than its counts say.
bool ReadObjectFileBytes(const char* path, std::vector<unsigned char>* bytes)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER fileSize;
    unsigned char header[kObjectFileHeaderSize];
    ObjectFileHeader counts;
    if (GetFileSizeEx(file, &fileSize) && ReadExactly(file, header, sizeof(header)) &&
        ReadObjectFileHeader(header, sizeof(header), &counts))
    {
        const uint64_t required = ObjectFileRequiredSize(counts);
        if ((uint64_t)fileSize.QuadPart >= required && required <= (uint64_t)SIZE_MAX)
        {
            try
            {
                bytes->resize((size_t)required);
                memcpy(bytes->data(), header, sizeof(header));
                ok = ReadExactly(file, bytes->data() + sizeof(header),
                                 (size_t)required - sizeof(header));
            }
            catch (const std::bad_alloc&)
            {
                ok = false; // more entries than memory: refused like a damaged file
            }
        }
    }
    CloseHandle(file);
    return ok;
}

// Empties the palette's list and fills it with the catalog, row i = entry i
// (the list is unsorted).
void RebuildPaletteList(HWND list, const std::vector<ObjectType>& types)
{
    const LRESULT rows = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < rows; ++i)
        SendMessageA(list, LB_DELETESTRING, 0, 0);
    for (const ObjectType& type : types)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)type.path.c_str());
}
} // namespace

bool MapDocument::LoadObjects(const char* path, HWND paletteList)
{
    // objectMap records the file for the settings file: a name it cannot
    // hold is refused rather than cut into the name of another file.
    if (!path || !path[0] || strlen(path) >= sizeof(objectMap))
        return false;
    ObjectFileContents contents;
    try
    {
        std::vector<unsigned char> bytes;
        if (!ReadObjectFileBytes(path, &bytes) ||
            !ParseObjectFile(bytes.data(), bytes.size(), &contents))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    // Everything checked: replace objects, catalog and list as a whole. The
    // old entries go with `contents`. currentType and selectedObject stay.
    objectTypes.swap(contents.types);
    objects.swap(contents.objects);
    strcpy(objectMap, path);
    RebuildPaletteList(paletteList, objectTypes);
    return true;
}

bool MapDocument::SaveObjects(const char* path)
{
    if (!path || !path[0] || strlen(path) >= sizeof(objectMap))
        return false;
    std::vector<unsigned char> bytes;
    try
    {
        if (!EncodeObjectFile(objectTypes, objects, &bytes))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (!ReplaceFileContents(path, bytes.data(), bytes.size()))
        return false;
    strcpy(objectMap, path);
    return true;
}
