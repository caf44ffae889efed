// The saved objects' block hashes: any byte changed anywhere in the records,
// at any count around the blocks' edges, or any path of the catalog, makes
// the objects differ; putting it back makes them the same again.
#include <gtest/gtest.h>

#include <string.h>

#include <random>

#include "document/SavedObjects.h"

TEST(SavedObjects, EveryByteOfEveryBlockCounts)
{
    std::mt19937 random(7);
    const size_t block = SavedObjects::kBlockRecords;
    for (size_t count : {(size_t)0, (size_t)1, block - 1, block, block + 1, 2 * block + 5})
    {
        std::vector<ObjectType> types = {ObjectType{"tree.ini"}, ObjectType{"rock.ini"}};
        std::vector<PlacedObject> objects(count);
        unsigned char* bytes = (unsigned char*)objects.data();
        for (size_t i = 0; i < count * sizeof(PlacedObject); ++i)
            bytes[i] = (unsigned char)random();
        SavedObjects saved;
        saved.Note(types, objects);
        EXPECT_FALSE(saved.Differs(types, objects)) << count;
        // The first and last byte of every block, and bytes at random.
        std::vector<size_t> places;
        for (size_t first = 0; first < count; first += block)
        {
            const size_t end = first + block < count ? first + block : count;
            places.push_back(first * sizeof(PlacedObject));
            places.push_back(end * sizeof(PlacedObject) - 1);
        }
        for (int k = 0; count && k < 20; ++k)
            places.push_back(random() % (count * sizeof(PlacedObject)));
        for (size_t at : places)
        {
            const unsigned char was = bytes[at];
            bytes[at] ^= (unsigned char)(1u << (random() % 8));
            EXPECT_TRUE(saved.Differs(types, objects)) << count << " byte " << at;
            bytes[at] = was;
        }
        EXPECT_FALSE(saved.Differs(types, objects)) << count;
        objects.push_back(PlacedObject{});
        EXPECT_TRUE(saved.Differs(types, objects)) << count;
        objects.pop_back();
        types[1].path = "Rock.ini";
        EXPECT_TRUE(saved.Differs(types, objects)) << count;
        types.pop_back();
        EXPECT_TRUE(saved.Differs(types, objects)) << count;
    }
}
