// The map document: start-up, hit testing, the selection, the changes made
// outside the history, and the history's undo and redo with the change
// tracking. The undoable edits are in DocumentEdits.cpp, the files in
// SettingsFile.cpp and ObjectPlacementFile.cpp.
#include "document/MapDocument.h"

#include <math.h>
#include <stdio.h>

#include <string.h>

#include <algorithm>
#include <utility>

namespace
{
const char kDetailMapFile[] = "..\\maps\\detail-map.bmp";
const char kObjectImageFile[] = "..\\art\\ui\\objectimage.bmp";
const char kColormapFile[] = "..\\maps\\area1-colormap.bmp";

// The "6x" zoom of start-up: one heightmap pixel spans twelve view pixels.
const int kStartViewScalePerPixel = 12;
} // namespace

std::string StepName(const char* verb, size_t objectCount)
{
    if (objectCount == 1)
        return verb;
    return std::string(verb) + " " + std::to_string(objectCount) + " Objects";
}

void MapDocument::Init(ImageSource& images, const std::string& heightmapFile,
                       std::vector<std::string>* problems)
{
    const auto note =
        [problems](const std::string& name, const char* what, const std::string& problem)
    {
        if (problems && !problem.empty())
            problems->push_back(name + " (" + what + "): " + problem);
    };
    std::string problem;
    LoadHeightmap(images, heightmapFile, &problem);
    note(heightmapFile, "heightmap", problem);
    quadDepth = 4;
    viewScale = width * kStartViewScalePerPixel;
    // The detail map stays loaded for the whole run; nothing refers to it.
    const LoadedImage detail = images.Load(kDetailMapFile);
    note(kDetailMapFile, "detail map", detail.slot < 0 ? detail.problem : std::string());
    const LoadedImage marker = images.Load(kObjectImageFile);
    objectImageTexture = marker.slot;
    note(kObjectImageFile, "object marker", marker.slot < 0 ? marker.problem : std::string());
    const LoadedImage colormap = images.Load(kColormapFile);
    colormapTexture = colormap.slot;
    colormapFile = colormap.slot >= 0 ? colormap.name : std::string(kColormapFile);
    note(kColormapFile, "colormap", colormap.slot < 0 ? colormap.problem : std::string());
    // The start-up map is what Save would compare with until a file is read.
    StartNewHistory();
}

void MapDocument::LoadHeightmap(ImageSource& images, const std::string& fileName,
                                std::string* problem)
{
    const LoadedImage image = images.LoadHeightmap(fileName);
    NoteHeightSamples(image);
    heightmapTexture = image.slot;
    heightmapFile = image.slot >= 0 ? image.name : fileName;
    if (image.slot < 0)
    {
        if (problem)
            *problem = image.problem.empty() ? "it could not be loaded" : image.problem;
        return; // size and spacing keep their values
    }
    // The source image's size, not the size of the texture made from it.
    width = image.width;
    height = image.height;
    spacing = 10;
}

bool MapDocument::InsideMap(float x, float y)
{
    return x >= 0.0f && x <= 1.0f && y >= 0.0f && y <= 1.0f;
}

const ObjectType* MapDocument::FindObjectType(int type) const
{
    if (type < 0 || (size_t)type >= objectTypes.size())
        return nullptr;
    return &objectTypes[(size_t)type];
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
    if (index >= 0 && IsObjectSelectable((size_t)index))
        selection_.Set((size_t)index, true);
}

void MapDocument::SelectOnly(const std::vector<uint32_t>& indices)
{
    SyncSelection();
    selection_.SelectOnly(indices);
    DeselectBlocked(indices);
}

void MapDocument::ToggleSelected(int index)
{
    SyncSelection();
    if (index >= 0 && IsObjectSelectable((size_t)index))
        selection_.Set((size_t)index, !selection_.Has((size_t)index));
}

void MapDocument::ClearSelection()
{
    SyncSelection();
    selection_.Clear();
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
    index_.Inserted(objects, {(uint32_t)(objects.size() - 1)});
    layers_.Counted(object.type);
}

void MapDocument::RemoveObject(int index)
{
    if (index < 0 || index >= ObjectCount())
        return;
    RemoveObjectsAt({(uint32_t)index}, nullptr);
}

