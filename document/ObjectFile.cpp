// Reading and writing the bytes of the object placement file.
#include "document/ObjectFile.h"

#include <limits.h>
#include <string.h>

#include <new>

const unsigned char kObjectFileSignature[4] = {0x4D, 0x34, 0x44, 0x4F};

namespace
{
int32_t ReadInt32(const unsigned char* p)
{
    const uint32_t value =
        (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
    return (int32_t)value;
}

void AppendInt32(std::vector<unsigned char>* out, int32_t value)
{
    const uint32_t bits = (uint32_t)value;
    for (int shift = 0; shift < 32; shift += 8)
        out->push_back((unsigned char)(bits >> shift));
}

uint64_t EntriesOf(int32_t count)
{
    return count > 0 ? (uint64_t)count : 0;
}
} // namespace

bool ReadObjectFileHeader(const unsigned char* data, size_t size, ObjectFileHeader* header)
{
    if (!data || size < kObjectFileHeaderSize)
        return false;
    if (memcmp(data, kObjectFileSignature, sizeof(kObjectFileSignature)) != 0)
        return false;
    header->typeCount = ReadInt32(data + 4);
    header->objectCount = ReadInt32(data + 8);
    return true;
}

uint64_t ObjectFileRequiredSize(const ObjectFileHeader& header)
{
    // At most 12 + 128 x (2^31 - 1) + 17 x (2^31 - 1) < 2^39: no overflow.
    return kObjectFileHeaderSize + kObjectFileNameSize * EntriesOf(header.typeCount) +
           kObjectRecordSize * EntriesOf(header.objectCount);
}

void ReadObjectTypeNames(const unsigned char* fields, size_t count, std::vector<ObjectType>* types)
{
    types->resize(count);
    for (size_t i = 0; i < count; ++i, fields += kObjectFileNameSize)
    {
        // Up to the first zero byte, and never past the 127 characters that a
        // well-formed field can hold.
        const void* zero = memchr(fields, 0, kMaxObjectTypePath);
        const size_t length =
            zero ? (size_t)((const unsigned char*)zero - fields) : kMaxObjectTypePath;
        (*types)[i].path.assign((const char*)fields, length);
    }
}

namespace
{
void Tell(std::string* problem, const std::string& text)
{
    if (problem)
        *problem = text;
}

// Why a file of `size` bytes is shorter than its header says: counts so
// large that the file cannot be that file cut short (more than twice its
// size and 64 KiB beyond), or a file that ends early.
std::string ShortFileProblem(const ObjectFileHeader& header, uint64_t size)
{
    const uint64_t required = ObjectFileRequiredSize(header);
    if (required > size * 2 + 65536)
    {
        const uint64_t names =
            kObjectFileHeaderSize + kObjectFileNameSize * EntriesOf(header.typeCount);
        if (names > size * 2 + 65536)
            return "its type count (" + std::to_string(header.typeCount) +
                   ") does not fit the file";
        return "its object count (" + std::to_string(header.objectCount) +
               ") does not fit the file";
    }
    return "it is truncated (expected " + std::to_string(required) + " bytes, found " +
           std::to_string(size) + ")";
}
} // namespace

bool ParseObjectFileInPlace(const unsigned char* data, size_t size, std::vector<ObjectType>* types,
                            const PlacedObject** records, size_t* objectCount, std::string* problem)
{
    ObjectFileHeader header;
    if (!data || size < sizeof(kObjectFileSignature) ||
        memcmp(data, kObjectFileSignature, sizeof(kObjectFileSignature)) != 0)
    {
        Tell(problem, "it is not an object placement file (it does not start with M4DO)");
        return false;
    }
    if (!ReadObjectFileHeader(data, size, &header))
    {
        Tell(problem,
             "it is truncated (expected at least 12 bytes, found " + std::to_string(size) + ")");
        return false;
    }
    // Every size in 64 bits: on a 32-bit build 128 x T alone could wrap.
    if ((uint64_t)size < ObjectFileRequiredSize(header))
    {
        Tell(problem, ShortFileProblem(header, size));
        return false;
    }

    // The size check above bounds both counts by the bytes actually present.
    const size_t typeCount = (size_t)EntriesOf(header.typeCount);
    std::vector<ObjectType> read;
    ReadObjectTypeNames(data + kObjectFileHeaderSize, typeCount, &read);
    types->swap(read);
    *records = reinterpret_cast<const PlacedObject*>(data + kObjectFileHeaderSize +
                                                     kObjectFileNameSize * typeCount);
    *objectCount = (size_t)EntriesOf(header.objectCount);
    return true;
}

bool ParseObjectFile(const unsigned char* data, size_t size, ObjectFileContents* contents,
                     std::string* problem)
{
    ObjectFileContents read;
    const PlacedObject* records = nullptr;
    size_t objectCount = 0;
    try
    {
        if (!ParseObjectFileInPlace(data, size, &read.types, &records, &objectCount, problem))
            return false;
        // The records are packed (alignment 1) and trivially copyable: they
        // are copied as they lie, in one pass, without zeroing the store first.
        read.objects.assign(records, records + objectCount);
    }
    catch (const std::bad_alloc&)
    {
        Tell(problem,
             "there is not enough memory for its " + std::to_string(objectCount) + " objects");
        return false;
    }

    contents->types.swap(read.types);
    contents->objects.swap(read.objects);
    return true;
}

void ObjectFilePieces::NextPiece(uint64_t fileSize, uint64_t, void** into, size_t* size)
{
    *size = 0;
    if (stage_ == Stage::Header)
    {
        stage_ = fileSize < kObjectFileHeaderSize ? Stage::Stopped : Stage::Names;
        *into = header_;
        *size = stage_ == Stage::Names ? kObjectFileHeaderSize : 0;
        return;
    }
    if (stage_ == Stage::Names)
    {
        ObjectFileHeader header;
        if (!ReadObjectFileHeader(header_, sizeof(header_), &header) ||
            fileSize < ObjectFileRequiredSize(header))
        {
            stage_ = Stage::Stopped;
            return;
        }
        // The size check bounds both counts by the bytes in the file.
        typeCount_ = (size_t)EntriesOf(header.typeCount);
        try
        {
            names_.resize(kObjectFileNameSize * typeCount_);
            contents.objects.resize((size_t)EntriesOf(header.objectCount));
        }
        catch (const std::bad_alloc&)
        {
            stage_ = Stage::Stopped;
            return;
        }
        stage_ = Stage::Records;
        if (!names_.empty())
        {
            *into = names_.data();
            *size = names_.size();
            return;
        }
    }
    if (stage_ == Stage::Records)
    {
        try
        {
            ReadObjectTypeNames(names_.data(), typeCount_, &contents.types);
        }
        catch (const std::bad_alloc&)
        {
            stage_ = Stage::Stopped;
            return;
        }
        stage_ = Stage::Done;
        *into = contents.objects.data();
        *size = contents.objects.size() * kObjectRecordSize;
    }
}

bool EncodeObjectFileHead(const std::vector<ObjectType>& types, size_t objectCount,
                          std::vector<unsigned char>* out)
{
    if (types.size() > (size_t)INT32_MAX || objectCount > (size_t)INT32_MAX)
        return false;
    out->clear();
    out->reserve(kObjectFileHeaderSize + kObjectFileNameSize * types.size());
    out->insert(out->end(), kObjectFileSignature, kObjectFileSignature + 4);
    AppendInt32(out, (int32_t)types.size());
    AppendInt32(out, (int32_t)objectCount);
    for (const ObjectType& type : types)
    {
        // Zero-filled field; the name and at least one zero byte.
        const size_t start = out->size();
        out->resize(start + kObjectFileNameSize, 0);
        const size_t length =
            type.path.size() < kMaxObjectTypePath ? type.path.size() : kMaxObjectTypePath;
        memcpy(out->data() + start, type.path.data(), length);
    }
    return true;
}

bool EncodeObjectFile(const std::vector<ObjectType>& types,
                      const std::vector<PlacedObject>& objects, std::vector<unsigned char>* out)
{
    if (!EncodeObjectFileHead(types, objects.size(), out))
        return false;
    if (!objects.empty())
    {
        const unsigned char* records = (const unsigned char*)objects.data();
        out->insert(out->end(), records, records + objects.size() * kObjectRecordSize);
    }
    return true;
}
