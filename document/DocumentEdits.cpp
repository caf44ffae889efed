// The undoable edits of the map document: placing, dragging, nudging,
// turning, deleting, retyping, the catalog's imports and removals, another
// heightmap, the properties, and inserting copied objects. Each builds the
// actions of one step and commits them; an edit that would change nothing
// records nothing.
#include "document/MapDocument.h"

#include <ctype.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <utility>

#include "document/EditActions.h"

namespace
{
// A record's type byte holds 8 bits: only catalog entries 0..255 can be used.
const size_t kTypesARecordCanName = 256;

bool SamePath(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
    {
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    }
    return true;
}

bool SameSettings(const MapSettings& a, const MapSettings& b)
{
    return a.colormapFile == b.colormapFile && a.heightmapFile == b.heightmapFile &&
           a.detailMap == b.detailMap && a.objectMap == b.objectMap &&
           a.colormapTexture == b.colormapTexture && a.heightmapTexture == b.heightmapTexture &&
           a.width == b.width && a.height == b.height && a.spacing == b.spacing &&
           a.quadDepth == b.quadDepth;
}

// The smallest box holding the finite positions of the records.
struct Bounds
{
    float lowX = 1.0f, lowY = 1.0f, highX = 0.0f, highY = 0.0f;
    bool any = false;
};

void Include(Bounds* b, float x, float y)
{
    if (!isfinite(x) || !isfinite(y))
        return;
    if (!b->any)
    {
        b->lowX = b->highX = x;
        b->lowY = b->highY = y;
        b->any = true;
        return;
    }
    b->lowX = std::min(b->lowX, x);
    b->highX = std::max(b->highX, x);
    b->lowY = std::min(b->lowY, y);
    b->highY = std::max(b->highY, y);
}

Bounds BoundsOf(const std::vector<PlacedObject>& records)
{
    Bounds b;
    for (const PlacedObject& r : records)
        Include(&b, r.x, r.y); // copied out: the record is packed, its floats unaligned
    return b;
}

Bounds BoundsOf(const std::vector<MapPoint>& points)
{
    Bounds b;
    for (const MapPoint& p : points)
        Include(&b, p.x, p.y);
    return b;
}

std::vector<MapPoint> PositionsOf(const std::vector<PlacedObject>& objects,
                                  const std::vector<uint32_t>& indices)
{
    std::vector<MapPoint> points;
    points.reserve(indices.size());
    for (uint32_t index : indices)
        points.push_back(MapPoint{objects[index].x, objects[index].y});
    return points;
}

bool SamePoint(const MapPoint& a, const MapPoint& b)
{
    return memcmp(&a, &b, sizeof(MapPoint)) == 0;
}

// Moves a coordinate that lay on the map by d; rounding never takes it off.
float Moved(float from, float d)
{
    const float to = from + d;
    if (from >= 0.0f && from <= 1.0f)
        return std::min(1.0f, std::max(0.0f, to));
    return to;
}

int TurnedRotation(int rotation, int degrees)
{
    return ((rotation + degrees) % 360 + 360) % 360;
}
} // namespace

void MapDocument::KeepOnMap(float lowX, float lowY, float highX, float highY, float* dx, float* dy)
{
    // Never further off the map than the group already is.
    *dx = std::max(*dx, std::min(0.0f, -lowX));
    *dx = std::min(*dx, std::max(0.0f, 1.0f - highX));
    *dy = std::max(*dy, std::min(0.0f, -lowY));
    *dy = std::min(*dy, std::max(0.0f, 1.0f - highY));
}

void MapDocument::SnapToCell(float* x, float* y) const
{
    if (!snapToCells)
        return;
    const auto snap = [](float v, int cells)
    {
        if (cells <= 0 || !isfinite(v))
            return v;
        double cell = floor((double)v * cells);
        cell = std::min((double)cells - 1, std::max(0.0, cell));
        return (float)((cell + 0.5) / cells);
    };
    *x = snap(*x, width);
    *y = snap(*y, height);
}

