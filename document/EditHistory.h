// The undo history of the map document: a list of steps, each the edits of
// one user action (a placement, a whole drag, a delete, a paste, ...) as
// actions that can be undone and redone in place. A step holds only what it
// changed, so its memory follows the size of the change, not of the map.
//
// The history keeps the latest kMaxSteps steps and at most kMaxBytes bytes
// of step data; beyond either limit the oldest steps are dropped (the newest
// step is always kept, however large). A new step after some undos drops
// the steps that could have been redone. No Windows API.
#ifndef MAPEDITOR_EDITHISTORY_H
#define MAPEDITOR_EDITHISTORY_H

#include <stddef.h>
#include <stdint.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

class MapDocument;

// One change to the document that can be taken back and made again. Redo
// makes the change (it also runs once when the step is recorded), Undo
// restores what was there before.
class EditAction
{
  public:
    virtual ~EditAction() = default;
    virtual void Redo(MapDocument& document) = 0;
    virtual void Undo(MapDocument& document) = 0;
    virtual size_t Bytes() const = 0; // memory the action holds
};

// The parts of a document that are saved to different files.
enum DocumentPart : unsigned
{
    kObjectsPart = 1,  // catalog and placed objects: the object placement file
    kSettingsPart = 2, // names and numbers of the map settings file
};

struct EditStep
{
    std::string name; // as shown after "Undo "/"Redo ", e.g. "Move 3 Objects"
    unsigned parts = 0;
    std::vector<std::unique_ptr<EditAction>> actions; // done in order, undone in reverse
    // The version of the objects part before and after the step (see MapDocument).
    uint64_t objectsBefore = 0, objectsAfter = 0;
    // What the step held when it was pushed: the history counts this, so an
    // action whose holdings change as it is undone and redone (contents
    // swapped in and out) cannot make the count drift.
    size_t bytes = 0;

    size_t Bytes() const; // what the actions hold now
};

class EditHistory
{
  public:
    static constexpr size_t kMaxSteps = 1000;
    static constexpr size_t kMaxBytes = (size_t)256 << 20;

    void Clear();
    // Appends a step after the current position (dropping the redo steps),
    // recording its size, then drops the oldest steps beyond the limits.
    void Push(EditStep step);

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The step the next Undo or Redo would take, or null.
    const EditStep* NextUndo() const { return CanUndo() ? &steps_[position_ - 1] : nullptr; }
    const EditStep* NextRedo() const { return CanRedo() ? &steps_[position_] : nullptr; }

    // Moves the position one step back (or forward) and returns that step
    // for the document to undo (or redo); null when there is none.
    EditStep* Back();
    EditStep* Forward();

    size_t StepCount() const { return steps_.size(); }
    const EditStep& Step(size_t index) const { return steps_[index]; }
    size_t Position() const { return position_; }
    size_t Bytes() const { return bytes_; }

  private:
    std::deque<EditStep> steps_;
    size_t position_ = 0; // steps before it are done, from it on undone
    size_t bytes_ = 0;
};

#endif
