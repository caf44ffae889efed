// File > "Open &Map" and "&Save Map": the map settings file, an INI file with
// one section [map] naming the colormap, heightmap, detail map and object
// placement file and holding the quad-tree depth and the grid spacing.
//
// Reading loads what the file names (colormap and heightmap through the
// image source, the objects through the object placement file) and starts a
// new history; a missing key reads as "nostring" or 0. A file that cannot be
// read, or that has no [map] section, is refused and changes nothing. What
// the map names but cannot be read keeps its name (so Save Map writes it back
// as it was) and is listed in the problems. Writing replaces the old file
// only once the new one is complete.
#include "document/MapDocument.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "document/IniFile.h"

namespace
{
const char kSection[] = "map";
const char kMissing[] = "nostring";

// The value of a key, or "nostring" when it is missing.
std::string ValueOf(const IniFile& ini, const char* key, bool* present = nullptr)
{
    std::string value;
    const bool found = ini.Find(kSection, key, &value);
    if (present)
        *present = found;
    return found ? value : std::string(kMissing);
}

// One line with the C runtime's text-mode line end: "\n" becomes CR LF.
void AppendLine(std::string* text, const std::string& line)
{
    size_t from = 0;
    for (size_t end = line.find('\n'); end != std::string::npos; end = line.find('\n', from))
    {
        text->append(line, from, end - from).append("\r\n");
        from = end + 1;
    }
    text->append(line, from, std::string::npos);
}
} // namespace

bool MapDocument::LoadSettings(const std::string& path, FileSystem& files, ImageSource& images,
                               std::vector<std::string>* problems)
{
    const auto refuse = [&](const std::string& why)
    {
        if (problems)
            problems->push_back(path + ": " + why);
        return false;
    };
    std::vector<unsigned char> bytes;
    const FileError error = files.ReadWholeFile(path, &bytes);
    if (error != FileError::None)
        return refuse(DescribeFileError(error));
    const IniFile ini(bytes.data(), bytes.size());
    if (!ini.HasSection(kSection))
        return refuse("it is not a map settings file (it has no [map] section)");

    // Everything is read before anything of the document changes.
    const auto image = [&](const char* key, std::string* name)
    {
        bool present = false;
        const std::string value = ValueOf(ini, key, &present);
        LoadedImage loaded =
            strcmp(key, "heightmap") == 0 ? images.LoadHeightmap(value) : images.Load(value);
        *name = loaded.slot >= 0 ? loaded.name : present ? value : std::string();
        if (loaded.slot < 0 && present && problems)
            problems->push_back(value + " (" + key + "): " + loaded.problem);
        return loaded;
    };
    std::string colormapName, heightmapName;
    const LoadedImage colormap = image("colormap", &colormapName);
    const LoadedImage heightmap = image("heightmap", &heightmapName);

    bool objectMapNamed = false;
    const std::string objectFile = ValueOf(ini, "objectmap", &objectMapNamed);
    ObjectFileContents contents;
    if (objectMapNamed && !objectFile.empty())
    {
        std::string why;
        if (!ReadObjectFile(objectFile, files, &contents, &why) && problems)
            problems->push_back(objectFile + " (objectmap): " + why +
                                "; the map opens without objects");
    }

    colormapTexture = colormap.slot;
    colormapFile = colormapName;
    heightmapTexture = heightmap.slot;
    heightmapFile = heightmapName;
    NoteHeightSamples(heightmap);
    if (heightmap.slot >= 0)
    {
        width = heightmap.width;
        height = heightmap.height;
    }
    detailMap = ValueOf(ini, "detailmap");
    // The objects of the map just opened, or none: nothing of the previous
    // map stays, and Save writes where this map says.
    SwapContents(&contents.types, &contents.objects);
    objectMap = objectMapNamed ? objectFile : std::string();
    quadDepth = (unsigned char)ini.FindNumber(kSection, "quad_depth", 0); // low 8 bits
    spacing = ini.FindNumber(kSection, "spacing", 0); // 0 when missing, whatever the heightmap
    settingsFile = path;
    StartNewHistory();
    return true;
}

std::string MapDocument::EncodeSettings(const std::string* objectFile) const
{
    MapSettings settings = Settings();
    if (objectFile)
        settings.objectMap = *objectFile;
    return EncodeSettings(settings);
}

std::string MapDocument::EncodeSettings(const MapSettings& s)
{
    std::string text;
    AppendLine(&text, "[map]\n");
    // Colormap and heightmap under the names they were loaded (or asked
    // for) with; no line when the map names none.
    if (!s.colormapFile.empty())
        AppendLine(&text, "colormap=" + s.colormapFile + "\n");
    if (!s.heightmapFile.empty())
        AppendLine(&text, "heightmap=" + s.heightmapFile + "\n");
    AppendLine(&text, "detailmap=" + s.detailMap + "\n");
    AppendLine(&text, "objectmap=" + s.objectMap + "\n");
    AppendLine(&text, "quad_depth=" + std::to_string((unsigned)s.quadDepth) + "\n");
    AppendLine(&text, "spacing=" + std::to_string(s.spacing) + "\n");
    return text;
}

bool MapDocument::SaveSettings(const std::string& path, FileSystem& files, std::string* problem)
{
    const std::string text = EncodeSettings();
    const FileError error = files.ReplaceWholeFile(path, text.data(), text.size());
    if (error != FileError::None)
    {
        if (problem)
            *problem = path + ": " + DescribeFileError(error);
        return false;
    }
    settingsFile = path;
    NoteSettingsSaved();
    return true;
}
