// The one map being edited: its settings, heightmap size, image slots, the
// object type catalog, the placed objects, the selection, the view state
// kept with it, and the undo history of its edits.
//
// The document needs no Windows API and never draws itself (the view in
// render/ reads it). Files are read and written through a FileSystem and
// images loaded through an ImageSource, which the caller provides. The file
// operations live beside this class (SettingsFile.cpp, ObjectPlacementFile.cpp),
// the undoable edits in DocumentEdits.cpp.
#ifndef MAPEDITOR_MAPDOCUMENT_H
#define MAPEDITOR_MAPDOCUMENT_H

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "document/EditHistory.h"
#include "document/FileSystem.h"
#include "document/HeightSamples.h"
#include "document/ImageSource.h"
#include "document/ObjectFile.h"
#include "document/ObjectType.h"
#include "document/PlacedObject.h"
#include "document/Selection.h"

// Everything the map settings file holds, with the image slots and the
// heightmap's size that go with its names: what Map > Properties edits.
struct MapSettings
{
    std::string colormapFile;
    std::string heightmapFile;
    std::string detailMap;
    std::string objectMap;
    int colormapTexture = -1;
    int heightmapTexture = -1;
    int width = 0;
    int height = 0;
    int spacing = 0;
    unsigned char quadDepth = 0;
};

// A map position (fractions of the map's side).
struct MapPoint
{
    float x, y;
};

// Objects with the paths of their types, as copied to the clipboard: a
// record's type byte is an index into `types`.
struct ObjectGroup
{
    std::vector<ObjectType> types;
    std::vector<PlacedObject> objects;
};

class MapDocument
{
  public:
    // The map settings file. The colormap and heightmap names are those the
    // images were loaded under (or asked for, when they could not be
    // loaded); empty when the map names none.
    std::string colormapFile;
    std::string heightmapFile;
    std::string detailMap;    // recorded, never loaded
    std::string objectMap;    // the object placement file last loaded or saved
    std::string settingsFile; // the map settings file last opened or saved; empty: untitled
    int heightmapTexture = 0;
    int colormapTexture = 0;
    int objectImageTexture = 0;
    // The heightmap's grey values (the status bar's heights, the brush's
    // terrain): those of the heightmap last loaded, imported or brought back
    // by undo; a failed load leaves them, as it leaves the size.
    HeightSamples heightSamples;
    int width = 0; // heightmap image size in pixels
    int height = 0;
    int spacing = 0;
    unsigned char quadDepth = 0;

    // The catalog (entry i is type i) and the placed objects. Read them
    // freely; change them through the operations below so that the
    // selection, the history and the change tracking stay in step.
    std::vector<ObjectType> objectTypes;
    std::vector<PlacedObject> objects;

    // View state: never saved, never part of an undo step.
    int viewScale = 192; // view pixels spanned by one side of the map
    float scrollX = 0.0f;
    float scrollY = 0.0f;
    int currentType = 0;      // type of the next placed object (the palette's row)
    bool snapToCells = false; // placing and dragging put centres on heightmap cell centres

    MapDocument() = default;
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // Start-up: heightmap, quad depth 4, the "6x" view, detail map (loaded
    // and forgotten), marker image, colormap.
    void Init(ImageSource& images, const std::string& heightmapFile);

    // Map coordinates are fractions of the map's side; the map square spans
    // viewScale view pixels and its top-left corner lies at (-scrollX, -scrollY).
    float MapToViewX(float x) const { return viewScale * x - scrollX; }
    float MapToViewY(float y) const { return viewScale * y - scrollY; }
    float ViewToMapX(int px) const { return (px + scrollX) / viewScale; }
    float ViewToMapY(int py) const { return (py + scrollY) / viewScale; }
    // Whether a map position lies on the map square (edges included).
    static bool InsideMap(float x, float y);

    int HitTest(int px, int py) const;
    int ObjectCount() const { return (int)objects.size(); }
    // The catalog entry that a placed object's type designates, or null when
    // the type is not below the catalog's size.
    const ObjectType* FindObjectType(int type) const;
    size_t CountObjectsOfType(int type) const;

