// The commands of the model test that a user gives with the pointer, the
// keys and the Edit menu: each does to the document what the editor's
// command does, through the same calls, and to the model what it means.
#include <math.h>
#include <string.h>

#include <algorithm>

#include "tests/model/ModelCommands.h"

namespace model
{
namespace
{
// Map position under a view pixel, and the view pixel of a map position.
float MapX(const ModelWorld& w, int px)
{
    return w.document.ViewToMapX(px);
}
float MapY(const ModelWorld& w, int py)
{
    return w.document.ViewToMapY(py);
}

bool Has(const std::vector<uint32_t>& sorted, uint32_t index)
{
    return std::binary_search(sorted.begin(), sorted.end(), index);
}

// A pixel on or near one of the objects (or anywhere, now and then).
void PickPixel(ModelWorld& w, CommandBytes& in)
{
    const std::vector<PlacedObject>& objects = w.model.now.objects;
    if (!objects.empty() && in.Pick(4) != 0)
    {
        const PlacedObject& o = objects[(size_t)in.Pick((int)objects.size())];
        w.pointerX = (int)floorf(w.document.MapToViewX(o.x)) + in.Pick(15) - 7;
        w.pointerY = (int)floorf(w.document.MapToViewY(o.y)) + in.Pick(15) - 7;
        return;
    }
    w.pointerX = in.Pick(640) - 20;
    w.pointerY = in.Pick(640) - 20;
}

// The selection after the objects at these ascending indices went.
std::vector<uint32_t> AfterRemoval(const std::vector<uint32_t>& selection,
                                   const std::vector<uint32_t>& removed)
{
    std::vector<uint32_t> kept;
    for (uint32_t s : selection)
    {
        if (!Has(removed, s))
            kept.push_back(s - (uint32_t)(std::lower_bound(removed.begin(), removed.end(), s) -
                                          removed.begin()));
    }
    return kept;
}

} // namespace

void EraseObjects(Model& m, const std::vector<uint32_t>& removed)
{
    for (size_t k = removed.size(); k-- > 0;)
        m.now.objects.erase(m.now.objects.begin() + removed[k]);
    m.selection = AfterRemoval(m.selection, removed);
}

void RemoveObjects(Model& m, const std::vector<uint32_t>& removed)
{
    const ModelState before = m.now;
    EraseObjects(m, removed);
    m.Commit(before);
}

namespace
{
bool SamePath(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      { return tolower((unsigned char)x) == tolower((unsigned char)y); });
}

// What Copy takes: the selected objects whose type is in the catalog, with
// their types' paths.
ObjectGroup CopyOf(const Model& m)
{
    ObjectGroup group;
    for (uint32_t index : m.selection)
    {
        PlacedObject o = m.now.objects[index];
        if (o.type >= m.now.types.size())
            continue;
        size_t t = 0;
        while (t < group.types.size() && group.types[t].path != m.now.types[o.type].path)
            ++t;
        if (t == group.types.size())
            group.types.push_back(m.now.types[o.type]);
        o.type = (uint8_t)t;
        group.objects.push_back(o);
    }
    return group;
}

// Paste and Duplicate: types found by path (case ignored) or added, the
// group moved but kept on the map, and the new objects selected.
void InsertGroup(Model& m, const ObjectGroup& group, float dx, float dy)
{
    if (group.objects.empty() || group.types.size() > 256)
        return;
    ModelState after = m.now;
    std::vector<size_t> mapped;
    for (const ObjectType& type : group.types)
    {
        size_t t = 0;
        while (t < after.types.size() && !SamePath(after.types[t].path, type.path))
            ++t;
        if (t == after.types.size())
            after.types.push_back(type);
        if (t >= 256)
            return;
        mapped.push_back(t);
    }
    KeepOnMap(BoundsOf(group.objects), &dx, &dy);
    m.selection.clear();
    for (PlacedObject o : group.objects)
    {
        o.type = (uint8_t)mapped[o.type];
        o.x = MovedOnMap(o.x, dx);
        o.y = MovedOnMap(o.y, dy);
        m.selection.push_back((uint32_t)after.objects.size());
        after.objects.push_back(o);
    }
    const ModelState before = m.now;
    m.now = after;
    m.Commit(before);
}

} // namespace

