// The grid of object centres (see SpatialIndex.h): building it, keeping it
// in step with insertions, removals and moves, and the cells of a box.
#include "document/SpatialIndex.h"

#include <math.h>

#include <algorithm>

#include "document/Selection.h"

namespace
{
// Cells per side grow with the object count, so that a cell holds about
// kObjectsPerCell objects on a map filled evenly (a brush step's boxes then
// visit few entries however many objects the map has).
const int kMinSide = 16;
const int kMaxSide = 2048;
const double kObjectsPerCell = 16.0;
// A map that grew past this many objects a cell is laid out anew.
const double kMostObjectsPerCell = 64.0;
// Key step between consecutive objects after a rebuild; appended objects
// continue it. Keys stay below 2^31 after a rebuild, so that appending
// never runs out before the map has doubled.
const uint32_t kLargestGap = 1024;
// Objects that move are taken out of their cells and filed again, each
// about as dear as a rebuild's share of one object; a drag does it at every
// pointer movement, so a larger group makes the index stale instead (one
// rebuild at the next query).
const size_t kMostMovedInStep = 4096;

uint32_t SpareEntries(uint32_t count)
{
    return count / 8 + 2;
}
} // namespace

void SpatialIndex::Forget()
{
    stale_ = true;
}

void SpatialIndex::Sync(const std::vector<PlacedObject>& objects)
{
    if (stale_ || keys_.size() != objects.size())
        Rebuild(objects);
}

bool SpatialIndex::TooMany(size_t count) const
{
    return count > 1024 && count > keys_.size() / 8;
}

size_t SpatialIndex::CellOf(float x, float y) const
{
    if (!isfinite(x) || !isfinite(y))
        return (size_t)side_ * (size_t)side_;
    // side_ is a power of two: the products are exact, so an object's cell
    // and a box's cells agree at every boundary.
    const auto axis = [this](float v)
    {
        const double s = (double)v * side_;
        if (s < 0.0)
            return 0;
        return s >= side_ ? side_ - 1 : (int)s;
    };
    return (size_t)axis(y) * (size_t)side_ + (size_t)axis(x);
}

bool SpatialIndex::CellRange(double x0, double y0, double x1, double y1, int* cx0, int* cy0,
                             int* cx1, int* cy1) const
{
    if (side_ <= 0 || isnan(x0) || isnan(y0) || isnan(x1) || isnan(y1) || x1 < x0 || y1 < y0)
        return false;
    const auto axis = [this](double v)
    {
        const double s = v * side_;
        if (!(s >= 0.0))
            return 0;
        return s >= side_ ? side_ - 1 : (int)s;
    };
    *cx0 = axis(x0);
    *cy0 = axis(y0);
    *cx1 = axis(x1);
    *cy1 = axis(y1);
    return true;
}

double SpatialIndex::BoxShare(double x0, double y0, double x1, double y1) const
{
    int cx0, cy0, cx1, cy1;
    if (!CellRange(x0, y0, x1, y1, &cx0, &cy0, &cx1, &cy1))
        return 0.0;
    return (double)(cx1 - cx0 + 1) * (double)(cy1 - cy0 + 1) / ((double)side_ * side_);
}

void SpatialIndex::Rebuild(const std::vector<PlacedObject>& objects)
{
    const size_t n = objects.size();
    side_ = kMinSide;
    while (side_ < kMaxSide && (double)side_ * side_ * kObjectsPerCell < (double)n)
        side_ *= 2;
    gap_ = (uint32_t)std::max<size_t>(1, std::min<size_t>(kLargestGap, 0x7fffffffu / (n + 1)));
    keys_.resize(n);
    for (size_t i = 0; i < n; ++i)
        keys_[i] = (uint32_t)(i + 1) * gap_;

    cells_.assign((size_t)side_ * (size_t)side_ + 1, Cell());
    for (const PlacedObject& object : objects)
        ++cells_[CellOf(object.x, object.y)].count;
    uint32_t start = 0;
    for (Cell& cell : cells_)
    {
        cell.start = start;
        cell.capacity = cell.count + SpareEntries(cell.count);
        start += cell.capacity;
        cell.count = 0;
    }
    pool_.assign(start, Entry());
    for (size_t i = 0; i < n; ++i)
    {
        const Entry entry = {keys_[i], objects[i].x, objects[i].y};
        Cell& cell = cells_[CellOf(entry.x, entry.y)];
        pool_[cell.start + cell.count++] = entry;
    }
    unused_ = start - n;
    stale_ = false;
}

void SpatialIndex::Link(const Entry& entry)
{
    Cell& cell = cells_[CellOf(entry.x, entry.y)];
    if (cell.count == cell.capacity)
    {
        // The run moves to the end of the pool with room to grow; its old
        // place stays unused until the pool is compacted.
        const uint32_t capacity = cell.capacity * 2 + 4;
        const uint32_t start = (uint32_t)pool_.size();
        pool_.resize(pool_.size() + capacity);
        std::copy(pool_.begin() + cell.start, pool_.begin() + cell.start + cell.count,
                  pool_.begin() + start);
        unused_ += capacity;
        cell.start = start;
        cell.capacity = capacity;
    }
    pool_[cell.start + cell.count++] = entry;
    --unused_;
    if (unused_ > 4096 && unused_ > pool_.size() / 2)
        Compact();
}

