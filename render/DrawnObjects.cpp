#include "render/DrawnObjects.h"

#include <string.h>

#include "document/Selection.h"

namespace
{
DrawnObject Look(const PlacedObject& object, bool selected)
{
    DrawnObject look;
    look.x = object.x;
    look.y = object.y;
    look.rotation = object.rotation;
    look.type = object.type;
    look.selected = selected ? 1 : 0;
    return look;
}

// Bit for bit: a position that is not a number is the same as itself.
bool Same(const DrawnObject& a, const DrawnObject& b)
{
    return memcmp(&a.x, &b.x, sizeof(a.x)) == 0 && memcmp(&a.y, &b.y, sizeof(a.y)) == 0 &&
           a.rotation == b.rotation && a.type == b.type && a.selected == b.selected;
}
} // namespace

void DrawnObjects::Keep(const std::vector<PlacedObject>& objects, const Selection& selection)
{
    kept_.resize(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        kept_[i] = Look(objects[i], selection.Has(i));
}

bool DrawnObjects::Changes(const std::vector<PlacedObject>& objects, const Selection& selection,
                           size_t limit, std::vector<DrawnObject>* changed) const
{
    const size_t before = kept_.size(), now = objects.size();
    const size_t shorter = before < now ? before : now;
    size_t first = 0;
    while (first < shorter && Same(kept_[first], Look(objects[first], selection.Has(first))))
        ++first;
    size_t tail = 0; // equal objects at the end
    while (first + tail < shorter)
    {
        const size_t k = before - 1 - tail, n = now - 1 - tail;
        if (!Same(kept_[k], Look(objects[n], selection.Has(n))))
            break;
        ++tail;
    }
    size_t appended = 0;
    if (before == now)
    {
        for (size_t i = first; i < now - tail; ++i)
        {
            const DrawnObject look = Look(objects[i], selection.Has(i));
            if (Same(kept_[i], look))
                continue;
            if ((appended += 2) > limit)
                return false;
            changed->push_back(kept_[i]);
            changed->push_back(look);
        }
        return true;
    }
    if ((before - tail - first) + (now - tail - first) > limit)
        return false;
    changed->insert(changed->end(), kept_.begin() + (ptrdiff_t)first,
                    kept_.begin() + (ptrdiff_t)(before - tail));
    for (size_t i = first; i < now - tail; ++i)
        changed->push_back(Look(objects[i], selection.Has(i)));
    return true;
}
