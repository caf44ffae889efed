// The clipboard forms of copied objects (see ClipboardData.h).
#include "document/ClipboardData.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <charconv>
#include <map>
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

// ---- The text form read back ----

const size_t kTextFields = 4; // type path, x, y, rotation

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// A field as a spreadsheet may hand it over: wholly in double quotes.
std::string Unquoted(const std::string& field)
{
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        return field.substr(1, field.size() - 2);
    return field;
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    for (char c : line)
    {
        if (c == '\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (std::string& field : fields)
        field = Unquoted(field);
    return fields;
}

// Why a type path cannot name a catalog entry, or "" when it can.
std::string PathProblem(const std::string& path)
{
    if (path.empty())
        return "its type path is empty";
    if (path.size() > kMaxObjectTypePath)
        return "its type path has " + std::to_string(path.size()) + " characters (at most " +
               std::to_string(kMaxObjectTypePath) + ")";
    for (unsigned char c : path)
    {
        // No file name holds these, and a path with them would not come
        // back from the text it is written to.
        if (c < 0x20 || c == 0x7F || c == '"')
            return "its type path holds a control character or a quote";
    }
    return std::string();
}

// A position on the map square, 0 to 1, as the shortest text of a float.
bool ReadPosition(const std::string& field, float* value)
{
    const std::string text = Trimmed(field);
    const char* end = text.data() + text.size();
    const auto read = std::from_chars(text.data(), end, *value);
    return read.ec == std::errc() && read.ptr == end && *value >= 0.0f && *value <= 1.0f;
}

bool ReadRotation(const std::string& field, int16_t* value)
{
    const std::string text = Trimmed(field);
    const char* end = text.data() + text.size();
    int whole = 0;
    const auto read = std::from_chars(text.data(), end, whole);
    if (read.ec != std::errc() || read.ptr != end || whole < INT16_MIN || whole > INT16_MAX)
        return false;
    *value = (int16_t)whole;
    return true;
}

// One line into a record and its path; "" when it is read, else the reason.
std::string ReadTextLine(const std::string& line, std::string* path, PlacedObject* object)
{
    const std::vector<std::string> fields = SplitFields(line);
    if (fields.size() != kTextFields)
        return "it has " + std::to_string(fields.size()) +
               (fields.size() == 1 ? " field" : " fields") +
               ", where a line has 4: type path, x, y and rotation, separated by tabs";
    const std::string pathProblem = PathProblem(fields[0]);
    if (!pathProblem.empty())
        return pathProblem;
    // Read into aligned values: the record's fields are packed.
    float x = 0.0f, y = 0.0f;
    int16_t rotation = 0;
    if (!ReadPosition(fields[1], &x))
        return "its x \"" + fields[1] + "\" is not a number from 0 to 1";
    if (!ReadPosition(fields[2], &y))
        return "its y \"" + fields[2] + "\" is not a number from 0 to 1";
    if (!ReadRotation(fields[3], &rotation))
        return "its rotation \"" + fields[3] + "\" is not a whole number from -32768 to 32767";
    *object = PlacedObject{};
    object->x = x;
    object->y = y;
    object->rotation = rotation;
    *path = fields[0];
    return std::string();
}

bool IsBlankLine(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
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

bool ReadObjectGroupText(const char* text, size_t size, ObjectGroup* group,
                         TextFormProblem* problem)
{
    ObjectGroup read;
    std::map<std::string, uint8_t> typeOf; // path -> index into read.types
    size_t lineNumber = 0;
    for (size_t at = 0; at < size;)
    {
        const char* lineEnd = (const char*)memchr(text + at, '\n', size - at);
        const size_t end = lineEnd ? (size_t)(lineEnd - text) : size;
        std::string line(text + at, end - at);
        at = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (IsBlankLine(line))
            continue;
        std::string path;
        PlacedObject object;
        std::string reason = ReadTextLine(line, &path, &object);
        const auto known = typeOf.find(path);
        if (reason.empty() && known == typeOf.end() && read.types.size() > UINT8_MAX)
            reason = "it names a type beyond the 256 that a record can name";
        if (!reason.empty())
        {
            if (problem)
                *problem = TextFormProblem{lineNumber, reason};
            return false;
        }
        if (known == typeOf.end())
        {
            object.type = (uint8_t)read.types.size();
            typeOf.emplace(path, object.type);
            read.types.push_back(ObjectType{path});
        }
        else
            object.type = known->second;
        read.objects.push_back(object);
    }
    if (read.objects.empty())
    {
        if (problem)
            *problem = TextFormProblem{0, "it holds no line of objects"};
        return false;
    }
    *group = std::move(read);
    return true;
}
