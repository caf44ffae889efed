// Copied objects as clipboard data: the round trip of the binary form, the
// data that is refused, the text form and reading it back (as edited, and
// refused line by line), and pasting that maps types by path.
#include <gtest/gtest.h>

#include <string.h>

#include <random>

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

TEST(ClipboardData, TheTextFormReadsBackAsWrittenHoweverItWasEdited)
{
    std::mt19937 random(7);
    const std::vector<std::string> paths = {"..\\objects\\tree.ini", "rock, big.ini",
                                            std::string(127, 'p'), "\xd0\x9a\xd0\xb0.ini"};
    for (int round = 0; round < 200; ++round)
    {
        // Objects of some of the paths, each path listed where it is first used.
        ObjectGroup group;
        std::vector<int> typeOfPath(paths.size(), -1);
        for (int n = 1 + (int)(random() % 6); n > 0; --n)
        {
            const size_t path = random() % paths.size();
            if (typeOfPath[path] < 0)
            {
                typeOfPath[path] = (int)group.types.size();
                group.types.push_back(ObjectType{paths[path]});
            }
            const float ends[] = {0.0f, 1.0f, 1e-30f, std::nextafter(1.0f, 0.0f)};
            const auto position = [&] {
                return random() % 4 ? std::uniform_real_distribution<float>()(random)
                                    : ends[random() % 4];
            };
            const float x = position(), y = position();
            group.objects.push_back(
                MakeObject((uint8_t)typeOfPath[path], x, y, (int16_t)(random() % 65536 - 32768)));
        }
        // As written, with LF line ends, with blank lines (a spreadsheet's
        // empty rows) and with the fields quoted.
        const std::string text = ObjectGroupText(group);
        std::string unix, spaced, quoted = "\"";
        for (char c : text)
        {
            if (c != '\r')
                unix += c;
            spaced += c == '\n' ? "\n\t\t\t\r\n" : std::string(1, c);
            quoted += c == '\t'   ? "\"\t\""
                      : c == '\r' ? "\"\r"
                      : c == '\n' ? "\n\""
                                  : std::string(1, c);
        }
        quoted.pop_back();
        for (const std::string& edited : {text, unix, spaced, quoted})
        {
            ObjectGroup read;
            ASSERT_TRUE(ReadObjectGroupText(edited.data(), edited.size(), &read, nullptr))
                << edited;
            EXPECT_EQ(ObjectGroupText(read), text);
            ASSERT_EQ(read.types.size(), group.types.size());
            ASSERT_EQ(read.objects.size(), group.objects.size());
            EXPECT_EQ(memcmp(read.objects.data(), group.objects.data(), group.objects.size() * 17),
                      0)
                << "exact positions, rotations, types and zero reserved bytes";
        }
    }
}

TEST(ClipboardData, TextNotInTheFormIsRefusedAtItsFirstBadLine)
{
    const std::string good = "tree.ini\t0.5\t0.25\t90\r\n";
    const struct
    {
        std::string text;
        size_t line;
        const char* reason;
    } cases[] = {
        {"", 0, "it holds no line of objects"},
        {"\r\n \t\n", 0, "it holds no line of objects"},
        {good + "tree.ini\t0.5\t0.25", 2, "it has 3 fields, where a line has 4"},
        {good + "\n" + "tree.ini 0.5 0.25 90\n" + good, 3, "it has 1 field, where"},
        {"\t0.5\t0.5\t0", 1, "its type path is empty"},
        {std::string(128, 'p') + "\t0\t0\t0", 1, "its type path has 128 characters (at most 127)"},
        {"a\x01.ini\t0\t0\t0", 1, "its type path holds a control character or a quote"},
        {"\"a\"b\"\t0\t0\t0", 1, "its type path holds a control character or a quote"},
        {good + "tree.ini\t-3x\t0\t0", 2, "its x \"-3x\" is not a number from 0 to 1"},
        {"tree.ini\t1.5\t0\t0", 1, "its x \"1.5\" is not a number from 0 to 1"},
        {"tree.ini\t0,5\t0\t0", 1, "its x \"0,5\" is not a number"},
        {"tree.ini\t0\tnan\t0", 1, "its y \"nan\" is not a number from 0 to 1"},
        {"tree.ini\t0\t-0.1\t0", 1, "its y \"-0.1\" is not"},
        {"tree.ini\t0\t0\t45.5", 1, "its rotation \"45.5\" is not a whole number"},
        {"tree.ini\t0\t0\t32768", 1,
         "its rotation \"32768\" is not a whole number from -32768 "
         "to 32767"},
    };
    for (const auto& c : cases)
    {
        ObjectGroup untouched = Sample();
        TextFormProblem problem;
        EXPECT_FALSE(ReadObjectGroupText(c.text.data(), c.text.size(), &untouched, &problem))
            << c.text;
        EXPECT_EQ(problem.line, c.line) << c.text;
        EXPECT_EQ(problem.reason.rfind(c.reason, 0), 0u) << problem.reason;
        EXPECT_EQ(untouched.objects.size(), 2u);
    }
    // A record names one of 256 types at most.
    std::string many;
    for (int t = 0; t < 257; ++t)
        many += std::to_string(t) + ".ini\t0\t0\t0\n";
    TextFormProblem problem;
    ObjectGroup group;
    EXPECT_FALSE(ReadObjectGroupText(many.data(), many.size(), &group, &problem));
    EXPECT_EQ(problem.line, 257u);
    many.resize(many.rfind("256.ini")); // without the 257th line
    EXPECT_TRUE(ReadObjectGroupText(many.data(), many.size(), &group, &problem));
    EXPECT_EQ(group.types.size(), 256u);
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
