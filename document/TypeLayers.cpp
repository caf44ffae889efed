// Hidden and locked types and the object counts per type (see TypeLayers.h).
#include "document/TypeLayers.h"

#include <ctype.h>
#include <string.h>

namespace
{
std::string Folded(const std::string& path)
{
    std::string folded = path;
    for (char& c : folded)
        c = (char)tolower((unsigned char)c);
    return folded;
}
} // namespace

TypeLayers::TypeLayers()
{
    memset(blocked_, 0, sizeof(blocked_));
    memset(counts_, 0, sizeof(counts_));
}

void TypeLayers::SetFlag(int type, uint8_t flag, bool on)
{
    if (type < 0)
        return;
    if ((size_t)type >= flags_.size())
    {
        if (!on)
            return;
        flags_.resize((size_t)type + 1, 0);
    }
    uint8_t& flags = flags_[(size_t)type];
    flags = on ? (uint8_t)(flags | flag) : (uint8_t)(flags & ~flag);
    UpdateBlocked();
}

void TypeLayers::UpdateBlocked()
{
    anyBlocked_ = false;
    for (size_t t = 0; t < 256; ++t)
    {
        blocked_[t] = t < flags_.size() && flags_[t] != 0;
        anyBlocked_ = anyBlocked_ || blocked_[t];
    }
}

void TypeLayers::EntryInserted(size_t index)
{
    if (index < flags_.size())
    {
        flags_.insert(flags_.begin() + (std::ptrdiff_t)index, 0);
        UpdateBlocked();
    }
}

void TypeLayers::EntryRemoved(size_t index)
{
    if (index < flags_.size())
    {
        flags_.erase(flags_.begin() + (std::ptrdiff_t)index);
        UpdateBlocked();
    }
}

void TypeLayers::CatalogReplaced(const std::vector<ObjectType>& before,
                                 const std::vector<ObjectType>& after)
{
    std::vector<uint8_t> flags(after.size(), 0);
    for (size_t old = 0; old < before.size() && old < flags_.size(); ++old)
    {
        if (!flags_[old])
            continue;
        const std::string path = Folded(before[old].path);
        for (size_t t = 0; t < after.size(); ++t)
        {
            if (Folded(after[t].path) == path)
                flags[t] = flags_[old];
        }
    }
    flags_.swap(flags);
    UpdateBlocked();
    Recount();
}

void TypeLayers::Clear()
{
    flags_.clear();
    UpdateBlocked();
}

size_t TypeLayers::Count(int type, const std::vector<PlacedObject>& objects) const
{
    if (total_ != objects.size())
    {
        memset(counts_, 0, sizeof(counts_));
        for (const PlacedObject& object : objects)
            ++counts_[object.type];
        total_ = objects.size();
    }
    return type >= 0 && type < 256 ? counts_[type] : 0;
}
