// The object file as JSON: records of every odd kind (NaN payloads,
// infinities, -0, denormals, reserved bytes, every name byte) come back bit
// for bit; what the editor would change in a file is what the round trip
// changes; text that cannot be carried is refused with where and why.
#include <gtest/gtest.h>

#include <ctype.h>
#include <float.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <sstream>

#include "document/ObjectFile.h"
#include "mapcheck/ObjectJson.h"

namespace
{
using Bytes = std::vector<unsigned char>;

float FromBits(uint32_t bits)
{
    float value;
    memcpy(&value, &bits, sizeof(value));
    return value;
}

std::string ToJson(const ObjectFileContents& contents)
{
    std::ostringstream out;
    mapcheck::WriteObjectJson(contents, out);
    return out.str();
}

Bytes Encode(const ObjectFileContents& contents)
{
    Bytes bytes;
    EXPECT_TRUE(EncodeObjectFile(contents.types, contents.objects, &bytes));
    return bytes;
}

// The .mob bytes -> JSON -> .mob bytes.
Bytes RoundTrip(const Bytes& file, std::string* json = nullptr)
{
    ObjectFileContents parsed, back;
    EXPECT_TRUE(ParseObjectFile(file.data(), file.size(), &parsed));
    const std::string text = ToJson(parsed);
    std::string problem;
    EXPECT_TRUE(mapcheck::ReadObjectJson(text.data(), text.size(), &back, &problem)) << problem;
    if (json)
        *json = text;
    return Encode(back);
}

std::string Refusal(const std::string& text)
{
    ObjectFileContents contents;
    std::string problem;
    EXPECT_FALSE(mapcheck::ReadObjectJson(text.data(), text.size(), &contents, &problem)) << text;
    return problem;
}
} // namespace

TEST(ObjectJson, OddRecordsAndEveryNameByteComeBackBitForBit)
{
    ObjectFileContents contents;
    std::string all;
    for (int c = 1; c < 256; ++c)
        all.push_back((char)c);
    contents.types = {{all.substr(0, 127)}, {all.substr(127)}, {""}, {std::string(127, '\\')}};
    const uint32_t floats[] = {0x00000000, 0x80000000, 0x3f800000, 0x00000001, 0x807fffff,
                               0x7f7fffff, 0xff7fffff, 0x7f800000, 0xff800000, 0x7fc00000,
                               0xffc00001, 0x7f800001, 0x3dcccccd, 0x3eaaaaab};
    for (size_t i = 0; i < sizeof(floats) / sizeof(floats[0]); ++i)
    {
        // Each pattern as x and as y; reserved bytes, type and rotation vary.
        PlacedObject object = {(uint8_t)(i * 37),
                               FromBits(floats[i]),
                               FromBits(floats[(i + 5) % 14]),
                               {(uint8_t)i, 0xFF},
                               (int16_t)(i % 2 ? INT16_MIN : INT16_MAX),
                               {0x00, 0x80, (uint8_t)(i << 4), 0x7F}};
        contents.objects.push_back(object);
    }
    std::mt19937 random(17);
    for (int i = 0; i < 200; ++i)
    {
        unsigned char raw[17];
        for (unsigned char& byte : raw)
            byte = (unsigned char)random();
        contents.objects.push_back(PlacedObject());
        memcpy(&contents.objects.back(), raw, sizeof(raw));
    }
    const Bytes file = Encode(contents);
    std::string json;
    EXPECT_EQ(RoundTrip(file, &json), file);

    // Plain ASCII; finite positions as the shortest numbers, the rest as bits.
    for (char c : json)
        ASSERT_TRUE(c >= 0x20 || c == '\n') << (int)c;
    for (const char* part :
         {"\"x\":-0.0,", "\"x\":1e-45,", "\"y\":\"0x7f800000\"", "\"x\":\"0xffc00001\"",
          "\"x\":0.1,", "\"reserved1\":\"01ff\"", "\"rotation\":-32768", "\"\\u0001\\u0002"})
        EXPECT_NE(json.find(part), std::string::npos) << part;
}

TEST(ObjectJson, TheRoundTripGivesWhatTheEditorSavesForTheFile)
{
    ObjectFileContents contents;
    contents.types = {{"..\\objects\\tree.ini"}, {"..\\objects\\rock.ini"}};
    contents.objects = {PlacedObject{1, 0.5f, 0.25f, {}, 90, {}}};
    const Bytes saved = Encode(contents);
    // Bytes after the records, a negative count, a name field without a
    // zero byte or with bytes after the name: the editor would not write
    // them back, and neither does the round trip.
    Bytes trailing = saved, negative = saved, unterminated = saved, afterName = saved;
    trailing.push_back(7);
    memset(negative.data() + 4, 0xFF, 4);
    memset(unterminated.data() + 12, 'a', 128);
    afterName[12 + 128 + 120] = 'x';
    for (const Bytes* file :
         std::vector<const Bytes*>{&saved, &trailing, &negative, &unterminated, &afterName})
    {
        ObjectFileContents parsed;
        ASSERT_TRUE(ParseObjectFile(file->data(), file->size(), &parsed));
        EXPECT_EQ(RoundTrip(*file), Encode(parsed));
    }
    EXPECT_EQ(RoundTrip(saved), saved);
}

TEST(ObjectJson, DefaultsAndEveryWayOfWritingAPosition)
{
    const std::string text = R"({"objects": [{"y": 1, "x": "0X3F000000", "type": 3}],
                                 "types": ["caf\u00e9", "\u007f"]})";
    ObjectFileContents contents;
    std::string problem;
    ASSERT_TRUE(mapcheck::ReadObjectJson(text.data(), text.size(), &contents, &problem));
    ASSERT_EQ(contents.objects.size(), 1u);
    const PlacedObject expected = {3, 0.5f, 1.0f, {}, 0, {}};
    EXPECT_EQ(memcmp(&contents.objects[0], &expected, sizeof(expected)), 0);
    EXPECT_EQ(contents.types[0].path, "caf\xE9");
    EXPECT_EQ(contents.types[1].path, "\x7F");
}

