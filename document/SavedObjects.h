// What the object placement file held when it was last loaded or saved,
// kept small enough for a million objects: the catalog's paths as they were
// and a pair of 64-bit hashes for every block of records, instead of a
// second copy of the records (17 bytes an object). No Windows API.
//
// A block whose hashes differ from the kept ones certainly differs, so
// "modified" is always exact; only "unmodified" rests on every block's 128
// bits of hash matching, which two different blocks do with a chance far
// below that of a memory fault. The hashes are computed once per version of
// the objects (MapDocument caches the answer), a few milliseconds at 1M.
#ifndef MAPEDITOR_SAVEDOBJECTS_H
#define MAPEDITOR_SAVEDOBJECTS_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "document/ObjectType.h"
#include "document/PlacedObject.h"

class SavedObjects
{
  public:
    // Records per hashed block: 4,096 records are 69,632 bytes, a whole
    // number of 8-byte words.
    static const size_t kBlockRecords = 4096;

    // The catalog and the objects as they are now become what was saved.
    void Note(const std::vector<ObjectType>& types, const std::vector<PlacedObject>& objects);
    // Whether the file written for these would have other bytes.
    bool Differs(const std::vector<ObjectType>& types,
                 const std::vector<PlacedObject>& objects) const;
    // Memory held (for benchmarks).
    size_t Bytes() const;

    struct Hash
    {
        uint64_t a, b;
        bool operator==(const Hash& other) const { return a == other.a && b == other.b; }
    };
    // The hash of a run of records (a block, or the last one's rest).
    static Hash HashRecords(const PlacedObject* records, size_t count);

  private:
    std::vector<std::string> paths_;
    size_t count_ = 0;
    std::vector<Hash> blocks_;
};

#endif
