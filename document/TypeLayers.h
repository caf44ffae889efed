// The object types as layers: which catalog entries are hidden (not drawn,
// not taken by the pointer, the rubber band, Select All or the eraser) and
// which are locked (drawn, but never selected, moved or erased), and how
// many placed objects each type byte has. The flags are view state: never
// saved, never part of an undo step; they follow the catalog's entries when
// entries are inserted or removed. No Windows API.
#ifndef MAPEDITOR_TYPELAYERS_H
#define MAPEDITOR_TYPELAYERS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "document/ObjectType.h"
#include "document/PlacedObject.h"

class TypeLayers
{
  public:
    TypeLayers();

    // ---- Flags of catalog entries (entries past the flags are neither) ----
    bool Hidden(int type) const { return Flag(type, kHidden); }
    bool Locked(int type) const { return Flag(type, kLocked); }
    void SetHidden(int type, bool hidden) { SetFlag(type, kHidden, hidden); }
    void SetLocked(int type, bool locked) { SetFlag(type, kLocked, locked); }
    // Whether objects of this type byte are out of the pointer's and the
    // eraser's reach (hidden or locked), and whether any type is.
    bool Blocked(uint8_t type) const { return blocked_[type] != 0; }
    bool AnyBlocked() const { return anyBlocked_; }

    // The catalog changed: an entry inserted (shown and unlocked) or
    // removed at `index`; a new catalog whose entries keep the flags of the
    // old entries with the same path (case ignored); a new map (none set).
    void EntryInserted(size_t index);
    void EntryRemoved(size_t index);
    void CatalogReplaced(const std::vector<ObjectType>& before,
                         const std::vector<ObjectType>& after);
    void Clear();

    // ---- Object counts per type byte ----
    // Exact as long as every change of the objects is reported; recounted
    // when the reported total no longer matches the list.
    size_t Count(int type, const std::vector<PlacedObject>& objects) const;
    void Counted(uint8_t type)
    {
        if (total_ != kUncounted)
            ++counts_[type], ++total_;
    }
    void Uncounted(uint8_t type)
    {
        if (total_ != kUncounted)
            --counts_[type], --total_;
    }
    void Recount() { total_ = kUncounted; }

  private:
    static constexpr size_t kUncounted = (size_t)-1;
    enum : uint8_t
    {
        kHidden = 1,
        kLocked = 2,
    };
    bool Flag(int type, uint8_t flag) const
    {
        return type >= 0 && (size_t)type < flags_.size() && (flags_[(size_t)type] & flag) != 0;
    }
    void SetFlag(int type, uint8_t flag, bool on);
    void UpdateBlocked();

    std::vector<uint8_t> flags_; // per catalog entry
    uint8_t blocked_[256];       // per type byte
    bool anyBlocked_ = false;
    mutable size_t counts_[256];
    mutable size_t total_ = kUncounted;
};

#endif
