// The object placement file as JSON text, written and read with
// nlohmann-json (see the header for the form).
#include "mapcheck/ObjectJson.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include <charconv>

#include <nlohmann/json.hpp>

namespace mapcheck
{
namespace
{
// Keys keep the order they are written in, and numbers are floats.
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool, int64_t,
                                  uint64_t, float>;

const char kHexDigits[] = "0123456789abcdef";

char* Hex(char* to, const uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
    {
        *to++ = kHexDigits[bytes[i] >> 4];
        *to++ = kHexDigits[bytes[i] & 15];
    }
    return to;
}

uint32_t BitsOf(float value)
{
    uint32_t bits;
    memcpy(&bits, &value, sizeof(bits));
    return bits;
}

char* Text(char* to, const char* text)
{
    const size_t length = strlen(text);
    memcpy(to, text, length);
    return to + length;
}

// A finite position with the fewest significant digits that read back to
// the same float (std::to_chars finds them exactly, ties included; the
// general form takes an exponent once the digits end before the point,
// 1.1391958e+08 rather than 113919584), with ".0" added to
// a whole number so that it reads as one of a float's values ("-0.0" keeps
// its sign); anything else as its 32-bit pattern in a string.
char* Position(char* to, float value)
{
    if (!isfinite(value))
    {
        *to++ = '"';
        *to++ = '0';
        *to++ = 'x';
        const uint32_t bits = BitsOf(value);
        for (int shift = 28; shift >= 0; shift -= 4)
            *to++ = kHexDigits[bits >> shift & 15];
        *to++ = '"';
        return to;
    }
    char* const start = to;
    to = std::to_chars(to, to + 32, value, std::chars_format::general).ptr;
    if (!memchr(start, '.', (size_t)(to - start)) && !memchr(start, 'e', (size_t)(to - start)))
    {
        *to++ = '.';
        *to++ = '0';
    }
    return to;
}

// One object as a line of the JSON text; `to` has room for kRecordText.
const size_t kRecordText = 160;

char* Record(char* to, const PlacedObject& object)
{
    const PlacedObject o = object; // the record is packed: its fields copied out
    to = Text(to, "{\"type\":");
    to = std::to_chars(to, to + 4, (unsigned)o.type).ptr;
    to = Position(Text(to, ",\"x\":"), o.x);
    to = Position(Text(to, ",\"y\":"), o.y);
    to = Text(to, ",\"rotation\":");
    to = std::to_chars(to, to + 8, (int)o.rotation).ptr;
    to = Hex(Text(to, ",\"reserved1\":\""), o.reserved1, sizeof(o.reserved1));
    to = Hex(Text(to, "\",\"reserved2\":\""), o.reserved2, sizeof(o.reserved2));
    return Text(to, "\"}");
}

// ---- Reading ----

// Why the text is refused and where: "objects[3].x", "types[0]", or empty
// for the whole document.
struct Refusal
{
    std::string where;
    std::string why;
};

[[noreturn]] void Refuse(const std::string& where, const std::string& why)
{
    throw Refusal{where, why};
}

std::string Element(const char* array, size_t index)
{
    return std::string(array) + "[" + std::to_string(index) + "]";
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly 2 x count hex digits.
bool ReadHex(const std::string& text, uint8_t* bytes, size_t count)
{
    if (text.size() != 2 * count)
        return false;
    for (size_t i = 0; i < count; ++i)
    {
        const int high = HexValue(text[2 * i]), low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes[i] = (uint8_t)(high << 4 | low);
    }
    return true;
}

float ReadPosition(const Json& value, const std::string& where)
{
    if (value.is_number())
    {
        // The parser refuses numbers beyond a float's range, so any number
        // held here is finite.
        return value.get<float>();
    }
    uint8_t bytes[4];
    if (value.is_string())
    {
        const std::string& text = value.get_ref<const std::string&>();
        if (text.size() == 10 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
            ReadHex(text.substr(2), bytes, 4))
        {
            const uint32_t bits = (uint32_t)bytes[0] << 24 | (uint32_t)bytes[1] << 16 |
                                  (uint32_t)bytes[2] << 8 | bytes[3];
            float position;
            memcpy(&position, &bits, sizeof(position));
            return position;
        }
    }
    Refuse(where, "must be a number or a float's 32-bit pattern such as \"0x7fc00000\"");
}

int64_t ReadInteger(const Json& value, const std::string& where, int64_t low, int64_t high)
{
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    if (!value.is_number_integer())
        Refuse(where, "must be a whole number from " + range);
    if (value.is_number_unsigned() ? value.get<uint64_t>() > (uint64_t)high
                                   : value.get<int64_t>() < low || value.get<int64_t>() > high)
        Refuse(where, "is " + value.dump() + ", outside " + range);
    return value.get<int64_t>();
}

void ReadReserved(const Json& value, const std::string& where, uint8_t* bytes, size_t count)
{
    if (!value.is_string() || !ReadHex(value.get_ref<const std::string&>(), bytes, count))
        Refuse(where, "must be a string of " + std::to_string(2 * count) + " hex digits");
}

PlacedObject ReadRecord(const Json& record, const std::string& where)
{
    if (!record.is_object())
        Refuse(where, "must be an object with type, x and y");
    PlacedObject object;
    memset(&object, 0, sizeof(object));
    bool type = false, x = false, y = false;
    for (const auto& item : record.items())
    {
        const std::string& key = item.key();
        const std::string at = where + "." + key;
        if (key == "type")
        {
            object.type = (uint8_t)ReadInteger(item.value(), at, 0, 255);
            type = true;
        }
        else if (key == "x")
        {
            object.x = ReadPosition(item.value(), at);
            x = true;
        }
        else if (key == "y")
        {
            object.y = ReadPosition(item.value(), at);
            y = true;
        }
        else if (key == "rotation")
            object.rotation = (int16_t)ReadInteger(item.value(), at, INT16_MIN, INT16_MAX);
        else if (key == "reserved1")
            ReadReserved(item.value(), at, object.reserved1, sizeof(object.reserved1));
        else if (key == "reserved2")
            ReadReserved(item.value(), at, object.reserved2, sizeof(object.reserved2));
        else
            Refuse(at, "is not a key of an object (type, x, y, rotation, reserved1, reserved2)");
    }
    if (!type || !x || !y)
        Refuse(where, std::string("has no ") + (!type ? "type" : !x ? "x" : "y"));
    return object;
}

ObjectType ReadName(const Json& value, const std::string& where)
{
    ObjectType type;
    if (!value.is_string())
        Refuse(where, "must be a string");
    if (!NameFromUtf8(value.get_ref<const std::string&>(), &type.path))
        Refuse(where, "holds a character above U+00FF (a name is bytes, one character each)");
    if (type.path.find('\0') != std::string::npos)
        Refuse(where, "holds a zero character, which would end the name in the file");
    if (type.path.size() > kMaxObjectTypePath)
        Refuse(where, "is " + std::to_string(type.path.size()) + " bytes long; the file holds " +
                          std::to_string(kMaxObjectTypePath) + " at most");
    return type;
}

// nlohmann's messages start with "[json.exception.parse_error.101] ".
std::string WithoutExceptionName(const char* what)
{
    const char* text = what[0] == '[' ? strchr(what, ']') : nullptr;
    return text && text[1] == ' ' ? std::string(text + 2) : std::string(what);
}
} // namespace

std::string NameToUtf8(const std::string& bytes)
{
    std::string utf8;
    utf8.reserve(bytes.size());
    for (unsigned char c : bytes)
    {
        if (c < 0x80)
            utf8.push_back((char)c);
        else
        {
            utf8.push_back((char)(0xC0 | c >> 6));
            utf8.push_back((char)(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

bool NameFromUtf8(const std::string& utf8, std::string* bytes)
{
    // The parser has checked that the text is well-formed UTF-8, so a lead
    // byte C2 or C3 is followed by one continuation byte; any other byte
    // from 0x80 on starts a character above U+00FF.
    std::string read;
    for (size_t i = 0; i < utf8.size(); ++i)
    {
        const unsigned char c = (unsigned char)utf8[i];
        if (c < 0x80)
            read.push_back((char)c);
        else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size())
            read.push_back((char)((c & 0x03) << 6 | ((unsigned char)utf8[++i] & 0x3F)));
        else
            return false;
    }
    bytes->swap(read);
    return true;
}

void WriteObjectJson(const ObjectFileContents& contents, std::ostream& out)
{
    WriteObjectJson(contents.types, contents.objects.data(), contents.objects.size(), out);
}

void WriteObjectJson(const std::vector<ObjectType>& types, const PlacedObject* records,
                     size_t objectCount, std::ostream& out)
{
    // One small value per line rather than one tree of the whole document
    // (a million objects would need hundreds of megabytes as a tree); the
    // objects are formatted here into a buffer written in large pieces.
    out << "{\n\"types\": [";
    const char* separator = "\n";
    for (const ObjectType& type : types)
    {
        out << separator << Json(NameToUtf8(type.path)).dump(-1, ' ', true);
        separator = ",\n";
    }
    out << "\n],\n\"objects\": [";
    std::vector<char> buffer(1 << 16);
    char* to = buffer.data();
    char* const flushAt = buffer.data() + buffer.size() - kRecordText;
    for (size_t i = 0; i < objectCount; ++i)
    {
        to = Text(to, i ? ",\n" : "\n");
        to = Record(to, records[i]);
        if (to >= flushAt)
        {
            out.write(buffer.data(), to - buffer.data());
            to = buffer.data();
        }
    }
    out.write(buffer.data(), to - buffer.data());
    out << "\n]\n}\n";
}

bool ReadObjectJson(const char* text, size_t size, ObjectFileContents* contents,
                    std::string* problem)
{
    // The objects are taken out of the text as each one ends and dropped
    // from the tree, which then holds little more than the catalog.
    ObjectFileContents read;
    bool inObjects = false;
    std::string key;
    std::vector<std::string> keys;
    const Json::parser_callback_t take = [&](int depth, Json::parse_event_t event, Json& parsed)
    {
        using Event = Json::parse_event_t;
        if (depth == 1 && event == Event::key)
        {
            key = parsed.get<std::string>();
            for (const std::string& seen : keys)
            {
                if (seen == key)
                    Refuse(key, "appears twice");
            }
            keys.push_back(key);
        }
        else if (depth == 1 && (event == Event::array_start || event == Event::array_end))
            inObjects = event == Event::array_start && key == "objects";
        else if (depth == 2 && inObjects &&
                 (event == Event::object_end || event == Event::array_end || event == Event::value))
        {
            read.objects.push_back(ReadRecord(parsed, Element("objects", read.objects.size())));
            return false;
        }
        return true;
    };
    try
    {
        const Json document = Json::parse(text, text + size, take);
        if (!document.is_object())
            Refuse("", "the text is not a JSON object with types and objects");
        for (const auto& item : document.items())
        {
            if (item.key() != "types" && item.key() != "objects")
                Refuse(item.key(), "is not a key of an object file (types, objects)");
            if (!item.value().is_array())
                Refuse(item.key(), "must be an array");
        }
        if (!document.contains("types") || !document.contains("objects"))
            Refuse("", document.contains("types") ? "there is no objects array"
                                                  : "there is no types array");
        const Json& types = document["types"];
        for (size_t i = 0; i < types.size(); ++i)
            read.types.push_back(ReadName(types[i], Element("types", i)));
    }
    catch (const Refusal& refusal)
    {
        if (problem)
            *problem = refusal.where.empty() ? refusal.why : refusal.where + ": " + refusal.why;
        return false;
    }
    catch (const Json::exception& error)
    {
        if (problem)
            *problem = WithoutExceptionName(error.what());
        return false;
    }
    catch (const std::bad_alloc&)
    {
        if (problem)
            *problem = "there is not enough memory to read it";
        return false;
    }
    contents->types.swap(read.types);
    contents->objects.swap(read.objects);
    return true;
}
} // namespace mapcheck