bool MapDocument::PlaceObject(float x, float y, short rotation)
{
    const int type = currentType;
    if (type < 0 || (size_t)type >= objectTypes.size() || (size_t)type >= kTypesARecordCanName)
        return false;
    SnapToCell(&x, &y);
    if (!isfinite(x) || !isfinite(y) || !InsideMap(x, y))
        return false;
    PlacedObject object = {}; // the reserved bytes of a new record are zero
    object.type = (uint8_t)type;
    object.x = x;
    object.y = y;
    object.rotation = rotation;
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeInsertObjects({(uint32_t)objects.size()}, {object}, false));
    Commit("Place", kObjectsPart, std::move(actions));
    return true;
}

void MapDocument::BeginDrag(int pickedIndex)
{
    drag_ = DragState();
    if (pickedIndex < 0 || pickedIndex >= ObjectCount())
        return;
    if (!IsSelected((size_t)pickedIndex))
        SelectOnly(pickedIndex);
    drag_.indices = SelectedIndices();
    drag_.picked = (uint32_t)(std::lower_bound(drag_.indices.begin(), drag_.indices.end(),
                                               (uint32_t)pickedIndex) -
                              drag_.indices.begin());
    drag_.before = PositionsOf(objects, drag_.indices);
    drag_.active = true;
}

void MapDocument::DragTo(float x, float y)
{
    if (!drag_.active || !isfinite(x) || !isfinite(y))
        return;
    SnapToCell(&x, &y);
    const MapPoint& start = drag_.before[drag_.picked];
    float dx = x - start.x;
    float dy = y - start.y;
    const float wantedX = dx, wantedY = dy;
    const Bounds b = BoundsOf(drag_.before);
    if (b.any)
        KeepOnMap(b.lowX, b.lowY, b.highX, b.highY, &dx, &dy);
    for (size_t k = 0; k < drag_.indices.size(); ++k)
    {
        PlacedObject& object = objects[drag_.indices[k]];
        const MapPoint& from = drag_.before[k];
        // The picked object lands exactly on the pointer unless the map's
        // edge holds the group back.
        if (k == drag_.picked)
        {
            object.x = dx == wantedX && InsideMap(x, 0.0f) ? x : Moved(from.x, dx);
            object.y = dy == wantedY && InsideMap(0.0f, y) ? y : Moved(from.y, dy);
            continue;
        }
        object.x = Moved(from.x, dx);
        object.y = Moved(from.y, dy);
    }
}

bool MapDocument::EndDrag()
{
    if (!drag_.active)
        return false;
    DragState drag = std::move(drag_);
    drag_ = DragState();
    std::vector<MapPoint> after = PositionsOf(objects, drag.indices);
    bool changed = false;
    for (size_t k = 0; k < after.size() && !changed; ++k)
        changed = !SamePoint(after[k], drag.before[k]);
    if (!changed)
        return false;
    const std::string name = StepName("Move", drag.indices.size());
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(
        MakeChangePositions(std::move(drag.indices), std::move(drag.before), std::move(after)));
    // The objects are where the drag put them, and the selection is the group.
    Commit(name, kObjectsPart, std::move(actions), true);
    return true;
}

