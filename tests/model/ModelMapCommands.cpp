// The commands of the model test that go through the palette, the map's
// properties and the files, the table of all commands, and the run that
// applies them: a new command is one function and one row of kCommands.
#include <deque>

#include "tests/model/ModelCommands.h"

namespace model
{
namespace
{
bool SameSettings(const MapSettings& a, const MapSettings& b)
{
    return MapDocument::EncodeSettings(a) == MapDocument::EncodeSettings(b) &&
           a.colormapTexture == b.colormapTexture && a.heightmapTexture == b.heightmapTexture &&
           a.width == b.width && a.height == b.height;
}

// A map settings file opened: what it names is loaded (a heightmap that
// cannot be keeps the size), and it is what was last loaded.
void OpenModelMap(ModelWorld& w, const MapSettings& onDisk)
{
    MapSettings s = w.model.now.settings;
    const auto image = [&](const std::string& name, int* slot, std::string* file)
    {
        const LoadedImage loaded = w.images.Load(name.empty() ? "nostring" : name);
        *slot = loaded.slot;
        *file = loaded.slot >= 0 ? loaded.name : name;
        return loaded;
    };
    image(onDisk.colormapFile, &s.colormapTexture, &s.colormapFile);
    const LoadedImage heightmap =
        image(onDisk.heightmapFile, &s.heightmapTexture, &s.heightmapFile);
    if (heightmap.slot >= 0)
    {
        s.width = heightmap.width;
        s.height = heightmap.height;
    }
    s.detailMap = onDisk.detailMap;
    s.objectMap = onDisk.objectMap;
    s.quadDepth = onDisk.quadDepth;
    s.spacing = onDisk.spacing;
    ObjectFileContents contents;
    std::string why;
    if (!s.objectMap.empty() && !MapDocument::ReadObjectFile(s.objectMap, w.files, &contents, &why))
        contents = ObjectFileContents();
    w.model.now = ModelState{contents.types, contents.objects, s};
    w.model.StartNewHistory();
}
} // namespace

// ---- The palette and the map ----

void AddType(ModelWorld& w, CommandBytes& in)
{
    const std::string paths[] = {"a.ini",          "A.INI", "b.ini",
                                 "objects\\c.ini", "d.ini", std::string(128, 'x')};
    const std::string& path = paths[in.Pick(6)];
    w.document.ImportType(path);
    Model& m = w.model;
    m.EndDrag();
    if (path.size() > kMaxObjectTypePath)
        return;
    const ModelState before = m.now;
    m.now.types.push_back(ObjectType{path});
    m.Commit(before);
}

void RemoveType(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    const int type = in.Pick((int)m.now.types.size() + 1);
    w.document.RemoveType(type);
    m.EndDrag();
    if ((size_t)type >= m.now.types.size())
        return;
    const ModelState before = m.now;
    std::vector<uint32_t> users;
    for (size_t i = 0; i < m.now.objects.size(); ++i)
    {
        if (m.now.objects[i].type == type)
            users.push_back((uint32_t)i);
    }
    EraseObjects(m, users);
    for (PlacedObject& o : m.now.objects)
        o.type = (uint8_t)(o.type > type ? o.type - 1 : o.type);
    m.now.types.erase(m.now.types.begin() + type);
    m.Commit(before);
    m.currentType = m.currentType == type ? -1 : m.currentType - (m.currentType > type);
}

void ImportHeightmap(ModelWorld& w, CommandBytes& in)
{
    const char* names[] = {"hills.bmp", "tiny.bmp", "..\\maps\\area1.bmp", "gone.bmp"};
    const std::string name = names[in.Pick(4)];
    w.document.ImportHeightmap(w.images, name);
    Model& m = w.model;
    m.EndDrag();
    const LoadedImage image = w.images.Load(name);
    if (image.slot < 0)
        return;
    const ModelState before = m.now;
    MapSettings& s = m.now.settings;
    s.heightmapTexture = image.slot;
    s.heightmapFile = image.name;
    s.width = image.width;
    s.height = image.height;
    s.spacing = 10;
    m.Commit(before);
}

void Properties(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    MapSettings next = m.now.settings;
    if (in.Pick(2))
        next.quadDepth = (unsigned char)in.Pick(256);
    if (in.Pick(2))
        next.spacing = in.Pick(40);
    if (in.Pick(3) == 0)
        next.detailMap = in.Pick(2) ? "detail.bmp" : "";
    const char* objectFiles[] = {"a.mob", "B.mob", "bad.mob", "missing.mob", ""};
    const std::string objectFile = in.Pick(2) ? objectFiles[in.Pick(5)] : next.objectMap;
    ObjectFileContents contents;
    bool reload = false;
    if (objectFile != next.objectMap && !objectFile.empty())
    {
        std::string why;
        reload = MapDocument::ReadObjectFile(objectFile, w.files, &contents, &why);
        if (reload)
            next.objectMap = objectFile;
    }
    else if (objectFile != next.objectMap)
        next.objectMap.clear();
    ObjectFileContents reloaded = contents;
    w.document.ApplyProperties(next, reload ? &reloaded : nullptr);
    m.EndDrag();
    if (SameSettings(next, m.now.settings) && !reload)
        return;
    const ModelState before = m.now;
    m.now.settings = next;
    if (reload)
    {
        m.now.types = contents.types;
        m.now.objects = contents.objects;
        m.selection.clear();
    }
    m.Commit(before);
}

void ToggleSnap(ModelWorld& w, CommandBytes&)
{
    w.model.snap = !w.model.snap;
    w.document.snapToCells = w.model.snap;
}

// ---- Files ----

void SaveObjects(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    const char* names[] = {"a.mob", "B.mob", "locked.mob"};
    std::string path = m.now.settings.objectMap;
    if (path.empty() || in.Pick(3) == 0)
        path = names[in.Pick(3)];
    const bool saved = w.document.SaveObjects(path, w.files);
    w.Expect(saved, path != "locked.mob", "Save Objects");
    if (!saved)
        return;
    m.savedTypes = m.now.types;
    m.savedRecords = m.now.objects;
    m.objectsUnsaved = false;
    m.now.settings.objectMap = path;
    if (m.settingsFile.empty())
        m.savedSettings.objectMap = path; // no settings file names another
}

void SaveMap(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    const char* names[] = {"one.ini", "two.ini", "locked.ini"};
    std::string path = m.settingsFile;
    if (path.empty() || in.Pick(3) == 0)
        path = names[in.Pick(3)];
    const bool saved = w.document.SaveSettings(path, w.files);
    w.Expect(saved, path != "locked.ini", "Save Map");
    if (!saved)
        return;
    m.savedSettings = m.now.settings;
    m.settingsUnsaved = false;
    m.settingsFile = path;
    m.settingsOnDisk[path] = m.now.settings;
}

void LoadObjects(ModelWorld& w, CommandBytes& in)
{
    const char* names[] = {"a.mob", "B.mob", "bad.mob", "missing.mob", "recovery\\objects.mob"};
    const std::string path = names[in.Pick(5)];
    ObjectFileContents contents;
    std::string why;
    const bool readable = MapDocument::ReadObjectFile(path, w.files, &contents, &why);
    w.Expect(w.document.LoadObjects(path, w.files), readable, "Load Objects");
    if (!readable)
        return;
    Model& m = w.model;
    const MapSettings settingsOnDisk = m.savedSettings;
    const bool settingsUnsaved = m.settingsUnsaved;
    m.now.types = contents.types;
    m.now.objects = contents.objects;
    m.now.settings.objectMap = path;
    m.StartNewHistory();
    // The settings keep what their file holds.
    m.savedSettings = settingsOnDisk;
    m.settingsUnsaved = settingsUnsaved;
    if (m.settingsFile.empty())
        m.savedSettings.objectMap = path;
}

void OpenMap(ModelWorld& w, CommandBytes& in)
{
    const char* names[] = {"one.ini", "two.ini", "bad.ini", "missing.ini"};
    const std::string path = names[in.Pick(4)];
    std::vector<std::string> problems;
    const auto onDisk = w.model.settingsOnDisk.find(path);
    w.Expect(w.document.LoadSettings(path, w.files, w.images, &problems),
             onDisk != w.model.settingsOnDisk.end(), "Open Map");
    if (onDisk == w.model.settingsOnDisk.end())
        return;
    OpenModelMap(w, onDisk->second);
    w.model.settingsFile = path;
}

// A copy of unsaved work as the editor keeps it against a crash, and its
// restoring: the copy's files are read, the work's own names kept, and
// both parts count as unsaved.
void RecoveryCopy(ModelWorld& w, CommandBytes& in)
{
    const std::string map = "recovery\\map.ini", objects = "recovery\\objects.mob";
    MapDocument& d = w.document;
    Model& m = w.model;
    if (in.Pick(2) == 0 || !w.haveRecovery)
    {
        const std::string text = d.EncodeSettings(&objects);
        std::vector<unsigned char> bytes;
        EncodeObjectFile(d.objectTypes, d.objects, &bytes);
        w.files.ReplaceWholeFile(map, text.data(), text.size());
        w.files.ReplaceWholeFile(objects, bytes.data(), bytes.size());
        m.settingsOnDisk[map] = m.now.settings;
        m.settingsOnDisk[map].objectMap = objects;
        w.recoveredMap = m.settingsFile;
        w.recoveredObjects = m.now.settings.objectMap;
        w.haveRecovery = true;
        return;
    }
    w.Expect(d.LoadSettings(map, w.files, w.images), true, "Restore");
    d.settingsFile = w.recoveredMap;
    d.objectMap = w.recoveredObjects;
    d.MarkUnsaved();
    OpenModelMap(w, m.settingsOnDisk[map]);
    m.settingsFile = w.recoveredMap;
    m.now.settings.objectMap = w.recoveredObjects;
    m.objectsUnsaved = m.settingsUnsaved = true;
}
} // namespace model