// ---- Pointer ----

void Release(ModelWorld& w, CommandBytes&)
{
    MapDocument& d = w.document;
    Model& m = w.model;
    if (w.gesture == ModelWorld::Gesture::Band)
    {
        d.SelectInViewRect((float)w.bandX, (float)w.bandY, (float)w.pointerX, (float)w.pointerY,
                           w.bandAdds);
        if (!w.bandAdds)
            m.selection.clear();
        for (size_t i = 0; i < m.now.objects.size(); ++i)
        {
            const float x = d.MapToViewX(m.now.objects[i].x), y = d.MapToViewY(m.now.objects[i].y);
            if (x >= std::min(w.bandX, w.pointerX) && x <= std::max(w.bandX, w.pointerX) &&
                y >= std::min(w.bandY, w.pointerY) && y <= std::max(w.bandY, w.pointerY) &&
                !Has(m.selection, (uint32_t)i))
                m.selection.insert(std::upper_bound(m.selection.begin(), m.selection.end(), i),
                                   (uint32_t)i);
        }
    }
    if (w.gesture == ModelWorld::Gesture::Drag)
    {
        d.EndDrag();
        m.EndDrag();
    }
    w.gesture = ModelWorld::Gesture::None;
}

void Press(ModelWorld& w, CommandBytes& in)
{
    Release(w, in);
    MapDocument& d = w.document;
    Model& m = w.model;
    PickPixel(w, in);
    const bool shift = in.Pick(4) == 0;
    const int hit = d.HitTest(w.pointerX, w.pointerY);
    if (hit >= 0 && shift)
    {
        d.ToggleSelected(hit);
        if (Has(m.selection, (uint32_t)hit))
            m.selection.erase(std::lower_bound(m.selection.begin(), m.selection.end(), hit));
        else
            m.selection.insert(std::upper_bound(m.selection.begin(), m.selection.end(), hit), hit);
        return;
    }
    if (hit < 0)
    {
        if (!shift)
        {
            d.ClearSelection();
            m.selection.clear();
        }
        w.gesture = ModelWorld::Gesture::Band;
        w.bandX = w.pointerX;
        w.bandY = w.pointerY;
        w.bandAdds = shift;
        return;
    }
    const float grabX = MapX(w, w.pointerX), grabY = MapY(w, w.pointerY);
    d.BeginDrag(hit, grabX, grabY);
    // The press moves nothing: it keeps where the object was grabbed.
    m.EndDrag();
    if (!Has(m.selection, (uint32_t)hit))
        m.selection = {(uint32_t)hit};
    m.dragGroup = m.selection;
    m.dragPicked = (size_t)(std::lower_bound(m.selection.begin(), m.selection.end(), hit) -
                            m.selection.begin());
    m.dragStart = m.now;
    m.grabOffset = {m.now.objects[hit].x - grabX, m.now.objects[hit].y - grabY};
    m.dragOpen = true;
    w.gesture = ModelWorld::Gesture::Drag;
}

void Move(ModelWorld& w, CommandBytes& in)
{
    const int step = in.Pick(3) == 0 ? 200 : 12;
    w.pointerX += in.Pick(2 * step + 1) - step;
    w.pointerY += in.Pick(2 * step + 1) - step;
    Model& m = w.model;
    if (w.gesture != ModelWorld::Gesture::Drag)
        return;
    const float pointerX = MapX(w, w.pointerX), pointerY = MapY(w, w.pointerY);
    w.document.DragTo(pointerX, pointerY);
    if (!m.dragOpen)
        return;
    // The selection follows the pointer's motion since the press.
    float x = pointerX + m.grabOffset.x, y = pointerY + m.grabOffset.y;
    if (m.snap)
    {
        x = SnapToCellCentre(x, m.now.settings.width);
        y = SnapToCellCentre(y, m.now.settings.height);
    }
    std::vector<MapPoint> from;
    for (uint32_t index : m.dragGroup)
        from.push_back({m.dragStart.objects[index].x, m.dragStart.objects[index].y});
    const MapPoint start = from[m.dragPicked];
    float dx = x - start.x, dy = y - start.y;
    const float wantedX = dx, wantedY = dy;
    KeepOnMap(BoundsOf(from), &dx, &dy);
    for (size_t k = 0; k < from.size(); ++k)
    {
        PlacedObject& o = m.now.objects[m.dragGroup[k]];
        o.x = MovedOnMap(from[k].x, dx);
        o.y = MovedOnMap(from[k].y, dy);
        if (k == m.dragPicked && dx == wantedX && x >= 0.0f && x <= 1.0f)
            o.x = x; // the picked object lands exactly where it is led
        if (k == m.dragPicked && dy == wantedY && y >= 0.0f && y <= 1.0f)
            o.y = y;
    }
}