    // ---- Selection (not part of the history) ----
    bool IsSelected(size_t index) const { return selection_.Has(index); }
    size_t SelectedCount() const { return selection_.Count(); }
    const Selection& CurrentSelection() const { return selection_; }
    std::vector<uint32_t> SelectedIndices() const;
    void SelectOnly(int index); // just this object (none for an index out of range)
    void ToggleSelected(int index);
    void SelectAll();
    void ClearSelection();
    // Selects every object whose centre lies in the view rectangle, edges
    // included (corners in any order); `add` keeps what was selected.
    void SelectInViewRect(float x0, float y0, float x1, float y1, bool add);

    // ---- Edits: each one undoable step; false when nothing changed ----
    // Appends an object of the current type at a map position (snapped when
    // snapToCells), when that lies on the map and the current type is a
    // catalog entry of 0..255 (the record holds 8 bits). The reserved bytes
    // are zero; the selection is not changed.
    bool PlaceObject(float x, float y, short rotation);
    // A drag from press to release: the picked object follows the pointer's
    // map position exactly and the rest of the selection keeps its offsets
    // to it; the group stays on the map. EndDrag records the step.
    void BeginDrag(int pickedIndex);
    void DragTo(float x, float y);
    bool EndDrag();
    bool Dragging() const { return drag_.active; }
    // Arrow keys: the selection moves by whole heightmap cells.
    bool NudgeSelection(int cellsX, int cellsY);
    // Turns each selected object about its centre; rotations stay in 0..359.
    bool RotateSelection(int degrees);
    bool DeleteSelection(const char* name = "Delete");
    bool DeleteObject(int index);
    // The selected objects get this type (a catalog entry of 0..255).
    bool SetSelectionType(int type);
    // A new last catalog entry; false for a path the object file cannot hold.
    bool ImportType(const std::string& path);
    // Removes a catalog entry with every object of that type; the type bytes
    // of later entries move down by one.
    bool RemoveType(int type);
    // Loads another heightmap; a failed load changes nothing (*problem says why).
    bool ImportHeightmap(ImageSource& images, const std::string& fileName,
                         std::string* problem = nullptr);
    // Map > Properties: the new settings, and the catalog and objects of a
    // reloaded object file when there is one.
    bool ApplyProperties(const MapSettings& settings, ObjectFileContents* reloaded);
    // Adds the group's objects as new last objects (types mapped by path,
    // case ignored; missing types become new catalog entries), moved by
    // (dx, dy) and kept on the map; they become the selection. False when
    // the group is empty or a type would need an index above 255.
    bool InsertGroup(const ObjectGroup& group, float dx, float dy, const char* verb);
    // The selected objects with the paths of their types.
    ObjectGroup CopySelection() const;

    // ---- History ----
    bool Undo();
    bool Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoName() const; // "" when there is nothing to undo
    std::string RedoName() const;
    const EditHistory& History() const { return history_; }

    // ---- Change tracking: does the document differ from its files? ----
    bool IsModified() const { return AreObjectsModified() || AreSettingsModified(); }
    bool AreObjectsModified() const { return objectsVersion_ != savedObjectsVersion_; }
    bool AreSettingsModified() const { return settingsVersion_ != savedSettingsVersion_; }
    // Counts every change of the catalog, so that a list showing it knows
    // when to be rebuilt.
    unsigned CatalogRevision() const { return catalogRevision_; }
    // Counts every step done, undone or redone (for saving a copy every so
    // many changes).
    uint64_t ChangeCount() const { return changeCount_; }
    // The map settings file's name without its folder, or "Untitled".
    std::string DisplayName() const;
    // Both parts count as differing from their files until they are saved
    // (a document restored from a copy of unsaved work).
    void MarkUnsaved();