TEST(ObjectJson, TextThatCannotBeCarriedIsRefusedSayingWhereAndWhy)
{
    const auto with = [](const std::string& object)
    { return R"({"types": ["a"], "objects": [{"type": 0, "x": 0, "y": 0}, )" + object + "]}"; };
    const std::string longName = "\"" + std::string(128, 'n') + "\"";
    const struct
    {
        std::string text, problem;
    } rows[] = {
        {"{\"types\": [", "parse error at line 1, column 12: syntax error while parsing value - "
                          "unexpected end of input; expected '[', '{', or a literal"},
        {"[]", "the text is not a JSON object with types and objects"},
        {R"({"types": []})", "there is no objects array"},
        {R"({"objects": []})", "there is no types array"},
        {R"({"types": [], "objects": [], "extra": 1})",
         "extra: is not a key of an object file (types, objects)"},
        {R"({"types": [], "objects": [], "types": []})", "types: appears twice"},
        {R"({"types": {}, "objects": []})", "types: must be an array"},
        {R"({"types": [1], "objects": []})", "types[0]: must be a string"},
        {R"({"types": ["\u0100"], "objects": []})",
         "types[0]: holds a character above U+00FF (a name is bytes, one character each)"},
        {R"({"types": ["a\u0000"], "objects": []})",
         "types[0]: holds a zero character, which would end the name in the file"},
        {R"({"types": [)" + longName + R"(], "objects": []})",
         "types[0]: is 128 bytes long; the file holds 127 at most"},
        {with("7"), "objects[1]: must be an object with type, x and y"},
        {with(R"({"type": 0, "x": 0})"), "objects[1]: has no y"},
        {with(R"({"type": 256, "x": 0, "y": 0})"), "objects[1].type: is 256, outside 0 to 255"},
        {with(R"({"type": -1, "x": 0, "y": 0})"), "objects[1].type: is -1, outside 0 to 255"},
        {with(R"({"type": 1.0, "x": 0, "y": 0})"),
         "objects[1].type: must be a whole number from 0 to 255"},
        {with(R"({"type": 0, "x": 0, "y": 0, "rotation": 32768})"),
         "objects[1].rotation: is 32768, outside -32768 to 32767"},
        {with(R"({"type": 0, "x": "0x3f00000", "y": 0})"),
         "objects[1].x: must be a number or a float's 32-bit pattern such as \"0x7fc00000\""},
        {with(R"({"type": 0, "x": 0, "y": null})"),
         "objects[1].y: must be a number or a float's 32-bit pattern such as \"0x7fc00000\""},
        {with(R"({"type": 0, "x": 0, "y": 1e39})"), "number overflow parsing '1e39'"},
        {with(R"({"type": 0, "x": 0, "y": 0, "reserved1": "000"})"),
         "objects[1].reserved1: must be a string of 4 hex digits"},
        {with(R"({"type": 0, "x": 0, "y": 0, "reserved2": "zz000000"})"),
         "objects[1].reserved2: must be a string of 8 hex digits"},
        {with(R"({"type": 0, "x": 0, "y": 0, "rotaton": 5})"),
         "objects[1].rotaton: is not a key of an object (type, x, y, rotation, reserved1, "
         "reserved2)"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Refusal(row.text), row.problem) << row.text;
}

TEST(ObjectJson, PositionsHaveTheFewestDigitsThatReadBackToTheirFloat)
{
    // Random finite floats of every magnitude, and one whose shortest form
    // lies exactly halfway between two of the next longer length.
    ObjectFileContents contents;
    std::mt19937 random(5);
    std::vector<float> values = {FromBits(0x4cd948cc)};
    while (values.size() < 100000)
    {
        const float value = FromBits((uint32_t)random());
        if (isfinite(value))
            values.push_back(value);
    }
    for (size_t i = 0; i + 1 < values.size(); i += 2)
        contents.objects.push_back(PlacedObject{0, values[i], values[i + 1], {}, 0, {}});
    std::istringstream json(ToJson(contents));
    std::string line;
    size_t k = 0;
    while (std::getline(json, line) && k < values.size())
    {
        for (const char* key : {"\"x\":", "\"y\":"})
        {
            const size_t at = line.find(key);
            if (at == std::string::npos)
                continue;
            const std::string text = line.substr(at + 4, line.find(',', at) - at - 4);
            const float value = values[k++];
            ASSERT_EQ(strtof(text.c_str(), nullptr), value) << text;
            // The fewest significant digits that printf needs to give it back.
            int fewest = 1;
            char printed[64];
            for (; fewest < 9; ++fewest)
            {
                snprintf(printed, sizeof(printed), "%.*g", fewest, (double)value);
                if (strtof(printed, nullptr) == value)
                    break;
            }
            // Ours: the digits from the first to the last that is not zero.
            const std::string mantissa = text.substr(0, text.find('e'));
            const size_t first = mantissa.find_first_of("123456789");
            const size_t last = mantissa.find_last_of("123456789");
            size_t digits = 0;
            for (size_t c = first; first != std::string::npos && c <= last; ++c)
                digits += mantissa[c] != '.';
            EXPECT_EQ((int)digits, fewest) << text;
        }
    }
    EXPECT_EQ(k, values.size());
    EXPECT_NE(ToJson(contents).find("\"x\":1.1391958e+08,"), std::string::npos);
}
