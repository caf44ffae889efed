// A deliberately simple model of the map document, and the world the model
// test runs in. The model holds the catalog, the records and the settings as
// plain values, the selection, the bytes each file had when last loaded or
// saved, and a stack of whole-state snapshots for undo and redo. Commands
// (ModelCommands.cpp) change the real MapDocument and the model alike;
// Check() then compares what a user relies on: the files' bytes, the `*`,
// the history's count and the selection.
#ifndef MAPEDITOR_TESTS_DOCUMENTMODEL_H
#define MAPEDITOR_TESTS_DOCUMENTMODEL_H

#include <stddef.h>
#include <stdint.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "document/ClipboardData.h"
#include "document/ImageSource.h"
#include "document/MapDocument.h"

// Files in memory; names starting with "locked" cannot be written.
class MemoryFiles : public FileSystem
{
  public:
    FileError ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes) override;
    FileError ReplaceWholeFile(const std::string& path, const FilePiece* pieces,
                               size_t pieceCount) override;
    using FileSystem::ReplaceWholeFile;
    std::map<std::string, std::vector<unsigned char>> files;
};

// A fixed table of images: each name in it has its own slot and size.
class TableImages : public ImageSource
{
  public:
    LoadedImage Load(const std::string& fileName) override;
};

// What one undo step gives back: everything that is saved.
struct ModelState
{
    std::vector<ObjectType> types;
    std::vector<PlacedObject> objects;
    MapSettings settings;
};

struct ModelStep
{
    ModelState state;
    bool namesObjectFile = false; // the step changed the object file's name
};

struct Model
{
    ModelState now;
    std::deque<ModelStep> undo;
    std::vector<ModelStep> redo;
    std::vector<uint32_t> selection; // ascending
    std::string settingsFile;
    int currentType = 0;
    bool snap = false;
    // What each file held when last loaded or saved.
    MapSettings savedSettings;
    std::vector<ObjectType> savedTypes; // what the object file's bytes encode
    std::vector<PlacedObject> savedRecords;
    bool objectsUnsaved = false, settingsUnsaved = false;
    // The map settings files written, as what they hold.
    std::map<std::string, MapSettings> settingsOnDisk;
    // An open drag: the state at the press, the group and the grab.
    bool dragOpen = false;
    ModelState dragStart;
    std::vector<uint32_t> dragGroup;
    size_t dragPicked = 0;
    MapPoint grabOffset = {0, 0};

    // Every edit starts here: an open drag that moved something is a step.
    void EndDrag();
    // Records `before` as the step that led to `now`.
    void Commit(const ModelState& before);
    bool Undo();
    bool Redo();
    // A file read in whole: a new history, and what it holds is saved.
    void StartNewHistory();
};

std::vector<unsigned char> ObjectBytes(const ModelState& state);
// Whether two catalogs with their records give the same object file bytes.
bool SameObjects(const std::vector<ObjectType>& types, const std::vector<PlacedObject>& records,
                 const std::vector<ObjectType>& otherTypes,
                 const std::vector<PlacedObject>& otherRecords);

// The document, the model and what surrounds them in the editor.
struct ModelWorld
{
    ModelWorld();
    MemoryFiles files;
    TableImages images;
    MapDocument document;
    Model model;
    // The pointer's gesture between a press and its release.
    enum class Gesture
    {
        None,
        Drag,
        Band
    } gesture = Gesture::None;
    int pointerX = 0, pointerY = 0, bandX = 0, bandY = 0;
    bool bandAdds = false;
    std::vector<unsigned char> clipboard; // the document's copy, encoded
    ObjectGroup modelClipboard;
    bool haveRecovery = false;
    // A run that is to reach the history's limit: no new histories, and
    // undo runs too short to empty it.
    bool fillHistory = false;
    std::string recoveredMap, recoveredObjects;

    // Empty when the document and the model agree, else what differs. The
    // files' bytes and the history's sum are worked out in full every few
    // checks; in between, the states that make the bytes are compared.
    std::string Check();
    size_t checks = 0;
    std::string failure; // set by a command that checks within itself
    // Notes a failure when the document's answer is not the model's.
    void Expect(bool document, bool model, const char* what);
};

// Bytes that choose the commands and their arguments; zero once used up.
class CommandBytes
{
  public:
    CommandBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    unsigned Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int Pick(int n) { return n > 0 ? (int)((Byte() << 8 | Byte()) % (unsigned)n) : 0; }
    float Fraction() { return (float)(Byte() << 8 | Byte()) / 65535.0f; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Runs the commands the bytes choose until they are used up; false with
// *why (the broken invariant and the last commands) at the first
// disagreement. *commands counts the commands run.
bool RunDocumentModel(const uint8_t* data, size_t size, std::string* why, size_t* commands);

#endif
