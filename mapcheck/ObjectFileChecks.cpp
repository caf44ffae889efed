// The checks of an object placement file, where relative names lead, and the
// report they write to.
#include "mapcheck/MapChecks.h"

#include <ctype.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <vector>

#include "document/MapDocument.h"
#include "document/StdioFileSystem.h"
#include "document/ObjectFile.h"

namespace fs = std::filesystem;

namespace mapcheck
{
namespace
{
// "\x", "/x" and "C:x" do not lead from the current directory.
bool HasRoot(const std::string& name)
{
    return (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
           (name.size() >= 2 && isalpha((unsigned char)name[0]) && name[1] == ':');
}

std::string Number(size_t value)
{
    return std::to_string(value);
}

// Each coordinate with the fewest digits that give back its float.
std::string Position(float x, float y)
{
    char text[64] = "(";
    char* end = std::to_chars(text + 1, text + 30, x).ptr;
    *end++ = ',';
    *end++ = ' ';
    end = std::to_chars(end, text + 62, y).ptr;
    *end++ = ')';
    return std::string(text, end);
}

// The key under which the editor takes two type paths to be the same
// (pasting maps types by path, ASCII case ignored); either slash.
std::string SameTypeKey(const std::string& path)
{
    std::string key = path;
    for (char& c : key)
        c = c == '/' ? '\\' : (char)tolower((unsigned char)c);
    return key;
}

// Where the file is not what the editor writes for what it reads from it:
// saving the objects again would change these bytes.
void CheckForm(const std::string& file, const unsigned char* data, size_t size, size_t typeCount,
               Report* report)
{
    ObjectFileHeader header;
    ReadObjectFileHeader(data, size, &header);
    if (header.typeCount < 0)
        report->Add(file, "its type count is negative (" + std::to_string(header.typeCount) +
                              "); the editor reads no types");
    if (header.objectCount < 0)
        report->Add(file, "its object count is negative (" + std::to_string(header.objectCount) +
                              "); the editor reads no objects");
    for (size_t i = 0; i < typeCount; ++i)
    {
        const unsigned char* field = data + kObjectFileHeaderSize + kObjectFileNameSize * i;
        const unsigned char* end = field + kObjectFileNameSize;
        const unsigned char* zero = (const unsigned char*)memchr(field, 0, kObjectFileNameSize);
        if (!zero)
            report->Add(file, "type " + Number(i) +
                                  ": its name field has no zero byte; the editor reads its first " +
                                  Number(kMaxObjectTypePath) + " bytes");
        else if (std::find_if(zero, end, [](unsigned char c) { return c != 0; }) != end)
            report->Add(file, "type " + Number(i) +
                                  ": its name field holds bytes after the name's end, which the "
                                  "editor drops");
    }
    const uint64_t required = ObjectFileRequiredSize(header);
    if (size > required)
        report->Add(file, "it holds " + Number((size_t)(size - required)) +
                              " bytes after its last record, which the editor ignores");
}

void CheckCatalog(const std::string& file, const std::vector<ObjectType>& types,
                  const CheckSetup& setup, Report* report)
{
    std::map<std::string, size_t> first;
    for (size_t i = 0; i < types.size(); ++i)
    {
        const std::string& path = types[i].path;
        const std::string type = "type " + Number(i);
        if (path.empty())
        {
            report->Add(file, type + " has no name");
            continue;
        }
        const auto found = first.emplace(SameTypeKey(path), i);
        if (!found.second)
            report->Add(file,
                        type + " " + path + " is type " + Number(found.first->second) + " again");
        if (!setup.checkDescriptions)
            continue;
        const std::string description = ResolveProgramPath(setup.programDir, path);
        std::vector<unsigned char> bytes;
        const FileError error = setup.files.ReadWholeFile(description, &bytes);
        if (error != FileError::None)
            report->Add(file,
                        type + " " + path + " (" + description + "): " + DescribeFileError(error));
    }
}

void CheckObjects(const std::string& file, size_t typeCount, const PlacedObject* records,
                  size_t objectCount, Report* report)
{
    for (size_t i = 0; i < objectCount; ++i)
    {
        const PlacedObject object = records[i];
        if (object.type >= typeCount)
            report->Add(file, "object " + Number(i) + ": its type " + Number(object.type) +
                                  (typeCount ? " is not in the catalog (types 0 to " +
                                                   Number(typeCount - 1) + ")"
                                             : " is not in the catalog (it has no types)"));
        const float x = object.x, y = object.y;
        if (!isfinite(x) || !isfinite(y))
            report->Add(file, "object " + Number(i) + ": its position " + Position(x, y) +
                                  " is not a finite number");
        else if (!MapDocument::InsideMap(x, y))
            report->Add(file, "object " + Number(i) + ": its position " + Position(x, y) +
                                  " lies outside the map (0 to 1)");
    }
}
} // namespace

void Report::Add(const std::string& file, const std::string& problem)
{
    out_ << file << ": " << problem << '\n';
    ++count_;
}

std::string DefaultProgramDir(const std::string& mapPath)
{
    fs::path folder = fs::path(NativePath(mapPath)).parent_path();
    if (folder.empty())
        folder = ".";
    return (folder / ".." / "editor").lexically_normal().string();
}

std::string ResolveProgramPath(const std::string& programDir, const std::string& name)
{
    if (HasRoot(name))
        return NativePath(name);
    const fs::path joined = fs::path(NativePath(programDir)) / NativePath(name);
    return joined.lexically_normal().string();
}

void CheckObjectFile(const std::string& file, const unsigned char* data, size_t size,
                     const CheckSetup& setup, Report* report)
{
    // The records are checked where they lie in the file's bytes: a copy of
    // a million of them would cost more than reading the file.
    std::vector<ObjectType> types;
    const PlacedObject* records = nullptr;
    size_t objectCount = 0;
    std::string why;
    if (!ParseObjectFileInPlace(data, size, &types, &records, &objectCount, &why))
    {
        report->Add(file, why);
        return;
    }
    CheckForm(file, data, size, types.size(), report);
    CheckCatalog(file, types, setup, report);
    CheckObjects(file, types.size(), records, objectCount, report);
}
} // namespace mapcheck
