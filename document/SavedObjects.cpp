// Block hashes of the objects as last loaded or saved (see SavedObjects.h).
#include "document/SavedObjects.h"

#include <string.h>

namespace
{
inline uint64_t Rotate(uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

// Two lanes that mix every 8-byte word with different multipliers and
// orders of operations, so that a pair of blocks matching in one lane by
// chance is no more likely to match in the other. Each lane runs as four
// independent chains over every fourth word (the multiplications of one
// chain wait for each other, those of four do not), folded at the end.
struct Lanes
{
    static const int kChains = 4;
    uint64_t a[kChains] = {0x243F6A8885A308D3ull, 0xA4093822299F31D0ull, 0x082EFA98EC4E6C89ull,
                           0x452821E638D01377ull};
    uint64_t b[kChains] = {0x13198A2E03707344ull, 0xBE5466CF34E90C6Cull, 0xC0AC29B7C97C50DDull,
                           0x3F84D5B5B5470917ull};

    void Word(int chain, uint64_t word)
    {
        a[chain] = Rotate((a[chain] ^ word) * 0x9E3779B97F4A7C15ull, 29);
        b[chain] = (Rotate(b[chain], 31) + word) * 0xC2B2AE3D27D4EB4Full;
    }
    static uint64_t Finish(uint64_t h)
    {
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }
    // The chains folded into the first, in order.
    void Fold()
    {
        for (int chain = 1; chain < kChains; ++chain)
        {
            Word(0, a[chain]);
            b[0] = (Rotate(b[0], 31) + b[chain]) * 0xC2B2AE3D27D4EB4Full;
        }
    }
};
} // namespace

SavedObjects::Hash SavedObjects::HashRecords(const PlacedObject* records, size_t count)
{
    const unsigned char* bytes = (const unsigned char*)records;
    const size_t length = count * sizeof(PlacedObject);
    Lanes lanes;
    size_t at = 0;
    for (; at + 8 * Lanes::kChains <= length; at += 8 * Lanes::kChains)
    {
        uint64_t words[Lanes::kChains];
        memcpy(words, bytes + at, sizeof(words));
        for (int chain = 0; chain < Lanes::kChains; ++chain)
            lanes.Word(chain, words[chain]);
    }
    lanes.Fold();
    for (; at + 8 <= length; at += 8)
    {
        uint64_t word;
        memcpy(&word, bytes + at, 8);
        lanes.Word(0, word);
    }
    uint64_t tail = 0;
    memcpy(&tail, bytes + at, length - at);
    lanes.Word(0, tail);
    lanes.Word(0, length);
    return {Lanes::Finish(lanes.a[0]), Lanes::Finish(lanes.b[0])};
}

void SavedObjects::Note(const std::vector<ObjectType>& types,
                        const std::vector<PlacedObject>& objects)
{
    paths_.clear();
    for (const ObjectType& type : types)
        paths_.push_back(type.path);
    count_ = objects.size();
    blocks_.clear();
    blocks_.shrink_to_fit();
    blocks_.reserve((count_ + kBlockRecords - 1) / kBlockRecords);
    for (size_t first = 0; first < count_; first += kBlockRecords)
    {
        const size_t n = count_ - first < kBlockRecords ? count_ - first : kBlockRecords;
        blocks_.push_back(HashRecords(objects.data() + first, n));
    }
}

bool SavedObjects::Differs(const std::vector<ObjectType>& types,
                           const std::vector<PlacedObject>& objects) const
{
    if (objects.size() != count_ || types.size() != paths_.size())
        return true;
    for (size_t i = 0; i < types.size(); ++i)
    {
        if (types[i].path != paths_[i])
            return true;
    }
    for (size_t block = 0, first = 0; first < count_; ++block, first += kBlockRecords)
    {
        const size_t n = count_ - first < kBlockRecords ? count_ - first : kBlockRecords;
        if (!(HashRecords(objects.data() + first, n) == blocks_[block]))
            return true;
    }
    return false;
}

size_t SavedObjects::Bytes() const
{
    size_t bytes = blocks_.capacity() * sizeof(Hash) + paths_.capacity() * sizeof(std::string);
    for (const std::string& path : paths_)
        bytes += path.capacity();
    return bytes;
}
