// The model of the map document, the in-memory files and images it runs
// with, and the comparison of the model with the real document.
#include "tests/model/DocumentModel.h"

#include <string.h>

#include "document/EditHistory.h"

namespace
{
const struct
{
    const char* name;
    int width, height;
} kImages[] = {
    {"..\\maps\\area1.bmp", 64, 64},
    {"..\\maps\\area1-colormap.bmp", 256, 256},
    {"..\\maps\\detail-map.bmp", 64, 64},
    {"..\\art\\ui\\objectimage.bmp", 16, 16},
    {"hills.bmp", 100, 50},
    {"tiny.bmp", 3, 7},
    {"paint.bmp", 32, 32},
};

std::string Differs(const char* what, const std::string& document, const std::string& model)
{
    return std::string(what) + ": the document has " + document + ", the model " + model;
}

std::string Text(const std::vector<unsigned char>& bytes)
{
    return std::to_string(bytes.size()) + " bytes";
}

std::string List(const std::vector<uint32_t>& indices)
{
    std::string text = "{";
    for (uint32_t i : indices)
        text += std::to_string(i) + " ";
    return text + "}";
}
} // namespace

FileError MemoryFiles::ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes)
{
    const auto found = files.find(path);
    if (found == files.end())
        return FileError::NotFound;
    *bytes = found->second;
    return FileError::None;
}

FileError MemoryFiles::ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                                        size_t pieceCount)
{
    if (path.compare(0, 6, "locked") == 0)
        return FileError::AccessDenied;
    std::vector<unsigned char> bytes;
    for (size_t i = 0; i < pieceCount; ++i)
        bytes.insert(bytes.end(), (const unsigned char*)pieces[i].data,
                     (const unsigned char*)pieces[i].data + pieces[i].size);
    files[path] = bytes;
    return FileError::None;
}

LoadedImage TableImages::Load(const std::string& fileName)
{
    LoadedImage image;
    for (size_t slot = 0; slot < sizeof(kImages) / sizeof(kImages[0]); ++slot)
    {
        if (fileName != kImages[slot].name)
            continue;
        image.slot = (int)slot;
        image.width = kImages[slot].width;
        image.height = kImages[slot].height;
        image.name = fileName;
        return image;
    }
    image.problem = "the file was not found";
    return image;
}

std::vector<unsigned char> ObjectBytes(const ModelState& state)
{
    std::vector<unsigned char> bytes;
    EncodeObjectFile(state.types, state.objects, &bytes);
    return bytes;
}

void Model::EndDrag()
{
    if (!dragOpen)
        return;
    dragOpen = false;
    // A drag moves objects only; a save during it may have renamed their file.
    dragStart.settings = now.settings;
    if (memcmp(now.objects.data(), dragStart.objects.data(),
               now.objects.size() * sizeof(PlacedObject)) != 0)
        Commit(dragStart);
}

void Model::Commit(const ModelState& before)
{
    undo.push_back({before, before.settings.objectMap != now.settings.objectMap});
    redo.clear();
    if (undo.size() > EditHistory::kMaxSteps)
        undo.pop_front();
}

bool Model::Undo()
{
    EndDrag();
    if (undo.empty())
        return false;
    ModelStep step = undo.back();
    undo.pop_back();
    if (!step.namesObjectFile) // the name is where the objects were last saved
        step.state.settings.objectMap = now.settings.objectMap;
    redo.push_back({now, step.namesObjectFile});
    now = step.state;
    return true;
}

bool Model::Redo()
{
    EndDrag();
    if (redo.empty())
        return false;
    ModelStep step = redo.back();
    redo.pop_back();
    if (!step.namesObjectFile)
        step.state.settings.objectMap = now.settings.objectMap;
    undo.push_back({now, step.namesObjectFile});
    now = step.state;
    return true;
}

void Model::StartNewHistory()
{
    undo.clear();
    redo.clear();
    dragOpen = false;
    selection.clear();
    savedTypes = now.types;
    savedRecords = now.objects;
    savedSettings = now.settings;
    objectsUnsaved = settingsUnsaved = false;
}

ModelWorld::ModelWorld()
{
    document.Init(images, kImages[0].name);
    document.viewScale = 600; // ten view pixels to a heightmap cell of the start-up map
    model.now.settings = document.Settings();
    model.StartNewHistory();
    files.files["bad.mob"] = {'M', '4', 'D', 'O', 1, 0, 0, 0};
    const std::string notAMap = "[other]\r\nobjectmap=bad.mob\r\n";
    files.files["bad.ini"].assign(notAMap.begin(), notAMap.end());
}

