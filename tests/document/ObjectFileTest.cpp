// The object placement file's bytes without any file system, as the native
// build checks them under the sanitizers: name fields, negative and huge
// counts, refused inputs (signature, every truncation), and the round trip
// of random documents.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <random>

#include "document/ObjectFile.h"

namespace
{
using Bytes = std::vector<unsigned char>;

PlacedObject MakeObject(uint8_t type, float x, float y, int16_t rotation)
{
    return PlacedObject{type, x, y, {}, rotation, {}}; // reserved bytes zero
}

Bytes Header(int32_t types, int32_t objects)
{
    Bytes bytes = {0x4D, 0x34, 0x44, 0x4F};
    for (int32_t count : {types, objects})
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back((unsigned char)((uint32_t)count >> shift));
    return bytes;
}

Bytes Encode(const std::vector<ObjectType>& types, const std::vector<PlacedObject>& objects)
{
    Bytes bytes;
    EXPECT_TRUE(EncodeObjectFile(types, objects, &bytes));
    return bytes;
}
} // namespace

TEST(ObjectFile, NameFieldsAreZeroPaddedAndHoldAtMost127Characters)
{
    const std::string longest(127, 'n');
    Bytes bytes = Encode({{"tree"}, {longest}, {std::string(200, 'x')}}, {});
    ASSERT_EQ(bytes.size(), 12u + 3 * 128);
    const unsigned char* first = bytes.data() + 12;
    EXPECT_EQ(memcmp(first, "tree", 4), 0);
    for (int i = 4; i < 128; ++i)
        ASSERT_EQ(first[i], 0) << i;
    // 127 characters fill the field up to a single zero byte; a name that
    // does not fit is cut, the field is never overrun.
    EXPECT_EQ(memcmp(first + 128, longest.data(), 127), 0);
    EXPECT_EQ(first[128 + 127], 0);
    EXPECT_EQ(first[256 + 127], 0);

    bytes[12 + 128 + 127] = 'Z'; // a field without a zero byte gives its first 127
    ObjectFileContents contents;
    ASSERT_TRUE(ParseObjectFile(bytes.data(), bytes.size(), &contents));
    EXPECT_EQ(contents.types[0].path, "tree");
    EXPECT_EQ(contents.types[1].path, longest);
    EXPECT_EQ(contents.types[2].path, std::string(127, 'x'));
}

TEST(ObjectFile, NegativeCountsMeanNoEntriesOfThatKind)
{
    const int32_t cases[][2] = {{-1, 0}, {0, -1}, {-5, -7}, {INT32_MIN, INT32_MIN}};
    for (const auto& counts : cases)
    {
        const Bytes bytes = Header(counts[0], counts[1]);
        EXPECT_EQ(ObjectFileRequiredSize({counts[0], counts[1]}), 12u);
        ObjectFileContents contents;
        contents.types.push_back(ObjectType{"kept"});
        ASSERT_TRUE(ParseObjectFile(bytes.data(), bytes.size(), &contents));
        EXPECT_TRUE(contents.types.empty());
        EXPECT_TRUE(contents.objects.empty());
    }
    // A negative type count still reads the objects right after the header.
    Bytes bytes = Header(-3, 1);
    const PlacedObject object = MakeObject(4, 0.75f, 0.5f, 180);
    bytes.insert(bytes.end(), (const unsigned char*)&object, (const unsigned char*)&object + 17);
    ObjectFileContents contents;
    ASSERT_TRUE(ParseObjectFile(bytes.data(), bytes.size(), &contents));
    ASSERT_EQ(contents.objects.size(), 1u);
    EXPECT_EQ(memcmp(&contents.objects[0], &object, 17), 0);
}

TEST(ObjectFile, RefusedInputsLeaveTheContentsUntouched)
{
    const Bytes full = Encode({{"..\\objects\\tree.ini"}, {"..\\objects\\rock.ini"}},
                              {MakeObject(0, 0.1f, 0.2f, 0), MakeObject(1, 0.3f, 0.4f, 45),
                               MakeObject(5, 0.5f, 0.6f, 315)});
    ASSERT_EQ(full.size(), 319u);
    std::vector<Bytes> refused;
    for (size_t length = 0; length < full.size(); ++length)
        refused.push_back(Bytes(full.begin(), full.begin() + length));
    for (int at = 0; at < 4; ++at)
    {
        refused.push_back(full);
        refused.back()[at] ^= 0x20; // "m4DO", "M4dO", ...: case matters
    }
    // Counts whose bytes the file lacks, without overflow of 128 x T + 17 x N.
    EXPECT_EQ(ObjectFileRequiredSize({INT32_MAX, INT32_MAX}), 12u + 145u * (uint64_t)INT32_MAX);
    const int32_t huge[][2] = {
        {INT32_MAX, 0}, {0, INT32_MAX}, {INT32_MAX, INT32_MAX}, {33554432, 0}, {0, 252645135}};
    for (const auto& counts : huge)
    {
        refused.push_back(Header(counts[0], counts[1]));
        refused.back().resize(4096, 0);
    }
    for (const Bytes& bytes : refused)
    {
        ObjectFileContents contents;
        contents.types.push_back(ObjectType{"kept"});
        contents.objects.push_back(MakeObject(0, 1.0f, 2.0f, 45));
        EXPECT_FALSE(ParseObjectFile(bytes.data(), bytes.size(), &contents)) << bytes.size();
        ASSERT_EQ(contents.types.size(), 1u);
        EXPECT_EQ(contents.types[0].path, "kept");
        ASSERT_EQ(contents.objects.size(), 1u);
        EXPECT_EQ((int)contents.objects[0].rotation, 45); // packed: read by value
    }

    // Bytes after the last record are ignored.
    Bytes longer = full;
    longer.insert(longer.end(), 40, 0xEE);
    ObjectFileContents contents;
    ASSERT_TRUE(ParseObjectFile(longer.data(), longer.size(), &contents));
    EXPECT_EQ(Encode(contents.types, contents.objects), full);
}

// Random documents: saving what was loaded gives the same bytes, and loading
// what was saved gives the same document, reserved bytes included.
TEST(ObjectFile, RandomDocumentsRoundTrip)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round)
    {
        std::vector<ObjectType> types(random() % 40);
        for (ObjectType& type : types)
        {
            type.path.resize(random() % 128);
            for (char& c : type.path)
                c = (char)(1 + random() % 255); // any byte but zero
        }
        std::vector<PlacedObject> objects(random() % 300);
        for (PlacedObject& object : objects)
        {
            unsigned char* raw = (unsigned char*)&object;
            for (size_t i = 0; i < sizeof(object); ++i)
                raw[i] = (unsigned char)random(); // NaNs and odd types too
        }
        const Bytes saved = Encode(types, objects);
        ASSERT_EQ(saved.size(), 12 + 128 * types.size() + 17 * objects.size());
        ObjectFileContents loaded;
        ASSERT_TRUE(ParseObjectFile(saved.data(), saved.size(), &loaded));
        ASSERT_EQ(loaded.types.size(), types.size());
        for (size_t i = 0; i < types.size(); ++i)
            ASSERT_EQ(loaded.types[i].path, types[i].path);
        ASSERT_EQ(loaded.objects.size(), objects.size());
        if (!objects.empty())
        {
            ASSERT_EQ(memcmp(loaded.objects.data(), objects.data(), 17 * objects.size()), 0);
        }
        ASSERT_EQ(Encode(loaded.types, loaded.objects), saved) << "round " << round;
    }
}