void Place(ModelWorld& w, CommandBytes& in)
{
    PickPixel(w, in);
    float x = MapX(w, w.pointerX), y = MapY(w, w.pointerY);
    const short rotation = (short)(45 * in.Pick(8));
    w.document.PlaceObject(x, y, rotation);
    Model& m = w.model;
    m.EndDrag();
    const int type = m.currentType;
    if (m.snap)
    {
        x = SnapToCellCentre(x, m.now.settings.width);
        y = SnapToCellCentre(y, m.now.settings.height);
    }
    if (type < 0 || (size_t)type >= m.now.types.size() || type > 255 ||
        !MapDocument::InsideMap(x, y))
        return;
    const ModelState before = m.now;
    PlacedObject o = {};
    o.type = (uint8_t)type;
    o.x = x;
    o.y = y;
    o.rotation = rotation;
    m.now.objects.push_back(o);
    m.Commit(before);
}

// ---- Keys and the Edit menu ----

void Nudge(ModelWorld& w, CommandBytes& in)
{
    const int cellsX = (in.Pick(3) - 1) * (in.Pick(3) == 0 ? 10 : 1);
    const int cellsY = (in.Pick(3) - 1) * (in.Pick(3) == 0 ? 10 : 1);
    w.document.NudgeSelection(cellsX, cellsY);
    Model& m = w.model;
    m.EndDrag();
    const MapSettings& s = m.now.settings;
    if (s.width <= 0 || s.height <= 0 || (cellsX == 0 && cellsY == 0))
        return;
    float dx = (float)cellsX / (float)s.width, dy = (float)cellsY / (float)s.height;
    std::vector<MapPoint> from;
    for (uint32_t index : m.selection)
        from.push_back({m.now.objects[index].x, m.now.objects[index].y});
    KeepOnMap(BoundsOf(from), &dx, &dy);
    const ModelState before = m.now;
    for (size_t k = 0; k < from.size(); ++k)
    {
        m.now.objects[m.selection[k]].x = MovedOnMap(from[k].x, dx);
        m.now.objects[m.selection[k]].y = MovedOnMap(from[k].y, dy);
    }
    if (!from.empty() && memcmp(before.objects.data(), m.now.objects.data(),
                                m.now.objects.size() * sizeof(PlacedObject)) != 0)
        m.Commit(before);
}

void Rotate(ModelWorld& w, CommandBytes& in)
{
    const int degrees = in.Pick(2) ? 45 : -45;
    w.document.RotateSelection(degrees);
    Model& m = w.model;
    m.EndDrag();
    if (m.selection.empty())
        return;
    const ModelState before = m.now;
    for (uint32_t index : m.selection)
    {
        PlacedObject& o = m.now.objects[index];
        o.rotation = (int16_t)(((o.rotation + degrees) % 360 + 360) % 360);
    }
    m.Commit(before);
}

void SetType(ModelWorld& w, CommandBytes&)
{
    w.document.SetSelectionType(w.document.currentType);
    Model& m = w.model;
    m.EndDrag();
    const int type = m.currentType;
    if (type < 0 || (size_t)type >= m.now.types.size() || type > 255)
        return;
    const ModelState before = m.now;
    std::vector<uint32_t> changed;
    for (uint32_t index : m.selection)
    {
        if (m.now.objects[index].type != type)
        {
            m.now.objects[index].type = (uint8_t)type;
            changed.push_back(index);
        }
    }
    if (changed.empty())
        return;
    m.selection = changed; // what changed stays selected
    m.Commit(before);
}