bool SpatialIndex::Unlink(uint32_t key, float x, float y)
{
    Cell& cell = cells_[CellOf(x, y)];
    Entry* entries = pool_.data() + cell.start;
    for (uint32_t k = 0; k < cell.count; ++k)
    {
        if (entries[k].key == key)
        {
            entries[k] = entries[--cell.count];
            ++unused_;
            return true;
        }
    }
    return false; // the object was moved behind the index's back
}

void SpatialIndex::Compact()
{
    std::vector<Entry> pool;
    pool.reserve(pool_.size() - unused_ / 2);
    size_t live = 0;
    for (Cell& cell : cells_)
    {
        live += cell.count;
        const uint32_t start = (uint32_t)pool.size();
        pool.insert(pool.end(), pool_.begin() + cell.start,
                    pool_.begin() + cell.start + cell.count);
        cell.start = start;
        cell.capacity = cell.count + SpareEntries(cell.count);
        pool.resize(start + cell.capacity);
    }
    unused_ = pool.size() - live;
    pool_.swap(pool);
}

void SpatialIndex::Inserted(const std::vector<PlacedObject>& objects,
                            const std::vector<uint32_t>& indices)
{
    if (stale_ || indices.empty())
        return;
    if (keys_.size() + indices.size() != objects.size() || TooMany(indices.size()) ||
        objects.size() > (double)side_ * side_ * kMostObjectsPerCell)
    {
        Forget();
        return;
    }
    InsertAtIndices(&keys_, indices, std::vector<uint32_t>(indices.size(), 0));
    // Each run of consecutive new objects takes keys spread over the gap
    // between its neighbours' keys (a run at the end continues the step).
    for (size_t k = 0; k < indices.size();)
    {
        size_t end = k + 1;
        while (end < indices.size() && indices[end] == indices[end - 1] + 1)
            ++end;
        const size_t first = indices[k], count = end - k, after = first + count;
        const uint64_t low = first > 0 ? keys_[first - 1] : 0;
        const bool atEnd = after == keys_.size();
        const uint64_t high = atEnd ? low + (uint64_t)gap_ * (count + 1) : keys_[after];
        if (high > 0xffffffffu || high - low - 1 < count)
        {
            Forget(); // no room between the neighbours: renumber all
            return;
        }
        for (size_t t = 0; t < count; ++t)
        {
            keys_[first + t] = atEnd ? (uint32_t)(low + (uint64_t)gap_ * (t + 1))
                                     : (uint32_t)(low + (high - low) * (t + 1) / (count + 1));
        }
        k = end;
    }
    for (uint32_t index : indices)
        Link(Entry{keys_[index], objects[index].x, objects[index].y});
}

bool SpatialIndex::UnlinkAll(const std::vector<PlacedObject>& objects,
                             const std::vector<uint32_t>& indices)
{
    for (uint32_t index : indices)
    {
        if (!Unlink(keys_[index], objects[index].x, objects[index].y))
        {
            Forget();
            return false;
        }
    }
    return true;
}

void SpatialIndex::Removing(const std::vector<PlacedObject>& objects,
                            const std::vector<uint32_t>& indices)
{
    if (stale_ || indices.empty())
        return;
    if (keys_.size() != objects.size() || TooMany(indices.size()))
    {
        Forget();
        return;
    }
    if (!UnlinkAll(objects, indices))
        return;
    RemoveAtIndices(&keys_, indices, (std::vector<uint32_t>*)nullptr);
}

void SpatialIndex::Moving(const std::vector<PlacedObject>& objects,
                          const std::vector<uint32_t>& indices)
{
    if (stale_ || indices.empty())
        return;
    if (keys_.size() != objects.size() || TooMany(indices.size()) ||
        indices.size() > kMostMovedInStep)
    {
        Forget();
        return;
    }
    UnlinkAll(objects, indices);
}

void SpatialIndex::Moved(const std::vector<PlacedObject>& objects,
                         const std::vector<uint32_t>& indices)
{
    if (stale_ || indices.empty())
        return;
    if (keys_.size() != objects.size())
    {
        Forget();
        return;
    }
    for (uint32_t index : indices)
        Link(Entry{keys_[index], objects[index].x, objects[index].y});
}

size_t SpatialIndex::IndexOf(uint32_t key) const
{
    return (size_t)(std::lower_bound(keys_.begin(), keys_.end(), key) - keys_.begin());
}

size_t SpatialIndex::Bytes() const
{
    return keys_.capacity() * sizeof(uint32_t) + cells_.capacity() * sizeof(Cell) +
           pool_.capacity() * sizeof(Entry);
}