void MapDocument::SwapContents(std::vector<ObjectType>* types, std::vector<PlacedObject>* records)
{
    if (Stroking())
        EndStroke();
    objectTypes.swap(*types);
    objects.swap(*records);
    selection_ = Selection();
    SyncSelection();
    ++catalogRevision_;
    index_.Forget();
    layers_.CatalogReplaced(*types, objectTypes);
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
    if (select)
        DeselectBlocked(indices);
    index_.Inserted(objects, indices);
    for (const PlacedObject& record : records)
        layers_.Counted(record.type);
}

void MapDocument::RemoveObjectsAt(const std::vector<uint32_t>& indices,
                                  std::vector<PlacedObject>* removed)
{
    SyncSelection();
    index_.Removing(objects, indices);
    for (uint32_t index : indices)
        layers_.Uncounted(objects[index].type);
    RemoveAtIndices(&objects, indices, removed);
    selection_.Remove(indices);
}

void MapDocument::InsertTypeAt(size_t index, const ObjectType& type)
{
    objectTypes.insert(objectTypes.begin() + (std::ptrdiff_t)index, type);
    ++catalogRevision_;
    layers_.EntryInserted(index);
    layers_.Recount(); // the type bytes may be renumbered with the entries
}

void MapDocument::RemoveTypeAt(size_t index)
{
    objectTypes.erase(objectTypes.begin() + (std::ptrdiff_t)index);
    ++catalogRevision_;
    layers_.EntryRemoved(index);
    layers_.Recount();
}

// ---- History and change tracking ----

void MapDocument::Commit(const std::string& name, unsigned parts,
                         std::vector<std::unique_ptr<EditAction>> actions, bool alreadyDone)
{
    if (Stroking())
        EndStroke(); // recorded first, as its own step
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
    if (parts & kObjectsPart)
        objectsVersion_ = step.objectsAfter = ++lastVersion_;
    history_.Push(std::move(step));
    ++changeCount_;
}

bool MapDocument::Undo()
{
    EndOpenGesture(); // a drag or stroke in progress is undone as its own step first
    EditStep* step = history_.Back();
    if (!step)
        return false;
    for (size_t i = step->actions.size(); i-- > 0;)
        step->actions[i]->Undo(*this);
    objectsVersion_ = step->objectsBefore;
    ++changeCount_;
    return true;
}

bool MapDocument::Redo()
{
    EndOpenGesture(); // a drag or stroke that changed something drops the steps to redo
    EditStep* step = history_.Forward();
    if (!step)
        return false;
    for (const std::unique_ptr<EditAction>& action : step->actions)
        action->Redo(*this);
    objectsVersion_ = step->objectsAfter;
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

bool MapDocument::AreObjectsModified() const
{
    if (objectsUnsaved_)
        return true;
    if (objectsVersion_ == savedObjectsVersion_)
        return false;
    if (comparedValid_ && comparedVersion_ == objectsVersion_)
        return comparedDiffers_;
    const bool differs = saved_.Differs(objectTypes, objects);
    comparedValid_ = true;
    comparedVersion_ = objectsVersion_;
    comparedDiffers_ = differs;
    return differs;
}

bool MapDocument::AreSettingsModified() const
{
    return settingsUnsaved_ || EncodeSettings() != EncodeSettings(savedSettings_);
}

void MapDocument::NoteObjectsSaved()
{
    savedObjectsVersion_ = objectsVersion_;
    saved_.Note(objectTypes, objects);
    comparedValid_ = false;
    objectsUnsaved_ = false;
}

void MapDocument::NoteSettingsSaved()
{
    savedSettings_ = Settings();
    settingsUnsaved_ = false;
}

void MapDocument::MarkUnsaved()
{
    objectsUnsaved_ = settingsUnsaved_ = true;
}

void MapDocument::StartNewHistory()
{
    drag_ = DragState();
    history_.Clear();
    layers_.Clear();
    stroke_ = BrushStroke();
    strokesBegun_ = 0; // the same strokes on the reopened map place the same objects
    objectsVersion_ = ++lastVersion_;
    NoteObjectsSaved();
    NoteSettingsSaved();
}