void ChooseType(ModelWorld& w, CommandBytes& in)
{
    w.model.currentType = in.Pick((int)w.model.now.types.size() + 1) - 1;
    w.document.currentType = w.model.currentType;
}

void Delete(ModelWorld& w, CommandBytes&)
{
    w.document.DeleteSelection();
    w.model.EndDrag();
    if (!w.model.selection.empty())
        RemoveObjects(w.model, w.model.selection);
}

void DeleteAtPopup(ModelWorld& w, CommandBytes& in)
{
    PickPixel(w, in);
    const int hit = w.document.HitTest(w.pointerX, w.pointerY);
    w.document.DeleteObject(hit);
    w.model.EndDrag();
    if (hit >= 0)
        RemoveObjects(w.model, {(uint32_t)hit});
}

void CopyOrCut(ModelWorld& w, CommandBytes& in)
{
    const ObjectGroup group = w.document.CopySelection();
    if (group.objects.empty())
        return;
    w.clipboard = EncodeObjectGroup(group);
    w.modelClipboard = CopyOf(w.model);
    if (in.Pick(2) == 0)
        return;
    w.document.DeleteSelection("Cut");
    w.model.EndDrag();
    RemoveObjects(w.model, w.model.selection);
}

// Maps stay small enough for the thousands of commands a second that the
// sanitizers allow: beyond this many objects nothing more is pasted.
const size_t kObjectsAtMost = 300;

void Paste(ModelWorld& w, CommandBytes& in)
{
    ObjectGroup group;
    if (w.model.now.objects.size() > kObjectsAtMost || w.clipboard.empty() ||
        !DecodeObjectGroup(w.clipboard.data(), w.clipboard.size(), &group))
        return;
    const bool atPointer = in.Pick(2) == 0;
    const float dx = atPointer ? in.Fraction() - 0.5f : 0.0f;
    const float dy = atPointer ? in.Fraction() - 0.5f : 0.0f;
    w.document.InsertGroup(group, dx, dy, "Paste");
    w.model.EndDrag();
    InsertGroup(w.model, w.modelClipboard, dx, dy);
}

void Duplicate(ModelWorld& w, CommandBytes&)
{
    MapDocument& d = w.document;
    if (w.model.now.objects.size() > kObjectsAtMost)
        return;
    const float dx = d.width > 0 ? 1.0f / (float)d.width : 0.0f;
    const float dy = d.height > 0 ? 1.0f / (float)d.height : 0.0f;
    const ObjectGroup modelGroup = CopyOf(w.model);
    d.InsertGroup(d.CopySelection(), dx, dy, "Duplicate");
    w.model.EndDrag();
    InsertGroup(w.model, modelGroup, dx, dy);
}

void SelectAllOrNone(ModelWorld& w, CommandBytes& in)
{
    Model& m = w.model;
    m.selection.clear();
    if (in.Pick(2) == 0)
    {
        w.document.SelectAll();
        for (size_t i = 0; i < m.now.objects.size(); ++i)
            m.selection.push_back((uint32_t)i);
        return;
    }
    w.document.ClearSelection();
    if (w.gesture == ModelWorld::Gesture::Band)
        w.gesture = ModelWorld::Gesture::None; // Escape ends a rubber band
}

void Undo(ModelWorld& w, CommandBytes& in)
{
    const bool redo = in.Pick(3) == 0;
    const int count = in.Pick(4) == 0 && !w.fillHistory ? 2000 : in.Pick(6) + 1;
    for (int i = 0; i < count && w.failure.empty(); ++i)
    {
        const bool done = redo ? w.document.Redo() : w.document.Undo();
        w.Expect(done, redo ? w.model.Redo() : w.model.Undo(), redo ? "Redo" : "Undo");
        // The steps' own actions decide what is selected afterwards.
        w.model.selection = w.document.CurrentSelection().Indices();
        if (w.failure.empty())
            w.failure = w.Check();
        if (!done)
            break;
    }
}
} // namespace model
