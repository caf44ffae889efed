// File > "Open &Map" and "&Save Map": the map settings file, an INI file with
// one section [map] naming the colormap, heightmap, detail map and object
// placement file and holding the quad-tree depth and the grid spacing.
//
// Reading loads what the file names (colormap texture, heightmap, objects)
// through the private-profile functions; a missing key reads as "nostring"
// or 0. A file that does not exist or cannot be read is refused as a whole
// and changes nothing. Writing replaces the old file only once the new one
// is complete.
#include "document/MapDocument.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "document/AtomicFileWrite.h"
#include "render/Renderer.h"

namespace
{
const char kSection[] = "map";
const char kMissing[] = "nostring";

// Values are read whole: the texture table keeps names of up to 254
// characters, and a name too long for the document's 127-character fields
// must be recognised as such rather than arrive cut into another file's name.
// A longer value comes back cut at 1023 characters, which every one of its
// users refuses.
const DWORD kValueSize = 1024;

struct SettingsValue
{
    char text[kValueSize];
};

void ReadValue(const char* file, const char* key, SettingsValue* value)
{
    GetPrivateProfileStringA(kSection, key, kMissing, value->text, kValueSize, file);
}

int ReadNumber(const char* file, const char* key)
{
    return (int)GetPrivateProfileIntA(kSection, key, 0, file);
}

// The private-profile functions treat a missing file like one without keys,
// so existence and readability are checked first.
bool IsReadableFile(const char* file)
{
    HANDLE handle = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false; // missing, a folder, or not ours to read
    CloseHandle(handle);
    return true;
}

// One line formatted into a 1024-byte buffer as the editor always has, with
// the C runtime's text-mode line end: "\n" becomes CR LF on disk.
void AppendLine(std::string* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendLine(std::string* text, const char* format, ...)
{
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);
    for (const char* c = line; *c; ++c)
    {
        if (*c == '\n')
            text->push_back('\r');
        text->push_back(*c);
    }
}
} // namespace

bool MapDocument::LoadSettings(const char* path, HWND paletteList)
{
    // A bare file name would make the private-profile functions look in the
    // Windows folder; the full name makes it the file in the current folder,
    // like every other relative name of the editor.
    char file[MAX_PATH];
    if (!path || !path[0])
        return false;
    const DWORD length = GetFullPathNameA(path, sizeof(file), file, nullptr);
    if (length == 0 || length >= sizeof(file) || !IsReadableFile(file))
        return false;

    SettingsValue value;
    ReadValue(file, "colormap", &value);
    colormapTexture = LoadTextureSlot(value.text);

    ReadValue(file, "heightmap", &value);
    LoadHeightmap(value.text);

    // The detail map is only recorded, in a 127-character field; a longer
    // name keeps the previous one, as an object map that cannot be read does.
    ReadValue(file, "detailmap", &value);
    if (strlen(value.text) < sizeof(detailMap))
        strcpy(detailMap, value.text);

    // LoadObjects refuses names longer than objectMap holds, and files it
    // cannot read: the previous objects, catalog and objectMap then stay.
    ReadValue(file, "objectmap", &value);
    LoadObjects(value.text, paletteList);

    quadDepth = (unsigned char)ReadNumber(file, "quad_depth"); // low 8 bits
    spacing = ReadNumber(file, "spacing"); // replaces the heightmap's 10, 0 when missing
    return true;
}

bool MapDocument::SaveSettings(const char* path) const
{
    std::string text;
    AppendLine(&text, "[map]\n");
    // Colormap and heightmap are written under the names they were loaded
    // with, and only when they are loaded.
    const TextureRecord* colormap = renderer ? renderer->textures.Record(colormapTexture) : nullptr;
    if (colormap)
        AppendLine(&text, "colormap=%s\n", colormap->fileName);
    const TextureRecord* heightmap =
        renderer ? renderer->textures.Record(heightmapTexture) : nullptr;
    if (heightmap)
        AppendLine(&text, "heightmap=%s\n", heightmap->fileName);
    // The fixed fields are read only up to their size, whoever filled them.
    AppendLine(&text, "detailmap=%.127s\n", detailMap);
    AppendLine(&text, "objectmap=%.127s\n", objectMap);
    AppendLine(&text, "quad_depth=%d\n", (int)quadDepth);
    AppendLine(&text, "spacing=%d\n", spacing);
    return ReplaceFileContents(path, text.data(), text.size());
}