    // ---- Files ----
    // Each returns false with *problem (when given) saying why in plain
    // words; a refused file changes nothing. Loads start a new history.
    void LoadHeightmap(ImageSource& images, const std::string& fileName);
    // Opens a map: false (with the reason as the only problem) when the file
    // is refused; true with what could not be read listed in *problems.
    bool LoadSettings(const std::string& path, FileSystem& files, ImageSource& images,
                      std::vector<std::string>* problems = nullptr);
    bool SaveSettings(const std::string& path, FileSystem& files, std::string* problem = nullptr);
    bool LoadObjects(const std::string& path, FileSystem& files, std::string* problem = nullptr);
    bool SaveObjects(const std::string& path, FileSystem& files, std::string* problem = nullptr);
    // Reads and checks an object placement file without changing any
    // document; false with *problem saying why.
    static bool ReadObjectFile(const std::string& path, FileSystem& files,
                               ObjectFileContents* contents, std::string* problem);
    // The map settings file's text as SaveSettings writes it (naming another
    // object file, when one is given).
    std::string EncodeSettings(const std::string* objectFile = nullptr) const;

    // ---- Changes outside the history (loading, tests, the history itself) ----
    // Appends a catalog entry; false (nothing added) for a path that the
    // object placement file cannot hold (more than 127 characters).
    bool AddObjectType(const std::string& path);
    void AddObject(const PlacedObject& object);
    void RemoveObject(int index);
    // Replaces catalog and objects as a whole (the old ones end up in the
    // arguments); nothing is selected afterwards.
    void SwapContents(std::vector<ObjectType>* types, std::vector<PlacedObject>* objects);
    MapSettings Settings() const;
    // Settings as a whole; the height samples follow the heightmap's slot.
    void SetSettings(const MapSettings& settings);
    // Keeps the grey values of a heightmap loaded into a slot (they become
    // the current ones), so that settings naming the slot, undone or
    // redone, bring them back. A failed load (no slot) changes nothing.
    void NoteHeightSamples(const LoadedImage& heightmap);
    void InsertObjectsAt(const std::vector<uint32_t>& indices,
                         const std::vector<PlacedObject>& records, bool select);
    void RemoveObjectsAt(const std::vector<uint32_t>& indices, std::vector<PlacedObject>* removed);
    void InsertTypeAt(size_t index, const ObjectType& type);
    void RemoveTypeAt(size_t index);
    void SelectOnly(const std::vector<uint32_t>& indices);
    // Forgets the history; the document now counts as saved.
    void StartNewHistory();

  private:
    struct DragState
    {
        bool active = false;
        uint32_t picked = 0;           // position of the picked object within `indices`
        std::vector<uint32_t> indices; // the selection when the drag began
        std::vector<MapPoint> before;  // their positions then
    };

    // The height samples of the heightmap's slot, when it has any.
    void FollowHeightmapSlot();
    // Runs the actions once (unless they are already done, as a drag's
    // changes are) and records them as one step.
    void Commit(const std::string& name, unsigned parts,
                std::vector<std::unique_ptr<EditAction>> actions, bool alreadyDone = false);
    void SyncSelection() { selection_.Resize(objects.size()); }
    // The delta (dx, dy) limited so that objects whose positions lie inside
    // [lowX, highX] x [lowY, highY] stay on the map (never pushed further off
    // if they already lie outside).
    static void KeepOnMap(float lowX, float lowY, float highX, float highY, float* dx, float* dy);
    void SnapToCell(float* x, float* y) const;
    int LoadImageSlot(ImageSource& images, const std::string& fileName);

    Selection selection_;
    EditHistory history_;
    std::map<int, HeightSamples> samplesBySlot_; // NoteHeightSamples
    DragState drag_;
    // Versions of the two saved parts: a step that changes a part gives it a
    // new version, undoing it restores the old one; a part is unchanged when
    // its version is the one it had when last loaded or saved.
    uint64_t objectsVersion_ = 0;
    uint64_t settingsVersion_ = 0;
    uint64_t savedObjectsVersion_ = 0;
    uint64_t savedSettingsVersion_ = 0;
    uint64_t lastVersion_ = 0;
    unsigned catalogRevision_ = 0;
    uint64_t changeCount_ = 0;
};

// "Move", "Move 3 Objects": the verb alone for one object.
std::string StepName(const char* verb, size_t objectCount);

#endif
