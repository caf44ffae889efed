// Saving and loading an object placement file with 256 types and 1,000,000
// objects through MapDocument::SaveObjects / LoadObjects on the editor's
// Windows file system, against plainly writing and reading the same
// number of bytes with the C runtime in the same run. Prints the median of
// several rounds of each and the ratio. The save flushes its temporary file
// to the disk before it replaces the old file, so it is also set against a
// plain write that does the same.
#include <windows.h>

#include <io.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/WindowsFileSystem.h"
#include "bench/BenchClock.h"
#include "document/MapDocument.h"

namespace
{
const int kTypes = 256;
const int kObjects = 1000000;
const int kRounds = 7;

void FillDocument(MapDocument* document)
{
    char name[64];
    for (int i = 0; i < kTypes; ++i)
    {
        snprintf(name, sizeof(name), "..\\objects\\type-%03d.ini", i);
        document->AddObjectType(name);
    }
    document->objects.reserve(kObjects);
    unsigned state = 12345;
    for (int i = 0; i < kObjects; ++i)
    {
        state = state * 1664525u + 1013904223u;
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        object.type = (uint8_t)(state >> 24);
        object.x = (float)((state >> 8) & 0xFFFF) / 65536.0f;
        object.y = (float)(state & 0xFFFF) / 65536.0f;
        object.rotation = (int16_t)(45 * (i % 8));
        document->AddObject(object);
    }
}

// With flush: also pushed to the disk before the close, as the document's
// save does before its temporary file replaces the old one.
bool PlainWrite(const char* path, const std::vector<char>& bytes, bool flush)
{
    FILE* file = fopen(path, "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (flush)
        ok = ok && fflush(file) == 0 && _commit(_fileno(file)) == 0;
    return fclose(file) == 0 && ok;
}

// Into freshly allocated memory, as a load must: the document's objects get
// new storage too.
bool PlainRead(const char* path, size_t size)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    char* bytes = (char*)malloc(size);
    const bool ok = bytes && fread(bytes, 1, size, file) == size;
    fclose(file);
    free(bytes);
    return ok;
}
} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    const std::string folder = std::string(temp) + "mapeditor-bench-" +
                               std::to_string((unsigned long)GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string documentFile = folder + "\\objects.mob";
    const std::string plainFile = folder + "\\plain.bin";
    WindowsFileSystem files;

    MapDocument saved;
    FillDocument(&saved);
    const size_t size = 12 + 128 * (size_t)kTypes + 17 * (size_t)kObjects;
    std::vector<char> plain(size, 'p');

    std::vector<double> save, load, write, writeFlushed, read;
    bool ok = true;
    for (int round = 0; round < kRounds && ok; ++round)
    {
        double start = Now();
        ok = ok && saved.SaveObjects(documentFile, files);
        save.push_back(Now() - start);

        start = Now();
        ok = ok && PlainWrite(plainFile.c_str(), plain, false);
        write.push_back(Now() - start);

        start = Now();
        ok = ok && PlainWrite(plainFile.c_str(), plain, true);
        writeFlushed.push_back(Now() - start);

        MapDocument loaded;
        start = Now();
        ok = ok && loaded.LoadObjects(documentFile, files);
        load.push_back(Now() - start);
        ok = ok && loaded.ObjectCount() == kObjects && (int)loaded.objectTypes.size() == kTypes;

        start = Now();
        ok = ok && PlainRead(plainFile.c_str(), plain.size());
        read.push_back(Now() - start);
    }
    DeleteFileA(documentFile.c_str());
    DeleteFileA(plainFile.c_str());
    RemoveDirectoryA(folder.c_str());
    if (!ok)
    {
        printf("object file benchmark failed\n");
        return 1;
    }

    printf("Object placement file: %d types, %d objects, %.1f MB; median of %d rounds\n", kTypes,
           kObjects, size / 1e6, kRounds);
    printf("%-30s %12s %12s %7s\n", "document vs plain C runtime", "document ms", "plain ms",
           "ratio");
    const struct
    {
        const char* name;
        double document, plain;
    } rows[] = {{"save / fwrite", Median(save), Median(write)},
                {"save / fwrite + flush to disk", Median(save), Median(writeFlushed)},
                {"load / fread into new memory", Median(load), Median(read)}};
    for (const auto& row : rows)
        printf("%-30s %12.1f %12.1f %7.2f\n", row.name, row.document * 1e3, row.plain * 1e3,
               row.document / row.plain);
    return 0;
}
