// The clipboard forms of copied objects (see ClipboardData.h).
#include "document/ClipboardData.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <new>
#include <utility>

namespace
{
const unsigned char kSignature[4] = {'M', '4', 'D', 'C'};
const size_t kHeaderSize = 12;

void Append32(std::vector<unsigned char>* out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out->push_back((unsigned char)(value >> shift));
}

uint32_t Read32(const unsigned char* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
} // namespace

std::vector<unsigned char> EncodeObjectGroup(const ObjectGroup& group)
{
    std::vector<unsigned char> out(kSignature, kSignature + sizeof(kSignature));
    Append32(&out, (uint32_t)group.types.size());
    Append32(&out, (uint32_t)group.objects.size());
    for (const ObjectType& type : group.types)
    {
        const size_t length =
            type.path.size() < kMaxObjectTypePath ? type.path.size() : kMaxObjectTypePath;
        out.push_back((unsigned char)length);
        out.push_back((unsigned char)(length >> 8));
        out.insert(out.end(), type.path.begin(), type.path.begin() + (std::ptrdiff_t)length);
    }
    const unsigned char* records = (const unsigned char*)group.objects.data();
    out.insert(out.end(), records, records + group.objects.size() * sizeof(PlacedObject));
    return out;
}

bool DecodeObjectGroup(const unsigned char* data, size_t size, ObjectGroup* group)
{
    if (!data || size < kHeaderSize || memcmp(data, kSignature, sizeof(kSignature)) != 0)
        return false;
    const uint64_t typeCount = Read32(data + 4);
    const uint64_t objectCount = Read32(data + 8);
    // Each path takes at least its 2-byte length: both counts are bounded by
    // the data before anything is allocated.
    if (typeCount * 2 + objectCount * sizeof(PlacedObject) > (uint64_t)size - kHeaderSize)
        return false;
    ObjectGroup read;
    size_t at = kHeaderSize;
    try
    {
        read.types.reserve((size_t)typeCount);
        for (uint64_t t = 0; t < typeCount; ++t)
        {
            if (size - at < 2)
                return false;
            const size_t length = (size_t)data[at] | (size_t)data[at + 1] << 8;
            at += 2;
            if (length > kMaxObjectTypePath || size - at < length)
                return false;
            read.types.push_back(ObjectType{std::string((const char*)data + at, length)});
            at += length;
        }
        if ((uint64_t)(size - at) < objectCount * sizeof(PlacedObject))
            return false;
        read.objects.resize((size_t)objectCount);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    if (objectCount)
        memcpy(read.objects.data(), data + at, (size_t)objectCount * sizeof(PlacedObject));
    for (const PlacedObject& object : read.objects)
    {
        if (object.type >= read.types.size())
            return false;
    }
    *group = std::move(read);
    return true;
}

std::string ObjectGroupText(const ObjectGroup& group)
{
    std::string text;
    char numbers[96];
    for (const PlacedObject& object : group.objects)
    {
        if (object.type < group.types.size())
            text += group.types[object.type].path;
        // Nine significant digits give every 32-bit float back exactly.
        snprintf(numbers, sizeof(numbers), "\t%.9g\t%.9g\t%d\r\n", (double)object.x,
                 (double)object.y, (int)object.rotation);
        text += numbers;
    }
    return text;
}
