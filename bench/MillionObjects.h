// Shared by the benchmarks that run the editor with a million objects: the
// laid-out program directory as the current directory, and an object file of
// many objects of the sample types spread over the whole map.
#ifndef MAPEDITOR_BENCH_MILLIONOBJECTS_H
#define MAPEDITOR_BENCH_MILLIONOBJECTS_H

#include <windows.h>

#include <string.h>

#include <string>
#include <vector>

#include "document/MapDocument.h"

// The folder of this program (<build>\bench\...), without the name.
inline std::string ProgramFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return std::string();
    char* slash = strrchr(path, '\\');
    if (!slash)
        return std::string();
    *slash = '\0';
    return path;
}

// <build>\dist\editor, where the editor runs with the sample map.
inline std::string EditorFolder()
{
    return ProgramFolder() + "\\..\\dist\\editor";
}

inline bool EnterProgramDirectory()
{
    return SetCurrentDirectoryA(EditorFolder().c_str()) != 0;
}

// Objects of three sample types at fixed pseudo-random places over the
// whole map, turned in steps of 45 degrees, saved through `files`.
inline bool WriteObjectFile(const std::string& path, size_t count, FileSystem& files)
{
    MapDocument document;
    std::vector<ObjectType> types = {ObjectType{"..\\objects\\tree.ini"},
                                     ObjectType{"..\\objects\\rock.ini"},
                                     ObjectType{"..\\objects\\house.ini"}};
    std::vector<PlacedObject> objects(count);
    unsigned state = 2024;
    for (size_t i = 0; i < count; ++i)
    {
        memset(&objects[i], 0, sizeof(PlacedObject));
        state = state * 1664525u + 1013904223u;
        objects[i].x = (float)(state >> 8) / 16777216.0f;
        state = state * 1664525u + 1013904223u;
        objects[i].y = (float)(state >> 8) / 16777216.0f;
        objects[i].type = (uint8_t)(i % 3);
        objects[i].rotation = (int16_t)(45 * (i % 8));
    }
    document.SwapContents(&types, &objects);
    return document.SaveObjects(path, files);
}

#endif
