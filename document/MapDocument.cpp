// The map document: start-up, hit testing, the selection, the changes made
// outside the history, and the history's undo and redo with the change
// tracking. The undoable edits are in DocumentEdits.cpp, the files in
// SettingsFile.cpp and ObjectPlacementFile.cpp.
#include "document/MapDocument.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <utility>

namespace
{
const char kDetailMapFile[] = "..\\maps\\detail-map.bmp";
const char kObjectImageFile[] = "..\\art\\ui\\objectimage.bmp";
const char kColormapFile[] = "..\\maps\\area1-colormap.bmp";

// Half the side of an object's marker box in view pixels.
const float kHitHalfSize = 8.0f;
// The "6x" zoom of start-up: one heightmap pixel spans twelve view pixels.
const int kStartViewScalePerPixel = 12;
} // namespace

std::string StepName(const char* verb, size_t objectCount)
{
    if (objectCount == 1)
        return verb;
    return std::string(verb) + " " + std::to_string(objectCount) + " Objects";
}

void MapDocument::Init(ImageSource& images, const std::string& heightmapFile)
{
    LoadHeightmap(images, heightmapFile);
    quadDepth = 4;
    viewScale = width * kStartViewScalePerPixel;
    // The detail map stays loaded for the whole run; nothing refers to it.
    LoadImageSlot(images, kDetailMapFile);
    objectImageTexture = LoadImageSlot(images, kObjectImageFile);
    const LoadedImage colormap = images.Load(kColormapFile);
    colormapTexture = colormap.slot;
    colormapFile = colormap.slot >= 0 ? colormap.name : std::string(kColormapFile);
}

int MapDocument::LoadImageSlot(ImageSource& images, const std::string& fileName)
{
    return images.Load(fileName).slot;
}

void MapDocument::LoadHeightmap(ImageSource& images, const std::string& fileName)
{
    const LoadedImage image = images.LoadHeightmap(fileName);
    NoteHeightSamples(image);
    heightmapTexture = image.slot;
    heightmapFile = image.slot >= 0 ? image.name : fileName;
    if (image.slot < 0)
        return; // size and spacing keep their values
    // The source image's size, not the size of the texture made from it.
    width = image.width;
    height = image.height;
    spacing = 10;
}

bool MapDocument::InsideMap(float x, float y)
{
    return x >= 0.0f && x <= 1.0f && y >= 0.0f && y <= 1.0f;
}

int MapDocument::HitTest(int px, int py) const
{
    // The box edges are truncated toward zero as whole pixels and the bounds
    // are strict, so a marker at a whole-pixel position answers to 15 x 15
    // pixels. The edges are compared as doubles: positions far off the map
    // (or not numbers at all, from a damaged file) must not be converted to
    // int, and simply miss.
    for (size_t i = 0; i < objects.size(); ++i)
    {
        const float sx = MapToViewX(objects[i].x);
        const float sy = MapToViewY(objects[i].y);
        const double left = trunc((double)(sx - kHitHalfSize));
        const double right = trunc((double)(sx + kHitHalfSize));
        const double top = trunc((double)(sy - kHitHalfSize));
        const double bottom = trunc((double)(sy + kHitHalfSize));
        if (left < px && px < right && top < py && py < bottom)
            return (int)i; // the earliest placed wins, not the nearest
    }
    return -1;
}

const ObjectType* MapDocument::FindObjectType(int type) const
{
    if (type < 0 || (size_t)type >= objectTypes.size())
        return nullptr;
    return &objectTypes[(size_t)type];
}

size_t MapDocument::CountObjectsOfType(int type) const
{
    size_t count = 0;
    for (const PlacedObject& object : objects)
        count += object.type == type;
    return count;
}

// ---- Selection ----

std::vector<uint32_t> MapDocument::SelectedIndices() const
{
    std::vector<uint32_t> indices = selection_.Indices();
    // Objects changed behind the document's back (tests do) select nothing.
    while (!indices.empty() && indices.back() >= objects.size())
        indices.pop_back();
    return indices;
}

void MapDocument::SelectOnly(int index)
{
    SyncSelection();
    selection_.Clear();
    if (index >= 0 && index < ObjectCount())
        selection_.Set((size_t)index, true);
}

void MapDocument::SelectOnly(const std::vector<uint32_t>& indices)
{
    SyncSelection();
    selection_.SelectOnly(indices);
}

void MapDocument::ToggleSelected(int index)
{
    SyncSelection();
    if (index >= 0 && index < ObjectCount())
        selection_.Set((size_t)index, !selection_.Has((size_t)index));
}

void MapDocument::SelectAll()
{
    SyncSelection();
    selection_.SelectAll();
}

void MapDocument::ClearSelection()
{
    SyncSelection();
    selection_.Clear();
}

void MapDocument::SelectInViewRect(float x0, float y0, float x1, float y1, bool add)
{
    SyncSelection();
    if (!add)
        selection_.Clear();
    const float left = std::min(x0, x1), right = std::max(x0, x1);
    const float top = std::min(y0, y1), bottom = std::max(y0, y1);
    for (size_t i = 0; i < objects.size(); ++i)
    {
        const float sx = MapToViewX(objects[i].x);
        const float sy = MapToViewY(objects[i].y);
        if (sx >= left && sx <= right && sy >= top && sy <= bottom)
            selection_.Set(i, true); // NaN positions compare false: never inside
    }
}

// ---- Changes outside the history ----

bool MapDocument::AddObjectType(const std::string& path)
{
    if (path.size() > kMaxObjectTypePath)
        return false;
    InsertTypeAt(objectTypes.size(), ObjectType{path});
    return true;
}

