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

#include "document/BrushStroke.h"
#include "document/EditHistory.h"
#include "document/FileSystem.h"
#include "document/HeightSamples.h"
#include "document/ImageSource.h"
#include "document/MapGeometry.h"
#include "document/ObjectFile.h"
#include "document/ObjectType.h"
#include "document/PlacedObject.h"
#include "document/SavedObjects.h"
#include "document/Selection.h"
#include "document/SpatialIndex.h"
#include "document/TypeLayers.h"

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

    MapDocument() { StartNewHistory(); }
    MapDocument(const MapDocument&) = delete;
    MapDocument& operator=(const MapDocument&) = delete;

    // Start-up: heightmap, quad depth 4, the "6x" view, detail map (loaded
    // and forgotten), marker image, colormap. Each image that cannot be
    // loaded adds "<name> (<what>): <why>" to *problems.
    void Init(ImageSource& images, const std::string& heightmapFile,
              std::vector<std::string>* problems = nullptr);

    // Map coordinates are fractions of the map's side; the map square spans
    // viewScale view pixels and its top-left corner lies at (-scrollX, -scrollY).
    float MapToViewX(float x) const { return viewScale * x - scrollX; }
    float MapToViewY(float y) const { return viewScale * y - scrollY; }
    float ViewToMapX(int px) const { return (px + scrollX) / viewScale; }
    float ViewToMapY(int py) const { return (py + scrollY) / viewScale; }
    // Whether a map position lies on the map square (edges included).
    static bool InsideMap(float x, float y);

    // The object whose marker box holds the view point, the earliest placed
    // where boxes overlap; objects of hidden or locked types are passed
    // over. -1 when there is none.
    int HitTest(int px, int py) const;
    int ObjectCount() const { return (int)objects.size(); }
    // The catalog entry that a placed object's type designates, or null when
    // the type is not below the catalog's size.
    const ObjectType* FindObjectType(int type) const;
    size_t CountObjectsOfType(int type) const;

    // ---- Types as layers (view state, see TypeLayers.h) ----
    bool IsTypeHidden(int type) const { return layers_.Hidden(type); }
    bool IsTypeLocked(int type) const { return layers_.Locked(type); }
    // Hiding or locking a type also takes its objects out of the selection.
    void SetTypeHidden(int type, bool hidden);
    void SetTypeLocked(int type, bool locked);
    // Whether the pointer, the rubber band and the eraser may take this
    // object (its type is neither hidden nor locked).
    bool IsObjectSelectable(size_t index) const
    {
        return index < objects.size() && !layers_.Blocked(objects[index].type);
    }

    // ---- Selection (not part of the history) ----
    bool IsSelected(size_t index) const { return selection_.Has(index); }
    size_t SelectedCount() const { return selection_.Count(); }
    const Selection& CurrentSelection() const { return selection_; }
    std::vector<uint32_t> SelectedIndices() const;
    void SelectOnly(int index); // just this object (none for an index out of range)
    void ToggleSelected(int index);
    void SelectAll(); // every selectable object
    void ClearSelection();
    // Selects every selectable object whose centre lies in the view
    // rectangle, edges included (corners in any order); `add` keeps what
    // was selected.
    void SelectInViewRect(float x0, float y0, float x1, float y1, bool add);
    // Exactly the selectable objects of these types.
    void SelectAllOfTypes(const std::vector<int>& types);

    // ---- Edits: each one undoable step; false when nothing changed ----
    // Appends an object of the current type at a map position (snapped when
    // snapToCells), when that lies on the map and the current type is a
    // catalog entry of 0..255 (the record holds 8 bits). The reserved bytes
    // are zero; the selection is not changed.
    bool PlaceObject(float x, float y, short rotation);
    // A drag from press to release, one step. The press, at map position
    // (grabX, grabY) on the picked object, moves nothing; each DragTo moves
    // the selection by the pointer's motion since the press, so the picked
    // object keeps the offset at which it was grabbed (snapped, when
    // snapToCells); the group stays on the map. EndDrag records the step,
    // none when nothing moved. Any other edit, Undo or Redo while a drag is
    // open ends the drag first, so the drag and the edit are two steps.
    void BeginDrag(int pickedIndex, float grabX, float grabY);
    // Grabbed at its centre: the picked object lands on the pointer.
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

    // ---- Brush and eraser strokes (ObjectBrush.cpp) ----
    // A stroke runs from button down to button up: the objects change at
    // each pointer position, and EndStroke records the whole stroke as one
    // undo step ("Brush", "Erase"). The brush's heights are kept by
    // reference until the stroke ends. Beginning a stroke ends a drag or a
    // stroke in progress; so does any edit, Undo or a load.
    void BeginBrushStroke(const BrushSettings& settings, const HeightSamples& heights);
    void BeginEraserStroke(const BrushSettings& settings);
    // The pointer at a map position. The brush fills the free spots of the
    // circle there (on the map, open in the terrain mask, no nearer than
    // the spacing to any object) by random candidates grown from the
    // stroke's objects, new objects after the existing ones; the eraser
    // removes the objects whose centres lie in the circle, of the pool's
    // types (or any), never of hidden or locked types. Returns how many
    // objects it placed or removed.
    size_t StrokeTo(float x, float y);
    // False (no step) when the stroke changed nothing.
    bool EndStroke();
    bool Stroking() const { return stroke_.kind != BrushStroke::kNone; }

    // ---- History ----
    bool Undo();
    bool Redo();
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::string UndoName() const; // "" when there is nothing to undo
    std::string RedoName() const;
    const EditHistory& History() const { return history_; }

    // ---- Change tracking: would Save write anything new? ----
    // A part is modified when the bytes Save would write for it differ from
    // those it had when last loaded or saved (for an untitled map, whose
    // settings were never on disk, the object file's name follows the
    // objects). Undoing back to those bytes, or editing back to them, makes
    // it unmodified again.
    bool IsModified() const { return AreObjectsModified() || AreSettingsModified(); }
    bool AreObjectsModified() const;
    bool AreSettingsModified() const;
    // Counts every change of the catalog, so that a list showing it knows
    // when to be rebuilt.
    unsigned CatalogRevision() const { return catalogRevision_; }
    // Counts every step done, undone or redone (for saving a copy every so
    // many changes).
    uint64_t ChangeCount() const { return changeCount_; }
    // The map settings file's name without its folder, or "Untitled".
    std::string DisplayName() const;
    // Both parts count as differing from their files until they are saved
    // or loaded (a document restored from a copy of unsaved work).
    void MarkUnsaved();

    // ---- Files ----
    // Each returns false with *problem (when given) saying why in plain
    // words; a refused file changes nothing. Loads start a new history.
    void LoadHeightmap(ImageSource& images, const std::string& fileName,
                       std::string* problem = nullptr);
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
    static std::string EncodeSettings(const MapSettings& settings);

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
    // Around a rewrite of the records at these indices in place (positions,
    // types): keeps the spatial index and the counts in step.
    void RewritingObjects(const std::vector<uint32_t>& indices);
    void RewroteObjects(const std::vector<uint32_t>& indices);
    // Forgets the history (and ends a drag); the document as it is now is
    // what was last loaded or saved. A new map: no type is hidden or locked.
    void StartNewHistory();
    // Memory of the spatial index of the object centres, of what the
    // objects were when last loaded or saved, and of the selection (for
    // benchmarks).
    size_t SpatialIndexBytes() const { return index_.Bytes(); }
    size_t SavedObjectsBytes() const { return saved_.Bytes(); }
    size_t SelectionBytes() const { return selection_.Bytes(); }

  private:
    struct DragState
    {
        bool active = false;
        uint32_t picked = 0;           // position of the picked object within `indices`
        std::vector<uint32_t> indices; // the selection when the drag began
        std::vector<MapPoint> before;  // their positions then
        MapPoint grabOffset = {0, 0};  // the picked object's centre less the pressed point
        uint64_t versionBefore = 0;    // the objects' version at the press
    };

    // The height samples of the heightmap's slot, when it has any.
    void FollowHeightmapSlot();
    // Runs the actions once (unless they are already done, as a drag's
    // changes are) and records them as one step.
    void Commit(const std::string& name, unsigned parts,
                std::vector<std::unique_ptr<EditAction>> actions, bool alreadyDone = false);
    void SyncSelection() { selection_.Resize(objects.size()); }
    // Every edit calls this first: an open drag or brush stroke becomes its
    // own step.
    void EndOpenGesture()
    {
        if (drag_.active)
            EndDrag();
        if (Stroking())
            EndStroke();
    }
    void SnapToCell(float* x, float* y) const;
    // What was last loaded or saved becomes what the document holds now.
    void NoteObjectsSaved();
    void NoteSettingsSaved();
    int LinearHitTest(int px, int py) const;
    void LinearSelectInViewRect(float left, float top, float right, float bottom);
    void DeselectType(int type);
    // Objects of hidden or locked types among these leave the selection.
    void DeselectBlocked(const std::vector<uint32_t>& indices);
    size_t BrushStep(float x, float y);
    size_t EraserStep(float x, float y);
    // Whether no object's centre lies nearer than the stroke's spacing.
    bool SpacingFree(float x, float y) const;

    Selection selection_;
    // Object centres by grid cell: brought up to date when asked (a const
    // query may rebuild it).
    mutable SpatialIndex index_;
    TypeLayers layers_;
    BrushStroke stroke_;
    uint64_t strokesBegun_ = 0; // seeds each stroke's random numbers
    EditHistory history_;
    std::map<int, HeightSamples> samplesBySlot_; // NoteHeightSamples
    DragState drag_;
    // The objects' version: a step (or a drag's motion) gives them a new one,
    // undoing restores the old one, so one version always means the same
    // contents. The saved version needs no comparison; any other version is
    // compared once with the saved block hashes (a cheap test on the counts
    // first) and the answer kept until the version or the saved state
    // changes.
    uint64_t objectsVersion_ = 0;
    uint64_t savedObjectsVersion_ = 0;
    uint64_t lastVersion_ = 0;
    SavedObjects saved_;
    mutable bool comparedValid_ = false;
    mutable uint64_t comparedVersion_ = 0;
    mutable bool comparedDiffers_ = false;
    MapSettings savedSettings_;   // as last loaded or saved: compared as text
    bool objectsUnsaved_ = false; // MarkUnsaved: differ until saved or loaded
    bool settingsUnsaved_ = false;
    unsigned catalogRevision_ = 0;
    uint64_t changeCount_ = 0;
};

// "Move", "Move 3 Objects": the verb alone for one object.
std::string StepName(const char* verb, size_t objectCount);

#endif
