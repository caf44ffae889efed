// The commands of the model test: each one does what an editor command
// does to the document, through the same calls, and what it means to the
// model. A new command is one function and one row of kCommands.
#include <math.h>
#include <string.h>

#include <algorithm>
#include <deque>

#include "tests/model/DocumentModel.h"

namespace
{
using Command = void (*)(ModelWorld&, CommandBytes&);

// Map position under a view pixel, and the view pixel of a map position.
float MapX(const ModelWorld& w, int px)
{
    return w.document.ViewToMapX(px);
}
float MapY(const ModelWorld& w, int py)
{
    return w.document.ViewToMapY(py);
}

bool Has(const std::vector<uint32_t>& sorted, uint32_t index)
{
    return std::binary_search(sorted.begin(), sorted.end(), index);
}

// A pixel on or near one of the objects (or anywhere, now and then).
void PickPixel(ModelWorld& w, CommandBytes& in)
{
    const std::vector<PlacedObject>& objects = w.model.now.objects;
    if (!objects.empty() && in.Pick(4) != 0)
    {
        const PlacedObject& o = objects[(size_t)in.Pick((int)objects.size())];
        w.pointerX = (int)floorf(w.document.MapToViewX(o.x)) + in.Pick(15) - 7;
        w.pointerY = (int)floorf(w.document.MapToViewY(o.y)) + in.Pick(15) - 7;
        return;
    }
    w.pointerX = in.Pick(640) - 20;
    w.pointerY = in.Pick(640) - 20;
}

// The selection after the objects at these ascending indices went.
std::vector<uint32_t> AfterRemoval(const std::vector<uint32_t>& selection,
                                   const std::vector<uint32_t>& removed)
{
    std::vector<uint32_t> kept;
    for (uint32_t s : selection)
    {
        if (!Has(removed, s))
            kept.push_back(s - (uint32_t)(std::lower_bound(removed.begin(), removed.end(), s) -
                                          removed.begin()));
    }
    return kept;
}

void EraseObjects(Model& m, const std::vector<uint32_t>& removed)
{
    for (size_t k = removed.size(); k-- > 0;)
        m.now.objects.erase(m.now.objects.begin() + removed[k]);
    m.selection = AfterRemoval(m.selection, removed);
}

void RemoveObjects(Model& m, const std::vector<uint32_t>& removed)
{
    const ModelState before = m.now;
    EraseObjects(m, removed);
    m.Commit(before);
}

bool SameSettings(const MapSettings& a, const MapSettings& b)
{
    return MapDocument::EncodeSettings(a) == MapDocument::EncodeSettings(b) &&
           a.colormapTexture == b.colormapTexture && a.heightmapTexture == b.heightmapTexture &&
           a.width == b.width && a.height == b.height;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      { return tolower((unsigned char)x) == tolower((unsigned char)y); });
}

// What Copy takes: the selected objects whose type is in the catalog, with
// their types' paths.
ObjectGroup CopyOf(const Model& m)
{
    ObjectGroup group;
    for (uint32_t index : m.selection)
    {
        PlacedObject o = m.now.objects[index];
        if (o.type >= m.now.types.size())
            continue;
        size_t t = 0;
        while (t < group.types.size() && group.types[t].path != m.now.types[o.type].path)
            ++t;
        if (t == group.types.size())
            group.types.push_back(m.now.types[o.type]);
        o.type = (uint8_t)t;
        group.objects.push_back(o);
    }
    return group;
}