void ModelWorld::Expect(bool byDocument, bool byModel, const char* what)
{
    if (byDocument != byModel && failure.empty())
        failure = std::string(what) + (byDocument ? " succeeded" : " failed") +
                  " where the model says otherwise";
}

bool SameObjects(const std::vector<ObjectType>& types, const std::vector<PlacedObject>& records,
                 const std::vector<ObjectType>& otherTypes,
                 const std::vector<PlacedObject>& otherRecords)
{
    if (types.size() != otherTypes.size() || records.size() != otherRecords.size())
        return false;
    for (size_t i = 0; i < types.size(); ++i)
    {
        if (types[i].path != otherTypes[i].path)
            return false;
    }
    return records.empty() ||
           memcmp(records.data(), otherRecords.data(), records.size() * sizeof(PlacedObject)) == 0;
}

std::string ModelWorld::Check()
{
    const MapDocument& d = document;
    const Model& m = model;
    const bool inFull = ++checks % 16 == 0;
    if (inFull)
    {
        std::vector<unsigned char> objects;
        EncodeObjectFile(d.objectTypes, d.objects, &objects);
        const std::vector<unsigned char> modelObjects = ObjectBytes(m.now);
        if (objects != modelObjects)
            return Differs("the object file's bytes", Text(objects), Text(modelObjects));
    }
    if (!SameObjects(d.objectTypes, d.objects, m.now.types, m.now.objects))
        return "the catalog or the records differ (and so the object file's bytes)";
    const std::string settings = d.EncodeSettings();
    const std::string modelSettings = MapDocument::EncodeSettings(m.now.settings);
    if (settings != modelSettings)
        return Differs("the map settings file", settings, modelSettings);
    const MapSettings& s = m.now.settings;
    if (d.width != s.width || d.height != s.height || d.heightmapTexture != s.heightmapTexture ||
        d.colormapTexture != s.colormapTexture || d.settingsFile != m.settingsFile ||
        d.currentType != m.currentType)
        return "the heightmap, the slots, the map's file or the current type differ";

    const bool objectsModified =
        m.objectsUnsaved || !SameObjects(m.now.types, m.now.objects, m.savedTypes, m.savedRecords);
    const bool settingsModified =
        m.settingsUnsaved || modelSettings != MapDocument::EncodeSettings(m.savedSettings);
    if (d.AreObjectsModified() != objectsModified || d.AreSettingsModified() != settingsModified)
        return Differs("modified (objects, settings)",
                       std::to_string(d.AreObjectsModified()) +
                           std::to_string(d.AreSettingsModified()),
                       std::to_string(objectsModified) + std::to_string(settingsModified));

    const EditHistory& h = d.History();
    size_t sum = 0;
    for (size_t i = 0; (inFull || h.StepCount() <= 16) && i < h.StepCount(); ++i)
        sum += h.Step(i).bytes;
    if ((inFull || h.StepCount() <= 16) && h.Bytes() != sum)
        return Differs("the history's byte count", std::to_string(h.Bytes()),
                       "the sum of its steps, " + std::to_string(sum));
    if (h.StepCount() > EditHistory::kMaxSteps ||
        (h.Bytes() > EditHistory::kMaxBytes && h.StepCount() > 1))
        return "the history is beyond its limits";
    if (h.Position() != m.undo.size() || h.StepCount() != m.undo.size() + m.redo.size())
        return Differs("the steps (position, count)",
                       std::to_string(h.Position()) + "," + std::to_string(h.StepCount()),
                       std::to_string(m.undo.size()) + "," +
                           std::to_string(m.undo.size() + m.redo.size()));
    if (d.UndoName().empty() == d.CanUndo() || d.RedoName().empty() == d.CanRedo())
        return "a step without a name";

    const std::vector<uint32_t> selected = d.CurrentSelection().Indices();
    for (size_t k = 0; k < selected.size(); ++k)
    {
        if (selected[k] >= d.objects.size() || (k > 0 && selected[k] <= selected[k - 1]))
            return "selection " + List(selected) + " of " + std::to_string(d.objects.size());
    }
    if (selected != m.selection)
        return Differs("the selection", List(selected), List(m.selection));
    if (d.Dragging() != m.dragOpen)
        return Differs("a drag open", std::to_string(d.Dragging()), std::to_string(m.dragOpen));
    return std::string();
}