void MapDocument::AddObject(const PlacedObject& object)
{
    objects.push_back(object);
    SyncSelection();
}

void MapDocument::RemoveObject(int index)
{
    if (index < 0 || index >= ObjectCount())
        return;
    RemoveObjectsAt({(uint32_t)index}, nullptr);
}

void MapDocument::SwapContents(std::vector<ObjectType>* types, std::vector<PlacedObject>* records)
{
    objectTypes.swap(*types);
    objects.swap(*records);
    selection_ = Selection();
    SyncSelection();
    ++catalogRevision_;
}

MapSettings MapDocument::Settings() const
{
    MapSettings s;
    s.colormapFile = colormapFile;
    s.heightmapFile = heightmapFile;
    s.detailMap = detailMap;
    s.objectMap = objectMap;
    s.colormapTexture = colormapTexture;
    s.heightmapTexture = heightmapTexture;
    s.width = width;
    s.height = height;
    s.spacing = spacing;
    s.quadDepth = quadDepth;
    return s;
}

void MapDocument::SetSettings(const MapSettings& s)
{
    colormapFile = s.colormapFile;
    heightmapFile = s.heightmapFile;
    detailMap = s.detailMap;
    objectMap = s.objectMap;
    colormapTexture = s.colormapTexture;
    heightmapTexture = s.heightmapTexture;
    width = s.width;
    height = s.height;
    spacing = s.spacing;
    quadDepth = s.quadDepth;
    FollowHeightmapSlot();
}

void MapDocument::NoteHeightSamples(const LoadedImage& heightmap)
{
    if (heightmap.slot < 0)
        return;
    samplesBySlot_[heightmap.slot] = heightmap.samples;
    heightSamples = heightmap.samples;
}

void MapDocument::FollowHeightmapSlot()
{
    const auto kept = samplesBySlot_.find(heightmapTexture);
    if (kept != samplesBySlot_.end())
        heightSamples = kept->second;
}

void MapDocument::InsertObjectsAt(const std::vector<uint32_t>& indices,
                                  const std::vector<PlacedObject>& records, bool select)
{
    SyncSelection();
    InsertAtIndices(&objects, indices, records);
    selection_.Insert(indices, select);
}

void MapDocument::RemoveObjectsAt(const std::vector<uint32_t>& indices,
                                  std::vector<PlacedObject>* removed)
{
    SyncSelection();
    RemoveAtIndices(&objects, indices, removed);
    selection_.Remove(indices);
}

void MapDocument::InsertTypeAt(size_t index, const ObjectType& type)
{
    objectTypes.insert(objectTypes.begin() + (std::ptrdiff_t)index, type);
    ++catalogRevision_;
}

void MapDocument::RemoveTypeAt(size_t index)
{
    objectTypes.erase(objectTypes.begin() + (std::ptrdiff_t)index);
    ++catalogRevision_;
}

// ---- History and change tracking ----

void MapDocument::Commit(const std::string& name, unsigned parts,
                         std::vector<std::unique_ptr<EditAction>> actions, bool alreadyDone)
{
    EditStep step;
    step.name = name;
    step.parts = parts;
    step.actions = std::move(actions);
    for (const std::unique_ptr<EditAction>& action : step.actions)
    {
        if (!alreadyDone)
            action->Redo(*this);
    }
    step.objectsBefore = step.objectsAfter = objectsVersion_;
    step.settingsBefore = step.settingsAfter = settingsVersion_;
    if (parts & kObjectsPart)
        objectsVersion_ = step.objectsAfter = ++lastVersion_;
    if (parts & kSettingsPart)
        settingsVersion_ = step.settingsAfter = ++lastVersion_;
    history_.Push(std::move(step));
    ++changeCount_;
}

bool MapDocument::Undo()
{
    if (drag_.active)
        EndDrag(); // a drag in progress is finished as its own step first
    EditStep* step = history_.Back();
    if (!step)
        return false;
    for (size_t i = step->actions.size(); i-- > 0;)
        step->actions[i]->Undo(*this);
    objectsVersion_ = step->objectsBefore;
    settingsVersion_ = step->settingsBefore;
    ++changeCount_;
    return true;
}

bool MapDocument::Redo()
{
    if (drag_.active)
        return false; // the drag's step would drop the steps to redo
    EditStep* step = history_.Forward();
    if (!step)
        return false;
    for (const std::unique_ptr<EditAction>& action : step->actions)
        action->Redo(*this);
    objectsVersion_ = step->objectsAfter;
    settingsVersion_ = step->settingsAfter;
    ++changeCount_;
    return true;
}

std::string MapDocument::UndoName() const
{
    const EditStep* step = history_.NextUndo();
    return step ? step->name : std::string();
}

std::string MapDocument::RedoName() const
{
    const EditStep* step = history_.NextRedo();
    return step ? step->name : std::string();
}

std::string MapDocument::DisplayName() const
{
    if (settingsFile.empty())
        return "Untitled";
    const size_t separator = settingsFile.find_last_of("\\/:");
    return separator == std::string::npos ? settingsFile : settingsFile.substr(separator + 1);
}

void MapDocument::MarkUnsaved()
{
    savedObjectsVersion_ = ++lastVersion_;
    savedSettingsVersion_ = ++lastVersion_;
}

void MapDocument::StartNewHistory()
{
    drag_ = DragState();
    history_.Clear();
    objectsVersion_ = savedObjectsVersion_ = ++lastVersion_;
    settingsVersion_ = savedSettingsVersion_ = ++lastVersion_;
}
