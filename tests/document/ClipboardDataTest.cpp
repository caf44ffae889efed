// Copied objects as clipboard data: the round trip of the binary form, the
// data that is refused, the text form, and pasting that maps types by path.
#include <gtest/gtest.h>

#include <string.h>

#include "document/ClipboardData.h"
#include "tests/document/DocumentTestSupport.h"

namespace
{
ObjectGroup Sample()
{
    ObjectGroup group;
    group.types = {ObjectType{"..\\objects\\tree.ini"}, ObjectType{std::string(127, 'p')}};
    group.objects = {MakeObject(1, 0.1f, 0.2f, 90), MakeObject(0, 1.0f / 3.0f, 0.75f, -45)};
    memcpy(group.objects[0].reserved1, "\x01\x02", 2);
    memcpy(group.objects[1].reserved2, "\x03\x04\x05\x06", 4);
    return group;
}
} // namespace

TEST(ClipboardData, TheBinaryFormRoundTripsAndDamagedDataIsRefused)
{
    const ObjectGroup group = Sample();
    Bytes bytes = EncodeObjectGroup(group);
    ASSERT_EQ(bytes.size(), 12u + 2 + 19 + 2 + 127 + 2 * 17);
    bytes.push_back(0xEE); // the clipboard may hand back more than was put
    ObjectGroup read;
    ASSERT_TRUE(DecodeObjectGroup(bytes.data(), bytes.size(), &read));
    ASSERT_EQ(read.types.size(), 2u);
    EXPECT_EQ(read.types[1].path, group.types[1].path);
    ASSERT_EQ(read.objects.size(), 2u);
    EXPECT_EQ(memcmp(read.objects.data(), group.objects.data(), 2 * 17), 0);

    bytes.pop_back();
    Bytes wrongType = bytes;
    wrongType[wrongType.size() - 17] = 2; // names a third type the group lacks
    Bytes longPath = EncodeObjectGroup(ObjectGroup{{ObjectType{"x"}}, {}});
    longPath[12] = 128; // a path longer than an entry holds
    Bytes hugeCount = bytes;
    hugeCount[11] = 0x40; // 2^30 objects in a few bytes
    ObjectGroup untouched = Sample();
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(DecodeObjectGroup(bytes.data(), length, &untouched)) << length;
    for (const Bytes& damaged : {wrongType, longPath, hugeCount})
        EXPECT_FALSE(DecodeObjectGroup(damaged.data(), damaged.size(), &untouched));
    EXPECT_EQ(untouched.objects.size(), 2u);
}

TEST(ClipboardData, TheTextFormHasOneLinePerObjectWithExactPositions)
{
    EXPECT_EQ(ObjectGroupText(Sample()), std::string(127, 'p') +
                                             "\t0.100000001\t0.200000003\t90\r\n"
                                             "..\\objects\\tree.ini\t0.333333343\t0.75\t-45\r\n");
}

TEST(ClipboardData, PastingMapsTypesByPathAndAddsTheMissingOnes)
{
    MapDocument document;
    document.AddObjectType("..\\OBJECTS\\TREE.INI");
    document.AddObjectType("rock.ini");
    document.AddObject(MakeObject(1, 0.5f, 0.5f, 0));
    ObjectGroup group;
    ASSERT_TRUE(DecodeObjectGroup(EncodeObjectGroup(Sample()).data(),
                                  EncodeObjectGroup(Sample()).size(), &group));
    ASSERT_TRUE(document.InsertGroup(group, 0.0f, 0.0f, "Paste"));
    ASSERT_EQ(document.objectTypes.size(), 3u);
    EXPECT_EQ(document.objectTypes[2].path, std::string(127, 'p'));
    ASSERT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(document.objects[1].type, 2); // the long path, added
    EXPECT_EQ(document.objects[2].type, 0); // the tree, found whatever its letters
    EXPECT_EQ(memcmp(document.objects[1].reserved1, "\x01\x02", 2), 0);
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(document.UndoName(), "Paste 2 Objects");

    // Copying takes the paths along; an object of no catalog entry stays out.
    document.AddObject(MakeObject(9, 0.1f, 0.1f, 0));
    document.SelectAll();
    const ObjectGroup copied = document.CopySelection();
    ASSERT_EQ(copied.objects.size(), 3u);
    ASSERT_EQ(copied.types.size(), 3u);
    EXPECT_EQ(copied.types[copied.objects[0].type].path, "rock.ini");

    // A group whose types would need entries above 255 is refused whole.
    MapDocument full;
    full.objectTypes.resize(256, ObjectType{"filler.ini"});
    EXPECT_FALSE(full.InsertGroup(Sample(), 0, 0, "Paste"));
    EXPECT_EQ(full.ObjectCount(), 0);
    EXPECT_EQ(full.objectTypes.size(), 256u);
}
