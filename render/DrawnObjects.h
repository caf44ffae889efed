// The placed objects as the frame on screen drew them, and which of them a
// new frame would draw differently. Every pixel of the view depends only on
// the map and on the objects whose marker or label covers it, in their
// order; so a pixel outside every changed object's old and new boxes is the
// same in the new frame. No Windows API.
#ifndef MAPEDITOR_DRAWNOBJECTS_H
#define MAPEDITOR_DRAWNOBJECTS_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "document/PlacedObject.h"

class Selection;

// What of a placed object its drawing depends on.
struct DrawnObject
{
    float x, y;
    int16_t rotation;
    uint8_t type;
    uint8_t selected;
};

class DrawnObjects
{
  public:
    // The objects now, as they would be drawn.
    void Keep(const std::vector<PlacedObject>& objects, const Selection& selection);
    void Forget() { kept_.clear(); }
    size_t Bytes() const { return kept_.capacity() * sizeof(DrawnObject); }

    // Appends to *changed the kept and the present look of every object whose
    // drawing may differ from the kept frame's. Objects before the first and
    // after the last difference compare equal in place (the later ones moved
    // by the same number of places); between them, when the count is the
    // same, each object is compared with the one kept at its index, else all
    // of them count as changed. False, with *changed left as it may be, as
    // soon as more than `limit` looks would be appended.
    bool Changes(const std::vector<PlacedObject>& objects, const Selection& selection, size_t limit,
                 std::vector<DrawnObject>* changed) const;

  private:
    std::vector<DrawnObject> kept_;
};

#endif
