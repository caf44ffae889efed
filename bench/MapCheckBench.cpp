// The map checker on an object placement file with 256 types and 1,000,000
// objects, against reading the same file's bytes with the C runtime in the
// same run: the check alone, with the 256 description files looked for, and
// with every object off the map (a million problem lines, written to a
// stream that discards them). The checks run in-process through
// RunMapCheck on the C++ library's files, as mapcheck.exe runs them.
// Prints the median of several rounds of each and the ratio.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "document/ObjectFile.h"
#include "document/StdioFileSystem.h"
#include "mapcheck/MapCheck.h"

namespace fs = std::filesystem;

namespace
{
const int kTypes = 256;
const int kObjects = 1000000;
const int kRounds = 7;

class Discard : public std::streambuf
{
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::vector<unsigned char> ObjectFile(bool onMap)
{
    ObjectFileContents contents;
    char name[64];
    for (int i = 0; i < kTypes; ++i)
    {
        snprintf(name, sizeof(name), "..\\objects\\type-%03d.ini", i);
        contents.types.push_back(ObjectType{name});
    }
    unsigned state = 12345;
    contents.objects.resize(kObjects);
    for (PlacedObject& object : contents.objects)
    {
        state = state * 1664525u + 1013904223u;
        object.type = (uint8_t)(state >> 24);
        object.x = (float)((state >> 8) & 0xFFFF) / 65536.0f + (onMap ? 0.0f : 1.5f);
        object.y = (float)(state & 0xFFFF) / 65536.0f;
        object.rotation = (int16_t)(state % 360);
    }
    std::vector<unsigned char> bytes;
    EncodeObjectFile(contents.types, contents.objects, &bytes);
    return bytes;
}

bool Write(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

// Into freshly allocated memory, as the check's read must.
bool PlainRead(const std::string& path, size_t size)
{
    FILE* file = fopen(path.c_str(), "rb");
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
    const fs::path root = fs::temp_directory_path() / ("mapcheck-bench-" + std::to_string(rand()));
    fs::create_directories(root / "objects");
    fs::create_directories(root / "editor");
    for (int i = 0; i < kTypes; ++i)
    {
        char name[64];
        snprintf(name, sizeof(name), "type-%03d.ini", i);
        Write((root / "objects" / name).string(), {'[', 'o', 'b', 'j', ']', '\n'});
    }
    const std::string clean = (root / "clean.mob").string();
    const std::string offMap = (root / "off-map.mob").string();
    const std::vector<unsigned char> cleanBytes = ObjectFile(true);
    bool ok = Write(clean, cleanBytes) && Write(offMap, ObjectFile(false));

    StdioFileSystem files;
    Discard discard;
    std::ostream out(&discard);
    const struct
    {
        const char* name;
        std::vector<std::string> arguments;
        int status;
    } checks[] = {
        {"mapcheck FILE.mob", {clean}, 0},
        {"... --program-dir DIR", {"--program-dir", (root / "editor").string(), clean}, 0},
        {"... every object off the map", {offMap}, 1},
    };
    std::vector<double> read, check[3];
    for (int round = 0; round < kRounds && ok; ++round)
    {
        double start = Now();
        ok = PlainRead(clean, cleanBytes.size());
        read.push_back(Now() - start);
        for (int i = 0; i < 3 && ok; ++i)
        {
            start = Now();
            ok = mapcheck::RunMapCheck(checks[i].arguments, files, out, out) == checks[i].status;
            check[i].push_back(Now() - start);
        }
    }
    std::error_code error;
    fs::remove_all(root, error);
    if (!ok)
    {
        printf("map check benchmark failed\n");
        return 1;
    }

    printf("Map check: %d types, %d objects, %.1f MB; median of %d rounds\n", kTypes, kObjects,
           cleanBytes.size() / 1e6, kRounds);
    printf("%-32s %10s %14s %7s\n", "check vs reading the bytes", "check ms", "plain read ms",
           "ratio");
    for (int i = 0; i < 3; ++i)
        printf("%-32s %10.1f %14.1f %7.2f\n", checks[i].name, Median(check[i]) * 1e3,
               Median(read) * 1e3, Median(check[i]) / Median(read));
    return 0;
}