bool MapDocument::NudgeSelection(int cellsX, int cellsY)
{
    if (width <= 0 || height <= 0 || (cellsX == 0 && cellsY == 0))
        return false;
    std::vector<uint32_t> indices = SelectedIndices();
    std::vector<MapPoint> before = PositionsOf(objects, indices);
    float dx = (float)cellsX / (float)width;
    float dy = (float)cellsY / (float)height;
    const Bounds b = BoundsOf(before);
    if (b.any)
        KeepOnMap(b.lowX, b.lowY, b.highX, b.highY, &dx, &dy);
    bool changed = false;
    std::vector<MapPoint> after = before;
    for (MapPoint& point : after)
    {
        const MapPoint was = point;
        point.x = Moved(point.x, dx);
        point.y = Moved(point.y, dy);
        changed = changed || !SamePoint(was, point);
    }
    if (!changed)
        return false;
    const std::string name = StepName("Move", indices.size());
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeChangePositions(std::move(indices), std::move(before), std::move(after)));
    Commit(name, kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::RotateSelection(int degrees)
{
    std::vector<uint32_t> indices = SelectedIndices();
    if (indices.empty())
        return false;
    std::vector<PlacedObject> before, after;
    before.reserve(indices.size());
    after.reserve(indices.size());
    for (uint32_t index : indices)
    {
        before.push_back(objects[index]);
        after.push_back(objects[index]);
        after.back().rotation = (int16_t)TurnedRotation(after.back().rotation, degrees);
    }
    const std::string name = StepName("Rotate", indices.size());
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeChangeRecords(std::move(indices), std::move(before), std::move(after)));
    Commit(name, kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::DeleteSelection(const char* name)
{
    if (drag_.active)
        EndDrag();
    std::vector<uint32_t> indices = SelectedIndices();
    if (indices.empty())
        return false;
    const std::string stepName = StepName(name, indices.size());
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeRemoveObjects(*this, std::move(indices)));
    Commit(stepName, kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::DeleteObject(int index)
{
    if (index < 0 || index >= ObjectCount())
        return false;
    if (drag_.active)
        EndDrag();
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeRemoveObjects(*this, {(uint32_t)index}));
    Commit("Delete", kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::SetSelectionType(int type)
{
    if (type < 0 || (size_t)type >= objectTypes.size() || (size_t)type >= kTypesARecordCanName)
        return false;
    std::vector<uint32_t> indices;
    std::vector<PlacedObject> before, after;
    for (uint32_t index : SelectedIndices())
    {
        if (objects[index].type == type)
            continue;
        indices.push_back(index);
        before.push_back(objects[index]);
        after.push_back(objects[index]);
        after.back().type = (uint8_t)type;
    }
    if (indices.empty())
        return false;
    const std::string name = StepName("Set Type", indices.size());
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeChangeRecords(std::move(indices), std::move(before), std::move(after)));
    Commit(name, kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::ImportType(const std::string& path)
{
    if (path.size() > kMaxObjectTypePath)
        return false;
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeInsertType(objectTypes.size(), ObjectType{path}, false));
    Commit("Import Object Type", kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::RemoveType(int type)
{
    if (type < 0 || (size_t)type >= objectTypes.size())
        return false;
    if (drag_.active)
        EndDrag();
    std::vector<uint32_t> users;
    for (size_t i = 0; i < objects.size(); ++i)
    {
        if (objects[i].type == type)
            users.push_back((uint32_t)i);
    }
    std::vector<std::unique_ptr<EditAction>> actions;
    if (!users.empty())
        actions.push_back(MakeRemoveObjects(*this, std::move(users)));
    actions.push_back(MakeRemoveType(*this, (size_t)type, true));
    Commit("Remove Type", kObjectsPart, std::move(actions));
    // The palette keeps showing the entry it showed, or none.
    if (currentType == type)
        currentType = -1;
    else if (currentType > type)
        --currentType;
    return true;
}

bool MapDocument::ImportHeightmap(ImageSource& images, const std::string& fileName,
                                  std::string* problem)
{
    const LoadedImage image = images.LoadHeightmap(fileName);
    if (image.slot < 0)
    {
        if (problem)
            *problem = image.problem;
        return false;
    }
    NoteHeightSamples(image);
    MapSettings after = Settings();
    after.heightmapTexture = image.slot;
    after.heightmapFile = image.name;
    after.width = image.width;
    after.height = image.height;
    after.spacing = 10;
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeChangeSettings(Settings(), after));
    Commit("Import Heightmap", kSettingsPart, std::move(actions));
    return true;
}

bool MapDocument::ApplyProperties(const MapSettings& settings, ObjectFileContents* reloaded)
{
    const MapSettings before = Settings();
    const bool settingsChanged = !SameSettings(before, settings);
    if (!settingsChanged && !reloaded)
        return false;
    if (drag_.active)
        EndDrag();
    std::vector<std::unique_ptr<EditAction>> actions;
    unsigned parts = 0;
    if (settingsChanged)
    {
        actions.push_back(MakeChangeSettings(before, settings));
        parts |= kSettingsPart;
    }
    if (reloaded)
    {
        actions.push_back(
            MakeReplaceContents(std::move(reloaded->types), std::move(reloaded->objects)));
        parts |= kObjectsPart;
    }
    Commit("Properties", parts, std::move(actions));
    return true;
}

ObjectGroup MapDocument::CopySelection() const
{
    ObjectGroup group;
    // Catalog index -> index in the group's own list of types.
    std::vector<int> groupType(objectTypes.size(), -1);
    for (uint32_t index : SelectedIndices())
    {
        PlacedObject object = objects[index];
        // An object whose type designates no entry has no path to be pasted
        // as: it is left out.
        if (object.type >= objectTypes.size())
            continue;
        int& mapped = groupType[object.type];
        if (mapped < 0)
        {
            mapped = (int)group.types.size();
            group.types.push_back(objectTypes[object.type]);
        }
        object.type = (uint8_t)mapped;
        group.objects.push_back(object);
    }
    return group;
}

bool MapDocument::InsertGroup(const ObjectGroup& group, float dx, float dy, const char* verb)
{
    if (group.objects.empty() || group.types.size() > kTypesARecordCanName)
        return false;
    if (drag_.active)
        EndDrag();
    // Each of the group's types: an entry of this catalog with the same path,
    // or a new last entry.
    std::vector<size_t> mapped(group.types.size());
    std::vector<ObjectType> added;
    for (size_t t = 0; t < group.types.size(); ++t)
    {
        const std::string& path = group.types[t].path;
        size_t found = 0;
        while (found < objectTypes.size() && !SamePath(objectTypes[found].path, path))
            ++found;
        if (found == objectTypes.size())
        {
            size_t a = 0;
            while (a < added.size() && !SamePath(added[a].path, path))
                ++a;
            if (a == added.size())
            {
                if (path.size() > kMaxObjectTypePath)
                    return false;
                added.push_back(group.types[t]);
            }
            found += a;
        }
        if (found >= kTypesARecordCanName)
            return false; // no record could name it
        mapped[t] = found;
    }
    for (const PlacedObject& object : group.objects)
    {
        if (object.type >= group.types.size())
            return false; // a group record that names none of its types
    }

    const Bounds b = BoundsOf(group.objects);
    if (b.any)
        KeepOnMap(b.lowX, b.lowY, b.highX, b.highY, &dx, &dy);
    std::vector<uint32_t> indices;
    std::vector<PlacedObject> records;
    indices.reserve(group.objects.size());
    records.reserve(group.objects.size());
    for (const PlacedObject& object : group.objects)
    {
        PlacedObject placed = object;
        placed.type = (uint8_t)mapped[object.type];
        placed.x = Moved(object.x, dx);
        placed.y = Moved(object.y, dy);
        indices.push_back((uint32_t)(objects.size() + records.size()));
        records.push_back(placed);
    }
    std::vector<std::unique_ptr<EditAction>> actions;
    for (size_t a = 0; a < added.size(); ++a)
        actions.push_back(MakeInsertType(objectTypes.size() + a, added[a], false));
    const std::string name = StepName(verb, records.size());
    actions.push_back(MakeInsertObjects(std::move(indices), std::move(records), true));
    Commit(name, kObjectsPart, std::move(actions));
    return true;
}
