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

int TurnedRotation(int rotation, int degrees)
{
    return ((rotation + degrees) % 360 + 360) % 360;
}
} // namespace

void MapDocument::SnapToCell(float* x, float* y) const
{
    if (!snapToCells)
        return;
    *x = SnapToCellCentre(*x, width);
    *y = SnapToCellCentre(*y, height);
}

bool MapDocument::PlaceObject(float x, float y, short rotation)
{
    EndOpenGesture();
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
    if (pickedIndex < 0 || pickedIndex >= ObjectCount())
        BeginDrag(pickedIndex, 0.0f, 0.0f);
    else
        BeginDrag(pickedIndex, objects[pickedIndex].x, objects[pickedIndex].y);
}

void MapDocument::BeginDrag(int pickedIndex, float grabX, float grabY)
{
    EndOpenGesture();
    if (pickedIndex < 0 || !IsObjectSelectable((size_t)pickedIndex))
        return;
    if (!IsSelected((size_t)pickedIndex))
        SelectOnly(pickedIndex);
    drag_.indices = SelectedIndices();
    drag_.picked = (uint32_t)(std::lower_bound(drag_.indices.begin(), drag_.indices.end(),
                                               (uint32_t)pickedIndex) -
                              drag_.indices.begin());
    drag_.before = PositionsOf(objects, drag_.indices);
    const MapPoint& picked = drag_.before[drag_.picked];
    drag_.grabOffset = {picked.x - grabX, picked.y - grabY};
    if (!isfinite(drag_.grabOffset.x) || !isfinite(drag_.grabOffset.y))
        drag_.grabOffset = {0.0f, 0.0f}; // a centre off in no-number land: none kept
    drag_.versionBefore = objectsVersion_;
    drag_.active = true;
}

void MapDocument::DragTo(float x, float y)
{
    if (!drag_.active || !isfinite(x) || !isfinite(y))
        return;
    // Where the picked object goes: under the pointer as it was grabbed. A
    // press at its centre keeps no offset, so it lands on x exactly.
    if (drag_.grabOffset.x != 0.0f)
        x += drag_.grabOffset.x;
    if (drag_.grabOffset.y != 0.0f)
        y += drag_.grabOffset.y;
    SnapToCell(&x, &y);
    const MapPoint& start = drag_.before[drag_.picked];
    float dx = x - start.x;
    float dy = y - start.y;
    const float wantedX = dx, wantedY = dy;
    KeepOnMap(BoundsOf(drag_.before), &dx, &dy);
    RewritingObjects(drag_.indices);
    bool moved = false;
    for (size_t k = 0; k < drag_.indices.size(); ++k)
    {
        PlacedObject& object = objects[drag_.indices[k]];
        const MapPoint& from = drag_.before[k];
        MapPoint to = {MovedOnMap(from.x, dx), MovedOnMap(from.y, dy)};
        // The picked object lands exactly where it is led unless the map's
        // edge holds the group back.
        if (k == drag_.picked)
        {
            to.x = dx == wantedX && InsideMap(x, 0.0f) ? x : to.x;
            to.y = dy == wantedY && InsideMap(0.0f, y) ? y : to.y;
        }
        object.x = to.x;
        object.y = to.y;
        moved = moved || !SamePoint(to, from);
    }
    RewroteObjects(drag_.indices);
    // Moved contents are new contents; back where they began, the old ones.
    objectsVersion_ = moved ? ++lastVersion_ : drag_.versionBefore;
}

bool MapDocument::EndDrag()
{
    if (!drag_.active)
        return false;
    DragState drag = std::move(drag_);
    drag_ = DragState();
    objectsVersion_ = drag.versionBefore;
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
    EndOpenGesture();
    if (width <= 0 || height <= 0 || (cellsX == 0 && cellsY == 0))
        return false;
    std::vector<uint32_t> indices = SelectedIndices();
    std::vector<MapPoint> before = PositionsOf(objects, indices);
    float dx = (float)cellsX / (float)width;
    float dy = (float)cellsY / (float)height;
    KeepOnMap(BoundsOf(before), &dx, &dy);
    bool changed = false;
    std::vector<MapPoint> after = before;
    for (MapPoint& point : after)
    {
        const MapPoint was = point;
        point.x = MovedOnMap(point.x, dx);
        point.y = MovedOnMap(point.y, dy);
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
    EndOpenGesture();
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
    EndOpenGesture();
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
    EndOpenGesture();
    if (index < 0 || index >= ObjectCount())
        return false;
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeRemoveObjects(*this, {(uint32_t)index}));
    Commit("Delete", kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::SetSelectionType(int type)
{
    EndOpenGesture();
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
    EndOpenGesture();
    if (path.size() > kMaxObjectTypePath)
        return false;
    std::vector<std::unique_ptr<EditAction>> actions;
    actions.push_back(MakeInsertType(objectTypes.size(), ObjectType{path}, false));
    Commit("Import Object Type", kObjectsPart, std::move(actions));
    return true;
}

bool MapDocument::RemoveType(int type)
{
    EndOpenGesture();
    if (type < 0 || (size_t)type >= objectTypes.size())
        return false;
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
    EndOpenGesture();
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
    EndOpenGesture();
    const MapSettings before = Settings();
    const bool settingsChanged = !SameSettings(before, settings);
    if (!settingsChanged && !reloaded)
        return false;
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
    EndOpenGesture();
    if (group.objects.empty() || group.types.size() > kTypesARecordCanName)
        return false;
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

    KeepOnMap(BoundsOf(group.objects), &dx, &dy);
    std::vector<uint32_t> indices;
    std::vector<PlacedObject> records;
    indices.reserve(group.objects.size());
    records.reserve(group.objects.size());
    for (const PlacedObject& object : group.objects)
    {
        PlacedObject placed = object;
        placed.type = (uint8_t)mapped[object.type];
        placed.x = MovedOnMap(object.x, dx);
        placed.y = MovedOnMap(object.y, dy);
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