namespace
{
using namespace model;
using Command = void (*)(ModelWorld&, CommandBytes&);

// How often each command comes; those that start a new history are left
// out of runs that are to fill the history to its limit.
const struct
{
    const char* name;
    int weight;
    Command run;
    bool newHistory = false;
} kCommands[] = {
    {"press", 6, Press},
    {"move", 10, Move},
    {"release", 4, Release},
    {"place", 5, Place},
    {"nudge", 3, Nudge},
    {"rotate", 2, Rotate},
    {"set type", 2, SetType},
    {"choose type", 2, ChooseType},
    {"delete", 2, Delete},
    {"delete at popup", 1, DeleteAtPopup},
    {"copy or cut", 2, CopyOrCut},
    {"paste", 2, Paste},
    {"duplicate", 1, Duplicate},
    {"select all or none", 2, SelectAllOrNone},
    {"undo or redo", 5, Undo},
    {"add type", 2, AddType},
    {"remove type", 1, RemoveType},
    {"import heightmap", 1, ImportHeightmap},
    {"properties", 2, Properties},
    {"snap", 1, ToggleSnap},
    {"brush stroke", 2, BrushAlong},
    {"eraser stroke", 2, EraseAlong},
    {"save objects", 2, SaveObjects},
    {"save map", 1, SaveMap},
    {"load objects", 1, LoadObjects, true},
    {"open map", 1, OpenMap, true},
    {"recovery", 1, RecoveryCopy, true},
};
} // namespace

bool RunDocumentModel(const uint8_t* data, size_t size, std::string* why, size_t* commands)
{
    CommandBytes in(data, size);
    ModelWorld world;
    world.fillHistory = in.Byte() % 8 == 0;
    const auto weight = [&](size_t c)
    { return world.fillHistory && kCommands[c].newHistory ? 0 : kCommands[c].weight; };
    int total = 0;
    for (size_t c = 0; c < sizeof(kCommands) / sizeof(kCommands[0]); ++c)
        total += weight(c);
    std::deque<const char*> recent;
    *commands = 0;
    while (!in.Done())
    {
        int pick = in.Pick(total);
        size_t c = 0;
        while (pick >= weight(c))
            pick -= weight(c++);
        recent.push_back(kCommands[c].name);
        if (recent.size() > 12)
            recent.pop_front();
        kCommands[c].run(world, in);
        ++*commands;
        if (world.failure.empty())
            world.failure = world.Check();
        if (!world.failure.empty())
        {
            *why = world.failure + "; after command " + std::to_string(*commands) + ", the last:";
            for (const char* name : recent)
                *why += std::string(" ") + name;
            return false;
        }
    }
    return true;
}