// Paste and Duplicate: types found by path (case ignored) or added, the
// group moved but kept on the map, and the new objects selected.
void InsertGroup(Model& m, const ObjectGroup& group, float dx, float dy)
{
    if (group.objects.empty() || group.types.size() > 256)
        return;
    ModelState after = m.now;
    std::vector<size_t> mapped;
    for (const ObjectType& type : group.types)
    {
        size_t t = 0;
        while (t < after.types.size() && !SamePath(after.types[t].path, type.path))
            ++t;
        if (t == after.types.size())
            after.types.push_back(type);
        if (t >= 256)
            return;
        mapped.push_back(t);
    }
    KeepOnMap(BoundsOf(group.objects), &dx, &dy);
    m.selection.clear();
    for (PlacedObject o : group.objects)
    {
        o.type = (uint8_t)mapped[o.type];
        o.x = MovedOnMap(o.x, dx);
        o.y = MovedOnMap(o.y, dy);
        m.selection.push_back((uint32_t)after.objects.size());
        after.objects.push_back(o);
    }
    const ModelState before = m.now;
    m.now = after;
    m.Commit(before);
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

void Expect(ModelWorld& w, bool document, bool model, const char* what)
{
    if (document != model && w.failure.empty())
        w.failure = std::string(what) + (document ? " succeeded" : " failed") +
                    " where the model says otherwise";
}

// ---- Pointer ----

void Release(ModelWorld& w, CommandBytes&)
{
    MapDocument& d = w.document;
    Model& m = w.model;
    if (w.gesture == ModelWorld::Gesture::Band)
    {
        d.SelectInViewRect((float)w.bandX, (float)w.bandY, (float)w.pointerX, (float)w.pointerY,
                           w.bandAdds);
        if (!w.bandAdds)
            m.selection.clear();
        for (size_t i = 0; i < m.now.objects.size(); ++i)
        {
            const float x = d.MapToViewX(m.now.objects[i].x), y = d.MapToViewY(m.now.objects[i].y);
            if (x >= std::min(w.bandX, w.pointerX) && x <= std::max(w.bandX, w.pointerX) &&
                y >= std::min(w.bandY, w.pointerY) && y <= std::max(w.bandY, w.pointerY) &&
                !Has(m.selection, (uint32_t)i))
                m.selection.insert(std::upper_bound(m.selection.begin(), m.selection.end(), i),
                                   (uint32_t)i);
        }
    }
    if (w.gesture == ModelWorld::Gesture::Drag)
    {
        d.EndDrag();
        m.EndDrag();
    }
    w.gesture = ModelWorld::Gesture::None;
}

void Press(ModelWorld& w, CommandBytes& in)
{
    Release(w, in);
    MapDocument& d = w.document;
    Model& m = w.model;
    PickPixel(w, in);
    const bool shift = in.Pick(4) == 0;
    const int hit = d.HitTest(w.pointerX, w.pointerY);
    if (hit >= 0 && shift)
    {
        d.ToggleSelected(hit);
        if (Has(m.selection, (uint32_t)hit))
            m.selection.erase(std::lower_bound(m.selection.begin(), m.selection.end(), hit));
        else
            m.selection.insert(std::upper_bound(m.selection.begin(), m.selection.end(), hit), hit);
        return;
    }
    if (hit < 0)
    {
        if (!shift)
        {
            d.ClearSelection();
            m.selection.clear();
        }
        w.gesture = ModelWorld::Gesture::Band;
        w.bandX = w.pointerX;
        w.bandY = w.pointerY;
        w.bandAdds = shift;
        return;
    }
    const float grabX = MapX(w, w.pointerX), grabY = MapY(w, w.pointerY);
    d.BeginDrag(hit, grabX, grabY);
    // The press moves nothing: it keeps where the object was grabbed.
    m.EndDrag();
    if (!Has(m.selection, (uint32_t)hit))
        m.selection = {(uint32_t)hit};
    m.dragGroup = m.selection;
    m.dragPicked = (size_t)(std::lower_bound(m.selection.begin(), m.selection.end(), hit) -
                            m.selection.begin());
    m.dragStart = m.now;
    m.grabOffset = {m.now.objects[hit].x - grabX, m.now.objects[hit].y - grabY};
    m.dragOpen = true;
    w.gesture = ModelWorld::Gesture::Drag;
}

void Move(ModelWorld& w, CommandBytes& in)
{
    const int step = in.Pick(3) == 0 ? 200 : 12;
    w.pointerX += in.Pick(2 * step + 1) - step;
    w.pointerY += in.Pick(2 * step + 1) - step;
    Model& m = w.model;
    if (w.gesture != ModelWorld::Gesture::Drag)
        return;
    const float pointerX = MapX(w, w.pointerX), pointerY = MapY(w, w.pointerY);
    w.document.DragTo(pointerX, pointerY);
    if (!m.dragOpen)
        return;
    // The selection follows the pointer's motion since the press.
    float x = pointerX + m.grabOffset.x, y = pointerY + m.grabOffset.y;
    if (m.snap)
    {
        x = SnapToCellCentre(x, m.now.settings.width);
        y = SnapToCellCentre(y, m.now.settings.height);
    }
    std::vector<MapPoint> from;
    for (uint32_t index : m.dragGroup)
        from.push_back({m.dragStart.objects[index].x, m.dragStart.objects[index].y});
    const MapPoint start = from[m.dragPicked];
    float dx = x - start.x, dy = y - start.y;
    const float wantedX = dx, wantedY = dy;
    KeepOnMap(BoundsOf(from), &dx, &dy);
    for (size_t k = 0; k < from.size(); ++k)
    {
        PlacedObject& o = m.now.objects[m.dragGroup[k]];
        o.x = MovedOnMap(from[k].x, dx);
        o.y = MovedOnMap(from[k].y, dy);
        if (k == m.dragPicked && dx == wantedX && x >= 0.0f && x <= 1.0f)
            o.x = x; // the picked object lands exactly where it is led
        if (k == m.dragPicked && dy == wantedY && y >= 0.0f && y <= 1.0f)
            o.y = y;
    }
}

void Place(ModelWorld& w, CommandBytes& in)
{
    PickPixel(w, in);
    float x = MapX(w, w.pointerX), y = MapY(w, w.pointerY);
    const short rotation = (short)(45 * in.Pick(8));
    w.document.PlaceObject(x, y, rotation);
    Model& m = w.model;
    m.EndDrag();
    const int type = m.currentType;
    if (m.snap)
    {
        x = SnapToCellCentre(x, m.now.settings.width);
        y = SnapToCellCentre(y, m.now.settings.height);
    }
    if (type < 0 || (size_t)type >= m.now.types.size() || type > 255 ||
        !MapDocument::InsideMap(x, y))
        return;
    const ModelState before = m.now;
    PlacedObject o = {};
    o.type = (uint8_t)type;
    o.x = x;
    o.y = y;
    o.rotation = rotation;
    m.now.objects.push_back(o);
    m.Commit(before);
}

// ---- Keys and the Edit menu ----

void Nudge(ModelWorld& w, CommandBytes& in)
{
    const int cellsX = (in.Pick(3) - 1) * (in.Pick(3) == 0 ? 10 : 1);
    const int cellsY = (in.Pick(3) - 1) * (in.Pick(3) == 0 ? 10 : 1);
    w.document.NudgeSelection(cellsX, cellsY);
    Model& m = w.model;
    m.EndDrag();
    const MapSettings& s = m.now.settings;
    if (s.width <= 0 || s.height <= 0 || (cellsX == 0 && cellsY == 0))
        return;
    float dx = (float)cellsX / (float)s.width, dy = (float)cellsY / (float)s.height;
    std::vector<MapPoint> from;
    for (uint32_t index : m.selection)
        from.push_back({m.now.objects[index].x, m.now.objects[index].y});
    KeepOnMap(BoundsOf(from), &dx, &dy);
    const ModelState before = m.now;
    for (size_t k = 0; k < from.size(); ++k)
    {
        m.now.objects[m.selection[k]].x = MovedOnMap(from[k].x, dx);
        m.now.objects[m.selection[k]].y = MovedOnMap(from[k].y, dy);
    }
    if (!from.empty() && memcmp(before.objects.data(), m.now.objects.data(),
                                m.now.objects.size() * sizeof(PlacedObject)) != 0)
        m.Commit(before);
}

void Rotate(ModelWorld& w, CommandBytes& in)
{
    const int degrees = in.Pick(2) ? 45 : -45;
    w.document.RotateSelection(degrees);
    Model& m = w.model;
    m.EndDrag();
    if (m.selection.empty())
        return;
    const ModelState before = m.now;
    for (uint32_t index : m.selection)
    {
        PlacedObject& o = m.now.objects[index];
        o.rotation = (int16_t)(((o.rotation + degrees) % 360 + 360) % 360);
    }
    m.Commit(before);
}

void SetType(ModelWorld& w, CommandBytes&)
{
    w.document.SetSelectionType(w.document.currentType);
    Model& m = w.model;
    m.EndDrag();
    const int type = m.currentType;
    if (type < 0 || (size_t)type >= m.now.types.size() || type > 255)
        return;
    const ModelState before = m.now;
    std::vector<uint32_t> changed;
    for (uint32_t index : m.selection)
    {
        if (m.now.objects[index].type != type)
        {
            m.now.objects[index].type = (uint8_t)type;
            changed.push_back(index);
        }
    }
    if (changed.empty())
        return;
    m.selection = changed; // what changed stays selected
    m.Commit(before);
}

void ChooseType(ModelWorld& w, CommandBytes& in)
{
    w.model.currentType = in.Pick((int)w.model.now.types.size() + 1) - 1;
    w.document.currentType = w.model.currentType;
}

void Delete(ModelWorld& w, CommandBytes&)
{
    w.document.DeleteSelection();
    w.model.EndDrag();
    if (!w.model.selection.empty())
        RemoveObjects(w.model, w.model.selection);
}

void DeleteAtPopup(ModelWorld& w, CommandBytes& in)
{
    PickPixel(w, in);
    const int hit = w.document.HitTest(w.pointerX, w.pointerY);
    w.document.DeleteObject(hit);
    w.model.EndDrag();
    if (hit >= 0)
        RemoveObjects(w.model, {(uint32_t)hit});
}

void CopyOrCut(ModelWorld& w, CommandBytes& in)
{
    const ObjectGroup group = w.document.CopySelection();
    if (group.objects.empty())
        return;
    w.clipboard = EncodeObjectGroup(group);
    w.modelClipboard = CopyOf(w.model);
    if (in.Pick(2) == 0)
        return;
    w.document.DeleteSelection("Cut");
    w.model.EndDrag();
    RemoveObjects(w.model, w.model.selection);
}

// Maps stay small enough for the thousands of commands a second that the
// sanitizers allow: beyond this many objects nothing more is pasted.
const size_t kObjectsAtMost = 300;

void Paste(ModelWorld& w, CommandBytes& in)
{
    ObjectGroup group;
    if (w.model.now.objects.size() > kObjectsAtMost || w.clipboard.empty() ||
        !DecodeObjectGroup(w.clipboard.data(), w.clipboard.size(), &group))
        return;
    const bool atPointer = in.Pick(2) == 0;
    const float dx = atPointer ? in.Fraction() - 0.5f : 0.0f;
    const float dy = atPointer ? in.Fraction() - 0.5f : 0.0f;
    w.document.InsertGroup(group, dx, dy, "Paste");
    w.model.EndDrag();
    InsertGroup(w.model, w.modelClipboard, dx, dy);
}

void Duplicate(ModelWorld& w, CommandBytes&)
{
    MapDocument& d = w.document;
    if (w.model.now.objects.size() > kObjectsAtMost)
        return;
    const float dx = d.width > 0 ? 1.0f / (float)d.width : 0.0f;
    const float dy = d.height > 0 ? 1.0f / (float)d.height : 0.0f;
    const ObjectGroup modelGroup = CopyOf(w.model);
    d.InsertGroup(d.CopySelection(), dx, dy, "Duplicate");
    w.model.EndDrag();
    InsertGroup(w.model, modelGroup, dx, dy);
}

void SelectAllOrNone(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    m.selection.clear();
    if (in.Pick(2) == 0)
    {
        w.document.SelectAll();
        for (size_t i = 0; i < m.now.objects.size(); ++i)
            m.selection.push_back((uint32_t)i);
        return;
    }
    w.document.ClearSelection();
    if (w.gesture == ModelWorld::Gesture::Band)
        w.gesture = ModelWorld::Gesture::None; // Escape ends a rubber band
}

void Undo(ModelWorld& w, CommandBytes& in)
{
    const bool redo = in.Pick(3) == 0;
    const int count = in.Pick(4) == 0 && !w.fillHistory ? 2000 : in.Pick(6) + 1;
    for (int i = 0; i < count && w.failure.empty(); ++i)
    {
        const bool done = redo ? w.document.Redo() : w.document.Undo();
        Expect(w, done, redo ? w.model.Redo() : w.model.Undo(), redo ? "Redo" : "Undo");
        // The steps' own actions decide what is selected afterwards.
        w.model.selection = w.document.CurrentSelection().Indices();
        if (w.failure.empty())
            w.failure = w.Check();
        if (!done)
            break;
    }
}

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
    Expect(w, saved, path != "locked.mob", "Save Objects");
    if (!saved)
        return;
    m.savedObjects = ObjectBytes(m.now);
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
    Expect(w, saved, path != "locked.ini", "Save Map");
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
    Expect(w, w.document.LoadObjects(path, w.files), readable, "Load Objects");
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
    Expect(w, w.document.LoadSettings(path, w.files, w.images, &problems),
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
    Expect(w, d.LoadSettings(map, w.files, w.images), true, "Restore");
    d.settingsFile = w.recoveredMap;
    d.objectMap = w.recoveredObjects;
    d.MarkUnsaved();
    OpenModelMap(w, m.settingsOnDisk[map]);
    m.settingsFile = w.recoveredMap;
    m.now.settings.objectMap = w.recoveredObjects;
    m.objectsUnsaved = m.settingsUnsaved = true;
}

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
