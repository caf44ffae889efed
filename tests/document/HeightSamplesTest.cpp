// The document keeps the grey values of its heightmap: over random loads,
// imports (of files that exist or not), undos and redos, the values are
// always those of the heightmap's slot, and a load or import that fails
// leaves them as they were.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <set>

#include "tests/document/DocumentTestSupport.h"

namespace
{
// Heightmaps whose every value is the slot's number: which picture the
// document keeps shows in any of its values.
class GreyImages : public FakeImages
{
  public:
    LoadedImage LoadHeightmap(const std::string& fileName) override
    {
        LoadedImage image = Load(fileName);
        if (image.slot >= 0)
        {
            image.samples.width = image.width;
            image.samples.height = image.height;
            image.samples.values.assign((size_t)image.width * image.height,
                                        (unsigned char)image.slot);
        }
        return image;
    }
};
} // namespace

TEST(HeightSamples, FollowTheHeightmapThroughLoadsImportsUndoAndRedo)
{
    GreyImages images;
    const char* const names[] = {"a.bmp", "b.bmp", "c.bmp", "missing.bmp"};
    images.Add("a.bmp", 4, 4);
    images.Add("b.bmp", 8, 2);
    images.Add("c.bmp", 3, 5);
    srand(7);
    for (int run = 0; run < 20; ++run)
    {
        MapDocument document;
        std::set<int> loaded; // slots this document loaded a heightmap into
        int expected = -1;    // the slot whose values the document should keep
        for (int step = 0; step < 60; ++step)
        {
            const std::string name = names[rand() % 4];
            switch (rand() % 4)
            {
            case 0:
                document.LoadHeightmap(images, name);
                if (document.heightmapTexture >= 0)
                    loaded.insert(document.heightmapTexture);
                break;
            case 1:
                if (document.ImportHeightmap(images, name))
                    loaded.insert(document.heightmapTexture);
                break;
            case 2:
                document.Undo();
                break;
            default:
                document.Redo();
                break;
            }
            if (loaded.count(document.heightmapTexture))
                expected = document.heightmapTexture;
            const HeightSamples& samples = document.heightSamples;
            if (expected < 0)
            {
                EXPECT_TRUE(samples.Empty()) << run << "/" << step;
                continue;
            }
            ASSERT_FALSE(samples.Empty()) << run << "/" << step;
            EXPECT_EQ(samples.values[0], expected) << run << "/" << step;
            const LoadedImage source = images.Load(images.slots[(size_t)expected]);
            EXPECT_EQ(samples.width, source.width);
            EXPECT_EQ(samples.height, source.height);
            EXPECT_EQ(samples.values.size(), (size_t)source.width * source.height);
        }
    }
}
