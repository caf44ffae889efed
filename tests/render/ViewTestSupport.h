// Helpers of the device, map view and preset suites: a frame drawn and read
// back before it is presented, colour channels, bitmaps written into a
// temporary folder and loaded through the editor's texture table, and the
// device's whole state kept aside around a test.
#ifndef MAPEDITOR_TESTS_VIEWTESTSUPPORT_H
#define MAPEDITOR_TESTS_VIEWTESTSUPPORT_H

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/EditorApp.h"
#include "tests/d3dx/TestImages.h"
#include "tests/support/EditorHarness.h"
#include "tests/support/FrameCapture.h"

namespace viewtest
{

// A heap of `count` overlapping, turned objects of types 0 to 2 (with a
// catalog of two, the third has no label) at random view pixels in the box
// of `wide` x `high` pixels from (left, top) at the document's zoom and
// scroll; every `selectEvery`th selected.
inline void AddObjectHeap(MapDocument& doc, unsigned seed, int count, float left, float top,
                          unsigned wide, unsigned high, int selectEvery)
{
    unsigned state = seed;
    for (int i = 0; i < count; ++i)
    {
        PlacedObject object;
        memset(&object, 0, sizeof(object));
        state = state * 1664525u + 1013904223u;
        object.type = (uint8_t)((state >> 8) % 3);
        object.x = (left + (float)((state >> 12) % wide) + doc.scrollX) / doc.viewScale;
        state = state * 1664525u + 1013904223u;
        object.y = (top + (float)((state >> 12) % high) + doc.scrollY) / doc.viewScale;
        object.rotation = (int16_t)((state >> 4) % 360);
        doc.AddObject(object);
        if (i % selectEvery == 0)
            doc.ToggleSelected(i);
    }
}
using ::DrawnFrame;

// The set-up every render suite shares: the editor started once (the test
// fails with the step the device creation stopped at) and the back buffer
// at the start-up size the scenes are laid out on.
class EditorDeviceTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.Graphics().FailedStep();
        RestoreStartupBackBuffer();
    }
};

inline int Red(unsigned argb)
{
    return (int)(argb >> 16 & 0xFF);
}
inline int Green(unsigned argb)
{
    return (int)(argb >> 8 & 0xFF);
}
inline int Blue(unsigned argb)
{
    return (int)(argb & 0xFF);
}

// Each channel of two colours within `tolerance`.
inline bool Near(unsigned a, unsigned b, int tolerance)
{
    return abs(Red(a) - Red(b)) <= tolerance && abs(Green(a) - Green(b)) <= tolerance &&
           abs(Blue(a) - Blue(b)) <= tolerance;
}

// Writes a 24-bit bitmap of the texels (rows from the top, ARGB) into the
// folder and loads it through the editor's texture table; the slot index.
inline int LoadBitmap(const TempFolder& folder, const char* name, uint32_t width, uint32_t height,
                      const std::vector<uint32_t>& texels)
{
    const std::string path = folder.File(name);
    EXPECT_TRUE(testimages::WriteFileBytes(
        path, testimages::Bitmap24(testimages::FromTexels(width, height, texels))));
    const int slot = app.Graphics().LoadTexture(path.c_str());
    EXPECT_GE(slot, 0) << path;
    return slot;
}

inline int LoadSolidBitmap(const TempFolder& folder, const char* name, uint32_t argb)
{
    return LoadBitmap(folder, name, 4, 4, std::vector<uint32_t>(16, argb));
}

// The device's whole state, captured at construction and put back at
// destruction, so a test's presets and blend states reach no other test.
class DeviceStateGuard
{
  public:
    DeviceStateGuard()
    {
        if (app.Graphics().Device() &&
            FAILED(app.Graphics().Device()->CreateStateBlock(D3DSBT_ALL, &block_)))
            block_ = 0;
    }
    ~DeviceStateGuard()
    {
        if (block_)
        {
            app.Graphics().Device()->ApplyStateBlock(block_);
            app.Graphics().Device()->DeleteStateBlock(block_);
        }
    }
    DeviceStateGuard(const DeviceStateGuard&) = delete;
    DeviceStateGuard& operator=(const DeviceStateGuard&) = delete;

  private:
    DWORD block_ = 0;
};
} // namespace viewtest

#endif
