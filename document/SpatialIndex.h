// A uniform grid of cells over the map square that finds placed objects by
// their centres: the brush's spacing test, the eraser, the hit test and the
// rubber band ask it for the objects in a box instead of walking the list.
// No Windows API.
//
// Object indices shift whenever an object is inserted or removed before
// others, so the grid holds keys instead: each object has a 32-bit key, and
// the keys ascend with the objects' order (keys_[i] belongs to object i). A
// removal deletes its entries and closes up the key list; an insertion takes
// keys from the gap between its neighbours' keys. The object at a key is
// found by a binary search of the key list. Each entry also holds the centre
// it was filed under, so that distance tests need not look up the object.
//
// The owner reports every change of the list through the hooks below. A
// change of many objects (or one whose keys do not fit) makes the index
// stale instead, and the next Sync rebuilds it; so does finding the list
// changed behind its back (another length than the keys').
#ifndef MAPEDITOR_SPATIALINDEX_H
#define MAPEDITOR_SPATIALINDEX_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "document/PlacedObject.h"

class SpatialIndex
{
  public:
    struct Entry
    {
        uint32_t key;
        float x, y; // the centre, as the object holds it
    };

    // Rebuilds the index when it is stale or no longer matches the list.
    void Sync(const std::vector<PlacedObject>& objects);
    // Forgets everything: the next Sync rebuilds.
    void Forget();
    bool Stale() const { return stale_; }

    // ---- Hooks, each called with the list as it is at that moment ----
    // The objects now at these ascending indices were just inserted.
    void Inserted(const std::vector<PlacedObject>& objects, const std::vector<uint32_t>& indices);
    // The objects at these ascending indices are about to be removed.
    void Removing(const std::vector<PlacedObject>& objects, const std::vector<uint32_t>& indices);
    // The centres of the objects at these indices are about to change
    // (Moving), and have changed (Moved).
    void Moving(const std::vector<PlacedObject>& objects, const std::vector<uint32_t>& indices);
    void Moved(const std::vector<PlacedObject>& objects, const std::vector<uint32_t>& indices);

    // ---- Queries (after Sync) ----
    // Calls visit(entry) for every object whose centre may lie in the box
    // [x0, x1] x [y0, y1] (map units; objects off the map are filed in the
    // border cells, so boxes reaching past the map find them). Entries of
    // nearby centres outside the box may be visited too: callers test each.
    // Centres that are not finite numbers are never visited.
    template <typename Visit>
    void ForEachInBox(double x0, double y0, double x1, double y1, Visit&& visit) const
    {
        int cx0, cy0, cx1, cy1;
        if (!CellRange(x0, y0, x1, y1, &cx0, &cy0, &cx1, &cy1))
            return;
        for (int cy = cy0; cy <= cy1; ++cy)
        {
            for (int cx = cx0; cx <= cx1; ++cx)
            {
                const Cell& cell = cells_[(size_t)cy * (size_t)side_ + (size_t)cx];
                const Entry* entry = pool_.data() + cell.start;
                for (uint32_t k = 0; k < cell.count; ++k)
                    visit(entry[k]);
            }
        }
    }
    // Whether test(entry) holds for any entry ForEachInBox would visit;
    // stops at the first.
    template <typename Test>
    bool AnyInBox(double x0, double y0, double x1, double y1, Test&& test) const
    {
        int cx0, cy0, cx1, cy1;
        if (!CellRange(x0, y0, x1, y1, &cx0, &cy0, &cx1, &cy1))
            return false;
        for (int cy = cy0; cy <= cy1; ++cy)
        {
            for (int cx = cx0; cx <= cx1; ++cx)
            {
                const Cell& cell = cells_[(size_t)cy * (size_t)side_ + (size_t)cx];
                const Entry* entry = pool_.data() + cell.start;
                for (uint32_t k = 0; k < cell.count; ++k)
                {
                    if (test(entry[k]))
                        return true;
                }
            }
        }
        return false;
    }
    // The share of all cells that the box's cells make up (0..1): a box
    // that covers much of the map is better answered by walking the list.
    double BoxShare(double x0, double y0, double x1, double y1) const;
    // The index of the object with this key (a key of an entry visited).
    size_t IndexOf(uint32_t key) const;

    // Memory the index holds, and its cells per side (for benchmarks).
    size_t Bytes() const;
    int Side() const { return side_; }

  private:
    struct Cell
    {
        uint32_t start = 0; // first entry in pool_
        uint32_t count = 0;
        uint32_t capacity = 0;
    };

    void Rebuild(const std::vector<PlacedObject>& objects);
    size_t CellOf(float x, float y) const;
    bool CellRange(double x0, double y0, double x1, double y1, int* cx0, int* cy0, int* cx1,
                   int* cy1) const;
    void Link(const Entry& entry);
    bool Unlink(uint32_t key, float x, float y);
    // Unlinks the objects at `indices`; forgets the index (false) when one
    // is not where the index has it.
    bool UnlinkAll(const std::vector<PlacedObject>& objects, const std::vector<uint32_t>& indices);
    void Compact();
    // Whether a change of `count` objects is better done by a rebuild.
    bool TooMany(size_t count) const;

    bool stale_ = true;
    int side_ = 0;               // cells per side of the map square
    uint32_t gap_ = 1;           // key step of appended objects
    std::vector<uint32_t> keys_; // per object, ascending
    // side_ x side_ cells row by row, then one cell for centres that are
    // not finite (never visited by a box).
    std::vector<Cell> cells_;
    std::vector<Entry> pool_; // each cell's entries in one run
    size_t unused_ = 0;       // entries of pool_ that no cell's run holds
};

#endif
