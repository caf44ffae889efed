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
// ReadFile takes a 32-bit count; larger runs are read in pieces.
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

// Reads and checks a whole file: the header, then the names, then the
// records straight into the objects' storage (they are stored verbatim), each
// in one read. Bytes after the last record are not read. False when the file
// cannot be opened, its signature is wrong or it is shorter than its counts
// say; *contents is then untouched.
bool ReadObjectFile(const char* path, ObjectFileContents* contents)
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
        ReadObjectFileHeader(header, sizeof(header), &counts) &&
        (uint64_t)fileSize.QuadPart >= ObjectFileRequiredSize(counts))
    {
        // The size check bounds both counts by the bytes on disk.
        const size_t typeCount = counts.typeCount > 0 ? (size_t)counts.typeCount : 0;
        const size_t objectCount = counts.objectCount > 0 ? (size_t)counts.objectCount : 0;
        try
        {
            std::vector<unsigned char> names(typeCount * kObjectFileNameSize);
            ObjectFileContents read;
            read.objects.resize(objectCount);
            ok = ReadExactly(file, names.data(), names.size()) &&
                 ReadExactly(file, (unsigned char*)read.objects.data(),
                             objectCount * kObjectRecordSize);
            if (ok)
            {
                ReadObjectTypeNames(names.data(), typeCount, &read.types);
                contents->types.swap(read.types);
                contents->objects.swap(read.objects);
            }
        }
        catch (const std::bad_alloc&)
        {
            ok = false; // more entries than memory: refused like a damaged file
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
    if (!ReadObjectFile(path, &contents))
        return false;
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
    // Header and names are built; the records are written straight from the
    // objects' storage, which is exactly their 17-byte form.
    std::vector<unsigned char> head;
    try
    {
        if (!EncodeObjectFileHead(objectTypes, objects.size(), &head))
            return false;
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    const FilePiece pieces[] = {{head.data(), head.size()},
                                {objects.data(), objects.size() * sizeof(PlacedObject)}};
    if (!ReplaceFileContents(path, pieces, 2))
        return false;
    strcpy(objectMap, path);
    return true;
}
